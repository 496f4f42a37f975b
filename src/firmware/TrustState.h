#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

// The client's record of the signed metadata it has accepted: per firmware
// server, the highest release-list and key-set versions, so that an older
// list or key set, genuinely signed but replayed, is refused; and the newest
// root it followed from its pinned one. One small JSON file in the documents
// directory, always written whole and atomically.
//
// The record fails closed: a field of the wrong type or out of range makes
// every list from that server refused, and the file is never overwritten
// while it is so; nothing is assumed about a server it cannot read.
class TrustState {
public:
    // Versions are JSON numbers; above this they would lose precision.
    static constexpr qint64 kMaxVersion = qint64(1) << 53;

    struct Seen {
        Seen(qint64 list = 0, qint64 keySet = 0)
            : listVersion(list)
            , keySetVersion(keySet)
        {
        }
        qint64 listVersion = 0; // 0: nothing accepted yet (first contact)
        qint64 keySetVersion = 0;
        // The newest root followed: its version (0: none beyond the pinned
        // one), its raw keys, and the id of the pinned key the chain began at.
        qint64 rootVersion = 0;
        QList<QByteArray> rootKeys;
        QString rootAnchor;
    };

    // A version as the metadata and the record write it: a whole JSON
    // number from least to kMaxVersion; nothing for anything else.
    static std::optional<qint64> wholeVersion(const QJsonValue& value, qint64 least);

    // The state file of the documents directory.
    static QString defaultPath();
    explicit TrustState(QString path = defaultPath());
    QString path() const { return m_path; }

    // The key a server's record is kept under: its origin, scheme and host
    // in lower case, the port only where it is not the scheme's own, without
    // a trailing dot on the host, a path or user information; so that one
    // server written in several ways keeps one record.
    static QString originOf(const QString& server);

    // The versions accepted from server; false, with *problem saying what is
    // wrong for the user, when the file exists but cannot be used for it.
    bool seen(const QString& server, Seen* out, QString* problem = nullptr) const;
    // Raises the versions recorded for server to those of seen, never lowering
    // one, and keeps a newer root; other servers' records and unknown fields
    // are kept. False, with *problem saying why, when the file cannot be used
    // or written; it then stays as it was.
    bool remember(const QString& server, const Seen& seen, QString* problem = nullptr);

private:
    QString m_path;
};
