#include "sim/DemoReleases.h"

#include "sim/SimulatedController.h"
#include "sim/ZipWriter.h"
#include "upgrade/ControllerProtocol.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

constexpr int kBootRegion = int(ControllerProtocol::kBootRegionOffset);
constexpr int kBootImageSize = 4 * 1024;
constexpr int kLeftImageSize = 24 * 1024;
constexpr int kRightImageSize = 20 * 1024;

struct Release {
    const char* version;
    const char* notes;
    const char* date;
};

const Release kReleases[] = {
    { "1.0-2.2-1.4", "Earlier release, kept for downgrades.", "2025-03-10" },
    { "1.0-2.4-1.6", "Smoother stick response; fixes a rare key repeat on the left side.", "2025-09-22" },
    { "1.1-2.5-1.8", "New boot loader; faster wake-up and longer battery life.", "2026-02-14" },
};

SimVersion part(const QString& version, int index)
{
    const QStringList v = version.split(QLatin1Char('-')).value(index).split(QLatin1Char('.'));
    return { uint8_t(v.value(0).toUInt()), uint8_t(v.value(1).toUInt()) };
}

// Deterministic, version-dependent image bytes ending in the version trailer.
QByteArray image(int size, SimVersion version, int salt)
{
    QByteArray bytes(size - SimulatedController::kTrailerSize, Qt::Uninitialized);
    quint32 x = 2166136261u ^ (version.major << 8 | version.minor) ^ quint32(salt) * 16777619u;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x & 0xFF);
    }
    return bytes + SimulatedController::versionTrailer(version);
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

} // namespace

QStringList DemoReleases::versions()
{
    QStringList out;
    for (const Release& r : kReleases)
        out << QString::fromLatin1(r.version);
    return out;
}

QByteArray DemoReleases::bootImage(const QString& version)
{
    return image(kBootRegion + kBootImageSize, part(version, 0), 1);
}

QByteArray DemoReleases::leftImage(const QString& version)
{
    return image(kLeftImageSize, part(version, 1), 2);
}

QByteArray DemoReleases::rightImage(const QString& version)
{
    return image(kRightImageSize, part(version, 2), 3);
}

bool DemoReleases::generate(const QString& folder, QString* error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (const Release& r : kReleases) {
        const QString version = QString::fromLatin1(r.version);
        const QString base = QDir(folder).filePath(version);
        ZipWriter zip(base + QStringLiteral(".zip"));
        const bool ok = zip.isOpen() && zip.addFile(QStringLiteral("V7E_IAP.bin"), bootImage(version))
            && zip.addFile(QStringLiteral("V7E_ISP.bin"), leftImage(version))
            && zip.addFile(QStringLiteral("Q3_RIGHT.bin"), rightImage(version)) && zip.close()
            && writeText(base + QStringLiteral(".txt"), r.notes) && writeText(base + QStringLiteral(".date"), r.date);
        if (!ok) {
            if (error)
                *error = QStringLiteral("cannot write %1.zip: %2").arg(base, zip.errorString());
            return false;
        }
    }
    return true;
}

QString DemoReleases::folder()
{
    // Made afresh for each process: an installed program has no build tree to
    // find them in, and concurrent programs never share half-written files.
    static QTemporaryDir generated(QDir::tempPath() + QStringLiteral("/q3dart-demo-releases-XXXXXX"));
    static const bool ok = generated.isValid() && generate(generated.path());
    return ok ? generated.path() : QString();
}
