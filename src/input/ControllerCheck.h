#pragma once

#include "input/ButtonTimingMeasurement.h"
#include "input/ControllerCheckReport.h"
#include "input/GyroCalibration.h"
#include "input/ReportRateMeasurement.h"
#include "input/StickCentreMeasurement.h"
#include "input/StickRangeMeasurement.h"
#include "input/TriggerRangeMeasurement.h"
#include "platform/gamepad/GameControllerKeys.h"
#include "platform/gamepad/GCController.h"

#include <QObject>

#include <array>
#include <functional>
#include <map>
#include <optional>

// The guided health check of one controller: both sticks at rest, each stick
// rotated along its gate, both triggers pressed fully, and a controller with
// a gyroscope laid down to calibrate it, with the buttons watched throughout. It reads the controller's values as they
// change (the same events the key test shows) and steps on by its own clock, which the caller reads out (the machine's
// steady clock, or a script's test clock) and has it look at with advance().
class ControllerCheck : public QObject {
    Q_OBJECT
public:
    enum class Step { Rest, RotateLeft, RotateRight, Triggers, Motion, Done };
    // How long the sticks rest; the most a rotation or the triggers may take.
    static constexpr double kRestSeconds = 3.0;
    static constexpr double kStepSeconds = 10.0;
    // The most the gyroscope's calibration may take, movements included.
    static constexpr double kMotionSeconds = 30.0;
    // A rotation ends once the range is covered and the stick has then
    // rested this long within kNearCentre of the centre.
    static constexpr double kSettleSeconds = 0.5;
    static constexpr double kNearCentre = 0.2;

    struct Options {
        bool left = true;
        bool right = true;
        double restSeconds = kRestSeconds;
        double stepSeconds = kStepSeconds;
        // Calibrate the gyroscope, where the controller has one.
        bool motion = true;
        double motionSeconds = kMotionSeconds;
    };
    // Microseconds; only differences count.
    using Clock = std::function<qint64()>;

    // The controller must offer the extended profile (two sticks).
    ControllerCheck(const GCControllerPtr& controller, const Options& options, Clock clock, QObject* parent = nullptr);
    ~ControllerCheck() override;

    GCControllerPtr controller() const { return m_controller; }
    const Options& options() const { return m_options; }
    Step step() const { return m_step; }
    bool isRunning() const { return m_started && m_step != Step::Done; }
    // Seconds the current step has run, and at most has left (rest: until it ends).
    double stepSeconds() const;
    double secondsLeft() const;

    // Starts with the rest step.
    void start();
    // Reads the clock and steps on when the current step is over.
    void advance();
    // Ends the check where it stands; what was measured counts.
    void finish();

    const StickCentreMeasurement& centre(bool left) const { return m_sticks[left ? 0 : 1].centre; }
    const StickRangeMeasurement& range(bool left) const { return m_sticks[left ? 0 : 1].range; }
    const ReportRateMeasurement& rate(bool left) const { return m_sticks[left ? 0 : 1].rate; }
    // None for a trigger the controller lacks.
    const TriggerRangeMeasurement* trigger(bool left) const;
    const GyroCalibration& gyroCalibration() const { return m_calibration; }
    // How often each motion sensor sampled during the check.
    const ReportRateMeasurement& sensorRate(GCControllerSensor sensor) const
    {
        return sensor == GCControllerSensor::Gyroscope ? m_gyroscopeRate : m_accelerometerRate;
    }
    // Whether the sticks' report rate is timed by the device's reports as
    // the kernel received them, rather than by the events SDL delivers.
    bool timesDeviceReports() const;

    // Everything measured so far, with the controller's identity and the time.
    // firmware: the controller's firmware versions when known.
    ControllerCheckReport report(const QString& firmware = QString()) const;

signals:
    void stepChanged(ControllerCheck::Step step);
    // New values were measured.
    void measured();
    void finished();

private:
    struct StickState {
        StickCentreMeasurement centre;
        StickRangeMeasurement range;
        ReportRateMeasurement rate;
        std::optional<QPointF> last;
        std::optional<qint64> nearSince;
    };
    struct TriggerState {
        TriggerRangeMeasurement range;
        float last = -1;
        bool reachedFull = false;
        bool done = false;
    };

    void valuesChanged();
    void deviceReported();
    void motionChanged();
    void enter(Step step);
    Step nextStep(Step after) const;
    bool stepOver(qint64 now) const;
    GCControllerDirectionPad* stick(bool left) const;
    GCControllerButtonInput* triggerElement(bool left) const;

    GCControllerPtr m_controller;
    Options m_options;
    Clock m_clock;
    bool m_started = false;
    Step m_step = Step::Rest;
    qint64 m_startedAt = 0;
    qint64 m_stepStartedAt = 0;
    std::array<StickState, 2> m_sticks;
    std::array<std::optional<TriggerState>, 2> m_triggers;
    std::map<GameControllerKeys::Key, ButtonTimingMeasurement> m_buttons;
    GyroCalibration m_calibration;
    ReportRateMeasurement m_gyroscopeRate;
    ReportRateMeasurement m_accelerometerRate;
};
