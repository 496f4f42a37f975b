#pragma once

#include "platform/gamepad/GCController.h"

#include <QtGlobal>

#include <optional>

// How often a stick reports while it moves, from the times of its input
// events: updates per second and the spread (standard deviation) of the
// intervals between them. Events at the same time are one report (SDL
// delivers x and y of one report as two events); a gap longer than
// kLongestIntervalUs is a pause of the stick, not an interval.
class ReportRateMeasurement {
public:
    static constexpr qint64 kLongestIntervalUs = 100000;

    void add(qint64 microseconds, GCControllerInputClock clock);
    // Reports were lost since the last one: the next time starts afresh.
    void gap() { m_last.reset(); }
    void clear() { *this = ReportRateMeasurement(); }

    int intervals() const { return m_intervals; }
    // None until there is an interval.
    std::optional<double> rateHz() const;
    std::optional<double> jitterMs() const;
    // Whose clock timed the events (that of the last one).
    GCControllerInputClock clock() const { return m_clock; }

private:
    std::optional<qint64> m_last;
    int m_intervals = 0;
    double m_sum = 0; // microseconds
    double m_sumSquares = 0;
    GCControllerInputClock m_clock = GCControllerInputClock::Device;
};
