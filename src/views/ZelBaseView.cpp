#include "views/ZelBaseView.h"

#include <QVBoxLayout>

ZelBaseView::ZelBaseView(QWidget* parent)
    : QWidget(parent)
{
    // Screens paint their own background so that the one below never shows through.
    setAttribute(Qt::WA_StyledBackground, true);
}

void ZelBaseView::setHidden(bool hidden)
{
    QWidget::setHidden(hidden);
}

void ZelBaseView::pinContentView(QWidget* content)
{
    contentView = content;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
}
