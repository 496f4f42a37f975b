// Arbitrary "downloads.plist" contents through reading and updating.
#include "firmware/DownloadStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("downloads.plist"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(data), qsizetype(size));
    f.close();
    DownloadStore store(path, QStringLiteral("zelmar-q3-dart"));
    (void)store.folderForVersion(QStringLiteral("1.0-1.0-1.0"));
    store.recordDownload(QStringLiteral("1.0-1.0-1.0"), QStringLiteral("folder"));
    if (store.folderForVersion(QStringLiteral("1.0-1.0-1.0")).isNull())
        __builtin_trap(); // a record just written must read back
    store.removeVersion(QStringLiteral("1.0-1.0-1.0"));
    return 0;
}
