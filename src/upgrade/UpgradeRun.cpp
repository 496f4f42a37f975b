#include "upgrade/UpgradeRun.h"

#include "accessory/EADSessionController.h"
#include "firmware/DownloadStore.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

UpgradePlan::Image imageOf(UpgradeRun::Phase phase)
{
    return phase == UpgradeRun::Phase::BootLoader ? UpgradePlan::Image::BootLoader
        : phase == UpgradeRun::Phase::Left        ? UpgradePlan::Image::Left
                                                  : UpgradePlan::Image::Right;
}

double seconds(const QElapsedTimer& clock)
{
    return clock.isValid() ? double(clock.nsecsElapsed()) / 1e9 : 0.0;
}

UpgradePlan::Paths pathsIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    return { dir.filePath(ZelFirmwareUpgradeManager::kBootFileName),
        dir.filePath(ZelFirmwareUpgradeManager::kLeftFileName),
        dir.filePath(ZelFirmwareUpgradeManager::kRightFileName) };
}

} // namespace

ZelFirmwareUpgradeManager& UpgradeRun::engine() const
{
    return m_engine;
}

bool UpgradeRun::downloadsFirst(const ZelFirmware& release)
{
    if (!release.isOnline())
        return false;
    // A release downloaded before is used again unless a key is trusted.
    if (ReleaseSignature::hasTrustedKeys())
        return true;
    return DownloadStore::in(DocumentStore::current()).folderForVersion(release.version).isNull();
}

UpgradePlan UpgradeRun::planFor(const ZelFirmware& release, const ZelFirmwareUpgradeManager& e)
{
    const UpgradePlan::Need need { e.bootNeedUpgrade(), e.leftNeedUpgrade(), e.rightNeedUpgrade() };
    QString folder;
    if (!release.isOnline()) {
        folder = release.path;
    } else if (!downloadsFirst(release)) {
        const DocumentStore documents = DocumentStore::current();
        folder = documents.remoteProductFolder() + QLatin1Char('/')
            + DownloadStore::in(documents).folderForVersion(release.version);
    }
    return UpgradePlan::make(need, pathsIn(folder));
}

bool UpgradeRun::canCancel() const
{
    if (!m_running || m_cancelPending)
        return false;
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Download:
    case Phase::DigestCheck:
    case Phase::Unpack:
    case Phase::WaitingForRestart:
        return true;
    case Phase::BootLoader:
    case Phase::Left:
    case Phase::Right:
    case Phase::ReadingVersions:
        break;
    }
    return false;
}

bool UpgradeRun::requestCancel()
{
    if (!m_running)
        return false;
    if (canCancel()) {
        finish(Outcome::Cancelled,
            UpgradeReason(m_phase == Phase::WaitingForRestart ? UpgradeReason::Code::RestartWaitStopped
                                                              : UpgradeReason::Code::Cancelled));
        return true;
    }
    // The image goes on to its end; imageAcknowledged ends the run then.
    m_cancelPending = true;
    // Still not cancellable, but the pending cancel is worth saying.
    m_cancellable = false;
    emit cancellableChanged(false);
    return false;
}

void UpgradeRun::emitCancellable()
{
    const bool now = canCancel();
    if (now == m_cancellable)
        return;
    m_cancellable = now;
    emit cancellableChanged(now);
}

void UpgradeRun::buildTimeline(const UpgradePlan& plan, bool download)
{
    m_timeline = UpgradeTimeline::make(plan, download, engine().replySeconds());
    m_estimate = m_timeline.estimatedSeconds();
}

void UpgradeRun::enterStep(Phase phase)
{
    using Kind = UpgradeTimeline::Kind;
    m_stepClock.start();
    switch (phase) {
    case Phase::Download:
        m_timeline.enter(Kind::Download);
        return;
    case Phase::DigestCheck:
        m_timeline.enter(Kind::DigestCheck);
        return;
    case Phase::Unpack:
        m_timeline.enter(Kind::Unpack);
        return;
    case Phase::BootLoader:
    case Phase::Left:
    case Phase::Right: {
        // Unpacked by now: the images' sizes are known.
        const ZelFirmwareUpgradeManager& e = engine();
        m_timeline.setPlan(UpgradePlan::make(
            { m_needBoot, m_needLeft, m_needRight }, { e.bootFilePath(), e.leftFilePath(), e.rightFilePath() }));
        const UpgradePlan::Image image = imageOf(phase);
        m_timeline.enter(Kind::Image, image);
        m_imageFromPercent = TransferState::progressPercent(image, 0.0, m_needBoot, m_needLeft, m_needRight);
        m_imageToPercent = TransferState::progressPercent(image, 1.0, m_needBoot, m_needLeft, m_needRight);
        return;
    }
    case Phase::WaitingForRestart:
        m_restartClock.start();
        m_timeline.enter(Kind::Restart, m_lastImage.value_or(UpgradePlan::Image::Right));
        return;
    case Phase::ReadingVersions:
        m_timeline.enter(Kind::ReadBack);
        return;
    case Phase::Idle:
        return;
    }
}

double UpgradeRun::stepFraction() const
{
    switch (m_phase) {
    case Phase::Download:
        // The download's own pace is its measure: the time left follows the
        // rate it keeps, whatever it was foretold.
        return m_downloadTotal > 0 ? std::clamp(double(m_downloadReceived) / double(m_downloadTotal), 0.0, 1.0) : -1.0;
    case Phase::BootLoader:
    case Phase::Left:
    case Phase::Right: {
        const double span = m_imageToPercent - m_imageFromPercent;
        return span > 0 ? std::clamp((m_enginePercent - m_imageFromPercent) / span, 0.0, 1.0) : 0.0;
    }
    default:
        return -1.0;
    }
}

double UpgradeRun::secondsLeft() const
{
    if (!m_running)
        return 0.0;
    return m_timeline.secondsLeft(seconds(m_stepClock), stepFraction());
}

double UpgradeRun::restartSecondsLeft() const
{
    if (!m_running || m_phase != Phase::WaitingForRestart)
        return 0.0;
    const double secondMs = std::max(1, MainQueue::scaledMilliseconds(1.0));
    const double waited = double(m_restartClock.elapsed()) / secondMs;
    return std::max(0.0, engine().settings().restartWait - waited);
}

bool UpgradeRun::restartOverdue() const
{
    if (!m_running || m_phase != Phase::WaitingForRestart)
        return false;
    const double secondMs = std::max(1, MainQueue::scaledMilliseconds(1.0));
    return double(m_restartClock.elapsed()) / secondMs > m_timeline.restartSeconds() + kRestartGrace;
}

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

UpgradeRun::UpgradeRun(ZelFirmwareUpgradeManager& engine, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
{
}

UpgradeRun::~UpgradeRun()
{
    if (m_running)
        cancel();
}

UpgradeRun* UpgradeRun::current()
{
    const ZelFirmwareUpgradeManager* shared = ZelFirmwareUpgradeManager::existingInstance();
    return shared ? shared->currentRun() : nullptr;
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

QString UpgradeRun::phaseText(Phase phase)
{
    switch (phase) {
    case Phase::Idle:
        break;
    case Phase::Download:
        return localized("PhaseDownload");
    case Phase::DigestCheck:
        return localized("PhaseDigestCheck");
    case Phase::Unpack:
        return localized("PhaseUnpack");
    case Phase::BootLoader:
        return localized("PhaseBootLoader");
    case Phase::Left:
        return localized("PhaseLeft");
    case Phase::Right:
        return localized("PhaseRight");
    case Phase::WaitingForRestart:
        return localized("PhaseRestart");
    case Phase::ReadingVersions:
        return localized("PhaseVersions");
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
    const EAAccessoryPtr accessory = e.accessory() ? e.accessory() : e.sessionController().accessory();
    m_connection = accessory ? accessory->connectionID() : 0;
    // Who the controller is, if the versions the engine holds are this
    // connection's; otherwise the run asks before it sends anything.
    if (m_connection != 0 && e.identifiedConnection() == m_connection) {
        m_controller = e.macAddressWithoutColon();
        if (!e.bootVersion().isEmpty() && !e.leftVersion().isEmpty() && !e.rightVersion().isEmpty())
            m_before = e.versionsText();
    }
    // One run at a time: a second one would interleave two transfers on the
    // controller's flash, and take the other's reply handler.
    if ((e.currentRun() && e.currentRun() != this) || e.isUpgradingFirmware()) {
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::AlreadyRunning));
        return false;
    }
    if (!accessory) {
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::NoController));
        return false;
    }
    // A suspend in the middle of an image would leave a side half-written.
    m_sleepInhibitor.hold(QCoreApplication::applicationName(), localized("SleepInhibitReason"));
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
    ZelFirmwareUpgradeManager::RunHooks hooks;
    hooks.progress = [this](double percent) { showProgress(percent); };
    hooks.downloadProgress = [this](qint64 received, qint64 total) {
        m_downloadReceived = received;
        m_downloadTotal = total;
        if (total > 0)
            m_timeline.setDownloadSize(total);
        emit downloadProgress(received, total);
    };
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
    hooks.failed = [this](const UpgradeReason& reason) { finish(Outcome::Failed, reason); };
    hooks.cancelled = [this] { finish(Outcome::Cancelled, UpgradeReason(UpgradeReason::Code::Cancelled)); };
    hooks.endAcknowledged = [this](UpgradePlan::Image image) { imageAcknowledged(image); };
    hooks.disconnected = [this](quint64 connection, bool expected) { controllerGone(connection, expected); };
    hooks.returned = [this](quint64 connection, const QString& versions) { controllerReturned(connection, versions); };
    e.attachRun(this, std::move(hooks));
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

bool UpgradeRun::isExpectedController()
{
    if (m_expected.isEmpty() || m_controller == m_expected)
        return true;
    finish(Outcome::Failed,
        UpgradeReason(UpgradeReason::Code::OtherControllerAttached,
            { ZelFirmwareUpgradeManager::addressWithColons(m_controller),
                ZelFirmwareUpgradeManager::addressWithColons(m_expected) }));
    return false;
}

void UpgradeRun::startRelease()
{
    if (!isExpectedController())
        return;
    ZelFirmwareUpgradeManager& e = engine();
    const ZelFirmware& release = m_release;
    e.setSelectedFirmware(&release);
    const ZelFirmwareCheckResult check = e.checkFirmware();
    if (check != ZelFirmwareCheckNeedUpgrade) {
        finish(Outcome::Failed, checkFailureReason(check));
        return;
    }
    m_needBoot = e.bootNeedUpgrade();
    m_needLeft = e.leftNeedUpgrade();
    m_needRight = e.rightNeedUpgrade();
    buildTimeline(planFor(release, e), downloadsFirst(release));
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
    if (!isExpectedController())
        return;
    m_needBoot = !boot.isEmpty();
    m_needLeft = !left.isEmpty();
    m_needRight = !right.isEmpty();
    buildTimeline(UpgradePlan::make({ m_needBoot, m_needLeft, m_needRight }, { boot, left, right }), false);
    if (!engine().sendFiles(boot, left, right))
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::ImageInvalid));
}

void UpgradeRun::cancel()
{
    if (!m_running)
        return;
    // Now, not after a read-back: what the controller holds is then unknown.
    // A read-back under way is not waited for: the outcome decided stands.
    if (m_ending) {
        const auto [outcome, reason] = *m_ending;
        conclude(outcome, reason);
        return;
    }
    conclude(Outcome::Cancelled, UpgradeReason(UpgradeReason::Code::Cancelled));
}

void UpgradeRun::setPhase(Phase phase)
{
    if (!m_running || phase == m_phase)
        return;
    // An image acknowledged between two others: the restart follows the image just written.
    if (phase == Phase::WaitingForRestart
        && (m_phase == Phase::BootLoader || m_phase == Phase::Left || m_phase == Phase::Right))
        m_lastImage = imageOf(m_phase);
    m_phase = phase;
    if ((phase == Phase::BootLoader || phase == Phase::Left || phase == Phase::Right)
        && !m_begun.contains(imageOf(phase)))
        m_begun.append(imageOf(phase));
    enterStep(phase);
    emit phaseChanged(phase);
    emitCancellable();
}

void UpgradeRun::showProgress(double percent)
{
    // The engine's figure reaches 100 on the right side's end acknowledgement,
    // before the versions confirm the run, and starts each image again from
    // its own share; what is shown only grows and waits for completion.
    if (m_running)
        m_enginePercent = percent;
    const double shown = std::min(percent, kProgressCeiling);
    if (!m_running || !(shown > m_progress))
        return;
    // A figure a message moves is said once per tenth of a percent: finer
    // than any screen or line shows it, and without a repaint per message.
    const bool newTenth = std::floor(shown * 10.0) > std::floor(m_progress * 10.0);
    m_progress = shown;
    if (newTenth)
        emit progressChanged(m_progress);
}

void UpgradeRun::imageAcknowledged(UpgradePlan::Image image)
{
    if (!m_running)
        return;
    ZelFirmwareUpgradeManager& e = engine();
    m_lastImage = image;
    m_bytes += QFileInfo(e.filePath(image)).size();
    m_acknowledged.append(image);
    // A cancel asked for while the image was written takes effect now that it is whole.
    if (m_cancelPending) {
        finish(Outcome::Cancelled, UpgradeReason(UpgradeReason::Code::CancelledAfterImage));
        return;
    }
    if (!e.planCompleted())
        return; // the engine goes on with the next image after the restart
    if (image == UpgradePlan::Image::Right) {
        readVersions(); // the right side does not restart
        return;
    }
    setPhase(Phase::WaitingForRestart);
    m_awaitingReturnFrom = m_connection;
    m_deadline = Timer::scheduledTimer(e.settings().restartWait, false, [this] {
        if (m_running && m_awaitingReturnFrom)
            finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::DidNotReturn));
    });
}

void UpgradeRun::controllerGone(quint64 connection, bool expected)
{
    // Only the run's own controller ends it; the engine does not report
    // other accessories' departures during a run.
    if (!m_running || connection != m_connection)
        return;
    // Gone while its versions were being read back: they cannot be.
    if (m_ending) {
        const auto [outcome, reason] = *m_ending;
        conclude(outcome, reason);
        return;
    }
    emit controllerLeft(expected);
    if (expected)
        return;
    const bool downloading = m_phase == Phase::Download || m_phase == Phase::Idle;
    finish(downloading ? Outcome::Cancelled : Outcome::Failed, UpgradeReason(UpgradeReason::Code::Disconnected));
}

void UpgradeRun::controllerReturned(quint64 connection, const QString& versions)
{
    if (!m_running)
        return;
    m_connection = connection;
    m_timeline.measuredRestart(seconds(m_restartClock));
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
        && (m_lastImage == UpgradePlan::Image::BootLoader ? read->boot == wanted->boot : read->left == wanted->left);
    if (!taken) {
        m_after = versions;
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::VersionsMismatch, { versions, m_release.version }));
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
        finish(Outcome::Failed, UpgradeReason(UpgradeReason::Code::VersionsMismatch, { versions, m_release.version }));
        return;
    }
    finish(Outcome::Completed, UpgradeReason());
}

void UpgradeRun::finish(Outcome outcome, const UpgradeReason& reason)
{
    if (!m_running || m_ending)
        return;
    if (outcome == Outcome::Completed || m_begun.isEmpty() || !m_after.isNull()) {
        conclude(outcome, reason);
        return;
    }
    // An image went out: what the controller runs now is asked, as after a
    // completed run, so that the outcome says what was installed.
    m_ending = std::pair { outcome, reason };
    readBackThenConclude();
}

bool UpgradeRun::controllerAnswers() const
{
    const ZelFirmwareUpgradeManager& e = engine();
    return e.accessory() && e.accessory()->connectionID() == m_connection && e.sessionController().session()
        && !e.isGamepadDisconnectByUpgradingFirmware() && e.identifiedConnection() == m_connection
        && e.macAddressWithoutColon() == m_controller;
}

void UpgradeRun::readBackThenConclude()
{
    ZelFirmwareUpgradeManager& e = engine();
    // Nothing more of the images: the transfer ends here, whatever comes back.
    if (e.currentRun() == this)
        e.cancelRun();
    if (e.currentRun() != this || !controllerAnswers()) {
        partialVersionsRead(QString());
        return;
    }
    setPhase(Phase::ReadingVersions);
    if (m_deadline)
        m_deadline->invalidate();
    m_deadline = Timer::scheduledTimer(ZelFirmwareUpgradeManager::kCheckVersionTimeout + kVersionGrace, false,
        [this] { partialVersionsRead(QString()); });
    e.readBackVersions([this](const QString& versions) {
        // Only the run's own controller's answer counts.
        partialVersionsRead(engine().macAddressWithoutColon() == m_controller ? versions : QString());
    });
}

void UpgradeRun::partialVersionsRead(const QString& versions)
{
    if (!m_running || !m_ending)
        return;
    m_after = versions;
    const auto [outcome, reason] = *m_ending;
    conclude(outcome, reason);
}

QString UpgradeRun::imageKey(UpgradePlan::Image image)
{
    switch (image) {
    case UpgradePlan::Image::BootLoader:
        return QStringLiteral("boot");
    case UpgradePlan::Image::Left:
        return QStringLiteral("left");
    case UpgradePlan::Image::Right:
        break;
    }
    return QStringLiteral("right");
}

void UpgradeRun::workOutInstalled(Outcome outcome)
{
    m_installed.clear();
    m_installedKnown = true;
    const QList<UpgradePlan::Image> all { UpgradePlan::Image::BootLoader, UpgradePlan::Image::Left,
        UpgradePlan::Image::Right };
    const bool needs[] = { m_needBoot, m_needLeft, m_needRight };
    if (outcome == Outcome::Completed) {
        for (UpgradePlan::Image image : all)
            if (needs[int(image)])
                m_installed.append(image);
        return;
    }
    if (m_begun.isEmpty())
        return;
    const std::optional<ReleaseVersion> read = ReleaseVersion::parse(m_after);
    if (!read) {
        m_installedKnown = false;
        return;
    }
    // For a release, what the controller reports of it; for files, whose
    // versions are not known beforehand, what it acknowledged, or what it
    // reports as changed since the run began (an end whose answer was lost).
    const std::optional<ReleaseVersion> wanted = ReleaseVersion::parse(m_release.version);
    const std::optional<ReleaseVersion> before = ReleaseVersion::parse(m_before);
    const auto side = [](const ReleaseVersion& v, UpgradePlan::Image image) {
        return image == UpgradePlan::Image::BootLoader ? v.boot : image == UpgradePlan::Image::Left ? v.left : v.right;
    };
    for (UpgradePlan::Image image : std::as_const(m_begun)) {
        const bool confirmed = m_source != Source::Files && wanted
            ? side(*read, image) == side(*wanted, image)
            : m_acknowledged.contains(image) || (before && side(*read, image) != side(*before, image));
        if (confirmed)
            m_installed.append(image);
    }
}

QString UpgradeRun::outcomeText() const
{
    if (m_running || m_outcome == Outcome::None)
        return QString();
    if (m_outcome == Outcome::Completed)
        return m_after.isEmpty() ? localized("UpgradeCompleted") : localized("UpgradeSucceeded").arg(m_after);
    const QString reason = m_reason.text();
    if (m_begun.isEmpty())
        return m_reason.saysNothingWasSent() ? reason
                                             : reason + QLatin1Char(' ') + localized("OutcomeNothingInstalled");
    const std::optional<ReleaseVersion> read = ReleaseVersion::parse(m_after);
    auto names = [&read](const QList<UpgradePlan::Image>& images, bool withVersions) {
        QStringList parts;
        for (UpgradePlan::Image image : images) {
            QString part = UpgradePlan::imageName(image);
            if (withVersions && read)
                part += QLatin1Char(' ')
                    + (image == UpgradePlan::Image::BootLoader  ? read->boot
                            : image == UpgradePlan::Image::Left ? read->left
                                                                : read->right)
                          .text();
            parts << part;
        }
        return parts.join(localized("ListSeparator"));
    };
    if (!m_installedKnown) {
        if (m_acknowledged.isEmpty())
            return reason + QLatin1Char(' ') + localized("OutcomeUnknown");
        return reason + QLatin1Char(' ') + localized("OutcomeWrittenUnknown").arg(names(m_acknowledged, false));
    }
    if (m_installed.isEmpty())
        return reason + QLatin1Char(' ') + localized("OutcomeNothingInstalled");
    QList<UpgradePlan::Image> missing;
    const bool needs[] = { m_needBoot, m_needLeft, m_needRight };
    for (UpgradePlan::Image image :
        { UpgradePlan::Image::BootLoader, UpgradePlan::Image::Left, UpgradePlan::Image::Right })
        if (needs[int(image)] && !m_installed.contains(image))
            missing.append(image);
    QString text = reason + QLatin1Char(' ') + localized("OutcomeInstalled").arg(names(m_installed, true));
    if (!missing.isEmpty())
        text += QLatin1Char(' ') + localized("OutcomeNotInstalled").arg(names(missing, false));
    return text;
}

void UpgradeRun::conclude(Outcome outcome, const UpgradeReason& reason)
{
    if (!m_running)
        return;
    m_running = false;
    m_ending.reset();
    workOutInstalled(outcome);
    m_sleepInhibitor.release();
    m_outcome = outcome;
    m_reason = reason;
    m_awaitingReturnFrom.reset();
    if (m_deadline)
        m_deadline->invalidate();
    m_deadline.reset();
    ZelFirmwareUpgradeManager& e = engine();
    const bool ownsEngine = e.currentRun() == this;
    if (ownsEngine) {
        // Nothing of this run may be sent or unpacked after its outcome.
        if (outcome != Outcome::Completed)
            e.cancelRun();
        e.endRun();
        e.detachRun(this);
    }
    if (outcome == Outcome::Completed) {
        m_timeline.complete();
        m_progress = 100.0;
        emit progressChanged(m_progress);
    }
    m_cancelPending = false;
    emitCancellable();
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
    for (UpgradePlan::Image image : std::as_const(m_installed))
        record.installed.append(imageKey(image));
    record.installedKnown = m_installedKnown;
    record.seconds = double(m_clock.elapsed()) / 1000.0;
    record.bytes = m_bytes;
    const UpgradeHistory history = m_history ? *m_history : UpgradeHistory();
    if (QString reason; !history.append(record, &reason))
        m_historyNotSaved = localized("HistoryNotSaved").arg(history.path(), reason);
    // Queries that waited are answered from the read-back, or asked now.
    if (ownsEngine)
        e.releaseVersionQueries(m_after);
    emit finished(outcome);
}
