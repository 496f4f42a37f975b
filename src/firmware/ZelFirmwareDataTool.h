#pragma once

#include "firmware/ZelFirmware.h"
#include "platform/runtime/DocumentStore.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QString>

#include <functional>
#include <optional>

// The catalogue: the releases stored on the device and the ones the firmware
// server offers. One instance for the process, used from the main thread.
class ZelFirmwareDataTool {
public:
    using RemoteCompletion = std::function<void(const QList<ZelFirmware>& firmwares, const QString& error)>;

    static constexpr double kReuseSeconds = 300.0;
    // The longest silence while the list (or its signed metadata) arrives,
    // and the longest the whole fetch may take: a server that trickles a
    // byte now and then is never silent.
    static constexpr double kRequestTimeout = 20.0;
    static constexpr double kListDeadline = 60.0;
    // A release list larger than this is refused: it is a few kilobytes.
    static constexpr qint64 kMaxReleaseListBytes = qint64(1) * 1024 * 1024;
    static inline const QString& kProductFolder = DocumentStore::kProductFolder;

    static ZelFirmwareDataTool& sharedInstance();

    QList<ZelFirmware> getLocalFirmwares() const;
    // Calls completion exactly once: at once with the stored list when it is
    // recent, otherwise when the request ends. The error is empty on success.
    void getRemoteFirmwares(RemoteCompletion completion);

    // The last non-empty online list, sorted, and when it was stored.
    std::optional<QList<ZelFirmware>> firmwares;
    QDateTime firmwaresDate;
    // With a key or root trusted: the localised reason the last online answer
    // was refused (its signature, expiry or version), empty when accepted.
    // A refused answer is reported as the request's error too.
    QString refusal;

    // "now", replaceable by tests.
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTimeUtc(); };
    // The deadline of each request of a fetch, in seconds on the main
    // queue's time scale (the command line's --list-deadline).
    double listDeadline = kListDeadline;

    // The firmware server: --server or Q3DART_SERVER, else the configured host.
    static void setServerOverride(const QString& baseUrl);
    static QString serverBaseUrl();
    // The release-list query, percent-encoded for a URL.
    static QByteArray queryText(const QString& serverBaseUrl, const QString& shortVersion);
    // The folder holding the local releases.
    static QString localFirmwareFolder();
    // Newest first, by version (boot, then left, then right, as integer pairs).
    // Records whose version text is no version are taken out; their texts
    // are appended to refused.
    static void sortNewestFirst(QList<ZelFirmware>& records, QStringList* refused = nullptr);

    // The version texts the last list read (local or online) refused.
    mutable QStringList refusedVersions;

private:
    ZelFirmwareDataTool() = default;
    // Stores a non-empty list (reused until expires, when valid) and completes with it.
    void accept(QList<ZelFirmware> records, const QDateTime& expires, const RemoteCompletion& completion);
    // The request with a key or root trusted: the key set, the list and their
    // signatures, judged before anything of them is used.
    void getSignedFirmwares(const QUrl& url, const RemoteCompletion& completion);
    // With a root: the root documents after the one held, followed one by
    // one while the server has a next; then done with the root to judge by.
    struct Root {
        qint64 version = 0;
        QList<QByteArray> keys;
        QString anchor;
    };
    void followRoots(
        const QString& server, Root root, int steps, std::function<void(const Root& root, const QString& error)> done);
    // When the stored list expires (with trust), beyond which it is not reused.
    QDateTime m_firmwaresExpire;
};
