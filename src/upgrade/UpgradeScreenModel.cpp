#include "upgrade/UpgradeScreenModel.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/LatestReleaseText.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/transport/EAAccessoryManager.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeTimeline.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// "Caption:" from two texts of the tables; the colon is localised too.
QString caption(const char* key)
{
    return localized(key) + localized(":");
}

// The marks before a step: done, under way, to come; a mark never leaves
// its step at a line's end.
const QString kDoneMark = QStringLiteral("\u2713\u00A0");
const QString kUnderWayMark = QStringLiteral("\u25B6\u00A0");
const QString kToComeMark = QStringLiteral("\u25CB\u00A0");
// An image that went out but that the controller does not hold, or whose
// fate the failed read-back leaves open.
const QString kNotInstalledMark = QStringLiteral("\u2717\u00A0");
const QString kUnknownMark = QStringLiteral("?\u00A0");
// The plan and the steps are lists, an item a line; the images to send stand
// under their caption.
const QString kItemSeparator = QStringLiteral("\n");
const QString kPlanItemMark = QStringLiteral("\u2022\u00A0");

// A value and its unit stay on one line.
QString unbroken(QString text)
{
    return text.replace(QLatin1Char(' '), QChar(0x00A0));
}

QString imageName(UpgradePlan::Image image)
{
    return UpgradePlan::imageName(image);
}

QString sizeText(qint64 bytes)
{
    return bytes < 0 ? localized("SizeAfterDownload") : unbroken(QLocale().formattedDataSize(bytes));
}

// Whole seconds, or minutes and seconds from a minute on; never below one second.
QString durationText(double seconds)
{
    const int whole = std::max(1, int(std::ceil(seconds)));
    if (whole < 60)
        return unbroken(localized("DurationSeconds").arg(whole));
    return unbroken(localized("DurationMinutes").arg(whole / 60).arg(whole % 60));
}

QString percentText(double percent)
{
    return localized("Upgrading...") + QString::number(percent, 'f', 2) + QLatin1Char('%');
}

} // namespace

UpgradeScreenModel::UpgradeScreenModel(
    ZelFirmwareUpgradeManager& engine, ZelFirmwareDataTool& catalogue, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_catalogue(catalogue)
{
    // The screen always names the controller it would write to.
    for (const QString& name : { EAAccessoryDidConnectNotification, EAAccessoryDidDisconnectNotification })
        NotificationCenter::defaultCenter().addObserver(this, name, [this](const Notification&) {
            // After the engine has taken the change in.
            MainQueue::dispatchAsync([this] { controllerChanged(); }, this);
        });
    setState(State::Choosing);
}

UpgradeScreenModel::~UpgradeScreenModel()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    stopTicker();
    if (m_run) {
        disconnect(m_run, nullptr, this, nullptr);
        delete m_run;
    }
}

QString UpgradeScreenModel::stateName(State state)
{
    switch (state) {
    case State::Choosing:
        return QStringLiteral("choosing");
    case State::Ready:
        return QStringLiteral("ready");
    case State::Running:
        return QStringLiteral("running");
    case State::Completed:
        return QStringLiteral("completed");
    case State::Failed:
        return QStringLiteral("failed");
    case State::Cancelled:
        return QStringLiteral("cancelled");
    }
    return QString();
}

bool UpgradeScreenModel::offersUpgrade() const
{
    // Every outcome that is not a success offers to try again, the stopped
    // wait for a restart too: the press says what stands in the way.
    const bool canRetry = (m_state == State::Failed || m_state == State::Cancelled) && m_selected;
    return m_state == State::Ready || canRetry;
}

bool UpgradeScreenModel::canClose() const
{
    return !isRunning() && !m_engine.isUpgradingFirmware();
}

void UpgradeScreenModel::screenShown()
{
    m_shown = true;
    // A run under way keeps its screen: a new choice would cancel its download.
    if (isRunning())
        return;
    // An empty choice clears an earlier pick, so the screen starts over.
    const ZelFirmware none;
    m_engine.setSelectedFirmware(&none);
    m_selected.reset();
    startOver();
    refreshVersions();
}

void UpgradeScreenModel::refreshVersions()
{
    // While the controller restarts during a run there is nobody to ask.
    if (m_engine.isGamepadDisconnectByUpgradingFirmware() || !shown())
        return;
    m_engine.checkCurrentVersion([model = QPointer<UpgradeScreenModel>(this)](const QString& version) {
        if (!model)
            return;
        model->m_currentVersion = version;
        model->m_controller = model->m_engine.controllerIdentityText();
        emit model->changed();
        model->m_catalogue.getRemoteFirmwares(
            [model, version](const QList<ZelFirmware>& firmwares, const QString& error) {
                if (model)
                    model->showLatest(firmwares, error, version);
            });
    });
}

void UpgradeScreenModel::showLatest(
    const QList<ZelFirmware>& firmwares, const QString& error, const QString& currentVersion)
{
    const LatestReleaseText latest = LatestReleaseText::make(firmwares, error, m_catalogue.refusal);
    m_latest = latest.value;
    m_listRetry = latest.retry;
    m_listRetryEnabled = true;
    if (!latest.offered) {
        // No release offered: a refused list, or a server that could not be
        // reached, says why in the notes' place, until a release is picked.
        if (m_state == State::Choosing) {
            // A reason is no release's notes: it goes without their caption.
            m_detail = latest.reason;
            m_detailCaptionShown = false;
            m_detailShown = !latest.reason.isEmpty();
        }
        // An empty answer, or none, leaves the dot as an earlier answer set it.
        if (!m_catalogue.refusal.isEmpty() || !firmwares.isEmpty())
            m_newer = false;
    } else {
        // The notes shown are the newest release's until one is picked, and
        // give way to a run's steps.
        if (m_state == State::Choosing) {
            m_detail = latest.offered->updateInfo;
            m_detailCaptionShown = true;
            m_detailShown = true;
        }
        m_newer = !ReleaseVersion::same(latest.offered->version, currentVersion);
    }
    emit changed();
    emit latestShown();
}

void UpgradeScreenModel::controllerChanged()
{
    // During a run the run's own controller comes and goes with its restarts.
    if (isRunning() || !shown())
        return;
    if (!m_engine.accessory()) {
        m_controller = localized("ControllerNotAttached");
        m_currentVersion.clear();
        emit changed();
        return;
    }
    refreshVersions();
}

void UpgradeScreenModel::retryList()
{
    // Disabled, not hidden, until the answer: the keyboard's focus stays on it.
    m_listRetryEnabled = false;
    emit changed();
    refreshVersions();
}

QString UpgradeScreenModel::currentVersions() const
{
    return m_engine.followedVersionsText();
}

bool UpgradeScreenModel::selectionIsOlder() const
{
    if (!m_selected)
        return false;
    const std::optional<ReleaseVersion> release = ReleaseVersion::parse(m_selected->version);
    const std::optional<ReleaseVersion> controller = ReleaseVersion::parse(currentVersions());
    return release && controller && release->anyOlderThan(*controller);
}

void UpgradeScreenModel::select(const std::optional<ZelFirmware>& release)
{
    // A pick still on its way must not replace the release being installed.
    if (isRunning())
        return;
    m_selected = release;
    m_engine.setSelectedFirmware(release ? &*release : nullptr);
    m_selectedText = localized("SelectedFirmware") + localized(":") + (release ? release->version : QString());
    checkSelection();
}

void UpgradeScreenModel::checkSelection()
{
    switch (m_engine.checkFirmware()) {
    case ZelFirmwareCheckNeedUpgrade:
        setState(m_selected ? State::Ready : State::Choosing);
        break;
    case ZelFirmwareCheckVersionSame:
        setState(State::Choosing);
        MessageToast::showMsgWithtext(localized("FirmwareVersionSamePropmt"), kMessageSeconds);
        break;
    case ZelFirmwareCheckGamepadFirmwareDamaged:
        setState(State::Choosing);
        MessageToast::showMsgWithtext(localized("GamepadFirmwareDamaged"), kMessageSeconds);
        break;
    case ZelFirmwareCheckSelectedFirmwareDamaged:
    case ZelFirmwareCheckNoGamepad:
        // Nothing to check the pick against, or nothing to install: it is not kept.
        m_selected.reset();
        setState(State::Choosing);
        break;
    }
}

void UpgradeScreenModel::startOver()
{
    stopTicker();
    moveBar(0.0, false);
    setState(m_selected && m_engine.checkFirmware() == ZelFirmwareCheckNeedUpgrade ? State::Ready : State::Choosing);
}

UpgradeScreenModel::Question UpgradeScreenModel::pressUpgrade()
{
    if (isRunning())
        return {};
    ZelFirmwareCheckResult check = m_engine.checkFirmware();
    if (check == ZelFirmwareCheckNeedUpgrade && !m_selected)
        check = ZelFirmwareCheckSelectedFirmwareDamaged;
    if (check != ZelFirmwareCheckNeedUpgrade) {
        MessageToast::showMsgWithtext(UpgradeRun::checkFailure(check), kMessageSeconds);
        return {};
    }
    // A new try goes to the controller the run before it was for: another
    // one is asked about first, by name; one not yet identified is asked
    // who it is by the run, which then sends it nothing else.
    const bool retry = (m_state == State::Failed || m_state == State::Cancelled) && m_run;
    const QString lastFor = retry ? m_run->controller() : QString();
    const QString attached = currentVersions().isEmpty() ? QString() : m_engine.macAddressWithoutColon();
    if (!lastFor.isEmpty() && !attached.isEmpty() && attached != lastFor)
        return askOther(attached, lastFor);
    // A release older than the controller's (a downgrade, or an old release
    // a server offers again) is installed only when the user confirms it.
    if (selectionIsOlder())
        return askOlder();
    startRun(lastFor);
    return {};
}

UpgradeScreenModel::Question UpgradeScreenModel::askOther(const QString& attached, const QString& lastFor)
{
    Question question;
    question.kind = Question::Kind::OtherController;
    question.release = m_selected->version;
    question.controller = attached;
    question.text = localized("OtherControllerConfirm")
                        .arg(ZelFirmwareUpgradeManager::addressWithColons(attached),
                            ZelFirmwareUpgradeManager::addressWithColons(lastFor), question.release);
    question.confirmText = localized("InstallOnThisController");
    return question;
}

UpgradeScreenModel::Question UpgradeScreenModel::askOlder()
{
    Question question;
    question.kind = Question::Kind::OlderRelease;
    question.release = m_selected->version;
    // Confirmed on the controller whose versions it names, and on that one only.
    question.controller = m_engine.macAddressWithoutColon();
    question.text = localized("OlderReleaseConfirm").arg(question.release, currentVersions());
    question.confirmText = localized("InstallOlderVersion").arg(question.release);
    return question;
}

UpgradeScreenModel::Question UpgradeScreenModel::confirm(const Question& question)
{
    // Only for the release asked about, while nothing runs.
    if (question.kind == Question::Kind::None || isRunning() || !m_selected || m_selected->version != question.release)
        return {};
    if (question.kind == Question::Kind::OtherController && selectionIsOlder())
        return askOlder();
    startRun(question.controller);
    return {};
}

void UpgradeScreenModel::startRun(const QString& expectedController)
{
    delete m_run; // the run before, long ended
    m_run = new UpgradeRun(m_engine, this);
    m_run->setExpectedController(expectedController);
    connect(m_run, &UpgradeRun::phaseChanged, this, &UpgradeScreenModel::showPhase);
    connect(m_run, &UpgradeRun::downloadProgress, this, &UpgradeScreenModel::showDownload);
    connect(m_run, &UpgradeRun::progressChanged, this, &UpgradeScreenModel::showProgress);
    connect(m_run, &UpgradeRun::cancellableChanged, this, [this] {
        showCancellable();
        emit changed();
    });
    connect(m_run, &UpgradeRun::controllerLeft, this, [this](bool restarting) {
        if (!isRunning())
            return;
        m_prompt = restarting ? localized("GamepadDisconnectByUpgradingFirmwarePrompt")
                              : localized("GamepadDisconnectManuallyPrompt");
        emit changed();
    });
    connect(m_run, &UpgradeRun::finished, this, &UpgradeScreenModel::runFinished);
    emit runStarted(m_run);
    moveBar(0.0, false);
    setState(State::Running);
    m_progressText = percentText(0.0);
    // The time left and the restart countdown move on between the run's own signals.
    stopTicker();
    m_ticker = Timer::scheduledTimer(kTickSeconds, true, [model = QPointer<UpgradeScreenModel>(this)] {
        if (model)
            model->tick();
    });
    emit changed();
    // A run refused at its start has already ended, and said why.
    m_run->start(*m_selected);
    showSteps();
    emit changed();
}

void UpgradeScreenModel::pressCancel()
{
    // The button is disabled while an image is written; a press that still
    // arrives then waits for the image's end, as the run decides.
    if (!isRunning() || !m_run->canCancel())
        return;
    m_run->requestCancel();
}

bool UpgradeScreenModel::pressClose()
{
    if (canClose())
        return true;
    MessageToast::showMsgWithtext(localized("CloseUpgradeViewAlertMessage"));
    return false;
}

void UpgradeScreenModel::showCancellable()
{
    if (m_state != State::Running || !m_run)
        return;
    const bool waiting = m_run->phase() == UpgradeRun::Phase::WaitingForRestart;
    m_cancelEnabled = m_run->canCancel();
    m_cancelText = localized(m_run->cancelPending() ? "CancelPending" : waiting ? "StopWaiting" : "Cancel");
    m_cancelWhy
        = m_cancelEnabled ? QString() : localized(m_run->cancelPending() ? "CancelPendingWhy" : "CancelUnavailableWhy");
}

void UpgradeScreenModel::showPhase(UpgradeRun::Phase phase)
{
    // The step line names the step; the status line shows it too, or the
    // percentage while a part is being sent.
    showCancellable();
    showSteps();
    // What was said while the controller restarted is over once it is back.
    if (phase != UpgradeRun::Phase::WaitingForRestart)
        m_prompt = localized("UpgradeWarning");
    const QString text = UpgradeRun::phaseText(phase);
    switch (phase) {
    case UpgradeRun::Phase::Idle:
        emit changed();
        return;
    case UpgradeRun::Phase::Download:
        // The bar fills with the download, then starts again with the images.
        moveBar(0.0, true);
        break;
    case UpgradeRun::Phase::BootLoader:
        moveBar(m_run ? m_run->progress() : 0.0, true);
        [[fallthrough]];
    case UpgradeRun::Phase::Left:
    case UpgradeRun::Phase::Right:
        // While an image is sent the bar says how far it is.
        m_phaseText = text;
        showProgress(m_run ? m_run->progress() : 0.0);
        return;
    case UpgradeRun::Phase::DigestCheck:
    case UpgradeRun::Phase::Unpack:
    case UpgradeRun::Phase::WaitingForRestart: // the run's one time left covers the restart
    case UpgradeRun::Phase::ReadingVersions:
        break;
    }
    m_phaseText = text;
    m_progressText = text;
    emit changed();
}

void UpgradeScreenModel::showDownload(qint64 received, qint64 total)
{
    if (!isRunning() || total <= 0)
        return;
    const int percent = int(std::min<qint64>(100, received * 100 / total));
    // One figure: the bar shows what the label says.
    m_progressText = localized("PhaseDownloadProgress").arg(percent);
    moveBar(percent, true);
    const QLocale locale;
    m_phaseText
        = localized("PhaseDownloadSize").arg(locale.formattedDataSize(received), locale.formattedDataSize(total));
    showSteps();
    emit changed();
}

void UpgradeScreenModel::showProgress(double percent)
{
    // What a run shows never reaches 100 before it completed; the outcome says so.
    if (m_run && !m_run->isRunning())
        return;
    if (m_state != State::Running)
        setState(State::Running);
    m_progressText = percentText(percent);
    moveBar(percent, true);
    showSteps();
    emit changed();
}

void UpgradeScreenModel::tick()
{
    if (!isRunning()) {
        stopTicker();
        return;
    }
    // A restart that takes longer than foretold is said to, once.
    if (m_run->phase() == UpgradeRun::Phase::WaitingForRestart && m_run->restartOverdue())
        m_phaseText = localized("PhaseRestartLonger");
    showSteps();
    emit changed();
}

void UpgradeScreenModel::stopTicker()
{
    if (m_ticker)
        m_ticker->invalidate();
    m_ticker.reset();
}

void UpgradeScreenModel::moveBar(double percent, bool glide)
{
    m_barPercent = qBound(0.0, percent, 100.0);
    emit barChanged(m_barPercent, glide);
}

void UpgradeScreenModel::showSteps()
{
    if (m_state != State::Choosing && m_state != State::Ready)
        m_stepsText = stepsTextNow();
}

void UpgradeScreenModel::runFinished(UpgradeRun::Outcome outcome)
{
    stopTicker();
    // The outcome stands; what could not be kept of it is said beside it.
    if (!m_run->historyNotSaved().isEmpty())
        MessageToast::showMsgWithtext(m_run->historyNotSaved(), kHistoryNotSavedSeconds);
    // What the controller runs now, read back whatever the outcome, and the
    // dot as the connected screen sets it against the latest release.
    if (const QString versions = m_run->versionsAfter(); !versions.isEmpty()) {
        m_currentVersion = versions;
        if (const auto& stored = m_catalogue.firmwares)
            showLatest(*stored, QString(), versions);
    }
    if (outcome == UpgradeRun::Outcome::Completed) {
        setState(State::Completed);
        moveBar(100.0, true);
        return;
    }
    // Failed or cancelled: why, and what it takes to try again. The
    // controller attached now may not be the run's (another came back in
    // its place): the screen names the one it would write to.
    MainQueue::dispatchAsync([this] { controllerChanged(); }, this);
    moveBar(0.0, false);
    setState(outcome == UpgradeRun::Outcome::Cancelled ? State::Cancelled : State::Failed);
}

void UpgradeScreenModel::setState(State state)
{
    m_state = state;
    const bool running = state == State::Running;
    const bool ended = state == State::Completed || state == State::Failed || state == State::Cancelled;
    const bool canRetry = (state == State::Failed || state == State::Cancelled) && m_selected;
    m_upgradeText = canRetry ? localized("TryAgain")
        : selectionIsOlder() ? localized("InstallOlderVersion").arg(m_selected->version)
                             : localized("UpgradeNow");
    if (running)
        m_newer = false;
    // The steps take the release notes' place while a run is shown.
    if (running || ended) {
        m_detailCaptionShown = false;
        m_detailShown = false;
    }
    // The release notes are the picked release's once one is picked.
    if (state == State::Ready && m_selected) {
        m_detail = m_selected->updateInfo.isEmpty() ? localized("NoReleaseNotes") : m_selected->updateInfo;
        m_detailCaptionShown = true;
        m_detailShown = true;
    }
    m_planText.clear();
    m_stepsText = running || ended ? stepsTextNow() : QString();
    switch (state) {
    case State::Choosing:
        m_prompt.clear();
        m_progressText = localized("SelectAFirmware");
        break;
    case State::Ready:
        m_planText = planTextNow();
        m_prompt.clear();
        break;
    case State::Running:
        m_prompt = localized("UpgradeWarning");
        showCancellable();
        break;
    case State::Completed: {
        const QString versions = m_run ? m_run->versionsAfter() : QString();
        m_progressText = localized("UpgradeCompleted");
        m_prompt = versions.isEmpty() ? localized("UpgradeCompleted") : localized("UpgradeSucceeded").arg(versions);
        break;
    }
    case State::Failed:
    case State::Cancelled:
        m_prompt = m_run ? m_run->outcomeText() : QString();
        m_progressText = localized(state == State::Cancelled ? "UpgradeCancelledTitle" : "UpgradeFailedTitle");
        break;
    }
    if (!running)
        m_phaseText.clear();
    emit changed();
}

QString UpgradeScreenModel::planTextNow() const
{
    if (!m_selected)
        return QString();
    const UpgradePlan plan = UpgradeRun::planFor(*m_selected, m_engine);
    const UpgradeTimeline timeline
        = UpgradeTimeline::make(plan, UpgradeRun::downloadsFirst(*m_selected), m_engine.replySeconds());
    QStringList lines;
    // A downgrade is named before the press, first.
    if (selectionIsOlder())
        lines << localized("PlanOlder").arg(m_selected->version, currentVersions());
    // Sizes unknown until the download are said once, not on every image.
    const bool sizesLater = std::any_of(
        plan.steps().cbegin(), plan.steps().cend(), [](const UpgradePlan::Step& step) { return step.bytes < 0; });
    lines << caption(sizesLater ? "PlanSendsSizesLater" : "PlanSends");
    for (const UpgradePlan::Step& step : plan.steps()) {
        const QString image = step.bytes < 0 ? imageName(step.image)
                                             : localized("PlanImage").arg(imageName(step.image), sizeText(step.bytes));
        lines << kPlanItemMark + (step.restartsAfter ? localized("StepImageThenRestart").arg(image) : image);
    }
    if (!plan.skipped().isEmpty()) {
        QStringList skipped;
        for (UpgradePlan::Image image : plan.skipped())
            skipped << imageName(image);
        lines << localized("PlanSkipped").arg(skipped.join(localized("ListSeparator")));
    }
    bool complete = false;
    const double seconds = timeline.estimatedSeconds(&complete);
    lines << localized(complete ? "PlanDuration" : "PlanDurationAtLeast").arg(durationText(seconds));
    lines << localized("PlanSignature").arg(ReleaseSignature::markText(*m_selected));
    return lines.join(kItemSeparator);
}

QString UpgradeScreenModel::stepsTextNow() const
{
    if (!m_run)
        return QString();
    const UpgradeTimeline& timeline = m_run->timeline();
    // A line a stage the user tells apart: the fetch (download, check,
    // unpacking), each image with the restart that follows it, the read-back.
    struct Line {
        QString text;
        bool done = true, underWay = false;
        std::optional<UpgradePlan::Image> image;
    };
    QList<Line> lines;
    const auto add = [&lines](bool newLine, const QString& text, const UpgradeTimeline::Step& step) {
        if (newLine || lines.isEmpty())
            lines.append({ text, true, false, std::nullopt });
        else if (!text.isEmpty())
            lines.last().text = text;
        lines.last().done = lines.last().done && step.state == UpgradeTimeline::State::Done;
        lines.last().underWay = lines.last().underWay || step.state == UpgradeTimeline::State::UnderWay;
    };
    for (int i = 0; i < timeline.steps().size(); ++i) {
        const UpgradeTimeline::Step& step = timeline.steps().at(i);
        switch (step.kind) {
        case UpgradeTimeline::Kind::Download:
            add(true, step.bytes < 0 ? localized("StepFetch") : localized("StepFetchSize").arg(sizeText(step.bytes)),
                step);
            break;
        case UpgradeTimeline::Kind::DigestCheck:
        case UpgradeTimeline::Kind::Unpack:
            add(false, QString(), step);
            break;
        case UpgradeTimeline::Kind::Image: {
            const QString image = localized("PlanImage").arg(imageName(step.image), sizeText(step.bytes));
            const bool restarts
                = i + 1 < timeline.steps().size() && timeline.steps().at(i + 1).kind == UpgradeTimeline::Kind::Restart;
            add(true, restarts ? localized("StepImageThenRestart").arg(image) : image, step);
            lines.last().image = step.image;
            break;
        }
        case UpgradeTimeline::Kind::Restart:
            add(false, QString(), step);
            break;
        case UpgradeTimeline::Kind::ReadBack:
            add(true, localized("StepReadBack"), step);
            // A failed run reads the versions back too, out of turn.
            lines.last().done = lines.last().done || !m_run->versionsAfter().isEmpty();
            break;
        }
    }
    // Once a run has failed, an image is ticked only when the controller
    // holds it: sent is not installed.
    const bool failed = !m_run->isRunning() && m_run->outcome() != UpgradeRun::Outcome::Completed;
    QStringList texts;
    for (const Line& line : std::as_const(lines)) {
        const QString* mark = line.done           ? &kDoneMark
            : line.underWay && m_run->isRunning() ? &kUnderWayMark
                                                  : &kToComeMark;
        const bool begun = line.image && m_run->imagesBegun().contains(*line.image);
        if (failed && begun) {
            if (!m_run->installedKnown())
                mark = &kUnknownMark;
            else
                mark = m_run->installed().contains(*line.image) ? &kDoneMark : &kNotInstalledMark;
        }
        texts << *mark + line.text;
    }
    QString text = texts.join(kItemSeparator);
    if (m_run->isRunning())
        text += QLatin1Char('\n') + localized("StepsTimeLeft").arg(durationText(m_run->secondsLeft()));
    return text;
}
