// The application's screens and the moves between them, offscreen, driven by
// the simulated controller (accessory and game controller), the demo release
// server and real button presses.
#include "accessory/EADSessionController.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/SceneDelegate.h"
#include "app/SingleInstance.h"
#include "app/ToastOverlay.h"
#include "app/ViewController.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "input/KestGameControllerManager.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/transport/EASession.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/gamepad/VirtualGameController.h"
#include "sim/DemoEnvironment.h"
#include "sim/DemoReleases.h"
#include "sim/SimulatedController.h"
#include "support/AppFixture.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ScreenScaler.h"
#include "views/WebPageModule.h"
#include "views/ElidedLabel.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelHomeView.h"
#include "views/ZelKeyTestView.h"
#include "views/ZelMFiGameView.h"
#include "views/ZelTool.h"
#include "views/ZelTutorialView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testsupport;

namespace {
// The address of a single-instance socket file, for the tests' own sockets.
sockaddr_un socketAddressOf(const QString& file)
{
    const QByteArray path = QFile::encodeName(file);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), std::min(size_t(path.size()), sizeof address.sun_path - 1));
    return address;
}
} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;
    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    std::unique_ptr<VirtualGameController> m_gamepad;
    int m_firstPaintedRuns = 0;

    MainWindow* window() const { return m_app->window(); }
    ViewController* root() const { return m_app->root(); }
    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }

    bool onScreen(QWidget* screen) { return m_app->onScreen(screen); }

    // The versions and the newest online version filled in on the connected screen.
    bool versionsShown(const QString& current, const QString& latest) { return m_app->versionsShown(current, latest); }

    void refreshCatalogue() { ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime(); }

    bool sessionOpen() { return EADSessionController::sharedController().session() != nullptr; }

    // Waits until no version query is waiting for its answer, so that its
    // "not responding" prompt cannot come among the messages a test expects:
    // answered, or its timer run out (the session of a screen closing it).
    bool noVersionQueryPending()
    {
        return waitUntil([&] { return !engine().versionQueryPending(); },
            MainQueue::scaledMilliseconds(ZelFirmwareUpgradeManager::kCheckVersionTimeout) + kPatienceMs);
    }

    void unplug()
    {
        m_sim->controller().unplug(-1);
        QVERIFY(waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); }));
    }
    void plugBackIn()
    {
        m_sim->controller().plugIn();
        QVERIFY(m_sim->waitForAccessory());
    }

public:
    // The web page screens load the engine as the application does.
    static void initMain() { WebPageModule::prepareApplication(); }

private slots:
    void initTestCase()
    {
        // In real time: the 8-s version query and the engine's other limits must
        // not run out on a loaded machine. A test shortens only the timer it examines.
        m_app = std::make_unique<AppFixture>();
        m_toasts = &m_app->toasts();
        m_app->startDemo();
        m_app->showWindow();
        // Set as the application sets it, once the scene is there.
        window()->firstPainted = [this] { ++m_firstPaintedRuns; };
        QVERIFY(QTest::qWaitForWindowExposed(window()));
    }

    void launchShowsHomeOnly()
    {
        // What waits for the first screen runs once it is painted, and only once.
        QVERIFY(waitUntil([this] { return m_firstPaintedRuns == 1; }));
        window()->repaint();
        QCoreApplication::processEvents();
        QCOMPARE(m_firstPaintedRuns, 1);
        QCOMPARE(root()->visibleScreen(), root()->existingHomeView());
        QVERIFY(!root()->existingConnectedView());
        QVERIFY(!root()->accessory);
        // The connect button stays hidden; the prompt asks to attach the phone.
        QVERIFY(root()->homeView()->connectButton->isHidden());
        QCOMPARE(root()->homeView()->connectPromptLabel->text(), localized("ConnectGamepadPropmt"));
    }

    void gameControllerWithoutAccessoryChangesNothing()
    {
        VirtualGameController other(testsupport::controllerService());
        other.plugIn(); // announced at once; whatever it sets off is posted by now
        drainPostedEvents();
        QCOMPARE(root()->visibleScreen(), root()->existingHomeView());
        QVERIFY(!root()->accessory);
    }

    void gameControllerWithAccessoryShowsConnectedScreen()
    {
        m_sim = &m_app->attachSimulatedController();
        QVERIFY(m_sim->waitForAccessory());
        // No accessory check runs on its own: the accessory's arrival alone moves nothing.
        drainPostedEvents();
        QCOMPARE(root()->visibleScreen(), root()->existingHomeView());

        m_gamepad = std::make_unique<VirtualGameController>(testsupport::controllerService());
        m_gamepad->plugIn();
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(root()->accessory);
        QCOMPARE(EADSessionController::sharedController().protocolString(), root()->supportedProtocols.first());

        const QString newest = DemoReleases::versions().last();
        QVERIFY(versionsShown(m_sim->controller().versionsText(), newest));
        QVERIFY(!root()->connectedView()->upgradePromptRedDot->isHidden());
        QCOMPARE(
            root()->connectedView()->currentVersionTitleLabel->text(), localized("CurrentVersion") + localized(":"));

        // Once an accessory is recorded, game controllers no longer move screens.
        root()->connectedView()->closeAction();
        QVERIFY(onScreen(root()->existingHomeView()));
        m_gamepad->unplug();
        m_gamepad->plugIn();
        drainPostedEvents();
        QCOMPARE(root()->visibleScreen(), root()->existingHomeView());
        // ...but the connect button (hidden in use) still leads there.
        root()->connectedView()->currentVersionLabel->clear();
        root()->connectedView()->latestVersionLabel->clear();
        root()->homeView()->connectButton->click();
        QVERIFY(onScreen(root()->existingConnectedView()));
        // Settled: no answer of this showing is left to arrive in a later test.
        QVERIFY(versionsShown(m_sim->controller().versionsText(), newest));
    }

    void connectedScreenAsksAgainEachTimeAndMarksNewerRelease()
    {
        ZelConnectedView* connected = root()->connectedView();
        const QString demoServer = ZelFirmwareDataTool::serverBaseUrl();
        TestHttpServer catalogue;
        ZelFirmwareDataTool::setServerOverride(catalogue.baseUrl());
        const QString current = m_sim->controller().versionsText();

        // The demo trusts its root: a plain server's unsigned list is refused,
        // shown as refused, without the dot.
        catalogue.body = R"({"data":[{"ver":"9.9-9.9-9.9"}]})";
        refreshCatalogue();
        connected->upgradePromptRedDot->setHidden(false);
        root()->showView(connected);
        QVERIFY(versionsShown(current, localized("ReleaseListRefused")));
        QVERIFY(connected->upgradePromptRedDot->isHidden());
        // The rest reads the plain server as an unsigned deployment does.
        ReleaseSignature::forgetAddedKeys();

        // Same text: no dot.
        catalogue.body = QStringLiteral("{\"data\":[{\"ver\":\"%1\"}]}").arg(current).toUtf8();
        refreshCatalogue();
        connected->currentVersionLabel->clear();
        root()->showView(connected);
        QVERIFY(versionsShown(current, current));
        QVERIFY(connected->upgradePromptRedDot->isHidden());

        // Versions are compared as integer pairs: 1.50 is another version,
        // 1.05 the same as 1.5.
        m_sim->controller().setVersions(QStringLiteral("1.0-2.3-1.5"));
        catalogue.body = QStringLiteral("{\"data\":[{\"ver\":\"1.0-2.3-1.50\"}]}").toUtf8();
        refreshCatalogue();
        connected->currentVersionLabel->clear();
        root()->showView(connected);
        QVERIFY(versionsShown(QStringLiteral("1.0-2.3-1.5"), QStringLiteral("1.0-2.3-1.50")));
        QVERIFY(!connected->upgradePromptRedDot->isHidden());
        catalogue.body = QStringLiteral("{\"data\":[{\"ver\":\"1.0-2.3-1.05\"}]}").toUtf8();
        refreshCatalogue();
        connected->currentVersionLabel->clear();
        root()->showView(connected);
        QVERIFY(versionsShown(QStringLiteral("1.0-2.3-1.5"), QStringLiteral("1.0-2.3-1.05")));
        QVERIFY(connected->upgradePromptRedDot->isHidden());

        // Empty catalogue: "no newer version"; a failing server, or none
        // listening: "server unreachable" with the reason and a retry. The dot goes.
        for (int status : { 200, 500, 0 }) {
            catalogue.status = status == 0 ? 200 : status;
            catalogue.body = "{\"data\":[]}";
            ZelFirmwareDataTool::setServerOverride(
                status == 0 ? QStringLiteral("http://127.0.0.1:1") : catalogue.baseUrl()); // no one listens on port 1
            refreshCatalogue();
            ZelFirmwareDataTool::sharedInstance().firmwares.reset();
            connected->latestVersionLabel->clear();
            connected->upgradePromptRedDot->setHidden(false);
            root()->showView(connected);
            QVERIFY(versionsShown(current, localized(status == 200 ? "NoNewerVersion" : "ServerUnreachable")));
            QVERIFY(connected->upgradePromptRedDot->isHidden());
            QCOMPARE(connected->retryButton->isHidden(), status == 200);
            if (status != 200)
                QVERIFY2(connected->retryButton->toolTip().startsWith(
                             localized("ServerUnreachableReason").section(QStringLiteral("%1"), 0, 0)),
                    qPrintable(connected->retryButton->toolTip()));
            QCOMPARE(connected->latestVersionLabel->accessibleDescription(), connected->retryButton->toolTip());
            if (status != 200)
                QVERIFY(connected->retryButton->toolTip().endsWith(connected->releaseListErrorLabel->fullText()));
            QCOMPARE(connected->releaseListErrorLabel->toolTip(), connected->retryButton->toolTip());
            QCOMPARE(connected->releaseListErrorLabel->isHidden(), status == 200);
        }
        // Retry asks again: the server is back with a release.
        catalogue.body = R"({"data":[{"ver":"9.9-9.9-9.9"}]})";
        ZelFirmwareDataTool::setServerOverride(catalogue.baseUrl());
        connected->retryButton->click();
        QVERIFY(versionsShown(current, QStringLiteral("9.9-9.9-9.9")));
        QVERIFY(connected->retryButton->isHidden() && connected->retryButton->toolTip().isEmpty());
        QVERIFY(!connected->upgradePromptRedDot->isHidden());
        ZelFirmwareDataTool::setServerOverride(demoServer);
        QVERIFY(ReleaseSignature::addTrustedRoot(m_app->demo().rootKey()));
        ZelFirmwareDataTool::sharedInstance().firmwares.reset();
        refreshCatalogue();
    }

    void upgradeAndKeyTestNeedTheAccessory()
    {
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(noVersionQueryPending());
        const QStringList declared = root()->supportedProtocols;
        root()->supportedProtocols = { QStringLiteral("example.other.protocol") };
        m_toasts->clear();
        root()->connectedView()->keyTestButton->click();
        root()->connectedView()->upgradeButton->click();
        root()->supportedProtocols = declared;
        QCOMPARE(m_toasts->texts(), QStringList(2, localized("ConnectControllerToComputerPrompt")));
        QCOMPARE(m_toasts->toasts().front().seconds, 1.5);
        QCOMPARE(root()->visibleScreen(), root()->existingConnectedView());
        QVERIFY(!root()->existingKeyTestView());
    }

    void keyTestClosesTheSessionWhileShown()
    {
        root()->connectedView()->keyTestButton->click();
        QVERIFY(onScreen(root()->existingKeyTestView()));
        QVERIFY(!sessionOpen());
        // It slides up from below into the full root view.
        QVERIFY(waitUntil([&] { return root()->keyTestView()->geometry() == root()->rect(); }));

        root()->connectedView()->currentVersionLabel->clear();
        root()->keyTestView()->closeAction();
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(sessionOpen());
        // The version request made while the session was closed went out once it reopened.
        QVERIFY(versionsShown(m_sim->controller().versionsText(), DemoReleases::versions().last()));
    }

    void disconnectFromEachScreenGoesHome_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("connected") << "connected";
        QTest::newRow("key test") << "keyTest";
        QTest::newRow("upgrade with the list open") << "upgrade";
        QTest::newRow("game list opened from connected") << "MFi";
    }
    void disconnectFromEachScreenGoesHome()
    {
        QFETCH(QString, screen);
        QVERIFY(onScreen(root()->existingConnectedView()));
        ZelBaseView* target = root()->existingConnectedView();
        if (screen == QLatin1String("keyTest")) {
            root()->connectedView()->keyTestAction();
            target = root()->keyTestView();
        } else if (screen == QLatin1String("upgrade")) {
            root()->connectedView()->upgradeAction();
            target = root()->upgradeView();
            root()->upgradeView()->localFileAction();
            QVERIFY(!root()->upgradeView()->firmwareList()->isHidden());
        } else if (screen == QLatin1String("MFi")) {
            root()->connectedView()->MFiAction();
            target = root()->MFiGameView();
            QVERIFY(root()->MFiGameView()->showFromConnectedView);
        }
        QVERIFY(onScreen(target));

        QVERIFY(noVersionQueryPending());
        m_toasts->clear();
        unplug();
        QVERIFY(onScreen(root()->existingHomeView()));
        QVERIFY(target->isHidden());
        QCOMPARE(m_toasts->texts(), QStringList { localized("GamepadDisconnectManuallyPrompt") });
        QCOMPARE(m_toasts->toasts().front().seconds, 3.0);
        if (screen == QLatin1String("upgrade"))
            QVERIFY(root()->upgradeView()->firmwareList()->isHidden());
        // The recorded accessory stays.
        QVERIFY(root()->accessory);

        // Plugged in again: the accessory notification brings the connected screen back.
        plugBackIn();
        QVERIFY(onScreen(root()->existingConnectedView()));
    }

    void disconnectLeavesTutorialAndHomeGameListAlone()
    {
        root()->connectedView()->closeAction();
        QVERIFY(onScreen(root()->existingHomeView()));
        root()->homeView()->tutorialButton->click();
        QVERIFY(onScreen(root()->existingTutorialView()));
        QVERIFY(noVersionQueryPending());
        m_toasts->clear();
        unplug();
        QCOMPARE(m_toasts->texts(), QStringList { localized("GamepadDisconnectManuallyPrompt") });
        QCOMPARE(root()->visibleScreen(), root()->existingTutorialView());
        // The controller's return leaves the tutorial for the connected screen.
        plugBackIn();
        QVERIFY(onScreen(root()->existingConnectedView()));

        root()->connectedView()->closeAction();
        root()->homeView()->MFiGameButton->click();
        QVERIFY(onScreen(root()->existingMFiGameView()));
        QVERIFY(!root()->MFiGameView()->showFromConnectedView);
        unplug();
        QCOMPARE(root()->visibleScreen(), root()->existingMFiGameView());
        root()->MFiGameView()->closeAction();
        QVERIFY(onScreen(root()->existingHomeView()));
        plugBackIn();
        QVERIFY(onScreen(root()->existingConnectedView()));
    }

    void gameListClosesBackToWhereItWasOpened()
    {
        root()->connectedView()->MFiAction();
        QVERIFY(onScreen(root()->existingMFiGameView()));
        root()->MFiGameView()->closeAction();
        QVERIFY(onScreen(root()->existingConnectedView()));
    }

    void accessoryConnectKeepsUpgradeScreenAndChecksAgain()
    {
        root()->connectedView()->upgradeAction();
        ZelUpgradeView* upgrade = root()->upgradeView();
        QVERIFY(onScreen(upgrade));
        QVERIFY(waitUntil([&] { return !upgrade->model().currentVersionText().isEmpty(); }));
        QVERIFY(waitUntil([&] { return !engine().versionQueryPending(); }));
        // Observed after the root controller: whether the screen asked for the versions at once.
        bool asked = false;
        int observer = 0;
        NotificationCenter::defaultCenter().addObserver(&observer, EAAccessoryDidConnectNotification,
            [&](const Notification&) { asked = engine().versionQueryPending(); });
        // A second attachment of the same kind: the check passes, the screen stays.
        auto second = std::make_unique<SimulatedAttachment>();
        QVERIFY(second->waitForAccessory());
        NotificationCenter::defaultCenter().removeObserver(&observer);
        QVERIFY(asked);
        QCOMPARE(root()->visibleScreen(), upgrade);

        // It goes again, announced a moment later: home, like any controller
        // leaving; the engine's continuation for it, armed as it came, finds
        // it gone. The first one plugged in again, the upgrade screen is back.
        second.reset();
        QVERIFY(
            waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().size() == 1; }));
        QVERIFY(onScreen(root()->existingHomeView()));
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        unplug();
        plugBackIn();
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(m_sim->waitForSession());
        root()->connectedView()->upgradeAction();
        QVERIFY(onScreen(upgrade));
    }

    void upgradeCausedDisconnectChangesNothing()
    {
        ZelUpgradeView* upgrade = root()->upgradeView();
        QVERIFY(onScreen(upgrade));
        QVERIFY(noVersionQueryPending());
        // A run of the newest release: the controller restarts after its
        // boot loader and its left side, leaving and coming back each time.
        QVERIFY(m_sim->controller().setVersions(QStringLiteral("1.0-2.3-1.5")));
        upgrade->closeAction();
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(noVersionQueryPending());
        root()->connectedView()->upgradeAction();
        QVERIFY(onScreen(upgrade));
        QVERIFY(waitUntil([&] { return upgrade->model().currentVersionText() == QStringLiteral("1.0-2.3-1.5"); }));
        QVERIFY(noVersionQueryPending());
        QVERIFY(m_app->pickNewestOnline(upgrade));
        const int restarts = m_sim->controller().restartCount();
        m_toasts->clear();
        QTest::mouseClick(widgetNamed<QAbstractButton>(upgrade, "upgradeButton"), Qt::LeftButton);
        QVERIFY(upgrade->run() && upgrade->run()->isRunning());
        QVERIFY(waitUntil([&] { return !upgrade->run()->isRunning(); }, 4 * kPatienceMs));
        QCOMPARE(upgrade->run()->outcome(), UpgradeRun::Outcome::Completed);
        QVERIFY(m_sim->controller().restartCount() > restarts);
        // No "disconnected" message, and the screen never went home.
        QVERIFY2(!m_toasts->texts().contains(localized("GamepadDisconnectManuallyPrompt")),
            qPrintable(m_toasts->texts().join(u" | ")));
        QCOMPARE(root()->visibleScreen(), upgrade);
        QVERIFY(m_sim->waitForSession());
        QVERIFY(noVersionQueryPending());
        upgrade->closeAction();
        QVERIFY(onScreen(root()->existingConnectedView()));
    }

    void languageRule_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<unsigned>("code");
        QTest::addColumn<QString>("shorthand");
        QTest::newRow("zh-Hant-TW") << QStringList { QStringLiteral("zh-Hant-TW"), QStringLiteral("en") } << 1u
                                    << QStringLiteral("zh");
        QTest::newRow("zh-Hans") << QStringList { QStringLiteral("zh-Hans") } << 1u << QStringLiteral("zh");
        QTest::newRow("ja-JP") << QStringList { QStringLiteral("ja-JP"), QStringLiteral("zh-Hans") } << 4u
                               << QStringLiteral("ja");
        QTest::newRow("de-DE") << QStringList { QStringLiteral("de-DE"), QStringLiteral("ja-JP") } << 2u
                               << QStringLiteral("en");
        // "zh" anywhere wins over "ja".
        QTest::newRow("ja-x-zh") << QStringList { QStringLiteral("ja-x-zh") } << 1u << QStringLiteral("zh");
    }
    void languageRule()
    {
        QFETCH(QStringList, preferred);
        QFETCH(unsigned, code);
        QFETCH(QString, shorthand);
        Localization::shared().setPreferredLanguages(preferred);
        QCOMPARE(ZelTool::getSystemLanguage(), code);
        QCOMPARE(ZelTool::getSystemLanguageShorthand(), shorthand);
        Localization::shared().setPreferredLanguages({ QStringLiteral("en") });
    }

    void filesOpenedIntoTheApplicationBecomeLocalReleases()
    {
        const QString version = DemoReleases::versions().first();
        const QString archive = DemoReleases::folder() + QLatin1Char('/') + version + QStringLiteral(".zip");
        AppDelegate app;
        // Only file addresses are imported; every address is taken.
        QVERIFY(app.openURL(QUrl(QStringLiteral("https://127.0.0.1/") + version + QStringLiteral(".zip"))));
        QVERIFY(ZelFirmwareDataTool::sharedInstance().getLocalFirmwares().isEmpty());

        SceneDelegate scene;
        scene.sceneOpenURLContexts(
            { QUrl::fromLocalFile(archive), QUrl::fromLocalFile(archive + QStringLiteral("x")) });
        // Unpacked off the interface thread.
        QVERIFY(waitUntil([] { return !ZelFirmwareDataTool::sharedInstance().getLocalFirmwares().isEmpty(); }));
        const auto local = ZelFirmwareDataTool::sharedInstance().getLocalFirmwares();
        QCOMPARE(local.size(), 1);
        QCOMPARE(local.first().version, version);
        // The user's file is only read.
        QVERIFY(QFile::exists(archive));
    }

    void archivesDroppedOnTheWindowAreImported()
    {
        const QString version = DemoReleases::versions().value(1);
        const QString archive = DemoReleases::folder() + QLatin1Char('/') + version + QStringLiteral(".zip");
        QMimeData notArchives;
        notArchives.setUrls({ QUrl::fromLocalFile(DemoReleases::folder() + QStringLiteral("/notes.txt")) });
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &notArchives, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window(), &enter);
        QVERIFY(!enter.isAccepted());

        // A drag that carries an archive is taken, and its drop imports it.
        QMimeData archives;
        archives.setUrls({ QUrl::fromLocalFile(archive) });
        QDragEnterEvent enterWithArchive(QPoint(10, 10), Qt::CopyAction, &archives, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window(), &enterWithArchive);
        QVERIFY(enterWithArchive.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &archives, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window(), &drop);
        QVERIFY(waitUntil([&] {
            const QList<ZelFirmware> local = ZelFirmwareDataTool::sharedInstance().getLocalFirmwares();
            return std::any_of(
                local.cbegin(), local.cend(), [&](const ZelFirmware& f) { return f.version == version; });
        }));
        QStringList versions;
        for (const ZelFirmware& release : ZelFirmwareDataTool::sharedInstance().getLocalFirmwares())
            versions << release.version;
        QVERIFY2(versions.contains(version), qPrintable(versions.join(QLatin1Char(','))));
    }

    void secondLaunchHandsItsFilesOver()
    {
        const QString key = QStringLiteral("test-%1").arg(QCoreApplication::applicationPid());
        SingleInstance first(key);
        QVERIFY(!first.handOver({}));
        QList<QUrl> received;
        bool called = false;
        first.filesReceived = [&](const QList<QUrl>& files) {
            received = files;
            called = true;
        };
        const QList<QUrl> files { QUrl::fromLocalFile(QStringLiteral("/tmp/a b.zip")),
            QUrl::fromLocalFile(QStringLiteral("/tmp/c.zip")) };
        SingleInstance second(key);
        QVERIFY(second.handOver(files));
        QVERIFY(waitUntil([&] { return called; }));
        QCOMPARE(received, files);

        // A launch without files only asks for the window.
        called = false;
        SingleInstance third(key);
        QVERIFY(third.handOver({}));
        QVERIFY(waitUntil([&] { return called; }));
        QVERIFY(received.isEmpty());
    }

    // What a crash leaves at the socket's place, a socket file nobody
    // listens on or any other file, is replaced by the next launch.
    void staleSocketOfACrashedInstanceIsReplaced()
    {
        const QString key = QStringLiteral("stale-%1").arg(QCoreApplication::applicationPid());
        SingleInstance probe(key);
        const sockaddr_un address = socketAddressOf(probe.socketPath());
        const int crashed = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(::bind(crashed, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0);
        QVERIFY(::listen(crashed, 1) == 0);
        ::close(crashed); // the file stays, as after a crash
        QVERIFY(QFileInfo::exists(probe.socketPath()));
        QVERIFY(!probe.handOver({}));
        QVERIFY(probe.isListening());
        {
            SingleInstance later(key);
            QVERIFY(later.handOver({}));
        }
        QCOMPARE(QFileInfo(probe.socketPath()).permissions()
                & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
            QFile::Permissions());

        SingleInstance other(QStringLiteral("plain-%1").arg(QCoreApplication::applicationPid()));
        QFile plain(other.socketPath());
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!other.handOver({}));
        QVERIFY(other.isListening());
    }

    // A running instance outlives whatever reaches its socket: a message
    // far larger than any launch's, or one cut off, delivers nothing, and the
    // next launch is heard as ever. Its socket file goes with it.
    void aRunningInstanceIgnoresWhatIsNoLaunch()
    {
        const QString key = QStringLiteral("junk-%1").arg(QCoreApplication::applicationPid());
        QString path;
        {
            SingleInstance running(key);
            QVERIFY(!running.handOver({}));
            path = running.socketPath();
            int calls = 0;
            QList<QUrl> received;
            running.filesReceived = [&](const QList<QUrl>& files) {
                ++calls;
                received = files;
            };
            auto connectTo = [&] {
                const sockaddr_un address = socketAddressOf(path);
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
            };
            // Cut off: no empty line ends it.
            const int cut = connectTo();
            QVERIFY(cut >= 0);
            QVERIFY(::write(cut, "file:///tmp/x.zip\n", 18) == 18);
            ::close(cut);
            // Too large: the instance hangs up on it.
            const int flood = connectTo();
            QVERIFY(flood >= 0);
            const QByteArray junk(SingleInstance::kMaxMessageBytes + 4096, 'x');
            qsizetype sent = 0;
            bool hungUp = false;
            QVERIFY(waitUntil([&] {
                const ssize_t n
                    = ::send(flood, junk.constData() + sent, size_t(junk.size() - sent), MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n > 0)
                    sent += n;
                hungUp = n < 0 && errno != EAGAIN;
                return hungUp || sent == junk.size();
            }));
            char byte;
            QVERIFY(waitUntil([&] { return hungUp || ::recv(flood, &byte, 1, MSG_DONTWAIT) == 0; }));
            ::close(flood);

            const QList<QUrl> files { QUrl::fromLocalFile(QStringLiteral("/tmp/after.zip")) };
            SingleInstance next(key);
            QVERIFY(next.handOver(files));
            QVERIFY(waitUntil([&] { return calls > 0; }));
            QCOMPARE(calls, 1);
            QCOMPARE(received, files);
        }
        QVERIFY(!QFileInfo::exists(path));
    }

    // The socket's folder is shared by every user: a socket another user put
    // at its name gets no files, and another user's connection to ours
    // delivers none. (Changing user needs root: skipped otherwise.)
    void filesGoOnlyToAnInstanceOfThisUser()
    {
        if (::geteuid() != 0)
            QSKIP("changing to another user needs root");
        constexpr uid_t kNobody = 65534;
        const QString key = QStringLiteral("user-%1").arg(QCoreApplication::applicationPid());
        SingleInstance mine(key);
        const QByteArray path = QFile::encodeName(mine.socketPath());
        const sockaddr_un address = socketAddressOf(mine.socketPath());
        int report[2];
        QVERIFY(::pipe(report) == 0);
        // Another user listens at the name and reports how many bytes reach it.
        const pid_t other = ::fork();
        if (other == 0) {
            ::alarm(30);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::setuid(kNobody) != 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
                || ::chmod(address.sun_path, 0777) != 0 || ::listen(fd, 1) != 0)
                ::_exit(1);
            char ready = 'r';
            (void)!::write(report[1], &ready, 1);
            const int peer = ::accept(fd, nullptr, nullptr);
            char buffer[256];
            ssize_t n, total = 0;
            while ((n = ::read(peer, buffer, sizeof buffer)) > 0)
                total += n;
            const char got = total > 0 ? 'y' : 'n';
            (void)!::write(report[1], &got, 1);
            ::_exit(0);
        }
        QVERIFY(other > 0);
        ::close(report[1]);
        char answer = 0;
        QCOMPARE(::read(report[0], &answer, 1), ssize_t(1));
        QCOMPARE(answer, 'r');
        QVERIFY(!mine.handOver({ QUrl::fromLocalFile(QStringLiteral("/tmp/secret.zip")) }));
        QCOMPARE(::read(report[0], &answer, 1), ssize_t(1));
        QCOMPARE(answer, 'n');
        ::close(report[0]);
        int status = 0;
        QCOMPARE(::waitpid(other, &status, 0), other);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);

        // Ours, opened to everybody: another user's launch is hung up on unheard.
        QVERIFY(mine.isListening());
        QVERIFY(::chmod(path.constData(), 0777) == 0);
        QList<QList<QUrl>> received;
        mine.filesReceived = [&](const QList<QUrl>& files) { received.append(files); };
        const pid_t launch = ::fork();
        if (launch == 0) {
            ::alarm(30);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::setuid(kNobody) != 0
                || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
                ::_exit(1);
            (void)!::write(fd, "file:///tmp/x.zip\n\n", 19);
            char byte;
            // Hung up on: the end, or a reset for what was never read.
            ::_exit(::read(fd, &byte, 1) <= 0 ? 0 : 2);
        }
        QVERIFY(launch > 0);
        QVERIFY(waitUntil([&] { return ::waitpid(launch, &status, WNOHANG) == launch; }));
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
        // Our own next launch is heard as ever.
        SingleInstance next(key);
        QVERIFY(next.handOver({}));
        QVERIFY(waitUntil([&] { return !received.isEmpty(); }));
        QCOMPARE(received, QList<QList<QUrl>> { QList<QUrl>() });
    }

    // The home and connected screens grow with the window up to a maximum
    // and shrink to a minimum, by one factor, and come back exactly to
    // their drawn sizes: text, tiles and their icons.
    void screensGrowAndShrinkWithTheWindow()
    {
        QCOMPARE(ScreenScaler::scaleFor(QSize(1024, 576)), 1.0);
        QCOMPARE(ScreenScaler::scaleFor(QSize(1280, 800)), 1.25); // the narrower side
        QCOMPARE(ScreenScaler::scaleFor(QSize(720, 405)), ScreenScaler::kSmallest);
        QCOMPARE(ScreenScaler::scaleFor(QSize(1920, 1080)), ScreenScaler::kLargest);
        QCOMPARE(ScreenScaler::scaleFor(QSize(3840, 2160)), ScreenScaler::kLargest);

        ZelConnectedView connected(ZelFirmwareUpgradeManager::sharedInstance(), ZelFirmwareDataTool::sharedInstance());
        connected.resize(1024, 576);
        connected.showAsNewlyAdded(); // without asking the controller
        ZelHomeView home;
        home.resize(1024, 576);
        home.showAsNewlyAdded();
        QVERIFY(QTest::qWaitForWindowExposed(&connected));
        QAbstractButton* tile = connected.upgradeButton;
        QAbstractButton* prompt = home.MFiGameButton;
        const QSize tileSize = tile->size();
        const QSize tileMinimum = tile->minimumSize();
        const QSize iconSize = tile->iconSize();
        const int tileText = QFontInfo(tile->font()).pixelSize();
        const int promptText = QFontInfo(prompt->font()).pixelSize();

        for (auto* screen : { static_cast<QWidget*>(&connected), static_cast<QWidget*>(&home) })
            screen->resize(1920, 1080);
        QVERIFY(waitUntil([&] { return connected.scaler().scale() > 1.0 && home.scaler().scale() > 1.0; }));
        QCOMPARE(connected.scaler().scale(), ScreenScaler::kLargest);
        QCOMPARE(tile->iconSize(), iconSize * ScreenScaler::kLargest);
        QVERIFY(tile->minimumWidth() >= int(tileMinimum.width() * ScreenScaler::kLargest));
        QVERIFY(waitUntil([&] { return tile->width() > tileSize.width(); }));
        QCOMPARE(QFontInfo(tile->font()).pixelSize(), connected.scaler().scaledFont(tileText));
        QVERIFY(QFontInfo(prompt->font()).pixelSize() > promptText);

        for (auto* screen : { static_cast<QWidget*>(&connected), static_cast<QWidget*>(&home) })
            screen->resize(720, 405);
        QVERIFY(waitUntil([&] { return connected.scaler().scale() < 1.0; }));
        QVERIFY(tile->iconSize().width() < iconSize.width());
        QVERIFY(QFontInfo(prompt->font()).pixelSize() >= std::min(promptText, ScreenScaler::kSmallestFontPixels));

        // Back to the drawn size: the drawn sizes, exactly.
        for (auto* screen : { static_cast<QWidget*>(&connected), static_cast<QWidget*>(&home) })
            screen->resize(1024, 576);
        QVERIFY(waitUntil([&] { return connected.scaler().scale() == 1.0 && tile->size() == tileSize; }));
        QCOMPARE(tile->minimumSize(), tileMinimum);
        QCOMPARE(tile->iconSize(), iconSize);
        QCOMPARE(QFontInfo(tile->font()).pixelSize(), tileText);
        QCOMPARE(QFontInfo(prompt->font()).pixelSize(), promptText);
    }

    // Every screen closes from the same place: the first thing in its
    // title bar, before its title.
    void closeButtonsStandInTheSamePlaceOnEveryScreen()
    {
        ZelUpgradeView upgrade(ZelFirmwareUpgradeManager::sharedInstance(), ZelFirmwareDataTool::sharedInstance());
        ZelKeyTestView keyTest(KestGameControllerManager::sharedInstance(), EADSessionController::sharedController());
        ZelTutorialView tutorial;
        ZelMFiGameView games;
        for (QWidget* screen : std::initializer_list<QWidget*> { &upgrade, &keyTest, &tutorial, &games }) {
            const char* name = screen->metaObject()->className();
            auto* close = screen->findChild<QAbstractButton*>(QStringLiteral("closeButton"));
            auto* title = screen->findChild<QLabel*>(QStringLiteral("titleLabel"));
            QVERIFY2(close && title, name);
            QBoxLayout* bar = nullptr;
            for (QBoxLayout* layout : screen->findChildren<QBoxLayout*>())
                if (layout->indexOf(close) >= 0)
                    bar = layout;
            QVERIFY2(bar && bar->direction() == QBoxLayout::LeftToRight, name);
            QVERIFY2(bar->indexOf(close) == 0 && bar->indexOf(title) == 1, name);
        }
    }

    void toastOverlayShowsOneTextAndLetsClicksThrough()
    {
        TimeScale fast(0.1); // the toast's time and its fading
        ToastOverlay overlay;
        MessageToast::setPresenter(&overlay);
        window()->activateWindow();
        MessageToast::showMsgWithtext(QStringLiteral("first"));
        MessageToast::showMsgWithtext(QStringLiteral("second"), 3.0);
        QLabel* toast = overlay.currentToast();
        QVERIFY(toast);
        QCOMPARE(toast->text(), QStringLiteral("second"));
        QCOMPARE(toast->window(), window());
        QVERIFY(toast->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(window()->findChildren<QLabel*>(QStringLiteral("toast")).size(), 1);
        // Gone after its time (3 s, scaled), fading out.
        QVERIFY(waitUntil([&] { return !overlay.currentToast(); }));
        QVERIFY(waitUntil([&] { return window()->findChildren<QLabel*>(QStringLiteral("toast")).isEmpty(); }));
        MessageToast::setPresenter(m_toasts);
    }

    // A toast belongs to the screen it was shown on: the next screen takes it
    // away. It stands at the window's foot, clear of the tiles, and says
    // nothing the window shows already. The message of a disconnection is
    // shown once the screens have changed, and stays.
    void toastsGoWithTheirScreenAndNeverRepeatIt()
    {
        if (!root()->existingConnectedView() || root()->visibleScreen() != root()->existingConnectedView()) {
            if (root()->visibleScreen() != root()->existingHomeView())
                root()->escapeAction();
            plugBackIn();
        }
        QVERIFY(onScreen(root()->existingConnectedView()));
        QVERIFY(noVersionQueryPending());
        ZelConnectedView* connected = root()->existingConnectedView();
        ToastOverlay overlay;
        MessageToast::setPresenter(&overlay);
        window()->activateWindow();

        MessageToast::showMsgWithtext(QStringLiteral("about the connected screen"), 30.0);
        QLabel* toast = overlay.currentToast();
        QVERIFY(toast && toast->isVisible());
        QCOMPARE(toast->geometry().bottom(), window()->height() - ToastOverlay::kBottomMargin - 1);
        for (QWidget* tile :
            { connected->upgradeButton.data(), connected->keyTestButton.data(), connected->MFiButton.data() })
            QVERIFY(!QRect(tile->mapTo(window(), QPoint(0, 0)), tile->size()).intersects(toast->geometry()));

        connected->MFiAction();
        QVERIFY(onScreen(root()->existingMFiGameView()));
        QVERIFY(!overlay.currentToast());
        QVERIFY(window()->findChildren<QLabel*>(QStringLiteral("toast")).isEmpty());
        root()->existingMFiGameView()->closeAction();
        QVERIFY(onScreen(connected));

        // The latest version's place says it already: no toast says it again.
        QVERIFY(waitUntil([&] { return !connected->latestVersionLabel->text().isEmpty(); }));
        MessageToast::showMsgWithtext(connected->latestVersionLabel->text());
        QVERIFY(!overlay.currentToast());
        MessageToast::showMsgWithtext(QStringLiteral("something else"));
        QVERIFY(overlay.currentToast());

        QVERIFY(noVersionQueryPending());
        unplug();
        QVERIFY(onScreen(root()->existingHomeView()));
        QVERIFY(overlay.currentToast());
        QCOMPARE(overlay.currentToast()->text(), localized("GamepadDisconnectManuallyPrompt"));
        overlay.dismiss();
        MessageToast::setPresenter(m_toasts);
        plugBackIn();
        QVERIFY(onScreen(root()->existingConnectedView()));
    }

    void cleanupTestCase()
    {
        m_gamepad.reset();
        m_app->detachSimulatedController();
        m_app.reset();
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
