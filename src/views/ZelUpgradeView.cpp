#include "views/ZelUpgradeView.h"

#include "firmware/ZelFirmware.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "ui_ZelUpgradeContentView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelUpgradeHistoryView.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QVariantAnimation>

#include <optional>

namespace {

constexpr int kProgressFontPixels = 15;
constexpr int kSmallestProgressFontPixels = 9;

// "Caption:" from two texts of the tables; the colon is localised too.
QString caption(const char* key)
{
    return localized(key) + localized(":");
}

} // namespace

ZelUpgradeView::ZelUpgradeView(ZelFirmwareUpgradeManager& engine, ZelFirmwareDataTool& catalogue, QWidget* parent)
    : ZelBaseView(parent)
    , m_model(new UpgradeScreenModel(engine, catalogue, this))
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
    planLabel = ui.planLabel;
    stepsLabel = ui.stepsLabel;
    cancelButton = ui.cancelButton;
    ui.titleLabel->setText(localized("FirmwareUpgrade"));
    ui.choiceTitleLabel->setText(caption("ChooseRelease"));

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

    localFileButton->setText(localized("LocalFirmware"));
    remoteFileButton->setText(localized("OnlineFirmware"));
    historyButton->setText(localized("UpgradeHistory"));
    currentVersionTitleLabel->setText(caption("CurrentVersion"));
    latestVersionTitleLabel->setText(caption("LatestVersion"));
    detailTitleLabel->setText(caption("UpgradeInfo"));

    connect(closeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::closeAction);
    connect(upgradeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::upgradeAction);
    connect(localFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::localFileAction);
    connect(remoteFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::otherVersionAction);
    connect(historyButton, &QAbstractButton::clicked, this, &ZelUpgradeView::historyAction);
    connect(cancelButton, &QAbstractButton::clicked, this, &ZelUpgradeView::cancelAction);
    connect(retryButton, &QAbstractButton::clicked, this, &ZelUpgradeView::retryAction);
    // The versions are asked for while the screen is up.
    m_model->isScreenShown = [this] { return !isHidden(); };
    connect(m_model, &UpgradeScreenModel::changed, this, &ZelUpgradeView::draw);
    connect(m_model, &UpgradeScreenModel::barChanged, this, &ZelUpgradeView::moveProgressBar);
    connect(m_model, &UpgradeScreenModel::runStarted, this, &ZelUpgradeView::hideFirmwareListView);
    draw();
}

ZelUpgradeView::~ZelUpgradeView()
{
    // A run still going ends with the screen, cancelled, before the screen's
    // widgets its outcome would reach are gone.
    disconnect(m_model, nullptr, this, nullptr);
    delete m_model;
}

void ZelUpgradeView::didSetHidden(bool hidden)
{
    if (!hidden)
        m_model->screenShown();
}

void ZelUpgradeView::checkFirmwareVersion()
{
    m_model->refreshVersions();
}

void ZelUpgradeView::retryAction()
{
    m_model->retryList();
}

void ZelUpgradeView::firmwareSelected(const std::optional<ZelFirmware>& firmware)
{
    hideFirmwareListView();
    m_model->select(firmware);
}

void ZelUpgradeView::checkCanUpgradeAfterChoosingFirmware()
{
    m_model->checkSelection();
}

void ZelUpgradeView::restoreToOriginalState()
{
    m_model->startOver();
}

void ZelUpgradeView::upgradeAction()
{
    ask(m_model->pressUpgrade());
}

void ZelUpgradeView::cancelAction()
{
    m_model->pressCancel();
}

void ZelUpgradeView::closeAction()
{
    if (m_model->pressClose() && closeBlock)
        closeBlock();
}

void ZelUpgradeView::ask(const UpgradeScreenModel::Question& question)
{
    using Kind = UpgradeScreenModel::Question::Kind;
    if (question.kind == Kind::None)
        return;
    auto* alert = new QMessageBox(this);
    alert->setObjectName(question.kind == Kind::OtherController ? QStringLiteral("otherControllerAlert")
                                                                : QStringLiteral("olderReleaseAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setText(question.text);
    QPushButton* confirm = alert->addButton(question.confirmText, QMessageBox::AcceptRole);
    QPushButton* cancel = alert->addButton(localized("Cancel"), QMessageBox::RejectRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    // Cancel is the default: a downgrade, or another controller, is never one key press away.
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    connect(confirm, &QPushButton::clicked, this, [this, question] { ask(m_model->confirm(question)); });
    openQuestion(alert);
}

void ZelUpgradeView::draw()
{
    const UpgradeScreenModel& m = *m_model;
    currentVersionLabel->setText(m.currentVersionText());
    controllerLabel->setText(m.controllerText());
    latestVersionLabel->setText(m.latestVersionText());
    retryButton->setHidden(!m.offersListRetry());
    retryButton->setEnabled(m.canRetryList());
    upgradePromptRedDot->setHidden(!m.marksNewerRelease());
    detailLabel->setText(m.detailText());
    detailTitleLabel->setHidden(!m.showsDetailCaption());
    detailLabel->setHidden(!m.showsDetail());

    // Nothing pressed during a run is dropped without a sign: what would
    // start or replace a run cannot be pressed.
    upgradeButton->setEnabled(m.canPick());
    localFileButton->setEnabled(m.canPick());
    remoteFileButton->setEnabled(m.canPick());
    localFileButton->setHidden(!m.offersPick());
    remoteFileButton->setHidden(!m.offersPick());
    upgradeButton->setText(m.upgradeButtonText());
    upgradeButton->setHidden(!m.offersUpgrade());
    drawFigures();
    progressTextLabel->setHidden(!m.showsProgressText());
    cancelButton->setHidden(!m.offersCancel());
    cancelButton->setText(m.cancelButtonText());
    cancelButton->setEnabled(m.canCancel());
    cancelButton->setToolTip(m.cancelUnavailableText());
    cancelButton->setAccessibleDescription(m.cancelUnavailableText());
    selectedFirmwareLabel->setText(m.selectedText());
    selectedFirmwareLabel->setHidden(!m.showsSelected());

    planLabel->setText(m.planText());
    planLabel->setHidden(m.planText().isEmpty());
    upgradePromptLabel->setText(m.promptText());
    upgradePromptLabel->setHidden(m.promptText().isEmpty());
    phaseLabel->setText(m.phaseText());
    phaseLabel->setHidden(m.phaseText().isEmpty());
}

void ZelUpgradeView::drawFigures()
{
    const UpgradeScreenModel& m = *m_model;
    if (m_figuresState == m.state() && m_figuresPhase == m.phaseText() && m_figuresDrawn.isValid()
        && m_figuresDrawn.elapsed() < MainQueue::scaledMilliseconds(kFrameSeconds)) {
        if (!m_figuresPending) {
            m_figuresPending = true;
            MainQueue::dispatchAfter(
                kFrameSeconds,
                [this] {
                    m_figuresPending = false;
                    m_figuresDrawn.invalidate();
                    drawFigures();
                },
                this);
        }
        return;
    }
    m_figuresPending = false; // a frame's end still to come draws again, to no effect
    // A new state or step is drawn at once and starts no frame: its own
    // figures follow at once too (the model sets them after the state).
    if (m_figuresState == m.state() && m_figuresPhase == m.phaseText())
        m_figuresDrawn.start();
    else
        m_figuresDrawn.invalidate();
    m_figuresState = m.state();
    m_figuresPhase = m.phaseText();
    if (progressTextLabel->text() != m.progressText())
        setProgressText(m.progressText());
    stepsLabel->setText(m.stepsText());
    stepsLabel->setHidden(m.stepsText().isEmpty());
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
        firmwareListView = new ZelFirmwareListView(m_model->catalogue(), this);
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

void ZelUpgradeView::moveProgressBar(double percent, bool glide)
{
    m_progressAnimation->stop();
    const double target = qBound(0.0, percent, 100.0);
    const int duration = glide ? MainQueue::scaledMilliseconds(kProgressAnimationSeconds) : 0;
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
