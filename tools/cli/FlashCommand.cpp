#include "cli/FlashCommand.h"

#include "cli/CliOptions.h"
#include "cli/ControllerConnector.h"
#include "cli/ProgressPrinter.h"
#include "platform/EAAccessoryManager.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
constexpr int kPollMs = 20;
// After the engine's own reconnection wait, give the session a moment to open.
constexpr double kAfterReconnect = 0.3;
constexpr double kVersionGrace = 0.25;
} // namespace

FlashCommand::FlashCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_connector(connector)
    , m_progress(new ProgressPrinter)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &FlashCommand::checkRun);
    m_returnDeadline.setSingleShot(true);
    connect(&m_returnDeadline, &QTimer::timeout, this,
            [this] { finish(CliOptions::Failed, localized("ControllerDidNotReturn")); });
}

FlashCommand::~FlashCommand()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_progress;
}

bool FlashCommand::parseArguments()
{
    const QStringList& args = m_options.arguments;
    for (int i = 0; i < args.size(); ++i) {
        QString* target = args[i] == QLatin1String("--boot")  ? &m_boot
                          : args[i] == QLatin1String("--left")  ? &m_left
                          : args[i] == QLatin1String("--right") ? &m_right
                                                                : nullptr;
        if (!target || i + 1 >= args.size()) {
            std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(
                                             QStringLiteral("flash [--boot FILE] [--left FILE] [--right FILE]"))));
            return false;
        }
        *target = args[++i];
    }
    if (m_boot.isEmpty() && m_left.isEmpty() && m_right.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(localized("CliUsageError").arg(QStringLiteral("flash needs at least one image"))));
        return false;
    }
    return true;
}

void FlashCommand::run()
{
    if (!parseArguments()) {
        QMetaObject::invokeMethod(this, [] { QCoreApplication::exit(CliOptions::Usage); }, Qt::QueuedConnection);
        return;
    }
    m_connector->connect(m_options.waitSeconds, [this](bool found) {
        if (!found) {
            QCoreApplication::exit(CliOptions::NoController);
            return;
        }
        start();
    });
}

void FlashCommand::start()
{
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    engine.bootFilePath = m_boot;
    engine.leftFilePath = m_left;
    engine.rightFilePath = m_right;
    engine.bootNeedUpgrade = !m_boot.isEmpty();
    engine.leftNeedUpgrade = !m_left.isEmpty();
    engine.rightNeedUpgrade = !m_right.isEmpty();
    engine.bootUpgradeDone = engine.leftUpgradeDone = engine.rightUpgradeDone = false;
    engine.upgradeProgressBlock = [this](double percent) { m_progress->update(percent); };
    NotificationCenter::defaultCenter().addObserver(this, ZelGamepadDisconnectByUpgradingFirmwareNotification,
                                                    [this](const Notification& n) {
                                                        if (!n.object.toBool() && !m_done)
                                                            finish(CliOptions::Failed, localized("GamepadDisconnectManuallyPrompt"));
                                                    });
    connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryAttached, this,
            [this](const EAAccessoryPtr& accessory) {
                if (m_awaitingReturn && accessory->connectionID() != m_connectionAtEnd)
                    awaitReturn();
            });
    if (engine.bootNeedUpgrade)
        engine.upgradeBoot();
    else if (engine.leftNeedUpgrade)
        engine.upgradeLeftSide();
    else
        engine.upgradeRightSide();
    m_poll.start();
    checkRun();
}

void FlashCommand::checkRun()
{
    const ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    if (m_done || engine.isUpgradingFirmware)
        return;
    m_poll.stop();
    m_progress->finish();
    const bool complete = (!engine.bootNeedUpgrade || engine.bootUpgradeDone)
        && (!engine.leftNeedUpgrade || engine.leftUpgradeDone) && (!engine.rightNeedUpgrade || engine.rightUpgradeDone);
    if (!complete) {
        // The engine has told the user why (its toast went to standard error).
        finish(CliOptions::Failed);
        return;
    }
    if (engine.rightNeedUpgrade) {
        readVersions(); // the right side does not restart
        return;
    }
    // A run that ends with a left-side image: the controller restarts first.
    m_connectionAtEnd = engine.accessory ? engine.accessory->connectionID() : 0;
    m_awaitingReturn = true;
    m_returnDeadline.start(MainQueue::scaledMilliseconds(engine.restartWaitLimit));
}

void FlashCommand::awaitReturn()
{
    m_awaitingReturn = false;
    m_returnDeadline.stop();
    MainQueue::dispatchAfter(ZelFirmwareUpgradeManager::kReconnectDelay + kAfterReconnect, [this] { readVersions(); }, this);
}

void FlashCommand::readVersions()
{
    if (m_readingVersions || m_done)
        return;
    m_readingVersions = true;
    ZelFirmwareUpgradeManager::sharedInstance().checkCurrentVersion([this](const QString& versions) {
        if (m_done)
            return;
        std::printf("%s\n", qPrintable(versions));
        std::fflush(stdout);
        finish(CliOptions::Ok, localized("FlashImagesSent").arg(versions));
    });
    MainQueue::dispatchAfter(ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace,
                             [this] { finish(CliOptions::Failed); }, this);
}

void FlashCommand::finish(int exitCode, const QString& message)
{
    if (m_done)
        return;
    m_done = true;
    m_poll.stop();
    m_progress->finish();
    if (!message.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(exitCode);
}
