// Generates the demo release archives into the folder given, at build time.
#include "sim/DemoReleases.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: q3dart-demo-releases FOLDER\n");
        return 2;
    }
    QString error;
    if (!DemoReleases::generate(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "q3dart-demo-releases: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
