#pragma once

#include "views/RenderedPicture.h"

#include <QIconEngine>
#include <QPixmap>

#include <map>

// An icon over a picture's renderings that reads a rendering only when a size
// first asks for it: a button's icon is drawn at one size, and reading every
// width (a window icon's up to 256 pixels) before the first paint would
// decode pictures nobody sees.
class RenderedIconEngine : public QIconEngine {
public:
    explicit RenderedIconEngine(const RenderedPicture& picture);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override;
    QIconEngine* clone() const override;
    QString key() const override;

    // How many renderings have been read so far.
    int renderingsRead() const { return int(m_read.size()); }

private:
    const QPixmap& rendering(const QSize& size);

    RenderedPicture m_picture;
    std::map<int, QPixmap> m_read;
};
