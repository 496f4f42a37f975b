#include "input/GyroCalibration.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMicrosecondsPerSecond = 1e6;

double length(const std::array<float, 3>& v)
{
    return std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
}

} // namespace

void GyroCalibration::Axes::add(const std::array<float, 3>& v)
{
    // Welford's running mean and sum of squared deviations.
    ++n;
    for (size_t a = 0; a < 3; ++a) {
        const double delta = v[a] - mean[a];
        mean[a] += delta / n;
        m2[a] += delta * (v[a] - mean[a]);
    }
}

double GyroCalibration::Axes::deviation(int axis) const
{
    return n > 1 ? std::sqrt(m2[size_t(axis)] / (n - 1)) : 0.0;
}

double GyroCalibration::phaseLength() const
{
    switch (m_phase) {
    case Phase::Settle:
        return kSettleSeconds;
    case Phase::Noise:
        return kNoiseSeconds;
    case Phase::Drift:
        return kDriftSeconds;
    case Phase::Done:
        break;
    }
    return 0;
}

double GyroCalibration::secondsLeft() const
{
    if (m_phase == Phase::Done)
        return 0;
    const double into = m_phaseStart && m_last ? double(*m_last - *m_phaseStart) / kMicrosecondsPerSecond : 0.0;
    double left = std::max(0.0, phaseLength() - into);
    if (m_phase == Phase::Settle)
        left += kNoiseSeconds;
    if (m_phase != Phase::Drift)
        left += kDriftSeconds;
    return left;
}

void GyroCalibration::enter(Phase phase, qint64 microseconds)
{
    m_phase = phase;
    m_phaseStart = microseconds;
    if (phase == Phase::Drift)
        m_noiseLevel = std::sqrt(
            (std::pow(m_noise.deviation(0), 2) + std::pow(m_noise.deviation(1), 2) + std::pow(m_noise.deviation(2), 2))
            / 3.0);
    if (phase == Phase::Done) {
        Result r;
        for (size_t a = 0; a < 3; ++a)
            r.bias[a] = m_drift.mean[a];
        r.drift = std::sqrt(r.bias[0] * r.bias[0] + r.bias[1] * r.bias[1] + r.bias[2] * r.bias[2]);
        r.noise = m_noiseLevel;
        if (m_gravitySamples > 0)
            r.gravity = m_gravitySum / m_gravitySamples;
        r.samples = m_noise.n + m_drift.n;
        m_result = r;
    }
}

void GyroCalibration::restart(qint64 microseconds, bool moved)
{
    if (moved)
        ++m_restarts;
    m_noise = {};
    m_drift = {};
    m_noiseLevel = 0;
    m_restingAcceleration.reset();
    m_gravitySum = 0;
    m_gravitySamples = 0;
    enter(Phase::Settle, microseconds);
}

void GyroCalibration::addRotation(qint64 microseconds, const std::array<float, 3>& rotation)
{
    if (m_phase == Phase::Done)
        return;
    if (!m_phaseStart
        || (m_last
            && (microseconds < *m_last
                || double(microseconds - *m_last) / kMicrosecondsPerSecond > kLongestGapSeconds)))
        restart(microseconds, false);
    m_last = microseconds;
    if (length(rotation) > kRestingTurn) {
        // Still being laid down while it settles; moved once it had.
        restart(microseconds, m_phase != Phase::Settle);
        return;
    }
    // The phase a sample belongs to is the one its time falls in.
    if (double(microseconds - *m_phaseStart) / kMicrosecondsPerSecond >= phaseLength())
        enter(m_phase == Phase::Settle    ? Phase::Noise
                : m_phase == Phase::Noise ? Phase::Drift
                                          : Phase::Done,
            microseconds);
    switch (m_phase) {
    case Phase::Settle:
    case Phase::Done:
        break;
    case Phase::Noise:
        if (m_noise.n > 1) {
            // Far from what the noise allows so far: the controller was moved.
            const double limit = std::max(kLeastMovement,
                kMovementNoises * std::max({ m_noise.deviation(0), m_noise.deviation(1), m_noise.deviation(2) }));
            for (size_t a = 0; a < 3; ++a)
                if (std::abs(rotation[a] - m_noise.mean[a]) > limit) {
                    restart(microseconds, true);
                    return;
                }
        }
        m_noise.add(rotation);
        break;
    case Phase::Drift: {
        const double limit = std::max(kLeastMovement, kMovementNoises * m_noiseLevel);
        for (size_t a = 0; a < 3; ++a)
            if (std::abs(rotation[a] - m_noise.mean[a]) > limit) {
                restart(microseconds, true);
                return;
            }
        m_drift.add(rotation);
        break;
    }
    }
}

void GyroCalibration::addAcceleration(qint64 microseconds, const std::array<float, 3>& acceleration)
{
    Q_UNUSED(microseconds)
    if (m_phase == Phase::Done || !m_phaseStart)
        return;
    if (!m_restingAcceleration) {
        m_restingAcceleration = acceleration;
        return;
    }
    const std::array<float, 3> change { acceleration[0] - (*m_restingAcceleration)[0],
        acceleration[1] - (*m_restingAcceleration)[1], acceleration[2] - (*m_restingAcceleration)[2] };
    if (length(change) > kMovementAcceleration) {
        restart(m_last.value_or(microseconds), m_phase != Phase::Settle);
        m_restingAcceleration = acceleration;
        return;
    }
    if (m_phase != Phase::Settle) {
        m_gravitySum += length(acceleration);
        ++m_gravitySamples;
    }
}
