#include "cli/StationController.h"

#include "upgrade/ControllerRegistry.h"

#include "cli/ControllerConnector.h"
#include "cli/RunReporter.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/EAAccessoryManager.h"
#include "upgrade/LinkRecorder.h"

#include <cmath>

namespace {
// How long past the engine's own version timer the answer may take.
constexpr double kVersionGrace = 0.25;
} // namespace

StationController::StationController(const QString& deviceText, const DeviceAddress& device,
    const ZelFirmwareUpgradeManager::Settings& settings, bool json, EAAccessoryManager& accessories,
    ControllerRegistry& controllers, QObject* parent)
    : QObject(parent)
    , m_accessories(accessories)
    , m_controllers(controllers)
    , m_deviceText(deviceText)
    , m_device(device)
    , m_settings(settings)
    , m_json(json)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_state == State::Connecting)
            fail(localized("NoControllerAttached")
                     .arg(m_deviceText, m_transport->lastError(), ControllerConnector::secondsText(m_waitSeconds))
                     .trimmed());
    });
}

StationController::~StationController()
{
    // The run ends before its engine.
    m_run.reset();
}

void StationController::connectWithin(double waitSeconds)
{
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
    // Accessories offer the first declared protocol, as the controller does.
    m_transport = m_device.createTransport(m_accessories, protocols.mid(0, 1));
    m_accessories.addTransport(m_transport);
    if (!m_recordPath.isEmpty()) {
        m_recorder = new LinkRecorder(m_accessories, this);
        if (QString error; !m_recorder->open(m_recordPath, m_deviceText, &error, m_transport->description())) {
            fail(localized("RecordFileNotWritten").arg(m_recordPath, error));
            return;
        }
        // The recording ends with this controller's outcome.
        connect(this, &StationController::over, m_recorder, [this] {
            m_recorder->finish(m_state == State::Completed ? 0 : 1,
                m_engine && !m_engine->rightVersion().isEmpty() ? m_engine->versionsText() : QString());
        });
    }
    connect(&m_controllers, &ControllerRegistry::controllerAttached, this,
        [this](const ControllerRegistry::ControllerPtr& controller) {
            if (m_state == State::Connecting && !m_engine && controller->location() == m_transport->description())
                attached();
        });
    m_transport->start();
    // Real seconds, as given: the time scale shortens the engine's timers,
    // not how long a transport may take to reach the controller.
    m_waitSeconds = waitSeconds;
    m_deadline.start(MainQueue::realMilliseconds(waitSeconds));
}

void StationController::attached()
{
    m_deadline.stop();
    // The engine follows the accessory attached at its location from now on,
    // also when the controller comes back from a restart.
    m_engine = std::make_unique<ZelFirmwareUpgradeManager>(m_controllers, m_transport->description());
    m_engine->setSettings(m_settings);
    if (m_recorder)
        m_engine->setLinkTap(m_recorder->tap());
    m_run = std::make_unique<UpgradeRun>(*m_engine);
    if (m_json) {
        m_reporter = new RunReporter(
            m_run.get(), true, [this](const UpgradeRun&) { runFinished(); }, this);
        m_reporter->setDevice(m_deviceText);
    } else {
        connect(m_run.get(), &UpgradeRun::finished, this, &StationController::runFinished);
    }
    // After the run's own event lines: what the station does upon a change
    // (another controller's start, say) comes after them.
    connect(m_run.get(), &UpgradeRun::phaseChanged, this, &StationController::changed);
    connect(m_run.get(), &UpgradeRun::progressChanged, this, &StationController::changed);
    if (m_begun)
        begin();
}

void StationController::begin()
{
    m_begun = true;
    if (!m_engine || m_state != State::Connecting)
        return;
    if (m_job.upgrade) {
        readVersions();
        return;
    }
    startRun();
}

void StationController::readVersions()
{
    setState(State::Reading);
    // The choice compares the release with what this controller holds now.
    m_engine->probeVersions([this](const QString& versions) {
        if (!std::exchange(m_versionsRead, true))
            versionsRead(versions);
    });
    MainQueue::dispatchAfter(
        ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace,
        [this] {
            if (!std::exchange(m_versionsRead, true))
                fail(localized("UnplugDevicePrompt"));
        },
        this);
}

void StationController::versionsRead(const QString& versions)
{
    QString message;
    switch (UpgradeCommand::choose(*m_engine, m_job.release, versions, m_job.source, m_job.allowOlder, &message)) {
    case UpgradeCommand::Choice::Install:
        break;
    case UpgradeCommand::Choice::NothingNewer:
    case UpgradeCommand::Choice::AlreadyThere:
        // Nothing to send: as the upgrade command, a success.
        m_note = message;
        setState(State::Completed);
        emit over();
        return;
    case UpgradeCommand::Choice::Refused:
        fail(message);
        return;
    }
    setState(State::Waiting);
    if (!mayStart || mayStart(this))
        proceed();
}

bool StationController::downloadsFirst() const
{
    return m_job.upgrade && UpgradeRun::downloadsFirst(m_job.release);
}

void StationController::proceed()
{
    if (m_state == State::Waiting || m_state == State::Connecting)
        startRun();
}

void StationController::startRun()
{
    setState(State::Running);
    if (m_job.upgrade)
        m_run->start(m_job.release);
    else
        m_run->startFiles(m_job.boot, m_job.left, m_job.right);
}

void StationController::runFinished()
{
    if (isOver())
        return;
    if (m_run->outcome() == UpgradeRun::Outcome::Completed) {
        setState(State::Completed);
    } else {
        m_failure = m_run->outcomeText();
        m_failureCode = m_run->reasonCode();
        setState(State::Failed);
    }
    emit over();
}

bool StationController::cancel()
{
    if (isOver())
        return true;
    if (m_state == State::Running && m_run && m_run->isRunning())
        return m_run->requestCancel();
    m_failureCode = UpgradeReason::Code::Cancelled;
    fail(UpgradeReason(UpgradeReason::Code::Cancelled).text());
    return true;
}

void StationController::fail(const QString& why)
{
    if (isOver())
        return;
    m_deadline.stop();
    m_failure = why;
    setState(State::Failed);
    emit over();
}

void StationController::setState(State state)
{
    m_state = state;
    emit changed();
}

QString StationController::statusText(bool withProgress) const
{
    switch (m_state) {
    case State::Connecting:
        return localized("StationConnecting");
    case State::Reading:
        return localized("PhaseVersions");
    case State::Waiting:
        return localized("StationWaitingForDownload");
    case State::Running:
        break;
    case State::Completed:
        if (!m_note.isEmpty())
            return m_note;
        return localized("StationCompleted").arg(m_run->versionsAfter());
    case State::Failed:
        return localized("StationFailed").arg(m_failure);
    }
    using Phase = UpgradeRun::Phase;
    const char* key = "StationConnecting";
    switch (m_run->phase()) {
    case Phase::Idle:
        key = "PhaseVersions"; // who the controller is, before anything is sent
        break;
    case Phase::Download:
        key = "PhaseDownload";
        break;
    case Phase::DigestCheck:
        key = "PhaseDigestCheck";
        break;
    case Phase::Unpack:
        key = "PhaseUnpack";
        break;
    case Phase::BootLoader:
        key = "PhaseBootLoader";
        break;
    case Phase::Left:
        key = "PhaseLeft";
        break;
    case Phase::Right:
        key = "PhaseRight";
        break;
    case Phase::WaitingForRestart:
        key = "PhaseRestart";
        break;
    case Phase::ReadingVersions:
        key = "PhaseVersions";
        break;
    }
    if (!withProgress)
        return localized(key);
    return localized("StationRunning").arg(localized(key)).arg(int(std::floor(m_run->progress())));
}
