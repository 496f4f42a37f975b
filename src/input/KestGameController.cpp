#include "input/KestGameController.h"

#include "input/KestGameControllerManager.h"
#include "platform/gamepad/GameControllerKeys.h"

#include <QVarLengthArray>

namespace {

using Key = KestGameControllerManager::Key;
using Stick = KestGameControllerManager::Stick;
using Report = GameControllerKeys::Report;

// The last position any controller reported for each stick; every report is
// passed on as the movement from there. Shared by all controllers and wrappers.
float lastLX = 0.0f;
float lastLY = 0.0f;
float lastRX = 0.0f;
float lastRY = 0.0f;

// A button handler: the key's slot as it is at this event, fed the pressed
// flag; the analogue value is not looked at and repeats are not held back.
GCControllerButtonInput::ValueChangedHandler keyHandler(KestGameControllerManager* manager, Key key)
{
    return [manager, key](GCControllerButtonInput*, float, bool pressed) {
        if (const auto block = manager->keyPressed(key))
            block(pressed);
    };
}

void wire(KestGameControllerManager* manager, GCControllerButtonInput* element, Report report, Key key)
{
    if (!element)
        return;
    if (report == Report::EveryValue)
        element->setValueChangedHandler(keyHandler(manager, key));
    else if (report == Report::PressedChanges)
        element->setPressedChangedHandler(keyHandler(manager, key));
}

// All four directions on every report, changed or not, in key order (up,
// down, left, right).
void wireDpad(KestGameControllerManager* manager, GCControllerDirectionPad* dpad)
{
    dpad->setValueChangedHandler([manager](GCControllerDirectionPad* pad, float, float) {
        // Read before the first call: a slot may unplug and drop the controller.
        QVarLengthArray<std::pair<Key, bool>, 4> directions;
        for (const GameControllerKeys::Entry& e : GameControllerKeys::entries())
            if (e.direction)
                directions.append({ e.key, (pad->*e.direction)()->isPressed() });
        for (const auto& [key, pressed] : directions)
            if (const auto block = manager->keyPressed(key))
                block(pressed);
    });
}

void wireStick(KestGameControllerManager* manager, GCControllerDirectionPad* stick, Stick which)
{
    stick->setValueChangedHandler([manager, which](GCControllerDirectionPad*, float x, float y) {
        float& lastX = which == Stick::Left ? lastLX : lastRX;
        float& lastY = which == Stick::Left ? lastLY : lastRY;
        const float dx = x - lastX;
        const float dy = y - lastY;
        lastX = x;
        lastY = y;
        if (const auto block = manager->joystickChanged(which))
            block(dx, dy);
    });
}

} // namespace

std::shared_ptr<KestGameController> KestGameController::create(KestGameControllerManager& manager)
{
    return std::shared_ptr<KestGameController>(new KestGameController(manager));
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

std::pair<float, float> KestGameController::lastJoystickPosition(bool left)
{
    return left ? std::pair { lastLX, lastLY } : std::pair { lastRX, lastRY };
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
    // The pad's directions have one handler, on the pad.
    for (const GameControllerKeys::Entry& e : GameControllerKeys::entries())
        if (!e.direction)
            wire(m_manager, GameControllerKeys::element(*pad, e.key), e.extendedReport, e.key);
    wireDpad(m_manager, pad->dpad());
    wireStick(m_manager, pad->leftThumbstick(), Stick::Left);
    wireStick(m_manager, pad->rightThumbstick(), Stick::Right);
}

void KestGameController::_setupGamepad()
{
    const GCGamepad* pad = m_gamepad.get();
    if (!pad)
        return;
    for (const GameControllerKeys::Entry& e : GameControllerKeys::entries())
        if (!e.direction)
            wire(m_manager, GameControllerKeys::element(*pad, e.key), e.basicReport, e.key);
    wireDpad(m_manager, pad->dpad());
}
