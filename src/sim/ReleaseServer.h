#pragma once

#include "firmware/ReleaseSignature.h"
#include "lib/NetworkBackend.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Serves a folder of release archives the way the firmware server does: the
// release-list query answers with every "<version>.zip" in the folder (notes
// from "<version>.txt", date from "<version>.date" beside it, the archive's
// MD5 and SHA-256 computed), and the archives themselves under /releases/
// with a suggested file name. The same list and archives can be written out
// as a static site for any web host (signed by SitePublisher), and such a
// site served as a static host would serve it. The server itself never signs
// what it serves: it holds no private key. For vendors, tests and the demo.
class ReleaseServer : public QObject {
    Q_OBJECT
public:
    enum class Mode {
        Archives, // a folder of release archives, listed at each request
        Site, // a published site: its files as they are, the list's query ignored
    };
    explicit ReleaseServer(const QString& folder, QObject* parent = nullptr);
    // The folder is asked for once, when first needed: one that takes work to
    // make is not made before anything is served or published.
    explicit ReleaseServer(std::function<QString()> folderSource, QObject* parent = nullptr);
    ReleaseServer(std::function<QString()> folderSource, Mode mode, QObject* parent = nullptr);
    ~ReleaseServer() override;

    static inline const QString kLocalHost = QStringLiteral("127.0.0.1");

    // The port listened on (a numeric address), or 0 when listening failed,
    // also when the network module cannot be loaded.
    quint16 listen(const QString& address = kLocalHost, quint16 port = 0);
    // Why the last listen failed: the system's reason, or the network module's.
    QString errorString() const;
    // e.g. http://127.0.0.1:8080, for --server.
    QString baseUrl() const;
    // Number of requests answered, for tests.
    int requestCount() const { return m_requests; }

    // Each release of the published list is signed with key (and names its
    // key id) from now on.
    void setSigningKey(const ReleaseSignature& key) { m_signingKey = key; }

    // The release-list JSON for a folder; archives are addressed under baseUrl.
    QByteArray releaseList(const QString& baseUrl);
    // Writes the static site: OUT/firmware/update/r1 (the list as the server
    // answers it, archives addressed under baseUrl) and the archives under
    // OUT/releases/. False with *error set when something cannot be written.
    bool publish(const QString& out, const QString& baseUrl, QString* error = nullptr);

    static inline const QString kListPath = QStringLiteral("/firmware/update/r1");
    static inline const QString kReleasesPath = QStringLiteral("/releases/");

private:
    struct Digest {
        qint64 size;
        QDateTime modified;
        QString md5;
        QString sha256;
    };
    Digest digestOf(const QString& path);
    const QString& folder();
    HttpServing::Answer answer(const QUrl& url, const QByteArray& host);
    // A published site's file for a request path, as a static host serves it.
    HttpServing::Answer siteFile(const QString& path);
    HttpServing::Answer archive(const QString& name);

    std::function<QString()> m_folderSource;
    QString m_folder;
    Mode m_mode;
    std::unique_ptr<HttpServing> m_server;
    QString m_address;
    QString m_unavailable; // why there is no server: the network module's reason
    quint16 m_port = 0;
    int m_requests = 0;
    QHash<QString, Digest> m_digests;
    ReleaseSignature m_signingKey;
};
