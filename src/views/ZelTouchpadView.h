#pragma once

#include "platform/gamepad/GCController.h"

#include <QWidget>

// The touchpads of one controller as they are touched: each pad's outline,
// filled while its button is pressed, and every finger that is down where it
// touches, with its number and, where the pad reports pressure, a size and a
// figure that follow it. It repaints when the controller's values change.
class ZelTouchpadView : public QWidget {
    Q_OBJECT
public:
    // A pad's width to its height, as on most controllers.
    static constexpr double kPadAspect = 2.0;

    explicit ZelTouchpadView(QWidget* parent = nullptr);
    ~ZelTouchpadView() override;

    GCControllerPtr controller() const { return m_controller; }
    void setController(const GCControllerPtr& controller);
    // Where a pad is drawn, and where a finger at (x, y) on it, in the view's coordinates.
    QRectF padRect(int touchpad) const;
    QPointF fingerPoint(int touchpad, float x, float y) const;
    // The line under a pad: its number, its fingers down and its button.
    QString caption(int touchpad) const;

    QSize sizeHint() const override { return { 880, 120 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lineHeight() const;

    GCControllerPtr m_controller;
};
