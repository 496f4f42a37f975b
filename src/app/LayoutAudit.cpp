#include "app/LayoutAudit.h"

#include "views/ElidedLabel.h"
#include "views/ZelBaseView.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>

namespace {

// A pixel of slack for rounding in layouts and font metrics.
constexpr int kSlackPixels = 1;

QString path(const QWidget* widget, const QWidget* window)
{
    QStringList names;
    for (const QWidget* w = widget; w && w != window; w = w->parentWidget())
        names.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    return names.join(QLatin1Char('/'));
}

QString exception(const QWidget* widget)
{
    return widget->property(LayoutAudit::kProperty).toString();
}

bool isLayer(const QWidget* widget)
{
    return qobject_cast<const ZelBaseView*>(widget) || exception(widget) == LayoutAudit::layer()
        || exception(widget) == LayoutAudit::free() || widget->testAttribute(Qt::WA_TransparentForMouseEvents);
}

// What a web page, a scrolled area or a list box holds is placed by it, not by
// a layout. The web page by its class name: the engine is not linked here.
bool placesItsOwnContent(const QWidget* widget)
{
    return widget->inherits("QWebEngineView") || qobject_cast<const QAbstractScrollArea*>(widget)
        || qobject_cast<const QComboBox*>(widget);
}

bool shown(const QWidget* widget, const QWidget* window)
{
    return widget->isVisibleTo(window) && !widget->size().isEmpty();
}

// The text a control shows, whole or not.
void checkText(const QWidget* widget, const QString& where, QStringList* faults)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        const QPixmap picture = label->pixmap();
        if (!picture.isNull() && !label->hasScaledContents()) {
            const QSize needed = (picture.deviceIndependentSize()).toSize();
            if (needed.width() > label->contentsRect().width() + kSlackPixels
                || needed.height() > label->contentsRect().height() + kSlackPixels)
                faults->append(QStringLiteral("%1: picture needs %2x%3, has %4x%5")
                                   .arg(where)
                                   .arg(needed.width())
                                   .arg(needed.height())
                                   .arg(label->contentsRect().width())
                                   .arg(label->contentsRect().height()));
        }
        const QString text = label->text();
        if (text.isEmpty() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(text))
            return;
        const QRect room
            = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        const QFontMetrics metrics(label->font());
        if (label->wordWrap()) {
            const int needed = label->heightForWidth(label->width());
            if (needed > label->height() + kSlackPixels)
                faults->append(QStringLiteral("%1: text needs %2 px of height, has %3")
                                   .arg(where)
                                   .arg(needed)
                                   .arg(label->height()));
            return;
        }
        const int longest = [&] {
            int most = 0;
            for (const QString& line : text.split(QLatin1Char('\n')))
                most = std::max(most, metrics.horizontalAdvance(line));
            return most;
        }();
        if (longest > room.width() + kSlackPixels)
            faults->append(
                QStringLiteral("%1: text \"%2\" needs %3 px, has %4").arg(where, text).arg(longest).arg(room.width()));
        return;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        if (button->text().isEmpty())
            return;
        const int needed = QFontMetrics(button->font()).horizontalAdvance(button->text())
            + (button->icon().isNull() ? 0 : button->iconSize().width());
        if (needed > button->width() + kSlackPixels)
            faults->append(QStringLiteral("%1: title \"%2\" needs %3 px, has %4")
                               .arg(where, button->text())
                               .arg(needed)
                               .arg(button->width()));
    }
}

void checkChildren(const QWidget* parent, const QWidget* window, QStringList* faults)
{
    QList<const QWidget*> children;
    for (const QObject* object : parent->children())
        if (const auto* child = qobject_cast<const QWidget*>(object);
            child && !child->isWindow() && shown(child, window))
            children.append(child);

    for (const QWidget* child : std::as_const(children)) {
        const QString where = path(child, window);
        if (exception(child) != LayoutAudit::free()
            && !parent->rect()
                    .adjusted(-kSlackPixels, -kSlackPixels, kSlackPixels, kSlackPixels)
                    .contains(child->geometry()))
            faults->append(QStringLiteral("%1: clipped by its parent (%2,%3 %4x%5 in %6x%7)")
                               .arg(where)
                               .arg(child->x())
                               .arg(child->y())
                               .arg(child->width())
                               .arg(child->height())
                               .arg(parent->width())
                               .arg(parent->height()));
        checkText(child, where, faults);
    }
    for (qsizetype i = 0; i < children.size(); ++i) {
        if (isLayer(children[i]))
            continue;
        for (qsizetype j = i + 1; j < children.size(); ++j) {
            if (isLayer(children[j]))
                continue;
            const QRect common = children[i]->geometry().intersected(children[j]->geometry());
            if (common.width() > kSlackPixels && common.height() > kSlackPixels)
                faults->append(
                    QStringLiteral("%1: overlaps %2").arg(path(children[i], window), path(children[j], window)));
        }
    }
    for (const QWidget* child : std::as_const(children))
        if (!placesItsOwnContent(child))
            checkChildren(child, window, faults);
}

// Whether label is one of the texts read whole, by its own name or mark or
// those of a widget around it.
bool readWhole(const QLabel* label, const QWidget* window)
{
    const QStringList names = LayoutAudit::wholeTextNames();
    for (const QWidget* w = label; w && w != window; w = w->parentWidget())
        if (names.contains(w->objectName()) || exception(w) == LayoutAudit::whole())
            return true;
    return false;
}

bool isElided(const QLabel* label)
{
    if (const auto* elided = qobject_cast<const ElidedLabel*>(label))
        return elided->text() != elided->fullText();
    // Cut to its room by the screen itself, the whole text in its tooltip.
    const QString text = label->text();
    return text.endsWith(QChar(0x2026)) && label->toolTip().size() > text.size();
}

void checkWholeText(const QLabel* label, const QWidget* window, QStringList* faults)
{
    const QString where = path(label, window);
    if (isElided(label))
        faults->append(QStringLiteral("%1: text elided").arg(where));
    // Inside a scrolled area the general pass does not look.
    for (const QWidget* w = label->parentWidget(); w && w != window; w = w->parentWidget()) {
        if (placesItsOwnContent(w)) {
            checkText(label, where, faults);
            break;
        }
    }
    // What the widgets around it leave in sight; a scroll area's viewport
    // cuts off what is scrolled out.
    QRect inSight(label->mapTo(window, QPoint(0, 0)), label->size());
    for (const QWidget* w = label->parentWidget(); w; w = w->parentWidget()) {
        inSight = inSight.intersected(QRect(w->mapTo(window, QPoint(0, 0)), w->size()));
        if (w == window)
            break;
    }
    if (inSight.width() + kSlackPixels < label->width() || inSight.height() + kSlackPixels < label->height())
        faults->append(QStringLiteral("%1: cut off, %2x%3 of %4x%5 in sight")
                           .arg(where)
                           .arg(inSight.width())
                           .arg(inSight.height())
                           .arg(label->width())
                           .arg(label->height()));
}

} // namespace

QStringList LayoutAudit::wholeTextNames()
{
    return { QStringLiteral("planLabel"), QStringLiteral("stepsLabel"), QStringLiteral("instructionLabel") };
}

QStringList LayoutAudit::check(const QWidget* window)
{
    QStringList faults;
    checkChildren(window, window, &faults);
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || !readWhole(label, window))
            continue;
        // Squeezed to nothing by its layout, it is not seen at all.
        if (label->size().isEmpty() && !label->text().isEmpty())
            faults.append(QStringLiteral("%1: no room for its text (%2x%3)")
                              .arg(path(label, window))
                              .arg(label->width())
                              .arg(label->height()));
        else if (shown(label, window))
            checkWholeText(label, window, &faults);
    }
    return faults;
}
