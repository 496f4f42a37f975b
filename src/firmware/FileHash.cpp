#include "firmware/FileHash.h"

#include <QFile>
#include <QFileInfo>

#include <openssl/evp.h>

#include <fcntl.h>
#include <memory>
#include <vector>

namespace {

struct DigestStateDeleter {
    void operator()(EVP_MD_CTX* state) const { EVP_MD_CTX_free(state); }
};
using DigestState = std::unique_ptr<EVP_MD_CTX, DigestStateDeleter>;

template <const EVP_MD* (*Algorithm)()> int initDigest(void* context)
{
    return EVP_DigestInit_ex(static_cast<EVP_MD_CTX*>(context), Algorithm(), nullptr);
}

int updateDigest(void* context, const void* data, uint32_t length)
{
    return EVP_DigestUpdate(static_cast<EVP_MD_CTX*>(context), data, length);
}

int finalDigest(unsigned char* digest, void* context)
{
    return EVP_DigestFinal_ex(static_cast<EVP_MD_CTX*>(context), digest, nullptr);
}

template <const EVP_MD* (*Algorithm)()> QString digestOfFile(const QString& path)
{
    DigestState state(EVP_MD_CTX_new());
    if (!state)
        return {};
    FileHashComputationContext context;
    context.init = &initDigest<Algorithm>;
    context.update = &updateDigest;
    context.final = &finalDigest;
    context.digestLength = uint64_t(EVP_MD_get_size(Algorithm()));
    context.context = state.get();
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
    return digestOfFile<&EVP_md5>(path);
}

QString FileHash::sha1HashOfFileAtPath(const QString& path)
{
    return digestOfFile<&EVP_sha1>(path);
}

QString FileHash::sha256HashOfFileAtPath(const QString& path)
{
    return digestOfFile<&EVP_sha256>(path);
}

QString FileHash::sha512HashOfFileAtPath(const QString& path)
{
    return digestOfFile<&EVP_sha512>(path);
}
