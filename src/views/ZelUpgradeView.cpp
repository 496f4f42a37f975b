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
    m_ui = std::make_unique<Ui::ZelUpgradeContentView>();
    m_ui->setupUi(content);
    pinContentView(content);

    m_ui->retryButton->setText(localized("Retry"));
    m_ui->titleLabel->setText(localized("FirmwareUpgrade"));
    m_ui->choiceTitleLabel->setText(caption("ChooseRelease"));

    // The bar lies under the status line, which keeps its text readable on top.
    m_progressBar = new QLabel(contentView);
    m_progressBar->setObjectName(QStringLiteral("progressBgLabel"));
    m_progressBar->setProperty("role", QStringLiteral("progressBar"));
    m_progressBar->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ui->progressTextLabel->raise();
    m_ui->progressTextLabel->installEventFilter(this);
    m_progressAnimation = new QVariantAnimation(this);
    connect(m_progressAnimation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_barPercent = value.toDouble();
        layoutProgressBar();
    });
    layoutProgressBar();

    m_ui->localFileButton->setText(localized("LocalFirmware"));
    m_ui->remoteFileButton->setText(localized("OnlineFirmware"));
    m_ui->historyButton->setText(localized("UpgradeHistory"));
    m_ui->currentVersionTitleLabel->setText(caption("CurrentVersion"));
    m_ui->latestVersionTitleLabel->setText(caption("LatestVersion"));
    m_ui->detailTitleLabel->setText(caption("UpgradeInfo"));

    connect(m_ui->closeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::closeAction);
    connect(m_ui->upgradeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::upgradeAction);
    connect(m_ui->localFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::localFileAction);
    connect(m_ui->remoteFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::otherVersionAction);
    connect(m_ui->historyButton, &QAbstractButton::clicked, this, &ZelUpgradeView::historyAction);
    connect(m_ui->cancelButton, &QAbstractButton::clicked, this, &ZelUpgradeView::cancelAction);
    connect(m_ui->retryButton, &QAbstractButton::clicked, this, &ZelUpgradeView::retryAction);
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
    if (m_model->pressClose())
        emit closeRequested();
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
    m_ui->currentVersionLabel->setText(m.currentVersionText());
    m_ui->controllerLabel->setText(m.controllerText());
    m_ui->latestVersionLabel->setText(m.latestVersionText());
    m_ui->retryButton->setHidden(!m.offersListRetry());
    m_ui->retryButton->setEnabled(m.canRetryList());
    m_ui->upgradePromptRedDot->setHidden(!m.marksNewerRelease());
    m_ui->detailLabel->setText(m.detailText());
    m_ui->detailTitleLabel->setHidden(!m.showsDetailCaption());
    m_ui->detailLabel->setHidden(!m.showsDetail());

    // Nothing pressed during a run is dropped without a sign: what would
    // start or replace a run cannot be pressed.
    m_ui->upgradeButton->setEnabled(m.canPick());
    m_ui->localFileButton->setEnabled(m.canPick());
    m_ui->remoteFileButton->setEnabled(m.canPick());
    m_ui->localFileButton->setHidden(!m.offersPick());
    m_ui->remoteFileButton->setHidden(!m.offersPick());
    m_ui->upgradeButton->setText(m.upgradeButtonText());
    m_ui->upgradeButton->setHidden(!m.offersUpgrade());
    drawFigures();
    m_ui->progressTextLabel->setHidden(!m.showsProgressText());
    m_ui->cancelButton->setHidden(!m.offersCancel());
    m_ui->cancelButton->setText(m.cancelButtonText());
    m_ui->cancelButton->setEnabled(m.canCancel());
    m_ui->cancelButton->setToolTip(m.cancelUnavailableText());
    m_ui->cancelButton->setAccessibleDescription(m.cancelUnavailableText());
    m_ui->selectedFirmwareLabel->setText(m.selectedText());
    m_ui->selectedFirmwareLabel->setHidden(!m.showsSelected());

    m_ui->planLabel->setText(m.planText());
    m_ui->planLabel->setHidden(m.planText().isEmpty());
    m_ui->upgradePromptLabel->setText(m.promptText());
    m_ui->upgradePromptLabel->setHidden(m.promptText().isEmpty());
    m_ui->phaseLabel->setText(m.phaseText());
    m_ui->phaseLabel->setHidden(m.phaseText().isEmpty());
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
    if (m_ui->progressTextLabel->text() != m.progressText())
        setProgressText(m.progressText());
    m_ui->stepsLabel->setText(m.stepsText());
    m_ui->stepsLabel->setHidden(m.stepsText().isEmpty());
}

void ZelUpgradeView::hideFirmwareListView()
{
    if (!m_list)
        return;
    // The keyboard comes back to the screen from the list it leaves.
    const bool hadFocus = m_list->isAncestorOf(QApplication::focusWidget());
    m_list->setHidden(true);
    if (hadFocus)
        setFocus();
}

bool ZelUpgradeView::closeOverlay()
{
    for (QWidget* overlay : { static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_history) }) {
        if (overlay && !overlay->isHidden()) {
            overlay->setHidden(true);
            setFocus();
            return true;
        }
    }
    return false;
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
    if (!m_list) {
        m_list = new ZelFirmwareListView(m_model->catalogue(), this);
        m_list->setGeometry(rect());
        m_list->selectFirmwareBlock = [view = QPointer<ZelUpgradeView>(this)](std::optional<ZelFirmware> firmware) {
            if (view)
                view->firmwareSelected(firmware);
        };
    }
    m_list->raise();
    m_list->type = type;
    m_list->setHidden(false);
    m_list->tableView->setFocus();
}

void ZelUpgradeView::historyAction()
{
    if (!m_history) {
        m_history = new ZelUpgradeHistoryView(this);
        m_history->setGeometry(rect());
    }
    m_history->raise();
    m_history->setHidden(false);
    m_history->closeButton->setFocus();
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
    m_ui->progressTextLabel->setText(text);
    fitProgressText();
}

void ZelUpgradeView::fitProgressText()
{
    // A long text (some translations) shrinks to the line's width instead of being cut.
    // The default interface fonts draw their digits at one width, so the
    // percentage does not jitter as it counts up.
    const int available = m_ui->progressTextLabel->contentsRect().width();
    QFont font = m_ui->progressTextLabel->font();
    int pixels = kProgressFontPixels;
    font.setPixelSize(pixels);
    while (pixels > kSmallestProgressFontPixels
        && QFontMetrics(font).horizontalAdvance(m_ui->progressTextLabel->text()) > available) {
        font.setPixelSize(--pixels);
    }
    if (pixels == m_progressFontPixels)
        return;
    m_progressFontPixels = pixels;
    // The widget's own style sheet wins over the application's, which sets this label's size too.
    m_ui->progressTextLabel->setStyleSheet(QStringLiteral("font-size: %1px; font-weight: bold;").arg(pixels));
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
    const QRect track = m_ui->progressTextLabel->geometry();
    const int width = qRound(m_barPercent * track.width() / 100.0);
    m_progressBar->setGeometry(track.x(), track.y(), width, track.height());
}

bool ZelUpgradeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->progressTextLabel && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
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
    if (m_list)
        m_list->setGeometry(rect());
    if (m_history)
        m_history->setGeometry(rect());
}
