#pragma once

#include "platform/gamepad/GCControllerButtonInput.h"

#include <functional>
#include <memory>

// A direction element: the direction pad or a thumbstick. x grows to the
// right and y upward, both from -1.0 to 1.0; the four directions are also
// button elements whose pressed state gives each direction.
class GCControllerDirectionPad {
public:
    using ValueChangedHandler = std::function<void(GCControllerDirectionPad* pad, float xValue, float yValue)>;

    GCControllerDirectionPad();
    GCControllerDirectionPad(const GCControllerDirectionPad&) = delete;
    GCControllerDirectionPad& operator=(const GCControllerDirectionPad&) = delete;

    float xAxis() const { return m_x; }
    float yAxis() const { return m_y; }
    GCControllerButtonInput* up() const { return m_up.get(); }
    GCControllerButtonInput* down() const { return m_down.get(); }
    GCControllerButtonInput* left() const { return m_left.get(); }
    GCControllerButtonInput* right() const { return m_right.get(); }

    // Called with (element, x, y) on every change of x or y.
    ValueChangedHandler valueChangedHandler() const { return m_valueChangedHandler; }
    void setValueChangedHandler(ValueChangedHandler handler) { m_valueChangedHandler = std::move(handler); }

    // For input sources: the new position, each axis clamped to -1..1
    // (anything that is not a number counts as centred). The four direction
    // elements are brought up to date before the handler is called, so that
    // the handler reads the new pressed states.
    void setValue(float x, float y);

private:
    float m_x = 0.0f;
    float m_y = 0.0f;
    std::unique_ptr<GCControllerButtonInput> m_up;
    std::unique_ptr<GCControllerButtonInput> m_down;
    std::unique_ptr<GCControllerButtonInput> m_left;
    std::unique_ptr<GCControllerButtonInput> m_right;
    ValueChangedHandler m_valueChangedHandler;
};
