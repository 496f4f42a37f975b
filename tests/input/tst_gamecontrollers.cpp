// Game-controller input: the manager and its controller wrappers, fed by
// virtual controllers through the game-controller service.
#include "input/KestGameController.h"
#include "input/KestGameControllerManager.h"
#include "platform/gamepad/GameControllerKeys.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/gamepad/VirtualGameController.h"
#include "support/SlotRecorder.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <memory>

namespace {

using Button = VirtualGameController::Button;
using Key = KestGameControllerManager::Key;
using Stick = VirtualGameController::Stick;

KestGameControllerManager& manager()
{
    return KestGameControllerManager::sharedInstance();
}

struct RecordingDelegate : KestGameControllerManagerDelegate {
    std::vector<std::shared_ptr<KestGameController>> connected;
    std::vector<std::vector<GCControllerPtr>> listsWhenConnected;
    int disconnected = 0;
    KestGameControllerManager* lastManager = nullptr;

    RecordingDelegate() { manager().setDelegate(this); }
    ~RecordingDelegate() { manager().setDelegate(nullptr); }

    void gameControllerManager(KestGameControllerManager* m, const std::shared_ptr<KestGameController>& c) override
    {
        lastManager = m;
        connected.push_back(c);
        listsWhenConnected.push_back(m->connectedGameControllers());
    }
    void gameControllerManagerGameControllerDisconnected(KestGameControllerManager* m) override
    {
        lastManager = m;
        ++disconnected;
    }
};

} // namespace

class TestGameControllers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        manager(); // subscribed from here on, as the application does at start
    }

    void init()
    {
        // The stick memory is shared by the whole process: bring both sticks
        // back to the centre through a controller, with nobody listening.
        SlotRecorder::clearSlots();
        VirtualGameController centre(testsupport::controllerService());
        centre.plugIn();
        for (Stick s : { Stick::Left, Stick::Right }) {
            centre.moveStick(s, 1.0f, 1.0f);
            centre.moveStick(s, 0.0f, 0.0f);
        }
    }

    void cleanup()
    {
        SlotRecorder::clearSlots();
        QVERIFY(testsupport::controllerService().controllers().empty()); // every test unplugs what it plugged in
    }

    void playerIndexesNumberControllersAsTheyConnect()
    {
        RecordingDelegate delegate;
        VirtualGameController first(testsupport::controllerService()), second(testsupport::controllerService()),
            late(testsupport::controllerService()), numbered(testsupport::controllerService());
        first.plugIn();
        QCOMPARE(first.controller()->playerIndex(), 0);
        second.plugIn();
        QCOMPARE(second.controller()->playerIndex(), 1);

        // The connect event finds its own controller in the list already.
        QCOMPARE(delegate.listsWhenConnected.size(), size_t(2));
        QCOMPARE(delegate.listsWhenConnected[0], std::vector<GCControllerPtr> { first.controller() });
        QCOMPARE(delegate.listsWhenConnected[1].size(), size_t(2));

        // The first player leaves: a newcomer takes the free number, not the
        // count of controllers less one, which is the second player's number.
        first.unplug();
        late.plugIn();
        QCOMPARE(late.controller()->playerIndex(), 0);
        QCOMPARE(second.controller()->playerIndex(), 1);

        // A controller that has a number keeps it.
        numbered.controller()->setPlayerIndex(3);
        numbered.plugIn();
        QCOMPARE(numbered.controller()->playerIndex(), 3);
        QCOMPARE(manager().connectedGameControllers(), testsupport::controllerService().controllers());
        QCOMPARE(testsupport::controllerService().controllers().size(), size_t(3));
    }

    void extendedProfileFeedsEverySlotByItsHandlerKind()
    {
        SlotRecorder recorder;
        RecordingDelegate delegate;
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        QCOMPARE(delegate.connected.size(), size_t(1));
        const auto wrapper = delegate.connected.front();
        QCOMPARE(wrapper->gamePadType(), qint64(1));
        QCOMPARE(wrapper->controller(), pad.controller());
        QCOMPARE(wrapper->extendedGamepad(), pad.controller()->extendedGamepad());
        QVERIFY(!wrapper->gamepad());

        for (Button b : { Button::A, Button::B, Button::X, Button::Y, Button::L1, Button::L2, Button::L3, Button::R1,
                 Button::R2, Button::R3, Button::Home, Button::Menu, Button::Options }) {
            QVERIFY(pad.press(b));
            QVERIFY(pad.release(b));
        }
        QCOMPARE(recorder.take(),
            (QStringList { QStringLiteral("A+"), QStringLiteral("A-"), QStringLiteral("B+"), QStringLiteral("B-"),
                QStringLiteral("X+"), QStringLiteral("X-"), QStringLiteral("Y+"), QStringLiteral("Y-"),
                QStringLiteral("L1+"), QStringLiteral("L1-"), QStringLiteral("L2+"), QStringLiteral("L2-"),
                QStringLiteral("L3+"), QStringLiteral("L3-"), QStringLiteral("R1+"), QStringLiteral("R1-"),
                QStringLiteral("R2+"), QStringLiteral("R2-"), QStringLiteral("R3+"), QStringLiteral("R3-"),
                QStringLiteral("Home+"), QStringLiteral("Home-"), QStringLiteral("Menu+"), QStringLiteral("Menu-"),
                QStringLiteral("Options+"), QStringLiteral("Options-") }));

        // Value-changed buttons report every change of a pressure-sensitive
        // press, true again and again; pressed-changed ones only the flips.
        for (float v : { 0.3f, 0.6f, 0.9f, 0.0f }) {
            pad.setButton(Button::A, v);
            pad.setButton(Button::L2, v);
            pad.setButton(Button::Home, v);
        }
        QCOMPARE(recorder.take(),
            (QStringList { QStringLiteral("A-"), QStringLiteral("Home-"), QStringLiteral("A+"), QStringLiteral("L2+"),
                QStringLiteral("Home+"), QStringLiteral("A+"), QStringLiteral("Home+"), QStringLiteral("A-"),
                QStringLiteral("L2-"), QStringLiteral("Home-") }));
        QCOMPARE(delegate.lastManager, &manager());
    }

    void basicProfileReportsOnlyItsKeys()
    {
        SlotRecorder recorder;
        RecordingDelegate delegate;
        VirtualGameController pad(testsupport::controllerService(), GCControllerProfile::Basic);
        pad.plugIn();
        const auto wrapper = delegate.connected.at(0);
        QCOMPARE(wrapper->gamePadType(), qint64(0));
        QCOMPARE(wrapper->gamepad(), pad.controller()->gamepad());
        QVERIFY(!wrapper->extendedGamepad());

        for (Button b : { Button::L2, Button::L3, Button::R2, Button::R3, Button::Home, Button::Options })
            QVERIFY(!pad.press(b));
        QVERIFY(!pad.moveStick(Stick::Left, 0.5f, 0.5f));
        QVERIFY(!pad.moveStick(Stick::Right, 0.5f, 0.5f));
        QVERIFY(pad.press(Button::Menu)); // the pause button only
        QVERIFY(recorder.take().isEmpty());

        for (Button b : { Button::A, Button::B, Button::X, Button::Y, Button::R1 }) {
            pad.press(b);
            pad.release(b);
        }
        // Shoulders are value-changed buttons in this profile.
        for (float v : { 0.6f, 0.9f, 0.0f })
            pad.setButton(Button::L1, v);
        pad.press(Button::Left);
        QCOMPARE(recorder.take(),
            (QStringList { QStringLiteral("A+"), QStringLiteral("A-"), QStringLiteral("B+"), QStringLiteral("B-"),
                QStringLiteral("X+"), QStringLiteral("X-"), QStringLiteral("Y+"), QStringLiteral("Y-"),
                QStringLiteral("R1+"), QStringLiteral("R1-"), QStringLiteral("L1+"), QStringLiteral("L1+"),
                QStringLiteral("L1-"), QStringLiteral("Up-"), QStringLiteral("Down-"), QStringLiteral("Left+"),
                QStringLiteral("Right-") }));
    }

    void controllersWithoutSomeElementsOrAnyProfile()
    {
        SlotRecorder recorder;
        RecordingDelegate delegate;
        GCExtendedGamepadOptionalElements offered;
        offered.leftThumbstickButton = offered.rightThumbstickButton = offered.buttonHome = false;
        VirtualGameController partial(testsupport::controllerService(), GCControllerProfile::Extended, offered);
        partial.plugIn();
        for (Button b : { Button::L3, Button::R3, Button::Home })
            QVERIFY(!partial.press(b));
        QVERIFY(partial.press(Button::Options));
        QCOMPARE(recorder.take(), QStringList { QStringLiteral("Options+") });

        // Neither profile: held, its pause handler installed, nothing wired,
        // and the delegate told all the same.
        VirtualGameController bare(testsupport::controllerService(), GCControllerProfile::None);
        bare.plugIn();
        QCOMPARE(delegate.connected.size(), size_t(2));
        const auto wrapper = delegate.connected.back();
        QCOMPARE(wrapper->gamePadType(), qint64(2));
        QVERIFY(!wrapper->gamepad() && !wrapper->extendedGamepad());
        QVERIFY(!bare.press(Button::A));
        int pauses = 0;
        wrapper->setPauseButtonBlock([&](const GCControllerPtr& c) { pauses += c == bare.controller(); });
        QVERIFY(bare.press(Button::Menu));
        QCOMPARE(pauses, 1);
        QVERIFY(recorder.take().isEmpty());
    }

    void padReportsAllFourDirectionsOnEveryChange()
    {
        SlotRecorder recorder;
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        pad.press(Button::Up);
        pad.press(Button::Right);
        pad.release(Button::Up);
        pad.release(Button::Right);
        QCOMPARE(recorder.take(),
            (QStringList { QStringLiteral("Up+"), QStringLiteral("Down-"), QStringLiteral("Left-"),
                QStringLiteral("Right-"), //
                QStringLiteral("Up+"), QStringLiteral("Down-"), QStringLiteral("Left-"), QStringLiteral("Right+"), //
                QStringLiteral("Up-"), QStringLiteral("Down-"), QStringLiteral("Left-"), QStringLiteral("Right+"), //
                QStringLiteral("Up-"), QStringLiteral("Down-"), QStringLiteral("Left-"), QStringLiteral("Right-") }));
    }

    void stickReportsAreDifferencesFromTheLastPosition()
    {
        SlotRecorder recorder;
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        pad.moveStick(Stick::Left, 0.5f, -0.25f);
        pad.moveStick(Stick::Left, 0.5f, 0.0f);
        QCOMPARE(recorder.take(), (QStringList { QStringLiteral("left(0.5,-0.25)"), QStringLiteral("left(0,0.25)") }));
        pad.moveStick(Stick::Right, -1.0f, 1.0f);
        pad.moveStick(Stick::Right, -7.0f, 1.0f); // beyond the range: clamped, so no change at all
        pad.moveStick(Stick::Right, 0.0f, 0.0f);
        QCOMPARE(recorder.take(), (QStringList { QStringLiteral("right(-1,1)"), QStringLiteral("right(1,-1)") }));
    }

    void slotsFilledLateAreUsedFromTheNextEvent()
    {
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        // The stick moves while nobody listens; the memory follows it anyway.
        pad.moveStick(Stick::Left, 0.5f, 0.0f);
        pad.press(Button::B);
        QStringList seen;
        manager().setKeyBPressed([&](bool pressed) { seen << QStringLiteral("B%1").arg(pressed); });
        manager().setLeftJoystickChanged([&](float dx, float dy) { seen << SlotRecorder::stick("left", dx, dy); });
        pad.moveStick(Stick::Left, 0.0f, 0.0f);
        pad.release(Button::B);
        QCOMPARE(seen, (QStringList { QStringLiteral("left(-0.5,0)"), QStringLiteral("B0") }));

        // A slot replaced or cleared takes effect at once, also from inside a call.
        manager().setKeyBPressed([&](bool) {
            seen << QStringLiteral("replaced");
            manager().setKeyBPressed(nullptr);
        });
        pad.press(Button::B);
        pad.release(Button::B);
        QCOMPARE(seen.last(), QStringLiteral("replaced"));
        QCOMPARE(seen.size(), 3);
        QVERIFY(!manager().keyBPressed());
    }

    void twoControllersShareTheStickMemory()
    {
        SlotRecorder recorder;
        VirtualGameController one(testsupport::controllerService()), two(testsupport::controllerService());
        one.plugIn();
        two.plugIn();
        one.moveStick(Stick::Left, 0.5f, 0.5f);
        two.moveStick(Stick::Left, -0.5f, 0.0f); // relative to the other controller's last report
        one.moveStick(Stick::Left, 0.5f, 1.0f);
        two.moveStick(Stick::Right, 0.25f, 0.0f); // the right stick has its own memory
        QCOMPARE(recorder.take(),
            (QStringList { QStringLiteral("left(0.5,0.5)"), QStringLiteral("left(-1,-0.5)"),
                QStringLiteral("left(1,1)"), QStringLiteral("right(0.25,0)") }));
    }

    void disconnectTellsTheDelegateOnlyAndTheOthersKeepFiring()
    {
        SlotRecorder recorder;
        RecordingDelegate delegate;
        VirtualGameController staying(testsupport::controllerService()), leaving(testsupport::controllerService());
        staying.plugIn();
        leaving.plugIn();
        leaving.moveStick(Stick::Left, 0.75f, 0.0f);
        recorder.take();
        leaving.unplug();
        QCOMPARE(delegate.disconnected, 1);
        QCOMPARE(delegate.lastManager, &manager());
        QVERIFY(manager().keyAPressed()); // no slot cleared
        staying.press(Button::A);
        staying.moveStick(Stick::Left, 0.75f, 0.5f); // the leaver's last position stays in memory
        QCOMPARE(recorder.take(), (QStringList { QStringLiteral("A+"), QStringLiteral("left(0,0.5)") }));
        QCOMPARE(testsupport::controllerService().controllers(), std::vector<GCControllerPtr> { staying.controller() });
    }

    void unpluggingAndPluggingInAgainWiresTheControllerAnew()
    {
        SlotRecorder recorder;
        RecordingDelegate delegate;
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        std::weak_ptr<KestGameController> firstWrapper = delegate.connected.at(0);
        pad.unplug();
        delegate.connected.clear();
        // Nothing holds the wrapper of a controller that has gone.
        QVERIFY(firstWrapper.expired());
        QVERIFY(!pad.controller()->controllerPausedHandler());

        pad.plugIn();
        QCOMPARE(delegate.connected.size(), size_t(1));
        QCOMPARE(pad.controller()->playerIndex(), 0); // its number stays with it
        pad.press(Button::X);
        QCOMPARE(recorder.take(), QStringList { QStringLiteral("X+") });
    }

    void setControllerTwiceChangesNothing()
    {
        VirtualGameController pad(testsupport::controllerService()), other(testsupport::controllerService());
        pad.plugIn();
        other.plugIn();
        const auto wrapper = KestGameController::create(manager());
        QCOMPARE(wrapper->gamePadType(), qint64(2)); // no controller yet
        wrapper->setController(pad.controller());
        // A handler put in place afterwards survives a second call with the same controller.
        GCControllerButtonInput* a = pad.controller()->extendedGamepad()->buttonA();
        int mine = 0;
        a->setValueChangedHandler([&](GCControllerButtonInput*, float, bool) { ++mine; });
        wrapper->setController(pad.controller());
        pad.press(Button::A);
        QCOMPARE(mine, 1);

        // Another controller: the first one keeps what was installed on it.
        wrapper->setController(other.controller());
        QCOMPARE(wrapper->controller(), other.controller());
        pad.release(Button::A);
        QCOMPARE(mine, 2);
    }

    void thePauseButtonReachesTheWrapperOfItsController()
    {
        RecordingDelegate delegate;
        auto pad = std::make_unique<VirtualGameController>(testsupport::controllerService());
        pad->plugIn();
        // Only the controller's pause handler holds the wrapper from here on.
        const std::weak_ptr<KestGameController> wrapper = delegate.connected.at(0);
        delegate.connected.clear();
        QVERIFY(!wrapper.expired());
        QVERIFY(!wrapper.lock()->pauseButtonBlock());
        QVERIFY(pad->press(Button::Menu)); // an empty block: nothing happens
        pad->release(Button::Menu);

        std::vector<GCControllerPtr> paused;
        wrapper.lock()->setPauseButtonBlock([&](const GCControllerPtr& c) { paused.push_back(c); });
        pad->press(Button::Menu);
        pad->setButton(Button::Menu, 0.8f); // still the same press
        QCOMPARE(paused, std::vector<GCControllerPtr> { pad->controller() });
        pad->release(Button::Menu);

        // The block unplugs and destroys the controller, which drops the
        // handler that holds the wrapper while the wrapper's block still runs.
        wrapper.lock()->setPauseButtonBlock([&](const GCControllerPtr&) { pad.reset(); });
        const GCControllerPtr controller = pad->controller();
        controller->pause();
        QVERIFY(!pad);
        QVERIFY(wrapper.expired());
    }

    void elementsDecidePressedWithHysteresisAndRejectBadValues()
    {
        GCControllerButtonInput trigger;
        QList<bool> changes;
        trigger.setPressedChangedHandler([&](GCControllerButtonInput* b, float value, bool pressed) {
            QCOMPARE(b, &trigger);
            QCOMPARE(value, b->value());
            changes << pressed;
        });
        for (float v : { 0.3f, GCControllerButtonInput::kPressedThreshold, 0.45f, 0.41f, 0.39f, 0.45f, 0.49f })
            trigger.setValue(v);
        QCOMPARE(changes, (QList<bool> { true, false }));
        trigger.setValue(7.0f);
        QCOMPARE(trigger.value(), 1.0f);
        trigger.setValue(std::numeric_limits<float>::quiet_NaN());
        QCOMPARE(trigger.value(), 0.0f);
        QVERIFY(!trigger.isPressed());

        GCControllerDirectionPad stick;
        int reports = 0;
        stick.setValueChangedHandler([&](GCControllerDirectionPad* pad, float x, float y) {
            ++reports;
            QCOMPARE(pad->up()->isPressed(), y >= GCControllerButtonInput::kPressedThreshold); // already up to date
            QCOMPARE(x, pad->xAxis());
        });
        stick.setValue(0.2f, 0.9f);
        QVERIFY(stick.up()->isPressed() && !stick.down()->isPressed());
        QCOMPARE(stick.right()->value(), 0.2f);
        stick.setValue(0.2f, 0.9f);
        stick.setValue(std::numeric_limits<float>::quiet_NaN(), -3.0f);
        QCOMPARE(stick.xAxis(), 0.0f);
        QCOMPARE(stick.yAxis(), -1.0f);
        QVERIFY(stick.down()->isPressed() && !stick.up()->isPressed());
        QCOMPARE(reports, 2);
    }

    void theDemoKeyboardDrivesTheVirtualController()
    {
        SlotRecorder recorder;
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        QVERIFY(pad.handleKey('z', true));
        QVERIFY(pad.handleKey('Z', false));
        QVERIFY(pad.handleKey('1', true));
        QVERIFY(pad.handleKey('W', true));
        QVERIFY(pad.handleKey('D', true));
        QVERIFY(pad.handleKey('S', true)); // up and down held: the vertical axis cancels out
        QVERIFY(pad.handleKey('W', false));
        QVERIFY(pad.handleKey('S', false));
        QVERIFY(pad.handleKey('D', false));
        QVERIFY(!pad.handleKey('P', true));
        QVERIFY(!pad.handleKey(0x01000000 /* Escape */, true));
        QCOMPARE(recorder.take(),
            (QStringList { QStringLiteral("A+"), QStringLiteral("A-"), QStringLiteral("L2+"),
                QStringLiteral("left(0,1)"), QStringLiteral("left(1,0)"), QStringLiteral("left(0,-1)"),
                QStringLiteral("left(0,-1)"), QStringLiteral("left(0,1)"), QStringLiteral("left(-1,0)") }));
        QCOMPARE(VirtualGameController::buttonNamed(QStringLiteral("options")).value_or(Button::A), Button::Options);
        QCOMPARE(VirtualGameController::buttonName(Button::R3), QStringLiteral("R3"));
        QVERIFY(!VirtualGameController::buttonNamed(QStringLiteral("Turbo")));
    }

    // The SDL source, the virtual controller and the wiring all map through the
    // key table: each name, SDL input and keyboard key belongs to one key, and a
    // profile reports a key exactly when it has an element for it.
    void theKeyTableGivesEachInputOneKey()
    {
        using Keys = GameControllerKeys;
        const GCExtendedGamepad extended;
        const GCGamepad basic;
        for (const Keys::Entry& e : Keys::entries()) {
            const char* name = e.name;
            QVERIFY2(Keys::keyNamed(QString::fromLatin1(name).toLower()) == e.key, name);
            if (e.sdlButton != Keys::kNoSdlInput)
                QVERIFY2(Keys::keyOfSdlButton(e.sdlButton) == e.key, name);
            if (e.sdlAxis != Keys::kNoSdlInput)
                QVERIFY2(Keys::keyOfSdlAxis(e.sdlAxis) == e.key, name);
            for (int keyboardKey : e.keyboard)
                if (keyboardKey)
                    QVERIFY2(Keys::keyOfKeyboardKey(keyboardKey) == e.key, name);
            QVERIFY2((Keys::element(extended, e.key) != nullptr) == (e.extendedReport != Keys::Report::None), name);
            QVERIFY2((Keys::element(basic, e.key) != nullptr) == (e.basicReport != Keys::Report::None), name);
        }
        QVERIFY(!Keys::keyOfSdlButton(Keys::kNoSdlInput));
        QVERIFY(!Keys::keyOfKeyboardKey(0));
    }

    void malformedNotificationsAreIgnored()
    {
        RecordingDelegate delegate;
        NotificationCenter::defaultCenter().postNotification(GCControllerDidConnectNotification, QStringLiteral("x"));
        QVERIFY(delegate.connected.empty());
        // The service announces each controller once, and only known ones as gone.
        VirtualGameController pad(testsupport::controllerService());
        GameControllerService::sharedService().disconnectController(pad.controller());
        pad.plugIn();
        GameControllerService::sharedService().connectController(pad.controller());
        QCOMPARE(delegate.connected.size(), size_t(1));
        QCOMPARE(delegate.disconnected, 0);
    }

    void aVirtualJoystickWithoutMappingHasRawInputsOnly()
    {
        SlotRecorder recorder;
        RecordingDelegate delegate;
        const auto stick
            = VirtualGameController::joystick(testsupport::controllerService(), QStringLiteral("Stick"), 2, 1, 1);
        stick->plugIn();
        const GCControllerPtr controller = stick->controller();
        QVERIFY(!controller->identity().mapped);
        QCOMPARE(delegate.connected.back()->gamePadType(), qint64(2));
        int changes = 0;
        NotificationCenter::defaultCenter().addObserver(
            this, GCControllerValuesDidChangeNotification, [&](const Notification&) { ++changes; });
        QVERIFY(stick->setRawInput(0, 1));
        QVERIFY(stick->setRawInput(0, 1)); // unchanged: taken, not announced
        QVERIFY(!stick->setRawInput(4, 1)); // it has four inputs
        QVERIFY(!stick->press(Button::A)); // no profile, no keys
        NotificationCenter::defaultCenter().removeObserver(this);
        QCOMPARE(changes, 1);
        QCOMPARE(controller->rawInputs().front().value, 1);
        QVERIFY(recorder.take().isEmpty());

        // A mapped controller's raw inputs follow its elements, not calls.
        VirtualGameController pad(testsupport::controllerService());
        QVERIFY(!pad.setRawInput(0, 1));
        QVERIFY(!pad.controller()->hasRumble() && !pad.controller()->rumble(1, 1, 100));
        pad.offerHaptics(true, false, false);
        QVERIFY(pad.controller()->rumble(0.25f, 0.5f, 100));
        QVERIFY(!pad.controller()->rumbleTriggers(1, 1, 100) && !pad.controller()->setLightColor(1, 2, 3));
        QCOMPARE(pad.haptics().high, 0.5f);
        QCOMPARE(pad.haptics().requests, 1);
    }
};

QTEST_GUILESS_MAIN(TestGameControllers)
#include "tst_gamecontrollers.moc"
