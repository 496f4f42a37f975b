// Renders a drawing into PNG files, one a width, for the pictures of the
// first screen: a PNG needs neither an image plugin nor vector rendering
// while the application starts.
//
//   q3dart-rasterise DRAWING.svg OUT_PREFIX WIDTH...  (writes OUT_PREFIX-WIDTH.png)
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: q3dart-rasterise DRAWING.svg OUT_PREFIX WIDTH...\n");
        return 2;
    }
    const QSize natural = QImageReader(args[1]).size();
    if (natural.isEmpty()) {
        std::fprintf(stderr, "q3dart-rasterise: %s cannot be read\n", qPrintable(args[1]));
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        const int width = args[i].toInt();
        const int height = int(std::lround(double(natural.height()) * width / natural.width()));
        QImageReader reader(args[1]);
        reader.setScaledSize(QSize(width, height));
        const QImage image = reader.read();
        const QString out = QStringLiteral("%1-%2.png").arg(args[2]).arg(width);
        if (image.isNull() || !image.save(out)) {
            std::fprintf(stderr, "q3dart-rasterise: %s not written\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
