// The key test screen driven by a virtual game controller through the
// game-controller service and the input manager, as the application runs it.
#include "accessory/EADSessionController.h"
#include "input/KestGameControllerManager.h"
#include "input/ControllerCheck.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/transport/EASession.h"
#include "platform/runtime/Localization.h"
#include "platform/transport/LocalLink.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/gamepad/SdlGameControllerSource.h"
#include "platform/gamepad/VirtualGameController.h"
#include "support/SdlVirtualPad.h"
#include "support/StickShapes.h"
#include "support/TestSupport.h"
#include "views/ElidedLabel.h"
#include "views/GradientLayer.h"
#include "views/ZelAnalogueView.h"
#include "views/ZelKeyTestView.h"
#include "views/ZelLightColourDialog.h"
#include "views/ZelMappingView.h"
#include "views/ZelMotionView.h"
#include "views/ZelStickCheckView.h"
#include "views/ZelTouchpadView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace {

using Button = VirtualGameController::Button;
using Stick = VirtualGameController::Stick;
using Element = QPointer<QAbstractButton> ZelKeyTestView::*;

struct KeyCase {
    Button button;
    Element element;
};

const KeyCase kNormalKeys[] = {
    { Button::A, &ZelKeyTestView::buttonA },
    { Button::B, &ZelKeyTestView::buttonB },
    { Button::X, &ZelKeyTestView::buttonX },
    { Button::Y, &ZelKeyTestView::buttonY },
    { Button::L1, &ZelKeyTestView::buttonL1 },
    { Button::L2, &ZelKeyTestView::buttonL2 },
    { Button::L3, &ZelKeyTestView::buttonL3 },
    { Button::R1, &ZelKeyTestView::buttonR1 },
    { Button::R2, &ZelKeyTestView::buttonR2 },
    { Button::R3, &ZelKeyTestView::buttonR3 },
    { Button::Home, &ZelKeyTestView::buttonHome },
    { Button::Menu, &ZelKeyTestView::buttonMenu },
    { Button::Options, &ZelKeyTestView::buttonOptions },
};
const KeyCase kArrows[] = {
    { Button::Up, &ZelKeyTestView::buttonUp },
    { Button::Down, &ZelKeyTestView::buttonDown },
    { Button::Left, &ZelKeyTestView::buttonLeft },
    { Button::Right, &ZelKeyTestView::buttonRight },
};

int layerCount(const QAbstractButton* key)
{
    return int(key->findChildren<GradientLayer*>(Qt::FindDirectChildrenOnly).size());
}

int borderWidth(const QWidget* widget)
{
    return widget->property("borderWidth").toInt();
}

bool atRest(const QAbstractButton* key)
{
    return !key->isChecked() && layerCount(key) == 0 && borderWidth(key) == 1;
}

bool lit(const QAbstractButton* key)
{
    return key->isChecked() && layerCount(key) >= 1 && borderWidth(key) == 0;
}

QPointF centreOf(const QWidget* widget)
{
    return QRectF(widget->geometry()).center();
}

// Every other key shows nothing: normal keys at rest, arrows hidden.
QString othersAtRest(ZelKeyTestView& view, const QAbstractButton* except)
{
    for (const KeyCase& k : kNormalKeys)
        if (view.*k.element != except && !atRest(view.*k.element))
            return (view.*k.element)->objectName();
    for (const KeyCase& k : kArrows)
        if (view.*k.element != except && !(view.*k.element)->isHidden())
            return (view.*k.element)->objectName();
    return QString();
}

// A mapping editor's prompt answered with a button of an SDL joystick: held
// until taken, then let go; whether the editor went on to the next element.
bool pressOn(testsupport::SdlVirtualPad& pad, const MappingEditor& editor, int button)
{
    const int before = editor.index();
    pad.rawButton(button, true);
    const bool taken = testsupport::waitUntil([&editor] { return editor.isWaitingForRelease(); });
    pad.rawButton(button, false);
    return taken && testsupport::waitUntil([&editor, before] { return editor.index() == before + 1; });
}

// The ways code shows and hides a screen.
enum class Way { SetHidden, SetVisible, ShowHide, AsWidget };

// An accessory for the session controller, so that its session can be opened
// and closed; the controller is left without accessory afterwards.
class AccessorySession {
public:
    AccessorySession()
    {
        const QString protocol = QStringLiteral("example.q3dart.protocol");
        EADSessionController::sharedController().setupControllerForAccessory(
            EAAccessory::create({ protocol }, &m_link), protocol);
    }
    ~AccessorySession()
    {
        EADSessionController& session = EADSessionController::sharedController();
        session.closeSession();
        session.setupControllerForAccessory(nullptr, QString());
    }
    AccessorySession(const AccessorySession&) = delete;
    AccessorySession& operator=(const AccessorySession&) = delete;

private:
    LocalLink m_link;
};

} // namespace

class TestKeyTestView : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    std::unique_ptr<VirtualGameController> m_pad;
    std::unique_ptr<ZelKeyTestView> m_view;

    ZelKeyTestView& view() { return *m_view; }

    // The screen in a root view of a size, as the application sizes it, and
    // its layout settled at that size.
    bool resized(const QSize& size)
    {
        view().setGeometry(QRect(QPoint(0, 0), size));
        // Nested layouts settle over a few rounds of posted events.
        return testsupport::waitUntil([&] {
            const QWidget* panel = view().leftJoystick->parentWidget();
            return panel->rect().contains(view().rightJoystick->geometry())
                && view().leftJoystick->geometry().right() < view().rightJoystick->x();
        });
    }

private slots:
    void initTestCase()
    {
        KestGameControllerManager::sharedInstance(); // follows controllers from here on, as at start
        // Mappings are kept in the test's own configuration folder.
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void init()
    {
        // The sticks' last positions are shared by the whole process: bring
        // them to the centre before a screen listens.
        m_pad = testsupport::plugInCentredPad();
        m_view = std::make_unique<ZelKeyTestView>(
            KestGameControllerManager::sharedInstance(), EADSessionController::sharedController());
        m_view->resize(960, 540);
        m_view->show();
    }

    void cleanup()
    {
        m_view.reset();
        m_pad.reset();
    }

    void buildsWithArrowsHiddenAndKeysAtRest()
    {
        for (const KeyCase& k : kArrows)
            QVERIFY((view().*k.element)->isHidden());
        for (const KeyCase& k : kNormalKeys)
            QVERIFY2(atRest(view().*k.element), qPrintable((view().*k.element)->objectName()));
        // Half the left ring as the interface sizes it, also the rings' roundness.
        QCOMPARE(view().joystickRadius, view().leftJoystick->width() * 0.5);
        QVERIFY(view().joystickRadius > 0);
        for (QWidget* ring : { view().leftJoystick.data(), view().rightJoystick.data() }) {
            QCOMPARE(ring->property("cornerRadius").toDouble(), view().joystickRadius);
            QCOMPARE(borderWidth(ring), 1);
            QVERIFY(!ring->layout()); // the knobs stay where they are moved
        }
        QCOMPARE(view().joystickTabLabel->text(), localized("Joystick"));
        QCOMPARE(view().dpadTabLabel->text(), localized("ArrowKeys"));
        QCOMPARE(view().leftKeyTabLabel->text(), localized("LeftKeys"));
        QCOMPARE(view().rightKeyTabLabel->text(), localized("RightKeys"));
        QVERIFY(!view().joystickTabLabel->text().isEmpty());
    }

    void eachKeyLightsItsOwnElementOnly()
    {
        for (const KeyCase& k : kNormalKeys) {
            QAbstractButton* key = view().*k.element;
            QVERIFY(m_pad->press(k.button));
            QVERIFY2(lit(key), qPrintable(key->objectName()));
            QCOMPARE(othersAtRest(view(), key), QString());
            QVERIFY(m_pad->release(k.button));
            QVERIFY2(atRest(key), qPrintable(key->objectName()));
        }
        // Each pad report also reports the other three directions released:
        // they stay hidden.
        for (const KeyCase& k : kArrows) {
            QAbstractButton* arrow = view().*k.element;
            QVERIFY(m_pad->press(k.button));
            QVERIFY2(!arrow->isHidden(), qPrintable(arrow->objectName()));
            QVERIFY(!arrow->isChecked() && layerCount(arrow) == 0);
            QCOMPARE(othersAtRest(view(), arrow), QString());
            QVERIFY(m_pad->release(k.button));
            QVERIFY(arrow->isHidden());
        }
    }

    void analogueReportsStackLayersThatOneReleaseRemoves()
    {
        // Hidden, the screen keeps following the controller.
        view().setHidden(true);
        QAbstractButton* a = view().buttonA;
        const QList<int> layersAfter = { 0, 1, 2, 3 }; // 0.3 is below the press threshold
        const QList<float> values = { 0.3f, 0.6f, 1.0f, 0.8f };
        for (int i = 0; i < values.size(); ++i) {
            m_pad->setButton(Button::A, values[i]);
            QCOMPARE(layerCount(a), layersAfter[i]);
        }
        QVERIFY(lit(a));
        // The title stays above every layer.
        const QList<QWidget*> stack = a->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(stack.last()->objectName(), QStringLiteral("titleLayer"));
        QCOMPARE(qobject_cast<QLabel*>(stack.last())->text(), QStringLiteral("A"));
        for (QWidget* layer : a->findChildren<GradientLayer*>(Qt::FindDirectChildrenOnly)) {
            QCOMPARE(layer->geometry(), a->rect());
            QVERIFY(layer->testAttribute(Qt::WA_TransparentForMouseEvents));
        }

        m_pad->setButton(Button::A, 0.0f);
        QVERIFY(atRest(a));
        QCOMPARE(a->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 1); // the title alone
    }

    void knobsMoveByTheRadiusTimesTheStick()
    {
        view().joystickRadius = 40;
        const QPointF left = centreOf(view().leftJoystickButton);
        const QPointF right = centreOf(view().rightJoystickButton);
        QVERIFY(m_pad->moveStick(Stick::Left, 0.5f, -0.25f));
        QCOMPARE(centreOf(view().leftJoystickButton), left + QPointF(20, 10));
        QCOMPARE(centreOf(view().rightJoystickButton), right);
        // Both knobs use the left ring's radius.
        QVERIFY(m_pad->moveStick(Stick::Right, -0.5f, 0.5f));
        QCOMPARE(centreOf(view().rightJoystickButton), right + QPointF(-20, -20));

        // Small movements add up although each is less than a pixel (0.4).
        for (int i = 1; i <= 10; ++i)
            m_pad->moveStick(Stick::Right, -0.5f + 0.01f * float(i), 0.5f);
        QCOMPARE(centreOf(view().rightJoystickButton), right + QPointF(-16, -20));
        m_pad->moveStick(Stick::Right, 0.0f, 0.0f);
        QCOMPARE(centreOf(view().rightJoystickButton), right);
    }

    // From the smallest window to a large one the keys, rings and knobs grow
    // and shrink together: the keys keep their proportions, the rings stay
    // apart inside their panel, and a pushed knob stays on its ring's edge.
    void keysRingsAndKnobsScaleTogether()
    {
        QWidget root;
        root.resize(1920, 1080);
        view().setParent(&root);
        view().show();
        root.show();
        QVERIFY(QTest::qWaitForWindowExposed(&root));
        QVERIFY(m_pad->moveStick(Stick::Left, 1.0f, 0.0f));
        const QAbstractButton* l1 = view().buttonL1;
        const double shoulder = double(l1->width()) / l1->height();
        for (const QSize size : { QSize(720, 405), QSize(1920, 1080), QSize(1024, 576) }) {
            QVERIFY(resized(size));
            QVERIFY(view().leftJoystick->parentWidget()->rect().contains(view().leftJoystick->geometry()));
            QCOMPARE(view().joystickRadius, view().leftJoystick->width() * 0.5);
            QVERIFY(std::abs(double(l1->width()) / l1->height() - shoulder) < 0.1);
            QCOMPARE(view().buttonA->size(), view().buttonB->size());
            QCOMPARE(view().leftJoystickButton->size(), view().rightJoystickButton->size());
            const QPointF ringCentre = centreOf(view().leftJoystick);
            QVERIFY(
                std::abs(centreOf(view().leftJoystickButton).x() - (ringCentre.x() + view().joystickRadius)) <= 1.0);
            QVERIFY(std::abs(centreOf(view().leftJoystickButton).y() - ringCentre.y()) <= 1.0);
            // Pushed to the edge, the knob stands half outside its ring and
            // is drawn whole: nothing clips it.
            const QWidget* knob = view().leftJoystickButton;
            QCOMPARE(knob->visibleRegion(), QRegion(knob->rect()));
        }
        QVERIFY(view().scale() > ZelKeyTestView::kSmallestScale);
        QVERIFY(resized(QSize(720, 405)));
        const int small = view().leftJoystick->width();
        QVERIFY(resized(QSize(1920, 1080)));
        QVERIFY(view().leftJoystick->width() > 2 * small);
        m_pad->moveStick(Stick::Left, 0.0f, 0.0f);
        QVERIFY(std::abs(centreOf(view().leftJoystickButton).x() - centreOf(view().leftJoystick).x()) <= 1.0);
        view().setParent(nullptr);
    }

    void knobKeepsTheOffsetOfAStickMovedBeforeCreation()
    {
        m_view.reset();
        m_pad->moveStick(Stick::Left, 0.5f, 0.0f); // nobody listening
        m_view = std::make_unique<ZelKeyTestView>(
            KestGameControllerManager::sharedInstance(), EADSessionController::sharedController());
        const QPointF start = centreOf(view().leftJoystickButton);
        m_pad->moveStick(Stick::Left, 0.0f, 0.0f);
        QCOMPARE(centreOf(view().leftJoystickButton), start - QPointF(0.5 * view().joystickRadius, 0));
    }

    void slotsDoNothingOnceTheScreenIsGone()
    {
        m_view.reset();
        QVERIFY(m_pad->press(Button::A));
        QVERIFY(m_pad->press(Button::Up));
        QVERIFY(m_pad->moveStick(Stick::Left, 0.5f, 0.5f));
    }

    // Every way of showing and hiding reaches the screen's own work, on every
    // call, also through a plain QWidget pointer.
    void showingClosesAndHidingOpensTheSessionEveryTime_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("setHidden") << int(Way::SetHidden);
        QTest::newRow("setVisible") << int(Way::SetVisible);
        QTest::newRow("show and hide") << int(Way::ShowHide);
        QTest::newRow("as a QWidget") << int(Way::AsWidget);
    }

    void showingClosesAndHidingOpensTheSessionEveryTime()
    {
        QFETCH(int, way);
        const auto apply = [&](bool visible) {
            QWidget* widget = m_view.get();
            switch (Way(way)) {
            case Way::SetHidden:
                view().setHidden(!visible);
                break;
            case Way::SetVisible:
                view().setVisible(visible);
                break;
            case Way::ShowHide:
                visible ? view().show() : view().hide();
                break;
            case Way::AsWidget:
                visible ? widget->show() : widget->setHidden(true);
                break;
            }
        };
        AccessorySession accessory;
        EADSessionController& session = EADSessionController::sharedController();

        // Shown twice, each time with a session open: both are closed.
        for (int i = 0; i < 2; ++i) {
            QVERIFY(session.openSession());
            apply(true);
            QVERIFY(view().isVisible());
            QVERIFY(!session.session());
        }
        // Hidden twice: a new session each time.
        apply(false);
        QVERIFY(view().isHidden());
        const std::weak_ptr<EASession> first = session.session();
        QVERIFY(!first.expired());
        apply(false);
        QVERIFY(first.expired());
        QVERIFY(session.session());
    }

    // Qt shows and hides widgets of its own accord too: none of that is a
    // showing of the screen, nor is its first placement by the root view.
    void noWorkRunsUnasked()
    {
        AccessorySession accessory;
        EADSessionController& session = EADSessionController::sharedController();
        QVERIFY(session.openSession());
        std::weak_ptr<EASession> open = session.session();
        const auto untouched = [&] { return !open.expired() && session.session() == open.lock(); };

        // Made before its window is shown, which shows the children nobody
        // has shown or hidden.
        auto window = std::make_unique<QWidget>();
        window->resize(960, 540);
        auto* screen = new ZelKeyTestView(KestGameControllerManager::sharedInstance(), session, window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(screen->isHidden());
        QVERIFY(untouched());
        // Put into a layout of the shown window, which shows its new widgets
        // from the event loop.
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(screen);
        QCoreApplication::sendPostedEvents();
        QVERIFY(screen->isHidden());
        QVERIFY(untouched());
        layout->removeWidget(screen);

        // The first placement shows it without its work; the next showing does it.
        screen->showAsNewlyAdded();
        QVERIFY(screen->isVisible());
        QVERIFY(untouched());
        screen->setHidden(false);
        QVERIFY(!session.session());

        // Moved into a layout of another shown window: Qt hides it, and the
        // session reopens as for any hiding; the layout does not show it again.
        auto other = std::make_unique<QWidget>();
        other->show();
        QVERIFY(QTest::qWaitForWindowExposed(other.get()));
        auto* otherLayout = new QVBoxLayout(other.get());
        otherLayout->addWidget(screen);
        QVERIFY(screen->isHidden());
        QVERIFY(session.session());
        open = session.session();
        QCoreApplication::sendPostedEvents();
        QVERIFY(screen->isHidden());
        QVERIFY(untouched());

        // Destroyed while shown, with its window: no hiding work runs.
        screen->show();
        QVERIFY(!session.session());
        other.reset();
        QVERIFY(!session.session());
    }

    void closeButtonRunsTheCloseBlockWhenThereIsOne()
    {
        view().closeButton->click(); // no block: nothing happens
        int closes = 0;
        view().closeBlock = [&closes] { ++closes; };
        view().closeButton->click();
        QCOMPARE(closes, 1);
    }
    void theStickCheckRunsInItsOwnPanelAndKeepsItsReport()
    {
        using Step = ControllerCheck::Step;
        QTemporaryDir documents;
        DocumentsDirectory::setPath(documents.path());
        qint64 now = 0;
        view().checkClock = [&now] { return now; };
        view().firmwareVersions = QStringLiteral("1.0-2.3-1.5");
        m_pad->setInputTime(0);
        auto wait = [&](double ms) {
            now += qint64(ms * 1000);
            m_pad->setInputTime(now);
        };
        auto reaches = [&](Step step) {
            return testsupport::waitUntil([&] { return view().stickCheck() && view().stickCheck()->step() == step; });
        };
        auto runCheck = [&] {
            QVERIFY(reaches(Step::Rest));
            QVERIFY2(view().stickCheckView->promptText().contains(QLatin1String("3 s")),
                qPrintable(view().stickCheckView->promptText()));
            wait(3000); // the screen's tick sees the rest is over
            QVERIFY(reaches(Step::RotateLeft));
            for (const auto& [stick, outline] : { std::pair { Stick::Left, &testsupport::circleOutline },
                     std::pair { Stick::Right, &testsupport::squareOutline } }) {
                for (const QPointF& p : testsupport::trace(outline, 1.1, 1)) {
                    m_pad->moveStick(stick, float(p.x()), float(p.y()));
                    wait(2);
                }
                m_pad->moveStick(stick, 0.0f, 0.0f);
                wait(600);
                QVERIFY(reaches(stick == Stick::Left ? Step::RotateRight : Step::Triggers));
            }
            for (float level : { 0.5f, 1.0f, 0.0f }) {
                m_pad->setButton(Button::L2, level);
                m_pad->setButton(Button::R2, level);
                wait(20);
            }
            QVERIFY(testsupport::waitUntil([&] { return view().stickCheckView->report().has_value(); }));
        };

        QVERIFY(view().checkButton->isVisible());
        QVERIFY(view().checkPanel->isHidden());
        view().checkButton->click();
        QVERIFY(view().checkPanel->isVisible());
        QVERIFY(!view().leftJoystick->isVisible() && !view().analogueView->isVisible()); // the panel takes the body
        runCheck();
        const ControllerCheckReport first = *view().stickCheckView->report();
        QVERIFY(first.left.circularity && *first.left.circularity < 1.0);
        QCOMPARE(first.firmware, QStringLiteral("1.0-2.3-1.5"));
        QVERIFY(!view().stickCheckView->previous());
        const QList<ZelStickCheckView::Row> rows = view().stickCheckView->stickRows(false);
        QCOMPARE(rows.at(3).verdict, QStringLiteral("high")); // the square gate's circularity
        QCOMPARE(view().stickCheckView->promptText(), localized("CheckComplete"));
        QVERIFY(view().stickCheckView->countdownLabel->isHidden());
        // Kept as a file, whose path the screen shows, and the inner rings
        // show the dead zone measured.
        const QDir folder(ControllerCheckReport::folder());
        QCOMPARE(folder.entryList({ QStringLiteral("*.json") }).size(), 1);
        const QString kept = folder.filePath(folder.entryList({ QStringLiteral("*.json") }).first());
        QVERIFY(view().stickCheckView->reportLabel->isVisible());
        QCOMPARE(view().stickCheckView->reportLabel->toolTip(), kept);
        QVERIFY2(view().stickCheckView->reportLabel->text().remove(QChar(0x200b)).contains(kept),
            qPrintable(view().stickCheckView->reportLabel->text()));
        QCOMPARE(view().analogueView->deadZone(true), first.left.deadZone);
        QVERIFY(view().analogueView->deadZone(true) != ZelAnalogueView::kDeadZone);

        // Checked again: the first report's figures stand beside the new ones.
        view().checkAgainButton->click();
        QVERIFY(view().stickCheckView->report() == std::nullopt);
        runCheck();
        QVERIFY(view().stickCheckView->previous());
        QCOMPARE(view().stickCheckView->previous()->time, first.time);
        QCOMPARE(view().stickCheckView->stickRows(true).at(0).previous, QStringLiteral("0.000"));
        QVERIFY(view().stickCheckView->previousLabel->isVisible());
        view().grab(); // the columns under their headings paint without a fault
        QCOMPARE(folder.entryList({ QStringLiteral("*.json") }).size(), 2);

        // A report that cannot be kept says so where the path would stand
        // (and no toast repeats it), and the results still show.
        QFile blocker(documents.filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        DocumentsDirectory::setPath(blocker.fileName());
        testsupport::ToastRecorder toasts;
        view().checkAgainButton->click();
        runCheck();
        const QString why = view().stickCheckView->reportLabel->text();
        QVERIFY2(why.contains(QLatin1String("blocked")) && why != localized("CheckReportSaved").arg(QString()),
            qPrintable(why));
        QVERIFY(view().stickCheckView->reportLabel->isVisible());
        QCOMPARE(toasts.texts(), QStringList());
        QVERIFY(view().stickCheckView->report().has_value());
        DocumentsDirectory::setPath(documents.path());

        // Ended half way by "Done": back to the keys, nothing kept.
        view().checkAgainButton->click();
        QVERIFY(reaches(Step::Rest));
        QVERIFY(view().stickCheckView->reportLabel->isHidden()); // a new check has no report yet
        view().checkCloseButton->click();
        QVERIFY(view().checkPanel->isHidden() && view().leftJoystick->isVisible() && view().analogueView->isVisible());
        QVERIFY(!view().stickCheck()->isRunning());
        QCOMPARE(folder.entryList({ QStringLiteral("*.json") }).size(), 2);

        // Hiding the screen during a check ends it too.
        view().checkButton->click();
        QVERIFY(reaches(Step::Rest));
        view().setHidden(true);
        QVERIFY(view().checkPanel->isHidden());
        QVERIFY(!view().stickCheck()->isRunning());
        view().setHidden(false);
    }

    // Sticks left alone through every step: what was not measured says so,
    // never "good"; each step counts down its seconds, and with the keyboard
    // playing the controller the instruction names the keys.
    void aStickNeverMovedIsNotMeasuredAndEachStepCountsDown()
    {
        using Step = ControllerCheck::Step;
        QTemporaryDir documents;
        DocumentsDirectory::setPath(documents.path());
        qint64 now = 0;
        view().checkClock = [&now] { return now; };
        view().keyboardController = m_pad->controller();
        const ZelStickCheckView* check = view().stickCheckView;
        auto countdownShows = [&](int seconds) {
            return testsupport::waitUntil([&] {
                return check->countdownLabel->isVisible()
                    && check->countdownLabel->text() == localized("CheckSecondsLeft").arg(seconds);
            });
        };
        auto passes = [&](Step step, double seconds) {
            // The step's countdown falls as the clock runs, to its end.
            if (!testsupport::waitUntil([&] { return view().stickCheck()->step() == step; }))
                return false;
            const int whole = int(std::ceil(seconds));
            if (!countdownShows(whole))
                return false;
            now += 1'000'000;
            if (!countdownShows(whole - 1))
                return false;
            now += qint64((seconds - 1) * 1e6);
            return testsupport::waitUntil([&] { return view().stickCheck()->step() != step; });
        };

        view().checkButton->click();
        QVERIFY(check->instructionLabel->text().contains(localized("CheckKeysRest")));
        QVERIFY(passes(Step::Rest, ControllerCheck::kRestSeconds));
        QVERIFY2(check->instructionLabel->text().contains(localized("CheckKeysRotateLeft")),
            qPrintable(check->instructionLabel->text()));
        QVERIFY(passes(Step::RotateLeft, ControllerCheck::kStepSeconds));
        QVERIFY(passes(Step::RotateRight, ControllerCheck::kStepSeconds));
        QVERIFY(check->instructionLabel->text().contains(localized("CheckKeysTriggers")));
        QVERIFY(passes(Step::Triggers, ControllerCheck::kStepSeconds));
        QVERIFY(testsupport::waitUntil([&] { return check->report().has_value(); }));

        QCOMPARE(check->instructionLabel->text(), localized("CheckComplete"));
        QVERIFY(check->countdownLabel->isHidden());
        const QString notMeasured = localized("VerdictUnknown");
        for (bool left : { true, false }) {
            const QList<ZelStickCheckView::Row> rows = check->stickRows(left);
            QCOMPARE(rows.size(), 8);
            // At rest it was read: where it stood is measured.
            QCOMPARE(rows.at(0).value, QStringLiteral("0.000"));
            // The range, the rate and what falls short were not.
            for (int i : { 3, 5, 6, 7 }) {
                QCOMPARE(rows.at(i).value, notMeasured);
                QCOMPARE(rows.at(i).verdict, QStringLiteral("unknown"));
            }
            QCOMPARE(rows.at(4).value, QStringLiteral("0 %"));
            for (const ZelStickCheckView::Row& row : rows.mid(3))
                QVERIFY2(row.verdict != QLatin1String("good"), qPrintable(row.label));
        }
        QCOMPARE(
            ZelStickCheckView::verdictColour(QStringLiteral("unknown")), ZelStickCheckView::verdictColour(QString()));
        view().grab(); // the untouched triggers paint as not measured
    }

    void theAnaloguePanelReadsTheElementsValues()
    {
        ZelAnalogueView* panel = view().analogueView;
        QCOMPARE(panel->controller(), m_pad->controller());
        QVERIFY(view().padChooser->isHidden()); // one controller: nothing to choose
        QVERIFY2(view().identityLabel->fullText().contains(QStringLiteral("Virtual controller · virtual · player 0")),
            qPrintable(view().identityLabel->fullText()));
        // The kind "virtual" is a word, read in the user's language.
        Localization::shared().setLanguage(QStringLiteral("ja"));
        const QString japanese = ZelKeyTestView::identityText(m_pad->controller());
        Localization::shared().setLanguage(QStringLiteral("en"));
        QVERIFY2(japanese.contains(QStringLiteral(" · 仮想 · ")) && !japanese.contains(QLatin1String("virtual")),
            qPrintable(japanese));

        // Positions, not the movements the slots receive; raw values as SDL would report them.
        m_pad->moveStick(Stick::Left, 0.5f, -0.25f);
        m_pad->moveStick(Stick::Left, 0.5f, 0.0f);
        m_pad->moveStick(Stick::Right, -1.0f, 1.0f);
        QCOMPARE(panel->stickPosition(true), QPointF(0.5, 0.0));
        QCOMPARE(panel->stickPosition(false), QPointF(-1.0, 1.0));
        QCOMPARE(panel->rawAxis("LX"), 16384);
        QCOMPARE(panel->rawAxis("RY"), -32767); // SDL's y grows downward
        QCOMPARE(panel->trail(true).size(), size_t(2));
        QCOMPARE(panel->trail(true).back(), QPointF(0.5, 0.0));
        for (int i = 0; i < int(ZelAnalogueView::kTrailLength) + 10; ++i)
            m_pad->moveStick(Stick::Left, 0.3f + float(i % 7) / 10.0f, 0.0f);
        QCOMPARE(panel->trail(true).size(), ZelAnalogueView::kTrailLength);
        // Let go, the stick's stroke is over: no old line stays in its ring.
        m_pad->moveStick(Stick::Left, 0.1f, 0.0f);
        QVERIFY(panel->trail(true).empty());
        QCOMPARE(panel->trail(false).size(), size_t(1));

        // The trigger's level below the press threshold, which no key shows.
        QVERIFY(m_pad->setButton(Button::L2, 0.3f));
        QCOMPARE(panel->triggerLevel(true), 0.3f);
        QVERIFY(atRest(view().buttonL2));
        QVERIFY(m_pad->press(Button::Home));
        QVERIFY(panel->rawValues().contains(QStringLiteral("Home=1")));
        // A new battery level, as the source reports it, shows at once.
        m_pad->controller()->setBatteryLevel(GCControllerBatteryLevel::Low);
        QVERIFY2(view().identityLabel->fullText().endsWith(QStringLiteral("battery low")),
            qPrintable(view().identityLabel->fullText()));
        QVERIFY(panel->rawValues().contains(QStringLiteral("L2=9830")));

        // This controller has no motors and no light: nothing to press for them.
        for (QAbstractButton* action :
            { view().rumbleButton.data(), view().triggerRumbleButton.data(), view().lightButton.data() })
            QVERIFY2(action->isHidden(), qPrintable(action->objectName()));
        view().grab(); // paints without a fault
    }

    void withSeveralControllersTheUserPicksOne()
    {
        VirtualGameController second(
            testsupport::controllerService(), GCControllerProfile::Extended, {}, QStringLiteral("Second Pad"));
        second.offerHaptics(true, false, true);
        second.plugIn();
        QComboBox* chooser = view().padChooser;
        QVERIFY(!chooser->isHidden());
        QCOMPARE(chooser->count(), 2);
        QCOMPARE(view().analogueView->controller(), m_pad->controller()); // the choice stays until changed
        chooser->setCurrentIndex(1);
        emit chooser->activated(1);
        QCOMPARE(view().analogueView->controller(), second.controller());
        QVERIFY(view().identityLabel->fullText().startsWith(QLatin1String("Second Pad")));
        QVERIFY(!view().rumbleButton->isHidden() && !view().lightButton->isHidden());
        QVERIFY(view().triggerRumbleButton->isHidden());

        // The motors for half a second, and the light in one of its colours.
        view().rumbleButton->click();
        view().lightSwatches[1]->click();
        const VirtualGameController::HapticsRequest asked = second.haptics();
        QCOMPARE(asked.rumbleMs, ZelKeyTestView::kRumbleMs);
        QCOMPARE(asked.low, 1.0f);
        QCOMPARE(asked.requests, 2);
        QCOMPARE(asked.green, ZelKeyTestView::kLightColours[1][1]);

        // A pad without sticks has nothing for the stick check.
        VirtualGameController basic(
            testsupport::controllerService(), GCControllerProfile::Basic, {}, QStringLiteral("Basic Pad"));
        basic.plugIn();
        chooser->setCurrentIndex(2);
        emit chooser->activated(2);
        QCOMPARE(view().analogueView->controller(), basic.controller());
        QVERIFY(view().checkButton->isHidden());
        view().checkAction();
        QVERIFY(view().checkPanel->isHidden());
        basic.unplug();
        chooser->setCurrentIndex(1);
        emit chooser->activated(1);
        QVERIFY(!view().checkButton->isHidden());

        // The shown controller leaves: the panel falls back on the one still there.
        second.unplug();
        QCOMPARE(view().analogueView->controller(), m_pad->controller());
        QVERIFY(chooser->isHidden());
        m_pad->unplug();
        QVERIFY(!view().analogueView->controller());
        QVERIFY(view().identityLabel->fullText().isEmpty());
        view().grab();
    }

    // Each motor on its own at the strength the user picks, both together,
    // and the light in any colour: as the controller is asked.
    void eachMotorRunsOnItsOwnAtItsStrength()
    {
        VirtualGameController motors(
            testsupport::controllerService(), GCControllerProfile::Extended, {}, QStringLiteral("Motor Pad"));
        motors.offerHaptics(true, true, true);
        motors.plugIn();
        view().padChooser->setCurrentIndex(1);
        emit view().padChooser->activated(1);
        QVERIFY(!view().motorsTab->isHidden());
        view().motorsTab->click();
        QCOMPARE(view().page(), ZelKeyTestView::Page::Motors);
        view().lowMotorSlider->setValue(40);
        view().highMotorSlider->setValue(70);
        view().leftTriggerMotorSlider->setValue(25);
        view().rightTriggerMotorSlider->setValue(90);
        QCOMPARE(view().motorStrengths().high, 0.7f);
        auto asked = [&motors] { return motors.haptics(); };
        view().lowMotorButton->click();
        QCOMPARE(asked().low, 0.4f);
        QCOMPARE(asked().high, 0.0f);
        view().highMotorButton->click();
        QCOMPARE(asked().low, 0.0f);
        QCOMPARE(asked().high, 0.7f);
        view().leftTriggerMotorButton->click();
        QCOMPARE(asked().leftTrigger, 0.25f);
        QCOMPARE(asked().rightTrigger, 0.0f);
        view().rightTriggerMotorButton->click();
        QCOMPARE(asked().leftTrigger, 0.0f);
        QCOMPARE(asked().rightTrigger, 0.9f);
        view().rumbleButton->click();
        QVERIFY(asked().low == 0.4f && asked().high == 0.7f);
        view().triggerRumbleButton->click();
        QVERIFY(asked().leftTrigger == 0.25f && asked().rightTrigger == 0.9f);
        QCOMPARE(asked().requests, 6);
        QCOMPARE(asked().rumbleMs, ZelKeyTestView::kRumbleMs);

        // Any colour, from the dialog; it leaves the controller's events going.
        view().lightButton->click();
        auto* dialog = view().findChild<ZelLightColourDialog*>(QStringLiteral("lightColourDialog"));
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->colour(), QColor(255, 255, 255)); // the last asked
        dialog->sliders[0]->setValue(12);
        dialog->sliders[1]->setValue(34);
        // The number beside a slider moves it, and the other way round.
        const QList<QSpinBox*> numbers = dialog->findChildren<QSpinBox*>();
        QCOMPARE(numbers.size(), 3);
        QCOMPARE(numbers[1]->value(), 34);
        numbers[2]->setValue(56);
        QCOMPARE(dialog->sliders[2]->value(), 56);
        QCOMPARE(asked().requests, 6); // nothing before it is set
        dialog->accept();
        QVERIFY(asked().red == 12 && asked().green == 34 && asked().blue == 56);
        // Opened again, it starts from that colour; cancelled, nothing is asked.
        view().lightButton->click();
        QVERIFY(testsupport::waitUntil([this] {
            auto* again = view().findChild<ZelLightColourDialog*>(QStringLiteral("lightColourDialog"));
            return again && again->isVisible() && again->colour() == QColor(12, 34, 56);
        }));
        auto* again = view().findChild<ZelLightColourDialog*>(QStringLiteral("lightColourDialog"));
        again->sliders[0]->setValue(200);
        const int requests = asked().requests;
        again->reject();
        QCOMPARE(asked().requests, requests);
        QVERIFY(asked().red == 12 && asked().green == 34 && asked().blue == 56);
        view().grab();

        // A controller without motors or light is offered none: its motors page goes.
        motors.unplug();
        QVERIFY(view().motorsTab->isHidden());
        QCOMPARE(view().page(), ZelKeyTestView::Page::Values);
    }

    // The motion sensors and the touchpad as the virtual controller drives
    // them; the controller shown is measured while the screen is.
    void motionSensorsAndTouchpadShowAsTheyReport()
    {
        QVERIFY(view().motionTab->isHidden() && view().touchpadTab->isHidden());
        VirtualGameController sensing(
            testsupport::controllerService(), GCControllerProfile::Extended, {}, QStringLiteral("Sensing Pad"));
        sensing.offerMotion(250);
        sensing.offerTouchpads(1, 2);
        sensing.plugIn();
        QVERIFY(m_pad->controller()->isMeasuring());
        view().padChooser->setCurrentIndex(1);
        emit view().padChooser->activated(1);
        QVERIFY(sensing.controller()->isMeasuring() && !m_pad->controller()->isMeasuring());
        QVERIFY(!view().motionTab->isHidden() && !view().touchpadTab->isHidden());
        view().motionTab->click();
        ZelMotionView* motion = view().motionView;
        QCOMPARE(motion->controller(), sensing.controller());
        for (int i = 0; i <= 50; ++i) {
            sensing.setInputTime(1000000 + i * 4000);
            sensing.setRotation(12.5f, -3.0f, 0.25f);
            sensing.setAcceleration(0.0f, 0.0f, 9.8f);
        }
        QVERIFY(std::abs(*motion->rate(GCControllerSensor::Gyroscope).rateHz() - 250.0) < 0.01);
        QCOMPARE(motion->rateText(GCControllerSensor::Gyroscope), QStringLiteral("250 per second (states 250)"));
        QVERIFY(!motion->calibration());
        view().grab();

        // The keyboard turns it as the demo does: R about x while held.
        sensing.setInputTime(2000000);
        QVERIFY(sensing.handleKey('R', true));
        QCOMPARE(sensing.controller()->motion().rotation[0], VirtualGameController::kKeyboardTurn);
        QVERIFY(sensing.handleKey('R', false));
        QCOMPARE(sensing.controller()->motion().rotation[0], 0.0f);

        // Fingers where they touch, the pad's button; the keyboard's B and M too.
        view().touchpadTab->click();
        ZelTouchpadView* touchpad = view().touchpadView;
        QVERIFY(sensing.touch(0, 1, 0.25f, 0.5f, 0.4f));
        QCOMPARE(touchpad->caption(0), QStringLiteral("Touchpad 1 · 1 fingers"));
        const QRectF pad = touchpad->padRect(0);
        QCOMPARE(touchpad->fingerPoint(0, 0.25f, 0.5f), QPointF(pad.left() + pad.width() / 4, pad.center().y()));
        QVERIFY(sensing.controller()->touchpads()[0].reportsPressure);
        QVERIFY(sensing.handleKey('B', true) && sensing.handleKey('M', true));
        QCOMPARE(touchpad->caption(0), QStringLiteral("Touchpad 1 · 2 fingers · pressed"));
        view().grab();
        QVERIFY(sensing.handleKey('B', false) && sensing.handleKey('M', false) && sensing.lift(0, 1));
        QCOMPARE(touchpad->caption(0), QStringLiteral("Touchpad 1 · 0 fingers"));
        QVERIFY(!sensing.touch(0, GCController::kMostFingers, 0.5f, 0.5f, 1.0f));

        // Hidden, nothing is measured; shown again, the controller shown is.
        view().setHidden(true);
        QVERIFY(!sensing.controller()->isMeasuring());
        view().setHidden(false);
        QVERIFY(sensing.controller()->isMeasuring());
        sensing.unplug();
        QVERIFY(view().motionTab->isHidden());
        QCOMPARE(view().page(), ZelKeyTestView::Page::Values);
    }

    // Through SDL's virtual joystick driver, as the machine's own controllers come.
    void sdlDevicesOfferOnlyWhatTheyHave()
    {
        qputenv("SDL_VIDEODRIVER", "dummy");
        GameControllerService& service = GameControllerService::sharedService();
        if (!service.startHardwareControllers())
            QSKIP(qPrintable(service.hardwareError()));
        m_pad->unplug();
        testsupport::SdlVirtualPad plain("Plain Pad");
        if (!plain.isPlugged())
            QSKIP(qPrintable(plain.error));
        QVERIFY(testsupport::waitUntil([this] { return view().analogueView->controller() != nullptr; }));
        for (QAbstractButton* action :
            { view().rumbleButton.data(), view().triggerRumbleButton.data(), view().lightButton.data() })
            QVERIFY2(action->isHidden(), qPrintable(action->objectName()));
        plain.unplug();
        QVERIFY(testsupport::waitUntil([this] { return !view().analogueView->controller(); }));

        testsupport::SdlVirtualPad motors("Motor Pad", testsupport::SdlVirtualPad::kAllButtons,
            testsupport::SdlVirtualPad::kAllAxes, { true, true, true });
        QVERIFY(testsupport::waitUntil([this] { return view().analogueView->controller() != nullptr; }));
        QVERIFY(!view().rumbleButton->isHidden() && !view().triggerRumbleButton->isHidden()
            && !view().lightButton->isHidden());
        // A device that refuses: the user is told, nothing else happens.
        {
            testsupport::ToastRecorder toasts;
            motors.requests.refuse = true;
            view().lightSwatches[0]->click();
            view().rumbleButton->click();
            QCOMPARE(motors.requests.lights, 1);
            QCOMPARE(motors.requests.rumbles, 1);
            QCOMPARE(toasts.texts(),
                (QStringList { QStringLiteral("Motor Pad did not accept the light colour."),
                    QStringLiteral("Motor Pad did not accept the rumble request.") }));
            motors.requests.refuse = false;
            view().rumbleButton->click();
            view().triggerRumbleButton->click();
            QCOMPARE(motors.requests.rumbles, 2);
            QCOMPARE(motors.requests.triggerRumbles, 1);
            QCOMPARE(toasts.texts().size(), 2);
        }
        motors.unplug();

        // A joystick without mapping: its raw inputs, and no key lights.
        const auto stick = testsupport::SdlVirtualPad::joystick("Old Stick", 2, 1, 1);
        QVERIFY(testsupport::waitUntil([this] {
            const GCControllerPtr shown = view().analogueView->controller();
            return shown && !shown->identity().mapped && testsupport::controllerService().controllers().size() == 1;
        }));
        QVERIFY(view().identityLabel->fullText().contains(localized("Unmapped")));
        stick->rawButton(0, true);
        stick->rawHat(0, SDL_HAT_DOWN);
        QVERIFY(testsupport::waitUntil([this] {
            return view().analogueView->rawValues()
                == QStringList(
                    { QStringLiteral("b0=1"), QStringLiteral("b1=0"), QStringLiteral("a0=0"), QStringLiteral("h0=4") });
        }));
        QCOMPARE(othersAtRest(view(), nullptr), QString());
        view().grab();
    }

    // A pad without mapping, mapped with the keyboard: the editor's keys
    // skip, go back and save, the pad's own inputs answer its prompts.
    void theMappingEditorIsWalkedThroughWithTheKeyboard()
    {
        GameControllerService& service = GameControllerService::sharedService();
        if (!service.startHardwareControllers())
            QSKIP(qPrintable(service.hardwareError()));
        m_pad->unplug();
        const QString path = SdlGameControllerSource::mappingFilePath();
        QVERIFY2(path.startsWith(m_config.path()), qPrintable(path));
        QDir().mkpath(QFileInfo(path).absolutePath());
        const QByteArray kept = "# my pads\n03000000bbbb00000000000000000000,Other Pad,a:b1,b:b0,platform:Linux,\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kept) == kept.size());
        file.close();
        auto stick = testsupport::SdlVirtualPad::joystick("Keyboard Walk", 10, 4, 1);
        if (!stick->isPlugged())
            QSKIP(qPrintable(stick->error));
        // By name: a joystick an earlier case unplugged may still be shown
        // until the kernel's removal reaches the service.
        QVERIFY(testsupport::waitUntil([this] {
            const GCControllerPtr shown = view().shownController();
            return shown && shown->vendorName() == QLatin1String("Keyboard Walk") && !shown->identity().mapped;
        }));
        view().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view()));
        QVERIFY(!view().mapButton->isHidden());
        view().mapButton->setFocus();
        QTest::keyClick(view().mapButton, Qt::Key_Space);
        MappingEditor* editor = view().mappingEditor();
        QVERIFY(editor && !view().mappingPanel->isHidden() && view().checkPanel->isHidden());
        QVERIFY(view().leftJoystick->parentWidget()->isHidden());
        QCOMPARE(view().mappingPromptLabel->text(), QStringLiteral("Press A"));
        QVERIFY(pressOn(*stick, *editor, 0)); // A
        QVERIFY(pressOn(*stick, *editor, 1)); // B
        QTest::keyClick(&view(), Qt::Key_Space); // X: skipped
        QCOMPARE(editor->index(), 3);
        QVERIFY(pressOn(*stick, *editor, 2)); // Y, by mistake on b2
        QTest::keyClick(&view(), Qt::Key_Backspace); // back to Y
        QCOMPARE(editor->index(), 3);
        QVERIFY(pressOn(*stick, *editor, 3)); // Y
        for (int i = 4; i < 12; ++i)
            QTest::keyClick(&view(), Qt::Key_Space); // shoulders, triggers and pad: none
        for (int axis = 0; axis < 4; ++axis) {
            // Right for x, up (SDL's negative) for y.
            stick->rawAxis(axis, axis % 2 ? -32767 : 32767);
            QVERIFY(testsupport::waitUntil([editor] { return editor->isWaitingForRelease(); }));
            stick->rawAxis(axis, 0);
            QVERIFY(testsupport::waitUntil([editor, axis] { return editor->index() == 13 + axis; }));
        }
        while (!editor->isDone())
            QTest::keyClick(&view(), Qt::Key_Space);
        QVERIFY(!view().mappingSkipButton->isEnabled() && view().mappingSaveButton->isEnabled());
        const QByteArray line = editor->mapping().line();
        QVERIFY(view().mappingLineLabel->text().toUtf8() == line);
        QVERIFY(line.endsWith(",Keyboard Walk,a:b0,b:b1,y:b3,leftx:a0,lefty:a1,rightx:a2,righty:a3,"));

        testsupport::ToastRecorder toasts;
        QTest::keyClick(&view(), Qt::Key_S, Qt::ControlModifier);
        // At once a standard controller, shown; the file has the line after every line it had.
        QVERIFY(view().mappingPanel->isHidden() && !view().mappingEditor());
        const GCControllerPtr mapped = view().shownController();
        QVERIFY(mapped && mapped->identity().mapped);
        QCOMPARE(mapped->profile(), GCControllerProfile::Extended);
        QVERIFY(view().mapButton->isHidden() && !view().checkButton->isHidden());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kept + line + "platform:Linux,\n");
        file.close();
        QCOMPARE(toasts.texts(),
            QStringList { QStringLiteral("Keyboard Walk is mapped: its mapping is kept in the mapping file.") });

        // A mapping file that cannot be read: said so, not overwritten, and
        // the mapping holds until the program ends.
        stick.reset();
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        auto other = testsupport::SdlVirtualPad::joystick("Second Walk", 2, 0, 0);
        QVERIFY(testsupport::waitUntil([this] {
            const GCControllerPtr shown = view().shownController();
            return shown && shown->vendorName() == QLatin1String("Second Walk");
        }));
        view().mapAction();
        QVERIFY(pressOn(*other, *view().mappingEditor(), 1));
        while (!view().mappingEditor()->isDone())
            QTest::keyClick(&view(), Qt::Key_Space);
        toasts.clear();
        QTest::keyClick(&view(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(toasts.texts().size(), 1);
        QVERIFY2(toasts.texts().first().startsWith(
                     QStringLiteral("The mapping could not be added to %1: it is a folder").arg(path)),
            qPrintable(toasts.texts().first()));
        QVERIFY(QFileInfo(path).isDir() && QDir(path).isEmpty());
        QVERIFY(view().shownController()->identity().mapped);
        QVERIFY(QDir(path).removeRecursively());

        // Escape closes the editor without saving.
        other.reset();
        auto third = testsupport::SdlVirtualPad::joystick("Third Walk", 2, 0, 0);
        QVERIFY(testsupport::waitUntil([this] {
            const GCControllerPtr shown = view().shownController();
            return shown && shown->vendorName() == QLatin1String("Third Walk");
        }));
        view().mapAction();
        QVERIFY(!view().mappingPanel->isHidden());
        QTest::keyClick(&view(), Qt::Key_Escape);
        QVERIFY(view().mappingPanel->isHidden() && !view().leftJoystick->parentWidget()->isHidden());
        QVERIFY(!QFile::exists(path));
        view().mapAction();
        third->unplug();
        QVERIFY(testsupport::waitUntil([this] { return view().mappingPanel->isHidden(); }));
    }
};

QTEST_MAIN(TestKeyTestView)
#include "tst_keytestview.moc"
