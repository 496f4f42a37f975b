#pragma once

#include "platform/gamepad/GCControllerButtonInput.h"
#include "platform/gamepad/GCControllerDirectionPad.h"

#include <memory>

// The elements of the extended profile that a controller may lack.
struct GCExtendedGamepadOptionalElements {
    bool leftTrigger = true;
    bool rightTrigger = true;
    bool leftThumbstickButton = true;
    bool rightThumbstickButton = true;
    bool buttonHome = true;
    bool buttonMenu = true;
    bool buttonOptions = true;
};

// The extended input profile: face buttons, shoulders, direction pad and two
// thumbsticks, plus the optional analogue triggers, stick clicks and the
// home, menu and options buttons, which are null when the controller has none.
class GCExtendedGamepad {
public:
    explicit GCExtendedGamepad(const GCExtendedGamepadOptionalElements& offered = {});
    GCExtendedGamepad(const GCExtendedGamepad&) = delete;
    GCExtendedGamepad& operator=(const GCExtendedGamepad&) = delete;

    GCControllerButtonInput* buttonA() const { return m_buttonA.get(); }
    GCControllerButtonInput* buttonB() const { return m_buttonB.get(); }
    GCControllerButtonInput* buttonX() const { return m_buttonX.get(); }
    GCControllerButtonInput* buttonY() const { return m_buttonY.get(); }
    GCControllerButtonInput* leftShoulder() const { return m_leftShoulder.get(); }
    GCControllerButtonInput* rightShoulder() const { return m_rightShoulder.get(); }
    GCControllerButtonInput* leftTrigger() const { return m_leftTrigger.get(); }
    GCControllerButtonInput* rightTrigger() const { return m_rightTrigger.get(); }
    GCControllerDirectionPad* dpad() const { return m_dpad.get(); }
    GCControllerDirectionPad* leftThumbstick() const { return m_leftThumbstick.get(); }
    GCControllerDirectionPad* rightThumbstick() const { return m_rightThumbstick.get(); }

    GCControllerButtonInput* leftThumbstickButton() const { return m_leftThumbstickButton.get(); }
    GCControllerButtonInput* rightThumbstickButton() const { return m_rightThumbstickButton.get(); }
    GCControllerButtonInput* buttonHome() const { return m_buttonHome.get(); }
    GCControllerButtonInput* buttonMenu() const { return m_buttonMenu.get(); }
    GCControllerButtonInput* buttonOptions() const { return m_buttonOptions.get(); }

private:
    std::unique_ptr<GCControllerButtonInput> m_buttonA;
    std::unique_ptr<GCControllerButtonInput> m_buttonB;
    std::unique_ptr<GCControllerButtonInput> m_buttonX;
    std::unique_ptr<GCControllerButtonInput> m_buttonY;
    std::unique_ptr<GCControllerButtonInput> m_leftShoulder;
    std::unique_ptr<GCControllerButtonInput> m_rightShoulder;
    std::unique_ptr<GCControllerButtonInput> m_leftTrigger;
    std::unique_ptr<GCControllerButtonInput> m_rightTrigger;
    std::unique_ptr<GCControllerDirectionPad> m_dpad;
    std::unique_ptr<GCControllerDirectionPad> m_leftThumbstick;
    std::unique_ptr<GCControllerDirectionPad> m_rightThumbstick;
    std::unique_ptr<GCControllerButtonInput> m_leftThumbstickButton;
    std::unique_ptr<GCControllerButtonInput> m_rightThumbstickButton;
    std::unique_ptr<GCControllerButtonInput> m_buttonHome;
    std::unique_ptr<GCControllerButtonInput> m_buttonMenu;
    std::unique_ptr<GCControllerButtonInput> m_buttonOptions;
};
