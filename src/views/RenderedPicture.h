#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <vector>

// A drawing of resources/images rendered at build time into PNG files, one a
// width (":/rendered/NAME-WIDTH.png"): shown on the first screen without the
// image plugins and the vector rendering a drawing costs at start-up.
class RenderedPicture {
public:
    // The renderings are found by name.
    explicit RenderedPicture(const char* name);

    // The narrowest rendering's size: the drawing's own, where it is rendered at that.
    QSize naturalSize() const;
    // At `size` (device-independent) for a device pixel ratio: scaled down
    // from the smallest rendering at least that large.
    QPixmap pixmap(const QSize& size, qreal devicePixelRatio) const;
    // Every rendering, for an icon that picks its own.
    QIcon icon() const;

private:
    QString fileName(int width) const;

    QString m_name;
    std::vector<int> m_widths;
};
