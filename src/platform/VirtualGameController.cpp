#include "platform/VirtualGameController.h"

#include "platform/GameControllerService.h"
#include "platform/Localization.h"

namespace {

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

bool VirtualGameController::setButton(Button button, float value)
{
    const GCControllerPtr controller = m_controller; // the handlers may destroy this object
    GCControllerButtonInput* target = GameControllerKeys::element(*controller, button);
    if (GameControllerKeys::isPadDirection(button)) {
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
    const bool pauses = button == GameControllerKeys::kPauseButtonKey;
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
