// Arbitrary "release-trust.json" contents through reading and updating, and
// arbitrary key sets and root documents through the client's reading of them.
#include "firmware/ReleaseSignature.h"
#include "firmware/ReleaseTrust.h"
#include "firmware/TrustState.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("release-trust.json"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.close();
    const QString server = QStringLiteral("http://127.0.0.1:8080");
    TrustState state(path);
    TrustState::Seen seen;
    const bool readable = state.seen(server, &seen);
    if (readable && (seen.listVersion < 0 || seen.listVersion > TrustState::kMaxVersion || seen.keySetVersion < 0))
        __builtin_trap(); // a version read must be one that can be compared
    const bool written = state.remember(server, { 3, 2 });
    if (!readable) {
        // A record that cannot be used is never overwritten.
        QFile after(path);
        after.open(QIODevice::ReadOnly);
        if (written || after.readAll() != bytes)
            __builtin_trap();
    }
    if (written && (!state.seen(server, &seen) || seen.listVersion < 3 || seen.keySetVersion < 2))
        __builtin_trap(); // what was just remembered must read back
    // The same bytes as signed metadata.
    if (const auto keySet = ReleaseTrust::readMetadata(bytes, ReleaseTrust::kKeySetVersionKey))
        (void)ReleaseTrust::keySetKeys(keySet->object);
    (void)ReleaseTrust::nextRoot(bytes, bytes, {}, 1);
    (void)TrustState::originOf(QString::fromUtf8(bytes));
    return 0;
}
