#pragma once

#include "input/ControllerCheck.h"
#include "input/ControllerCheckReport.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <optional>

// The stick check as it runs and what it found: the step's prompt (with
// the seconds left at rest), for each stick a polar plot of the traced range
// against the unit circle with the short directions marked and the
// recommended dead zone, the figures with their verdicts beside those of the
// previous check of the same controller, and the triggers' travel and the
// buttons that chattered or stuck.
class ZelStickCheckView : public QWidget {
    Q_OBJECT
public:
    explicit ZelStickCheckView(QWidget* parent = nullptr);

    // The check to show while it runs; its measurements stay readable after.
    void setCheck(const ControllerCheck* check);
    const ControllerCheck* check() const { return m_check; }
    // The finished check's report and the one before it, if any.
    void setReport(const ControllerCheckReport& report, const std::optional<ControllerCheckReport>& previous);
    void clearReport();
    const std::optional<ControllerCheckReport>& report() const { return m_report; }
    const std::optional<ControllerCheckReport>& previous() const { return m_previous; }

    // The line at the top: the step's prompt, or that the check is complete.
    QString promptText() const;
    // The figure rows beside a stick's plot: label, value, verdict word (as
    // the JSON form has it, empty where none applies), previous value.
    struct Row {
        QString label, value, verdict, previous;
    };
    QList<Row> stickRows(bool left) const;
    // The gyroscope's rows (drift, noise and, with an accelerometer,
    // gravity); none for a controller without a gyroscope.
    QList<Row> motionRows() const;

    QSize sizeHint() const override { return { 880, 360 }; }

    // The colour a verdict word is shown in: good green, typical or high
    // amber, unknown dim, anything worse red.
    static QColor verdictColour(const QString& verdict);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPlot(class QPainter& p, const QRectF& box, bool left) const;

    QPointer<const ControllerCheck> m_check;
    std::optional<ControllerCheckReport> m_report;
    std::optional<ControllerCheckReport> m_previous;
};
