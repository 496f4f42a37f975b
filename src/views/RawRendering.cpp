#include "views/RawRendering.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char kMark[4] = { 'Q', '3', 'R', 'W' };
constexpr int kBytesPerPixel = 4;

struct Header {
    char mark[4];
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t bytesPerLine;
};
static_assert(sizeof(Header) == RawRendering::kHeaderBytes);

bool readHeader(QByteArrayView bytes, Header& header)
{
    if (bytes.size() < RawRendering::kHeaderBytes)
        return false;
    std::memcpy(&header, bytes.data(), sizeof header);
    if (std::memcmp(header.mark, kMark, sizeof kMark) != 0)
        return false;
    if (header.width == 0 || header.height == 0 || header.width > RawRendering::kLargestSide
        || header.height > RawRendering::kLargestSide)
        return false;
    if (header.bytesPerLine < header.width * kBytesPerPixel || header.bytesPerLine % kBytesPerPixel != 0)
        return false;
    return bytes.size() - RawRendering::kHeaderBytes == qsizetype(header.bytesPerLine) * header.height;
}

} // namespace

QByteArray RawRendering::encode(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Header header;
    std::memcpy(header.mark, kMark, sizeof kMark);
    header.width = std::uint32_t(pixels.width());
    header.height = std::uint32_t(pixels.height());
    header.bytesPerLine = std::uint32_t(pixels.width()) * kBytesPerPixel;
    QByteArray bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (int y = 0; y < pixels.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), header.bytesPerLine);
    return bytes;
}

QSize RawRendering::size(QByteArrayView bytes)
{
    Header header;
    if (!readHeader(bytes, header))
        return QSize();
    return QSize(int(header.width), int(header.height));
}

QImage RawRendering::image(QByteArrayView bytes)
{
    Header header;
    if (!readHeader(bytes, header))
        return QImage();
    const auto* pixels = reinterpret_cast<const uchar*>(bytes.data()) + kHeaderBytes;
    const QImage view(pixels, int(header.width), int(header.height), qsizetype(header.bytesPerLine),
        QImage::Format_ARGB32_Premultiplied);
    // Pixels are read a word at a time: a view over unaligned memory would not hold.
    if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) != 0)
        return view.copy();
    return view;
}
