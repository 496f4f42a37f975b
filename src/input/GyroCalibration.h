#pragma once

#include <QtGlobal>

#include <array>
#include <optional>

// The gyroscope of a controller laid down and left alone. After it has
// settled (kSettleSeconds), its noise is measured (the spread of the samples
// about their mean, kNoiseSeconds), then its bias (the mean rotation that a
// game sees as a slow turn of a controller that lies still, kDriftSeconds).
// Moving the controller starts it over: a turn faster than a resting
// controller turns, an acceleration that changes, or, once the noise is
// known, a sample far outside it. It runs on the sensors' own sample times.
class GyroCalibration {
public:
    enum class Phase { Settle, Noise, Drift, Done };

    static constexpr double kSettleSeconds = 0.5;
    static constexpr double kNoiseSeconds = 4.0;
    static constexpr double kDriftSeconds = 5.0;
    // Faster than this (degrees per second) the controller is being moved.
    static constexpr double kRestingTurn = 10.0;
    // Once the noise is known: a sample this many times the noise from the
    // mean, and at least kLeastMovement degrees per second, is a movement.
    static constexpr double kMovementNoises = 8.0;
    static constexpr double kLeastMovement = 2.0;
    // An acceleration this far (m/s²) from where it was when the rest began is a movement.
    static constexpr double kMovementAcceleration = 0.5;
    // Samples further apart than this (seconds) are a pause of the sensor: the rest starts over.
    static constexpr double kLongestGapSeconds = 0.5;

    struct Result {
        std::array<double, 3> bias {}; // degrees per second about x, y, z
        double drift = 0; // the bias's length
        // Degrees per second: the root mean square of the three axes' standard deviations.
        double noise = 0;
        // The accelerometer's mean reading at rest (m/s²), which is gravity's.
        std::optional<double> gravity;
        int samples = 0;
    };

    // Samples in degrees per second and m/s², at their times in microseconds.
    void addRotation(qint64 microseconds, const std::array<float, 3>& rotation);
    void addAcceleration(qint64 microseconds, const std::array<float, 3>& acceleration);

    Phase phase() const { return m_phase; }
    bool isDone() const { return m_phase == Phase::Done; }
    // How often a movement started the rest over.
    int restarts() const { return m_restarts; }
    // Seconds of samples still needed, if the controller stays still.
    double secondsLeft() const;
    // Once done.
    std::optional<Result> result() const { return m_result; }

private:
    struct Axes {
        int n = 0;
        std::array<double, 3> mean {}, m2 {};
        void add(const std::array<float, 3>& v);
        double deviation(int axis) const;
    };
    void restart(qint64 microseconds, bool moved);
    void enter(Phase phase, qint64 microseconds);
    double phaseLength() const;

    Phase m_phase = Phase::Settle;
    std::optional<qint64> m_phaseStart;
    std::optional<qint64> m_last;
    int m_restarts = 0;
    Axes m_noise;
    Axes m_drift;
    double m_noiseLevel = 0;
    std::optional<std::array<float, 3>> m_restingAcceleration;
    double m_gravitySum = 0;
    int m_gravitySamples = 0;
    std::optional<Result> m_result;
};
