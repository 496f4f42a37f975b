#include "cli/ServeCommand.h"

#include "cli/CliOptions.h"
#include "cli/ThrottledRelay.h"
#include "platform/runtime/Localization.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QHostAddress>

#include <cstdio>

namespace {

const QString kDefaultListen = QStringLiteral("127.0.0.1:8080");
// A throttle above this is no throttle on any network.
constexpr double kMaxThrottleKiB = 1024.0 * 1024.0;

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

ServeCommand::ServeCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_listenOption(QStringLiteral("listen"), localized("CliServeListen"), QStringLiteral("HOST:PORT"))
    , m_siteOption(QStringLiteral("site"), localized("CliServeSite"), QStringLiteral("OUT"))
    , m_throttleOption(QStringLiteral("throttle"), localized("CliServeThrottle"), QStringLiteral("KIB"))
    , m_signKeyOption(QStringLiteral("sign-key"), localized("CliServeSignKey"), QStringLiteral("FILE"))
{
}

QString ServeCommand::description() const
{
    return localized("CliServeHelp");
}

int ServeCommand::run(const QCommandLineParser& parser)
{
    // A server that signs holds the private key on the web-facing host and
    // signs whatever lands in its folder: sites are signed when published.
    if (parser.isSet(m_signKeyOption))
        return usage(localized("CliServeDoesNotSign"));
    const QString site = parser.value(m_siteOption);
    const QStringList args = parser.positionalArguments();
    if (args.size() != (site.isEmpty() ? 1 : 0))
        return usage(localized("CliNeedsArguments").arg(synopsis()));
    const QString folder = site.isEmpty() ? args.first() : site;
    if (!QFileInfo(folder).isDir())
        return usage(localized(site.isEmpty() ? "CliServeNeedsFolder" : "CliServeNeedsSite"));
    if (!site.isEmpty() && !QFileInfo::exists(SitePublisher::listPath(site)))
        return usage(localized("CliServeNeedsSite"));
    const QString listen = parser.isSet(m_listenOption) ? parser.value(m_listenOption) : kDefaultListen;
    QHostAddress address;
    quint16 port = 0;
    if (!listenAddress(listen, &address, &port))
        return usage(localized("CliListenInvalid"));
    double throttle = 0;
    if (parser.isSet(m_throttleOption)) {
        bool ok = false;
        throttle = parser.value(m_throttleOption).toDouble(&ok);
        if (!ok || !(throttle > 0) || throttle > kMaxThrottleKiB)
            return usage(localized("CliOptionNeedsKiB").arg(QStringLiteral("--throttle")));
    }
    auto* server = new ReleaseServer(
        [folder] { return folder; }, site.isEmpty() ? ReleaseServer::Mode::Archives : ReleaseServer::Mode::Site, this);
    // Throttled, the server answers on a port of its own behind a slow relay,
    // which takes the address asked for; the list's addresses follow the
    // client's Host, so they lead through the relay too.
    const quint16 serverPort
        = server->listen(throttle > 0 ? ReleaseServer::kLocalHost : address.toString(), throttle > 0 ? 0 : port);
    if (serverPort == 0) {
        std::fprintf(
            stderr, "q3dart-cli: %s\n", qPrintable(localized("SimCannotListen").arg(listen, server->errorString())));
        return CliOptions::Failed;
    }
    QString url = server->baseUrl();
    if (throttle > 0) {
        auto* relay = new ThrottledRelay(serverPort, qint64(throttle * 1024), this);
        const quint16 relayPort = relay->listen(address, port);
        if (relayPort == 0) {
            std::fprintf(
                stderr, "q3dart-cli: %s\n", qPrintable(localized("SimCannotListen").arg(listen, relay->errorString())));
            return CliOptions::Failed;
        }
        const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
            ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
            : address.toString();
        url = QStringLiteral("http://%1:%2").arg(host).arg(relayPort);
    }
    std::printf("serving %s at %s\n", qPrintable(QFileInfo(folder).absoluteFilePath()), qPrintable(url));
    std::fflush(stdout);
    return runEventLoop();
}
