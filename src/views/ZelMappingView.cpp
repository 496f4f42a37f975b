#include "views/ZelMappingView.h"

#include "views/GradientLayer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kOutlineColour(156, 154, 154, 150);
const QColor kBoundColour(255, 255, 255, 22);
const QColor kTextColour(230, 231, 236);
const QColor kDimTextColour(120, 122, 134);

constexpr int kFontPixels = 12;
constexpr int kChipWidth = 104;
constexpr int kChipGap = 6;
constexpr int kLeastChipHeight = 18;
constexpr int kMostChipHeight = 30;

} // namespace

ZelMappingView::ZelMappingView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumHeight(80);
}

void ZelMappingView::setEditor(const MappingEditor* editor)
{
    m_editor = editor;
    update();
}

QRect ZelMappingView::chipRect(int index) const
{
    const int count = int(MappingEditor::targets().size());
    // As many a row as fit at their width, or more and narrower where the
    // rows would not fit in the height; the rows as high as the room allows.
    const int mostRows = std::max(1, (height() + kChipGap) / (kLeastChipHeight + kChipGap));
    const int columns = std::clamp(
        std::max((width() + kChipGap) / (kChipWidth + kChipGap), (count + mostRows - 1) / mostRows), 1, count);
    const int chipWidth = std::max(1, (width() + kChipGap) / columns - kChipGap);
    const int rows = (count + columns - 1) / columns;
    const int chipHeight = std::clamp((height() + kChipGap) / rows - kChipGap, kLeastChipHeight, kMostChipHeight);
    return { (index % columns) * (chipWidth + kChipGap), (index / columns) * (chipHeight + kChipGap), chipWidth,
        chipHeight };
}

void ZelMappingView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = font();
    small.setPixelSize(kFontPixels);
    p.setFont(small);
    const QFontMetrics metrics(small);
    const int count = int(MappingEditor::targets().size());
    for (int i = 0; i < count; ++i) {
        const QRectF chip = QRectF(chipRect(i)).adjusted(0.5, 0.5, -0.5, -0.5);
        const QString input = m_editor ? m_editor->inputFor(i) : QString();
        const bool current = m_editor && m_editor->index() == i;
        const bool passed = m_editor && i < m_editor->index();
        if (current) {
            QLinearGradient gradient(chip.topRight(), chip.topLeft());
            gradient.setColorAt(0, GradientLayer::kRightColor);
            gradient.setColorAt(1, GradientLayer::kLeftColor);
            p.setPen(QPen(QBrush(gradient), 2));
        } else {
            p.setPen(QPen(kOutlineColour, 1));
        }
        p.setBrush(input.isEmpty() ? Qt::NoBrush : QBrush(kBoundColour));
        p.drawRoundedRect(chip, 5, 5);
        const QString dash = passed ? QStringLiteral("\u2013") : QString();
        const QString text = input.isEmpty() ? dash : input;
        const QRectF inner = chip.adjusted(6, 0, -6, 0);
        const int inputWidth = metrics.horizontalAdvance(text);
        p.setPen(passed && input.isEmpty() ? kDimTextColour : kTextColour);
        p.drawText(inner.adjusted(0, 0, -inputWidth - 4, 0), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(MappingEditor::elementLabel(i), Qt::ElideRight, int(inner.width()) - inputWidth - 4));
        p.setPen(input.isEmpty() ? kDimTextColour : GradientLayer::kLeftColor);
        p.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, text);
    }
}
