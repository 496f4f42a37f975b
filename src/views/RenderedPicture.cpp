#include "views/RenderedPicture.h"

#include <QDir>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

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
    const QString prefix = m_name + QLatin1Char('-');
    for (const QString& file : QDir(QString::fromLatin1(kFolder)).entryList({ prefix + QStringLiteral("*.png") }))
        if (const int width = file.mid(prefix.size()).chopped(4).toInt(); width > 0)
            m_widths.push_back(width);
    std::sort(m_widths.begin(), m_widths.end());
}

QString RenderedPicture::fileName(int width) const
{
    return QStringLiteral("%1/%2-%3.png").arg(QString::fromLatin1(kFolder), m_name).arg(width);
}

QSize RenderedPicture::naturalSize() const
{
    if (m_widths.empty())
        return QSize();
    QImageReader reader;
    readAsPng(reader, fileName(m_widths.front()));
    return reader.size();
}

QPixmap RenderedPicture::pixmap(const QSize& size, qreal devicePixelRatio) const
{
    if (m_widths.empty() || size.isEmpty())
        return QPixmap();
    const QSize pixels(
        int(std::ceil(size.width() * devicePixelRatio)), int(std::ceil(size.height() * devicePixelRatio)));
    int chosen = m_widths.back();
    for (int width : m_widths)
        if (width >= pixels.width()) {
            chosen = width;
            break;
        }
    QPixmap picture = loadPng(fileName(chosen));
    if (picture.width() != pixels.width())
        picture = picture.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(devicePixelRatio);
    return picture;
}

QIcon RenderedPicture::icon() const
{
    QIcon icon;
    for (int width : m_widths)
        icon.addPixmap(loadPng(fileName(width)));
    return icon;
}
