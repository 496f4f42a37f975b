#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

struct ZelFirmware;

// Ed25519 signatures of online releases. A release is signed over the UTF-8
// bytes "q3dart-release-v1\n" + version + "\n" + sha256 (the archive's
// lower-case hexadecimal SHA-256), so that neither the archive nor the version
// it is offered as can be changed without the vendor's private key.
//
// An object holds one key pair (or only a public key) for signing; the static
// operations verify and keep what the process trusts. Without a root: the
// release keys of the information dictionary ("Q3DartReleaseKeys") and those
// added for the run. With a root (the dictionary's "Q3DartRootKeys", or added
// for the run): only the keys of the key set the root signed, once one has
// been accepted, so that dropping a key from a newer key set revokes it.
class ReleaseSignature {
public:
    static constexpr int kPublicKeyLength = 32;
    static constexpr int kSignatureLength = 64;
    // Hexadecimal digits of a key id: the start of the SHA-256 of the raw key.
    static constexpr int kKeyIdLength = 16;
    static inline const QString kTrustedKeysInfoKey = QStringLiteral("Q3DartReleaseKeys");
    static inline const QString kRootKeysInfoKey = QStringLiteral("Q3DartRootKeys");

    // What a release's signature fields say against the trusted keys.
    enum class Status {
        Unsigned, // no sha256 or no sig
        Unchecked, // signed, but no key is trusted
        Verified, // the signature verifies with a trusted key
        Invalid, // signed, and no trusted key verifies it
    };

    // The signed message.
    static QByteArray message(const QString& version, const QString& sha256);
    // Whether signatureBase64 is version and sha256 signed with the raw
    // 32-byte public key. Anything malformed verifies as false.
    static bool verify(
        const QByteArray& publicKey, const QString& version, const QString& sha256, const QString& signatureBase64);

    // Whether bytes, signed with the raw public key, give signatureBase64.
    static bool verifyBytes(const QByteArray& publicKey, const QByteArray& bytes, const QByteArray& signatureBase64);
    // The key id of a raw public key: the first kKeyIdLength lower-case
    // hexadecimal digits of its SHA-256.
    static QString keyId(const QByteArray& publicKey);

    // The keys that release and list signatures must verify with, raw: with
    // a root, the accepted key set's; else the dictionary's, then those added.
    static QList<QByteArray> trustedKeys();
    // The raw keys of an information dictionary's key array; entries that are
    // not a base64 raw public key trust nothing (checkInformation refuses them).
    static QList<QByteArray> keysFromInfo(const QVariant& value);
    // Whether signatures are required: a release key or a root is trusted,
    // or the dictionary names keys that are malformed (trust fails closed).
    static bool hasTrustedKeys();
    // Trusts a base64 raw 32-byte public key for the rest of the process;
    // false with *error set when it is not one.
    static bool addTrustedKey(const QString& base64, QString* error = nullptr);
    // Ends the trust in the keys and roots added for the run and in the
    // accepted key set (the dictionary's stay).
    static void forgetAddedKeys();

    // The root keys, raw: the dictionary's Q3DartRootKeys, then those added.
    static QList<QByteArray> trustedRoots();
    static bool hasTrustedRoot() { return !trustedRoots().isEmpty(); }
    static bool addTrustedRoot(const QString& base64, QString* error = nullptr);
    // The release keys of the key set a root signed, accepted by the client.
    static void setKeySetKeys(const QList<QByteArray>& keys);

    // Whether a dictionary value of a key array is well formed: absent, or an
    // array of base64 raw public keys. False with *error naming the entry.
    static bool checkKeyArray(const QVariant& value, const QString& infoKey, QString* error);
    // Both key arrays of the application's information dictionary; the
    // application and the tools stop at start when this fails.
    static bool checkInformation(QString* error);
    // Decodes a base64 raw public key; empty when it is not one.
    static QByteArray decodePublicKey(const QString& base64);
    static Status status(const ZelFirmware& release);
    // Whether the release's signature lets it install: always with no key
    // trusted, and for the user's own local releases; an online one only with
    // a verified signature and a download address to check it against.
    static bool mayInstall(const ZelFirmware& release);
    // The status as one word: signed, unchecked, invalid or unsigned.
    static QString statusName(Status status);
    // What a release's signature is worth, in a word or two; the user's own
    // local releases are never checked, and say so.
    static QString markText(const ZelFirmware& release);

    // A new random key pair.
    static ReleaseSignature generate();
    // The private key of a PEM file; an object without a key, and *error set,
    // when the file cannot be read or holds no Ed25519 private key.
    static ReleaseSignature fromPrivateKeyFile(const QString& path, QString* error = nullptr);

    ReleaseSignature();
    bool isValid() const { return static_cast<bool>(m_key); }
    // PKCS#8 PEM of the private key.
    QByteArray privateKeyPem() const;
    // The raw 32-byte public key, and its base64.
    QByteArray publicKey() const;
    QString publicKeyBase64() const { return QString::fromLatin1(publicKey().toBase64()); }
    // The base64 signature of the release message; empty without a key.
    QString sign(const QString& version, const QString& sha256) const;
    // The base64 signature of bytes; empty without a key.
    QByteArray signBytes(const QByteArray& bytes) const;
    QString keyId() const { return keyId(publicKey()); }
    // Writes the private key as PEM to path, readable by its owner only.
    bool writePrivateKey(const QString& path, QString* error = nullptr) const;

private:
    std::shared_ptr<void> m_key; // an EVP_PKEY
};
