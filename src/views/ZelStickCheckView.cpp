#include "views/ZelStickCheckView.h"

#include "platform/runtime/Localization.h"
#include "views/ElidedLabel.h"
#include "views/GradientLayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const QColor kRingColour(156, 154, 154, 204);
const QColor kDeadZoneColour(156, 154, 154, 150);
const QColor kTextColour(200, 202, 212);
const QColor kDimTextColour(154, 156, 168);
const QColor kGoodColour(88, 196, 120);
const QColor kFairColour(236, 180, 70);
const QColor kBadColour(251, 70, 70);
const QColor kTraceFill(252, 122, 36, 60);

constexpr int kMargin = 8;
constexpr int kGap = 18;
// The plot's unit circle takes this share of its half width, so that a
// square gate's corners (√2) still fit.
constexpr double kUnitShare = 0.68;
constexpr double kShortDotRadius = 3.5;
constexpr double kLiveDotRadius = 5;
// Text sizes follow the panel's height within these bounds.
constexpr int kSmallestFontPixels = 11;
constexpr int kLargestFontPixels = 18;
constexpr int kLinesForFont = 36;
// The lines under a plot: the column headings, the figures and a second
// line for a long one.
constexpr int kRows = 10;
// Room between a value column and the next.
constexpr int kColumnGap = 10;

const QString kUnknown = QStringLiteral("unknown");

QString notMeasured()
{
    return ControllerCheckReport::localizedVerdict(kUnknown);
}

QString units(double v)
{
    return QString::number(v, 'f', 3);
}

QString percent(const std::optional<double>& v)
{
    return v ? QStringLiteral("%1 %").arg(*v, 0, 'f', 1) : notMeasured();
}

QString rate(const ControllerCheckReport::Stick& s)
{
    if (!s.rateHz)
        return notMeasured();
    const QString text = QStringLiteral("%1 Hz").arg(*s.rateHz, 0, 'f', 0);
    // Timed by our poll, the figure is the poll's, not the device's.
    return s.clock == QLatin1String("poll") ? localized("CheckRatePoll").arg(text) : text;
}

QString jitter(const ControllerCheckReport::Stick& s)
{
    return s.jitterMs ? QStringLiteral("\u00b1%1 ms").arg(*s.jitterMs, 0, 'f', 1) : notMeasured();
}

// The directions that fall short: known only once the range was measured.
QString directions(const ControllerCheckReport::Stick& s)
{
    if (!s.circularity)
        return notMeasured();
    QStringList names;
    for (const QString& d : s.shortDirections)
        names << ControllerCheckReport::localizedDirection(d);
    return names.isEmpty() ? localized("CheckNone") : names.join(QStringLiteral(", "));
}

QLabel* textLabel(const QString& name, const QColor& colour, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
    return label;
}

} // namespace

QColor ZelStickCheckView::verdictColour(const QString& verdict)
{
    if (verdict == QLatin1String("good"))
        return kGoodColour;
    if (verdict == QLatin1String("typical") || verdict == QLatin1String("high"))
        return kFairColour;
    if (verdict.isEmpty() || verdict == QLatin1String("unknown"))
        return kDimTextColour;
    return kBadColour;
}

ZelStickCheckView::ZelStickCheckView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumHeight(120);
    // The texts are labels, so that they wrap and the layout audit reads
    // them; the plots and figures are drawn in the room between.
    instructionLabel = textLabel(QStringLiteral("instructionLabel"), kTextColour, this);
    instructionLabel->setWordWrap(true);
    instructionLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    countdownLabel = textLabel(QStringLiteral("countdownLabel"), GradientLayer::kLeftColor, this);
    countdownLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    previousLabel = new ElidedLabel(this);
    previousLabel->setObjectName(QStringLiteral("previousCheckLabel"));
    previousLabel->setStyleSheet(QStringLiteral("color: %1;").arg(kDimTextColour.name()));
    previousLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    reportLabel = textLabel(QStringLiteral("reportLabel"), kDimTextColour, this);
    reportLabel->setWordWrap(true);
    reportLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* header = new QHBoxLayout;
    header->setSpacing(kGap);
    header->addWidget(instructionLabel, 0, Qt::AlignTop);
    header->addWidget(countdownLabel, 0, Qt::AlignTop);
    header->addWidget(previousLabel, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kMargin);
    layout->addLayout(header);
    layout->addStretch(1);
    layout->addWidget(reportLabel);
    updateTexts();
}

void ZelStickCheckView::setCheck(const ControllerCheck* check)
{
    m_check = check;
    refresh();
}

void ZelStickCheckView::setReport(
    const ControllerCheckReport& report, const std::optional<ControllerCheckReport>& previous)
{
    m_report = report;
    m_previous = previous;
    refresh();
}

void ZelStickCheckView::clearReport()
{
    m_report.reset();
    m_previous.reset();
    setReportPath(QString());
    refresh();
}

void ZelStickCheckView::setKeyboardHints(bool shown)
{
    m_keyboardHints = shown;
    refresh();
}

void ZelStickCheckView::setReportPath(const QString& path, const QString& error)
{
    // A path breaks after its separators when it wraps.
    QString shown = path;
    shown.replace(QLatin1Char('/'), QStringLiteral("/\u200b"));
    reportLabel->setText(path.isEmpty() ? error : localized("CheckReportSaved").arg(shown));
    reportLabel->setToolTip(path);
    reportLabel->setHidden(reportLabel->text().isEmpty());
}

void ZelStickCheckView::refresh()
{
    updateTexts();
    update();
}

void ZelStickCheckView::updateTexts()
{
    const QString hint = keyboardHint();
    instructionLabel->setText(hint.isEmpty() ? promptText() : promptText() + QLatin1Char('\n') + hint);
    countdownLabel->setText(countdownText());
    countdownLabel->setHidden(countdownLabel->text().isEmpty());
    QString previous;
    if (m_report)
        previous = m_previous
            ? localized("CheckPrevious").arg(QLocale().toString(m_previous->time.toLocalTime(), QLocale::ShortFormat))
            : localized("CheckNoPrevious");
    previousLabel->setFullText(previous);
    previousLabel->setHidden(previous.isEmpty());
    // Once the check is complete, its short line leaves the room to the
    // previous check's date.
    for (const auto& [label, stretch] : { std::pair<QLabel*, int> { instructionLabel, m_report ? 1 : 2 },
             std::pair<QLabel*, int> { previousLabel, m_report ? 3 : 1 } }) {
        QSizePolicy policy = label->sizePolicy();
        if (policy.horizontalStretch() != stretch) {
            policy.setHorizontalStretch(stretch);
            label->setSizePolicy(policy);
        }
    }
}

int ZelStickCheckView::fontPixels() const
{
    return std::clamp((height() - 2 * kMargin) / kLinesForFont + 3, kSmallestFontPixels, kLargestFontPixels);
}

void ZelStickCheckView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    QFont font = this->font();
    font.setPixelSize(fontPixels());
    for (QLabel* label : { instructionLabel.data(), countdownLabel.data(), reportLabel.data() })
        label->setFont(font);
    previousLabel->setFont(font);
    font.setBold(true);
    instructionLabel->setFont(font);
    countdownLabel->setFont(font);
}

QString ZelStickCheckView::countdownText() const
{
    if (!m_check || !m_check->isRunning())
        return QString();
    return localized("CheckSecondsLeft").arg(int(std::ceil(m_check->secondsLeft())));
}

QString ZelStickCheckView::keyboardHint() const
{
    using Step = ControllerCheck::Step;
    if (!m_keyboardHints || !m_check || !m_check->isRunning())
        return QString();
    switch (m_check->step()) {
    case Step::Rest:
        return localized("CheckKeysRest");
    case Step::RotateLeft:
        return localized("CheckKeysRotateLeft");
    case Step::RotateRight:
        return localized("CheckKeysRotateRight");
    case Step::Triggers:
        return localized("CheckKeysTriggers");
    case Step::Motion:
        return localized("CheckKeysMotion");
    case Step::Done:
        break;
    }
    return QString();
}

QString ZelStickCheckView::promptText() const
{
    using Step = ControllerCheck::Step;
    if (!m_check)
        return QString();
    switch (m_check->step()) {
    case Step::Rest:
        // The countdown beside it says how long is left.
        return localized("CheckPromptRest").arg(m_check->options().restSeconds);
    case Step::RotateLeft:
        return localized("CheckPromptRotateLeft");
    case Step::RotateRight:
        return localized("CheckPromptRotateRight");
    case Step::Triggers:
        return localized("CheckPromptTriggers");
    case Step::Motion:
        return localized(m_check->gyroCalibration().restarts() > 0 ? "CheckPromptMotionAgain" : "CheckPromptMotion");
    case Step::Done:
        break;
    }
    return localized("CheckComplete");
}

QList<ZelStickCheckView::Row> ZelStickCheckView::stickRows(bool left) const
{
    using Stick = ControllerCheckReport::Stick;
    // While the check runs, its figures so far; after it, the report's.
    const ControllerCheckReport now = m_report ? *m_report : (m_check ? m_check->report() : ControllerCheckReport());
    const Stick& s = left ? now.left : now.right;
    const Stick* before = m_previous ? (left ? &m_previous->left : &m_previous->right) : nullptr;
    // Where a stick rests is judged once the rest is over.
    const bool rested = m_report || (m_check && m_check->step() != ControllerCheck::Step::Rest);
    const auto row = [&](const char* label, auto figure, const QString& verdict) {
        return Row { localized(label), figure(s), verdict, before ? figure(*before) : QString() };
    };
    // A figure that was not measured has no verdict but that.
    const auto measured = [](bool known, const QString& verdict) { return known ? verdict : kUnknown; };
    return {
        row(
            "CheckDrift", [](const Stick& b) { return units(b.drift); },
            rested ? ControllerCheckReport::driftVerdict(s.drift) : QString()),
        row(
            "CheckNoise", [](const Stick& b) { return units(b.noise); }, QString()),
        row(
            "CheckDeadZone", [](const Stick& b) { return QString::number(b.deadZone, 'f', 2); }, QString()),
        row(
            "CheckCircularity", [](const Stick& b) { return percent(b.circularity); },
            ControllerCheckReport::circularityVerdict(s.circularity)),
        row(
            "CheckCoverage", [](const Stick& b) { return QStringLiteral("%1 %").arg(b.coverage, 0, 'f', 0); },
            QString()),
        row("CheckRate", rate, measured(s.rateHz.has_value(), QString())),
        row("CheckJitter", jitter, measured(s.jitterMs.has_value(), QString())),
        row("CheckShort", directions, ControllerCheckReport::rangeVerdict(s)),
    };
}

QList<ZelStickCheckView::Row> ZelStickCheckView::motionRows() const
{
    const ControllerCheckReport now = m_report ? *m_report : (m_check ? m_check->report() : ControllerCheckReport());
    if (!now.motion.gyroscope)
        return {};
    const std::optional<ControllerCheckReport::Calibration>& c = now.motion.calibration;
    const ControllerCheckReport::Calibration* before
        = m_previous && m_previous->motion.calibration ? &*m_previous->motion.calibration : nullptr;
    auto figure = [](const ControllerCheckReport::Calibration* cal, auto f) { return cal ? f(*cal) : QString(); };
    auto drift = [](const ControllerCheckReport::Calibration& cal) {
        return localized("MotionDegrees").arg(QString::number(cal.drift, 'f', 2));
    };
    auto noise = [](const ControllerCheckReport::Calibration& cal) {
        return localized("MotionDegrees").arg(QString::number(cal.noise, 'f', 3));
    };
    auto gravity = [](const ControllerCheckReport::Calibration& cal) {
        return cal.gravity ? localized("MotionAcceleration").arg(QString::number(*cal.gravity, 'f', 2)) : notMeasured();
    };
    const QString none = notMeasured();
    QList<Row> rows {
        { localized("CheckGyroDrift"), c ? drift(*c) : none, ControllerCheckReport::gyroDriftVerdict(c),
            figure(before, drift) },
        { localized("CheckGyroNoise"), c ? noise(*c) : none, ControllerCheckReport::gyroNoiseVerdict(c),
            figure(before, noise) },
    };
    if (now.motion.accelerometer)
        rows.append({ localized("CheckGravity"), c ? gravity(*c) : none, ControllerCheckReport::gravityVerdict(c),
            figure(before, gravity) });
    return rows;
}

void ZelStickCheckView::paintPlot(QPainter& p, const QRectF& box, bool left) const
{
    const QPointF centre = box.center();
    const double unit = box.width() / 2 * kUnitShare;
    auto toScreen = [&](double angle, double r) {
        return centre + QPointF(std::cos(angle) * r * unit, -std::sin(angle) * r * unit);
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRingColour, 1));
    p.drawEllipse(centre, unit, unit);
    p.setPen(QPen(kDeadZoneColour, 1, Qt::DotLine));
    p.drawLine(QPointF(box.left(), centre.y()), QPointF(box.right(), centre.y()));
    p.drawLine(QPointF(centre.x(), box.top()), QPointF(centre.x(), box.bottom()));
    if (!m_check)
        return;
    const StickRangeMeasurement& range = m_check->range(left);
    // The traced range: each filled bin's largest radius at its middle.
    QPainterPath trace;
    bool first = true;
    for (int b = 0; b < StickRangeMeasurement::kBins; ++b) {
        if (!range.filled(b))
            continue;
        const QPointF at = toScreen((b + 0.5) * 2 * std::numbers::pi / StickRangeMeasurement::kBins, range.radius(b));
        if (first)
            trace.moveTo(at);
        else
            trace.lineTo(at);
        first = false;
    }
    if (!first) {
        if (range.covered())
            trace.closeSubpath();
        p.setBrush(kTraceFill);
        p.setPen(QPen(GradientLayer::kLeftColor, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(trace);
    }
    // Where the range falls short.
    p.setPen(Qt::NoPen);
    p.setBrush(kBadColour);
    for (int b = 0; b < StickRangeMeasurement::kBins; ++b)
        if (range.filled(b) && range.radius(b) < StickRangeMeasurement::kShortRadius)
            p.drawEllipse(toScreen((b + 0.5) * 2 * std::numbers::pi / StickRangeMeasurement::kBins, range.radius(b)),
                kShortDotRadius, kShortDotRadius);
    // The dead zone the rest found.
    const StickCentreMeasurement& centreMeasurement = m_check->centre(left);
    if (centreMeasurement.samples() > 0 || m_check->step() != ControllerCheck::Step::Rest) {
        const double zone
            = (m_report ? (left ? m_report->left : m_report->right).deadZone : centreMeasurement.recommendedDeadZone())
            * unit;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kTextColour, 1, Qt::DashLine));
        p.drawEllipse(centre, zone, zone);
    }
    // The stick now, while the check runs.
    if (m_check->isRunning() && m_check->controller() && m_check->controller()->extendedGamepad()) {
        const auto pad = m_check->controller()->extendedGamepad();
        const GCControllerDirectionPad* stick = left ? pad->leftThumbstick() : pad->rightThumbstick();
        p.setPen(Qt::NoPen);
        p.setBrush(GradientLayer::kRightColor);
        p.drawEllipse(centre + QPointF(stick->xAxis() * unit, -stick->yAxis() * unit), kLiveDotRadius, kLiveDotRadius);
    }
}

void ZelStickCheckView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The room the labels leave: under the instruction, above the report's path.
    const int top = std::max({ instructionLabel->geometry().bottom(),
                        countdownLabel->isHidden() ? 0 : countdownLabel->geometry().bottom(),
                        previousLabel->isHidden() ? 0 : previousLabel->geometry().bottom() })
        + kMargin;
    const int bottom = (reportLabel->isHidden() ? height() : reportLabel->geometry().top()) - kMargin;
    const QRect area(kMargin, top, width() - 2 * kMargin, std::max(0, bottom - top));
    QFont font = this->font();
    font.setPixelSize(fontPixels());
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int line = metrics.height() + 2;
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    int y = area.top();

    // Two sticks side by side, each a plot above its figures; the triggers
    // and buttons in a column of their own on the right.
    const int sideColumn = std::min(area.width() / 5, metrics.horizontalAdvance(QLatin1Char('0')) * 22);
    const int stickWidth = (area.width() - sideColumn - 2 * kGap) / 2;
    for (bool left : { true, false }) {
        const QList<Row> rows = stickRows(left);
        // The labels as wide as they need, the previous column only where
        // there is a previous check.
        int labelNeed = 0;
        int previousNeed = m_previous ? boldMetrics.horizontalAdvance(localized("CheckPreviousColumn")) : 0;
        for (const Row& row : rows) {
            labelNeed = std::max(labelNeed, metrics.horizontalAdvance(row.label));
            if (m_previous)
                previousNeed = std::max(previousNeed, metrics.horizontalAdvance(row.previous));
        }
        const int labelWidth = std::min(stickWidth / 3, labelNeed + kColumnGap);
        const int room = stickWidth - labelWidth;
        // The previous figures are short; this check's take what they leave.
        const int previousWidth = m_previous ? std::min(previousNeed + kColumnGap / 2, room * 2 / 5) : 0;
        const int valueWidth = room - previousWidth;

        const int x = area.left() + (left ? 0 : stickWidth + kGap);
        p.setFont(bold);
        p.setPen(kTextColour);
        p.drawText(QRect(x, y, stickWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
            boldMetrics.elidedText(localized(left ? "CheckLeftStick" : "CheckRightStick"), Qt::ElideRight, stickWidth));
        p.setFont(font);
        const int plotTop = y + line;
        const int plot = std::max(0, std::min(area.bottom() - plotTop - kRows * line - kMargin, stickWidth));
        paintPlot(p, QRectF(x + (stickWidth - plot) / 2.0, plotTop, plot, plot), left);
        int rowY = plotTop + plot + kMargin;
        // Each column under its heading: this check's, the previous one's.
        if (m_previous && rowY + line <= area.bottom() + 1) {
            p.setFont(bold);
            p.setPen(kDimTextColour);
            p.drawText(QRect(x + labelWidth, rowY, valueWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                boldMetrics.elidedText(localized("CheckNowColumn"), Qt::ElideRight, valueWidth - 4));
            p.drawText(QRect(x + labelWidth + valueWidth, rowY, previousWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                boldMetrics.elidedText(localized("CheckPreviousColumn"), Qt::ElideRight, previousWidth));
            p.setFont(font);
            rowY += line;
        }
        for (const Row& row : rows) {
            if (rowY + line > area.bottom() + 1)
                break;
            p.setPen(kDimTextColour);
            p.drawText(QRect(x, rowY, labelWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(row.label, Qt::ElideRight, labelWidth - 4));
            QString value = row.value;
            if (!row.verdict.isEmpty() && row.verdict != kUnknown)
                value += QStringLiteral(" \u00b7 ") + ControllerCheckReport::localizedVerdict(row.verdict);
            p.drawText(QRect(x + labelWidth + valueWidth, rowY, previousWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(row.previous, Qt::ElideRight, previousWidth));
            // A long value (the directions that fall short) takes a second
            // line where there is one.
            const QRect valueBox(x + labelWidth, rowY, valueWidth - kColumnGap, line);
            const QRect twoLines = valueBox.adjusted(0, 0, 0, line);
            const bool wraps = metrics.horizontalAdvance(value) > valueBox.width()
                && metrics.boundingRect(twoLines, Qt::TextWordWrap, value).height() <= twoLines.height()
                && twoLines.bottom() <= area.bottom();
            p.setPen(row.verdict.isEmpty() ? kTextColour : verdictColour(row.verdict));
            if (wraps)
                p.drawText(twoLines, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, value);
            else
                p.drawText(valueBox, Qt::AlignLeft | Qt::AlignVCenter,
                    metrics.elidedText(value, Qt::ElideRight, valueBox.width()));
            rowY += wraps ? 2 * line : line;
        }
    }

    // Triggers and buttons.
    const int x = area.right() - sideColumn;
    int sideY = y;
    const ControllerCheckReport now = m_report ? *m_report : (m_check ? m_check->report() : ControllerCheckReport());
    for (const auto& [trigger, title] :
        { std::pair { &now.leftTrigger, "CheckLeftTrigger" }, std::pair { &now.rightTrigger, "CheckRightTrigger" } }) {
        if (!trigger->present || sideY + 3 * line > area.bottom())
            continue;
        p.setFont(bold);
        p.setPen(kTextColour);
        p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(localized(title), Qt::ElideRight, sideColumn));
        p.setFont(font);
        sideY += line;
        const QString verdict = ControllerCheckReport::triggerVerdict(*trigger);
        p.setPen(verdictColour(verdict));
        // Nothing to tell until the trigger has moved.
        QString text = notMeasured();
        if (verdict != kUnknown)
            text = localized("CheckTravel")
                       .arg(QString::number(trigger->min, 'f', 2), QString::number(trigger->max, 'f', 2));
        p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(text, Qt::ElideRight, sideColumn));
        sideY += line;
        text = verdict == kUnknown ? QString()
                                   : QStringLiteral("%1 \u00b7 %2")
                                         .arg(localizedCount("CheckLevels", trigger->levels),
                                             ControllerCheckReport::localizedVerdict(verdict));
        p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(text, Qt::ElideRight, sideColumn));
        sideY += line + kMargin / 2;
    }
    // The gyroscope at rest: each figure with its verdict, under a title.
    const QList<Row> motion = motionRows();
    if (!motion.isEmpty() && sideY + (motion.size() + 1) * line <= area.bottom()) {
        p.setFont(bold);
        p.setPen(kTextColour);
        p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(localized("MotionGyroscope"), Qt::ElideRight, sideColumn));
        p.setFont(font);
        sideY += line;
        for (const Row& row : motion) {
            p.setPen(verdictColour(row.verdict));
            QString text = QStringLiteral("%1 %2").arg(row.label, row.value);
            if (row.verdict != kUnknown)
                text += QStringLiteral(" \u00b7 ") + ControllerCheckReport::localizedVerdict(row.verdict);
            p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(text, Qt::ElideRight, sideColumn));
            sideY += line;
        }
    }
    sideY += kMargin;
    for (const ControllerCheckReport::Button& b : now.buttons) {
        const QString verdict = ControllerCheckReport::buttonVerdict(b);
        if (verdict == QLatin1String("good") || sideY + line > area.bottom())
            continue;
        p.setPen(verdictColour(verdict));
        p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(
                QStringLiteral("%1 \u00b7 %2").arg(b.name, ControllerCheckReport::localizedVerdict(verdict)),
                Qt::ElideRight, sideColumn));
        sideY += line;
    }
}
