#include "views/ScreenScaler.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
// The factor changes in steps this fine: a window dragged a pixel wider
// restyles nothing.
constexpr double kStep = 0.01;

bool keepsItsSize(const QWidget* widget)
{
    const QString role = widget->property("role").toString();
    return role == QLatin1String("close") || role == QLatin1String("redDot");
}
}

ScreenScaler::ScreenScaler(QWidget* content)
{
    QList<QWidget*> widgets;
    for (QWidget* widget : content->findChildren<QWidget*>())
        if ((qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) && !keepsItsSize(widget))
            widgets.append(widget);
    for (QWidget* widget : std::as_const(widgets)) {
        widget->ensurePolished();
        Control control;
        control.widget = widget;
        control.fontPixels = QFontInfo(widget->font()).pixelSize();
        // A minimum of a pixel or two only keeps a widget from vanishing.
        const QSize minimum = widget->minimumSize();
        control.minimum = QSize(minimum.width() > 2 ? minimum.width() : 0, minimum.height() > 2 ? minimum.height() : 0);
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->icon().isNull())
            control.icon = button->iconSize();
        m_controls.append(control);
    }
    for (QLayout* layout : content->findChildren<QLayout*>()) {
        Spacing spacing { layout, layout->contentsMargins(), layout->spacing() };
        if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            spacing.horizontal = grid->horizontalSpacing();
            spacing.vertical = grid->verticalSpacing();
        }
        m_spacings.append(spacing);
    }
}

double ScreenScaler::scaleFor(const QSize& window)
{
    const double fit = std::min(double(window.width()) / kDesignWidth, double(window.height()) / kDesignHeight);
    return std::clamp(std::round(fit / kStep) * kStep, kSmallest, kLargest);
}

int ScreenScaler::scaled(int designPixels) const
{
    return int(std::lround(designPixels * m_scale));
}

int ScreenScaler::scaledFont(int designPixels) const
{
    return std::max(scaled(designPixels), std::min(designPixels, kSmallestFontPixels));
}

bool ScreenScaler::fit(const QSize& window)
{
    if (window.isEmpty())
        return false;
    const double scale = scaleFor(window);
    if (std::abs(scale - m_scale) < kStep / 2)
        return false;
    m_scale = scale;
    apply();
    return true;
}

void ScreenScaler::apply()
{
    for (const Control& control : std::as_const(m_controls)) {
        if (!control.widget)
            continue;
        // The widget's own style sheet: it wins over the application's for
        // the text's size alone, and the role's colours stay.
        control.widget->setStyleSheet(QStringLiteral("font-size: %1px;").arg(scaledFont(control.fontPixels)));
        const QSize& minimum = control.minimum;
        if (!minimum.isNull())
            control.widget->setMinimumSize(scaled(minimum.width()), scaled(minimum.height()));
        if (control.icon.isValid())
            static_cast<QAbstractButton*>(control.widget.data())
                ->setIconSize(QSize(scaled(control.icon.width()), scaled(control.icon.height())));
    }
    for (const Spacing& spacing : std::as_const(m_spacings)) {
        if (!spacing.layout)
            continue;
        const QMargins& m = spacing.margins;
        spacing.layout->setContentsMargins(scaled(m.left()), scaled(m.top()), scaled(m.right()), scaled(m.bottom()));
        if (auto* grid = qobject_cast<QGridLayout*>(spacing.layout.data())) {
            grid->setHorizontalSpacing(scaled(spacing.horizontal));
            grid->setVerticalSpacing(scaled(spacing.vertical));
        } else if (spacing.spacing >= 0) {
            spacing.layout->setSpacing(scaled(spacing.spacing));
        }
    }
}
