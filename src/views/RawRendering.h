#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

// A rendering kept as the premultiplied ARGB32 pixels a pixmap holds, behind a
// small header (a mark, the width, the height, the bytes of a line): shown
// with no decoding, from the resource's own memory. Written at build time on
// the machine it is shown on, so the pixels are in that machine's byte order.
class RawRendering {
public:
    static constexpr qsizetype kHeaderBytes = 16;
    // Larger than any picture of ours; a header beyond it is not one of ours.
    static constexpr int kLargestSide = 8192;

    // The header and pixels of an image, converted to premultiplied ARGB32.
    static QByteArray encode(const QImage& image);
    // An image over `bytes` without a copy where the pixels are aligned for
    // ARGB32, else a copy; null where the bytes are not a whole rendering.
    // The bytes must outlive the image (a resource's do).
    static QImage image(QByteArrayView bytes);
    // The size the header gives, or an empty size where it is not one.
    static QSize size(QByteArrayView bytes);
};
