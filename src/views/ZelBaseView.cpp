#include "views/ZelBaseView.h"

#include "platform/runtime/Localization.h"

#include <QAbstractButton>
#include <QEvent>
#include <QIcon>
#include <QVBoxLayout>

ZelBaseView::ZelBaseView(QWidget* parent)
    : QWidget(parent)
{
    // Screens paint their own background so that the one below never shows through.
    setAttribute(Qt::WA_StyledBackground, true);
    // Explicitly hidden from the start: Qt shows a child that nobody has shown
    // or hidden along with its parent, and one put into a layout of a visible
    // parent, and either would run the screen's showing work unasked.
    QWidget::setVisible(false);
}

void ZelBaseView::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    didSetHidden(!visible);
}

void ZelBaseView::showAsNewlyAdded()
{
    QWidget::setVisible(true);
}

void ZelBaseView::didSetHidden(bool) { }

bool ZelBaseView::event(QEvent* event)
{
    // A new parent leaves the screen hidden, but no longer explicitly so: a
    // layout of a visible parent would show it again. It stays hidden on purpose.
    if (event->type() == QEvent::ParentChange && isHidden())
        setAttribute(Qt::WA_WState_ExplicitShowHide);
    return QWidget::event(event);
}

void ZelBaseView::pinContentView(QWidget* content)
{
    contentView = content;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
    for (QAbstractButton* button : content->findChildren<QAbstractButton*>())
        if (button->property("role").toString() == QLatin1String("close"))
            setUpCloseButton(button);
}

void ZelBaseView::setUpCloseButton(QAbstractButton* button)
{
    button->setProperty("role", QStringLiteral("close"));
    button->setText(QString());
    button->setIcon(QIcon(QStringLiteral(":/images/close.svg")));
    button->setIconSize(QSize(kCloseButtonSize, kCloseButtonSize));
    button->setFixedSize(kCloseButtonSize, kCloseButtonSize);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAccessibleName(localized("Close"));
    button->setAccessibleDescription(localized("CloseDescription"));
}
