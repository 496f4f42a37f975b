#include "views/ZelOverlayView.h"

#include <QPainter>
#include <QPushButton>

namespace {
constexpr double kDimOpacity = 0.8;
}

ZelOverlayView::ZelOverlayView(QWidget* parent)
    : ZelBaseView(parent)
{
    // The dimmed layer is painted here: the screens' opaque styled background
    // would hide the screen below.
    setAttribute(Qt::WA_StyledBackground, false);

    closeButton = new QPushButton(this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    setUpCloseButton(closeButton);
    // It sits on the card's corner by design.
    closeButton->setProperty("layoutAudit", QStringLiteral("layer"));
    connect(closeButton, &QAbstractButton::clicked, this, [this] { setHidden(true); });
}

void ZelOverlayView::placeCard(QWidget* card)
{
    card->move((width() - card->width()) / 2, (height() - card->height()) / 2);
    const QRect frame = card->geometry();
    closeButton->move(frame.right() + 1 - kCloseButtonSize, frame.top());
    closeButton->raise();
}

void ZelOverlayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, kDimOpacity));
}
