// Arbitrary archive bytes, and archives with arbitrary entry names, through
// extraction: nothing may ever land outside the destination.
#include "lib/ZipArchive.h"
#include "sim/ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// Every file and folder under root, as paths relative to it.
QStringList tree(const QString& root)
{
    QStringList out;
    QDirIterator it(
        root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir sandbox;
    const QString archive = sandbox.filePath(QStringLiteral("in.zip"));
    const QString destination = sandbox.filePath(QStringLiteral("a/b/dest"));
    if (size > 0 && data[0] % 2 == 0) {
        // Raw archive bytes.
        QFile f(archive);
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    } else {
        // Entries: a name up to a NUL byte, then a length byte and content.
        ZipWriter zip(archive);
        size_t at = size > 0 ? 1 : 0;
        while (at < size) {
            size_t end = at;
            while (end < size && data[end] != 0)
                ++end;
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(data + at), qsizetype(end - at));
            at = end + 1;
            const size_t length = at < size ? std::min<size_t>(data[at], size - at - 1) : 0;
            const QByteArray content(reinterpret_cast<const char*>(data + at + 1), qsizetype(at < size ? length : 0));
            at += 1 + length;
            if (!name.isEmpty())
                zip.addFile(name, content);
        }
        zip.close();
    }
    const QStringList before = tree(sandbox.path());
    ZipArchive::unzip(archive, destination);
    for (const QString& path : tree(sandbox.path()))
        if (!before.contains(path) && !path.startsWith(QLatin1String("a/b/dest")) && path != QLatin1String("a")
            && path != QLatin1String("a/b"))
            std::abort(); // written outside the destination
    return 0;
}
