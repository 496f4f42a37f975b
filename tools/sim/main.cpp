#include "platform/MainQueue.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "upgrade/ControllerProtocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QHostAddress>
#include <QSaveFile>

#include <cstdio>

namespace {

const char* kHelp =
    "Usage: q3dart-sim --listen HOST:PORT [options]\n"
    "\n"
    "Serves a simulated Q3 Dart controller over TCP; the connection carries the\n"
    "controller's protocol bytes. Connect with: q3dart-cli --device tcp:HOST:PORT ...\n"
    "\n"
    "Options:\n"
    "  --listen HOST:PORT     address to listen on (port 0 picks a free port)\n"
    "  --versions B-L-R       boot loader, left and right versions (default 1.0-2.3-1.5)\n"
    "  --restart-delay MS     how long a restart takes (default 1000; -1 never comes back)\n"
    "  --reply-delay MS       delay before every reply (default 0)\n"
    "  --refuse-checksum      refuse the right side's checksum command\n"
    "  --refuse-end           refuse the end commands\n"
    "  --silent-end           never answer the end commands\n"
    "  --impostor B-L-R       after the controller's first restart, another controller\n"
    "                         (Bluetooth address AABBCCDDEEFF, these versions) answers\n"
    "                         instead and the first never comes back; every message\n"
    "                         it receives is printed as \"impostor received: HEX\"\n"
    "  --flash-dir DIR        write the flash contents (boot.bin, left.bin, right.bin)\n"
    "                         there whenever an image has been written\n"
    "  -h, --help             show this help\n";

int usage(const char* detail)
{
    std::fprintf(stderr, "q3dart-sim: %s\n\n%s", detail, kHelp);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    MainQueue::chooseEventDispatcher();
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QString listen;
    QString versions = QStringLiteral("1.0-2.3-1.5");
    int restartDelay = 1000;
    int replyDelay = 0;
    QString flashDir;
    QString impostorVersions;
    bool refuseChecksum = false, refuseEnd = false, silentEnd = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == QLatin1String("--listen") && hasValue) {
            listen = args.at(++i);
        } else if (a == QLatin1String("--versions") && hasValue) {
            versions = args.at(++i);
        } else if (a == QLatin1String("--restart-delay") && hasValue) {
            restartDelay = args.at(++i).toInt();
        } else if (a == QLatin1String("--reply-delay") && hasValue) {
            replyDelay = args.at(++i).toInt();
        } else if (a == QLatin1String("--refuse-checksum")) {
            refuseChecksum = true;
        } else if (a == QLatin1String("--refuse-end")) {
            refuseEnd = true;
        } else if (a == QLatin1String("--silent-end")) {
            silentEnd = true;
        } else if (a == QLatin1String("--impostor") && hasValue) {
            impostorVersions = args.at(++i);
        } else if (a == QLatin1String("--flash-dir") && hasValue) {
            flashDir = args.at(++i);
        } else {
            return usage(qPrintable(QStringLiteral("unexpected argument %1").arg(a)));
        }
    }
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
            const std::pair<const char*, QByteArray> regions[] = {{"boot.bin", controller->bootLoaderFlash()},
                                                                   {"left.bin", controller->leftApplicationFlash()},
                                                                   {"right.bin", controller->rightFlash()}};
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
        impostor->deviceInfo().btAddress = {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
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
        std::fprintf(stderr, "q3dart-sim: cannot listen on %s: %s\n", qPrintable(listen), qPrintable(server.errorString()));
        return 1;
    }
    std::printf("listening on %s:%u, versions %s\n", qPrintable(address.toString()), server.serverPort(),
                qPrintable(controller->versionsText()));
    std::fflush(stdout);
    return app.exec();
}
