#pragma once

#include "firmware/ReleaseSignature.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class ReleaseServer;

// The vendor's offline signing of a static site: the release list signed as
// a whole (a version and an expiry inside it, a detached signature beside it
// as "r1.sig"), the key set a root key signs ("keys.json" and
// "keys.json.sig" beside the list), and the root documents by which a root
// hands over to the next ("root/N.json", signed by both). Private keys are
// used here, never by a server.
class SitePublisher {
public:
    static constexpr double kDefaultExpiryDays = 30.0;
    static constexpr double kSecondsPerDay = 24.0 * 60 * 60;
    // Beyond a century an expiry says nothing; it also keeps the time in range.
    static constexpr double kMaxExpiryDays = 36500.0;

    struct ListSigning {
        ReleaseSignature key;
        double expiresDays = kDefaultExpiryDays; // may be fractional; 0 writes an expired list
        qint64 listVersion = 0; // 0: one above the site's current list version (1 when none)
    };
    struct KeySetChange {
        ReleaseSignature root;
        QList<QByteArray> add; // raw public keys
        QStringList remove; // key ids
        double expiresDays = kDefaultExpiryDays;
    };
    struct RootChange {
        ReleaseSignature current; // a key of the root clients hold now (the pinned one, at first)
        ReleaseSignature next; // the root that takes over
    };

    // The files of a site in folder out.
    static QString listPath(const QString& out);
    static QString keySetPath(const QString& out);
    static QString rootPath(const QString& out, qint64 version);
    // The highest root document of the site; 1 (the pinned root) when it has none.
    static qint64 currentRootVersion(const QString& out);

    // Writes releases' archives and list into out, as ReleaseServer::publish
    // does; with signing, each release is signed with its key and the list as
    // a whole. The site's key set is kept as it is. False with *error set.
    static bool publish(ReleaseServer& releases, const QString& out, const QString& baseUrl, const ListSigning* signing,
        QString* error);
    // Signs the list of a published site again: a new expiry and version,
    // the releases and their signatures as they are.
    static bool signList(const QString& out, const ListSigning& signing, QString* error);
    // Writes a new key set into out: one version above the site's current
    // one, its keys carried over unless removed, the added ones after them.
    static bool signKeys(const QString& out, const KeySetChange& change, QString* error);
    // Writes the next root document into out: one version above the site's
    // current root, naming the next root's key, signed by the current root
    // and by the next. Key sets are signed by the next root from then on.
    // The new document's path in *path.
    static bool signRoot(const QString& out, const RootChange& change, QString* path, QString* error);

private:
    // The version of the metadata at path, 0 when there is none or it is unreadable.
    static qint64 currentVersion(const QString& path, QLatin1String versionKey);
    static bool writeSigned(
        const QString& path, const QByteArray& bytes, const QList<ReleaseSignature>& keys, QString* error);
};
