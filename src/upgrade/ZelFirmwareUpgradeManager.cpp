#include "upgrade/ZelFirmwareUpgradeManager.h"

#include "accessory/EADSessionController.h"
#include "lib/MessageToast.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "upgrade/ControllerProtocol.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/DeviceInformation.h"
#include "upgrade/ImageWriter.h"
#include "upgrade/LeftImageWriter.h"
#include "upgrade/RightImageWriter.h"
#include "upgrade/TransferState.h"
#include "upgrade/VersionQuery.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <optional>
#include <utility>

const QString ZelGamepadDisconnectByUpgradingFirmwareNotification
    = QStringLiteral("ZelGamepadDisconnectByUpgradingFirmwareNotification");
const QString ZelConnectionIDKey = QStringLiteral("connectionID");
const QString ZelUpgradeProgressNotification = QStringLiteral("ZelUpgradeProgressNotification");

namespace {
ZelFirmwareUpgradeManager* g_engine = nullptr;
// Given before the shared engine was made.
std::optional<ZelFirmwareUpgradeManager::Settings> g_sharedSettings;
ZelFirmwareUpgradeManager::LinkTap g_sharedLinkTap;
}

ZelFirmwareUpgradeManager& ZelFirmwareUpgradeManager::sharedInstance()
{
    // Created on first use, registered once, never destroyed.
    static ZelFirmwareUpgradeManager* instance = [] {
        auto* engine = new ZelFirmwareUpgradeManager(
            ControllerRegistry::sharedRegistry(), EADSessionController::sharedController());
        g_engine = engine;
        if (g_sharedSettings)
            engine->m_settings = *g_sharedSettings;
        engine->setLinkTap(g_sharedLinkTap);
        return engine;
    }();
    return *instance;
}

ZelFirmwareUpgradeManager* ZelFirmwareUpgradeManager::existingInstance()
{
    return g_engine;
}

void ZelFirmwareUpgradeManager::setSharedLinkTap(LinkTap tap)
{
    if (g_engine)
        g_engine->setLinkTap(std::move(tap));
    else
        g_sharedLinkTap = std::move(tap);
}

void ZelFirmwareUpgradeManager::setSharedSettings(const Settings& settings)
{
    if (g_engine)
        g_engine->setSettings(settings);
    else
        g_sharedSettings = settings;
}

ZelFirmwareUpgradeManager::ZelFirmwareUpgradeManager(ControllerRegistry& controllers, EADSessionController& session)
    : m_controllers(controllers)
    , m_session(&session)
    , m_context(std::make_unique<QObject>())
    , m_channel(std::make_unique<RequestChannel>(session))
{
    addNotificationObserver();
}

ZelFirmwareUpgradeManager::ZelFirmwareUpgradeManager(ControllerRegistry& controllers, const QString& location)
    : m_controllers(controllers)
    , m_location(location)
    , m_ownSession(std::make_unique<EADSessionController>())
    , m_session(m_ownSession.get())
    , m_context(std::make_unique<QObject>())
    , m_channel(std::make_unique<RequestChannel>(*m_ownSession))
{
    addNotificationObserver();
    // Already attached there: followed at once, as a caller's choice is.
    if (const QList<ControllerRegistry::ControllerPtr> there = controllers.controllersAt(location); !there.isEmpty())
        followAccessory(there.first()->accessory());
}

ZelFirmwareUpgradeManager::~ZelFirmwareUpgradeManager()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    // Nothing of this engine runs after it: its transfer, timers and delayed work go with it.
    m_transfer.reset();
    stopWatchdog();
    stopIdentifying();
    stopCheckVersionTimer();
    m_query.reset();
    m_runQuery.reset();
    abortDownload();
    m_context.reset();
}

void ZelFirmwareUpgradeManager::showMessage(const QString& text, double seconds) const
{
    if (showsMessages())
        MessageToast::showMsgWithtext(text, seconds);
}

void ZelFirmwareUpgradeManager::addNotificationObserver()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(
        this, EAAccessoryDidConnectNotification, [this](const Notification& n) { _accessoryDidConnect(n); });
    center.addObserver(
        this, EAAccessoryDidDisconnectNotification, [this](const Notification& n) { _accessoryDidDisconnect(n); });
    EADSessionController& session = *m_session;
    session.openSession();
    m_accessory = session.accessory();
}

// Version query --------------------------------------------------------------

void ZelFirmwareUpgradeManager::checkCurrentVersion(VersionCallback callback)
{
    checkVersionWithSide(1, std::move(callback));
}

void ZelFirmwareUpgradeManager::probeVersions(VersionCallback callback)
{
    checkVersionWithSide(1, std::move(callback));
    stopCheckVersionTimer();
}

void ZelFirmwareUpgradeManager::checkRightSideVersion()
{
    checkVersionWithSide(1, nullptr);
}

void ZelFirmwareUpgradeManager::checkLeftSideVersion()
{
    checkVersionWithSide(2, nullptr);
}

void ZelFirmwareUpgradeManager::checkVersionWithSide(unsigned side, VersionCallback callback)
{
    // A query during a run would take the reply handler from the transfer.
    if (m_queriesHeld) {
        m_heldQueries.append({ side, std::move(callback) });
        return;
    }
    askVersion(side, std::move(callback));
}

void ZelFirmwareUpgradeManager::readBackVersions(VersionCallback callback)
{
    askVersion(1, std::move(callback), true);
}

void ZelFirmwareUpgradeManager::holdVersionQueries()
{
    m_queriesHeld = true;
    // A query asked just before waits too, and its no-answer prompt must not
    // appear in the middle of the run.
    stopCheckVersionTimer();
    m_query.reset();
    if (std::exchange(m_hasQueryInFlight, false))
        m_heldQueries.append({ 1, std::exchange(m_queryInFlight, nullptr) });
}

void ZelFirmwareUpgradeManager::releaseVersionQueries(const QString& versions)
{
    m_queriesHeld = false;
    const auto held = std::exchange(m_heldQueries, {});
    if (held.isEmpty())
        return;
    QList<VersionCallback> callbacks;
    for (const auto& query : held)
        if (query.second)
            callbacks.append(query.second);
    if (!versions.isNull()) {
        for (const VersionCallback& callback : callbacks)
            callback(versions);
        return;
    }
    // One query answers them all: two in flight would take each other's handler.
    askVersion(1, [callbacks](const QString& read) {
        for (const VersionCallback& callback : callbacks)
            callback(read);
    });
}

void ZelFirmwareUpgradeManager::askVersion(unsigned side, VersionCallback callback, bool forRun)
{
    // A new query takes the place of the one before, whose replies and
    // pause go with it.
    std::unique_ptr<VersionQuery>& query = forRun ? m_runQuery : m_query;
    VersionQuery::Hooks hooks;
    hooks.right = [this](ControllerProtocol::Version version, double seconds) {
        m_replySeconds = seconds;
        m_rightVersion = QString::asprintf("%d.%d", version.major, version.minor);
    };
    hooks.record = [this, callback, forRun](const DeviceInformation& record, double seconds) {
        deviceInformationReceived(record, seconds, callback, forRun);
    };
    query = std::make_unique<VersionQuery>(*m_channel, kLeftRequestDelay, std::move(hooks));
    query->start(side == 1 ? VersionQuery::Start::RightVersion : VersionQuery::Start::DeviceInformation);
    if (side != 1 || forRun)
        return;
    stopCheckVersionTimer();
    m_queryInFlight = callback;
    m_hasQueryInFlight = true;
    m_checkVersionTimer = Timer::scheduledTimer(kCheckVersionTimeout, false, [this] {
        // Unanswered: no later run holds it for ever.
        m_queryInFlight = nullptr;
        m_hasQueryInFlight = false;
        showMessage(localized("UnplugDevicePrompt"), kUnplugPromptSeconds);
    });
}

void ZelFirmwareUpgradeManager::deviceInformationReceived(
    const DeviceInformation& record, double seconds, const VersionCallback& callback, bool forRun)
{
    // The first request after a pause may wake the link: the faster half is the controller's pace.
    m_replySeconds = std::min(m_replySeconds, seconds);
    const EAAccessoryPtr answered = (*m_session).accessory();
    m_identifiedConnection = answered ? answered->connectionID() : 0;
    m_controllers.recordAnswer(answered, record);
    m_bootVersion = record.bootVer();
    m_leftVersion = record.softwareVersion();
    if (m_rightVersion.isEmpty())
        return;
    const QString combined = versionsText();
    if (!forRun) {
        m_queryInFlight = nullptr;
        m_hasQueryInFlight = false;
        stopCheckVersionTimer();
    }
    if (callback)
        callback(combined);
}

void ZelFirmwareUpgradeManager::stopCheckVersionTimer()
{
    if (m_checkVersionTimer && m_checkVersionTimer->isValid()) {
        m_checkVersionTimer->invalidate();
        m_checkVersionTimer.reset();
    }
}

const QString& ZelFirmwareUpgradeManager::filePath(UpgradePlan::Image image) const
{
    switch (image) {
    case UpgradePlan::Image::BootLoader:
        return m_bootFilePath;
    case UpgradePlan::Image::Left:
        return m_leftFilePath;
    case UpgradePlan::Image::Right:
        break;
    }
    return m_rightFilePath;
}

QString ZelFirmwareUpgradeManager::versionsText() const
{
    return QStringLiteral("%1-%2-%3").arg(m_bootVersion, m_leftVersion, m_rightVersion);
}

QString ZelFirmwareUpgradeManager::followedVersionsText() const
{
    if (connectionID() == 0 || identifiedConnection() != connectionID())
        return QString();
    return versionsText();
}

bool ZelFirmwareUpgradeManager::versionQueryPending() const
{
    return m_checkVersionTimer && m_checkVersionTimer->isValid();
}

const DeviceInformation& ZelFirmwareUpgradeManager::deviceInformation() const
{
    static const DeviceInformation none;
    const ControllerRegistry::ControllerPtr answered = m_controllers.identifiedOn(m_identifiedConnection);
    return answered ? answered->deviceInformation() : none;
}

const QStringList& ZelFirmwareUpgradeManager::supportedProtocols() const
{
    return m_controllers.declaredProtocols();
}

QString ZelFirmwareUpgradeManager::hardwareVersion() const
{
    return deviceInformation().hardwareVersion();
}
QString ZelFirmwareUpgradeManager::bluetoothVersion() const
{
    return deviceInformation().bluetoothVersion();
}
QString ZelFirmwareUpgradeManager::softwareVersion() const
{
    return deviceInformation().softwareVersion();
}
QString ZelFirmwareUpgradeManager::gcmVersion() const
{
    return deviceInformation().gcmVersion();
}
QString ZelFirmwareUpgradeManager::productDateString() const
{
    return deviceInformation().productDateString();
}
QString ZelFirmwareUpgradeManager::macAddressWithoutColon() const
{
    return deviceInformation().macAddressWithoutColon();
}
QString ZelFirmwareUpgradeManager::bootVer() const
{
    return deviceInformation().bootVer();
}
QString ZelFirmwareUpgradeManager::updateTime() const
{
    return deviceInformation().updateTime();
}

QString ZelFirmwareUpgradeManager::addressWithColons(const QString& address)
{
    QStringList pairs;
    for (qsizetype i = 0; i < address.size(); i += 2)
        pairs << address.mid(i, 2);
    return pairs.join(QLatin1Char(':'));
}

QString ZelFirmwareUpgradeManager::controllerIdentityText() const
{
    if (m_identifiedConnection == 0)
        return QString();
    const DeviceInformation& record = deviceInformation();
    return localized("ControllerIdentity")
        .arg(addressWithColons(record.macAddressWithoutColon()), record.hardwareVersion(), record.gcmVersion(),
            record.productionDate());
}

// Image transfers ----------------------------------------------------------

std::unique_ptr<ImageWriter> ZelFirmwareUpgradeManager::makeWriter(UpgradePlan::Image image)
{
    ImageWriter::Link link;
    // The writer's questions go with it.
    link.write = [asker = std::make_shared<RequestChannel::Asker>(*m_channel)](const QByteArray& request,
                     ImageWriter::ReplyHandler handler) { asker->send(request, std::move(handler)); };
    link.progress = [this, image](double fraction) {
        reportPercent(
            TransferState::progressPercent(image, fraction, m_bootNeedUpgrade, m_leftNeedUpgrade, m_rightNeedUpgrade));
    };
    link.touch = [this](bool flashPhase) { touchWatchdog(flashPhase); };
    link.endAcknowledged = [this, image] { imageEnded(image); };
    link.failed = [this](const UpgradeReason& reason) { failRun(reason); };
    link.startRefused = [this] { showMessage(localized("DeviceCannotUpgrade"), MessageToast::kDefaultSeconds); };
    std::optional<QByteArray> file = m_planImages.at(size_t(image));
    if (image == UpgradePlan::Image::Right)
        return std::make_unique<RightImageWriter>(std::move(file), std::move(link));
    return std::make_unique<LeftImageWriter>(image, std::move(file), std::move(link));
}

void ZelFirmwareUpgradeManager::reportPercent(double percent)
{
    if (m_runHooks.progress)
        m_runHooks.progress(percent);
    NotificationCenter& center = NotificationCenter::defaultCenter();
    if (center.hasObservers(ZelUpgradeProgressNotification))
        center.postNotification(ZelUpgradeProgressNotification, percent, { { ZelConnectionIDKey, connectionID() } });
}

void ZelFirmwareUpgradeManager::imageEnded(UpgradePlan::Image image)
{
    m_transfer.reset(); // the image is done: nothing of it may be resent
    if (image == UpgradePlan::Image::Right) {
        stopWatchdog();
        // The right image comes last in every plan: its end fills the bar.
        reportPercent(100.0);
        m_rightUpgradeDone = true;
        m_stepDone = true;
        if (planCompleted())
            m_isUpgradingFirmware = false;
        if (auto hook = m_runHooks.endAcknowledged; hook)
            hook(image);
        return;
    }
    if (image == UpgradePlan::Image::BootLoader)
        m_bootUpgradeDone = true;
    else
        m_leftUpgradeDone = true;
    m_stepDone = true;
    if (planCompleted())
        m_isUpgradingFirmware = false;
    // The controller restarts after the left side's end: the coming disconnection is expected.
    m_isGamepadDisconnectByUpgradingFirmware = true;
    // A run waits for its own controller's return also after its last
    // image, to ask who came back before the versions count.
    m_awaitingReconnect = m_isUpgradingFirmware || m_runActive;
    if (m_isUpgradingFirmware) {
        armRestartWatchdog();
        notifyPhase(ZelUpgradePhase::WaitingForRestart);
    } else {
        stopWatchdog();
    }
    if (auto hook = m_runHooks.endAcknowledged; hook)
        hook(image);
}

// Orchestration --------------------------------------------------------------

void ZelFirmwareUpgradeManager::upgradeBoot()
{
    startPlanAt(UpgradePlan::Image::BootLoader);
}

void ZelFirmwareUpgradeManager::upgradeLeftSide()
{
    startPlanAt(UpgradePlan::Image::Left);
}

void ZelFirmwareUpgradeManager::upgradeRightSide()
{
    startPlanAt(UpgradePlan::Image::Right);
}

void ZelFirmwareUpgradeManager::startPlanAt(UpgradePlan::Image first)
{
    // The run's plan is worked out once, here: the images needed and not yet
    // sent, in the controller's order. Every later image comes from it.
    const UpgradePlan::Need need { m_bootNeedUpgrade && !m_bootUpgradeDone, m_leftNeedUpgrade && !m_leftUpgradeDone,
        m_rightNeedUpgrade && !m_rightUpgradeDone };
    m_plan = UpgradePlan::make(need, UpgradePlan::Paths { m_bootFilePath, m_leftFilePath, m_rightFilePath });
    m_planImages.fill(std::nullopt);
    for (const UpgradePlan::Step& step : m_plan.steps())
        m_planImages.at(size_t(step.image)) = TransferState::readFile(step.path, step.image);
    // Every image is checked before the first byte of any: a release whose
    // last image cannot be sent must not leave the controller with its
    // first ones written and the rest old.
    for (const UpgradePlan::Step& step : m_plan.steps()) {
        TransferState probe;
        const TransferState::LoadResult result = probe.load(m_planImages.at(size_t(step.image)), step.image);
        if (result == TransferState::LoadResult::Ok)
            continue;
        const QString why = result == TransferState::LoadResult::Empty ? localized("ImageEmpty")
            : result == TransferState::LoadResult::TooLarge
            ? localized("ImageTooLarge").arg(TransferState::kMaxRegionSize)
            : localized("ImageUnreadable");
        failRun(UpgradeReason(UpgradeReason::Code::ImageUnsendable, { QFileInfo(step.path).fileName(), why }));
        return;
    }
    m_step = m_plan.indexOf(first);
    sendImage(first);
}

void ZelFirmwareUpgradeManager::sendImage(UpgradePlan::Image image)
{
    m_isUpgradingFirmware = true;
    m_stepDone = false;
    m_currentImage = image;
    notifyPhase(image == UpgradePlan::Image::BootLoader ? ZelUpgradePhase::BootLoader
            : image == UpgradePlan::Image::Left         ? ZelUpgradePhase::Left
                                                        : ZelUpgradePhase::Right);
    // A writer left from an earlier image is dropped, and with it all it armed.
    m_transfer = makeWriter(image);
    m_transfer->start();
}

bool ZelFirmwareUpgradeManager::sendFiles(const QString& boot, const QString& left, const QString& right)
{
    m_bootFilePath = boot;
    m_leftFilePath = left;
    m_rightFilePath = right;
    m_bootNeedUpgrade = !boot.isEmpty();
    m_leftNeedUpgrade = !left.isEmpty();
    m_rightNeedUpgrade = !right.isEmpty();
    if (!m_bootNeedUpgrade && !m_leftNeedUpgrade && !m_rightNeedUpgrade)
        return false;
    // What an earlier call sent is not part of these images.
    m_bootUpgradeDone = m_leftUpgradeDone = m_rightUpgradeDone = false;
    upgradeWithLocalFile(); // the first needed image, in the controller's order
    return true;
}

bool ZelFirmwareUpgradeManager::planCompleted() const
{
    // An image started outside the plan (one not marked as needed) is a run of its own.
    return m_stepDone && (m_step < 0 || m_step + 1 >= m_plan.steps().size());
}

void ZelFirmwareUpgradeManager::upgradeOtherSideAfterConnectingAgain()
{
    if (!m_isUpgradingFirmware)
        return;
    m_awaitingReconnect = false;
    // Only the end of the plan's current image moves the run on; an image
    // cut off is never restarted here.
    if (!m_stepDone || m_step < 0 || m_step + 1 >= m_plan.steps().size())
        return;
    ++m_step;
    sendImage(m_plan.steps().at(m_step).image);
}

void ZelFirmwareUpgradeManager::failRun(const UpgradeReason& reason, double seconds)
{
    m_isUpgradingFirmware = false;
    m_awaitingReconnect = false;
    stopIdentifying();
    m_returnCandidates.clear();
    m_transfer.reset();
    stopWatchdog();
    abortDownload();
    (*m_session).discardQueuedData();
    // A run says its outcome itself, with what was installed; the engine
    // alone shows the reason.
    if (!m_run)
        showMessage(reason.text(), seconds);
    if (auto hook = m_runHooks.failed; hook)
        hook(reason);
}

void ZelFirmwareUpgradeManager::cancelRun()
{
    m_isUpgradingFirmware = false;
    m_awaitingReconnect = false;
    stopIdentifying();
    m_returnCandidates.clear();
    m_transfer.reset();
    stopWatchdog();
    abortDownload();
    (*m_session).discardQueuedData();
}

void ZelFirmwareUpgradeManager::beginRun(const QString& controller, quint64 connection)
{
    if (!m_runActive) {
        m_bootUpgradeDone = m_leftUpgradeDone = m_rightUpgradeDone = false;
        m_isGamepadDisconnectByUpgradingFirmware = false;
    }
    m_runActive = true;
    m_runController = controller;
    m_runConnection = connection;
}

bool ZelFirmwareUpgradeManager::attachRun(UpgradeRun* run, RunHooks hooks)
{
    if ((m_run && m_run != run) || m_isUpgradingFirmware)
        return false;
    m_run = run;
    m_runHooks = std::move(hooks);
    return true;
}

void ZelFirmwareUpgradeManager::detachRun(const UpgradeRun* run)
{
    if (m_run != run)
        return;
    m_runHooks = RunHooks();
    m_run = nullptr;
}

void ZelFirmwareUpgradeManager::endRun()
{
    m_runActive = false;
    m_runController.clear();
    m_runConnection = 0;
    m_awaitingReconnect = false;
    stopIdentifying();
    m_returnCandidates.clear();
    // Nothing of the run may reach a later attachment.
    (*m_session).discardQueuedData();
    if (m_accessory)
        return;
    // The run ended without its controller attached (gone, or restarting
    // and not back): no restart is awaited any more, and the newest
    // accessory that arrived meanwhile is followed as any arrival is.
    m_isGamepadDisconnectByUpgradingFirmware = false;
    if (const QList<ControllerRegistry::ControllerPtr> there = m_controllers.controllersAt(m_location);
        !there.isEmpty())
        followConnection(there.last()->accessory());
}

void ZelFirmwareUpgradeManager::stopIdentifying()
{
    m_identifying = false;
    m_runQuery.reset();
    if (m_identifyTimer)
        m_identifyTimer->invalidate();
    m_identifyTimer.reset();
}

void ZelFirmwareUpgradeManager::notifyPhase(ZelUpgradePhase phase)
{
    if (auto hook = m_runHooks.phase; hook)
        hook(phase);
}

void ZelFirmwareUpgradeManager::touchWatchdog(bool flashPhase)
{
    const double seconds = flashPhase ? m_settings.flashSilence : m_settings.transferSilence;
    // Bytes written before the session opens wait in its queue: the
    // controller's silence counts from the opening.
    if (!(*m_session).session()) {
        m_silenceLimitOnOpening = seconds;
        // Still never without a deadline: a session that does not open within
        // the restart limit ends the run.
        m_watchdog = Timer::scheduledTimer(std::max(seconds, m_settings.restartWait), false, [this] {
            if (m_isUpgradingFirmware)
                failRun(UpgradeReason(UpgradeReason::Code::StoppedResponding));
        });
        return;
    }
    armWatchdog(seconds, UpgradeReason::Code::StoppedResponding);
}

void ZelFirmwareUpgradeManager::armRestartWatchdog()
{
    armWatchdog(m_settings.restartWait, UpgradeReason::Code::DidNotReturn);
}

void ZelFirmwareUpgradeManager::armWatchdog(double seconds, UpgradeReason::Code reason)
{
    m_silenceLimitOnOpening = 0.0;
    std::function<void()> expired = [this, reason] {
        if (m_isUpgradingFirmware)
            failRun(UpgradeReason(reason));
    };
    // Moved at every reply: the waiting limit is moved, not made again.
    if (m_watchdog && m_watchdog->rearm(seconds, std::move(expired)))
        return;
    if (m_watchdog)
        m_watchdog->invalidate();
    m_watchdog = Timer::scheduledTimer(seconds, false, std::move(expired));
}

void ZelFirmwareUpgradeManager::stopWatchdog()
{
    m_silenceLimitOnOpening = 0.0;
    if (m_watchdog)
        m_watchdog->invalidate();
    m_watchdog.reset();
}

// Accessory following ------------------------------------------------------

bool ZelFirmwareUpgradeManager::offersDeclaredProtocol(const EAAccessoryPtr& candidate) const
{
    if (!m_location.isEmpty() && candidate->location() != m_location)
        return false;
    return m_controllers.offersDeclaredProtocol(candidate);
}

void ZelFirmwareUpgradeManager::_accessoryDidConnect(const Notification& notification)
{
    const EAAccessoryPtr connected = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    // Outside a run any connection ends the wait for a restart; during one,
    // only the run's own controller's identified return does.
    if (!m_runActive)
        m_isGamepadDisconnectByUpgradingFirmware = false;
    // One continuation per connection, also when the accessory offers
    // several declared protocols: a second one would restart the image.
    if (!connected || !offersDeclaredProtocol(connected) || m_lastContinuedConnection == connected->connectionID())
        return;
    // A run may have started on this very connection before its session
    // opened (the engine heard of it after the run's caller did): it opens as usual.
    const EAAccessoryPtr configured = (*m_session).accessory();
    const bool runIsOnIt
        = !(*m_session).session() && configured && configured->connectionID() == connected->connectionID();
    if (m_runActive && !runIsOnIt) {
        // During a run, arrivals never move the session: only a connection
        // made while the run waits for its controller's return is a
        // candidate, and it is asked who it is before anything else is sent.
        if (!m_awaitingReconnect || (m_accessory && !m_identifying))
            return;
        m_lastContinuedConnection = connected->connectionID();
        m_returnCandidates.append({ connected, false });
        const quint64 id = connected->connectionID();
        MainQueue::dispatchAfter(
            kReconnectDelay,
            [this, id] {
                for (ReturnCandidate& c : m_returnCandidates)
                    if (c.accessory->connectionID() == id)
                        c.ready = true;
                tryNextReturnCandidate();
            },
            m_context.get());
        return;
    }
    followConnection(connected);
}

void ZelFirmwareUpgradeManager::followConnection(const EAAccessoryPtr& connected)
{
    m_accessory = connected;
    m_lastContinuedConnection = connected->connectionID();
    // A connection continues only an engine transfer that was waiting for the
    // controller's restart when it came: one started within the reconnection
    // delay of an earlier connection must not be restarted by that
    // connection's continuation.
    const bool resumes = m_awaitingReconnect;
    MainQueue::dispatchAfter(
        kReconnectDelay,
        [this, resumes, connected] {
            // A later arrival, a departure or a caller's choice (followAccessory)
            // decided meanwhile: this arrival no longer moves the session.
            if (m_accessory != connected)
                return;
            EADSessionController& session = *m_session;
            session.setupControllerForAccessory(m_accessory, supportedProtocols().value(0));
            session.openSession();
            if (m_isUpgradingFirmware && m_silenceLimitOnOpening > 0.0)
                armWatchdog(m_silenceLimitOnOpening, UpgradeReason::Code::StoppedResponding);
            if (resumes && m_awaitingReconnect)
                upgradeOtherSideAfterConnectingAgain();
        },
        m_context.get());
}

void ZelFirmwareUpgradeManager::followAccessory(const EAAccessoryPtr& chosen)
{
    if (!chosen || m_runActive)
        return;
    m_accessory = chosen;
    m_lastContinuedConnection = chosen->connectionID();
    EADSessionController& session = *m_session;
    // Reopening a session that is open on it would lose what it has received.
    if (session.session() && session.accessory() == chosen)
        return;
    session.setupControllerForAccessory(chosen, supportedProtocols().value(0));
    session.openSession();
}

void ZelFirmwareUpgradeManager::tryNextReturnCandidate()
{
    if (!m_awaitingReconnect || m_identifying)
        return;
    const auto ready = std::find_if(
        m_returnCandidates.begin(), m_returnCandidates.end(), [](const ReturnCandidate& c) { return c.ready; });
    if (ready == m_returnCandidates.end())
        return; // the next one is not ready yet, or none came
    const EAAccessoryPtr candidate = ready->accessory;
    EADSessionController& session = *m_session;
    // Nothing queued before the restart may reach whoever came back.
    session.discardQueuedData();
    session.setupControllerForAccessory(candidate, supportedProtocols().value(0));
    if (!session.openSession()) {
        // Nobody to ask on this connection; the restart limit keeps running.
        m_returnCandidates.erase(ready);
        session.closeSession();
        tryNextReturnCandidate();
        return;
    }
    m_accessory = candidate;
    m_identifying = true;
    const quint64 connection = candidate->connectionID();
    // A candidate that does not answer is set aside, and the next one asked.
    m_identifyTimer = Timer::scheduledTimer(kCheckVersionTimeout + kIdentifyGrace, false, [this, connection] {
        if (m_identifying && connectionID() == connection)
            setCandidateAside(connection);
        tryNextReturnCandidate();
    });
    askVersion(
        1, [this, connection](const QString& versions) { returnIdentified(connection, versions); }, true);
}

void ZelFirmwareUpgradeManager::setCandidateAside(quint64 connection)
{
    stopIdentifying();
    m_returnCandidates.removeIf(
        [connection](const ReturnCandidate& c) { return c.accessory->connectionID() == connection; });
    (*m_session).closeSession();
    m_accessory.reset();
}

void ZelFirmwareUpgradeManager::returnIdentified(quint64 connection, const QString& versions)
{
    if (!m_identifying || connectionID() != connection)
        return;
    if (macAddressWithoutColon() != m_runController) {
        // Another controller: it received the query and nothing else.
        setCandidateAside(connection);
        if (!m_returnCandidates.isEmpty()) {
            tryNextReturnCandidate();
            return;
        }
        failRun(UpgradeReason(UpgradeReason::Code::DifferentControllerReturned));
        return;
    }
    stopIdentifying();
    m_awaitingReconnect = false;
    m_returnCandidates.clear();
    m_isGamepadDisconnectByUpgradingFirmware = false;
    m_runConnection = connection;
    if (auto hook = m_runHooks.returned; hook)
        hook(connection, versions);
    if (m_runActive && m_isUpgradingFirmware)
        upgradeOtherSideAfterConnectingAgain();
}

void ZelFirmwareUpgradeManager::_accessoryDidDisconnect(const Notification& notification)
{
    const EAAccessoryPtr gone = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    // An engine bound to a location hears nothing of other attachments.
    if (!m_location.isEmpty() && (!gone || gone->location() != m_location))
        return;
    const quint64 goneID = gone ? gone->connectionID() : 0;
    const QVariantMap info { { ZelConnectionIDKey, goneID } };
    m_returnCandidates.removeIf([goneID](const ReturnCandidate& c) { return c.accessory->connectionID() == goneID; });
    const quint64 runConnection = m_accessory ? m_accessory->connectionID() : m_runConnection;
    if (m_runActive && runConnection != goneID) {
        // Another accessory left: the run and its flags are not its business.
        NotificationCenter::defaultCenter().postNotification(
            ZelGamepadDisconnectByUpgradingFirmwareNotification, m_isGamepadDisconnectByUpgradingFirmware, info);
        return;
    }
    const bool expected = m_isGamepadDisconnectByUpgradingFirmware;
    if (m_isGamepadDisconnectByUpgradingFirmware) {
        NotificationCenter::defaultCenter().postNotification(
            ZelGamepadDisconnectByUpgradingFirmwareNotification, true, info);
    } else {
        if (m_isUpgradingFirmware) {
            m_transfer.reset(); // the transfer is abandoned where it stood
            stopWatchdog();
            // So is a download: it must not unpack, nor flash the next controller.
            abortDownload();
        }
        m_isUpgradingFirmware = false;
        m_awaitingReconnect = false;
        NotificationCenter::defaultCenter().postNotification(
            ZelGamepadDisconnectByUpgradingFirmwareNotification, false, info);
    }
    if (m_accessory && gone && m_accessory->connectionID() == gone->connectionID()) {
        m_accessory.reset();
        (*m_session).closeSession();
        // Whoever is attached next, perhaps another controller, is checked
        // against its own versions, not against these. A restart the run
        // expects keeps them: the run asks who came back before going on.
        if (!expected)
            m_bootVersion = m_leftVersion = m_rightVersion = QString();
        if (m_identifying) {
            stopIdentifying();
            tryNextReturnCandidate(); // the controller being asked left before it answered
        }
    }
    if (auto hook = m_runHooks.disconnected; hook)
        hook(goneID, expected);
}
