#include "views/RenderedIconEngine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

RenderedIconEngine::RenderedIconEngine(const RenderedPicture& picture)
    : m_picture(picture)
{
}

const QPixmap& RenderedIconEngine::rendering(const QSize& size)
{
    const int width = m_picture.widthFor(size.width());
    auto found = m_read.find(width);
    if (found == m_read.end())
        found = m_read.emplace(width, m_picture.rendering(width)).first;
    return found->second;
}

QSize RenderedIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    if (size.isEmpty() || isNull())
        return QSize();
    QSize actual = rendering(size).size();
    // Scaled down to the size asked for, never up.
    if (actual.width() > size.width() || actual.height() > size.height())
        actual.scale(size, Qt::KeepAspectRatio);
    return actual;
}

QPixmap RenderedIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    const QSize actual = actualSize(size, mode, state);
    if (actual.isEmpty())
        return QPixmap();
    QPixmap picture = rendering(size);
    if (picture.size() != actual)
        picture = picture.scaled(actual, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // A disabled or selected button shows its icon as the style draws such icons.
    if (mode == QIcon::Disabled || mode == QIcon::Selected)
        if (QStyle* style = QApplication::style()) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return style->generatedIconPixmap(mode, picture, &option);
        }
    return picture;
}

void RenderedIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
}

QList<QSize> RenderedIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    QList<QSize> sizes;
    for (int width : m_picture.widths())
        sizes.append(m_picture.renderingSize(width));
    return sizes;
}

bool RenderedIconEngine::isNull()
{
    return m_picture.widths().empty();
}

QIconEngine* RenderedIconEngine::clone() const
{
    return new RenderedIconEngine(*this);
}

QString RenderedIconEngine::key() const
{
    return QStringLiteral("RenderedIconEngine");
}
