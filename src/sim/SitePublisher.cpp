#include "sim/SitePublisher.h"

#include "firmware/ReleaseTrust.h"
#include "lib/RecordFile.h"
#include "sim/ReleaseServer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace {

bool failWith(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

QByteArray readFile(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

QString expiryText(double days)
{
    return ReleaseTrust::timeText(
        QDateTime::currentDateTimeUtc().addSecs(qint64(std::llround(days * SitePublisher::kSecondsPerDay))));
}

} // namespace

QString SitePublisher::listPath(const QString& out)
{
    return QDir(out).filePath(ReleaseServer::kListPath.mid(1));
}

QString SitePublisher::keySetPath(const QString& out)
{
    return QDir(out).filePath(ReleaseTrust::kKeySetPath.mid(1));
}

QString SitePublisher::rootPath(const QString& out, qint64 version)
{
    return QDir(out).filePath(ReleaseTrust::rootPath(version).mid(1));
}

qint64 SitePublisher::currentRootVersion(const QString& out)
{
    qint64 version = 1;
    while (QFileInfo::exists(rootPath(out, version + 1)))
        ++version;
    return version;
}

qint64 SitePublisher::currentVersion(const QString& path, QLatin1String versionKey)
{
    bool ok = false;
    const QByteArray bytes = readFile(path, &ok);
    const std::optional<ReleaseTrust::Metadata> metadata
        = ok ? ReleaseTrust::readMetadata(bytes, versionKey) : std::nullopt;
    return metadata ? metadata->version : 0;
}

bool SitePublisher::writeSigned(
    const QString& path, const QByteArray& bytes, const QList<ReleaseSignature>& keys, QString* error)
{
    QByteArray signatures;
    for (const ReleaseSignature& key : keys) {
        const QByteArray signature = key.signBytes(bytes);
        if (signature.isEmpty())
            return failWith(error, QStringLiteral("cannot sign %1").arg(path));
        signatures += signature + '\n';
    }
    // The signature last: a copy of the site that stops half-way leaves the
    // older signature, which the new file fails, rather than a file that
    // verifies with content nobody signed.
    for (const auto& [target, content] :
        { std::pair { path, bytes }, std::pair { path + ReleaseTrust::kSignatureSuffix, signatures } }) {
        if (QString reason; !RecordFile::write(target, content, &reason))
            return failWith(error, QStringLiteral("cannot write %1: %2").arg(target, reason));
    }
    return true;
}

bool SitePublisher::publish(
    ReleaseServer& releases, const QString& out, const QString& baseUrl, const ListSigning* signing, QString* error)
{
    if (!signing)
        return releases.publish(out, baseUrl, error);
    if (!(signing->expiresDays >= 0) || signing->listVersion < 0)
        return failWith(error, QStringLiteral("the expiry and the list version cannot be negative"));
    ListSigning again = *signing;
    if (again.listVersion == 0)
        again.listVersion = currentVersion(listPath(out), ReleaseTrust::kListVersionKey) + 1;
    releases.setSigningKey(signing->key);
    return releases.publish(out, baseUrl, error) && signList(out, again, error);
}

bool SitePublisher::signList(const QString& out, const ListSigning& signing, QString* error)
{
    if (!signing.key.isValid())
        return failWith(error, QStringLiteral("no signing key"));
    if (!(signing.expiresDays >= 0) || signing.listVersion < 0 || signing.listVersion > ReleaseTrust::kMaxVersion)
        return failWith(error, QStringLiteral("the expiry and the list version must be numbers from 0"));
    const QString path = listPath(out);
    bool ok = false;
    const QByteArray bytes = readFile(path, &ok);
    if (!ok)
        return failWith(error, QStringLiteral("%1 holds no published list (%2 is missing)").arg(out, path));
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (!doc.isObject() || !doc.object().value(QStringLiteral("data")).isArray())
        return failWith(error, QStringLiteral("%1 is not a release list").arg(path));
    QJsonObject list = doc.object();
    const qint64 version
        = signing.listVersion > 0 ? signing.listVersion : currentVersion(path, ReleaseTrust::kListVersionKey) + 1;
    list.insert(ReleaseTrust::kListVersionKey, double(version));
    list.insert(ReleaseTrust::kExpiresKey, expiryText(signing.expiresDays));
    return writeSigned(path, QJsonDocument(list).toJson(QJsonDocument::Compact), { signing.key }, error);
}

bool SitePublisher::signKeys(const QString& out, const KeySetChange& change, QString* error)
{
    if (!change.root.isValid())
        return failWith(error, QStringLiteral("no root key"));
    if (!(change.expiresDays >= 0))
        return failWith(error, QStringLiteral("the expiry must be a number of days from 0"));
    const QString path = keySetPath(out);
    QList<QByteArray> keys;
    qint64 version = 0;
    if (QFileInfo::exists(path)) {
        bool ok = false;
        const std::optional<ReleaseTrust::Metadata> current
            = ReleaseTrust::readMetadata(readFile(path, &ok), ReleaseTrust::kKeySetVersionKey);
        const std::optional<QList<QByteArray>> carried
            = current ? ReleaseTrust::keySetKeys(current->object) : std::nullopt;
        if (!carried)
            return failWith(error, QStringLiteral("%1 is not a key set").arg(path));
        keys = *carried;
        version = current->version;
    }
    for (const QString& id : change.remove) {
        const qsizetype before = keys.size();
        keys.removeIf([&id](const QByteArray& key) { return ReleaseSignature::keyId(key) == id; });
        if (keys.size() == before)
            return failWith(error, QStringLiteral("the key set holds no key with the id %1").arg(id));
    }
    for (const QByteArray& key : change.add)
        if (!keys.contains(key))
            keys.append(key);
    if (keys.isEmpty())
        return failWith(error, QStringLiteral("the key set would hold no key"));
    QJsonArray entries;
    for (const QByteArray& key : std::as_const(keys))
        entries.append(QJsonObject { { ReleaseTrust::kKeyIdKey, ReleaseSignature::keyId(key) },
            { ReleaseTrust::kKeyKey, QString::fromLatin1(key.toBase64()) } });
    const QJsonObject keySet { { ReleaseTrust::kKeySetVersionKey, double(version + 1) },
        { ReleaseTrust::kExpiresKey, expiryText(change.expiresDays) }, { ReleaseTrust::kKeysKey, entries } };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failWith(error, QStringLiteral("cannot create the folders of %1").arg(out));
    return writeSigned(path, QJsonDocument(keySet).toJson(QJsonDocument::Indented), { change.root }, error);
}

bool SitePublisher::signRoot(const QString& out, const RootChange& change, QString* path, QString* error)
{
    if (!change.current.isValid() || !change.next.isValid())
        return failWith(error, QStringLiteral("no root key"));
    if (change.current.publicKey() == change.next.publicKey())
        return failWith(error, QStringLiteral("the next root's key is the current one"));
    // The current root must be the site's: a document it did not sign would
    // break every client's chain.
    const qint64 current = currentRootVersion(out);
    if (current > 1) {
        bool ok = false;
        const QJsonDocument held = QJsonDocument::fromJson(readFile(rootPath(out, current), &ok));
        const std::optional<QList<QByteArray>> keys
            = held.isObject() ? ReleaseTrust::keySetKeys(held.object()) : std::nullopt;
        if (!keys)
            return failWith(error, QStringLiteral("%1 is not a root document").arg(rootPath(out, current)));
        if (!keys->contains(change.current.publicKey()))
            return failWith(error,
                QStringLiteral("the root key given is not the site's current root (%1)").arg(rootPath(out, current)));
    }
    const QJsonArray entries { QJsonObject {
        { ReleaseTrust::kKeyIdKey, change.next.keyId() }, { ReleaseTrust::kKeyKey, change.next.publicKeyBase64() } } };
    const QJsonObject document { { ReleaseTrust::kRootVersionKey, double(current + 1) },
        { ReleaseTrust::kKeysKey, entries } };
    const QString target = rootPath(out, current + 1);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return failWith(error, QStringLiteral("cannot create the folders of %1").arg(out));
    if (path)
        *path = target;
    return writeSigned(
        target, QJsonDocument(document).toJson(QJsonDocument::Indented), { change.current, change.next }, error);
}
