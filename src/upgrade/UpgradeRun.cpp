#include "upgrade/UpgradeRun.h"

#include "accessory/EADSessionController.h"
#include "firmware/FirmwareVersion.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

UpgradeRun* g_current = nullptr;

ZelFirmwareUpgradeManager& engine()
{
    return ZelFirmwareUpgradeManager::sharedInstance();
}

} // namespace

UpgradeReason UpgradeRun::checkFailureReason(ZelFirmwareCheckResult result)
{
    using Code = UpgradeReason::Code;
    switch (result) {
    case ZelFirmwareCheckVersionSame:
        return UpgradeReason(Code::VersionSame);
    case ZelFirmwareCheckNoGamepad:
        return UpgradeReason(Code::NoController);
    case ZelFirmwareCheckGamepadFirmwareDamaged:
        return UpgradeReason(Code::ControllerFirmwareDamaged);
    case ZelFirmwareCheckSelectedFirmwareDamaged:
        return UpgradeReason(Code::ReleaseDamaged);
    case ZelFirmwareCheckNeedUpgrade:
        break;
    }
    return UpgradeReason();
}

QString UpgradeRun::checkFailure(ZelFirmwareCheckResult result)
{
    return checkFailureReason(result).text();
}

UpgradeRun::UpgradeRun(QObject* parent)
    : QObject(parent)
{
}

UpgradeRun::~UpgradeRun()
{
    if (m_running)
        cancel();
}

UpgradeRun* UpgradeRun::current()
{
    return g_current;
}

QString UpgradeRun::phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Idle:
        return QStringLiteral("idle");
    case Phase::Download:
        return QStringLiteral("download");
    case Phase::DigestCheck:
        return QStringLiteral("digest");
    case Phase::Unpack:
        return QStringLiteral("unpack");
    case Phase::BootLoader:
        return QStringLiteral("boot");
    case Phase::Left:
        return QStringLiteral("left");
    case Phase::Right:
        return QStringLiteral("right");
    case Phase::WaitingForRestart:
        return QStringLiteral("restart");
    case Phase::ReadingVersions:
        return QStringLiteral("versions");
    }
    return QString();
}

QString UpgradeRun::outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Completed:
        return QStringLiteral("completed");
    case Outcome::Failed:
        return QStringLiteral("failed");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    case Outcome::None:
        break;
    }
    return QString();
}

QString UpgradeRun::sourceName(Source source)
{
    switch (source) {
    case Source::Local:
        return QStringLiteral("local");
    case Source::Online:
        return QStringLiteral("online");
    case Source::Files:
        return QStringLiteral("files");
    }
    return QString();
}

bool UpgradeRun::begin()
{
    ZelFirmwareUpgradeManager& e = engine();
    m_started = true;
    m_running = true;
    m_startedAt = QDateTime::currentDateTimeUtc();
    m_clock.start();
    // The engine learns of an accessory from its connection notification; a
    // session configured just before may not have reached it yet.
    const EAAccessoryPtr accessory = e.accessory ? e.accessory : EADSessionController::sharedController().accessory();
    m_connection = accessory ? accessory->connectionID() : 0;
    // Who the controller is, if the versions the engine holds are this
    // connection's; otherwise the run asks before it sends anything.
    if (m_connection != 0 && e.identifiedConnection() == m_connection) {
        m_controller = e.macAddressWithoutColon();
        if (!e.bootVersion.isEmpty() && !e.leftVersion.isEmpty() && !e.rightVersion.isEmpty())
            m_before = QStringLiteral("%1-%2-%3").arg(e.bootVersion, e.leftVersion, e.rightVersion);
    }
    // One run at a time: a second one would interleave two transfers on the
    // controller's flash, and take the other's reply handler.
    if ((g_current && g_current != this) || e.isUpgradingFirmware) {
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::AlreadyRunning));
        return false;
    }
    if (!accessory) {
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::NoController));
        return false;
    }
    g_current = this;
    installHooks();
    e.beginRun(m_controller, m_connection);
    return true;
}

void UpgradeRun::identifyThen(std::function<void()> next)
{
    if (!m_controller.isEmpty()) {
        next();
        return;
    }
    m_deadline = Timer::scheduledTimer(ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace, false, [this] {
        if (m_running && m_controller.isEmpty())
            finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::ControllerNotIdentified));
    });
    engine().readBackVersions([this, next](const QString& versions) {
        ZelFirmwareUpgradeManager& e = engine();
        if (!m_running || !m_controller.isEmpty() || e.identifiedConnection() != m_connection)
            return;
        m_deadline->invalidate();
        m_deadline.reset();
        m_controller = e.macAddressWithoutColon();
        m_before = versions;
        e.beginRun(m_controller, m_connection);
        next();
    });
}

void UpgradeRun::installHooks()
{
    ZelFirmwareUpgradeManager& e = engine();
    e.holdVersionQueries();
    m_previousProgress = e.upgradeProgressBlock;
    m_previousDownloadProgress = e.downloadProgressBlock;
    e.upgradeProgressBlock = [this](double percent) { showProgress(percent); };
    e.downloadProgressBlock = [this](qint64 received, qint64 total) { emit downloadProgress(received, total); };
    ZelFirmwareUpgradeManager::RunHooks hooks;
    hooks.phase = [this](ZelUpgradePhase phase) {
        switch (phase) {
        case ZelUpgradePhase::Download:
            return setPhase(Phase::Download);
        case ZelUpgradePhase::DigestCheck:
            return setPhase(Phase::DigestCheck);
        case ZelUpgradePhase::Unpack:
            return setPhase(Phase::Unpack);
        case ZelUpgradePhase::BootLoader:
            return setPhase(Phase::BootLoader);
        case ZelUpgradePhase::Left:
            return setPhase(Phase::Left);
        case ZelUpgradePhase::Right:
            return setPhase(Phase::Right);
        case ZelUpgradePhase::WaitingForRestart:
            return setPhase(Phase::WaitingForRestart);
        }
    };
    hooks.failed = [this](const UpgradeReason& reason) {
        m_reasonShown = m_running;
        finish(Outcome::Failed, reason);
    };
    hooks.cancelled = [this] { finish(Outcome::Cancelled, UpgradeReason(UpgradeReason::Code::Cancelled)); };
    hooks.endAcknowledged = [this](unsigned side) { imageAcknowledged(side); };
    hooks.disconnected = [this](quint64 connection, bool expected) { controllerGone(connection, expected); };
    hooks.returned = [this](quint64 connection, const QString& versions) { controllerReturned(connection, versions); };
    e.runHooks = hooks;
}

bool UpgradeRun::start(const ZelFirmware& release)
{
    if (m_started)
        return false;
    m_release = release;
    m_source = release.isOnline() ? Source::Online : Source::Local;
    if (!begin())
        return false;
    identifyThen([this] { startRelease(); });
    return m_running || m_outcome == Outcome::Completed;
}

void UpgradeRun::startRelease()
{
    ZelFirmwareUpgradeManager& e = engine();
    const ZelFirmware& release = m_release;
    e.setSelectedFirmware(&release);
    const ZelFirmwareCheckResult check = e.checkFirmware();
    if (check != ZelFirmwareCheckNeedUpgrade) {
        finish(Outcome::Failed, checkFailureReason(check));
        return;
    }
    m_needBoot = e.bootNeedUpgrade;
    m_needLeft = e.leftNeedUpgrade;
    m_needRight = e.rightNeedUpgrade;
    e.startUpgrade();
}

bool UpgradeRun::startFiles(const QString& boot, const QString& left, const QString& right)
{
    if (m_started)
        return false;
    m_source = Source::Files;
    if (!begin())
        return false;
    identifyThen([this, boot, left, right] { startImages(boot, left, right); });
    return m_running;
}

void UpgradeRun::startImages(const QString& boot, const QString& left, const QString& right)
{
    m_needBoot = !boot.isEmpty();
    m_needLeft = !left.isEmpty();
    m_needRight = !right.isEmpty();
    if (!engine().sendFiles(boot, left, right))
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::ImageInvalid));
}

void UpgradeRun::cancel()
{
    if (m_running)
        finish(Outcome::Cancelled, UpgradeReason(UpgradeReason::Code::Cancelled));
}

void UpgradeRun::setPhase(Phase phase)
{
    if (!m_running || phase == m_phase)
        return;
    m_phase = phase;
    emit phaseChanged(phase);
}

void UpgradeRun::showProgress(double percent)
{
    // The engine's figure reaches 100 on the right side's end acknowledgement,
    // before the versions confirm the run, and starts each image again from
    // its own share; what is shown only grows and waits for completion.
    const double shown = std::min(percent, kProgressCeiling);
    if (!m_running || !(shown > m_progress))
        return;
    m_progress = shown;
    emit progressChanged(m_progress);
}

void UpgradeRun::imageAcknowledged(unsigned side)
{
    if (!m_running)
        return;
    ZelFirmwareUpgradeManager& e = engine();
    const bool boot = side == 2 && e.currentImage() == UpgradePlan::Image::BootLoader;
    m_lastImage = side == 1 ? Phase::Right : boot ? Phase::BootLoader : Phase::Left;
    const QString path = side == 1 ? e.rightFilePath : boot ? e.bootFilePath : e.leftFilePath;
    m_bytes += QFileInfo(path).size();
    if (!e.planCompleted())
        return; // the engine goes on with the next image after the restart
    if (side == 1) {
        readVersions(); // the right side does not restart
        return;
    }
    setPhase(Phase::WaitingForRestart);
    m_awaitingReturnFrom = m_connection;
    m_deadline = Timer::scheduledTimer(e.restartWaitLimit, false, [this] {
        if (m_running && m_awaitingReturnFrom)
            finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::DidNotReturn));
    });
}

void UpgradeRun::controllerGone(quint64 connection, bool expected)
{
    // Only the run's own controller ends it; the engine does not report
    // other accessories' departures during a run.
    if (!m_running || expected || connection != m_connection)
        return;
    const bool downloading = m_phase == Phase::Download || m_phase == Phase::Idle;
    finish(downloading ? Outcome::Cancelled : Outcome::Failed, UpgradeReason(UpgradeReason::Code::Disconnected));
}

void UpgradeRun::controllerReturned(quint64 connection, const QString& versions)
{
    if (!m_running)
        return;
    m_connection = connection;
    if (m_awaitingReturnFrom) {
        // Back after the last image: what it reported on return is the read-back.
        m_awaitingReturnFrom.reset();
        setPhase(Phase::ReadingVersions);
        versionsRead(versions);
        return;
    }
    // Back between two images: the side just written must now report the
    // release's version, or the image was not taken and the rest is not sent.
    if (m_source == Source::Files)
        return;
    const std::optional<ReleaseVersion> read = ReleaseVersion::parse(versions);
    const std::optional<ReleaseVersion> wanted = ReleaseVersion::parse(m_release.version);
    const bool taken = read && wanted
        && (m_lastImage == Phase::BootLoader ? read->boot == wanted->boot : read->left == wanted->left);
    if (!taken) {
        m_after = versions;
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::VersionsMismatch, {versions, m_release.version}));
    }
}

void UpgradeRun::readVersions()
{
    setPhase(Phase::ReadingVersions);
    m_deadline = Timer::scheduledTimer(ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace, false, [this] {
        if (m_running && m_phase == Phase::ReadingVersions)
            finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::VersionsNotRead));
    });
    engine().readBackVersions([this](const QString& versions) { versionsRead(versions); });
}

void UpgradeRun::versionsRead(const QString& versions)
{
    if (!m_running || m_phase != Phase::ReadingVersions)
        return;
    m_after = versions;
    if (!m_controller.isEmpty() && engine().macAddressWithoutColon() != m_controller) {
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::DifferentControllerReturned));
        return;
    }
    if (m_source != Source::Files && !ReleaseVersion::same(versions, m_release.version)) {
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::VersionsMismatch, {versions, m_release.version}));
        return;
    }
    finish(Outcome::Completed, UpgradeReason());
}

void UpgradeRun::finish(Outcome outcome, const UpgradeReason& reason)
{
    if (!m_running)
        return;
    m_running = false;
    m_outcome = outcome;
    m_reason = reason;
    m_awaitingReturnFrom.reset();
    if (m_deadline)
        m_deadline->invalidate();
    m_deadline.reset();
    ZelFirmwareUpgradeManager& e = engine();
    const bool ownsEngine = g_current == this;
    if (ownsEngine) {
        // Nothing of this run may be sent or unpacked after its outcome.
        if (outcome != Outcome::Completed)
            e.cancelRun();
        e.endRun();
        e.runHooks = ZelFirmwareUpgradeManager::RunHooks();
        e.upgradeProgressBlock = m_previousProgress;
        e.downloadProgressBlock = m_previousDownloadProgress;
        g_current = nullptr;
    }
    if (outcome == Outcome::Completed) {
        m_progress = 100.0;
        emit progressChanged(m_progress);
    }
    UpgradeRecord record;
    record.started = m_startedAt;
    record.controller = m_controller;
    record.before = m_before;
    record.release = m_source == Source::Files ? QStringLiteral("files") : m_release.version;
    record.source = sourceName(m_source);
    record.outcome = outcomeName(outcome);
    record.code = reason.name();
    record.arguments = reason.arguments();
    record.reason = reason.text();
    record.after = m_after;
    record.seconds = double(m_clock.elapsed()) / 1000.0;
    record.bytes = m_bytes;
    (m_history ? *m_history : UpgradeHistory()).append(record);
    // Queries that waited are answered from the read-back, or asked now.
    if (ownsEngine)
        e.releaseVersionQueries(m_after);
    emit finished(outcome);
}
