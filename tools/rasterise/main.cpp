// Renders a drawing into PNG files, one a width, for the pictures of the
// first screen: a PNG needs neither an image plugin nor vector rendering
// while the application starts. The widths after --exact are the ones a
// screen shows at its default size; they are written as raw pixels
// (views/RawRendering), the very pixels the application would have made by
// scaling the narrowest PNG at least that wide, so that the default screen
// shows them with no decoding and no scaling, and looks exactly as before.
//
//   q3dart-rasterise DRAWING.svg OUT_PREFIX WIDTH... [--exact WIDTH...]
//   (writes OUT_PREFIX-WIDTH.png and OUT_PREFIX-WIDTH.argb)
#include "views/RawRendering.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

QImage readPng(const QString& file)
{
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

bool writeFile(const QString& file, const QByteArray& bytes)
{
    QFile out(file);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() && out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    std::vector<int> widths;
    std::vector<int> exact;
    bool afterExact = false;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--exact"))
            afterExact = true;
        else
            (afterExact ? exact : widths).push_back(args[i].toInt());
    }
    if (args.size() < 4 || widths.empty()) {
        std::fprintf(stderr, "usage: q3dart-rasterise DRAWING.svg OUT_PREFIX WIDTH... [--exact WIDTH...]\n");
        return 2;
    }
    const QSize natural = QImageReader(args[1]).size();
    if (natural.isEmpty()) {
        std::fprintf(stderr, "q3dart-rasterise: %s cannot be read\n", qPrintable(args[1]));
        return 1;
    }
    const auto heightFor
        = [&](int width) { return int(std::lround(double(natural.height()) * width / natural.width())); };
    const auto pngName = [&](int width) { return QStringLiteral("%1-%2.png").arg(args[2]).arg(width); };
    for (int width : widths) {
        QImageReader reader(args[1]);
        reader.setScaledSize(QSize(width, heightFor(width)));
        const QImage image = reader.read();
        if (image.isNull() || !image.save(pngName(width))) {
            std::fprintf(stderr, "q3dart-rasterise: %s not written\n", qPrintable(pngName(width)));
            return 1;
        }
    }
    std::sort(widths.begin(), widths.end());
    for (int width : exact) {
        // As the application reads a PNG rendering and scales it to a size between two.
        const auto source = std::lower_bound(widths.begin(), widths.end(), width);
        QImage image = readPng(pngName(source == widths.end() ? widths.back() : *source))
                           .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QSize size(width, heightFor(width));
        if (image.width() != width)
            image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QString out = QStringLiteral("%1-%2.argb").arg(args[2]).arg(width);
        if (image.isNull() || !writeFile(out, RawRendering::encode(image))) {
            std::fprintf(stderr, "q3dart-rasterise: %s not written\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
