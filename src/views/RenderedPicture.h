#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <vector>

// A drawing of resources/images rendered at build time into PNG files, one a
// width (":/rendered/NAME-WIDTH.png"): shown on the first screen without the
// image plugins and the vector rendering a drawing costs at start-up. The
// sizes the default window shows are also kept as raw pixels
// (":/rendered/NAME-WIDTH.argb", views/RawRendering), the same pixels scaling
// the PNG would give, shown without decoding or scaling.
class RenderedPicture {
public:
    // The renderings are found by name.
    explicit RenderedPicture(const char* name);

    // The narrowest rendering's size: the drawing's own, where it is rendered at that.
    QSize naturalSize() const;
    // At `size` (device-independent) for a device pixel ratio: the raw
    // rendering of exactly that many pixels, else scaled down from the
    // smallest PNG rendering at least that large.
    QPixmap pixmap(const QSize& size, qreal devicePixelRatio) const;
    // An icon that reads the rendering each size needs when it is first drawn.
    QIcon icon() const;

    // The widths rendered, ascending; none for a name never rendered.
    const std::vector<int>& widths() const { return m_widths; }
    // The narrowest rendering at least `pixels` wide, else the widest.
    int widthFor(int pixels) const;
    // The rendering of that width, read now; and its size, from its header.
    QPixmap rendering(int width) const;
    QSize renderingSize(int width) const;
    // The raw rendering of that width, if the build made one and it is stored
    // uncompressed; else null.
    QPixmap exactRendering(int width) const;
    // A PNG's size from its header (the signature, then the IHDR chunk's
    // width and height); empty where the bytes are not a PNG of a sensible size.
    static QSize pngSize(const QByteArray& bytes);

private:
    QString fileName(int width, const char* suffix) const;

    QString m_name;
    std::vector<int> m_widths;
    std::vector<int> m_exactWidths;
};
