#pragma once

#include "platform/gamepad/GameControllerKeys.h"
#include "platform/gamepad/GCController.h"

#include <QSet>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <random>

class GameControllerService;
class Timer;

// A game controller without hardware, for the simulator, the demo mode and
// tests: it is plugged in and out and its buttons, sticks, motion sensors
// and touchpads are moved by calls, or from the keyboard in the demo. It
// reaches the game-controller service exactly as a real controller does.
// Pressing its menu button is also a press of its pause button, as on real
// controllers.
class VirtualGameController {
public:
    // The keys of the key table; Pause and Turbo have no element, so setButton refuses them.
    using Button = GameControllerKeys::Key;
    enum class Stick { Left, Right };

    // Plugged in and out of service, which outlives it; name: empty for the
    // localised default name.
    explicit VirtualGameController(GameControllerService& service,
        GCControllerProfile profile = GCControllerProfile::Extended,
        const GCExtendedGamepadOptionalElements& offered = {}, const QString& name = QString());
    // Unplugs the controller when it is still plugged in.
    ~VirtualGameController();
    VirtualGameController(const VirtualGameController&) = delete;
    VirtualGameController& operator=(const VirtualGameController&) = delete;

    // A joystick without mapping: numbered buttons (b0...), axes (a0...) and
    // hats (h0...) with raw values only, and no profile. Its GUID carries its
    // name, as SDL's do for devices without vendor and product ids.
    static std::unique_ptr<VirtualGameController> joystick(
        GameControllerService& service, const QString& name, int buttons, int axes, int hats);
    // Sets the raw value of such a joystick's input, by its place in the
    // controller's raw inputs; false when it has none there.
    bool setRawInput(size_t index, int value);

    // The same controller object across unplugging and plugging in again.
    GCControllerPtr controller() const { return m_controller; }

    void plugIn();
    void unplug();
    bool isPluggedIn() const { return m_pluggedIn; }

    // Moves a button to an analogue value (0.0 at rest to 1.0); false when
    // the controller's profile has no such button.
    bool setButton(Button button, float value);
    bool press(Button button) { return setButton(button, 1.0f); }
    bool release(Button button) { return setButton(button, 0.0f); }
    // Moves a stick to (x, y), y growing upward; false when the profile has no sticks.
    bool moveStick(Stick stick, float x, float y);

    // The time of the changes that follow, in microseconds, as the device's
    // own clock; until it is set, the changes are timed by the machine's
    // steady clock as they happen. A script sets it to replay a timed trace.
    void setInputTime(qint64 microseconds) { m_inputTime = microseconds; }

    // What the controller's motors and light were last asked to do.
    struct HapticsRequest {
        float low = 0, high = 0, leftTrigger = 0, rightTrigger = 0;
        int rumbleMs = 0, triggerRumbleMs = 0;
        int red = -1, green = -1, blue = -1; // -1: never set
        int requests = 0;
    };
    // Gives the controller motors (both, and the triggers' when asked) and a
    // light, which record what they are asked to do.
    void offerHaptics(bool rumble, bool triggerRumble, bool light);
    HapticsRequest haptics() const { return *m_haptics; }

    // Gives the controller a gyroscope and an accelerometer (stating rateHz),
    // and touchpads with room for some fingers each.
    void offerMotion(double rateHz = 0);
    void offerTouchpads(int count, int fingers);
    // A sample of each sensor: degrees per second about x, y and z; m/s²
    // along them, gravity included (lying flat, z reads it).
    void setRotation(float x, float y, float z);
    void setAcceleration(float x, float y, float z);
    // While the controller is measured, both sensors sample by themselves at
    // rateHz: the turn the keyboard gives plus a constant bias and noise
    // (standard deviation, per axis, degrees per second), and gravity
    // tilted by that turn. Samples are timed as setInputTime() says.
    void streamMotion(double rateHz, const std::array<float, 3>& bias, float noise);
    // A finger on a touchpad (x, y 0..1 from the left and the top; pressure 0..1), or lifted.
    bool touch(int touchpad, int finger, float x, float y, float pressure);
    bool lift(int touchpad, int finger);
    bool pressTouchpad(int touchpad, bool pressed);

    // The demo's keyboard, by Qt key code, as the key table maps it (Z X C V
    // are A B X Y; Q and E the shoulders, 1 and 3 the triggers, F and G the
    // stick clicks; Home, Return and Tab are home, menu and options; the
    // arrows are the pad); W A S D move the left stick and I J K L the right
    // one; R T, Y U and O P turn the controller about x, y and z either way;
    // B and N put a finger on the first touchpad, M presses it. Shift held
    // with a stick's keys sweeps that stick around its edge, anticlockwise
    // from where the keys point, one turn in kSweepSteps steps at kSweepHz,
    // so that a rotation can be done by keyboard. A joystick
    // without mapping takes the same keys as its buttons b0, b1, ... in that
    // order, W A S D and I J K L as its axes a0 to a3 and the arrows as its
    // first hat. True when the key is mapped.
    bool handleKey(int key, bool down);
    // How fast a held turning key turns the controller (degrees per second).
    static constexpr float kKeyboardTurn = 90.0f;
    // How often a sweeping stick steps, and the steps of one turn: finer than
    // the stick check's bins, so that a turn reaches every direction.
    static constexpr double kSweepHz = 60.0;
    static constexpr int kSweepSteps = 96;
    static constexpr float kStandardGravity = 9.80665f;

    // Buttons by their names as buttonName() gives them (A, B, X, Y, L1 ... Options, Up ... Right), in any case.
    static std::optional<Button> buttonNamed(const QString& name);
    static QString buttonName(Button button);

private:
    void updateKeyboardSticks();
    void sweepSticks();
    void updateKeyboardMotion();
    bool handleJoystickKey(int key, bool down);
    void sampleMotion();
    qint64 inputTime() const;
    void stampInput() const;
    static void updateRawInputs(const GCControllerPtr& controller);

    GameControllerService& m_service;
    GCControllerPtr m_controller;
    bool m_pluggedIn = false;
    QSet<int> m_heldStickKeys;
    bool m_sweepKeyHeld = false;
    std::array<std::optional<double>, 2> m_sweepAngle {}; // by stick, while it sweeps
    std::shared_ptr<Timer> m_sweep;
    std::optional<qint64> m_inputTime;
    std::shared_ptr<HapticsRequest> m_haptics = std::make_shared<HapticsRequest>();
    QSet<int> m_heldKeys; // a joystick's and the turning keys
    std::array<float, 3> m_keyboardTurn {};
    std::array<double, 2> m_tilt {}; // radians about x and y, from the turns
    double m_streamRateHz = 0;
    std::array<float, 3> m_streamBias {};
    float m_streamNoise = 0;
    std::mt19937 m_noise { 7 };
    std::shared_ptr<Timer> m_stream;
};
