#include "views/RenderedPicture.h"

#include "views/RenderedIconEngine.h"

#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Renderings {
    const char* name;
    std::vector<int> widths;
};

// Written by the build beside the renderings: { "name", { width, ... } }.
const Renderings kRenderings[] = {
#include "RenderedWidths.inc"
};

constexpr const char* kFolder = ":/rendered";
constexpr const char* kFormat = "png";

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
        if (std::strcmp(renderings.name, name) == 0)
            m_widths = renderings.widths;
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
    return loadPng(fileName(width));
}

QSize RenderedPicture::renderingSize(int width) const
{
    QImageReader reader;
    readAsPng(reader, fileName(width));
    return reader.size();
}

QString RenderedPicture::fileName(int width) const
{
    return QStringLiteral("%1/%2-%3.png").arg(QString::fromLatin1(kFolder), m_name).arg(width);
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
    QPixmap picture = rendering(widthFor(pixels.width()));
    if (picture.width() != pixels.width())
        picture = picture.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

QIcon RenderedPicture::icon() const
{
    return m_widths.empty() ? QIcon() : QIcon(new RenderedIconEngine(*this));
}
