#include "platform/gamepad/GCControllerButtonInput.h"

#include <algorithm>

void GCControllerButtonInput::setValue(float value)
{
    value = value >= 0.0f ? std::min(value, 1.0f) : 0.0f; // NaN fails every comparison
    if (value == m_value)
        return;
    const bool pressed = m_pressed ? value >= kReleasedThreshold : value >= kPressedThreshold;
    const bool pressedChanged = pressed != m_pressed;
    m_value = value;
    m_pressed = pressed;
    // Copies taken before the first call: a handler may replace either of
    // them while it runs.
    const ValueChangedHandler valueChanged = m_valueChangedHandler;
    const ValueChangedHandler pressedChangedHandler = pressedChanged ? m_pressedChangedHandler : nullptr;
    if (valueChanged)
        valueChanged(this, value, pressed);
    if (pressedChangedHandler)
        pressedChangedHandler(this, value, pressed);
}
