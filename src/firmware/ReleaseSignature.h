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
// operations verify and keep the trusted public keys: those of the
// information dictionary ("Q3DartReleaseKeys") and those added for the run.
class ReleaseSignature {
public:
    static constexpr int kPublicKeyLength = 32;
    static constexpr int kSignatureLength = 64;
    static inline const QString kTrustedKeysInfoKey = QStringLiteral("Q3DartReleaseKeys");

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

    // The trusted keys, raw: the information dictionary's, then those added.
    static QList<QByteArray> trustedKeys();
    // The raw keys of an information dictionary's Q3DartReleaseKeys value;
    // entries that are not a base64 raw public key trust nothing.
    static QList<QByteArray> keysFromInfo(const QVariant& value);
    static bool hasTrustedKeys() { return !trustedKeys().isEmpty(); }
    // Trusts a base64 raw 32-byte public key for the rest of the process;
    // false with *error set when it is not one.
    static bool addTrustedKey(const QString& base64, QString* error = nullptr);
    // Ends the trust in the keys added for the run (the dictionary's stay).
    static void forgetAddedKeys();
    // Decodes a base64 raw public key; empty when it is not one.
    static QByteArray decodePublicKey(const QString& base64);
    static Status status(const ZelFirmware& release);
    // The status as one word: signed, unchecked, invalid or unsigned.
    static QString statusName(Status status);

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
    // Writes the private key as PEM to path, readable by its owner only.
    bool writePrivateKey(const QString& path, QString* error = nullptr) const;

private:
    std::shared_ptr<void> m_key; // an EVP_PKEY
};
