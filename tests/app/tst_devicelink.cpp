// The desktop window with a controller reached over a TCP link and no game
// controller anywhere: the accessory alone leads from home to the connected
// screen, at launch and when it comes back, and an upgrade runs over the link.
#include "app/MainWindow.h"
#include "app/ViewController.h"
#include "input/KestGameControllerManager.h"
#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/DeviceAddress.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoReleases.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "support/AppFixture.h"
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

    std::unique_ptr<AppFixture> m_app;

    ViewController* root() const { return m_app->root(); }
    SimulatedController& controller() const { return *m_app->tcpServer().controller(); }
    bool attached() const { return !EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); }
    bool onScreen(QWidget* screen) const { return m_app->onScreen(screen); }
    bool versionsShown(const QString& current) const
    {
        return m_app->versionsShown(current, DemoReleases::versions().last());
    }

private slots:
    void initTestCase()
    {
        m_app = std::make_unique<AppFixture>();
        m_app->startDemo();
        QVERIFY(m_app->serveControllerOverTcp());
    }

    void aControllerAttachedAtLaunchLeadsToTheConnectedScreen()
    {
        // The way the application names and reaches it: --device tcp:HOST:PORT.
        DeviceAddress address;
        QVERIFY(
            DeviceAddress::parse(QStringLiteral("tcp:127.0.0.1:%1").arg(m_app->tcpServer().serverPort()), &address));
        const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        AccessoryTransport* transport
            = address.createTransport(EAAccessoryManager::sharedAccessoryManager(), protocols.mid(0, 1));
        QVERIFY(transport);
        EAAccessoryManager::sharedAccessoryManager().addTransport(transport);
        transport->start();
        QVERIFY(waitUntil([&] { return attached(); }));

        QVERIFY(QTest::qWaitForWindowExposed(m_app->showWindow()));
        QCOMPARE(root()->visibleScreen(), root()->existingHomeView());
        root()->followAccessoriesFromStart();

        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(KestGameControllerManager::sharedInstance().connectedGameControllers().empty());
        QVERIFY(root()->accessory);
        QVERIFY(versionsShown(controller().versionsText()));
    }

    void aControllerThatComesBackLeadsThereAgain()
    {
        m_app->toasts().clear();
        controller().unplug(-1);
        QVERIFY(onScreen(root()->existingHomeView()));
        QVERIFY(waitUntil([&] { return !attached(); }));
        QCOMPARE(m_app->toasts().texts(), QStringList({ localized("GamepadDisconnectManuallyPrompt") }));

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
        QVERIFY(waitUntil([&] { return !upgrade->model().currentVersionText().isEmpty(); }));

        QVERIFY(m_app->pickNewestOnline(upgrade));
        QTest::mouseClick(widgetNamed<QAbstractButton>(upgrade, "upgradeButton"), Qt::LeftButton);
        QVERIFY(upgrade->run() && upgrade->run()->isRunning());

        // Through the controller's restarts: the link drops and comes back.
        QVERIFY(waitUntil([&] { return !upgrade->run()->isRunning(); }, 4 * kPatienceMs));
        QCOMPARE(upgrade->run()->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(controller().versionsText(), newest);
        QVERIFY(waitUntil([&] { return upgrade->model().currentVersionText() == newest; }));
        QCOMPARE(root()->visibleScreen(), upgrade);
    }

    void cleanupTestCase() { m_app.reset(); }
};

QTEST_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
