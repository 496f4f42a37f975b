#pragma once

#include "input/ControllerCheck.h"
#include "input/ControllerCheckReport.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <optional>

class ElidedLabel;
class QLabel;

// The stick check as it runs and what it found: the step's instruction and
// the seconds it has left, for each stick a polar plot of the traced range
// against the unit circle with the short directions marked and the
// recommended dead zone, the figures with their verdicts beside those of the
// previous check of the same controller (each column under its heading),
// the triggers' travel and the buttons that chattered or stuck, and where
// the report was kept. What the check did not measure says so: it is
// never shown as good.
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

    // The instruction at the top (the step's prompt, and with the keyboard
    // pad the keys that do it), the seconds the step has left while the
    // check runs, whose figures stand in the previous column, and below
    // the figures the report's path (or why it was not kept).
    QPointer<QLabel> instructionLabel, countdownLabel, reportLabel;
    QPointer<ElidedLabel> previousLabel;

    // The step's prompt, or that the check is complete.
    QString promptText() const;
    // What the keyboard keys do in this step; empty without keyboard hints.
    QString keyboardHint() const;
    // "7 s left" while a step runs; empty otherwise.
    QString countdownText() const;
    // Whether the keyboard plays the checked controller (the demo's pad).
    void setKeyboardHints(bool shown);
    // Where the finished check's report was kept, or, when it was not, why.
    void setReportPath(const QString& path, const QString& error = QString());
    // Brings the texts (the countdown) and the drawing up to date.
    void refresh();
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
    void resizeEvent(QResizeEvent* event) override;

private:
    void paintPlot(class QPainter& p, const QRectF& box, bool left) const;
    int fontPixels() const;
    void updateTexts();

    QPointer<const ControllerCheck> m_check;
    std::optional<ControllerCheckReport> m_report;
    std::optional<ControllerCheckReport> m_previous;
    bool m_keyboardHints = false;
};
