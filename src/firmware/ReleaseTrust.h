#pragma once

#include "firmware/TrustState.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QLatin1String>
#include <QList>
#include <QString>

#include <optional>

// The client's checks of the signed metadata a firmware server publishes
// beside its release list: the list signed as a whole (a detached signature
// of its exact bytes, a version and an expiry inside it) and, with a root
// key, the key set the root signed (the release keys, a version and an
// expiry), and the chain of root documents by which a root hands over to the
// next. The metadata is made offline by the vendor's tools; the checks here
// are pure, so that they can be tested and fuzzed without a network.
class ReleaseTrust {
public:
    // Where the metadata lies on a site, beside the list.
    static inline const QString kSignatureSuffix = QStringLiteral(".sig");
    static inline const QString kKeySetPath = QStringLiteral("/firmware/update/keys.json");
    // Root document N (from 2: the pinned root is the first) lies at
    // kRootFolder/N.json, its signatures at N.json.sig, one per line.
    static inline const QString kRootFolder = QStringLiteral("/firmware/update/root");
    static QString rootPath(qint64 version);
    // The most root documents followed in one fetch.
    static constexpr int kMaxRootSteps = 64;

    // The signed fields.
    static inline const QLatin1String kListVersionKey { "list_version" };
    static inline const QLatin1String kKeySetVersionKey { "keys_version" };
    static inline const QLatin1String kRootVersionKey { "root_version" };
    static inline const QLatin1String kExpiresKey { "expires" };
    static inline const QLatin1String kKeysKey { "keys" };
    static inline const QLatin1String kKeyIdKey { "keyid" };
    static inline const QLatin1String kKeyKey { "key" };
    // Versions are JSON numbers; above this they would lose precision.
    static constexpr qint64 kMaxVersion = TrustState::kMaxVersion;
    // A detached signature is one line of base64; anything longer is not one.
    static constexpr qsizetype kMaxSignatureSize = 1024;

    enum class Refusal {
        None,
        ListSignature, // missing, or not by a trusted key
        ListMalformed, // signed by a trusted key, but not a list (detail says why)
        ListExpired,
        ListRollback,
        KeySetSignature, // missing, or not by a trusted root
        KeySetMalformed, // signed by a trusted root, but not a key set
        KeySetExpired,
        KeySetRollback,
        RootSignature, // a root document not signed by the root before it and by itself
        StateDamaged, // the record of accepted versions cannot be used (detail says why)
        StateNotSaved, // the record of accepted versions could not be written (detail says why)
    };

    // What the server answered; an empty signature: none was served.
    struct Answer {
        QByteArray list, listSignature;
        QByteArray keySet, keySetSignature;
    };
    struct Verdict {
        Refusal refusal = Refusal::None;
        QJsonObject list; // the accepted list
        TrustState::Seen accepted; // the versions to remember
        QList<QByteArray> keySetKeys; // with a root: the accepted key set's release keys
        // The key set verified, whatever became of the list after it: its
        // version is worth remembering even when the list is refused.
        bool keySetAccepted = false;
        // For the refusal's message: the refused version and the one held,
        // or the expiry, or what is wrong.
        qint64 offered = 0, held = 0;
        QDateTime expires;
        QString detail;
    };

    // Judges an answer. roots: the trusted root keys (empty: no key set is
    // read and the list must be signed by one of releaseKeys); seen: the
    // highest versions accepted from this server; now: UTC.
    static Verdict judge(const Answer& answer, const QList<QByteArray>& roots, const QList<QByteArray>& releaseKeys,
        const TrustState::Seen& seen, const QDateTime& now);
    // The refusal's localised message; stateFile names the state file.
    static QString message(const Verdict& verdict, const QString& stateFile = QString());

    // Signed metadata as read: a JSON object whose versionKey holds a whole
    // number from 1 to kMaxVersion and whose "expires" a UTC ISO 8601 time.
    struct Metadata {
        QJsonObject object;
        qint64 version = 0;
        QDateTime expires;
    };
    // Nothing, with *problem saying which field is wrong, when it is not.
    static std::optional<Metadata> readMetadata(
        const QByteArray& bytes, QLatin1String versionKey, QString* problem = nullptr);

    // One step along the chain of roots: document (root document
    // currentVersion + 1) and its signatures, judged against the root held.
    // It must carry exactly that version and be signed both by a key of the
    // current root and by one of its own keys.
    struct RootStep {
        Refusal refusal = Refusal::None;
        qint64 version = 0;
        QList<QByteArray> keys;
        QString detail;
    };
    static RootStep nextRoot(const QByteArray& document, const QByteArray& signatures,
        const QList<QByteArray>& currentKeys, qint64 currentVersion);
    // The raw keys of a key set; nothing when an entry is malformed or its
    // key id is not the id of its key.
    static std::optional<QList<QByteArray>> keySetKeys(const QJsonObject& keySet);
    // Whether signature (a detached base64 signature) is bytes signed with one of keys.
    static bool signedByOneOf(const QByteArray& bytes, const QByteArray& signature, const QList<QByteArray>& keys);
    // Times as the metadata writes them: UTC, ISO 8601, whole seconds.
    static QString timeText(const QDateTime& time);
    static QDateTime parseTime(const QString& text);
};
