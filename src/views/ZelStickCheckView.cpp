#include "views/ZelStickCheckView.h"

#include "platform/runtime/Localization.h"
#include "views/GradientLayer.h"

#include <QPainter>
#include <QPainterPath>

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
constexpr int kRows = 7;

QString units(double v)
{
    return QString::number(v, 'f', 3);
}

QString percent(const std::optional<double>& v)
{
    return v ? QStringLiteral("%1 %").arg(*v, 0, 'f', 1) : QStringLiteral("\u2013");
}

QString rate(const ControllerCheckReport::Stick& s)
{
    if (!s.rateHz)
        return QStringLiteral("\u2013");
    const QString text
        = QStringLiteral("%1 Hz \u00b1%2 ms").arg(*s.rateHz, 0, 'f', 0).arg(s.jitterMs.value_or(0), 0, 'f', 1);
    // Timed by our poll, the figure is the poll's, not the device's.
    return s.clock == QLatin1String("poll") ? localized("CheckRatePoll").arg(text) : text;
}

QString directions(const QStringList& list)
{
    QStringList names;
    for (const QString& d : list)
        names << ControllerCheckReport::localizedDirection(d);
    return names.isEmpty() ? localized("CheckNone") : names.join(QStringLiteral(", "));
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
}

void ZelStickCheckView::setCheck(const ControllerCheck* check)
{
    m_check = check;
    update();
}

void ZelStickCheckView::setReport(
    const ControllerCheckReport& report, const std::optional<ControllerCheckReport>& previous)
{
    m_report = report;
    m_previous = previous;
    update();
}

void ZelStickCheckView::clearReport()
{
    m_report.reset();
    m_previous.reset();
    update();
}

QString ZelStickCheckView::promptText() const
{
    using Step = ControllerCheck::Step;
    if (!m_check)
        return QString();
    switch (m_check->step()) {
    case Step::Rest:
        return localized("CheckPromptRest").arg(int(std::ceil(m_check->secondsLeft())));
    case Step::RotateLeft:
        return localized("CheckPromptRotateLeft");
    case Step::RotateRight:
        return localized("CheckPromptRotateRight");
    case Step::Triggers:
        return localized("CheckPromptTriggers");
    case Step::Motion: {
        const int left = int(std::ceil(m_check->secondsLeft()));
        return m_check->gyroCalibration().restarts() > 0 ? localized("CheckPromptMotionMoved").arg(left)
                                                         : localized("CheckPromptMotionSeconds").arg(left);
    }
    case Step::Done:
        break;
    }
    return localized("CheckComplete");
}

QList<ZelStickCheckView::Row> ZelStickCheckView::stickRows(bool left) const
{
    // While the check runs, its figures so far; after it, the report's.
    const ControllerCheckReport now = m_report ? *m_report : (m_check ? m_check->report() : ControllerCheckReport());
    const ControllerCheckReport::Stick& s = left ? now.left : now.right;
    const ControllerCheckReport::Stick* before = m_previous ? (left ? &m_previous->left : &m_previous->right) : nullptr;
    auto prev = [before](auto f) { return before ? f(*before) : QString(); };
    return {
        { localized("CheckDrift"), units(s.drift), ControllerCheckReport::driftVerdict(s.drift),
            prev([](const auto& b) { return units(b.drift); }) },
        { localized("CheckNoise"), units(s.noise), QString(), prev([](const auto& b) { return units(b.noise); }) },
        { localized("CheckDeadZone"), QString::number(s.deadZone, 'f', 2), QString(),
            prev([](const auto& b) { return QString::number(b.deadZone, 'f', 2); }) },
        { localized("CheckCircularity"), percent(s.circularity),
            ControllerCheckReport::circularityVerdict(s.circularity),
            prev([](const auto& b) { return percent(b.circularity); }) },
        { localized("CheckCoverage"), QStringLiteral("%1 %").arg(s.coverage, 0, 'f', 0), QString(),
            prev([](const auto& b) { return QStringLiteral("%1 %").arg(b.coverage, 0, 'f', 0); }) },
        { localized("CheckRate"), rate(s), QString(), prev([](const auto& b) { return rate(b); }) },
        { localized("CheckShort"), directions(s.shortDirections), ControllerCheckReport::rangeVerdict(s),
            prev([](const auto& b) { return directions(b.shortDirections); }) },
    };
}

QList<ZelStickCheckView::Row> ZelStickCheckView::motionRows() const
{
    const ControllerCheckReport now = m_report ? *m_report : (m_check ? m_check->report() : ControllerCheckReport());
    if (!now.motion.gyroscope)
        return {};
    const std::optional<ControllerCheckReport::Calibration>& c = now.motion.calibration;
    const std::optional<ControllerCheckReport::Calibration> before
        = m_previous && m_previous->motion.calibration ? m_previous->motion.calibration : std::nullopt;
    auto figure = [](const std::optional<ControllerCheckReport::Calibration>& cal, auto f) {
        return cal ? f(*cal) : QString();
    };
    auto drift = [](const ControllerCheckReport::Calibration& cal) {
        return localized("MotionDegrees").arg(QString::number(cal.drift, 'f', 2));
    };
    auto noise = [](const ControllerCheckReport::Calibration& cal) {
        return localized("MotionDegrees").arg(QString::number(cal.noise, 'f', 3));
    };
    auto gravity = [](const ControllerCheckReport::Calibration& cal) {
        return cal.gravity ? localized("MotionAcceleration").arg(QString::number(*cal.gravity, 'f', 2))
                           : QStringLiteral("\u2013");
    };
    const QString none = QStringLiteral("\u2013");
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
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    QFont font = this->font();
    font.setPixelSize(std::clamp(area.height() / kLinesForFont + 3, kSmallestFontPixels, kLargestFontPixels));
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int line = metrics.height() + 2;

    // The prompt, and on the right whose figures stand beside ours.
    int y = area.top();
    QFont bold = font;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(kTextColour);
    p.drawText(QRect(area.left(), y, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(bold).elidedText(promptText(), Qt::ElideRight, area.width() / 2));
    p.setFont(font);
    if (m_report) {
        const QString previous = m_previous
            ? localized("CheckPrevious").arg(QLocale().toString(m_previous->time.toLocalTime(), QLocale::ShortFormat))
            : localized("CheckNoPrevious");
        p.setPen(kDimTextColour);
        p.drawText(QRect(area.left() + area.width() / 2, y, area.width() / 2, line), Qt::AlignRight | Qt::AlignVCenter,
            metrics.elidedText(previous, Qt::ElideLeft, area.width() / 2));
    }
    y += line + kMargin;

    // Two sticks side by side, each a plot above its figures; the triggers
    // and buttons in a column of their own on the right.
    const int sideColumn = std::min(area.width() / 5, metrics.horizontalAdvance(QLatin1Char('0')) * 22);
    const int stickWidth = (area.width() - sideColumn - 2 * kGap) / 2;
    const int labelWidth = std::min(stickWidth / 3, metrics.horizontalAdvance(QLatin1Char('0')) * 10);
    const int valueWidth = (stickWidth - labelWidth) * 3 / 5;
    const int previousWidth = stickWidth - labelWidth - valueWidth;
    for (bool left : { true, false }) {
        const int x = area.left() + (left ? 0 : stickWidth + kGap);
        p.setFont(bold);
        p.setPen(kTextColour);
        p.drawText(QRect(x, y, stickWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
            localized(left ? "CheckLeftStick" : "CheckRightStick"));
        p.setFont(font);
        const int plotTop = y + line;
        const int plot = std::max(0, std::min(area.bottom() - plotTop - kRows * line - kMargin, stickWidth));
        paintPlot(p, QRectF(x + (stickWidth - plot) / 2.0, plotTop, plot, plot), left);
        int rowY = plotTop + plot + kMargin;
        for (const Row& row : stickRows(left)) {
            if (rowY + line > area.bottom() + 1)
                break;
            p.setPen(kDimTextColour);
            p.drawText(QRect(x, rowY, labelWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(row.label, Qt::ElideRight, labelWidth - 4));
            p.setPen(row.verdict.isEmpty() ? kTextColour : verdictColour(row.verdict));
            QString value = row.value;
            if (!row.verdict.isEmpty() && row.verdict != QLatin1String("unknown"))
                value += QStringLiteral(" \u00b7 ") + ControllerCheckReport::localizedVerdict(row.verdict);
            p.drawText(QRect(x + labelWidth, rowY, valueWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(value, Qt::ElideRight, valueWidth - 4));
            p.setPen(kDimTextColour);
            p.drawText(QRect(x + labelWidth + valueWidth, rowY, previousWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                metrics.elidedText(row.previous, Qt::ElideRight, previousWidth));
            rowY += line;
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
        QString text = QStringLiteral("\u2013");
        if (verdict != QLatin1String("unknown"))
            text = QStringLiteral("%1\u2013%2 \u00b7 %3")
                       .arg(units(trigger->min), units(trigger->max))
                       .arg(trigger->levels);
        p.drawText(QRect(x, sideY, sideColumn, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(text, Qt::ElideRight, sideColumn));
        sideY += line;
        text = verdict == QLatin1String("unknown") ? QString() : ControllerCheckReport::localizedVerdict(verdict);
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
            if (row.verdict != QLatin1String("unknown"))
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
