#pragma once

#include <QString>

#include <cstdint>

// Selects the digest that FileHash computes: three operations on a digest
// state, the digest's length in bytes and the state they work on.
struct FileHashComputationContext {
    int (*init)(void* context) = nullptr;
    int (*update)(void* context, const void* data, uint32_t length) = nullptr;
    int (*final)(unsigned char* digest, void* context) = nullptr;
    uint64_t digestLength = 0;
    void* context = nullptr;
};

// Digests of files, read through one fixed buffer so that memory use does not
// depend on the file's size. The buffer is large: reading a release archive
// 4 KiB at a time spends more on system calls than on the digest.
class FileHash {
public:
    static constexpr qint64 kReadBufferSize = 1024 * 1024;

    // Lower-case hexadecimal digest of the file; a null text when the path
    // names a folder or nothing, or the file cannot be opened or read.
    static QString hashOfFileAtPath(const QString& path, FileHashComputationContext& context);

    static QString md5HashOfFileAtPath(const QString& path);
    static QString sha1HashOfFileAtPath(const QString& path);
    static QString sha256HashOfFileAtPath(const QString& path);
    static QString sha512HashOfFileAtPath(const QString& path);
};
