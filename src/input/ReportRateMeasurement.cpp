#include "input/ReportRateMeasurement.h"

#include <cmath>

namespace {
constexpr double kMicrosecondsPerSecond = 1e6;
constexpr double kMicrosecondsPerMs = 1e3;
}

void ReportRateMeasurement::add(qint64 microseconds, GCControllerInputClock clock)
{
    m_clock = clock;
    if (m_last && microseconds == *m_last)
        return;
    if (m_last && microseconds > *m_last && microseconds - *m_last <= kLongestIntervalUs) {
        const double interval = double(microseconds - *m_last);
        ++m_intervals;
        m_sum += interval;
        m_sumSquares += interval * interval;
    }
    m_last = microseconds;
}

std::optional<double> ReportRateMeasurement::rateHz() const
{
    if (m_intervals == 0 || m_sum <= 0)
        return std::nullopt;
    return kMicrosecondsPerSecond * m_intervals / m_sum;
}

std::optional<double> ReportRateMeasurement::jitterMs() const
{
    if (m_intervals == 0)
        return std::nullopt;
    const double mean = m_sum / m_intervals;
    const double variance = std::max(0.0, m_sumSquares / m_intervals - mean * mean);
    return std::sqrt(variance) / kMicrosecondsPerMs;
}
