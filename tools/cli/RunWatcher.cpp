#include "cli/RunWatcher.h"

#include "cli/CliOptions.h"
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

RunWatcher::RunWatcher(QObject* parent)
    : QObject(parent)
    , m_progress(new ProgressPrinter("progress"))
    , m_download(new ProgressPrinter("download"))
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &RunWatcher::checkRun);
    m_returnDeadline.setSingleShot(true);
    connect(&m_returnDeadline, &QTimer::timeout, this, [this] { finish(false, QString(), localized("ControllerDidNotReturn")); });
}

RunWatcher::~RunWatcher()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_progress;
    delete m_download;
}

void RunWatcher::prepare()
{
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    engine.upgradeProgressBlock = [this](double percent) {
        m_download->finish();
        m_progress->update(percent);
    };
    engine.downloadProgressBlock = [this](qint64 received, qint64 total) {
        if (total > 0)
            m_download->update(100.0 * double(received) / double(total));
    };
}

void RunWatcher::watch(Completed completed)
{
    m_done = std::move(completed);
    NotificationCenter::defaultCenter().addObserver(this, ZelGamepadDisconnectByUpgradingFirmwareNotification,
                                                    [this](const Notification& n) {
                                                        if (!n.object.toBool())
                                                            finish(false, QString(), localized("GamepadDisconnectManuallyPrompt"));
                                                    });
    connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryAttached, this,
            [this](const EAAccessoryPtr& accessory) {
                if (m_awaitingReturn && accessory->connectionID() != m_connectionAtEnd)
                    awaitReturn();
            });
    m_poll.start();
    checkRun();
}

void RunWatcher::checkRun()
{
    const ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    if (!m_done || engine.isUpgradingFirmware)
        return;
    m_poll.stop();
    m_progress->finish();
    m_download->finish();
    const bool complete = (!engine.bootNeedUpgrade || engine.bootUpgradeDone)
        && (!engine.leftNeedUpgrade || engine.leftUpgradeDone) && (!engine.rightNeedUpgrade || engine.rightUpgradeDone);
    if (!complete) {
        finish(false, QString()); // the engine has told the user why
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

void RunWatcher::awaitReturn()
{
    m_awaitingReturn = false;
    m_returnDeadline.stop();
    MainQueue::dispatchAfter(ZelFirmwareUpgradeManager::kReconnectDelay + kAfterReconnect, [this] { readVersions(); }, this);
}

void RunWatcher::readVersions()
{
    if (m_readingVersions || !m_done)
        return;
    m_readingVersions = true;
    ZelFirmwareUpgradeManager::sharedInstance().checkCurrentVersion(
        [this](const QString& versions) { finish(true, versions); });
    // The engine's own prompt tells the user when no answer comes.
    MainQueue::dispatchAfter(ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace,
                             [this] { finish(false, QString()); }, this);
}

void RunWatcher::finish(bool completed, const QString& versions, const QString& failure)
{
    if (!m_done)
        return;
    m_poll.stop();
    m_returnDeadline.stop();
    m_progress->finish();
    m_download->finish();
    auto done = std::exchange(m_done, nullptr);
    if (!completed) {
        if (!failure.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(failure));
        QCoreApplication::exit(CliOptions::Failed);
        return;
    }
    std::printf("%s\n", qPrintable(versions));
    std::fflush(stdout);
    done(versions);
}
