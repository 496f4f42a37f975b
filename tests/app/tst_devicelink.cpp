// The desktop window with a controller reached over a TCP link and no game
// controller anywhere: the accessory alone leads from home to the connected
// screen, at launch and when it comes back, and an upgrade runs over the link.
#include "app/MainWindow.h"
#include "app/SceneDelegate.h"
#include "app/ViewController.h"
#include "input/KestGameControllerManager.h"
#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/DeviceAddress.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoEnvironment.h"
#include "sim/DemoReleases.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeRun.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelHomeView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

using namespace testsupport;

class TestDeviceLink : public QObject {
    Q_OBJECT

    std::unique_ptr<DemoEnvironment> m_demo;
    std::unique_ptr<SimTcpServer> m_server;
    std::unique_ptr<ToastRecorder> m_toasts;
    std::unique_ptr<SceneDelegate> m_scene;

    ViewController* root() const { return m_scene->window()->rootViewController(); }
    SimulatedController& controller() const { return *m_server->controller(); }
    bool attached() const { return !EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); }
    bool onScreen(QWidget* screen) const
    {
        return waitUntil([&] { return root()->visibleScreen() == screen; });
    }
    bool versionsShown(const QString& current) const
    {
        return waitUntil([&] {
            ZelConnectedView* c = root()->existingConnectedView();
            return c && c->currentVersionLabel->text() == current
                && c->latestVersionLabel->text() == DemoReleases::versions().last();
        });
    }

private slots:
    void initTestCase()
    {
        m_demo = std::make_unique<DemoEnvironment>(QString(), QString());
        m_toasts = std::make_unique<ToastRecorder>();
        m_server = std::make_unique<SimTcpServer>(new SimulatedController);
        QVERIFY(m_server->listen(QHostAddress::LocalHost, 0));
    }

    void aControllerAttachedAtLaunchLeadsToTheConnectedScreen()
    {
        // The way the application names and reaches it: --device tcp:HOST:PORT.
        DeviceAddress address;
        QVERIFY(DeviceAddress::parse(QStringLiteral("tcp:127.0.0.1:%1").arg(m_server->serverPort()), &address));
        const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        AccessoryTransport* transport = address.createTransport(protocols.mid(0, 1));
        QVERIFY(transport);
        EAAccessoryManager::sharedAccessoryManager().addTransport(transport);
        transport->start();
        QVERIFY(waitUntil([&] { return attached(); }));

        m_scene = std::make_unique<SceneDelegate>();
        m_scene->sceneWillConnectToSession({});
        QVERIFY(QTest::qWaitForWindowExposed(m_scene->window()));
        QCOMPARE(root()->visibleScreen(), root()->existingHomeView());
        root()->followAccessoriesFromStart();

        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(KestGameControllerManager::sharedInstance().connectedGameControllers().empty());
        QVERIFY(root()->accessory);
        QVERIFY(versionsShown(controller().versionsText()));
    }

    void aControllerThatComesBackLeadsThereAgain()
    {
        m_toasts->clear();
        controller().unplug(-1);
        QVERIFY(onScreen(root()->existingHomeView()));
        QVERIFY(waitUntil([&] { return !attached(); }));
        QCOMPARE(m_toasts->texts(), QStringList({ localized("GamepadDisconnectManuallyPrompt") }));

        controller().plugIn();
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(KestGameControllerManager::sharedInstance().connectedGameControllers().empty());
        QVERIFY(versionsShown(controller().versionsText()));
    }

    void anUpgradeRunsOverTheLink()
    {
        const QString newest = DemoReleases::versions().last();
        QTest::mouseClick(root()->connectedView()->upgradeButton, Qt::LeftButton);
        ZelUpgradeView* upgrade = root()->existingUpgradeView();
        QVERIFY(onScreen(upgrade));
        QVERIFY(waitUntil([&] { return !upgrade->currentVersionLabel->text().isEmpty(); }));

        QTest::mouseClick(upgrade->remoteFileButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return upgrade->firmwareListView->tableView->count() > 0; }));
        upgrade->firmwareListView->didSelectRow(0);
        QVERIFY(waitUntil([&] { return upgrade->upgradeButton->isVisible() && upgrade->upgradeButton->isEnabled(); }));
        QTest::mouseClick(upgrade->upgradeButton, Qt::LeftButton);
        QVERIFY(upgrade->run() && upgrade->run()->isRunning());

        // Through the controller's restarts: the link drops and comes back.
        QVERIFY(waitUntil([&] { return !upgrade->run()->isRunning(); }, 4 * kPatienceMs));
        QCOMPARE(upgrade->run()->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(controller().versionsText(), newest);
        QVERIFY(waitUntil([&] { return upgrade->currentVersionLabel->text() == newest; }));
        QCOMPARE(root()->visibleScreen(), upgrade);
    }

    void cleanupTestCase()
    {
        m_scene.reset();
        m_server.reset();
    }
};

QTEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
