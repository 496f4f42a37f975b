#include "platform/gamepad/VirtualGameController.h"

#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QPointF>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <vector>

namespace {

bool isStickKey(int key)
{
    return key >= 'A' && key <= 'Z' && QByteArrayView("WASDIJKL").contains(char(key));
}

// The keys that turn the controller, either way about x, y and z.
constexpr char kTurnKeys[] = "RTYUOP";

bool isTurnKey(int key)
{
    return key >= 'A' && key <= 'Z' && QByteArrayView(kTurnKeys).contains(char(key));
}

// The fingers the keyboard puts on the first touchpad, and where.
struct KeyboardFinger {
    int key;
    float x, y, pressure;
};
constexpr KeyboardFinger kKeyboardFingers[] = { { 'B', 0.3f, 0.55f, 0.6f }, { 'N', 0.7f, 0.4f, 0.9f } };
constexpr int kTouchpadKey = 'M';

// A GUID as SDL makes one for a device without vendor and product ids: its
// bus (none), then the first bytes of its name.
QString guidFromName(const QString& name)
{
    constexpr int kGuidBytes = 16;
    constexpr int kNameStart = 4;
    QByteArray bytes(kGuidBytes, '\0');
    const QByteArray text = name.toUtf8();
    for (int i = 0; i < text.size() && kNameStart + i < kGuidBytes; ++i)
        bytes[kNameStart + i] = text[i];
    return QString::fromLatin1(bytes.toHex());
}

constexpr float kRawAxisRange = 32767.0f;

int rawAxis(float value)
{
    return int(std::lround(value * kRawAxisRange));
}

// The stick axes and triggers by the names the SDL source gives them.
struct RawAxis {
    const char* name;
    // The trigger's key; none for a stick axis, which every extended profile has.
    std::optional<GameControllerKeys::Key> trigger;
    std::function<float(const GCExtendedGamepad&)> value;
};

const std::vector<RawAxis>& rawAxes()
{
    using Key = GameControllerKeys::Key;
    auto level = [](const GCExtendedGamepad& p, Key key) {
        const GCControllerButtonInput* trigger = GameControllerKeys::element(p, key);
        return trigger ? trigger->value() : 0.0f;
    };
    static const std::vector<RawAxis> axes {
        { "LX", std::nullopt, [](const GCExtendedGamepad& p) { return p.leftThumbstick()->xAxis(); } },
        { "LY", std::nullopt,
            [](const GCExtendedGamepad& p) { return -p.leftThumbstick()->yAxis(); } }, // SDL's y grows downward
        { "RX", std::nullopt, [](const GCExtendedGamepad& p) { return p.rightThumbstick()->xAxis(); } },
        { "RY", std::nullopt, [](const GCExtendedGamepad& p) { return -p.rightThumbstick()->yAxis(); } },
        { "L2", Key::L2, [level](const GCExtendedGamepad& p) { return level(p, Key::L2); } },
        { "R2", Key::R2, [level](const GCExtendedGamepad& p) { return level(p, Key::R2); } },
    };
    return axes;
}

} // namespace

VirtualGameController::VirtualGameController(GameControllerService& service, GCControllerProfile profile,
    const GCExtendedGamepadOptionalElements& offered, const QString& name)
    : m_service(service)
    , m_controller(GCController::create(name.isEmpty() ? localized("VirtualControllerName") : name, profile, offered))
{
    GCControllerIdentity identity;
    identity.type = QStringLiteral("virtual");
    m_controller->setIdentity(identity);
    // The same inputs a device of this shape has through SDL.
    std::vector<GCControllerRawInput> raw;
    for (const GameControllerKeys::Entry& e : GameControllerKeys::entries())
        if (e.sdlButton != GameControllerKeys::kNoSdlInput && GameControllerKeys::element(*m_controller, e.key))
            raw.push_back({ GCControllerRawInput::Kind::Button, QString::fromLatin1(e.name), 0 });
    if (const auto pad = m_controller->extendedGamepad()) {
        for (const RawAxis& axis : rawAxes())
            if (!axis.trigger || GameControllerKeys::element(*pad, *axis.trigger))
                raw.push_back({ GCControllerRawInput::Kind::Axis, QString::fromLatin1(axis.name), 0 });
    }
    m_controller->setRawInputs(std::move(raw));
}

std::unique_ptr<VirtualGameController> VirtualGameController::joystick(
    GameControllerService& service, const QString& name, int buttons, int axes, int hats)
{
    auto pad = std::make_unique<VirtualGameController>(
        service, GCControllerProfile::None, GCExtendedGamepadOptionalElements {}, name);
    GCControllerIdentity identity = pad->m_controller->identity();
    identity.mapped = false;
    identity.guid = guidFromName(name);
    pad->m_controller->setIdentity(identity);
    std::vector<GCControllerRawInput> raw;
    for (int i = 0; i < buttons; ++i)
        raw.push_back({ GCControllerRawInput::Kind::Button, QStringLiteral("b%1").arg(i), 0 });
    for (int i = 0; i < axes; ++i)
        raw.push_back({ GCControllerRawInput::Kind::Axis, QStringLiteral("a%1").arg(i), 0 });
    for (int i = 0; i < hats; ++i)
        raw.push_back({ GCControllerRawInput::Kind::Hat, QStringLiteral("h%1").arg(i), 0 });
    pad->m_controller->setRawInputs(std::move(raw));
    return pad;
}

bool VirtualGameController::setRawInput(size_t index, int value)
{
    const GCControllerPtr controller = m_controller;
    if (controller->identity().mapped || index >= controller->rawInputs().size())
        return false;
    if (controller->setRawValue(index, value))
        controller->valuesChanged();
    return true;
}

void VirtualGameController::offerHaptics(bool rumble, bool triggerRumble, bool light)
{
    GCControllerHaptics haptics;
    const std::shared_ptr<HapticsRequest> record = m_haptics;
    if (rumble)
        haptics.rumble = [record](float low, float high, int ms) {
            record->low = low;
            record->high = high;
            record->rumbleMs = ms;
            ++record->requests;
            return true;
        };
    if (triggerRumble)
        haptics.rumbleTriggers = [record](float left, float right, int ms) {
            record->leftTrigger = left;
            record->rightTrigger = right;
            record->triggerRumbleMs = ms;
            ++record->requests;
            return true;
        };
    if (light)
        haptics.setLight = [record](int red, int green, int blue) {
            record->red = red;
            record->green = green;
            record->blue = blue;
            ++record->requests;
            return true;
        };
    m_controller->setHaptics(std::move(haptics));
}

// Keeps the raw inputs in step with the elements, then announces the change.
// Static: the element handlers that ran before may have destroyed the VirtualGameController.
void VirtualGameController::updateRawInputs(const GCControllerPtr& controller)
{
    const std::vector<GCControllerRawInput>& raw = controller->rawInputs();
    for (size_t i = 0; i < raw.size(); ++i) {
        const QByteArray name = raw[i].name.toLatin1();
        if (raw[i].kind == GCControllerRawInput::Kind::Button) {
            const std::optional<Button> key = GameControllerKeys::keyNamed(raw[i].name);
            const GCControllerButtonInput* element = key ? GameControllerKeys::element(*controller, *key) : nullptr;
            controller->setRawValue(i, element && element->isPressed() ? 1 : 0);
        } else if (const auto pad = controller->extendedGamepad()) {
            for (const RawAxis& axis : rawAxes())
                if (name == axis.name)
                    controller->setRawValue(i, rawAxis(axis.value(*pad)));
        }
    }
    controller->valuesChanged();
}

VirtualGameController::~VirtualGameController()
{
    m_stream.reset();
    m_sweep.reset();
    m_controller->setMeasuringSwitch(nullptr); // it refers to this object
    unplug();
}

void VirtualGameController::offerMotion(double rateHz)
{
    m_controller->setMotionSensors(true, true, rateHz, rateHz);
}

void VirtualGameController::offerTouchpads(int count, int fingers)
{
    m_controller->setTouchpads(count, fingers);
}

void VirtualGameController::setRotation(float x, float y, float z)
{
    const GCControllerPtr controller = m_controller; // observers may destroy this object
    controller->setSensorValues(GCControllerSensor::Gyroscope, { x, y, z }, inputTime());
}

void VirtualGameController::setAcceleration(float x, float y, float z)
{
    const GCControllerPtr controller = m_controller;
    controller->setSensorValues(GCControllerSensor::Accelerometer, { x, y, z }, inputTime());
}

void VirtualGameController::streamMotion(double rateHz, const std::array<float, 3>& bias, float noise)
{
    m_streamRateHz = rateHz;
    m_streamBias = bias;
    m_streamNoise = noise;
    m_controller->setMeasuringSwitch([this](bool measuring) {
        m_stream.reset();
        if (measuring && m_streamRateHz > 0)
            m_stream = Timer::scheduledTimer(1.0 / m_streamRateHz, true, [this] { sampleMotion(); });
    });
}

void VirtualGameController::sampleMotion()
{
    // The turn held on the keyboard tilts the controller: gravity follows.
    std::array<double, 2>& tilt = m_tilt;
    const double step = 1.0 / m_streamRateHz;
    tilt[0] += m_keyboardTurn[0] * step * std::numbers::pi / 180.0;
    tilt[1] += m_keyboardTurn[1] * step * std::numbers::pi / 180.0;
    std::normal_distribution<float> noise(0.0f, m_streamNoise);
    auto sample = [&](size_t axis) {
        return m_keyboardTurn[axis] + m_streamBias[axis] + (m_streamNoise > 0 ? noise(m_noise) : 0.0f);
    };
    const float g = kStandardGravity;
    const GCControllerPtr controller = m_controller; // observers may destroy this object
    const qint64 at = inputTime();
    controller->setSensorValues(GCControllerSensor::Gyroscope, { sample(0), sample(1), sample(2) }, at);
    controller->setSensorValues(GCControllerSensor::Accelerometer,
        { float(g * std::sin(tilt[1])), float(-g * std::sin(tilt[0]) * std::cos(tilt[1])),
            float(g * std::cos(tilt[0]) * std::cos(tilt[1])) },
        at);
}

bool VirtualGameController::touch(int touchpad, int finger, float x, float y, float pressure)
{
    const GCControllerPtr controller = m_controller;
    stampInput();
    return controller->setTouch(touchpad, finger, { true, x, y, pressure });
}

bool VirtualGameController::lift(int touchpad, int finger)
{
    const GCControllerPtr controller = m_controller;
    stampInput();
    const auto& pads = controller->touchpads();
    GCControllerTouch lifted;
    if (touchpad >= 0 && size_t(touchpad) < pads.size() && finger >= 0
        && size_t(finger) < pads[size_t(touchpad)].fingers.size()) {
        lifted = pads[size_t(touchpad)].fingers[size_t(finger)];
    }
    lifted.down = false;
    lifted.pressure = 0;
    return controller->setTouch(touchpad, finger, lifted);
}

bool VirtualGameController::pressTouchpad(int touchpad, bool pressed)
{
    const GCControllerPtr controller = m_controller;
    stampInput();
    return controller->setTouchpadPressed(touchpad, pressed);
}

void VirtualGameController::plugIn()
{
    if (m_pluggedIn)
        return;
    m_pluggedIn = true;
    m_service.connectController(m_controller);
}

void VirtualGameController::unplug()
{
    if (!m_pluggedIn)
        return;
    m_pluggedIn = false;
    m_service.disconnectController(m_controller);
}

qint64 VirtualGameController::inputTime() const
{
    using namespace std::chrono;
    return m_inputTime ? *m_inputTime : duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void VirtualGameController::stampInput() const
{
    m_controller->setInputTime(inputTime(), GCControllerInputClock::Device);
}

bool VirtualGameController::setButton(Button button, float value)
{
    const GCControllerPtr controller = m_controller; // the handlers may destroy this object
    stampInput();
    GCControllerButtonInput* target = GameControllerKeys::element(*controller, button);
    if (GameControllerKeys::isPadDirection(button)) {
        if (!target)
            return false;
        GCControllerDirectionPad* dpad
            = controller->extendedGamepad() ? controller->extendedGamepad()->dpad() : controller->gamepad()->dpad();
        auto level = [&](Button b, GCControllerButtonInput* e) { return b == button ? value : e->value(); };
        // The pad reports a position; both directions of an axis held at once cancel out.
        dpad->setValue(level(Button::Right, dpad->right()) - level(Button::Left, dpad->left()),
            level(Button::Up, dpad->up()) - level(Button::Down, dpad->down()));
        updateRawInputs(controller);
        return true;
    }
    // Every controller has a pause button; on controllers with a menu button it is that button.
    const bool pauses = button == GameControllerKeys::kPauseButtonKey;
    const bool wasPressed = target && target->isPressed();
    if (target)
        target->setValue(value);
    const bool pressed = target ? target->isPressed() : value >= GCControllerButtonInput::kPressedThreshold;
    if (pauses && pressed && !wasPressed)
        controller->pause();
    if (target)
        updateRawInputs(controller);
    return target || pauses;
}

bool VirtualGameController::moveStick(Stick stick, float x, float y)
{
    const GCControllerPtr controller = m_controller; // the handlers may destroy this object
    const auto pad = controller->extendedGamepad();
    if (!pad)
        return false;
    stampInput();
    (stick == Stick::Left ? pad->leftThumbstick() : pad->rightThumbstick())->setValue(x, y);
    updateRawInputs(controller);
    return true;
}

bool VirtualGameController::handleKey(int key, bool down)
{
    if (key >= 'a' && key <= 'z')
        key -= 'a' - 'A';
    if (!m_controller->identity().mapped)
        return handleJoystickKey(key, down);
    if (isTurnKey(key) && m_controller->motion().hasGyroscope) {
        if (down)
            m_heldKeys.insert(key);
        else
            m_heldKeys.remove(key);
        updateKeyboardMotion();
        return true;
    }
    for (const KeyboardFinger& f : kKeyboardFingers) {
        if (key == f.key && !m_controller->touchpads().empty()) {
            const int finger = int(&f - kKeyboardFingers);
            if (down)
                touch(0, finger, f.x, f.y, f.pressure);
            else
                lift(0, finger);
            return true;
        }
    }
    if (key == kTouchpadKey && !m_controller->touchpads().empty()) {
        pressTouchpad(0, down);
        return true;
    }
    if (key == Qt::Key_Shift) {
        m_sweepKeyHeld = down;
        updateKeyboardSticks();
        return true;
    }
    if (isStickKey(key)) {
        if (down)
            m_heldStickKeys.insert(key);
        else
            m_heldStickKeys.remove(key);
        updateKeyboardSticks();
        return true;
    }
    const std::optional<Button> button = GameControllerKeys::keyOfKeyboardKey(key);
    if (!button)
        return false;
    setButton(*button, down ? 1.0f : 0.0f);
    return true;
}

void VirtualGameController::updateKeyboardMotion()
{
    for (size_t axis = 0; axis < 3; ++axis) {
        const int positive = kTurnKeys[2 * axis];
        const int negative = kTurnKeys[2 * axis + 1];
        m_keyboardTurn[axis]
            = kKeyboardTurn * (float(m_heldKeys.contains(positive)) - float(m_heldKeys.contains(negative)));
    }
    // Without a stream the gyroscope reports what the keys change.
    if (!m_stream)
        setRotation(m_keyboardTurn[0], m_keyboardTurn[1], m_keyboardTurn[2]);
}

// A joystick's buttons in the order of the key table's keyboard keys, its
// first four axes on the stick keys (y growing downward, as SDL's), its
// first hat on the arrows.
bool VirtualGameController::handleJoystickKey(int key, bool down)
{
    const std::vector<GCControllerRawInput>& raw = m_controller->rawInputs();
    auto indexOf = [&raw](GCControllerRawInput::Kind kind, int number) -> int {
        int seen = 0;
        for (size_t i = 0; i < raw.size(); ++i)
            if (raw[i].kind == kind && seen++ == number)
                return int(i);
        return -1;
    };
    if (down)
        m_heldKeys.insert(key);
    else
        m_heldKeys.remove(key);
    if (isStickKey(key)) {
        auto axis = [this](int negative, int positive) {
            return int(std::lround(
                (float(m_heldKeys.contains(positive)) - float(m_heldKeys.contains(negative))) * kRawAxisRange));
        };
        const int values[] = { axis('A', 'D'), axis('W', 'S'), axis('J', 'L'), axis('I', 'K') };
        for (int a = 0; a < 4; ++a)
            if (const int index = indexOf(GCControllerRawInput::Kind::Axis, a); index >= 0)
                setRawInput(size_t(index), values[a]);
        return true;
    }
    const std::pair<int, int> arrows[]
        = { { Qt::Key_Up, 1 }, { Qt::Key_Right, 2 }, { Qt::Key_Down, 4 }, { Qt::Key_Left, 8 } };
    for (const auto& [arrow, bit] : arrows) {
        if (key != arrow)
            continue;
        int hat = 0;
        for (const auto& [held, heldBit] : arrows)
            if (m_heldKeys.contains(held))
                hat |= heldBit;
        const int index = indexOf(GCControllerRawInput::Kind::Hat, 0);
        return index >= 0 && setRawInput(size_t(index), hat);
    }
    int number = 0;
    for (const GameControllerKeys::Entry& e : GameControllerKeys::entries()) {
        if (e.keyboard[0] == 0 || GameControllerKeys::isPadDirection(e.key))
            continue;
        if (e.keyboard[0] == key || e.keyboard[1] == key) {
            const int index = indexOf(GCControllerRawInput::Kind::Button, number);
            return index >= 0 && setRawInput(size_t(index), down ? 1 : 0);
        }
        ++number;
    }
    return false;
}

void VirtualGameController::updateKeyboardSticks()
{
    auto axis = [this](int negative, int positive) {
        return float(m_heldStickKeys.contains(positive)) - float(m_heldStickKeys.contains(negative));
    };
    const std::array<QPointF, 2> keys { QPointF(axis('A', 'D'), axis('S', 'W')),
        QPointF(axis('J', 'L'), axis('K', 'I')) };
    const std::array<QByteArrayView, 2> stickKeys { "WASD", "IJKL" };
    bool sweeping = false;
    for (size_t s = 0; s < 2; ++s) {
        const bool held = std::any_of(
            stickKeys[s].begin(), stickKeys[s].end(), [this](char k) { return m_heldStickKeys.contains(int(k)); });
        std::optional<double>& angle = m_sweepAngle[s];
        if (m_sweepKeyHeld && held) {
            // The sweep starts where the keys point (right when they cancel out).
            if (!angle)
                angle = std::atan2(keys[s].y(), keys[s].x());
            sweeping = true;
            moveStick(Stick(s), float(std::cos(*angle)), float(std::sin(*angle)));
        } else {
            angle.reset();
            moveStick(Stick(s), float(keys[s].x()), float(keys[s].y()));
        }
    }
    if (!sweeping)
        m_sweep.reset();
    else if (!m_sweep)
        m_sweep = Timer::scheduledTimer(1.0 / kSweepHz, true, [this] { sweepSticks(); });
}

void VirtualGameController::sweepSticks()
{
    for (size_t s = 0; s < 2; ++s) {
        if (std::optional<double>& angle = m_sweepAngle[s]) {
            *angle = std::remainder(*angle + 2 * std::numbers::pi / kSweepSteps, 2 * std::numbers::pi);
            moveStick(Stick(s), float(std::cos(*angle)), float(std::sin(*angle)));
        }
    }
}

std::optional<VirtualGameController::Button> VirtualGameController::buttonNamed(const QString& name)
{
    const std::optional<Button> button = GameControllerKeys::keyNamed(name);
    if (button && GameControllerKeys::hasElement(*button))
        return button;
    return std::nullopt;
}

QString VirtualGameController::buttonName(Button button)
{
    return QString::fromLatin1(GameControllerKeys::name(button));
}
