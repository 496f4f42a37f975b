#include "platform/gamepad/GCGamepad.h"

GCGamepad::GCGamepad()
    : m_buttonA(std::make_unique<GCControllerButtonInput>())
    , m_buttonB(std::make_unique<GCControllerButtonInput>())
    , m_buttonX(std::make_unique<GCControllerButtonInput>())
    , m_buttonY(std::make_unique<GCControllerButtonInput>())
    , m_leftShoulder(std::make_unique<GCControllerButtonInput>())
    , m_rightShoulder(std::make_unique<GCControllerButtonInput>())
    , m_dpad(std::make_unique<GCControllerDirectionPad>())
{
}
