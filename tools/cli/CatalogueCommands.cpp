#include "cli/CatalogueCommands.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/Localization.h"
#include "sim/ReleaseServer.h"
#include "upgrade/UpgradeHistory.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

int usage(const char* detail)
{
    std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(QString::fromLatin1(detail))));
    return CliOptions::Usage;
}

void printRelease(const ZelFirmware& f)
{
    // Version, then the release notes, or the path when there are none; an
    // online release then says what its signature is worth.
    const QString detail = f.updateInfo.isEmpty() ? f.path : f.updateInfo;
    const QString signature = f.isOnline() ? QLatin1Char('\t') + ReleaseSignature::statusName(ReleaseSignature::status(f)) : QString();
    std::printf("%s\t%s%s\n", qPrintable(f.version), qPrintable(QString(detail).replace(QLatin1Char('\n'), QLatin1Char(' '))),
                qPrintable(signature));
}

// A release whose version text is no version is left out of a list, and said so.
void printRefusedVersions()
{
    for (const QString& text : std::as_const(ZelFirmwareDataTool::sharedInstance().refusedVersions))
        std::fprintf(stderr, "%s\n", qPrintable(localized("ReleaseVersionUnreadable").arg(text)));
}

// Takes `option VALUE` out of args; false when the option has no value.
bool takeOption(QStringList& args, const QString& option, QString* value)
{
    const qsizetype at = args.indexOf(option);
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    *value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

// The signing key of --sign-key, if any; false after printing why it cannot be used.
bool signingKey(const QString& file, ReleaseSignature* key)
{
    if (file.isEmpty())
        return true;
    QString error;
    *key = ReleaseSignature::fromPrivateKeyFile(file, &error);
    if (!key->isValid())
        std::fprintf(stderr, "q3dart-cli: %s\n", qPrintable(error));
    return key->isValid();
}

} // namespace

CatalogueCommands::CatalogueCommands(const CliOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
{
}

int CatalogueCommands::releases()
{
    const QStringList& args = m_options.arguments;
    const bool local = args.contains(QLatin1String("--local"));
    const bool online = args.contains(QLatin1String("--online"));
    if (args.size() > 1 || (args.size() == 1 && !local && !online))
        return usage("releases [--local | --online]");
    if (!online) {
        for (const ZelFirmware& f : ZelFirmwareDataTool::sharedInstance().getLocalFirmwares())
            printRelease(f);
        std::fflush(stdout);
        printRefusedVersions();
        if (local)
            return CliOptions::Ok;
    }
    ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares([](const QList<ZelFirmware>& firmwares, const QString& error) {
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("ReleaseListFailed").arg(error)));
            QCoreApplication::exit(CliOptions::Failed);
            return;
        }
        for (const ZelFirmware& f : firmwares)
            printRelease(f);
        std::fflush(stdout);
        printRefusedVersions();
        QCoreApplication::exit(CliOptions::Ok);
    });
    return -1;
}

int CatalogueCommands::importFile()
{
    if (m_options.arguments.size() != 1)
        return usage("import FILE");
    QStringList messages;
    // The messages are printed below, once: no toast on standard error as well.
    ToastPresenter* presenter = MessageToast::presenter();
    MessageToast::setPresenter(nullptr);
    const bool imported = ZelDataTool::importArchive(QFileInfo(m_options.arguments.first()).absoluteFilePath(), &messages);
    MessageToast::setPresenter(presenter);
    for (const QString& m : messages)
        std::printf("%s\n", qPrintable(m));
    std::fflush(stdout);
    return imported ? CliOptions::Ok : CliOptions::Failed;
}

int CatalogueCommands::serve()
{
    QStringList args = m_options.arguments;
    QString listen = QStringLiteral("127.0.0.1:8080");
    QString keyFile;
    if (!takeOption(args, QStringLiteral("--listen"), &listen) || !takeOption(args, QStringLiteral("--sign-key"), &keyFile)
        || args.size() != 1)
        return usage("serve DIR [--listen HOST:PORT] [--sign-key FILE]");
    const QString folder = args.first();
    if (!QFileInfo(folder).isDir())
        return usage("serve needs a folder of release archives");
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const uint port = listen.mid(colon + 1).toUInt(&ok);
    QString host = listen.left(colon);
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    const QHostAddress address(host.remove(QLatin1Char('[')).remove(QLatin1Char(']')));
    if (colon <= 0 || !ok || port > 65535 || address.isNull())
        return usage("--listen needs HOST:PORT with a numeric host address");
    ReleaseSignature key;
    if (!signingKey(keyFile, &key))
        return CliOptions::Failed;
    auto* server = new ReleaseServer(folder, this);
    if (key.isValid())
        server->setSigningKey(key);
    if (!server->listen(address, quint16(port))) {
        std::fprintf(stderr, "q3dart-cli: cannot listen on %s\n", qPrintable(listen));
        return CliOptions::Failed;
    }
    std::printf("serving %s at %s\n", qPrintable(QFileInfo(folder).absoluteFilePath()), qPrintable(server->baseUrl()));
    std::fflush(stdout);
    return -1;
}

int CatalogueCommands::publish()
{
    QStringList args = m_options.arguments;
    QString keyFile;
    QString baseUrl = ZelFirmwareDataTool::serverBaseUrl();
    if (!takeOption(args, QStringLiteral("--sign-key"), &keyFile) || !takeOption(args, QStringLiteral("--base-url"), &baseUrl)
        || args.size() != 2)
        return usage("publish DIR OUT [--sign-key FILE] [--base-url URL]");
    if (!QFileInfo(args[0]).isDir())
        return usage("publish needs a folder of release archives");
    const QUrl base(baseUrl);
    if (!base.isValid() || (base.scheme() != QLatin1String("http") && base.scheme() != QLatin1String("https")) || base.host().isEmpty())
        return usage("--base-url needs an http: or https: address");
    ReleaseSignature key;
    if (!signingKey(keyFile, &key))
        return CliOptions::Failed;
    ReleaseServer site(args[0]);
    if (key.isValid())
        site.setSigningKey(key);
    QString error;
    if (!site.publish(args[1], baseUrl, &error)) {
        std::fprintf(stderr, "q3dart-cli: %s\n", qPrintable(error));
        return CliOptions::Failed;
    }
    std::printf("published %s for %s\n", qPrintable(QFileInfo(args[1]).absoluteFilePath()), qPrintable(baseUrl));
    return CliOptions::Ok;
}

int CatalogueCommands::keygen()
{
    if (m_options.arguments.size() != 1)
        return usage("keygen FILE");
    const ReleaseSignature key = ReleaseSignature::generate();
    QString error;
    if (!key.writePrivateKey(m_options.arguments.first(), &error)) {
        std::fprintf(stderr, "q3dart-cli: %s\n", qPrintable(error));
        return CliOptions::Failed;
    }
    std::printf("%s\n", qPrintable(key.publicKeyBase64()));
    return CliOptions::Ok;
}

int CatalogueCommands::history()
{
    const QStringList& args = m_options.arguments;
    const bool json = args == QStringList{QStringLiteral("--json")};
    if (!json && !args.isEmpty())
        return usage("history [--json]");
    const UpgradeHistory history;
    bool ok = true;
    QList<UpgradeRecord> records = history.records(&ok);
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("HistoryUnreadable").arg(history.path())));
        return CliOptions::Failed;
    }
    // Newest first; runs that started together keep the order they were recorded in, reversed.
    std::reverse(records.begin(), records.end());
    std::stable_sort(records.begin(), records.end(),
                     [](const UpgradeRecord& a, const UpgradeRecord& b) { return a.started > b.started; });
    if (json) {
        QJsonArray array;
        for (const UpgradeRecord& r : std::as_const(records))
            array.append(r.toJson());
        std::printf("%s\n", QJsonDocument(array).toJson(QJsonDocument::Indented).constData());
        return CliOptions::Ok;
    }
    if (records.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(localized("HistoryEmpty")));
    auto field = [](QString text) { return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')); };
    for (const UpgradeRecord& r : std::as_const(records))
        std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\n", qPrintable(r.started.toUTC().toString(Qt::ISODate)),
                    qPrintable(r.outcome), qPrintable(field(r.release)), qPrintable(field(r.before)),
                    qPrintable(field(r.after)), qPrintable(field(r.reason)), qPrintable(field(r.controller)));
    return CliOptions::Ok;
}
