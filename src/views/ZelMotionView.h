#pragma once

#include "input/ControllerCheckReport.h"
#include "input/ReportRateMeasurement.h"
#include "platform/gamepad/GCController.h"

#include <QWidget>

#include <optional>

// The motion sensors of one controller as they report: its turn about each
// axis (degrees per second) and its acceleration along it (m/s², gravity
// included) as bars about zero with their values, each sensor's rate as
// measured here beside the rate the device states, and the gyroscope's
// calibration once a stick check has made one. It repaints as samples
// arrive; no timer runs.
class ZelMotionView : public QWidget {
    Q_OBJECT
public:
    // The ends of the bars.
    static constexpr double kTurnScale = 360.0;
    static constexpr double kAccelerationScale = 2.0 * ControllerCheckReport::kStandardGravity;

    explicit ZelMotionView(QWidget* parent = nullptr);
    ~ZelMotionView() override;

    GCControllerPtr controller() const { return m_controller; }
    // Shows another controller (or none), with fresh rates and no calibration.
    void setController(const GCControllerPtr& controller);
    // The sensor's rate measured since the controller was shown.
    const ReportRateMeasurement& rate(GCControllerSensor sensor) const
    {
        return sensor == GCControllerSensor::Gyroscope ? m_gyroscopeRate : m_accelerometerRate;
    }
    void setCalibration(const std::optional<ControllerCheckReport::Calibration>& calibration);
    const std::optional<ControllerCheckReport::Calibration>& calibration() const { return m_calibration; }
    // The rate line of a sensor as the view shows it.
    QString rateText(GCControllerSensor sensor) const;

    QSize sizeHint() const override { return { 880, 120 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void motionChanged();

    GCControllerPtr m_controller;
    ReportRateMeasurement m_gyroscopeRate;
    ReportRateMeasurement m_accelerometerRate;
    std::optional<ControllerCheckReport::Calibration> m_calibration;
};
