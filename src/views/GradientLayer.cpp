#include "views/GradientLayer.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

GradientLayer::GradientLayer(QWidget* key, double cornerRadius)
    : QWidget(key)
    , m_cornerRadius(cornerRadius)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(key->rect());
    key->installEventFilter(this);
}

bool GradientLayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

void GradientLayer::paintEvent(QPaintEvent*)
{
    QLinearGradient gradient(width(), 0, 0, 0);
    gradient.setColorAt(0, kRightColor);
    gradient.setColorAt(1, kLeftColor);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), m_cornerRadius, m_cornerRadius);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape, gradient);
}
