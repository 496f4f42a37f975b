#include "firmware/ReleaseSignature.h"

#include "firmware/ZelFirmware.h"
#include "lib/CryptoLibrary.h"
#include "platform/runtime/InfoDictionary.h"

#include "platform/runtime/Localization.h"

#include <QCryptographicHash>
#include <QFile>

#include <memory>

namespace {

QList<QByteArray> g_addedKeys;
QList<QByteArray> g_addedRoots;
QList<QByteArray> g_keySetKeys;

// What these free was made by the library, so it is loaded by then.
struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { CryptoLibrary::load()->EVP_PKEY_free(key); }
};
struct ContextDeleter {
    void operator()(EVP_MD_CTX* context) const { CryptoLibrary::load()->EVP_MD_CTX_free(context); }
};
struct BioDeleter {
    void operator()(BIO* bio) const { CryptoLibrary::load()->BIO_free(bio); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextDeleter>;
using Bio = std::unique_ptr<BIO, BioDeleter>;

std::shared_ptr<void> own(EVP_PKEY* key)
{
    if (!key)
        return {};
    return std::shared_ptr<void>(key, [](void* k) { KeyDeleter()(static_cast<EVP_PKEY*>(k)); });
}

EVP_PKEY* keyOf(const std::shared_ptr<void>& key)
{
    return static_cast<EVP_PKEY*>(key.get());
}

// Strict base64: the alphabet with its padding and nothing else, so that
// text around a key or signature is refused rather than skipped.
QByteArray decodeStrict(const QString& text)
{
    const auto result
        = QByteArray::fromBase64Encoding(text.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return result ? result.decoded : QByteArray();
}

bool isLowerHexSha256(const QString& text)
{
    if (text.size() != 64)
        return false;
    for (const QChar c : text)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    return true;
}

} // namespace

QByteArray ReleaseSignature::message(const QString& version, const QString& sha256)
{
    return QByteArrayLiteral("q3dart-release-v1\n") + version.toUtf8() + '\n' + sha256.toUtf8();
}

bool ReleaseSignature::verify(
    const QByteArray& publicKey, const QString& version, const QString& sha256, const QString& signatureBase64)
{
    // The digest is signed as the list states it: one spelling only, so that
    // an upper-case copy is not a second valid form of the same release.
    if (!isLowerHexSha256(sha256))
        return false;
    return verifyBytes(publicKey, message(version, sha256), signatureBase64.toLatin1());
}

bool ReleaseSignature::verifyBytes(
    const QByteArray& publicKey, const QByteArray& bytes, const QByteArray& signatureBase64)
{
    if (publicKey.size() != kPublicKeyLength)
        return false;
    const QByteArray signature = decodeStrict(QString::fromLatin1(signatureBase64));
    const CryptoLibrary* crypto = CryptoLibrary::load();
    if (signature.size() != kSignatureLength || !crypto)
        return false;
    std::unique_ptr<EVP_PKEY, KeyDeleter> key(crypto->EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
        reinterpret_cast<const unsigned char*>(publicKey.constData()), size_t(publicKey.size())));
    Context context(crypto->EVP_MD_CTX_new());
    if (!key || !context || crypto->EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return crypto->EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
               size_t(signature.size()), reinterpret_cast<const unsigned char*>(bytes.constData()),
               size_t(bytes.size()))
        == 1;
}

QString ReleaseSignature::keyId(const QByteArray& publicKey)
{
    if (publicKey.size() != kPublicKeyLength)
        return {};
    return QString::fromLatin1(
        QCryptographicHash::hash(publicKey, QCryptographicHash::Sha256).toHex().left(kKeyIdLength));
}

QByteArray ReleaseSignature::decodePublicKey(const QString& base64)
{
    const QByteArray raw = decodeStrict(base64);
    return raw.size() == kPublicKeyLength ? raw : QByteArray();
}

QList<QByteArray> ReleaseSignature::keysFromInfo(const QVariant& value)
{
    QList<QByteArray> keys;
    // A malformed entry trusts nothing; the others still count.
    for (const QVariant& entry : value.toList())
        if (const QByteArray key
            = entry.typeId() == QMetaType::QString ? decodePublicKey(entry.toString()) : QByteArray();
            !key.isEmpty() && !keys.contains(key))
            keys.append(key);
    return keys;
}

namespace {

QList<QByteArray> merged(QList<QByteArray> keys, const QList<QByteArray>& more)
{
    for (const QByteArray& key : more)
        if (!keys.contains(key))
            keys.append(key);
    return keys;
}

bool addKey(QList<QByteArray>& keys, const QString& base64, QString* error)
{
    const QByteArray key = ReleaseSignature::decodePublicKey(base64);
    if (key.isEmpty()) {
        if (error)
            *error = QStringLiteral("not the base64 of a %1-byte Ed25519 public key: %2")
                         .arg(ReleaseSignature::kPublicKeyLength)
                         .arg(base64);
        return false;
    }
    if (!keys.contains(key))
        keys.append(key);
    return true;
}

} // namespace

QList<QByteArray> ReleaseSignature::trustedKeys()
{
    if (hasTrustedRoot())
        return g_keySetKeys;
    return merged(keysFromInfo(InfoDictionary::mainBundle().value(kTrustedKeysInfoKey)), g_addedKeys);
}

QList<QByteArray> ReleaseSignature::trustedRoots()
{
    return merged(keysFromInfo(InfoDictionary::mainBundle().value(kRootKeysInfoKey)), g_addedRoots);
}

bool ReleaseSignature::hasTrustedKeys()
{
    // A dictionary that names keys, even unusable ones, asks for signatures:
    // a typo in the only key must not turn the checks off.
    return !g_addedKeys.isEmpty() || hasTrustedRoot()
        || !keysFromInfo(InfoDictionary::mainBundle().value(kTrustedKeysInfoKey)).isEmpty()
        || !checkInformation(nullptr);
}

bool ReleaseSignature::addTrustedKey(const QString& base64, QString* error)
{
    return addKey(g_addedKeys, base64, error);
}

bool ReleaseSignature::addTrustedRoot(const QString& base64, QString* error)
{
    return addKey(g_addedRoots, base64, error);
}

void ReleaseSignature::setKeySetKeys(const QList<QByteArray>& keys)
{
    g_keySetKeys = keys;
}

void ReleaseSignature::forgetAddedKeys()
{
    g_addedKeys.clear();
    g_addedRoots.clear();
    g_keySetKeys.clear();
}

bool ReleaseSignature::checkKeyArray(const QVariant& value, const QString& infoKey, QString* error)
{
    if (!value.isValid())
        return true;
    auto fail = [&](const QString& entry) {
        if (error)
            *error = localized("InfoKeysInvalid").arg(infoKey, entry);
        return false;
    };
    if (value.typeId() != QMetaType::QVariantList)
        return fail(value.toString());
    for (const QVariant& entry : value.toList())
        if (entry.typeId() != QMetaType::QString || decodePublicKey(entry.toString()).isEmpty())
            return fail(entry.toString());
    return true;
}

bool ReleaseSignature::checkInformation(QString* error)
{
    const InfoDictionary& info = InfoDictionary::mainBundle();
    return checkKeyArray(info.value(kTrustedKeysInfoKey), kTrustedKeysInfoKey, error)
        && checkKeyArray(info.value(kRootKeysInfoKey), kRootKeysInfoKey, error);
}

ReleaseSignature::Status ReleaseSignature::status(const ZelFirmware& release)
{
    if (release.sha256.isEmpty() || release.signature.isEmpty())
        return Status::Unsigned;
    const QList<QByteArray> keys = trustedKeys();
    if (keys.isEmpty())
        return Status::Unchecked;
    for (const QByteArray& key : keys)
        if (verify(key, release.version, release.sha256, release.signature))
            return Status::Verified;
    return Status::Invalid;
}

bool ReleaseSignature::mayInstall(const ZelFirmware& release)
{
    return !release.isOnline() || !hasTrustedKeys()
        || (status(release) == Status::Verified && release.path.startsWith(QLatin1String("http")));
}

QString ReleaseSignature::statusName(Status status)
{
    switch (status) {
    case Status::Verified:
        return QStringLiteral("signed");
    case Status::Unchecked:
        return QStringLiteral("unchecked");
    case Status::Invalid:
        return QStringLiteral("invalid");
    case Status::Unsigned:
        break;
    }
    return QStringLiteral("unsigned");
}

ReleaseSignature::ReleaseSignature() = default;

ReleaseSignature ReleaseSignature::generate()
{
    ReleaseSignature s;
    const CryptoLibrary* crypto = CryptoLibrary::load();
    if (!crypto)
        return s;
    EVP_PKEY* key = nullptr;
    std::unique_ptr<EVP_PKEY_CTX, void (*)(EVP_PKEY_CTX*)> context(
        crypto->EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr), crypto->EVP_PKEY_CTX_free);
    if (context && crypto->EVP_PKEY_keygen_init(context.get()) == 1
        && crypto->EVP_PKEY_keygen(context.get(), &key) == 1)
        s.m_key = own(key);
    return s;
}

ReleaseSignature ReleaseSignature::fromPrivateKeyFile(const QString& path, QString* error)
{
    ReleaseSignature s;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return s;
    }
    const QByteArray pem = file.readAll();
    const CryptoLibrary* crypto = CryptoLibrary::load();
    if (!crypto) {
        if (error)
            *error = localized("CryptoLibraryUnavailable").arg(CryptoLibrary::error());
        return s;
    }
    Bio bio(crypto->BIO_new_mem_buf(pem.constData(), int(pem.size())));
    EVP_PKEY* key = bio ? crypto->PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr;
    if (!key || crypto->EVP_PKEY_get_id(key) != EVP_PKEY_ED25519) {
        crypto->EVP_PKEY_free(key);
        if (error)
            *error = QStringLiteral("%1 holds no Ed25519 private key").arg(path);
        return s;
    }
    s.m_key = own(key);
    return s;
}

QByteArray ReleaseSignature::privateKeyPem() const
{
    if (!m_key)
        return {};
    const CryptoLibrary* crypto = CryptoLibrary::load();
    Bio bio(crypto->BIO_new(crypto->BIO_s_mem()));
    if (!bio || crypto->PEM_write_bio_PrivateKey(bio.get(), keyOf(m_key), nullptr, nullptr, 0, nullptr, nullptr) != 1)
        return {};
    char* data = nullptr;
    // What BIO_get_mem_data stands for.
    const long length = crypto->BIO_ctrl(bio.get(), BIO_CTRL_INFO, 0, &data);
    return QByteArray(data, qsizetype(length));
}

QByteArray ReleaseSignature::publicKey() const
{
    QByteArray raw(kPublicKeyLength, Qt::Uninitialized);
    size_t length = size_t(raw.size());
    if (!m_key
        || CryptoLibrary::load()->EVP_PKEY_get_raw_public_key(
               keyOf(m_key), reinterpret_cast<unsigned char*>(raw.data()), &length)
            != 1
        || length != size_t(kPublicKeyLength))
        return {};
    return raw;
}

QString ReleaseSignature::sign(const QString& version, const QString& sha256) const
{
    return QString::fromLatin1(signBytes(message(version, sha256)));
}

QByteArray ReleaseSignature::signBytes(const QByteArray& bytes) const
{
    if (!m_key)
        return {};
    const CryptoLibrary* crypto = CryptoLibrary::load();
    Context context(crypto->EVP_MD_CTX_new());
    if (!context || crypto->EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, keyOf(m_key)) != 1)
        return {};
    QByteArray signature(kSignatureLength, Qt::Uninitialized);
    size_t length = size_t(signature.size());
    if (crypto->EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
            reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()))
            != 1
        || length != size_t(kSignatureLength))
        return {};
    return signature.toBase64();
}

bool ReleaseSignature::writePrivateKey(const QString& path, QString* error) const
{
    const QByteArray pem = privateKeyPem();
    QFile file(path);
    // Created for its owner alone, and never over an existing file: a key
    // written over is a key lost.
    const bool ok = !pem.isEmpty()
        && file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(pem) == pem.size() && file.flush();
    if (!ok && error)
        *error = pem.isEmpty() ? QStringLiteral("no key to write")
                               : QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return ok;
}

QString ReleaseSignature::markText(const ZelFirmware& release)
{
    if (!release.isOnline())
        return localized("ReleaseMarkLocalFile");
    // ReleaseMarkSigned, ReleaseMarkUnchecked, ReleaseMarkInvalid, ReleaseMarkUnsigned.
    QString name = statusName(status(release));
    name[0] = name[0].toUpper();
    return localized((QByteArrayLiteral("ReleaseMark") + name.toLatin1()).constData());
}
