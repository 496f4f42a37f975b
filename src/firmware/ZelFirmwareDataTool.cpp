#include "firmware/ZelFirmwareDataTool.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ReleaseTrust.h"
#include "firmware/TrustState.h"
#include "lib/HttpClient.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {
QString g_serverOverride;

// The characters a URL query may hold as they are.
bool allowedInQuery(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || std::strchr("-._~!$&'()*+,;=:@/?", c) != nullptr;
}

const QString kListPath = QStringLiteral("/firmware/update/r1");

// A detached signature as served: its body when the server answered with
// success, empty when it answered that there is none.
QByteArray signatureOf(const HttpClient::Response& response)
{
    return response.status >= 200 && response.status <= 299 ? response.body : QByteArray();
}

// Two GETs one after the other, each answer limited to its size; the second
// is made only when the first got an HTTP answer (any status): no answer at
// all ends the fetch with its error.
void getBoth(const QUrl& first, qint64 firstLimit, const QUrl& second, qint64 secondLimit, double timeout,
    std::function<void(const HttpClient::Response&, const HttpClient::Response&)> done)
{
    HttpClient::get(
        first, timeout,
        [second, secondLimit, timeout, done](const HttpClient::Response& a) {
            if (a.status == 0 && !a.tooLarge) {
                done(a, HttpClient::Response());
                return;
            }
            HttpClient::get(
                second, timeout, [a, done](const HttpClient::Response& b) { done(a, b); }, secondLimit);
        },
        firstLimit);
}

QString fetchError(const HttpClient::Response& response)
{
    return response.tooLarge
        ? localized("ReleaseListTooLarge").arg(ZelFirmwareDataTool::kMaxReleaseListBytes / (1024 * 1024))
        : response.error;
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
    return DocumentFiles::path(DocumentFiles::kLocalReleases) + QLatin1Char('/') + kProductFolder;
}

void ZelFirmwareDataTool::sortNewestFirst(QList<ZelFirmware>& records, QStringList* refused)
{
    QList<std::pair<ReleaseVersion, ZelFirmware>> readable;
    for (const ZelFirmware& f : std::as_const(records)) {
        if (const std::optional<ReleaseVersion> version = ReleaseVersion::parse(f.version))
            readable.append({ *version, f });
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
        if (age <= kReuseSeconds && (!m_firmwaresExpire.isValid() || clock() < m_firmwaresExpire)) {
            if (completion)
                completion(*firmwares, QString());
            return;
        }
    }
    const QString shortVersion
        = InfoDictionary::mainBundle().value(QStringLiteral("CFBundleShortVersionString")).isValid()
        ? InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString"))
        : QString();
    const QUrl url = QUrl::fromEncoded(queryText(serverBaseUrl(), shortVersion));
    refusal.clear();
    if (ReleaseSignature::hasTrustedKeys()) {
        getSignedFirmwares(url, completion);
        return;
    }
    HttpClient::getJSON(
        url, kRequestTimeout,
        [this, completion](const HttpClient::Response& response, const QJsonValue& reply) {
            if (!response.error.isEmpty()) {
                if (completion)
                    completion({}, fetchError(response));
                return;
            }
            accept(ZelFirmware::modelArrayWithJSON(reply.toObject().value(QStringLiteral("data"))), QDateTime(),
                completion);
        },
        kMaxReleaseListBytes);
}

void ZelFirmwareDataTool::accept(
    QList<ZelFirmware> records, const QDateTime& expires, const RemoteCompletion& completion)
{
    refusal.clear();
    for (ZelFirmware& f : records)
        f.listed = true;
    refusedVersions.clear();
    sortNewestFirst(records, &refusedVersions);
    if (records.isEmpty()) {
        if (completion)
            completion({}, QString());
        return;
    }
    firmwares = records;
    firmwaresDate = clock();
    m_firmwaresExpire = expires;
    if (completion)
        completion(*firmwares, QString());
}

void ZelFirmwareDataTool::getSignedFirmwares(const QUrl& url, const RemoteCompletion& completion)
{
    const QString server = serverBaseUrl();
    auto answer = std::make_shared<ReleaseTrust::Answer>();
    auto fail = [completion](const QString& error) {
        if (completion)
            completion({}, error);
    };
    auto judge = [this, server, answer, completion, fail] {
        TrustState state;
        TrustState::Seen seen;
        ReleaseTrust::Verdict verdict;
        if (!state.seen(server, &seen))
            verdict.refusal = ReleaseTrust::Refusal::StateDamaged;
        else
            verdict = ReleaseTrust::judge(
                *answer, ReleaseSignature::trustedRoots(), ReleaseSignature::trustedKeys(), seen, clock().toUTC());
        // The first contact trusts what it finds; from then on the versions
        // only rise.
        if (verdict.refusal == ReleaseTrust::Refusal::None && !state.remember(server, verdict.accepted))
            verdict.refusal = ReleaseTrust::Refusal::StateDamaged;
        if (verdict.refusal != ReleaseTrust::Refusal::None) {
            // A refused answer also ends the reuse of the list stored before:
            // the user is told, not shown an older list as current.
            refusal = ReleaseTrust::message(verdict, state.path());
            firmwares.reset();
            firmwaresDate = QDateTime();
            fail(refusal);
            return;
        }
        if (ReleaseSignature::hasTrustedRoot())
            ReleaseSignature::setKeySetKeys(verdict.keySetKeys);
        accept(ZelFirmware::modelArrayWithJSON(verdict.list.value(QStringLiteral("data"))),
            ReleaseTrust::parseTime(verdict.list.value(ReleaseTrust::kExpiresKey).toString()), completion);
    };
    auto getList = [url, server, answer, fail, judge] {
        getBoth(url, kMaxReleaseListBytes, QUrl(server + kListPath + ReleaseTrust::kSignatureSuffix),
            ReleaseTrust::kMaxSignatureSize, kRequestTimeout,
            [answer, fail, judge](const HttpClient::Response& list, const HttpClient::Response& signature) {
                // The list itself must arrive as the server's JSON answer;
                // its signature is judged with it.
                QString error = fetchError(list);
                if (error.isEmpty() && !HttpClient::isJsonContentType(list.contentType))
                    error = QStringLiteral("unexpected content type \"%1\"").arg(QString::fromLatin1(list.contentType));
                if (!error.isEmpty() || signature.status == 0)
                    return fail(error.isEmpty() ? signature.error : error);
                answer->list = list.body;
                answer->listSignature = signatureOf(signature);
                judge();
            });
    };
    if (!ReleaseSignature::hasTrustedRoot()) {
        getList();
        return;
    }
    const QString keySet = server + ReleaseTrust::kKeySetPath;
    getBoth(QUrl(keySet), kMaxReleaseListBytes, QUrl(keySet + ReleaseTrust::kSignatureSuffix),
        ReleaseTrust::kMaxSignatureSize, kRequestTimeout,
        [answer, fail, getList](const HttpClient::Response& keys, const HttpClient::Response& signature) {
            if ((keys.status == 0 && !keys.tooLarge) || (signature.status == 0 && !signature.tooLarge))
                return fail(keys.status == 0 ? keys.error : signature.error);
            // A key set that is not served is judged as unsigned.
            answer->keySet = signatureOf(keys);
            answer->keySetSignature = signatureOf(signature);
            getList();
        });
}
