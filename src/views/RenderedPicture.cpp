#include "views/RenderedPicture.h"

#include "views/RawRendering.h"
#include "views/RenderedIconEngine.h"

#include <QImageReader>
#include <QResource>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Renderings {
    const char* name;
    std::vector<int> widths;
    std::vector<int> exact;
};

// Written by the build beside the renderings:
// { "name", { PNG width, ... }, { raw pixels' width, ... } }.
const Renderings kRenderings[] = {
#include "RenderedWidths.inc"
};

constexpr const char* kFolder = ":/rendered";
constexpr const char* kFormat = "png";
constexpr const char* kRawSuffix = "argb";

// Read as PNG, named so: a reader left to guess would first load every image
// plugin (and with the drawing plugin its vector library) to ask each one.
void readAsPng(QImageReader& reader, const QString& file)
{
    reader.setFileName(file);
    reader.setFormat(kFormat);
    reader.setAutoDetectImageFormat(false);
}

QPixmap loadPng(const QString& file)
{
    QImageReader reader;
    readAsPng(reader, file);
    return QPixmap::fromImage(reader.read());
}

} // namespace

RenderedPicture::RenderedPicture(const char* name)
    : m_name(QString::fromLatin1(name))
{
    for (const Renderings& renderings : kRenderings)
        if (std::strcmp(renderings.name, name) == 0) {
            m_widths = renderings.widths;
            m_exactWidths = renderings.exact;
        }
    std::sort(m_widths.begin(), m_widths.end());
}

int RenderedPicture::widthFor(int pixels) const
{
    if (m_widths.empty())
        return 0;
    const auto found = std::lower_bound(m_widths.begin(), m_widths.end(), pixels);
    return found == m_widths.end() ? m_widths.back() : *found;
}

QPixmap RenderedPicture::rendering(int width) const
{
    // The same pixels where the build also kept them raw, with no decoder
    // (which would first look through every image plugin).
    const QPixmap raw = exactRendering(width);
    return raw.isNull() ? loadPng(fileName(width, kFormat)) : raw;
}

QSize RenderedPicture::renderingSize(int width) const
{
    // Read from the header itself: any image reader, even one told the
    // format, first looks through every image plugin for one claiming it.
    const QResource resource(fileName(width, kFormat));
    return resource.isValid() ? pngSize(resource.uncompressedData()) : QSize();
}

QPixmap RenderedPicture::exactRendering(int width) const
{
    if (std::find(m_exactWidths.begin(), m_exactWidths.end(), width) == m_exactWidths.end())
        return QPixmap();
    const QResource resource(fileName(width, kRawSuffix));
    // Compressed, it would have to be unpacked first: the PNG renderings serve then.
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return QPixmap();
    return QPixmap::fromImage(
        RawRendering::image(QByteArrayView(reinterpret_cast<const char*>(resource.data()), resource.size())));
}

QSize RenderedPicture::pngSize(const QByteArray& bytes)
{
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    static constexpr qsizetype kWidthAt = 16;
    static constexpr qsizetype kHeaderEnd = 24;
    if (bytes.size() < kHeaderEnd || !bytes.startsWith(QByteArrayView(kSignature, 8)) || bytes.mid(12, 4) != "IHDR")
        return QSize();
    const auto* header = reinterpret_cast<const uchar*>(bytes.constData());
    const quint32 width = qFromBigEndian<quint32>(header + kWidthAt);
    const quint32 height = qFromBigEndian<quint32>(header + kWidthAt + 4);
    if (width == 0 || height == 0 || width > quint32(RawRendering::kLargestSide)
        || height > quint32(RawRendering::kLargestSide))
        return QSize();
    return QSize(int(width), int(height));
}

QString RenderedPicture::fileName(int width, const char* suffix) const
{
    return QStringLiteral("%1/%2-%3.%4")
        .arg(QString::fromLatin1(kFolder), m_name)
        .arg(width)
        .arg(QString::fromLatin1(suffix));
}

QSize RenderedPicture::naturalSize() const
{
    return m_widths.empty() ? QSize() : renderingSize(m_widths.front());
}

QPixmap RenderedPicture::pixmap(const QSize& size, qreal devicePixelRatio) const
{
    if (m_widths.empty() || size.isEmpty())
        return QPixmap();
    const QSize pixels(
        int(std::ceil(size.width() * devicePixelRatio)), int(std::ceil(size.height() * devicePixelRatio)));
    // At the default window's size, pixels made at build time: nothing to decode or scale.
    QPixmap picture = exactRendering(pixels.width());
    if (picture.size() != pixels)
        picture = rendering(widthFor(pixels.width()));
    if (picture.width() != pixels.width())
        picture = picture.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

QIcon RenderedPicture::icon() const
{
    return m_widths.empty() ? QIcon() : QIcon(new RenderedIconEngine(*this));
}
