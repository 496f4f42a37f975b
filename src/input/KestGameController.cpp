#include "input/KestGameController.h"

#include "input/KestGameControllerManager.h"

namespace {

using Key = KestGameControllerManager::Key;
using Stick = KestGameControllerManager::Stick;

// The last position any controller reported for each stick; every report is
// passed on as the movement from there. Shared by all controllers and wrappers.
float lastLX = 0.0f;
float lastLY = 0.0f;
float lastRX = 0.0f;
float lastRY = 0.0f;

// A button handler: the key's slot as it is at this event, fed the pressed
// flag; the analogue value is not looked at and repeats are not held back.
GCControllerButtonInput::ValueChangedHandler keyHandler(Key key)
{
    return [key](GCControllerButtonInput*, float, bool pressed) {
        if (const auto block = KestGameControllerManager::sharedInstance().keyPressed(key))
            block(pressed);
    };
}

void wireValue(GCControllerButtonInput* element, Key key)
{
    if (element)
        element->setValueChangedHandler(keyHandler(key));
}

void wirePressed(GCControllerButtonInput* element, Key key)
{
    if (element)
        element->setPressedChangedHandler(keyHandler(key));
}

// All four directions on every report, changed or not.
void wireDpad(GCControllerDirectionPad* dpad)
{
    dpad->setValueChangedHandler([](GCControllerDirectionPad* pad, float, float) {
        // Read before the first call: a slot may unplug and drop the controller.
        const std::pair<Key, bool> directions[] = {{Key::Up, pad->up()->isPressed()},
                                                   {Key::Down, pad->down()->isPressed()},
                                                   {Key::Left, pad->left()->isPressed()},
                                                   {Key::Right, pad->right()->isPressed()}};
        for (const auto& [key, pressed] : directions)
            if (const auto block = KestGameControllerManager::sharedInstance().keyPressed(key))
                block(pressed);
    });
}

void wireStick(GCControllerDirectionPad* stick, Stick which)
{
    stick->setValueChangedHandler([which](GCControllerDirectionPad*, float x, float y) {
        float& lastX = which == Stick::Left ? lastLX : lastRX;
        float& lastY = which == Stick::Left ? lastLY : lastRY;
        const float dx = x - lastX;
        const float dy = y - lastY;
        lastX = x;
        lastY = y;
        if (const auto block = KestGameControllerManager::sharedInstance().joystickChanged(which))
            block(dx, dy);
    });
}

} // namespace

std::shared_ptr<KestGameController> KestGameController::create()
{
    return std::shared_ptr<KestGameController>(new KestGameController);
}

void KestGameController::setController(const GCControllerPtr& controller)
{
    if (controller == m_controller)
        return;
    m_controller = controller;
    if (!controller)
        return;
    controller->setControllerPausedHandler([self = shared_from_this()](const GCControllerPtr& c) {
        if (const PauseButtonBlock block = self->pauseButtonBlock())
            block(c);
    });
    if (const auto extended = controller->extendedGamepad()) {
        m_extendedGamepad = extended;
        _setupExtendedGamepad();
    } else if (const auto basic = controller->gamepad()) {
        m_gamepad = basic;
        _setupGamepad();
    }
}

qint64 KestGameController::gamePadType() const
{
    if (!m_controller)
        return NoGamepad;
    if (m_controller->extendedGamepad())
        return ExtendedGamepad;
    return m_controller->gamepad() ? BasicGamepad : NoGamepad;
}

KestGameController::PauseButtonBlock KestGameController::pauseButtonBlock() const
{
    std::lock_guard lock(m_pauseMutex);
    return m_pauseButtonBlock;
}

void KestGameController::setPauseButtonBlock(PauseButtonBlock block)
{
    std::lock_guard lock(m_pauseMutex);
    m_pauseButtonBlock = std::move(block);
}

void KestGameController::_setupExtendedGamepad()
{
    const GCExtendedGamepad* pad = m_extendedGamepad.get();
    if (!pad)
        return;
    wireValue(pad->buttonA(), Key::A);
    wireValue(pad->buttonB(), Key::B);
    wireValue(pad->buttonX(), Key::X);
    wireValue(pad->buttonY(), Key::Y);
    wirePressed(pad->leftShoulder(), Key::L1);
    wirePressed(pad->leftTrigger(), Key::L2);
    wirePressed(pad->leftThumbstickButton(), Key::L3);
    wirePressed(pad->rightShoulder(), Key::R1);
    wirePressed(pad->rightTrigger(), Key::R2);
    wirePressed(pad->rightThumbstickButton(), Key::R3);
    wireValue(pad->buttonHome(), Key::Home);
    wireValue(pad->buttonMenu(), Key::Menu);
    wireValue(pad->buttonOptions(), Key::Options);
    wireDpad(pad->dpad());
    wireStick(pad->leftThumbstick(), Stick::Left);
    wireStick(pad->rightThumbstick(), Stick::Right);
}

void KestGameController::_setupGamepad()
{
    const GCGamepad* pad = m_gamepad.get();
    if (!pad)
        return;
    wireValue(pad->buttonA(), Key::A);
    wireValue(pad->buttonB(), Key::B);
    wireValue(pad->buttonX(), Key::X);
    wireValue(pad->buttonY(), Key::Y);
    wireValue(pad->leftShoulder(), Key::L1);
    wireValue(pad->rightShoulder(), Key::R1);
    wireDpad(pad->dpad());
}
