#include "firmware/FileHash.h"

#include "lib/CryptoLibrary.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <memory>
#include <vector>

namespace {

using Algorithm = decltype(CryptoLibrary::EVP_md5) CryptoLibrary::*;

// What the digest operations work on: the library's functions with the state.
struct Digest {
    const CryptoLibrary* crypto = nullptr;
    const EVP_MD* algorithm = nullptr;
    EVP_MD_CTX* state = nullptr;
};

int initDigest(void* context)
{
    const Digest* digest = static_cast<Digest*>(context);
    return digest->crypto->EVP_DigestInit_ex(digest->state, digest->algorithm, nullptr);
}

int updateDigest(void* context, const void* data, uint32_t length)
{
    const Digest* digest = static_cast<Digest*>(context);
    return digest->crypto->EVP_DigestUpdate(digest->state, data, length);
}

int finalDigest(unsigned char* bytes, void* context)
{
    const Digest* digest = static_cast<Digest*>(context);
    return digest->crypto->EVP_DigestFinal_ex(digest->state, bytes, nullptr);
}

QString digestOfFile(const QString& path, Algorithm algorithm)
{
    const CryptoLibrary* crypto = CryptoLibrary::load();
    if (!crypto)
        return {};
    const std::unique_ptr<EVP_MD_CTX, decltype(crypto->EVP_MD_CTX_free)> state(
        crypto->EVP_MD_CTX_new(), crypto->EVP_MD_CTX_free);
    if (!state)
        return {};
    Digest digest { crypto, (crypto->*algorithm)(), state.get() };
    FileHashComputationContext context;
    context.init = &initDigest;
    context.update = &updateDigest;
    context.final = &finalDigest;
    context.digestLength = uint64_t(crypto->EVP_MD_get_size(digest.algorithm));
    context.context = &digest;
    return FileHash::hashOfFileAtPath(path, context);
}

} // namespace

QString FileHash::hashOfFileAtPath(const QString& path, FileHashComputationContext& context)
{
    if (path.isEmpty() || QFileInfo(path).isDir() || !context.init || !context.update || !context.final)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};

    // The whole file is read once, front to back.
    ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    bool ok = context.init(context.context) == 1;
    const std::unique_ptr<char[]> storage(new char[kReadBufferSize]);
    char* const buffer = storage.get();
    for (;;) {
        const qint64 count = file.read(buffer, kReadBufferSize);
        if (count == 0)
            break;
        if (count < 0) {
            ok = false;
            break;
        }
        if (ok)
            ok = context.update(context.context, buffer, uint32_t(count)) == 1;
    }
    std::vector<unsigned char> digest(context.digestLength);
    if (context.final(digest.data(), context.context) != 1)
        ok = false;
    file.close();
    if (!ok)
        return {};
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest.data()), qsizetype(digest.size())).toHex());
}

QString FileHash::md5HashOfFileAtPath(const QString& path)
{
    return digestOfFile(path, &CryptoLibrary::EVP_md5);
}

QString FileHash::sha1HashOfFileAtPath(const QString& path)
{
    return digestOfFile(path, &CryptoLibrary::EVP_sha1);
}

QString FileHash::sha256HashOfFileAtPath(const QString& path)
{
    return digestOfFile(path, &CryptoLibrary::EVP_sha256);
}

QString FileHash::sha512HashOfFileAtPath(const QString& path)
{
    return digestOfFile(path, &CryptoLibrary::EVP_sha512);
}
