#include "firmware/TrustState.h"

#include "firmware/ReleaseSignature.h"
#include "lib/RecordFile.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/Localization.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace {

const QLatin1String kServersKey("servers");
const QLatin1String kListVersionKey("list_version");
const QLatin1String kKeySetVersionKey("keys_version");
const QLatin1String kRootVersionKey("root_version");
const QLatin1String kRootKeysKey("root_keys");
const QLatin1String kRootAnchorKey("root_anchor");

// The file read whole: an empty object when there is none, nothing (and the
// problem) when it cannot be used.
std::optional<QJsonObject> readState(const QString& path, QString* problem)
{
    QFile file(path);
    if (!file.exists())
        return QJsonObject();
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = localized("TrustRecordUnreadable").arg(file.errorString());
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        *problem = localized("TrustRecordNotJson");
        return std::nullopt;
    }
    const QJsonValue servers = doc.object().value(kServersKey);
    if (!servers.isUndefined() && !servers.isObject()) {
        *problem = localized("TrustRecordFieldInvalid").arg(kServersKey, localized("TrustRecordExpectsObject"));
        return std::nullopt;
    }
    return doc.object();
}

// A version field: absent is 0; anything but a whole number in range is no value.
std::optional<qint64> versionField(const QJsonObject& record, QLatin1String key)
{
    const QJsonValue value = record.value(key);
    return value.isUndefined() ? 0 : TrustState::wholeVersion(value, 0);
}

// One server's record read into seen; false with the problem when a field is
// not what it must be.
bool readRecord(const QString& name, const QJsonValue& value, TrustState::Seen* seen, QString* problem)
{
    auto invalid = [&](const QString& field, const char* expected) {
        const QString where = field.isEmpty() ? name : name + QStringLiteral(" › ") + field;
        *problem = localized("TrustRecordFieldInvalid").arg(where, localized(expected));
        return false;
    };
    if (!value.isObject())
        return invalid(QString(), "TrustRecordExpectsObject");
    const QJsonObject record = value.toObject();
    for (QLatin1String key : { kListVersionKey, kKeySetVersionKey, kRootVersionKey }) {
        if (!versionField(record, key))
            return invalid(key, "TrustRecordExpectsVersion");
    }
    seen->listVersion = *versionField(record, kListVersionKey);
    seen->keySetVersion = *versionField(record, kKeySetVersionKey);
    seen->rootVersion = *versionField(record, kRootVersionKey);
    const QJsonValue keys = record.value(kRootKeysKey);
    const QJsonValue anchor = record.value(kRootAnchorKey);
    seen->rootKeys.clear();
    if (!keys.isUndefined()) {
        if (!keys.isArray())
            return invalid(kRootKeysKey, "TrustRecordExpectsKeys");
        for (const QJsonValue& key : keys.toArray()) {
            const QByteArray raw = key.isString() ? ReleaseSignature::decodePublicKey(key.toString()) : QByteArray();
            if (raw.isEmpty())
                return invalid(kRootKeysKey, "TrustRecordExpectsKeys");
            seen->rootKeys.append(raw);
        }
    }
    if (!anchor.isUndefined() && !anchor.isString())
        return invalid(kRootAnchorKey, "TrustRecordExpectsText");
    seen->rootAnchor = anchor.toString();
    // A root version without its keys, or keys without a version, is no root.
    if ((seen->rootVersion > 0) != !seen->rootKeys.isEmpty())
        return invalid(kRootKeysKey, "TrustRecordExpectsKeys");
    return true;
}

// Every record kept for the origin of server (written under other spellings
// by earlier versions included), merged to the highest versions.
bool recordsFor(const QJsonObject& state, const QString& server, TrustState::Seen* merged, QString* problem)
{
    const QString origin = TrustState::originOf(server);
    const QJsonObject servers = state.value(kServersKey).toObject();
    *merged = TrustState::Seen();
    for (auto it = servers.begin(); it != servers.end(); ++it) {
        if (TrustState::originOf(it.key()) != origin)
            continue;
        TrustState::Seen one;
        if (!readRecord(it.key(), it.value(), &one, problem))
            return false;
        merged->listVersion = std::max(merged->listVersion, one.listVersion);
        merged->keySetVersion = std::max(merged->keySetVersion, one.keySetVersion);
        if (one.rootVersion > merged->rootVersion) {
            merged->rootVersion = one.rootVersion;
            merged->rootKeys = one.rootKeys;
            merged->rootAnchor = one.rootAnchor;
        }
    }
    return true;
}

} // namespace

std::optional<qint64> TrustState::wholeVersion(const QJsonValue& value, qint64 least)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    // The range test comes first: converting a huge number is undefined.
    if (!(d >= double(least) && d <= double(kMaxVersion)) || d != std::trunc(d))
        return std::nullopt;
    return qint64(d);
}

QString TrustState::defaultPath()
{
    return DocumentStore::current().trustRecord();
}

TrustState::TrustState(QString path)
    : m_path(std::move(path))
{
}

QString TrustState::originOf(const QString& server)
{
    const QUrl url(server.trimmed());
    QString host = url.host().toLower();
    while (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    if (!url.isValid() || url.scheme().isEmpty() || host.isEmpty())
        return server.trimmed().toLower();
    const QString scheme = url.scheme().toLower();
    const int defaultPort = scheme == QLatin1String("https") ? 443 : scheme == QLatin1String("http") ? 80 : -1;
    const int port = url.port(defaultPort);
    // An IPv6 address keeps its brackets, as in a URL.
    const QString shownHost = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return scheme + QStringLiteral("://") + shownHost
        + (port == defaultPort || port < 0 ? QString() : QLatin1Char(':') + QString::number(port));
}

bool TrustState::seen(const QString& server, Seen* out, QString* problem) const
{
    QString why;
    const std::optional<QJsonObject> state = readState(m_path, &why);
    Seen merged;
    if (!state || !recordsFor(*state, server, &merged, &why)) {
        if (problem)
            *problem = why;
        return false;
    }
    *out = merged;
    return true;
}

bool TrustState::remember(const QString& server, const Seen& seen, QString* problem)
{
    QString why;
    std::optional<QJsonObject> state = readState(m_path, &why);
    Seen held;
    if (!state || !recordsFor(*state, server, &held, &why)) {
        if (problem)
            *problem = why;
        return false;
    }
    const QString origin = originOf(server);
    QJsonObject servers = state->value(kServersKey).toObject();
    QJsonObject record = servers.value(origin).toObject();
    record.insert(kListVersionKey, double(std::max(seen.listVersion, held.listVersion)));
    record.insert(kKeySetVersionKey, double(std::max(seen.keySetVersion, held.keySetVersion)));
    // A root followed from another pinned key replaces the one held: the
    // application's pinned roots changed.
    const bool newerRoot
        = seen.rootVersion > 0 && (seen.rootVersion > held.rootVersion || seen.rootAnchor != held.rootAnchor);
    const Seen& root = newerRoot ? seen : held;
    if (root.rootVersion > 0) {
        QJsonArray keys;
        for (const QByteArray& key : root.rootKeys)
            keys.append(QString::fromLatin1(key.toBase64()));
        record.insert(kRootVersionKey, double(root.rootVersion));
        record.insert(kRootKeysKey, keys);
        record.insert(kRootAnchorKey, root.rootAnchor);
    }
    servers.insert(origin, record);
    state->insert(kServersKey, servers);
    if (!RecordFile::write(m_path, QJsonDocument(*state).toJson(QJsonDocument::Indented), &why)) {
        if (problem)
            *problem = why;
        return false;
    }
    return true;
}
