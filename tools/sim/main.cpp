#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "upgrade/ControllerProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QHostAddress>
#include <QSaveFile>

#include <cstdio>

namespace {

const char* kDescription = "Serves a simulated Q3 Dart controller over TCP; the connection carries the\n"
                           "controller's protocol bytes. Connect with: q3dart-cli --device tcp:HOST:PORT ...";

int usage(const char* detail)
{
    std::fprintf(stderr, "q3dart-sim: %s\nRun \"q3dart-sim --help\" for help.\n", detail);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    MainQueue::chooseEventDispatcher();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q3dart-sim"));
    QCoreApplication::setApplicationVersion(
        InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the program's version."));
    const QCommandLineOption listenOption(QStringLiteral("listen"),
        QStringLiteral("Address to listen on (port 0 picks a free port)."), QStringLiteral("HOST:PORT"));
    const QCommandLineOption versionsOption(QStringLiteral("versions"),
        QStringLiteral("Boot loader, left and right versions (default 1.0-2.3-1.5)."), QStringLiteral("B-L-R"),
        QStringLiteral("1.0-2.3-1.5"));
    const QCommandLineOption restartOption(QStringLiteral("restart-delay"),
        QStringLiteral("How long a restart takes (default 1000; -1 never comes back)."), QStringLiteral("MS"),
        QStringLiteral("1000"));
    const QCommandLineOption replyOption(QStringLiteral("reply-delay"),
        QStringLiteral("Delay before every reply (default 0)."), QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption refuseChecksumOption(
        QStringLiteral("refuse-checksum"), QStringLiteral("Refuse the right side's checksum command."));
    const QCommandLineOption refuseEndOption(QStringLiteral("refuse-end"), QStringLiteral("Refuse the end commands."));
    const QCommandLineOption silentEndOption(
        QStringLiteral("silent-end"), QStringLiteral("Never answer the end commands."));
    const QCommandLineOption impostorOption(QStringLiteral("impostor"),
        QStringLiteral(
            "After the controller's first restart, another controller (Bluetooth address AABBCCDDEEFF, these "
            "versions) answers instead and the first never comes back; every message it receives is "
            "printed as \"impostor received: HEX\"."),
        QStringLiteral("B-L-R"));
    const QCommandLineOption flashDirOption(QStringLiteral("flash-dir"),
        QStringLiteral("Write the flash contents (boot.bin, left.bin, right.bin) "
                       "there whenever an image has been written."),
        QStringLiteral("DIR"));
    parser.addOptions({ version, listenOption, versionsOption, restartOption, replyOption, refuseChecksumOption,
        refuseEndOption, silentEndOption, impostorOption, flashDirOption });
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(qPrintable(parser.errorText()));
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("q3dart-sim %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(qPrintable(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first())));
    const QString listen = parser.value(listenOption);
    const QString versions = parser.value(versionsOption);
    bool restartOk = false, replyOk = false;
    const int restartDelay = parser.value(restartOption).toInt(&restartOk);
    const int replyDelay = parser.value(replyOption).toInt(&replyOk);
    if (!restartOk || restartDelay < -1)
        return usage("--restart-delay needs a number of milliseconds, or -1");
    if (!replyOk || replyDelay < 0)
        return usage("--reply-delay needs a number of milliseconds");
    const QString flashDir = parser.value(flashDirOption);
    const QString impostorVersions = parser.value(impostorOption);
    const bool refuseChecksum = parser.isSet(refuseChecksumOption);
    const bool refuseEnd = parser.isSet(refuseEndOption);
    const bool silentEnd = parser.isSet(silentEndOption);
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon > 0 ? listen.mid(colon + 1).toUInt(&portOk) : 0;
    QHostAddress address(listen.left(colon));
    if (listen.left(colon) == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    if (!portOk || port > 65535 || address.isNull())
        return usage("--listen needs HOST:PORT with a numeric host address");

    auto* controller = new SimulatedController;
    if (!controller->setVersions(versions))
        return usage("--versions needs B-L-R, for example 1.0-2.3-1.5");
    controller->faults().restartDelayMs = restartDelay;
    controller->faults().replyDelayMs = replyDelay;
    controller->faults().refuseChecksum = refuseChecksum;
    controller->faults().refuseEnd = refuseEnd;
    if (silentEnd) {
        // Far beyond any wait of the host's.
        constexpr int kNeverMs = 24 * 3600 * 1000;
        using Message = ControllerProtocol::Message;
        controller->faults().requestDelayMs.insert(ControllerProtocol::request(Message::RightEnd), kNeverMs);
        controller->faults().requestDelayMs.insert(ControllerProtocol::request(Message::LeftEnd), kNeverMs);
    }

    if (!flashDir.isEmpty()) {
        if (!QDir().mkpath(flashDir))
            return usage("--flash-dir cannot be created");
        QObject::connect(controller, &SimulatedController::flashWritten, controller, [controller, flashDir] {
            const std::pair<const char*, QByteArray> regions[] = { { "boot.bin", controller->bootLoaderFlash() },
                { "left.bin", controller->leftApplicationFlash() }, { "right.bin", controller->rightFlash() } };
            for (const auto& [name, bytes] : regions) {
                QSaveFile file(QDir(flashDir).filePath(QString::fromLatin1(name)));
                if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
                    file.commit();
            }
        });
    }

    SimTcpServer server(controller);
    if (!impostorVersions.isEmpty()) {
        auto* impostor = new SimulatedController;
        if (!impostor->setVersions(impostorVersions))
            return usage("--impostor needs B-L-R, for example 1.0-2.2-2.3");
        impostor->deviceInfo().btAddress = { 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF };
        impostor->faults().restartDelayMs = restartDelay;
        QObject::connect(impostor, &SimulatedController::messageReceived, impostor, [](const QByteArray& message) {
            std::printf("impostor received: %s\n", message.toHex(' ').constData());
            std::fflush(stdout);
        });
        QObject::connect(&server, &SimTcpServer::hostDisconnected, impostor, [&server, controller, impostor] {
            if (server.controller() == controller && controller->restartCount() > 0)
                server.handOver(impostor);
        });
    }
    if (!server.listen(address, quint16(port))) {
        std::fprintf(
            stderr, "q3dart-sim: cannot listen on %s: %s\n", qPrintable(listen), qPrintable(server.errorString()));
        return 1;
    }
    std::printf("listening on %s:%u, versions %s\n", qPrintable(address.toString()), server.serverPort(),
        qPrintable(controller->versionsText()));
    std::fflush(stdout);
    return app.exec();
}
