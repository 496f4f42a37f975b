#include "views/ZelTouchpadView.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/NotificationCenter.h"
#include "views/GradientLayer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kOutlineColour(156, 154, 154, 204);
const QColor kPadColour(255, 255, 255, 12);
const QColor kPressedColour(252, 122, 36, 70);
const QColor kTextColour(200, 202, 212);
const QColor kDimTextColour(154, 156, 168);

constexpr int kMargin = 8;
constexpr int kGap = 22;
constexpr int kFontPixels = 12;
constexpr double kCornerRadius = 10;
constexpr double kFingerRadius = 9;
// With pressure, a finger grows from kFingerRadius by up to this much.
constexpr double kPressureGrowth = 9;

} // namespace

ZelTouchpadView::ZelTouchpadView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumHeight(100);
    NotificationCenter::defaultCenter().addObserver(
        this, GCControllerValuesDidChangeNotification, [this](const Notification& n) {
            if (n.object.value<GCControllerPtr>() == m_controller)
                update();
        });
}

ZelTouchpadView::~ZelTouchpadView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void ZelTouchpadView::setController(const GCControllerPtr& controller)
{
    m_controller = controller;
    update();
}

int ZelTouchpadView::lineHeight() const
{
    QFont small = font();
    small.setPixelSize(kFontPixels);
    return QFontMetrics(small).height() + 2;
}

QRectF ZelTouchpadView::padRect(int touchpad) const
{
    const int count = m_controller ? int(m_controller->touchpads().size()) : 0;
    if (touchpad < 0 || touchpad >= count)
        return {};
    const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin - lineHeight());
    const double slot = (area.width() - kGap * (count - 1)) / double(count);
    const double height = std::max(0.0, std::min<double>(area.height(), slot / kPadAspect));
    const double width = height * kPadAspect;
    const double left = area.left() + touchpad * (slot + kGap) + (slot - width) / 2;
    return { left, double(area.top()), width, height };
}

QPointF ZelTouchpadView::fingerPoint(int touchpad, float x, float y) const
{
    const QRectF pad = padRect(touchpad);
    return { pad.left() + x * pad.width(), pad.top() + y * pad.height() };
}

QString ZelTouchpadView::caption(int touchpad) const
{
    if (!m_controller || touchpad < 0 || size_t(touchpad) >= m_controller->touchpads().size())
        return QString();
    const GCControllerTouchpad& pad = m_controller->touchpads()[size_t(touchpad)];
    const int down
        = int(std::count_if(pad.fingers.begin(), pad.fingers.end(), [](const GCControllerTouch& f) { return f.down; }));
    QString text = localized("TouchpadCaption").arg(touchpad + 1).arg(down);
    if (pad.pressed)
        text += QStringLiteral(" \u00b7 ") + localized("TouchpadPressed");
    return text;
}

void ZelTouchpadView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = font();
    small.setPixelSize(kFontPixels);
    p.setFont(small);
    const QFontMetrics metrics(small);
    if (!m_controller || m_controller->touchpads().empty()) {
        p.setPen(kDimTextColour);
        p.drawText(rect(), Qt::AlignCenter, localized(m_controller ? "NoTouchpad" : "NoControllerConnected"));
        return;
    }
    const std::vector<GCControllerTouchpad>& pads = m_controller->touchpads();
    for (size_t t = 0; t < pads.size(); ++t) {
        const GCControllerTouchpad& pad = pads[t];
        const QRectF box = padRect(int(t));
        p.setPen(QPen(pad.pressed ? GradientLayer::kLeftColor : kOutlineColour, pad.pressed ? 2 : 1));
        p.setBrush(pad.pressed ? kPressedColour : kPadColour);
        p.drawRoundedRect(box, kCornerRadius, kCornerRadius);
        for (size_t f = 0; f < pad.fingers.size(); ++f) {
            const GCControllerTouch& finger = pad.fingers[f];
            if (!finger.down)
                continue;
            const QPointF at = fingerPoint(int(t), finger.x, finger.y);
            const double radius = kFingerRadius + (pad.reportsPressure ? kPressureGrowth * finger.pressure : 0.0);
            QRadialGradient glow(at, radius);
            glow.setColorAt(0, GradientLayer::kLeftColor);
            glow.setColorAt(1, GradientLayer::kRightColor);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(at, radius, radius);
            p.setPen(Qt::white);
            p.drawText(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter,
                QString::number(f + 1));
            if (pad.reportsPressure) {
                // Beside the finger, on whichever side the pad has room.
                const QString pressure = QString::number(finger.pressure, 'f', 2);
                const double width = metrics.horizontalAdvance(pressure) + 2;
                QRectF label(at.x() + radius + 2, at.y() - metrics.height() / 2.0, width, metrics.height());
                if (!box.contains(label))
                    label.moveRight(at.x() - radius - 2);
                p.setPen(kTextColour);
                if (box.contains(label))
                    p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, pressure);
            }
        }
        // The caption may be wider than a small pad: it takes the pad's whole slot.
        const int count = int(pads.size());
        const double slot = (width() - 2 * kMargin - kGap * (count - 1)) / double(count);
        const QRectF under(box.center().x() - slot / 2, box.bottom() + 2, slot, lineHeight());
        p.setPen(kDimTextColour);
        p.drawText(under, Qt::AlignCenter, metrics.elidedText(caption(int(t)), Qt::ElideRight, int(slot)));
    }
}
