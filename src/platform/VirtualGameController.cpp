#include "platform/VirtualGameController.h"

#include "platform/GameControllerService.h"
#include "platform/Localization.h"

#include <QHash>

#include <array>
#include <utility>

namespace {

using Button = VirtualGameController::Button;

constexpr std::array<std::pair<Button, const char*>, 17> kButtonNames{{
    {Button::A, "A"}, {Button::B, "B"}, {Button::X, "X"}, {Button::Y, "Y"},
    {Button::L1, "L1"}, {Button::L2, "L2"}, {Button::L3, "L3"},
    {Button::R1, "R1"}, {Button::R2, "R2"}, {Button::R3, "R3"},
    {Button::Home, "Home"}, {Button::Menu, "Menu"}, {Button::Options, "Options"},
    {Button::Up, "Up"}, {Button::Down, "Down"}, {Button::Left, "Left"}, {Button::Right, "Right"},
}};

// Qt::Key values, spelled out so that the core needs no GUI module.
enum KeyCode : int {
    KeyTab = 0x01000001,
    KeyReturn = 0x01000004,
    KeyEnter = 0x01000005,
    KeyHome = 0x01000010,
    KeyLeft = 0x01000012,
    KeyUp = 0x01000013,
    KeyRight = 0x01000014,
    KeyDown = 0x01000015,
};

const QHash<int, Button>& keyboardButtons()
{
    static const QHash<int, Button> map{
        {'Z', Button::A}, {'X', Button::B}, {'C', Button::X}, {'V', Button::Y},
        {'Q', Button::L1}, {'1', Button::L2}, {'F', Button::L3},
        {'E', Button::R1}, {'3', Button::R2}, {'G', Button::R3},
        {KeyHome, Button::Home}, {KeyReturn, Button::Menu}, {KeyEnter, Button::Menu}, {KeyTab, Button::Options},
        {KeyUp, Button::Up}, {KeyDown, Button::Down}, {KeyLeft, Button::Left}, {KeyRight, Button::Right},
    };
    return map;
}

bool isStickKey(int key)
{
    return key >= 'A' && key <= 'Z' && QByteArrayView("WASDIJKL").contains(char(key));
}

} // namespace

VirtualGameController::VirtualGameController(GCControllerProfile profile, const GCExtendedGamepadOptionalElements& offered,
                                             const QString& name)
    : m_controller(GCController::create(name.isEmpty() ? localized("VirtualControllerName") : name, profile, offered))
{
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

GCControllerButtonInput* VirtualGameController::element(Button button) const
{
    if (const auto pad = m_controller->extendedGamepad()) {
        switch (button) {
        case Button::A: return pad->buttonA();
        case Button::B: return pad->buttonB();
        case Button::X: return pad->buttonX();
        case Button::Y: return pad->buttonY();
        case Button::L1: return pad->leftShoulder();
        case Button::L2: return pad->leftTrigger();
        case Button::L3: return pad->leftThumbstickButton();
        case Button::R1: return pad->rightShoulder();
        case Button::R2: return pad->rightTrigger();
        case Button::R3: return pad->rightThumbstickButton();
        case Button::Home: return pad->buttonHome();
        case Button::Menu: return pad->buttonMenu();
        case Button::Options: return pad->buttonOptions();
        case Button::Up: return pad->dpad()->up();
        case Button::Down: return pad->dpad()->down();
        case Button::Left: return pad->dpad()->left();
        case Button::Right: return pad->dpad()->right();
        }
    }
    if (const auto pad = m_controller->gamepad()) {
        switch (button) {
        case Button::A: return pad->buttonA();
        case Button::B: return pad->buttonB();
        case Button::X: return pad->buttonX();
        case Button::Y: return pad->buttonY();
        case Button::L1: return pad->leftShoulder();
        case Button::R1: return pad->rightShoulder();
        case Button::Up: return pad->dpad()->up();
        case Button::Down: return pad->dpad()->down();
        case Button::Left: return pad->dpad()->left();
        case Button::Right: return pad->dpad()->right();
        default: return nullptr;
        }
    }
    return nullptr;
}

bool VirtualGameController::setButton(Button button, float value)
{
    const GCControllerPtr controller = m_controller; // the handlers may destroy this object
    GCControllerButtonInput* target = element(button);
    if (button >= Button::Up) {
        if (!target)
            return false;
        GCControllerDirectionPad* dpad = controller->extendedGamepad() ? controller->extendedGamepad()->dpad()
                                                                        : controller->gamepad()->dpad();
        auto level = [&](Button b, GCControllerButtonInput* e) { return b == button ? value : e->value(); };
        // The pad reports a position; both directions of an axis held at once cancel out.
        dpad->setValue(level(Button::Right, dpad->right()) - level(Button::Left, dpad->left()),
                       level(Button::Up, dpad->up()) - level(Button::Down, dpad->down()));
        return true;
    }
    // Every controller has a pause button; on controllers with a menu button it is that button.
    const bool pauses = button == Button::Menu;
    const bool wasPressed = target && target->isPressed();
    if (target)
        target->setValue(value);
    const bool pressed = target ? target->isPressed() : value >= GCControllerButtonInput::kPressedThreshold;
    if (pauses && pressed && !wasPressed)
        controller->pause();
    return target || pauses;
}

bool VirtualGameController::moveStick(Stick stick, float x, float y)
{
    const auto pad = m_controller->extendedGamepad();
    if (!pad)
        return false;
    (stick == Stick::Left ? pad->leftThumbstick() : pad->rightThumbstick())->setValue(x, y);
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
    const auto it = keyboardButtons().constFind(key);
    if (it == keyboardButtons().constEnd())
        return false;
    setButton(it.value(), down ? 1.0f : 0.0f);
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
    for (const auto& [button, text] : kButtonNames)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return button;
    return std::nullopt;
}

QString VirtualGameController::buttonName(Button button)
{
    for (const auto& [b, text] : kButtonNames)
        if (b == button)
            return QString::fromLatin1(text);
    return QString();
}
