#include "input/ButtonTimingMeasurement.h"

void ButtonTimingMeasurement::begin(bool pressed)
{
    *this = ButtonTimingMeasurement();
    m_pressed = pressed;
    m_heldFromStart = pressed;
}

void ButtonTimingMeasurement::add(qint64 microseconds, bool pressed, bool atStart)
{
    if (pressed == m_pressed)
        return;
    if (m_lastChange && microseconds - *m_lastChange < kChatterUs)
        ++m_chatter;
    m_lastChange = microseconds;
    m_pressed = pressed;
    if (pressed) {
        ++m_presses;
        if (atStart && m_presses == 1)
            m_heldFromStart = true;
    } else {
        m_heldFromStart = false;
    }
}
