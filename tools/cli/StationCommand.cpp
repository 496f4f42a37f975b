#include "cli/StationCommand.h"

#include "cli/CliOptions.h"
#include "cli/CommandLine.h"
#include "cli/FlashCommand.h"
#include "cli/StationBoard.h"
#include "cli/StationController.h"
#include "cli/UpgradeCommand.h"
#include "platform/runtime/InterruptNotifier.h"
#include "platform/runtime/Localization.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <memory>

StationCommand::StationCommand(CliOptions& options, QObject* parent)
    : CliCommand(options, parent)
    , m_deviceOption(QStringLiteral("device"), localized("CliStationDevice"), QStringLiteral("D"))
    , m_jsonOption(QStringLiteral("json"), localized("CliRunJson"))
{
}

StationCommand::~StationCommand()
{
    delete m_board;
}

QString StationCommand::description() const
{
    return localized("CliStationHelp");
}

int StationCommand::run(const QCommandLineParser& parser)
{
    const QStringList devices = parser.values(m_deviceOption);
    if (devices.isEmpty())
        return usage(localized("CliStationNeedsDevice"));
    QList<DeviceAddress> addresses;
    for (const QString& text : devices) {
        if (devices.count(text) > 1)
            return usage(localized("CliStationDeviceTwice").arg(text));
        DeviceAddress address;
        if (QString bad; !DeviceAddress::parse(text, &address, &bad))
            return usage(localized("DeviceArgumentInvalid").arg(bad));
        // Each controller is the one at its address: nothing to look for among several.
        if (address.kind == DeviceAddress::Kind::Auto)
            return usage(localized("CliStationNeedsAddress").arg(text));
        addresses.append(address);
    }
    QStringList words = parser.positionalArguments();
    const QString job = words.isEmpty() ? QString() : words.takeFirst();
    std::unique_ptr<CliCommand> jobCommand;
    if (job == QLatin1String("flash"))
        jobCommand = std::make_unique<FlashCommand>(globalOptions());
    else if (job == QLatin1String("upgrade"))
        jobCommand = std::make_unique<UpgradeCommand>(globalOptions());
    else
        return usage(localized("CliStationNeedsJob"));
    QCommandLineParser jobParser;
    if (int exitCode = 0; !CommandLine::parseCommandWords(*jobCommand, words, &jobParser, &exitCode))
        return exitCode;
    if (!jobParser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(jobParser.positionalArguments().first()));

    StationController::Job work;
    work.upgrade = job == QLatin1String("upgrade");
    QString version;
    if (!work.upgrade) {
        work.boot = jobParser.value(QStringLiteral("boot"));
        work.left = jobParser.value(QStringLiteral("left"));
        work.right = jobParser.value(QStringLiteral("right"));
        if (work.boot.isEmpty() && work.left.isEmpty() && work.right.isEmpty())
            return usage(localized("CliFlashNeedsImage"));
    } else {
        // Exactly one source, given once, as the upgrade command takes it.
        const int sources
            = int(jobParser.values(QStringLiteral("local")).size() + jobParser.values(QStringLiteral("online")).size())
            + int(jobParser.optionNames().count(QStringLiteral("latest")));
        if (sources != 1)
            return usage(localized("CliUpgradeNeedsOneSource"));
        using Source = UpgradeCommand::Source;
        work.source = jobParser.isSet(QStringLiteral("latest")) ? Source::Latest
            : jobParser.isSet(QStringLiteral("local"))          ? Source::Local
                                                                : Source::Online;
        version = jobParser.value(work.source == Source::Local ? QStringLiteral("local") : QStringLiteral("online"));
        work.allowOlder = jobParser.isSet(QStringLiteral("allow-older"));
    }
    const bool json = parser.isSet(m_jsonOption) || jobParser.isSet(QStringLiteral("json"));

    const ZelFirmwareUpgradeManager::Settings settings = globalOptions().engineSettings();
    for (qsizetype i = 0; i < devices.size(); ++i) {
        auto* controller = new StationController(
            devices.at(i), addresses.at(i), settings, json, services().accessories(), services().registry(), this);
        if (const QString file = globalOptions().recordFile; !file.isEmpty()) {
            // One recording a controller: FILE-INDEX.EXT, or FILE itself for one.
            const QFileInfo info(file);
            const QString own = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("-%1").arg(i)
                + (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
            controller->recordInto(devices.size() == 1 ? file : own);
        }
        controller->mayStart = [this](StationController* c) { return mayStart(c); };
        m_controllers.append(controller);
    }
    if (!json) {
        m_board = new StationBoard(m_controllers);
        connect(&InterruptNotifier::shared(), &InterruptNotifier::interrupted, this, &StationCommand::interrupted);
    }
    for (StationController* controller : std::as_const(m_controllers)) {
        connect(controller, &StationController::changed, this, [this] {
            downloadMayHaveEnded();
            if (m_board)
                m_board->update();
        });
        connect(controller, &StationController::over, this, &StationCommand::controllerOver);
        controller->connectWithin(globalOptions().waitSeconds);
    }
    if (m_board)
        m_board->update();
    auto begin = [this](const StationController::Job& jobForAll) {
        for (StationController* controller : std::as_const(m_controllers)) {
            controller->setJob(jobForAll);
            controller->begin();
        }
    };
    if (!work.upgrade) {
        begin(work);
    } else {
        // The release is found once, for every controller.
        UpgradeCommand::findRelease(services().catalogue(), work.source, version,
            [begin, work](const ZelFirmware* release, const QString& error) mutable {
                if (!release) {
                    std::fprintf(stderr, "%s\n", qPrintable(error));
                    QCoreApplication::exit(CliOptions::Failed);
                    return;
                }
                std::fprintf(stderr, "%s%s%s\n", qPrintable(localized("SelectedFirmware")), qPrintable(localized(":")),
                    qPrintable(release->version));
                work.release = *release;
                begin(work);
            });
    }
    return runEventLoop();
}

bool StationCommand::mayStart(StationController* c)
{
    // Two downloads of one release would write the same archive and unpack
    // into the same folder; the first unpacked serves the others.
    if (!c->downloadsFirst())
        return true;
    if (m_downloading) {
        m_waitingForDownload.append(c);
        return false;
    }
    m_downloading = c;
    return true;
}

void StationCommand::downloadMayHaveEnded()
{
    if (!m_downloading)
        return;
    using Phase = UpgradeRun::Phase;
    const UpgradeRun* run = m_downloading->run();
    const bool stillFetching = !m_downloading->isOver()
        && (m_downloading->state() != StationController::State::Running || !run || run->phase() == Phase::Idle
            || run->phase() == Phase::Download || run->phase() == Phase::DigestCheck || run->phase() == Phase::Unpack);
    if (stillFetching)
        return;
    m_downloading = nullptr;
    while (!m_waitingForDownload.isEmpty() && !m_downloading) {
        StationController* next = m_waitingForDownload.takeFirst();
        if (next->downloadsFirst())
            m_downloading = next;
        next->proceed();
    }
}

void StationCommand::controllerOver()
{
    for (const StationController* controller : std::as_const(m_controllers))
        if (!controller->isOver())
            return;
    if (m_board)
        m_board->update();
    int failed = 0;
    for (const StationController* controller : std::as_const(m_controllers)) {
        if (controller->state() != StationController::State::Failed)
            continue;
        ++failed;
        std::fprintf(stderr, "%s\n",
            qPrintable(localized("CliStationControllerFailed").arg(controller->device(), controller->failureText())));
    }
    std::fprintf(stderr, "%s\n",
        qPrintable(localized("CliStationSummary").arg(m_controllers.size() - failed).arg(m_controllers.size())));
    QCoreApplication::exit(failed == 0 ? CliOptions::Ok : CliOptions::Failed);
}

void StationCommand::interrupted()
{
    // As for one controller: at once where nothing can be damaged, otherwise
    // when the image under way has ended; said once.
    bool waits = false;
    for (StationController* controller : std::as_const(m_controllers))
        if (!controller->cancel())
            waits = true;
    if (waits && !std::exchange(m_interruptNoted, true))
        std::fprintf(stderr, "%s\n", qPrintable(localized("CliInterruptWaitsForImage")));
}
