#include "views/ZelAnalogueView.h"

#include "platform/gamepad/GameControllerKeys.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/NotificationCenter.h"
#include "views/GradientLayer.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

using Kind = GCControllerRawInput::Kind;

const QColor kRingColour(156, 154, 154, 204);
const QColor kDeadZoneColour(156, 154, 154, 110);
const QColor kTextColour(200, 202, 212);
const QColor kDimTextColour(154, 156, 168);
const QColor kBarBackground(255, 255, 255, 18);

constexpr int kMargin = 8;
constexpr int kGap = 22;
constexpr int kRingMax = 124;
constexpr int kTextLine = 16;
constexpr int kBarWidth = 22;
constexpr int kPillWidth = 66;
constexpr int kPillHeight = 24;
constexpr int kSmallestPillHeight = 16;
constexpr int kPillGap = 6;
constexpr int kAxisBarWidth = 150;
constexpr double kDotRadius = 7;

QString value3(double v)
{
    QString text = QString::asprintf("%.3f", v);
    return text == QLatin1String("-0.000") ? QStringLiteral("0.000") : text;
}

void fillPressed(QPainter& p, const QRectF& r, double radius)
{
    QLinearGradient gradient(r.topRight(), r.topLeft());
    gradient.setColorAt(0, GradientLayer::kRightColor);
    gradient.setColorAt(1, GradientLayer::kLeftColor);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawRoundedRect(r, radius, radius);
}

// A ring of the stick's travel with the dead zone, the trail and the stick's dot.
void paintStick(QPainter& p, const QRectF& ring, QPointF position, const std::deque<QPointF>& trail, double deadZone)
{
    const QPointF centre = ring.center();
    const double radius = ring.width() / 2;
    auto toScreen = [&](QPointF v) { return centre + QPointF(v.x() * radius, -v.y() * radius); };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRingColour, 1));
    p.drawEllipse(ring);
    p.setPen(QPen(kDeadZoneColour, 1, Qt::DashLine));
    p.drawEllipse(centre, radius * deadZone, radius * deadZone);
    p.setPen(QPen(kDeadZoneColour, 1, Qt::DotLine));
    p.drawLine(QPointF(ring.left(), centre.y()), QPointF(ring.right(), centre.y()));
    p.drawLine(QPointF(centre.x(), ring.top()), QPointF(centre.x(), ring.bottom()));
    // Older positions fade.
    for (size_t i = 1; i < trail.size(); ++i) {
        QColor c = GradientLayer::kLeftColor;
        c.setAlphaF(0.15 + 0.6 * double(i) / double(trail.size()));
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(toScreen(trail[i - 1]), toScreen(trail[i]));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(GradientLayer::kLeftColor);
    p.drawEllipse(toScreen(position), kDotRadius, kDotRadius);
}

// The keys' own titles where the key test has them; the pad's directions as arrows.
QString displayName(const QString& name)
{
    using Key = GameControllerKeys::Key;
    switch (GameControllerKeys::keyNamed(name).value_or(Key::Pause)) {
    case Key::Home:
        return localized("KeyHome");
    case Key::Menu:
        return localized("KeyMenu");
    case Key::Options:
        return localized("KeyOptions");
    case Key::Up:
        return QStringLiteral("\u25b2");
    case Key::Down:
        return QStringLiteral("\u25bc");
    case Key::Left:
        return QStringLiteral("\u25c0");
    case Key::Right:
        return QStringLiteral("\u25b6");
    default:
        return name;
    }
}

void paintPills(QPainter& p, const QRect& area, const std::vector<GCControllerRawInput>& inputs)
{
    // As many rows as the buttons need; a low panel makes them lower, not cut.
    const int buttons = int(std::count_if(
        inputs.begin(), inputs.end(), [](const GCControllerRawInput& input) { return input.kind == Kind::Button; }));
    const int perRow = std::max(1, (area.width() + kPillGap) / (kPillWidth + kPillGap));
    const int rows = std::max(1, (buttons + perRow - 1) / perRow);
    const int height = std::clamp((area.height() + kPillGap) / rows - kPillGap, kSmallestPillHeight, kPillHeight);
    int x = area.left();
    int y = area.top();
    for (const GCControllerRawInput& input : inputs) {
        if (input.kind != Kind::Button)
            continue;
        if (x + kPillWidth > area.right()) {
            x = area.left();
            y += height + kPillGap;
        }
        const QRectF pill(x, y, kPillWidth, height);
        if (input.value) {
            fillPressed(p, pill, 5);
        } else {
            p.setPen(QPen(kRingColour, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(pill.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        }
        p.setPen(input.value ? Qt::white : kTextColour);
        p.drawText(
            pill, Qt::AlignCenter, p.fontMetrics().elidedText(displayName(input.name), Qt::ElideRight, kPillWidth - 6));
        x += kPillWidth + kPillGap;
    }
}

QString hatText(int value)
{
    QString arrows;
    if (value & 1)
        arrows += QChar(0x2191);
    if (value & 2)
        arrows += QChar(0x2192);
    if (value & 4)
        arrows += QChar(0x2193);
    if (value & 8)
        arrows += QChar(0x2190);
    return arrows.isEmpty() ? QStringLiteral("\u00b7") : arrows;
}

} // namespace

ZelAnalogueView::ZelAnalogueView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumHeight(150);
    NotificationCenter::defaultCenter().addObserver(
        this, GCControllerValuesDidChangeNotification, [this](const Notification& n) {
            if (n.object.value<GCControllerPtr>() == m_controller)
                valuesChanged();
        });
}

ZelAnalogueView::~ZelAnalogueView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void ZelAnalogueView::setDeadZone(bool left, double deadZone)
{
    m_deadZone[left ? 0 : 1] = deadZone;
    update();
}

void ZelAnalogueView::setController(const GCControllerPtr& controller)
{
    if (controller == m_controller)
        return;
    m_controller = controller;
    // Another controller has its own sticks: the usual ring until it is checked.
    m_deadZone[0] = m_deadZone[1] = kDeadZone;
    m_leftTrail.clear();
    m_rightTrail.clear();
    update();
}

QPointF ZelAnalogueView::stickPosition(bool left) const
{
    const auto pad = m_controller ? m_controller->extendedGamepad() : nullptr;
    if (!pad)
        return {};
    const GCControllerDirectionPad* stick = left ? pad->leftThumbstick() : pad->rightThumbstick();
    return { stick->xAxis(), stick->yAxis() };
}

int ZelAnalogueView::rawAxis(const char* name) const
{
    const int index = m_controller ? GameControllerKeys::rawInputIndex(*m_controller, name) : -1;
    return index < 0 ? 0 : m_controller->rawInputs()[size_t(index)].value;
}

float ZelAnalogueView::triggerLevel(bool left) const
{
    const auto pad = m_controller ? m_controller->extendedGamepad() : nullptr;
    const GCControllerButtonInput* trigger = pad
        ? GameControllerKeys::element(*pad, left ? GameControllerKeys::Key::L2 : GameControllerKeys::Key::R2)
        : nullptr;
    return trigger ? trigger->value() : -1.0f;
}

QStringList ZelAnalogueView::rawValues() const
{
    QStringList values;
    if (m_controller)
        for (const GCControllerRawInput& input : m_controller->rawInputs())
            values << QStringLiteral("%1=%2").arg(input.name).arg(input.value);
    return values;
}

void ZelAnalogueView::valuesChanged()
{
    for (bool left : { true, false }) {
        std::deque<QPointF>& trail = left ? m_leftTrail : m_rightTrail;
        const QPointF position = stickPosition(left);
        // A stick let go back into its dead zone ends its stroke: the trail
        // shows the movement under way, never an old one.
        if (std::hypot(position.x(), position.y()) <= deadZone(left))
            trail.clear();
        else if (trail.empty() || trail.back() != position)
            trail.push_back(position);
        while (trail.size() > kTrailLength)
            trail.pop_front();
    }
    update();
}

void ZelAnalogueView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = font();
    small.setPixelSize(12);
    p.setFont(small);
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (!m_controller) {
        p.setPen(kDimTextColour);
        p.drawText(area, Qt::AlignCenter, localized("NoControllerConnected"));
        return;
    }
    int x = area.left();
    const auto pad = m_controller->extendedGamepad();
    if (pad) {
        const int ring = std::min(kRingMax, area.height() - 2 * kTextLine - 6);
        // A small ring keeps a column as wide as its readings.
        const QFontMetrics metrics(small);
        const int readings = std::max(metrics.horizontalAdvance(QStringLiteral("-0.000  -0.000")),
            metrics.horizontalAdvance(QStringLiteral("-32768  -32768")));
        const int column = std::max(ring, readings);
        for (bool left : { true, false }) {
            const QRectF box(x + (column - ring) / 2, area.top(), ring, ring);
            paintStick(p, box, stickPosition(left), trail(left), deadZone(left));
            const QPointF v = stickPosition(left);
            const char* rawX = left ? "LX" : "RX";
            const char* rawY = left ? "LY" : "RY";
            p.setPen(kTextColour);
            p.drawText(QRectF(x, box.bottom() + 4, column, kTextLine), Qt::AlignCenter,
                QStringLiteral("%1  %2").arg(value3(v.x()), value3(v.y())));
            p.setPen(kDimTextColour);
            p.drawText(QRectF(x, box.bottom() + 4 + kTextLine, column, kTextLine), Qt::AlignCenter,
                QStringLiteral("%1  %2").arg(rawAxis(rawX)).arg(rawAxis(rawY)));
            x += column + kGap;
        }
        for (bool left : { true, false }) {
            const float level = triggerLevel(left);
            if (level < 0)
                continue;
            const QRectF bar(x, area.top(), kBarWidth, ring);
            p.setPen(Qt::NoPen);
            p.setBrush(kBarBackground);
            p.drawRoundedRect(bar, 4, 4);
            const QRectF filled(bar.left(), bar.bottom() - bar.height() * level, bar.width(), bar.height() * level);
            if (level > 0)
                fillPressed(p, filled, 4);
            p.setPen(kTextColour);
            p.drawText(QRectF(x - 14, bar.bottom() + 4, kBarWidth + 28, kTextLine), Qt::AlignCenter,
                QLatin1String(left ? "L2" : "R2"));
            p.setPen(kDimTextColour);
            p.drawText(QRectF(x - 14, bar.bottom() + 4 + kTextLine, kBarWidth + 28, kTextLine), Qt::AlignCenter,
                value3(level));
            x += kBarWidth + kGap;
        }
    }
    if (!m_controller->identity().mapped) {
        // The device's own axes and hats, by number, with their raw values.
        int y = area.top();
        for (const GCControllerRawInput& input : m_controller->rawInputs()) {
            if (input.kind == Kind::Button || y + kTextLine > area.bottom())
                continue;
            p.setPen(kTextColour);
            p.drawText(QRect(x, y, 28, kTextLine), Qt::AlignLeft | Qt::AlignVCenter, input.name);
            if (input.kind == Kind::Axis) {
                const QRectF bar(x + 30, y + 3, kAxisBarWidth, kTextLine - 6);
                p.setPen(Qt::NoPen);
                p.setBrush(kBarBackground);
                p.drawRoundedRect(bar, 3, 3);
                const double level = std::clamp(input.value / 32767.0, -1.0, 1.0);
                const double mid = bar.center().x();
                const QRectF filled = QRectF(QPointF(std::min(mid, mid + level * bar.width() / 2), bar.top()),
                    QPointF(std::max(mid, mid + level * bar.width() / 2), bar.bottom()));
                if (filled.width() > 0)
                    fillPressed(p, filled, 2);
                p.setPen(kDimTextColour);
                p.drawText(QRect(int(bar.right()) + 6, y, 60, kTextLine), Qt::AlignLeft | Qt::AlignVCenter,
                    QString::number(input.value));
            } else {
                p.setPen(kDimTextColour);
                p.drawText(QRect(x + 30, y, 80, kTextLine), Qt::AlignLeft | Qt::AlignVCenter, hatText(input.value));
            }
            y += kTextLine + 2;
        }
        x += 30 + kAxisBarWidth + 70;
    }
    paintPills(p, QRect(x, area.top(), area.right() - x, area.height()), m_controller->rawInputs());
}
