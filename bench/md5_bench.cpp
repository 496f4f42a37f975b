// Times the file digest against the system's md5sum on the same file in the
// same run (alternating runs, median of each), and shows that the process's
// peak memory does not grow with the file's size. With unzip installed it also
// times the archive extraction against unzip.
//
//   md5_bench [--size-mib N] [--dir PATH] [--runs N] [--archive-mib M]
#include "firmware/FileHash.h"
#include "lib/ZipArchive.h"
#include "sim/ZipWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr double kTargetRatio = 1.0;
constexpr qint64 kMiB = 1 << 20;

long peakResidentKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool writeRandomFile(const QString& path, qint64 size, quint32 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random { seed };
    QByteArray chunk(kMiB, Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= chunk.size()) {
        random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        const qint64 n = std::min<qint64>(left, chunk.size());
        if (file.write(chunk.constData(), n) != n)
            return false;
    }
    return true;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double seconds(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e9;
}

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    return QString::fromLatin1(process.readAllStandardOutput());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qint64 sizeMiB = 256;
    qint64 archiveMiB = 64;
    int runs = 5;
    QString folder = QDir::tempPath();
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--size-mib"))
            sizeMiB = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--dir"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--archive-mib"))
            archiveMiB = args[i + 1].toLongLong();
    }
    runs = std::max(runs, 1);

    QTemporaryDir dir(folder + QStringLiteral("/md5_bench-XXXXXX"));
    const QString small = dir.filePath(QStringLiteral("small.bin"));
    const QString large = dir.filePath(QStringLiteral("large.bin"));
    if (!dir.isValid() || !writeRandomFile(small, kMiB, 1) || !writeRandomFile(large, sizeMiB * kMiB, 2)) {
        std::fprintf(stderr, "cannot write the test files in %s\n", qPrintable(folder));
        return 2;
    }

    // Peak memory after a 1 MiB digest, then after the large ones.
    FileHash::md5HashOfFileAtPath(small);
    const long peakSmall = peakResidentKiB();

    // The first large digest also warms the page cache; the peak is taken
    // before md5sum runs, as starting processes costs memory of its own.
    QString ours = FileHash::md5HashOfFileAtPath(large);
    const long peakLarge = peakResidentKiB();
    QString theirs;
    std::vector<double> ourTimes;
    std::vector<double> theirTimes;
    for (int i = 0; i < runs; ++i) {
        ourTimes.push_back(seconds([&] { ours = FileHash::md5HashOfFileAtPath(large); }));
        theirTimes.push_back(
            seconds([&] { theirs = runTool(QStringLiteral("md5sum"), { large }).section(QLatin1Char(' '), 0, 0); }));
    }
    if (ours != theirs) {
        std::fprintf(stderr, "digests differ: %s against md5sum %s\n", qPrintable(ours), qPrintable(theirs));
        return 1;
    }
    const double mib = double(sizeMiB);
    const double ourRate = mib / median(ourTimes);
    const double theirRate = mib / median(theirTimes);
    std::printf("MD5 of %lld MiB, median of %d alternating runs: FileHash %.0f MiB/s, md5sum %.0f MiB/s, ratio %.2f "
                "(target >= %.1f: %s)\n",
        sizeMiB, runs, ourRate, theirRate, ourRate / theirRate, kTargetRatio,
        ourRate / theirRate >= kTargetRatio ? "met" : "NOT met");
    std::printf("Peak resident memory: %ld KiB after a 1 MiB digest, %ld KiB after a %lld MiB digest (+%ld KiB)\n",
        peakSmall, peakLarge, sizeMiB, peakLarge - peakSmall);

    const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
    if (unzip.isEmpty() || archiveMiB <= 0)
        return 0;
    const QString archive = dir.filePath(QStringLiteral("release.zip"));
    {
        const QString image = dir.filePath(QStringLiteral("image.bin"));
        ZipWriter writer(archive);
        for (int i = 0; i < 3; ++i) {
            writeRandomFile(image, archiveMiB * kMiB / 3, quint32(10 + i));
            writer.addFileFromPath(QStringLiteral("part%1.bin").arg(i), image);
        }
        QFile::remove(image);
        if (!writer.close()) {
            std::fprintf(stderr, "cannot write the archive: %s\n", qPrintable(writer.errorString()));
            return 2;
        }
    }
    std::vector<double> extractTimes;
    std::vector<double> unzipTimes;
    for (int i = 0; i < runs; ++i) {
        const QString ourFolder = dir.filePath(QStringLiteral("ours%1").arg(i));
        const QString theirFolder = dir.filePath(QStringLiteral("theirs%1").arg(i));
        bool ok = true;
        extractTimes.push_back(seconds([&] { ok = ZipArchive::unzipFileAtPath(archive, ourFolder); }));
        unzipTimes.push_back(seconds([&] {
            runTool(unzip, { QStringLiteral("-q"), QStringLiteral("-o"), archive, QStringLiteral("-d"), theirFolder });
        }));
        if (!ok) {
            std::fprintf(stderr, "extraction failed\n");
            return 1;
        }
        QDir(ourFolder).removeRecursively();
        QDir(theirFolder).removeRecursively();
    }
    const double extractRate = double(archiveMiB) / median(extractTimes);
    const double unzipRate = double(archiveMiB) / median(unzipTimes);
    std::printf("Extraction of a %lld MiB archive (3 entries), median of %d alternating runs: ZipArchive %.0f MiB/s, "
                "unzip %.0f MiB/s, ratio %.2f\n",
        archiveMiB, runs, extractRate, unzipRate, extractRate / unzipRate);
    std::printf("Peak resident memory after extraction: %ld KiB\n", peakResidentKiB());
    return 0;
}
