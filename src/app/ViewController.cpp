#include "app/ViewController.h"

#include "app/FontWarmUp.h"

#include "accessory/EADSessionController.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/MessageToast.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelHomeView.h"
#include "views/ZelKeyTestView.h"
#include "views/ZelMFiGameView.h"
#include "views/ZelTutorialView.h"
#include "views/ZelUpgradeHistoryView.h"
#include "views/ZelUpgradeView.h"

#include <QLabel>
#include <QPointer>
#include <QPropertyAnimation>

ViewController::ViewController(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("rootView"));
    viewDidLoad();
}

ViewController::~ViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    auto& manager = KestGameControllerManager::sharedInstance();
    if (manager.delegate() == this)
        manager.setDelegate(nullptr);
}

void ViewController::viewDidLoad()
{
    supportedProtocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(
        this, EAAccessoryDidConnectNotification, [this](const Notification& n) { _accessoryDidConnect(n); });
    center.addObserver(
        this, EAAccessoryDidDisconnectNotification, [this](const Notification& n) { _accessoryDidDisconnect(n); });

    KestGameControllerManager::sharedInstance().setDelegate(this);
    commonInit();
}

void ViewController::followAccessoriesFromStart()
{
    EAAccessoryManager::sharedAccessoryManager().registerForLocalNotifications();
    if (!EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty())
        checkShouldShowConnectedView();
}

void ViewController::commonInit()
{
    homeView();
}

// Screens start visible, as a new view does, without the work their own
// showing starts: that runs only when showView shows them.
template <class Screen> static Screen* addScreen(Screen* screen, const QRect& frame)
{
    screen->setGeometry(frame);
    screen->showAsNewlyAdded();
    return screen;
}

ZelHomeView* ViewController::homeView()
{
    if (m_homeView)
        return m_homeView;
    auto* home = new ZelHomeView(this);
    // Showing it lays out the first text: the fonts read beside the start-up
    // are waited for here, which costs less than reading them a second time.
    FontWarmUp::awaitCurrent();
    m_homeView = addScreen(home, rect());
    m_homeView->setObjectName(QStringLiteral("homeView"));
    QPointer<ViewController> weak(this);
    m_homeView->connectedBlock = [weak] {
        if (weak)
            weak->checkShouldShowConnectedView();
    };
    m_homeView->MFiBlock = [weak] {
        if (!weak)
            return;
        weak->MFiGameView()->showFromConnectedView = false;
        weak->showView(weak->MFiGameView());
        weak->hideView(weak->homeView());
    };
    m_homeView->tutorialBlock = [weak] {
        if (!weak)
            return;
        weak->showView(weak->tutotialView());
        weak->hideView(weak->homeView());
    };
    return m_homeView;
}

ZelConnectedView* ViewController::connectedView()
{
    if (m_connectedView)
        return m_connectedView;
    m_connectedView = addScreen(
        new ZelConnectedView(ZelFirmwareUpgradeManager::sharedInstance(), ZelFirmwareDataTool::sharedInstance(), this),
        rect());
    m_connectedView->setObjectName(QStringLiteral("connectedView"));
    QPointer<ViewController> weak(this);
    m_connectedView->MFiBlock = [weak] {
        if (!weak)
            return;
        weak->MFiGameView()->showFromConnectedView = true;
        weak->showView(weak->MFiGameView());
        weak->hideView(weak->connectedView());
    };
    m_connectedView->upgradeBlock = [weak] {
        if (weak)
            weak->checkShouldShowUpgradeView();
    };
    m_connectedView->keyTestBlock = [weak] {
        if (weak)
            weak->checkShouldShowKeyTestView();
    };
    m_connectedView->closeBlock = [weak] {
        if (!weak)
            return;
        weak->showView(weak->homeView());
        weak->hideView(weak->connectedView());
    };
    return m_connectedView;
}

ZelUpgradeView* ViewController::upgradeView()
{
    if (m_upgradeView)
        return m_upgradeView;
    m_upgradeView = addScreen(
        new ZelUpgradeView(ZelFirmwareUpgradeManager::sharedInstance(), ZelFirmwareDataTool::sharedInstance(), this),
        QRect());
    m_upgradeView->setObjectName(QStringLiteral("upgradeView"));
    connect(m_upgradeView, &ZelUpgradeView::closeRequested, this, [this] {
        showView(connectedView());
        hideView(upgradeView());
    });
    return m_upgradeView;
}

ZelKeyTestView* ViewController::keyTestView()
{
    if (m_keyTestView)
        return m_keyTestView;
    m_keyTestView = addScreen(
        new ZelKeyTestView(KestGameControllerManager::sharedInstance(), EADSessionController::sharedController(), this),
        QRect());
    m_keyTestView->setObjectName(QStringLiteral("keyTestView"));
    m_keyTestView->keyboardController = keyboardController;
    QPointer<ViewController> weak(this);
    m_keyTestView->closeBlock = [weak] {
        if (!weak)
            return;
        weak->showView(weak->connectedView());
        weak->hideView(weak->keyTestView());
    };
    return m_keyTestView;
}

ZelMFiGameView* ViewController::MFiGameView()
{
    if (m_MFiGameView)
        return m_MFiGameView;
    m_MFiGameView = addScreen(new ZelMFiGameView(this), homeView()->geometry());
    m_MFiGameView->setObjectName(QStringLiteral("MFiGameView"));
    QPointer<ViewController> weak(this);
    m_MFiGameView->closeBlock = [weak] {
        if (!weak)
            return;
        const bool fromConnected = weak->MFiGameView()->showFromConnectedView;
        weak->hideView(weak->MFiGameView());
        if (fromConnected)
            weak->showView(weak->connectedView());
        else
            weak->showView(weak->homeView());
    };
    return m_MFiGameView;
}

ZelTutorialView* ViewController::tutotialView()
{
    if (m_tutorialView)
        return m_tutorialView;
    m_tutorialView = addScreen(new ZelTutorialView(this), homeView()->geometry());
    m_tutorialView->setObjectName(QStringLiteral("tutorialView"));
    QPointer<ViewController> weak(this);
    m_tutorialView->closeBlock = [weak] {
        if (!weak)
            return;
        weak->hideView(weak->tutotialView());
        weak->showView(weak->homeView());
    };
    return m_tutorialView;
}

ZelBaseView* ViewController::visibleScreen() const
{
    for (ZelBaseView* screen : std::initializer_list<ZelBaseView*> {
             m_upgradeView, m_keyTestView, m_MFiGameView, m_tutorialView, m_connectedView, m_homeView })
        if (isShown(screen))
            return screen;
    return nullptr;
}

bool ViewController::isShown(const QWidget* view)
{
    return view && !view->isHidden();
}

bool ViewController::isSlidingScreen(ZelBaseView* view) const
{
    return view && (view == m_upgradeView || view == m_keyTestView);
}

void ViewController::showView(ZelBaseView* view)
{
    // What a toast said was about the screen that goes.
    MessageToast::dismiss();
    view->raise();
    view->setHidden(false);
    view->setGeometry(rect());
    // The keyboard starts on the screen shown: Tab goes to its first control.
    view->setFocus();
    if (isSlidingScreen(view))
        slide(view, height(), 0);
}

bool ViewController::escapeAction()
{
    if (isShown(m_upgradeView)) {
        if (!m_upgradeView->closeOverlay())
            m_upgradeView->closeAction();
        return true;
    }
    if (isShown(m_keyTestView)) {
        m_keyTestView->closeAction();
        return true;
    }
    if (isShown(m_MFiGameView)) {
        m_MFiGameView->closeAction();
        return true;
    }
    if (isShown(m_tutorialView)) {
        m_tutorialView->closeAction();
        return true;
    }
    return false;
}

void ViewController::hideView(ZelBaseView* view)
{
    view->setHidden(true);
    // The slide down would not be seen: the screen is already hidden.
    if (isSlidingScreen(view))
        view->move(0, height());
}

void ViewController::slide(ZelBaseView* view, int fromY, int toY)
{
    auto* animation = view->findChild<QPropertyAnimation*>(QStringLiteral("slide"), Qt::FindDirectChildrenOnly);
    if (!animation) {
        animation = new QPropertyAnimation(view, "pos", view);
        animation->setObjectName(QStringLiteral("slide"));
        animation->setEasingCurve(QEasingCurve::OutCubic);
    }
    animation->stop();
    view->move(0, fromY);
    animation->setDuration(MainQueue::scaledMilliseconds(kSlideSeconds));
    animation->setStartValue(QPoint(0, fromY));
    animation->setEndValue(QPoint(0, toY));
    animation->start();
}

void ViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A desktop window is resizable: screens keep filling the root view.
    for (ZelBaseView* screen : std::initializer_list<ZelBaseView*> {
             m_homeView, m_connectedView, m_upgradeView, m_keyTestView, m_MFiGameView, m_tutorialView }) {
        if (!screen)
            continue;
        if (isSlidingScreen(screen) && screen->isHidden())
            screen->setGeometry(0, height(), width(), height());
        else
            screen->setGeometry(QRect(screen->x(), screen->y(), width(), height()));
    }
}

bool ViewController::checkConnectedAccessory()
{
    const auto connected = EAAccessoryManager::sharedAccessoryManager().connectedAccessories();
    if (connected.empty())
        return false;
    for (const EAAccessoryPtr& candidate : connected) {
        for (const QString& offered : candidate->protocolStrings()) {
            for (const QString& declared : supportedProtocols) {
                if (offered != declared)
                    continue;
                accessory = candidate;
                // The session always speaks the first declared protocol.
                EADSessionController::sharedController().setupControllerForAccessory(
                    candidate, supportedProtocols.first());
                return true;
            }
        }
    }
    return false;
}

void ViewController::checkShouldShowConnectedView()
{
    if (!checkConnectedAccessory())
        return;
    ZelBaseView* leaving = nullptr;
    if (isShown(m_homeView))
        leaving = m_homeView;
    else if (isShown(m_tutorialView))
        leaving = m_tutorialView;
    else if (isShown(m_MFiGameView) && !m_MFiGameView->showFromConnectedView)
        leaving = m_MFiGameView;
    if (!leaving)
        return;
    hideView(leaving);
    showView(connectedView());
}

void ViewController::checkShouldShowUpgradeView()
{
    if (!checkConnectedAccessory()) {
        MessageToast::showMsgWithtext(localized("ConnectControllerToComputerPrompt"));
        return;
    }
    if (!isShown(m_connectedView))
        return;
    showView(upgradeView());
    hideView(connectedView());
}

void ViewController::checkShouldShowKeyTestView()
{
    if (!checkConnectedAccessory()) {
        MessageToast::showMsgWithtext(localized("ConnectControllerToComputerPrompt"));
        return;
    }
    if (!isShown(m_connectedView))
        return;
    // The versions the accessory link read last, for the stick check's report.
    keyTestView()->firmwareVersions = connectedView()->currentVersionLabel->text();
    showView(keyTestView());
    hideView(connectedView());
}

void ViewController::_accessoryDidConnect(const Notification&)
{
    // An arrival during a run (its own controller's return or another device) changes no screen.
    if (UpgradeRun::current())
        return;
    checkShouldShowConnectedView();
    if (m_upgradeView)
        m_upgradeView->checkFirmwareVersion();
}

void ViewController::_accessoryDidDisconnect(const Notification& notification)
{
    // Followed from start, a disconnection can come before any screen has
    // asked for the engine: then no upgrade is running, and none is created here.
    const ZelFirmwareUpgradeManager* engine = ZelFirmwareUpgradeManager::existingInstance();
    if (engine && engine->isGamepadDisconnectByUpgradingFirmware())
        return;
    // During a run only its own controller's departure leads anywhere.
    const EAAccessoryPtr gone = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    if (const UpgradeRun* run = UpgradeRun::current(); run && gone && gone->connectionID() != run->connection())
        return;
    if (isShown(m_connectedView)) {
        showView(homeView());
        hideView(m_connectedView);
    }
    if (isShown(m_keyTestView)) {
        showView(homeView());
        hideView(m_keyTestView);
    }
    if (isShown(m_upgradeView)) {
        showView(homeView());
        hideView(m_upgradeView);
        m_upgradeView->hideFirmwareListView();
    }
    if (isShown(m_MFiGameView) && m_MFiGameView->showFromConnectedView) {
        showView(homeView());
        hideView(m_MFiGameView);
    }
    // Said once the screens have changed: a new screen takes toasts away.
    MessageToast::showMsgWithtext(localized("GamepadDisconnectManuallyPrompt"), kDisconnectMessageSeconds);
}

void ViewController::gameControllerManager(KestGameControllerManager*, const std::shared_ptr<KestGameController>&)
{
    if (!accessory)
        checkShouldShowConnectedView();
}
