#pragma once

#include <QtGlobal>

#include <optional>

// One button over a check: its presses, its chatter (a change of its pressed
// state sooner than kChatterUs after the previous one: a release and a press
// again, or a press that short) and whether it was stuck (held from the
// start of the check to its end).
class ButtonTimingMeasurement {
public:
    static constexpr qint64 kChatterUs = 5000;

    // The check starts, with the button as it is now.
    void begin(bool pressed);
    // The button's state at an event, timed by the event's clock; the same
    // state again changes nothing. atStart: the event came at the very
    // moment the check started, so a press is the button as the check found it.
    void add(qint64 microseconds, bool pressed, bool atStart = false);
    void finish() { m_finished = true; }

    int presses() const { return m_presses; }
    int chatter() const { return m_chatter; }
    bool stuck() const { return m_finished && m_heldFromStart; }

private:
    bool m_pressed = false;
    bool m_heldFromStart = false;
    bool m_finished = false;
    std::optional<qint64> m_lastChange;
    int m_presses = 0;
    int m_chatter = 0;
};
