#pragma once

#include <functional>

// A button element of a game controller: buttons, shoulders, triggers, stick
// clicks and the four directions of a pad. Its analogue value runs from 0.0
// (at rest) to 1.0 (fully pressed); whether it counts as pressed is decided
// here, not by whoever listens.
class GCControllerButtonInput {
public:
    using ValueChangedHandler = std::function<void(GCControllerButtonInput* button, float value, bool pressed)>;

    // An analogue element is pressed from kPressedThreshold on and released
    // again only below kReleasedThreshold, so that a trigger held near the
    // threshold does not report a burst of presses and releases.
    static constexpr float kPressedThreshold = 0.5f;
    static constexpr float kReleasedThreshold = 0.4f;

    GCControllerButtonInput() = default;
    GCControllerButtonInput(const GCControllerButtonInput&) = delete;
    GCControllerButtonInput& operator=(const GCControllerButtonInput&) = delete;

    float value() const { return m_value; }
    bool isPressed() const { return m_pressed; }

    // Called with (element, value, pressed) on every change of the value.
    ValueChangedHandler valueChangedHandler() const { return m_valueChangedHandler; }
    void setValueChangedHandler(ValueChangedHandler handler) { m_valueChangedHandler = std::move(handler); }
    // Called with the same arguments only when the pressed state changes.
    ValueChangedHandler pressedChangedHandler() const { return m_pressedChangedHandler; }
    void setPressedChangedHandler(ValueChangedHandler handler) { m_pressedChangedHandler = std::move(handler); }

    // For input sources: the element's new value, clamped to 0..1 (anything
    // that is not a number counts as at rest). Calls the handlers that apply.
    void setValue(float value);

private:
    float m_value = 0.0f;
    bool m_pressed = false;
    ValueChangedHandler m_valueChangedHandler;
    ValueChangedHandler m_pressedChangedHandler;
};
