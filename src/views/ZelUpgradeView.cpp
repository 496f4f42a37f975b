#include "views/ZelUpgradeView.h"

#include "firmware/ZelFirmware.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "ui_ZelUpgradeContentView.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelFirmwareListView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVariantAnimation>

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
    currentVersionTitleLabel = ui.currentVersionTitleLabel;
    currentVersionLabel = ui.currentVersionLabel;
    latestVersionTitleLabel = ui.latestVersionTitleLabel;
    latestVersionLabel = ui.latestVersionLabel;
    detailTitleLabel = ui.detailTitleLabel;
    detailLabel = ui.detailLabel;
    progressTextLabel = ui.progressTextLabel;
    upgradePromptLabel = ui.upgradePromptLabel;
    selectedFirmwareLabel = ui.selectedFirmwareLabel;
    upgradePromptRedDot = ui.upgradePromptRedDot;

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
    closeButton->setIcon(QIcon(QStringLiteral(":/images/close.svg")));
    currentVersionTitleLabel->setText(caption("CurrentVersion"));
    latestVersionTitleLabel->setText(caption("LatestVersion"));
    detailTitleLabel->setText(caption("UpgradeInfo"));
    setProgressText(localized("SelectAFirmware"));

    connect(closeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::closeAction);
    connect(upgradeButton, &QAbstractButton::clicked, this, &ZelUpgradeView::upgradeAction);
    connect(localFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::localFileAction);
    connect(remoteFileButton, &QAbstractButton::clicked, this, &ZelUpgradeView::otherVersionAction);
}

ZelUpgradeView::~ZelUpgradeView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void ZelUpgradeView::didSetHidden(bool hidden)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    // Showing a shown screen again must not register it twice.
    center.removeObserver(this);
    if (hidden)
        return;
    center.addObserver(this, ZelGamepadDisconnectByUpgradingFirmwareNotification,
        [this](const Notification& notification) { gamepadDisconnectByUpgradingFirmware(notification); });
    // An empty choice clears an earlier pick, so the screen starts over.
    const ZelFirmware none;
    engine().setSelectedFirmware(&none);
    selectedFirmwareLabel->setHidden(true);
    checkCanUpgradeAfterChoosingFirmware();
    checkFirmwareVersion();
    // The engine outlives the screen: it reaches the screen only while it exists.
    engine().upgradeProgressBlock = [view = QPointer<ZelUpgradeView>(this)](double percent) {
        if (view)
            view->showProgress(percent);
    };
}

void ZelUpgradeView::checkFirmwareVersion()
{
    // While the controller restarts during a run there is nobody to ask.
    if (engine().isGamepadDisconnectByUpgradingFirmware || isHidden())
        return;
    engine().checkCurrentVersion([view = QPointer<ZelUpgradeView>(this)](const QString& version) {
        if (!view)
            return;
        view->currentVersionLabel->setText(version);
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares(
            [view, version](const QList<ZelFirmware>& firmwares, const QString&) {
                if (view)
                    view->showLatestFirmware(firmwares, version);
            });
    });
}

void ZelUpgradeView::showLatestFirmware(const QList<ZelFirmware>& firmwares, const QString& currentVersion)
{
    // A failed query answers an empty list and shows the same.
    if (firmwares.isEmpty()) {
        latestVersionLabel->setText(localized("NoNewerVersion"));
        detailTitleLabel->setHidden(true);
        detailLabel->setHidden(true);
        return;
    }
    const ZelFirmware& newest = firmwares.first();
    latestVersionLabel->setText(newest.version);
    detailLabel->setText(newest.updateInfo);
    detailTitleLabel->setHidden(false);
    detailLabel->setHidden(false);
    upgradePromptRedDot->setHidden(newest.version == localized("NoNewerVersion") || newest.version == currentVersion);
}

void ZelUpgradeView::hideFirmwareListView()
{
    if (firmwareListView)
        firmwareListView->setHidden(true);
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
}

void ZelUpgradeView::firmwareSelected(const std::optional<ZelFirmware>& firmware)
{
    hideFirmwareListView();
    engine().setSelectedFirmware(firmware ? &*firmware : nullptr);
    selectedFirmwareLabel->setText(
        localized("SelectedFirmware") + localized(":") + (firmware ? firmware->version : QString()));
    selectedFirmwareLabel->setHidden(false);
    checkCanUpgradeAfterChoosingFirmware();
}

void ZelUpgradeView::checkCanUpgradeAfterChoosingFirmware()
{
    switch (engine().checkFirmware()) {
    case ZelFirmwareCheckNeedUpgrade:
        upgradeButton->setHidden(false);
        progressTextLabel->setHidden(true);
        break;
    case ZelFirmwareCheckVersionSame:
        upgradeButton->setHidden(true);
        progressTextLabel->setHidden(false);
        MessageToast::showMsgWithtext(localized("FirmwareVersionSamePropmt"), kMessageSeconds);
        break;
    case ZelFirmwareCheckGamepadFirmwareDamaged:
        upgradeButton->setHidden(true);
        progressTextLabel->setHidden(false);
        MessageToast::showMsgWithtext(localized("GamepadFirmwareDamaged"), kMessageSeconds);
        break;
    case ZelFirmwareCheckSelectedFirmwareDamaged:
        restoreToOriginalState();
        break;
    case ZelFirmwareCheckNoGamepad:
        break;
    }
}

void ZelUpgradeView::upgradeAction()
{
    switch (engine().checkFirmware()) {
    case ZelFirmwareCheckNeedUpgrade:
        engine().startUpgrade();
        break;
    case ZelFirmwareCheckVersionSame:
        MessageToast::showMsgWithtext(localized("FirmwareVersionSamePropmt"), kMessageSeconds);
        break;
    case ZelFirmwareCheckNoGamepad:
        MessageToast::showMsgWithtext(localized("ConnectGamepadPropmt"), kMessageSeconds);
        break;
    case ZelFirmwareCheckGamepadFirmwareDamaged:
        MessageToast::showMsgWithtext(localized("GamepadFirmwareDamaged"), kMessageSeconds);
        break;
    case ZelFirmwareCheckSelectedFirmwareDamaged:
        MessageToast::showMsgWithtext(localized("SelectedDamagedFirmware"), kMessageSeconds);
        break;
    }
}

void ZelUpgradeView::showProgress(double percent)
{
    switchToUpgradeState();
    setProgressText(localized("Upgrading...") + QString::number(percent, 'f', 2) + QLatin1Char('%'));
    animateProgressBar(percent);
    if (percent >= 100.0) {
        setProgressText(localized("UpgradeCompleted"));
        selectedFirmwareLabel->setHidden(true);
        MainQueue::dispatchAfter(
            kCompletedRefreshSeconds, [this] { refreshAfterCompletion(); }, this);
    }
}

void ZelUpgradeView::refreshAfterCompletion()
{
    // A run started since (the screen reopened and a release picked within
    // the delay) keeps its screen: a version query now would take over the
    // reply handler of its transfer. That run schedules its own refresh.
    if (engine().isUpgradingFirmware)
        return;
    checkFirmwareVersion();
    restoreToOriginalState();
}

void ZelUpgradeView::switchToUpgradeState()
{
    upgradePromptRedDot->setHidden(true);
    localFileButton->setHidden(true);
    remoteFileButton->setHidden(true);
    upgradeButton->setHidden(true);
    upgradePromptLabel->setText(localized("UpgradeWarning"));
    upgradePromptLabel->setHidden(false);
    progressTextLabel->setHidden(false);
}

void ZelUpgradeView::restoreToOriginalState()
{
    upgradeButton->setHidden(true);
    upgradePromptLabel->setHidden(true);
    localFileButton->setHidden(false);
    remoteFileButton->setHidden(false);
    progressTextLabel->setHidden(false);
    setProgressText(localized("SelectAFirmware"));
    m_progressAnimation->stop();
    m_barPercent = 0.0;
    layoutProgressBar();
}

void ZelUpgradeView::gamepadDisconnectByUpgradingFirmware(const Notification& notification)
{
    const bool restarting = notification.object.toBool();
    MainQueue::dispatchAsync(
        [this, restarting] {
            upgradePromptLabel->setText(restarting ? localized("GamepadDisconnectByUpgradingFirmwarePrompt")
                                                   : localized("GamepadDisconnectManuallyPrompt"));
        },
        this);
}

void ZelUpgradeView::closeAction()
{
    if (engine().isUpgradingFirmware) {
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
    progressTextLabel->setStyleSheet(QStringLiteral("font-size: %1px; font-weight: 600;").arg(pixels));
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
}
