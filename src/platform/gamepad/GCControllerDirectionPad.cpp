#include "platform/gamepad/GCControllerDirectionPad.h"

#include <algorithm>

namespace {

float clampedAxis(float v)
{
    return v == v ? std::clamp(v, -1.0f, 1.0f) : 0.0f;
}

} // namespace

GCControllerDirectionPad::GCControllerDirectionPad()
    : m_up(std::make_unique<GCControllerButtonInput>())
    , m_down(std::make_unique<GCControllerButtonInput>())
    , m_left(std::make_unique<GCControllerButtonInput>())
    , m_right(std::make_unique<GCControllerButtonInput>())
{
}

void GCControllerDirectionPad::setValue(float x, float y)
{
    x = clampedAxis(x);
    y = clampedAxis(y);
    if (x == m_x && y == m_y)
        return;
    m_x = x;
    m_y = y;
    m_up->setValue(std::max(y, 0.0f));
    m_down->setValue(std::max(-y, 0.0f));
    m_left->setValue(std::max(-x, 0.0f));
    m_right->setValue(std::max(x, 0.0f));
    if (const ValueChangedHandler handler = m_valueChangedHandler)
        handler(this, x, y);
}
