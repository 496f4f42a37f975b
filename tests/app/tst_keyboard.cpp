// The application with the keyboard alone, and as assistive technology sees
// it: from home through the web pages, an upgrade and the key test with Tab,
// Enter and Escape only, every screen on the way read through QAccessible
// for a control without a name.
#include "app/MainWindow.h"
#include "app/ViewController.h"
#include "platform/gamepad/VirtualGameController.h"
#include "sim/DemoReleases.h"
#include "sim/SimulatedController.h"
#include "support/AppFixture.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeRun.h"
#include "views/WebPage.h"
#include "views/WebPageModule.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelHomeView.h"
#include "views/ZelKeyTestView.h"
#include "views/ZelMFiGameView.h"
#include "views/ZelTutorialView.h"
#include "views/ZelUpgradeHistoryView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace testsupport;

namespace {

// How many Tab presses a screen may take to reach a control.
constexpr int kMostTabs = 40;

bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
        return true;
    default:
        return false;
    }
}

// The controls without a name under an accessible object, web page contents
// aside; *seen counts the controls looked at.
void unnamed(QAccessibleInterface* node, QStringList* out, int* seen)
{
    if (!node || node->state().invisible)
        return;
    if (isControl(node->role()))
        ++*seen;
    if (isControl(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty())
        out->append(node->object() ? node->object()->objectName() + QLatin1Char(' ')
                    + QString::fromLatin1(node->object()->metaObject()->className())
                                   : QStringLiteral("(no object)"));
    if (node->object() && node->object()->inherits("QWebEngineView"))
        return;
    for (int i = 0; i < node->childCount(); ++i)
        unnamed(node->child(i), out, seen);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;

    MainWindow* window() const { return m_app->window(); }
    ViewController* root() const { return m_app->root(); }
    // On top, and slid all the way in.
    bool onScreen(QWidget* screen) const
    {
        return m_app->onScreen(screen) && waitUntil([&] { return screen->pos() == QPoint(0, 0); });
    }

    void press(Qt::Key key)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window();
        QTest::keyClick(target, key);
    }

    // Tab until the control has the keyboard; false when it never comes.
    bool tabTo(const QWidget* control)
    {
        for (int i = 0; i < kMostTabs && QApplication::focusWidget() != control; ++i)
            press(Qt::Key_Tab);
        if (QApplication::focusWidget() != control)
            qWarning() << "focus on" << QApplication::focusWidget() << "not" << control;
        return QApplication::focusWidget() == control;
    }

    // Every control of the screen on top, and of the window, has a name.
    void verifyNamed(const char* where)
    {
        QStringList missing;
        int seen = 0;
        unnamed(QAccessible::queryAccessibleInterface(window()), &missing, &seen);
        QVERIFY2(seen > 0, where);
        QVERIFY2(
            missing.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(where), missing.join(u", "))));
    }

public:
    // The web page screens load the engine as the application does.
    static void initMain() { WebPageModule::prepareApplication(); }

private slots:
    void initTestCase()
    {
        m_app = std::make_unique<AppFixture>();
        m_app->startDemo();
        m_app->showWindow(true);
        window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }

    void homeAndTheTutorial()
    {
        QVERIFY(onScreen(root()->existingHomeView()));
        verifyNamed("home");
        QVERIFY(tabTo(root()->homeView()->tutorialButton));
        press(Qt::Key_Return);
        QVERIFY(onScreen(root()->existingTutorialView()));
        QVERIFY(waitUntil([&] {
            const WebPage* page = root()->existingTutorialView()->webPage;
            return page && !page->title().isEmpty();
        }));
        verifyNamed("tutorial");
        press(Qt::Key_Escape);
        QVERIFY(onScreen(root()->existingHomeView()));
    }

    void connectedAndTheGameList()
    {
        m_app->attachSimulatedController();
        QVERIFY(waitUntil([&] { return root()->existingConnectedView() != nullptr; }));
        QVERIFY(onScreen(root()->existingConnectedView()));
        ZelConnectedView* connected = root()->existingConnectedView();
        QVERIFY(waitUntil([&] { return !connected->latestVersionLabel->text().isEmpty(); }));
        verifyNamed("connected");
        QVERIFY(tabTo(connected->MFiButton));
        press(Qt::Key_Enter);
        QVERIFY(onScreen(root()->existingMFiGameView()));
        verifyNamed("games");
        press(Qt::Key_Escape);
        QVERIFY(onScreen(connected));
    }

    void anUpgradeFromTheKeyboard()
    {
        ZelConnectedView* connected = root()->existingConnectedView();
        QVERIFY(tabTo(connected->upgradeButton));
        press(Qt::Key_Return);
        ZelUpgradeView* upgrade = root()->existingUpgradeView();
        QVERIFY(onScreen(upgrade));
        QVERIFY(waitUntil([&] { return !upgrade->model().latestVersionText().isEmpty(); }));
        verifyNamed("upgrade");

        // The history and back.
        QVERIFY(tabTo(widgetNamed<QAbstractButton>(upgrade, "historyButton")));
        press(Qt::Key_Return);
        QVERIFY(waitUntil([&] { return upgrade->history() && upgrade->history()->isVisible(); }));
        verifyNamed("history");
        press(Qt::Key_Escape);
        QVERIFY(upgrade->history()->isHidden());
        QCOMPARE(root()->visibleScreen(), upgrade);

        // The online list: the keyboard lands in it, Escape closes it, Enter picks.
        QVERIFY(tabTo(widgetNamed<QAbstractButton>(upgrade, "remoteFileButton")));
        press(Qt::Key_Return);
        QVERIFY(
            waitUntil([&] { return upgrade->firmwareList()->tableView->count() == DemoReleases::versions().size(); }));
        QCOMPARE(QApplication::focusWidget(), upgrade->firmwareList()->tableView);
        verifyNamed("list");
        press(Qt::Key_Escape);
        QVERIFY(upgrade->firmwareList()->isHidden());
        QCOMPARE(root()->visibleScreen(), upgrade);
        QVERIFY(tabTo(widgetNamed<QAbstractButton>(upgrade, "remoteFileButton")));
        press(Qt::Key_Return);
        QVERIFY(waitUntil([&] { return upgrade->firmwareList()->isVisible(); }));
        QListWidget* table = upgrade->firmwareList()->tableView;
        table->setCurrentRow(-1);
        press(Qt::Key_Down);
        QVERIFY(table->currentRow() >= 0);
        press(Qt::Key_Return);
        QVERIFY(upgrade->firmwareList()->isHidden());
        QVERIFY(waitUntil([&] { return widgetNamed<QAbstractButton>(upgrade, "upgradeButton")->isVisible(); }));

        QVERIFY(tabTo(widgetNamed<QAbstractButton>(upgrade, "upgradeButton")));
        press(Qt::Key_Return);
        QVERIFY(upgrade->run() && upgrade->run()->isRunning());
        // A control that cannot act is disabled, and Escape does not leave a run.
        QVERIFY(!widgetNamed<QAbstractButton>(upgrade, "remoteFileButton")->isEnabled());
        press(Qt::Key_Escape);
        QCOMPARE(root()->visibleScreen(), upgrade);
        verifyNamed("upgrading");
        // Closing the window during the run asks; staying keeps window and run.
        window()->close();
        auto* alert = window()->findChild<QMessageBox*>(QStringLiteral("quitDuringUpgradeAlert"));
        QVERIFY(alert && alert->isVisible());
        QVERIFY(window()->isVisible());
        alert->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(
            waitUntil([&] { return !window()->findChild<QMessageBox*>(QStringLiteral("quitDuringUpgradeAlert")); }));
        QVERIFY(window()->isVisible());
        window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        QVERIFY(upgrade->run()->isRunning() || upgrade->run()->outcome() == UpgradeRun::Outcome::Completed);
        QVERIFY(waitUntil([&] { return !upgrade->run()->isRunning(); }, 4 * kPatienceMs));
        QCOMPARE(upgrade->run()->outcome(), UpgradeRun::Outcome::Completed);
        verifyNamed("completed");
        press(Qt::Key_Escape);
        QVERIFY(onScreen(connected));
    }

    void theKeyTest()
    {
        // A game controller with motors beside the accessory: the key test's panel offers them.
        VirtualGameController pad(testsupport::controllerService());
        pad.offerHaptics(true, true, true);
        pad.plugIn();
        ZelConnectedView* connected = root()->existingConnectedView();
        QVERIFY(tabTo(connected->keyTestButton));
        press(Qt::Key_Return);
        QVERIFY(onScreen(root()->existingKeyTestView()));
        verifyNamed("key test");
        ZelKeyTestView* keyTest = root()->existingKeyTestView();
        // The motors have a page of their own, reached as a tab.
        QVERIFY(waitUntil([&] { return keyTest->motorsTab->isVisible(); }));
        QVERIFY(tabTo(keyTest->motorsTab));
        press(Qt::Key_Return);
        QVERIFY(keyTest->rumbleButton->isVisible());
        QVERIFY(tabTo(keyTest->rumbleButton));
        press(Qt::Key_Return);
        QVERIFY(waitUntil([&] { return pad.haptics().requests > 0 && pad.haptics().rumbleMs > 0; }));
        // Its close button is on the keyboard's way too.
        QVERIFY(tabTo(keyTest->closeButton));
        press(Qt::Key_Escape);
        QVERIFY(onScreen(connected));
    }

    void cleanupTestCase() { m_app.reset(); }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
