#include "platform/gamepad/VirtualGameController.h"

#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/Localization.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

namespace {

bool isStickKey(int key)
{
    return key >= 'A' && key <= 'Z' && QByteArrayView("WASDIJKL").contains(char(key));
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

VirtualGameController::VirtualGameController(
    GCControllerProfile profile, const GCExtendedGamepadOptionalElements& offered, const QString& name)
    : m_controller(GCController::create(name.isEmpty() ? localized("VirtualControllerName") : name, profile, offered))
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
    const QString& name, int buttons, int axes, int hats)
{
    auto pad = std::make_unique<VirtualGameController>(
        GCControllerProfile::None, GCExtendedGamepadOptionalElements {}, name);
    GCControllerIdentity identity = pad->m_controller->identity();
    identity.mapped = false;
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
    unplug();
}

void VirtualGameController::plugIn()
{
    if (m_pluggedIn)
        return;
    m_pluggedIn = true;
    GameControllerService::sharedService().connectController(m_controller);
}

void VirtualGameController::unplug()
{
    if (!m_pluggedIn)
        return;
    m_pluggedIn = false;
    GameControllerService::sharedService().disconnectController(m_controller);
}

void VirtualGameController::stampInput() const
{
    using namespace std::chrono;
    const qint64 now
        = m_inputTime ? *m_inputTime : duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    m_controller->setInputTime(now, GCControllerInputClock::Device);
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

void VirtualGameController::updateKeyboardSticks()
{
    auto axis = [this](int negative, int positive) {
        return float(m_heldStickKeys.contains(positive)) - float(m_heldStickKeys.contains(negative));
    };
    moveStick(Stick::Left, axis('A', 'D'), axis('S', 'W'));
    moveStick(Stick::Right, axis('J', 'L'), axis('K', 'I'));
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
