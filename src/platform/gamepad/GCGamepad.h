#pragma once

#include "platform/gamepad/GCControllerButtonInput.h"
#include "platform/gamepad/GCControllerDirectionPad.h"

#include <memory>

// The basic input profile: four face buttons, two shoulders and a direction
// pad, and nothing else.
class GCGamepad {
public:
    GCGamepad();
    GCGamepad(const GCGamepad&) = delete;
    GCGamepad& operator=(const GCGamepad&) = delete;

    GCControllerButtonInput* buttonA() const { return m_buttonA.get(); }
    GCControllerButtonInput* buttonB() const { return m_buttonB.get(); }
    GCControllerButtonInput* buttonX() const { return m_buttonX.get(); }
    GCControllerButtonInput* buttonY() const { return m_buttonY.get(); }
    GCControllerButtonInput* leftShoulder() const { return m_leftShoulder.get(); }
    GCControllerButtonInput* rightShoulder() const { return m_rightShoulder.get(); }
    GCControllerDirectionPad* dpad() const { return m_dpad.get(); }

private:
    std::unique_ptr<GCControllerButtonInput> m_buttonA;
    std::unique_ptr<GCControllerButtonInput> m_buttonB;
    std::unique_ptr<GCControllerButtonInput> m_buttonX;
    std::unique_ptr<GCControllerButtonInput> m_buttonY;
    std::unique_ptr<GCControllerButtonInput> m_leftShoulder;
    std::unique_ptr<GCControllerButtonInput> m_rightShoulder;
    std::unique_ptr<GCControllerDirectionPad> m_dpad;
};
