#pragma once

#include <QString>

// The client's record of the signed metadata it has accepted: per firmware
// server, the highest release-list and key-set versions, so that an older
// list or key set, genuinely signed but replayed, is refused. One small JSON
// file in the documents directory, always written whole and atomically.
class TrustState {
public:
    static inline const QString kFileName = QStringLiteral("release-trust.json");

    struct Seen {
        qint64 listVersion = 0; // 0: nothing accepted yet (first contact)
        qint64 keySetVersion = 0;
    };

    // The state file of the documents directory.
    static QString defaultPath();
    explicit TrustState(QString path = defaultPath());
    QString path() const { return m_path; }

    // The versions accepted from server; false when the file exists but
    // cannot be read as a state (nothing is then assumed about the server).
    bool seen(const QString& server, Seen* out) const;
    // Raises the versions recorded for server to those of seen, never lowering
    // one; other servers' records and unknown fields are kept. False when the
    // file cannot be read or written.
    bool remember(const QString& server, const Seen& seen);

private:
    QString m_path;
};
