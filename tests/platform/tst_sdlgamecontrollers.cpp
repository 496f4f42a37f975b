// The machine's own game controllers through SDL, end to end: devices on
// SDL's virtual joystick driver are plugged in and out while the program runs
// and their buttons and axes go all the way to the input manager's slots.
#include "input/KestGameController.h"
#include "input/KestGameControllerManager.h"
#include "platform/GameControllerService.h"
#include "platform/SdlGameControllerSource.h"
#include "platform/VirtualGameController.h"
#include "support/SlotRecorder.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <SDL.h>

#include <bit>
#include <cmath>
#include <memory>

using namespace testsupport;

namespace {

using Key = KestGameControllerManager::Key;

constexpr Uint32 kAllButtons = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
constexpr Uint32 kAllAxes = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;

KestGameControllerManager& manager()
{
    return KestGameControllerManager::sharedInstance();
}

struct RecordingDelegate : KestGameControllerManagerDelegate {
    std::vector<std::shared_ptr<KestGameController>> connected;
    int disconnected = 0;

    RecordingDelegate() { manager().setDelegate(this); }
    ~RecordingDelegate() { manager().setDelegate(nullptr); }
    void gameControllerManager(KestGameControllerManager*, const std::shared_ptr<KestGameController>& c) override
    {
        connected.push_back(c);
    }
    void gameControllerManagerGameControllerDisconnected(KestGameControllerManager*) override { ++disconnected; }
};

// A device on SDL's virtual joystick driver, mapped as a game controller.
// Buttons and axes left out of the masks don't exist on it at all.
class SdlVirtualPad {
public:
    explicit SdlVirtualPad(const char* name, Uint32 buttons = kAllButtons, Uint32 axes = kAllAxes)
        : m_buttons(buttons)
        , m_axes(axes)
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.nbuttons = Uint16(std::popcount(buttons));
        desc.naxes = Uint16(std::popcount(axes));
        desc.button_mask = buttons;
        desc.axis_mask = axes;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0)
            error = QString::fromUtf8(SDL_GetError());
        else
            m_id = SDL_JoystickGetDeviceInstanceID(index);
    }
    ~SdlVirtualPad() { unplug(); }

    QString error;
    bool isPlugged() const { return m_id >= 0; }

    void unplug()
    {
        // Device indexes shift as devices come and go: look it up by its id.
        for (int i = 0; m_id >= 0 && i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id)
                SDL_JoystickDetachVirtual(i);
        m_id = -1;
    }
    // Each change is queued as an event at once: a press and release before
    // the next poll would otherwise never be seen, as on a real device.
    void button(SDL_GameControllerButton b, bool down) const
    {
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(m_id), slot(m_buttons, b), down);
        SDL_JoystickUpdate();
    }
    void axis(SDL_GameControllerAxis a, Sint16 value) const
    {
        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(m_id), slot(m_axes, a), value);
        SDL_JoystickUpdate();
    }
    // The driver's trigger axes span the whole axis range, at rest at its bottom.
    void trigger(SDL_GameControllerAxis a, double level) const
    {
        axis(a, Sint16(std::lround(level * 65535.0 - 32768.0)));
    }
    int playerIndex() const { return SDL_JoystickGetPlayerIndex(SDL_JoystickFromInstanceID(m_id)); }

private:
    // The driver numbers only the buttons and axes that the device has.
    static int slot(Uint32 mask, int which) { return std::popcount(mask & ((1u << which) - 1)); }

    Uint32 m_buttons;
    Uint32 m_axes;
    SDL_JoystickID m_id = -1;
};

bool waitForControllers(size_t n)
{
    return waitUntil([n] { return GCController::controllers().size() == n; });
}

} // namespace

class TestSdlGameControllers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("SDL_VIDEODRIVER", "dummy");
        manager();
    }

    void cleanup() { QVERIFY(waitForControllers(0)); }

    // First: SDL is not started by anything else yet.
    void sdlThatCannotStartLeavesVirtualControllersWorking()
    {
        QVERIFY(GameControllerService::sharedService().hardwareError().isEmpty()); // nobody asked yet
        SdlGameControllerSource broken([](std::uint32_t) {
            SDL_SetError("no permission to read input devices");
            return -1;
        });
        QVERIFY(!broken.start());
        QVERIFY(!broken.isRunning());
        QVERIFY2(broken.errorString().contains(QLatin1String("no permission to read input devices")),
            qPrintable(broken.errorString()));
        QVERIFY(broken.errorString().startsWith(QLatin1String("Game controllers cannot be used")));

        SlotRecorder recorder;
        VirtualGameController pad;
        pad.plugIn();
        pad.press(VirtualGameController::Button::A);
        QCOMPARE(recorder.events, QStringList { QStringLiteral("A+") });
    }

    // Before the shared source takes SDL over for the rest of the process.
    void aSourceThatGoesAwayReportsItsControllersGone()
    {
        RecordingDelegate delegate;
        {
            SdlGameControllerSource source;
            if (!source.start())
                QSKIP(qPrintable(source.errorString()));
            SdlVirtualPad pad("Short Lived");
            if (!pad.isPlugged())
                QSKIP(qPrintable(QStringLiteral("SDL virtual joysticks are unavailable: ") + pad.error));
            QVERIFY(waitForControllers(1));
            QCOMPARE(delegate.connected.size(), size_t(1));
        }
        QVERIFY(GCController::controllers().empty());
        QCOMPARE(delegate.disconnected, 1);
    }

    void controllersArriveAndLeaveWhileTheProgramRuns()
    {
        GameControllerService& service = GameControllerService::sharedService();
        if (!service.startHardwareControllers())
            QSKIP(qPrintable(service.hardwareError()));
        QVERIFY(service.isFollowingHardware());
        QVERIFY(service.hardwareError().isEmpty());
        RecordingDelegate delegate;
        SlotRecorder recorder;

        auto pad = std::make_unique<SdlVirtualPad>("Test Pad");
        if (!pad->isPlugged())
            QSKIP(qPrintable(QStringLiteral("SDL virtual joysticks are unavailable: ") + pad->error));
        QVERIFY(waitForControllers(1));
        QCOMPARE(delegate.connected.size(), size_t(1));
        const GCControllerPtr controller = GCController::controllers().front();
        QCOMPARE(controller->vendorName(), QStringLiteral("Test Pad"));
        QCOMPARE(controller->playerIndex(), 0);
        QCOMPARE(delegate.connected.front()->gamePadType(), qint64(1));
        QCOMPARE(delegate.connected.front()->controller(), controller);
        const auto extended = controller->extendedGamepad();
        QVERIFY(extended->buttonHome() && extended->buttonMenu() && extended->buttonOptions());
        QVERIFY(extended->leftThumbstickButton() && extended->rightThumbstickButton());

        // Every button, with start as menu, back as options and guide as home.
        const std::pair<SDL_GameControllerButton, const char*> buttons[] = { { SDL_CONTROLLER_BUTTON_A, "A" },
            { SDL_CONTROLLER_BUTTON_B, "B" }, { SDL_CONTROLLER_BUTTON_X, "X" }, { SDL_CONTROLLER_BUTTON_Y, "Y" },
            { SDL_CONTROLLER_BUTTON_LEFTSHOULDER, "L1" }, { SDL_CONTROLLER_BUTTON_LEFTSTICK, "L3" },
            { SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, "R1" }, { SDL_CONTROLLER_BUTTON_RIGHTSTICK, "R3" },
            { SDL_CONTROLLER_BUTTON_START, "Menu" }, { SDL_CONTROLLER_BUTTON_BACK, "Options" },
            { SDL_CONTROLLER_BUTTON_GUIDE, "Home" } }; // last: SDL holds a guide release back a little
        int paused = 0;
        delegate.connected.front()->setPauseButtonBlock([&](const GCControllerPtr& c) { paused += c == controller; });
        QStringList expected;
        for (const auto& [button, name] : buttons) {
            pad->button(button, true);
            pad->button(button, false);
            expected << QString::fromLatin1(name) + QLatin1Char('+') << QString::fromLatin1(name) + QLatin1Char('-');
        }
        QCOMPARE(recorder.take(int(expected.size())), expected);
        QCOMPARE(paused, 1);

        // Triggers are analogue: pressed from half way, released below the
        // release threshold, one report each way however many steps between.
        for (double level : { 0.45, 0.6, 1.0, 0.42, 0.0 })
            pad->trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, level);
        QCOMPARE(recorder.take(2), (QStringList { QStringLiteral("R2+"), QStringLiteral("R2-") }));

        // Sticks in -1..1 with y growing upward; SDL's y grows downward.
        pad->axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
        pad->axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
        pad->axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
        pad->axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        QCOMPARE(recorder.take(4),
            (QStringList { QStringLiteral("left(1,0)"), QStringLiteral("left(0,1)"), QStringLiteral("right(0,-1)"),
                QStringLiteral("left(-1,0)") }));
        QCOMPARE(extended->leftThumbstick()->up()->isPressed(), true);

        pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
        pad->button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        QCOMPARE(recorder.take(8),
            (QStringList { QStringLiteral("Up-"), QStringLiteral("Down-"), QStringLiteral("Left+"),
                QStringLiteral("Right-"), QStringLiteral("Up-"), QStringLiteral("Down+"), QStringLiteral("Left+"),
                QStringLiteral("Right-") }));

        // The number we give a controller shows on the device.
        controller->setPlayerIndex(3);
        QCOMPARE(pad->playerIndex(), 3);

        // Unplugged: held sticks and buttons come back to rest first, then the
        // controller is gone and only the manager is passed to the delegate.
        pad->unplug();
        QVERIFY(waitForControllers(0));
        QCOMPARE(delegate.disconnected, 1);
        QVERIFY(waitUntil([&] { return recorder.events.contains(QStringLiteral("left(0,-1)")); }));
        recorder.events.clear();
        QVERIFY(!controller->controllerPausedHandler());

        // Plugged in again, and a second one besides: no restart needed.
        pad = std::make_unique<SdlVirtualPad>("Test Pad");
        SdlVirtualPad second("Second Pad");
        QVERIFY(waitForControllers(2));
        QCOMPARE(delegate.connected.size(), size_t(3));
        const GCControllerPtr again = delegate.connected.at(1)->controller();
        QVERIFY(again != controller); // a new attachment is a new controller
        QCOMPARE(again->playerIndex(), 0);
        QCOMPARE(delegate.connected.at(2)->controller()->playerIndex(), 1);
        pad->button(SDL_CONTROLLER_BUTTON_X, true);
        second.button(SDL_CONTROLLER_BUTTON_Y, true);
        QCOMPARE(recorder.take(2), (QStringList { QStringLiteral("X+"), QStringLiteral("Y+") }));
    }

    void aPadWithoutSticksOrTriggersGetsTheBasicProfile()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        RecordingDelegate delegate;
        SlotRecorder recorder;
        const Uint32 buttons = kAllButtons & ~(1u << SDL_CONTROLLER_BUTTON_GUIDE);
        const Uint32 axes = (1u << SDL_CONTROLLER_AXIS_LEFTX) | (1u << SDL_CONTROLLER_AXIS_LEFTY);
        SdlVirtualPad pad("Small Pad", buttons, axes);
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const auto wrapper = delegate.connected.at(0);
        QCOMPARE(wrapper->gamePadType(), qint64(0));
        QVERIFY(wrapper->gamepad());
        int paused = 0;
        wrapper->setPauseButtonBlock([&](const GCControllerPtr&) { ++paused; });

        // Back, the stick clicks and the stick are not part of the basic profile.
        pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
        pad.button(SDL_CONTROLLER_BUTTON_LEFTSTICK, true);
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
        pad.button(SDL_CONTROLLER_BUTTON_START, true); // pause only
        pad.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
        pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
        QCOMPARE(recorder.take(5),
            (QStringList { QStringLiteral("L1+"), QStringLiteral("Up-"), QStringLiteral("Down-"),
                QStringLiteral("Left-"), QStringLiteral("Right+") }));
        QCOMPARE(paused, 1);
    }

    void anExtendedPadWithoutAHomeButton()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SlotRecorder recorder;
        SdlVirtualPad pad("No Home", kAllButtons & ~(1u << SDL_CONTROLLER_BUTTON_GUIDE));
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const auto extended = GCController::controllers().front()->extendedGamepad();
        QVERIFY(extended);
        QVERIFY(!extended->buttonHome());
        QVERIFY(extended->buttonMenu());
        pad.button(SDL_CONTROLLER_BUTTON_START, true);
        QCOMPARE(recorder.take(1), QStringList { QStringLiteral("Menu+") });
    }

    void deviceNamesStayOnOneLine()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlVirtualPad pad(" Odd\tPad\nkey A pressed\x1b[2J ");
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        QCOMPARE(GCController::controllers().front()->vendorName(), QStringLiteral("Odd Pad key A pressed [2J"));
    }

    void onlyOneSourceFollowsSdl()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlGameControllerSource second;
        QVERIFY(!second.start());
        QVERIFY2(second.errorString().contains(QLatin1String("already reading")), qPrintable(second.errorString()));
        // The first one is undisturbed.
        SlotRecorder recorder;
        SdlVirtualPad pad("Still Here");
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        pad.button(SDL_CONTROLLER_BUTTON_B, true);
        QCOMPARE(recorder.take(1), QStringList { QStringLiteral("B+") });
    }
};

QTEST_GUILESS_MAIN(TestSdlGameControllers)
#include "tst_sdlgamecontrollers.moc"
