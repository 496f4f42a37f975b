#include "platform/gamepad/GCExtendedGamepad.h"

namespace {

std::unique_ptr<GCControllerButtonInput> buttonIf(bool offered)
{
    return offered ? std::make_unique<GCControllerButtonInput>() : nullptr;
}

} // namespace

GCExtendedGamepad::GCExtendedGamepad(const GCExtendedGamepadOptionalElements& offered)
    : m_buttonA(std::make_unique<GCControllerButtonInput>())
    , m_buttonB(std::make_unique<GCControllerButtonInput>())
    , m_buttonX(std::make_unique<GCControllerButtonInput>())
    , m_buttonY(std::make_unique<GCControllerButtonInput>())
    , m_leftShoulder(std::make_unique<GCControllerButtonInput>())
    , m_rightShoulder(std::make_unique<GCControllerButtonInput>())
    , m_leftTrigger(buttonIf(offered.leftTrigger))
    , m_rightTrigger(buttonIf(offered.rightTrigger))
    , m_dpad(std::make_unique<GCControllerDirectionPad>())
    , m_leftThumbstick(std::make_unique<GCControllerDirectionPad>())
    , m_rightThumbstick(std::make_unique<GCControllerDirectionPad>())
    , m_leftThumbstickButton(buttonIf(offered.leftThumbstickButton))
    , m_rightThumbstickButton(buttonIf(offered.rightThumbstickButton))
    , m_buttonHome(buttonIf(offered.buttonHome))
    , m_buttonMenu(buttonIf(offered.buttonMenu))
    , m_buttonOptions(buttonIf(offered.buttonOptions))
{
}
