#pragma once

#include "platform/gamepad/GCController.h"

#include <QPointF>
#include <QWidget>

#include <deque>

// The values of one controller as its elements hold them: both sticks'
// positions (-1..1, and the raw values the source reports) inside rings
// with the dead zone and a trail of recent positions, the two triggers'
// levels as bars, and the pressed state of every button the device has. A
// device without mapping shows its raw buttons, axes and hats instead.
// It repaints when the controller announces changed values; no timer runs.
class ZelAnalogueView : public QWidget {
    Q_OBJECT
public:
    // The inner ring: stick positions within it count as at rest in most
    // games, until a check has measured the stick's own.
    static constexpr double kDeadZone = 8000.0 / 32767.0;
    // How many recent positions of each stick the trail keeps.
    static constexpr size_t kTrailLength = 48;

    explicit ZelAnalogueView(QWidget* parent = nullptr);
    ~ZelAnalogueView() override;

    GCControllerPtr controller() const { return m_controller; }
    // Shows another controller (or none), with fresh trails.
    void setController(const GCControllerPtr& controller);

    // What the view shows, read from the controller's elements.
    QPointF stickPosition(bool left) const;
    // The raw value the source reports for a stick axis ("LX", "LY", "RX", "RY") or trigger ("L2", "R2"); 0 when there
    // is none.
    int rawAxis(const char* name) const;
    // -1 when the controller has no such trigger.
    float triggerLevel(bool left) const;
    const std::deque<QPointF>& trail(bool left) const { return left ? m_leftTrail : m_rightTrail; }
    // The dead zone the inner ring shows for a stick: kDeadZone, or what a
    // check recommended for this controller.
    double deadZone(bool left) const { return m_deadZone[left ? 0 : 1]; }
    void setDeadZone(bool left, double deadZone);
    // "name=value" for every raw button, axis and hat, in the device's order.
    QStringList rawValues() const;

    QSize sizeHint() const override { return { 880, 190 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void valuesChanged();

    GCControllerPtr m_controller;
    std::deque<QPointF> m_leftTrail;
    std::deque<QPointF> m_rightTrail;
    double m_deadZone[2] = { kDeadZone, kDeadZone };
};
