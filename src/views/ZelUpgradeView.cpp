#include "views/ZelUpgradeView.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/LatestReleaseText.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmware.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/transport/EAAccessoryManager.h"
#include "ui_ZelUpgradeContentView.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeTimeline.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelUpgradeHistoryView.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QVariantAnimation>

#include <algorithm>
#include <optional>
#include <cmath>

namespace {

constexpr int kProgressFontPixels = 15;
constexpr int kSmallestProgressFontPixels = 9;

ZelFirmwareUpgradeManager& engine()
{
    return ZelFirmwareUpgradeManager::sharedInstance();
}

// "Caption:" from two texts of the tables; the colon is localised too.
QString caption(const char* key)
{
    return localized(key) + localized(":");
}

// How often the time left and the restart countdown are brought up to date.
constexpr double kTickSeconds = 1.0;
// Long enough to read a sentence naming a folder.
constexpr double kHistoryNotSavedSeconds = 6.0;
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

} // namespace

ZelUpgradeView::ZelUpgradeView(QWidget* parent)
    : ZelBaseView(parent)
{
    auto* content = new QWidget(this);
    Ui::ZelUpgradeContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    upgradeButton = ui.upgradeButton;
    closeButton = ui.closeButton;
    localFileButton = ui.localFileButton;
    remoteFileButton = ui.remoteFileButton;
    historyButton = ui.historyButton;
    retryButton = ui.retryButton;
    retryButton->setText(localized("Retry"));
    retryButton->setHidden(true);
    currentVersionTitleLabel = ui.currentVersionTitleLabel;
    currentVersionLabel = ui.currentVersionLabel;
    controllerLabel = ui.controllerLabel;
    latestVersionTitleLabel = ui.latestVersionTitleLabel;
    latestVersionLabel = ui.latestVersionLabel;
    detailTitleLabel = ui.detailTitleLabel;
    detailLabel = ui.detailLabel;
    progressTextLabel = ui.progressTextLabel;
    upgradePromptLabel = ui.upgradePromptLabel;
    selectedFirmwareLabel = ui.selectedFirmwareLabel;
    upgradePromptRedDot = ui.upgradePromptRedDot;
    phaseLabel = ui.phaseLabel;
    phaseLabel->setHidden(true);
    planLabel = ui.planLabel;
    planLabel->setHidden(true);
    stepsLabel = ui.stepsLabel;
    stepsLabel->setHidden(true);
    cancelButton = ui.cancelButton;
    cancelButton->setHidden(true);
    ui.titleLabel->setText(localized("FirmwareUpgrade"));
    ui.choiceTitleLabel->setText(caption("ChooseRelease"));
    upgradeButton->setHidden(true);

    // The bar lies under the status line, which keeps its text readable on top.
    progressBgLabel = new QLabel(contentView);
    progressBgLabel->setObjectName(QStringLiteral("progressBgLabel"));
    progressBgLabel->setProperty("role", QStringLiteral("progressBar"));
    progressBgLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    progressTextLabel->raise();
    progressTextLabel->installEventFilter(this);
    m_progressAnimation = new QVariantAnimation(this);
    connect(m_progressAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_barPercent = value.toDouble();
        layoutProgressBar();
    });
    layoutProgressBar();

    upgradePromptLabel->setHidden(true);
    selectedFirmwareLabel->setHidden(true);
    upgradePromptRedDot->setHidden(true);

    upgradeButton->setText(localized("UpgradeNow"));
    localFileButton->setText(localized("LocalFirmware"));
    remoteFileButton->setText(localized("OnlineFirmware"));
    historyButton->setText(localized("UpgradeHistory"));
    currentVersionTitleLabel->setText(caption("CurrentVersion"));
    latestVersionTitleLabel->setText(caption("LatestVersion"));
    detailTitleLabel->setText(caption("UpgradeInfo"));
    setProgressText(localized("SelectAFirmware"));

    connect(closeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::closeAction);
    connect(upgradeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::upgradeAction);
    connect(localFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::localFileAction);
    connect(remoteFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::otherVersionAction);
    connect(historyButton, &QAbstractButton::clicked, this, &ZelUpgradeView::historyAction);
    connect(cancelButton, &QAbstractButton::clicked, this, &ZelUpgradeView::cancelAction);
    connect(retryButton, &QAbstractButton::clicked, this, &ZelUpgradeView::retryAction);
    // The screen always names the controller it would write to.
    for (const QString& name : { EAAccessoryDidConnectNotification, EAAccessoryDidDisconnectNotification })
        NotificationCenter::defaultCenter().addObserver(this, name, [this](const Notification&) {
            // After the engine has taken the change in.
            MainQueue::dispatchAsync([this] { controllerChanged(); }, this);
        });
    layoutForState();
}

ZelUpgradeView::~ZelUpgradeView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    stopRestartCountdown();
    // A run still going ends with the screen, cancelled, before the screen's
    // widgets its outcome would reach are gone.
    if (m_run) {
        disconnect(m_run, nullptr, this, nullptr);
        delete m_run;
    }
}

QString ZelUpgradeView::stateName(State state)
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

void ZelUpgradeView::didSetHidden(bool hidden)
{
    if (hidden)
        return;
    // A run under way keeps its screen: a new choice would cancel its download.
    if (isRunning())
        return;
    // An empty choice clears an earlier pick, so the screen starts over.
    const ZelFirmware none;
    engine().setSelectedFirmware(&none);
    m_selected.reset();
    restoreToOriginalState();
    checkFirmwareVersion();
}

bool ZelUpgradeView::isRunning() const
{
    return m_run && m_run->isRunning();
}

void ZelUpgradeView::checkFirmwareVersion()
{
    // While the controller restarts during a run there is nobody to ask.
    if (engine().isGamepadDisconnectByUpgradingFirmware() || isHidden())
        return;
    engine().checkCurrentVersion([view = QPointer<ZelUpgradeView>(this)](const QString& version) {
        if (!view)
            return;
        view->currentVersionLabel->setText(version);
        view->controllerLabel->setText(engine().controllerIdentityText());
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares(
            [view, version](const QList<ZelFirmware>& firmwares, const QString& error) {
                if (view)
                    view->showLatestFirmware(firmwares, error, version);
            });
    });
}

void ZelUpgradeView::showLatestFirmware(
    const QList<ZelFirmware>& firmwares, const QString& error, const QString& currentVersion)
{
    const LatestReleaseText latest = LatestReleaseText::make(firmwares, error);
    latestVersionLabel->setText(latest.value);
    retryButton->setHidden(!latest.retry);
    retryButton->setEnabled(true);
    // No release offered: a refused list, or a server that could not be
    // reached, says why in the notes' place, until a release is picked.
    if (!latest.offered) {
        if (m_state == State::Choosing) {
            // A reason is no release's notes: it goes without their caption.
            detailLabel->setText(latest.reason);
            detailTitleLabel->setHidden(true);
            detailLabel->setHidden(latest.reason.isEmpty());
        }
        // An empty answer, or none, leaves the dot as an earlier answer set it.
        if (!ZelFirmwareDataTool::sharedInstance().refusal.isEmpty() || !firmwares.isEmpty())
            upgradePromptRedDot->setHidden(true);
        return;
    }
    // The notes shown are the newest release's until one is picked, and give
    // way to a run's steps.
    if (m_state == State::Choosing) {
        detailLabel->setText(latest.offered->updateInfo);
        detailTitleLabel->setHidden(false);
        detailLabel->setHidden(false);
    }
    upgradePromptRedDot->setHidden(ReleaseVersion::same(latest.offered->version, currentVersion));
}

void ZelUpgradeView::controllerChanged()
{
    // During a run the run's own controller comes and goes with its restarts.
    if (isRunning() || isHidden())
        return;
    if (!engine().accessory()) {
        controllerLabel->setText(localized("ControllerNotAttached"));
        currentVersionLabel->clear();
        return;
    }
    checkFirmwareVersion();
}

QString ZelUpgradeView::currentVersions() const
{
    return engine().followedVersionsText();
}

bool ZelUpgradeView::selectionIsOlder() const
{
    if (!m_selected)
        return false;
    const std::optional<ReleaseVersion> release = ReleaseVersion::parse(m_selected->version);
    const std::optional<ReleaseVersion> controller = ReleaseVersion::parse(currentVersions());
    return release && controller && release->anyOlderThan(*controller);
}

void ZelUpgradeView::retryAction()
{
    // Disabled, not hidden, until the answer: the keyboard's focus stays on it.
    retryButton->setEnabled(false);
    checkFirmwareVersion();
}

void ZelUpgradeView::hideFirmwareListView()
{
    if (!firmwareListView)
        return;
    // The keyboard comes back to the screen from the list it leaves.
    const bool hadFocus = firmwareListView->isAncestorOf(QApplication::focusWidget());
    firmwareListView->setHidden(true);
    if (hadFocus)
        setFocus();
}

void ZelUpgradeView::localFileAction()
{
    showFirmwareList(ZelFirmwareListTypeLocal);
}

void ZelUpgradeView::otherVersionAction()
{
    showFirmwareList(ZelFirmwareListTypeOnline);
}

void ZelUpgradeView::showFirmwareList(quint64 type)
{
    if (!firmwareListView) {
        firmwareListView = new ZelFirmwareListView(this);
        firmwareListView->setGeometry(rect());
        firmwareListView->selectFirmwareBlock
            = [view = QPointer<ZelUpgradeView>(this)](std::optional<ZelFirmware> firmware) {
                  if (view)
                      view->firmwareSelected(firmware);
              };
    }
    firmwareListView->raise();
    firmwareListView->type = type;
    firmwareListView->setHidden(false);
    firmwareListView->tableView->setFocus();
}

void ZelUpgradeView::historyAction()
{
    if (!historyView) {
        historyView = new ZelUpgradeHistoryView(this);
        historyView->setGeometry(rect());
    }
    historyView->raise();
    historyView->setHidden(false);
    historyView->closeButton->setFocus();
}

void ZelUpgradeView::firmwareSelected(const std::optional<ZelFirmware>& firmware)
{
    hideFirmwareListView();
    // The list's buttons are disabled during a run; a pick still on its way
    // must not replace the release being installed.
    if (isRunning())
        return;
    m_selected = firmware;
    engine().setSelectedFirmware(firmware ? &*firmware : nullptr);
    selectedFirmwareLabel->setText(
        localized("SelectedFirmware") + localized(":") + (firmware ? firmware->version : QString()));
    checkCanUpgradeAfterChoosingFirmware();
}

void ZelUpgradeView::checkCanUpgradeAfterChoosingFirmware()
{
    switch (engine().checkFirmware()) {
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
        m_selected.reset();
        setState(State::Choosing);
        break;
    case ZelFirmwareCheckNoGamepad:
        // Nothing to check the pick against: it is not kept.
        m_selected.reset();
        setState(State::Choosing);
        break;
    }
}

void ZelUpgradeView::upgradeAction()
{
    if (isRunning())
        return;
    ZelFirmwareCheckResult check = engine().checkFirmware();
    if (check == ZelFirmwareCheckNeedUpgrade && !m_selected)
        check = ZelFirmwareCheckSelectedFirmwareDamaged;
    if (check != ZelFirmwareCheckNeedUpgrade) {
        MessageToast::showMsgWithtext(UpgradeRun::checkFailure(check), kMessageSeconds);
        return;
    }
    // A new try goes to the controller the run before it was for: another
    // one is asked about first, by name; one not yet identified is asked
    // who it is by the run, which then sends it nothing else.
    const bool retry = (m_state == State::Failed || m_state == State::Cancelled) && m_run;
    const QString lastFor = retry ? m_run->controller() : QString();
    const QString attached = currentVersions().isEmpty() ? QString() : engine().macAddressWithoutColon();
    if (!lastFor.isEmpty() && !attached.isEmpty() && attached != lastFor) {
        askToInstallOnOther(attached, lastFor);
        return;
    }
    // A release older than the controller's (a downgrade, or an old release
    // a server offers again) is installed only when the user confirms it.
    if (selectionIsOlder()) {
        askToInstallOlder(currentVersions());
        return;
    }
    startRun(lastFor);
}

void ZelUpgradeView::askToInstallOnOther(const QString& attached, const QString& lastFor)
{
    auto* alert = new QMessageBox(this);
    alert->setObjectName(QStringLiteral("otherControllerAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    const QString release = m_selected->version;
    alert->setText(localized("OtherControllerConfirm")
                       .arg(ZelFirmwareUpgradeManager::addressWithColons(attached),
                           ZelFirmwareUpgradeManager::addressWithColons(lastFor), release));
    QPushButton* confirm = alert->addButton(localized("InstallOnThisController"), QMessageBox::AcceptRole);
    QPushButton* cancel = alert->addButton(localized("Cancel"), QMessageBox::RejectRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    connect(confirm, &QPushButton::clicked, this, [this, release, attached] {
        // Only for the release and the controller asked about, while nothing runs.
        if (isRunning() || !m_selected || m_selected->version != release)
            return;
        if (selectionIsOlder())
            askToInstallOlder(currentVersions());
        else
            startRun(attached);
    });
    openQuestion(alert);
}

void ZelUpgradeView::openQuestion(QMessageBox* question)
{
    // The screen steps back while it is asked: the question stands on its
    // own, not over the plan it is about.
    auto* scrim = new QWidget(this);
    scrim->setObjectName(QStringLiteral("questionScrim"));
    scrim->setProperty("layoutAudit", QStringLiteral("layer")); // over the screen on purpose
    scrim->setAttribute(Qt::WA_StyledBackground);
    scrim->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 170);"));
    scrim->setGeometry(rect());
    scrim->raise();
    scrim->show();
    connect(question, &QObject::destroyed, scrim, &QObject::deleteLater);
    question->open();
}

void ZelUpgradeView::askToInstallOlder(const QString& current)
{
    auto* alert = new QMessageBox(this);
    alert->setObjectName(QStringLiteral("olderReleaseAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setText(localized("OlderReleaseConfirm").arg(m_selected->version, current));
    QPushButton* confirm
        = alert->addButton(localized("InstallOlderVersion").arg(m_selected->version), QMessageBox::AcceptRole);
    QPushButton* cancel = alert->addButton(localized("Cancel"), QMessageBox::RejectRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    // Cancel is the default: a downgrade is never one key press away.
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    const QString version = m_selected->version;
    // Confirmed on the controller whose versions it names, and on that one only.
    const QString controller = engine().macAddressWithoutColon();
    connect(confirm, &QPushButton::clicked, this, [this, version, controller] {
        // Only the release that was asked about, and only while nothing runs.
        if (!isRunning() && m_selected && m_selected->version == version)
            startRun(controller);
    });
    openQuestion(alert);
}

void ZelUpgradeView::startRun(const QString& expectedController)
{
    delete m_run; // the run before, long ended
    m_run = new UpgradeRun(this);
    m_run->setExpectedController(expectedController);
    connect(m_run, &UpgradeRun::phaseChanged, this, &ZelUpgradeView::showPhase);
    connect(m_run, &UpgradeRun::downloadProgress, this, &ZelUpgradeView::showDownload);
    connect(m_run, &UpgradeRun::progressChanged, this, &ZelUpgradeView::showProgress);
    connect(m_run, &UpgradeRun::cancellableChanged, this, &ZelUpgradeView::showCancellable);
    connect(m_run, &UpgradeRun::controllerLeft, this, [this](bool restarting) {
        if (isRunning())
            upgradePromptLabel->setText(restarting ? localized("GamepadDisconnectByUpgradingFirmwarePrompt")
                                                   : localized("GamepadDisconnectManuallyPrompt"));
    });
    connect(m_run, &UpgradeRun::finished, this, &ZelUpgradeView::runFinished);
    hideFirmwareListView();
    m_progressAnimation->stop();
    m_barPercent = 0.0;
    layoutProgressBar();
    setState(State::Running);
    setProgressText(localized("Upgrading...") + QString::number(0.0, 'f', 2) + QLatin1Char('%'));
    // The time left and the restart countdown move on between the run's own signals.
    stopRestartCountdown();
    m_stepsTicker = Timer::scheduledTimer(kTickSeconds, true, [view = QPointer<ZelUpgradeView>(this)] {
        if (view)
            view->countRestartDown();
    });
    // A run refused at its start has already ended, and said why.
    m_run->start(*m_selected);
    showSteps();
}

void ZelUpgradeView::cancelAction()
{
    // The button is disabled while an image is written; a press that still
    // arrives then waits for the image's end, as the run decides.
    if (!isRunning() || !m_run->canCancel())
        return;
    m_run->requestCancel();
}

void ZelUpgradeView::showCancellable()
{
    if (m_state != State::Running || !m_run)
        return;
    const bool waiting = m_run->phase() == UpgradeRun::Phase::WaitingForRestart;
    const bool can = m_run->canCancel();
    cancelButton->setText(localized(m_run->cancelPending() ? "CancelPending" : waiting ? "StopWaiting" : "Cancel"));
    cancelButton->setEnabled(can);
    const QString why
        = can ? QString() : localized(m_run->cancelPending() ? "CancelPendingWhy" : "CancelUnavailableWhy");
    cancelButton->setToolTip(why);
    cancelButton->setAccessibleDescription(why);
}

void ZelUpgradeView::showPhase(UpgradeRun::Phase phase)
{
    // The step line names the step; the status line shows it too, or the
    // percentage while a part is being sent.
    showCancellable();
    showSteps();
    // What was said while the controller restarted is over once it is back.
    if (phase != UpgradeRun::Phase::WaitingForRestart)
        upgradePromptLabel->setText(localized("UpgradeWarning"));
    const QString text = UpgradeRun::phaseText(phase);
    switch (phase) {
    case UpgradeRun::Phase::Idle:
        return;
    case UpgradeRun::Phase::Download:
        // The bar fills with the download, then starts again with the images.
        animateProgressBar(0.0);
        break;
    case UpgradeRun::Phase::BootLoader:
        animateProgressBar(m_run ? m_run->progress() : 0.0);
        [[fallthrough]];
    case UpgradeRun::Phase::Left:
    case UpgradeRun::Phase::Right:
        // While an image is sent the bar says how far it is.
        setPhaseText(text);
        showProgress(m_run ? m_run->progress() : 0.0);
        return;
    case UpgradeRun::Phase::DigestCheck:
    case UpgradeRun::Phase::Unpack:
    case UpgradeRun::Phase::WaitingForRestart: // the run's one time left covers the restart
    case UpgradeRun::Phase::ReadingVersions:
        break;
    }
    setPhaseText(text);
    setProgressText(text);
}

void ZelUpgradeView::showDownload(qint64 received, qint64 total)
{
    if (!isRunning() || total <= 0)
        return;
    const int percent = int(std::min<qint64>(100, received * 100 / total));
    // One figure: the bar shows what the label says.
    setProgressText(localized("PhaseDownloadProgress").arg(percent));
    animateProgressBar(percent);
    const QLocale locale;
    setPhaseText(
        localized("PhaseDownloadSize").arg(locale.formattedDataSize(received), locale.formattedDataSize(total)));
    showSteps();
}

void ZelUpgradeView::setPhaseText(const QString& text)
{
    phaseLabel->setText(text);
    phaseLabel->setHidden(text.isEmpty() || m_state != State::Running);
}

void ZelUpgradeView::countRestartDown()
{
    if (!isRunning()) {
        stopRestartCountdown();
        return;
    }
    // A restart that takes longer than foretold is said to, once.
    if (m_run->phase() == UpgradeRun::Phase::WaitingForRestart && m_run->restartOverdue())
        setPhaseText(localized("PhaseRestartLonger"));
    showSteps();
}

void ZelUpgradeView::stopRestartCountdown()
{
    if (m_stepsTicker)
        m_stepsTicker->invalidate();
    m_stepsTicker.reset();
}

void ZelUpgradeView::showProgress(double percent)
{
    // What a run shows never reaches 100 before it completed; the outcome says so.
    if (m_run && !m_run->isRunning())
        return;
    if (m_state != State::Running)
        setState(State::Running);
    setProgressText(localized("Upgrading...") + QString::number(percent, 'f', 2) + QLatin1Char('%'));
    animateProgressBar(percent);
    showSteps();
}

QString ZelUpgradeView::planText() const
{
    if (!m_selected)
        return QString();
    const UpgradePlan plan = UpgradeRun::planFor(*m_selected);
    const UpgradeTimeline timeline
        = UpgradeTimeline::make(plan, UpgradeRun::downloadsFirst(*m_selected), engine().replySeconds());
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

QString ZelUpgradeView::stepsText() const
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

void ZelUpgradeView::showSteps()
{
    if (m_state == State::Running || m_state == State::Completed || m_state == State::Failed
        || m_state == State::Cancelled) {
        stepsLabel->setText(stepsText());
        stepsLabel->setHidden(stepsLabel->text().isEmpty());
    }
}

void ZelUpgradeView::runFinished(UpgradeRun::Outcome outcome)
{
    stopRestartCountdown();
    // The outcome stands; what could not be kept of it is said beside it.
    if (!m_run->historyNotSaved().isEmpty())
        MessageToast::showMsgWithtext(m_run->historyNotSaved(), kHistoryNotSavedSeconds);
    // What the controller runs now, read back whatever the outcome, and the
    // dot as the connected screen sets it against the latest release.
    if (const QString versions = m_run->versionsAfter(); !versions.isEmpty()) {
        currentVersionLabel->setText(versions);
        if (const auto& stored = ZelFirmwareDataTool::sharedInstance().firmwares)
            showLatestFirmware(*stored, QString(), versions);
    }
    if (outcome == UpgradeRun::Outcome::Completed) {
        setState(State::Completed);
        animateProgressBar(100.0);
        return;
    }
    // Failed or cancelled: why, and what it takes to try again. The
    // controller attached now may not be the run's (another came back in
    // its place): the screen names the one it would write to.
    MainQueue::dispatchAsync([this] { controllerChanged(); }, this);
    m_progressAnimation->stop();
    m_barPercent = 0.0;
    layoutProgressBar();
    setState(outcome == UpgradeRun::Outcome::Cancelled ? State::Cancelled : State::Failed);
}

void ZelUpgradeView::setChoiceEnabled(bool enabled)
{
    // Nothing pressed during a run is dropped without a sign: what would
    // start or replace a run cannot be pressed.
    upgradeButton->setEnabled(enabled);
    localFileButton->setEnabled(enabled);
    remoteFileButton->setEnabled(enabled);
}

void ZelUpgradeView::switchToUpgradeState()
{
    setState(State::Running);
}

void ZelUpgradeView::restoreToOriginalState()
{
    stopRestartCountdown();
    m_progressAnimation->stop();
    m_barPercent = 0.0;
    layoutProgressBar();
    setState(m_selected && engine().checkFirmware() == ZelFirmwareCheckNeedUpgrade ? State::Ready : State::Choosing);
}

void ZelUpgradeView::setState(State state)
{
    m_state = state;
    layoutForState();
}

void ZelUpgradeView::layoutForState()
{
    const State s = m_state;
    const bool running = s == State::Running;
    const bool ended = s == State::Completed || s == State::Failed || s == State::Cancelled;
    // Every outcome that is not a success offers to try again, the stopped
    // wait for a restart too: the press says what stands in the way.
    const bool canRetry = (s == State::Failed || s == State::Cancelled) && m_selected;
    const bool offerUpgrade = s == State::Ready || canRetry;

    setChoiceEnabled(!running);
    localFileButton->setHidden(running || s == State::Completed);
    remoteFileButton->setHidden(running || s == State::Completed);
    upgradeButton->setText(canRetry ? localized("TryAgain")
            : selectionIsOlder()    ? localized("InstallOlderVersion").arg(m_selected->version)
                                    : localized("UpgradeNow"));
    upgradeButton->setHidden(!offerUpgrade);
    progressTextLabel->setHidden(offerUpgrade);
    cancelButton->setHidden(!running);
    selectedFirmwareLabel->setHidden(!m_selected || s == State::Completed);
    if (running)
        upgradePromptRedDot->setHidden(true);

    // The steps take the release notes' place while a run is shown.
    if (running || ended) {
        detailTitleLabel->setHidden(true);
        detailLabel->setHidden(true);
    }
    // The release notes are the picked release's once one is picked.
    if (s == State::Ready && m_selected) {
        detailLabel->setText(m_selected->updateInfo.isEmpty() ? localized("NoReleaseNotes") : m_selected->updateInfo);
        detailTitleLabel->setHidden(false);
        detailLabel->setHidden(false);
    }

    planLabel->clear();
    stepsLabel->setText(running || ended ? stepsText() : QString());
    switch (s) {
    case State::Choosing:
        upgradePromptLabel->clear();
        setProgressText(localized("SelectAFirmware"));
        break;
    case State::Ready:
        planLabel->setText(planText());
        upgradePromptLabel->clear();
        break;
    case State::Running:
        upgradePromptLabel->setText(localized("UpgradeWarning"));
        showCancellable();
        break;
    case State::Completed: {
        const QString versions = m_run ? m_run->versionsAfter() : QString();
        setProgressText(localized("UpgradeCompleted"));
        upgradePromptLabel->setText(
            versions.isEmpty() ? localized("UpgradeCompleted") : localized("UpgradeSucceeded").arg(versions));
        break;
    }
    case State::Failed:
    case State::Cancelled:
        upgradePromptLabel->setText(m_run ? m_run->outcomeText() : QString());
        setProgressText(localized(s == State::Cancelled ? "UpgradeCancelledTitle" : "UpgradeFailedTitle"));
        break;
    }
    planLabel->setHidden(planLabel->text().isEmpty());
    stepsLabel->setHidden(stepsLabel->text().isEmpty());
    upgradePromptLabel->setHidden(upgradePromptLabel->text().isEmpty());
    if (!running || phaseLabel->text().isEmpty())
        setPhaseText(running ? phaseLabel->text() : QString());
}

void ZelUpgradeView::closeAction()
{
    if (isRunning() || engine().isUpgradingFirmware()) {
        MessageToast::showMsgWithtext(localized("CloseUpgradeViewAlertMessage"));
        return;
    }
    if (closeBlock)
        closeBlock();
}

void ZelUpgradeView::setProgressText(const QString& text)
{
    progressTextLabel->setText(text);
    fitProgressText();
}

void ZelUpgradeView::fitProgressText()
{
    // A long text (some translations) shrinks to the line's width instead of being cut.
    // The default interface fonts draw their digits at one width, so the
    // percentage does not jitter as it counts up.
    const int available = progressTextLabel->contentsRect().width();
    QFont font = progressTextLabel->font();
    int pixels = kProgressFontPixels;
    font.setPixelSize(pixels);
    while (pixels > kSmallestProgressFontPixels
        && QFontMetrics(font).horizontalAdvance(progressTextLabel->text()) > available) {
        font.setPixelSize(--pixels);
    }
    if (pixels == m_progressFontPixels)
        return;
    m_progressFontPixels = pixels;
    // The widget's own style sheet wins over the application's, which sets this label's size too.
    progressTextLabel->setStyleSheet(QStringLiteral("font-size: %1px; font-weight: bold;").arg(pixels));
}

void ZelUpgradeView::animateProgressBar(double percent)
{
    m_progressAnimation->stop();
    const double target = qBound(0.0, percent, 100.0);
    const int duration = MainQueue::scaledMilliseconds(kProgressAnimationSeconds);
    if (duration <= 0) {
        m_barPercent = target;
        layoutProgressBar();
        return;
    }
    m_progressAnimation->setDuration(duration);
    m_progressAnimation->setStartValue(m_barPercent);
    m_progressAnimation->setEndValue(target);
    m_progressAnimation->start();
}

void ZelUpgradeView::layoutProgressBar()
{
    // The track is the status line. The upgrade button shares its cell and
    // so its width, but a hidden button gets no geometry from the layout,
    // and the button is hidden whenever the bar shows.
    const QRect track = progressTextLabel->geometry();
    const int width = qRound(m_barPercent * track.width() / 100.0);
    progressBgLabel->setGeometry(track.x(), track.y(), width, track.height());
}

bool ZelUpgradeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == progressTextLabel && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        layoutProgressBar();
        if (event->type() == QEvent::Resize)
            fitProgressText();
    }
    return ZelBaseView::eventFilter(watched, event);
}

void ZelUpgradeView::resizeEvent(QResizeEvent* event)
{
    ZelBaseView::resizeEvent(event);
    // The list overlay covers the whole screen.
    if (firmwareListView)
        firmwareListView->setGeometry(rect());
    if (historyView)
        historyView->setGeometry(rect());
}
