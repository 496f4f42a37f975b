#include "firmware/ZelFirmwareDataTool.h"

#include "firmware/FirmwareVersion.h"
#include "lib/HttpClient.h"
#include "platform/DocumentsDirectory.h"
#include "platform/InfoDictionary.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

#include <algorithm>
#include <cstring>

namespace {
QString g_serverOverride;

// The characters a URL query may hold as they are.
bool allowedInQuery(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || std::strchr("-._~!$&'()*+,;=:@/?", c) != nullptr;
}
} // namespace

ZelFirmwareDataTool& ZelFirmwareDataTool::sharedInstance()
{
    static ZelFirmwareDataTool* instance = new ZelFirmwareDataTool; // lives as long as the process
    return *instance;
}

void ZelFirmwareDataTool::setServerOverride(const QString& baseUrl)
{
    g_serverOverride = baseUrl;
}

QString ZelFirmwareDataTool::serverBaseUrl()
{
    QString base = g_serverOverride;
    if (base.isEmpty())
        base = qEnvironmentVariable("Q3DART_SERVER");
    if (base.isEmpty())
        base = QStringLiteral("http://") + InfoDictionary::mainBundle().string(QStringLiteral("Q3FirmwareServerHost"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QByteArray ZelFirmwareDataTool::queryText(const QString& serverBaseUrl, const QString& shortVersion)
{
    const QString text = serverBaseUrl + QStringLiteral("/firmware/update/r1?") + QStringLiteral("ver=1.0-1.0-1.0")
        + QStringLiteral("&beta=0") + QStringLiteral("&name=") + kProductFolder + QStringLiteral("&appver=")
        + (shortVersion.isNull() ? QStringLiteral("1.0") : shortVersion) + QStringLiteral("&lang=zh");
    QByteArray encoded;
    for (char c : text.toUtf8()) {
        if (allowedInQuery(c))
            encoded.append(c);
        else
            encoded.append('%').append(QByteArray::number(uint8_t(c), 16).rightJustified(2, '0').toUpper());
    }
    return encoded;
}

QString ZelFirmwareDataTool::localFirmwareFolder()
{
    return DocumentsDirectory::path() + QLatin1Char('/') + kLocalFolder + QLatin1Char('/') + kProductFolder;
}

void ZelFirmwareDataTool::sortNewestFirst(QList<ZelFirmware>& records, QStringList* refused)
{
    QList<std::pair<ReleaseVersion, ZelFirmware>> readable;
    for (const ZelFirmware& f : std::as_const(records)) {
        if (const std::optional<ReleaseVersion> version = ReleaseVersion::parse(f.version))
            readable.append({*version, f});
        else if (refused)
            refused->append(f.version);
    }
    std::stable_sort(readable.begin(), readable.end(),
                     [](const auto& a, const auto& b) { return a.first.newerInOrderThan(b.first); });
    records.clear();
    for (const auto& entry : std::as_const(readable))
        records.append(entry.second);
}

QList<ZelFirmware> ZelFirmwareDataTool::getLocalFirmwares() const
{
    const QString folder = localFirmwareFolder();
    QList<ZelFirmware> records;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort)) {
        if (name == QLatin1String("__MACOSX"))
            continue;
        ZelFirmware f;
        f.version = name;
        f.path = folder + QLatin1Char('/') + name;
        f.updateInfo = f.md5 = f.updateTime = QStringLiteral("");
        records.append(f);
    }
    refusedVersions.clear();
    sortNewestFirst(records, &refusedVersions);
    return records;
}

void ZelFirmwareDataTool::getRemoteFirmwares(RemoteCompletion completion)
{
    if (firmwaresDate.isValid() && firmwares) {
        const double age = firmwaresDate.msecsTo(clock()) / 1000.0;
        if (age <= kReuseSeconds) {
            if (completion)
                completion(*firmwares, QString());
            return;
        }
    }
    const QString shortVersion = InfoDictionary::mainBundle().value(QStringLiteral("CFBundleShortVersionString")).isValid()
        ? InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString"))
        : QString();
    const QUrl url = QUrl::fromEncoded(queryText(serverBaseUrl(), shortVersion));
    HttpClient::getJSON(url, kRequestTimeout, [this, completion](const HttpClient::Response& response, const QJsonValue& reply) {
        if (!response.error.isEmpty()) {
            if (completion)
                completion({}, response.tooLarge ? localized("ReleaseListTooLarge").arg(kMaxReleaseListBytes / (1024 * 1024))
                                                 : response.error);
            return;
        }
        QList<ZelFirmware> records = ZelFirmware::modelArrayWithJSON(reply.toObject().value(QStringLiteral("data")));
        refusedVersions.clear();
        sortNewestFirst(records, &refusedVersions);
        if (records.isEmpty()) {
            if (completion)
                completion({}, QString());
            return;
        }
        firmwares = records;
        firmwaresDate = clock();
        if (completion)
            completion(*firmwares, QString());
    }, kMaxReleaseListBytes);
}
