#include "cli/CatalogueCommands.h"

#include "cli/CliOptions.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/Localization.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"
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

// Takes every `option VALUE...` out of args: the values run to the next
// option. False when the option is given without a value.
bool takeValues(QStringList& args, const QString& option, QStringList* values)
{
    for (qsizetype at = args.indexOf(option); at >= 0; at = args.indexOf(option)) {
        args.removeAt(at);
        const qsizetype before = values->size();
        while (at < args.size() && !args.at(at).startsWith(QLatin1String("--")))
            values->append(args.takeAt(at));
        if (values->size() == before)
            return false;
    }
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

// --expires DAYS and --list-version N, when given; false when malformed.
bool signingOptions(QStringList& args, double* expiresDays, qint64* listVersion)
{
    QString days, version;
    if (!takeOption(args, QStringLiteral("--expires"), &days) || (listVersion && !takeOption(args, QStringLiteral("--list-version"), &version)))
        return false;
    bool ok = true;
    if (!days.isNull())
        *expiresDays = days.toDouble(&ok);
    if (!ok || !(*expiresDays >= 0) || *expiresDays > SitePublisher::kMaxExpiryDays)
        return false;
    if (!version.isNull())
        *listVersion = version.toLongLong(&ok);
    return ok && (!listVersion || *listVersion >= 0);
}

int failed(const QString& error)
{
    std::fprintf(stderr, "q3dart-cli: %s\n", qPrintable(error));
    return CliOptions::Failed;
}

// HOST:PORT of --listen; false when it is not a numeric address and port.
bool listenAddress(const QString& listen, QHostAddress* address, quint16* port)
{
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const uint number = listen.mid(colon + 1).toUInt(&ok);
    QString host = listen.left(colon);
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    *address = QHostAddress(host.remove(QLatin1Char('[')).remove(QLatin1Char(']')));
    *port = quint16(number);
    return colon > 0 && ok && number <= 65535 && !address->isNull();
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
    QString keyFile, site;
    if (!takeOption(args, QStringLiteral("--listen"), &listen) || !takeOption(args, QStringLiteral("--sign-key"), &keyFile)
        || !takeOption(args, QStringLiteral("--site"), &site))
        return usage("serve DIR [--listen HOST:PORT] | serve --site OUT [--listen HOST:PORT]");
    // A server that signs holds the private key on the web-facing host and
    // signs whatever lands in its folder: sites are signed when published.
    if (!keyFile.isEmpty())
        return usage("serve does not sign: sign the site offline with `publish DIR OUT --sign-key FILE` "
                     "and serve it with `serve --site OUT`");
    if (args.size() != (site.isEmpty() ? 1 : 0))
        return usage("serve DIR [--listen HOST:PORT] | serve --site OUT [--listen HOST:PORT]");
    const QString folder = site.isEmpty() ? args.first() : site;
    if (!QFileInfo(folder).isDir())
        return usage(site.isEmpty() ? "serve needs a folder of release archives" : "serve --site needs a published site's folder");
    if (!site.isEmpty() && !QFileInfo::exists(SitePublisher::listPath(site)))
        return usage("serve --site needs a site written by publish (OUT/firmware/update/r1)");
    QHostAddress address;
    quint16 port = 0;
    if (!listenAddress(listen, &address, &port))
        return usage("--listen needs HOST:PORT with a numeric host address");
    auto* server = new ReleaseServer([folder] { return folder; },
                                     site.isEmpty() ? ReleaseServer::Mode::Archives : ReleaseServer::Mode::Site, this);
    if (!server->listen(address, port)) {
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
    SitePublisher::ListSigning signing;
    if (!takeOption(args, QStringLiteral("--sign-key"), &keyFile) || !takeOption(args, QStringLiteral("--base-url"), &baseUrl)
        || !signingOptions(args, &signing.expiresDays, &signing.listVersion) || args.size() != 2)
        return usage("publish DIR OUT [--sign-key FILE] [--expires DAYS] [--list-version N] [--base-url URL]");
    if (!QFileInfo(args[0]).isDir())
        return usage("publish needs a folder of release archives");
    const QUrl base(baseUrl);
    if (!base.isValid() || (base.scheme() != QLatin1String("http") && base.scheme() != QLatin1String("https")) || base.host().isEmpty())
        return usage("--base-url needs an http: or https: address");
    if (!signingKey(keyFile, &signing.key))
        return CliOptions::Failed;
    ReleaseServer site(args[0]);
    QString error;
    if (!SitePublisher::publish(site, args[1], baseUrl, signing.key.isValid() ? &signing : nullptr, &error))
        return failed(error);
    std::printf("published %s for %s\n", qPrintable(QFileInfo(args[1]).absoluteFilePath()), qPrintable(baseUrl));
    return CliOptions::Ok;
}

int CatalogueCommands::signList()
{
    QStringList args = m_options.arguments;
    QString keyFile;
    SitePublisher::ListSigning signing;
    if (!takeOption(args, QStringLiteral("--sign-key"), &keyFile) || keyFile.isEmpty()
        || !signingOptions(args, &signing.expiresDays, &signing.listVersion) || args.size() != 1)
        return usage("sign-list OUT --sign-key FILE [--expires DAYS] [--list-version N]");
    if (!signingKey(keyFile, &signing.key))
        return CliOptions::Failed;
    QString error;
    if (!SitePublisher::signList(args[0], signing, &error))
        return failed(error);
    std::printf("signed %s\n", qPrintable(QFileInfo(SitePublisher::listPath(args[0])).absoluteFilePath()));
    return CliOptions::Ok;
}

int CatalogueCommands::signKeys()
{
    QStringList args = m_options.arguments;
    QString rootFile;
    QStringList add, remove;
    SitePublisher::KeySetChange change;
    if (!takeOption(args, QStringLiteral("--root-key"), &rootFile) || rootFile.isEmpty()
        || !takeValues(args, QStringLiteral("--add"), &add) || !takeValues(args, QStringLiteral("--remove"), &remove)
        || !signingOptions(args, &change.expiresDays, nullptr) || args.size() != 1)
        return usage("sign-keys OUT --root-key FILE [--add PUB ...] [--remove ID ...] [--expires DAYS]");
    for (const QString& text : std::as_const(add)) {
        const QByteArray key = ReleaseSignature::decodePublicKey(text);
        if (key.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("TrustKeyInvalid").arg(text)));
            return CliOptions::Usage;
        }
        change.add.append(key);
    }
    change.remove = remove;
    if (!signingKey(rootFile, &change.root))
        return CliOptions::Failed;
    QString error;
    if (!SitePublisher::signKeys(args[0], change, &error))
        return failed(error);
    std::printf("signed %s\n", qPrintable(QFileInfo(SitePublisher::keySetPath(args[0])).absoluteFilePath()));
    return CliOptions::Ok;
}

int CatalogueCommands::keygen()
{
    if (m_options.arguments.size() != 1)
        return usage("keygen FILE");
    const ReleaseSignature key = ReleaseSignature::generate();
    QString error;
    if (!key.writePrivateKey(m_options.arguments.first(), &error))
        return failed(error);
    std::printf("%s\n%s\n", qPrintable(key.keyId()), qPrintable(key.publicKeyBase64()));
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
                    qPrintable(field(r.after)), qPrintable(field(r.reasonText())), qPrintable(field(r.controller)));
    return CliOptions::Ok;
}
