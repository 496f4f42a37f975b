#include "lib/HelpText.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "sim/RecordedController.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QHostAddress>
#include <QSaveFile>

#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Far more than a bench holds; each controller has its own listener.
constexpr int kMaxControllers = 64;
// Pieces larger than any reply would split nothing.
constexpr int kMaxSplitBytes = 64;
// How long a reply waits for the next one to be glued to it.
constexpr int kGlueWindowMs = 50;

// The help, from the localisation tables, laid out as q3dart-cli's is.
QString helpText(const QList<QCommandLineOption>& options)
{
    HelpText help;
    help.paragraph(localized("CliHelpUsage").arg(QCoreApplication::applicationName() + QStringLiteral(" [options]")));
    help.paragraph(localized("SimHelpDescription"));
    help.heading(localized("CliHelpOptions"));
    for (const QCommandLineOption& option : options)
        help.entry(HelpText::optionColumn(option), option.description());
    return help.text().trimmed() + QLatin1Char('\n');
}

int usage(const QString& detail)
{
    const QString program = QCoreApplication::applicationName();
    std::fputs(qPrintable(HelpText::usageError(
                   detail, program + QStringLiteral(" [options]"), program + QStringLiteral(" --help"))),
        stderr);
    return 2;
}

// Answers as the recorded controller did, on one listener, and says where
// the host's requests part from the recording.
int replay(const QString& path, const QHostAddress& address, quint16 port)
{
    auto* recorded = new RecordedController;
    if (QString error; !recorded->load(path, &error)) {
        delete recorded;
        std::fprintf(stderr, "q3dart-sim: %s\n", qPrintable(localized("SimReplayUnreadable").arg(path, error)));
        return 1;
    }
    QObject::connect(recorded, &RecordedController::mismatch, recorded, [](const QString& text) {
        std::printf("replay: %s\n", qPrintable(text));
        std::fflush(stdout);
    });
    QObject::connect(recorded, &RecordedController::completed, recorded, [] {
        std::printf("replay: every recorded request was answered\n");
        std::fflush(stdout);
    });
    SimTcpServer server(recorded); // its owner from now on
    if (!server.listen(address, port)) {
        std::fprintf(stderr, "q3dart-sim: %s\n",
            qPrintable(localized("SimCannotListen")
                           .arg(QStringLiteral("%1:%2").arg(address.toString()).arg(port), server.errorString())));
        return 1;
    }
    std::printf("listening on %s:%u, replaying %s (%d requests, %d restarts)\n", qPrintable(address.toString()),
        server.serverPort(), qPrintable(path), recorded->requestCount(), recorded->restartCount());
    std::fflush(stdout);
    return QCoreApplication::exec();
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
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") }, localized("CliOptionHelp"));
    const QCommandLineOption version(QStringLiteral("version"), localized("CliOptionVersion"));
    const QCommandLineOption listenOption(
        QStringLiteral("listen"), localized("SimOptionListen"), QStringLiteral("HOST:PORT"));
    const QCommandLineOption countOption(QStringLiteral("count"), localized("SimOptionCount"), QStringLiteral("N"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"), localized("SimOptionFault"), QStringLiteral("INDEX:FAULT"));
    const QCommandLineOption versionsOption(QStringLiteral("versions"), localized("SimOptionVersions"),
        QStringLiteral("B-L-R"), QStringLiteral("1.0-2.3-1.5"));
    const QCommandLineOption restartOption(QStringLiteral("restart-delay"), localized("SimOptionRestartDelay"),
        QStringLiteral("MS"), QStringLiteral("1000"));
    const QCommandLineOption replyOption(
        QStringLiteral("reply-delay"), localized("SimOptionReplyDelay"), QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption refuseChecksumOption(
        QStringLiteral("refuse-checksum"), localized("SimOptionRefuseChecksum"));
    const QCommandLineOption refuseEndOption(QStringLiteral("refuse-end"), localized("SimOptionRefuseEnd"));
    const QCommandLineOption silentEndOption(QStringLiteral("silent-end"), localized("SimOptionSilentEnd"));
    const QCommandLineOption impostorOption(
        QStringLiteral("impostor"), localized("SimOptionImpostor"), QStringLiteral("[INDEX:]B-L-R"));
    const QCommandLineOption flashDirOption(
        QStringLiteral("flash-dir"), localized("SimOptionFlashDir"), QStringLiteral("DIR"));
    const QCommandLineOption splitOption(QStringLiteral("split"), localized("SimOptionSplit"), QStringLiteral("N"));
    const QCommandLineOption glueOption(QStringLiteral("glue"), localized("SimOptionGlue"));
    const QCommandLineOption duplicateOption(QStringLiteral("duplicate"), localized("SimOptionDuplicate"));
    const QCommandLineOption strayOption(QStringLiteral("stray-byte"), localized("SimOptionStrayByte"));
    const QCommandLineOption replayOption(
        QStringLiteral("replay"), localized("SimOptionReplay"), QStringLiteral("FILE"));
    const QList<QCommandLineOption> all { help, version, listenOption, versionsOption, restartOption, replyOption,
        refuseChecksumOption, refuseEndOption, silentEndOption, impostorOption, flashDirOption, countOption,
        faultOption, splitOption, glueOption, duplicateOption, strayOption, replayOption };
    parser.addOptions(all);
    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(helpText(all).toUtf8().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("q3dart-sim %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    const QString versions = parser.value(versionsOption);
    bool restartOk = false, replyOk = false;
    const int restartDelay = parser.value(restartOption).toInt(&restartOk);
    const int replyDelay = parser.value(replyOption).toInt(&replyOk);
    if (!restartOk || restartDelay < -1)
        return usage(localized("SimUsageRestartDelay"));
    if (!replyOk || replyDelay < 0)
        return usage(localized("SimUsageReplyDelay"));
    const QString flashDir = parser.value(flashDirOption);
    int splitSize = 0;
    if (parser.isSet(splitOption)) {
        bool splitOk = false;
        splitSize = parser.value(splitOption).toInt(&splitOk);
        if (!splitOk || splitSize < 1 || splitSize > kMaxSplitBytes)
            return usage(localized("SimUsageSplit"));
    }
    // How the link hands the replies over, the same for every controller.
    const auto linkFaults = [&](SimFaults& f) {
        if (splitSize > 0) {
            f.splitReplies = std::numeric_limits<int>::max();
            f.splitSize = splitSize;
        }
        if (parser.isSet(glueOption)) {
            f.mergeReplies = std::numeric_limits<int>::max();
            f.mergeWindowMs = kGlueWindowMs;
        }
        if (parser.isSet(duplicateOption))
            f.duplicateReplies = std::numeric_limits<int>::max();
        f.strayByteOnAttach = parser.isSet(strayOption);
    };

    // Where each controller listens: every --listen, or --count on
    // consecutive ports from the one --listen.
    QList<std::pair<QHostAddress, quint16>> listeners;
    for (const QString& listen : parser.values(listenOption)) {
        const int colon = listen.lastIndexOf(QLatin1Char(':'));
        bool portOk = false;
        const uint port = colon > 0 ? listen.mid(colon + 1).toUInt(&portOk) : 0;
        QHostAddress address(listen.left(colon));
        if (listen.left(colon) == QLatin1String("localhost"))
            address = QHostAddress::LocalHost;
        if (!portOk || port > 65535 || address.isNull())
            return usage(localized("SimUsageListen"));
        listeners.append({ address, quint16(port) });
    }
    if (listeners.isEmpty())
        return usage(localized("SimUsageListen"));
    if (parser.isSet(countOption)) {
        bool countOk = false;
        const int count = parser.value(countOption).toInt(&countOk);
        if (!countOk || count < 1 || count > kMaxControllers)
            return usage(localized("SimUsageCount").arg(kMaxControllers));
        if (listeners.size() != 1)
            return usage(localized("SimUsageCountListen"));
        const auto [address, first] = listeners.first();
        if (first != 0 && int(first) + count - 1 > 65535)
            return usage(localized("SimUsageCountPorts"));
        listeners.clear();
        // Port 0: each picks a free port of its own.
        for (int i = 0; i < count; ++i)
            listeners.append({ address, quint16(first == 0 ? 0 : first + i) });
    }
    if (listeners.size() > kMaxControllers)
        return usage(localized("SimUsageTooManyListen").arg(kMaxControllers));
    if (parser.isSet(replayOption)) {
        if (listeners.size() != 1)
            return usage(localized("SimUsageReplayOne"));
        return replay(parser.value(replayOption), listeners.first().first, listeners.first().second);
    }
    QMultiHash<int, SimulatedController::Fault> faultsByIndex;
    for (const QString& text : parser.values(faultOption)) {
        const int colon = text.indexOf(QLatin1Char(':'));
        bool indexOk = false;
        const int index = colon > 0 ? text.left(colon).toInt(&indexOk) : -1;
        const std::optional<SimulatedController::Fault> fault = SimulatedController::faultNamed(text.mid(colon + 1));
        if (!indexOk || index < 0 || index >= listeners.size() || !fault)
            return usage(localized("SimUsageFault").arg(QStringLiteral("refuse-checksum, refuse-end, silent-end")));
        faultsByIndex.insert(index, *fault);
    }
    // The impostors: INDEX:B-L-R for one controller, a plain B-L-R for
    // every controller that no INDEX names.
    QString impostorForAll;
    QHash<int, QString> impostorByIndex;
    for (const QString& text : parser.values(impostorOption)) {
        const int colon = text.indexOf(QLatin1Char(':'));
        bool indexOk = colon < 0;
        const int index = colon > 0 ? text.left(colon).toInt(&indexOk) : -1;
        const QString impostorVersions = text.mid(colon + 1);
        SimulatedController probe;
        if (!indexOk || (colon >= 0 && (index < 0 || index >= listeners.size()))
            || !probe.setVersions(impostorVersions))
            return usage(localized("SimUsageImpostor"));
        if (colon < 0 ? !impostorForAll.isEmpty() : impostorByIndex.contains(index))
            return usage(localized("SimUsageImpostorTwice"));
        if (colon < 0)
            impostorForAll = impostorVersions;
        else
            impostorByIndex.insert(index, impostorVersions);
    }
    QList<SimulatedController::Fault> commonFaults;
    if (parser.isSet(refuseChecksumOption))
        commonFaults << SimulatedController::Fault::RefuseChecksum;
    if (parser.isSet(refuseEndOption))
        commonFaults << SimulatedController::Fault::RefuseEnd;
    if (parser.isSet(silentEndOption))
        commonFaults << SimulatedController::Fault::SilentEnd;

    std::vector<std::unique_ptr<SimTcpServer>> servers;
    for (int index = 0; index < listeners.size(); ++index) {
        // Ours until its server takes it: a refusal below frees it.
        auto owned = std::make_unique<SimulatedController>();
        SimulatedController* controller = owned.get();
        if (!controller->setVersions(versions))
            return usage(localized("SimUsageVersions"));
        // Each its own Bluetooth address; the first keeps the model's.
        controller->deviceInfo().btAddress[4] = uint8_t(controller->deviceInfo().btAddress[4] + (index >> 8));
        controller->deviceInfo().btAddress[5] = uint8_t(controller->deviceInfo().btAddress[5] + (index & 0xFF));
        controller->faults().restartDelayMs = restartDelay;
        controller->faults().replyDelayMs = replyDelay;
        linkFaults(controller->faults());
        for (const SimulatedController::Fault fault : commonFaults + faultsByIndex.values(index))
            controller->inject(fault);

        // With several controllers, each writes its flash into a folder of its own: DIR/INDEX.
        const QString ownFlashDir
            = flashDir.isEmpty() || listeners.size() == 1 ? flashDir : QDir(flashDir).filePath(QString::number(index));
        if (!ownFlashDir.isEmpty()) {
            if (!QDir().mkpath(ownFlashDir))
                return usage(localized("SimUsageFlashDir").arg(QDir::toNativeSeparators(ownFlashDir)));
            QObject::connect(controller, &SimulatedController::flashWritten, controller, [controller, ownFlashDir] {
                const std::pair<const char*, QByteArray> regions[] = { { "boot.bin", controller->bootLoaderFlash() },
                    { "left.bin", controller->leftApplicationFlash() }, { "right.bin", controller->rightFlash() } };
                for (const auto& [name, bytes] : regions) {
                    QSaveFile file(QDir(ownFlashDir).filePath(QString::fromLatin1(name)));
                    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
                        file.commit();
                }
            });
        }

        auto server = std::make_unique<SimTcpServer>(owned.release()); // its child from now on
        const QString impostorVersions = impostorByIndex.value(index, impostorForAll);
        if (!impostorVersions.isEmpty()) {
            auto* impostor = new SimulatedController(server.get());
            impostor->setVersions(impostorVersions);
            impostor->deviceInfo().btAddress = { 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF };
            impostor->faults().restartDelayMs = restartDelay;
            linkFaults(impostor->faults());
            QObject::connect(impostor, &SimulatedController::messageReceived, impostor, [](const QByteArray& message) {
                std::printf("impostor received: %s\n", message.toHex(' ').constData());
                std::fflush(stdout);
            });
            SimTcpServer* s = server.get();
            QObject::connect(s, &SimTcpServer::hostDisconnected, impostor, [s, controller, impostor] {
                if (s->controller() == controller && controller->restartCount() > 0)
                    s->handOver(impostor);
            });
        }
        const auto [address, port] = listeners.at(index);
        if (!server->listen(address, port)) {
            std::fprintf(stderr, "q3dart-sim: %s\n",
                qPrintable(localized("SimCannotListen")
                               .arg(QStringLiteral("%1:%2").arg(address.toString()).arg(port), server->errorString())));
            return 1;
        }
        std::printf("listening on %s:%u, versions %s\n", qPrintable(address.toString()), server->serverPort(),
            qPrintable(controller->versionsText()));
        servers.push_back(std::move(server));
    }
    std::fflush(stdout);
    return app.exec();
}
