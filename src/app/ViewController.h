#pragma once

#include "input/KestGameControllerManager.h"
#include "platform/gamepad/GCController.h"
#include "platform/transport/EAAccessory.h"

#include <QStringList>
#include <QWidget>

class ZelBaseView;
class ZelConnectedView;
class ZelHomeView;
class ZelKeyTestView;
class ZelMFiGameView;
class ZelTutorialView;
class ZelUpgradeView;
struct Notification;

// The root screen controller: owns every screen, decides which one is visible,
// follows the controller's accessory and game-controller connections, and
// records the accessory the application talks to.
class ViewController : public QWidget, public KestGameControllerManagerDelegate {
    Q_OBJECT
public:
    static constexpr double kSlideSeconds = 0.25;
    static constexpr double kDisconnectMessageSeconds = 3.0;

    explicit ViewController(QWidget* parent = nullptr);
    ~ViewController() override;

    // The lazy screen getters: each creates its screen on the first call.
    ZelHomeView* homeView();
    ZelConnectedView* connectedView();
    ZelUpgradeView* upgradeView();
    ZelKeyTestView* keyTestView();
    ZelMFiGameView* MFiGameView();
    ZelTutorialView* tutotialView();

    // Screens created so far (null until first use), for the navigation rules and tests.
    ZelHomeView* existingHomeView() const { return m_homeView; }
    ZelConnectedView* existingConnectedView() const { return m_connectedView; }
    ZelUpgradeView* existingUpgradeView() const { return m_upgradeView; }
    ZelKeyTestView* existingKeyTestView() const { return m_keyTestView; }
    ZelMFiGameView* existingMFiGameView() const { return m_MFiGameView; }
    ZelTutorialView* existingTutorialView() const { return m_tutorialView; }
    // The one screen shown, or null.
    ZelBaseView* visibleScreen() const;

    QStringList supportedProtocols;
    EAAccessoryPtr accessory;
    // The game controller the keyboard plays (the demo's), for the key test.
    GCControllerPtr keyboardController;

    void viewDidLoad();
    // The desktop's way in: a controller reached over a serial or TCP link may
    // offer no game controller, so the accessory notifications are followed
    // from now on rather than from the upgrade engine's creation, and a
    // controller already attached leads to the connected screen at once.
    void followAccessoriesFromStart();
    void commonInit();
    void showView(ZelBaseView* view);
    // Escape: closes the upgrade screen's list or history, else the screen
    // on top that has a way back (upgrade, key test, web pages). Whether it
    // closed anything.
    bool escapeAction();
    void hideView(ZelBaseView* view);

    bool checkConnectedAccessory();
    void checkShouldShowConnectedView();
    void checkShouldShowUpgradeView();
    void checkShouldShowKeyTestView();

    void _accessoryDidConnect(const Notification& notification);
    void _accessoryDidDisconnect(const Notification& notification);
    void gameControllerManager(KestGameControllerManager* manager,
        const std::shared_ptr<KestGameController>& gameControllerConnected) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool isSlidingScreen(ZelBaseView* view) const;
    void slide(ZelBaseView* view, int fromY, int toY);
    static bool isShown(const QWidget* view);

    ZelHomeView* m_homeView = nullptr;
    ZelConnectedView* m_connectedView = nullptr;
    ZelUpgradeView* m_upgradeView = nullptr;
    ZelKeyTestView* m_keyTestView = nullptr;
    ZelMFiGameView* m_MFiGameView = nullptr;
    ZelTutorialView* m_tutorialView = nullptr;
};
