#include "views/ZelMotionView.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/NotificationCenter.h"
#include "views/GradientLayer.h"
#include "views/ZelStickCheckView.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kTextColour(200, 202, 212);
const QColor kDimTextColour(154, 156, 168);
const QColor kBarBackground(255, 255, 255, 18);

constexpr int kMargin = 8;
constexpr int kGap = 22;
constexpr int kFontPixels = 12;
constexpr int kAxisLabelWidth = 16;
constexpr int kValueWidth = 64;
constexpr int kBarHeight = 8;
constexpr int kLeastBarWidth = 40;
constexpr int kMostBarWidth = 220;

QString signedValue(double v, int decimals)
{
    QString text = QString::number(v, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && text.mid(1).toDouble() == 0.0)
        text.remove(0, 1);
    return text;
}

// Three bars about zero, one a line: x, y and z.
int paintAxes(QPainter& p, const QRect& area, int line, const std::array<float, 3>& values, double scale, int decimals)
{
    const int barWidth = std::clamp(area.width() - kAxisLabelWidth - kValueWidth - 8, kLeastBarWidth, kMostBarWidth);
    int y = area.top();
    static const char* const kAxes[] = { "x", "y", "z" };
    for (size_t a = 0; a < 3; ++a) {
        p.setPen(kDimTextColour);
        p.drawText(
            QRect(area.left(), y, kAxisLabelWidth, line), Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(kAxes[a]));
        const QRectF bar(area.left() + kAxisLabelWidth, y + (line - kBarHeight) / 2.0, barWidth, kBarHeight);
        p.setPen(Qt::NoPen);
        p.setBrush(kBarBackground);
        p.drawRoundedRect(bar, 3, 3);
        const double level = std::clamp(double(values[a]) / scale, -1.0, 1.0);
        const double mid = bar.center().x();
        const QRectF filled(QPointF(std::min(mid, mid + level * bar.width() / 2), bar.top()),
            QPointF(std::max(mid, mid + level * bar.width() / 2), bar.bottom()));
        if (filled.width() > 0) {
            QLinearGradient gradient(filled.topRight(), filled.topLeft());
            gradient.setColorAt(0, GradientLayer::kRightColor);
            gradient.setColorAt(1, GradientLayer::kLeftColor);
            p.setBrush(gradient);
            p.drawRoundedRect(filled, 3, 3);
        }
        p.setPen(kTextColour);
        p.drawText(QRect(int(bar.right()) + 8, y, kValueWidth, line), Qt::AlignRight | Qt::AlignVCenter,
            signedValue(values[a], decimals));
        y += line;
    }
    return kAxisLabelWidth + barWidth + 8 + kValueWidth;
}

} // namespace

ZelMotionView::ZelMotionView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumHeight(100);
    NotificationCenter::defaultCenter().addObserver(
        this, GCControllerMotionDidChangeNotification, [this](const Notification& n) {
            if (n.object.value<GCControllerPtr>() == m_controller)
                motionChanged();
        });
}

ZelMotionView::~ZelMotionView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void ZelMotionView::setController(const GCControllerPtr& controller)
{
    if (controller == m_controller)
        return;
    m_controller = controller;
    m_gyroscopeRate.clear();
    m_accelerometerRate.clear();
    m_calibration.reset();
    update();
}

void ZelMotionView::setCalibration(const std::optional<ControllerCheckReport::Calibration>& calibration)
{
    m_calibration = calibration;
    update();
}

void ZelMotionView::motionChanged()
{
    const GCControllerSensor sensor = m_controller->lastSensor();
    (sensor == GCControllerSensor::Gyroscope ? m_gyroscopeRate : m_accelerometerRate)
        .add(m_controller->sensorTime(), GCControllerInputClock::Device);
    update();
}

QString ZelMotionView::rateText(GCControllerSensor sensor) const
{
    const ReportRateMeasurement& measured = rate(sensor);
    const double stated = !m_controller           ? 0.0
        : sensor == GCControllerSensor::Gyroscope ? m_controller->motion().gyroscopeRateHz
                                                  : m_controller->motion().accelerometerRateHz;
    const QString here = measured.rateHz() ? QString::number(*measured.rateHz(), 'f', 0) : QStringLiteral("\u2013");
    if (stated > 0)
        return localized("MotionRateStated").arg(here, QString::number(stated, 'f', 0));
    return localized("MotionRate").arg(here);
}

void ZelMotionView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = font();
    small.setPixelSize(kFontPixels);
    p.setFont(small);
    QFont bold = small;
    bold.setBold(true);
    const QFontMetrics metrics(small);
    const int line = metrics.height() + 2;
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (!m_controller) {
        p.setPen(kDimTextColour);
        p.drawText(area, Qt::AlignCenter, localized("NoControllerConnected"));
        return;
    }
    const GCControllerMotion& motion = m_controller->motion();
    // Two sensor columns and the calibration's, side by side.
    const int column = (area.width() - 2 * kGap) / 3;
    int x = area.left();
    struct Sensor {
        bool present;
        const char* title;
        GCControllerSensor sensor;
        const std::array<float, 3>* values;
        double scale;
        int decimals;
    };
    for (const Sensor& s : { Sensor { motion.hasGyroscope, "MotionGyroscope", GCControllerSensor::Gyroscope,
                                 &motion.rotation, kTurnScale, 1 },
             Sensor { motion.hasAccelerometer, "MotionAccelerometer", GCControllerSensor::Accelerometer,
                 &motion.acceleration, kAccelerationScale, 2 } }) {
        if (!s.present)
            continue;
        p.setFont(bold);
        p.setPen(kTextColour);
        p.drawText(QRect(x, area.top(), column, line), Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(bold).elidedText(localized(s.title), Qt::ElideRight, column));
        p.setFont(small);
        paintAxes(p, QRect(x, area.top() + line, column, 3 * line), line, *s.values, s.scale, s.decimals);
        p.setPen(kDimTextColour);
        p.drawText(QRect(x, area.top() + 4 * line, column, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(rateText(s.sensor), Qt::ElideRight, column));
        x += column + kGap;
    }
    // What the last check found of the gyroscope at rest.
    p.setFont(bold);
    p.setPen(kTextColour);
    p.drawText(QRect(x, area.top(), area.right() - x, line), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(bold).elidedText(localized("MotionCalibration"), Qt::ElideRight, area.right() - x));
    p.setFont(small);
    int y = area.top() + line;
    const int width = area.right() - x;
    if (!m_calibration) {
        p.setPen(kDimTextColour);
        p.drawText(QRect(x, y, width, 3 * line), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
            localized("MotionNotCalibrated"));
        return;
    }
    const ControllerCheckReport::Calibration& c = *m_calibration;
    const std::pair<QString, QString> rows[] = {
        { localized("MotionDrift").arg(QString::number(c.drift, 'f', 2)), ControllerCheckReport::gyroDriftVerdict(c) },
        { localized("MotionNoise").arg(QString::number(c.noise, 'f', 3)), ControllerCheckReport::gyroNoiseVerdict(c) },
        { c.gravity ? localized("MotionGravity").arg(QString::number(*c.gravity, 'f', 2)) : QString(),
            ControllerCheckReport::gravityVerdict(c) },
    };
    for (const auto& [text, verdict] : rows) {
        if (text.isEmpty())
            continue;
        p.setPen(ZelStickCheckView::verdictColour(verdict));
        p.drawText(QRect(x, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(text + QStringLiteral(" \u00b7 ") + ControllerCheckReport::localizedVerdict(verdict),
                Qt::ElideRight, width));
        y += line;
    }
}
