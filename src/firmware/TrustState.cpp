#include "firmware/TrustState.h"

#include "platform/runtime/DocumentsDirectory.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

const QLatin1String kServersKey("servers");
const QLatin1String kListVersionKey("list_version");
const QLatin1String kKeySetVersionKey("keys_version");

// The whole file; an empty object when there is none, nothing when damaged.
std::optional<QJsonObject> readState(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QJsonObject();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonValue servers = doc.object().value(kServersKey);
    if (!servers.isUndefined() && !servers.isObject())
        return std::nullopt;
    return doc.object();
}

} // namespace

QString TrustState::defaultPath()
{
    return DocumentsDirectory::path() + QLatin1Char('/') + kFileName;
}

TrustState::TrustState(QString path)
    : m_path(std::move(path))
{
}

bool TrustState::seen(const QString& server, Seen* out) const
{
    const std::optional<QJsonObject> state = readState(m_path);
    if (!state)
        return false;
    const QJsonObject record = state->value(kServersKey).toObject().value(server).toObject();
    out->listVersion = qint64(record.value(kListVersionKey).toDouble());
    out->keySetVersion = qint64(record.value(kKeySetVersionKey).toDouble());
    return true;
}

bool TrustState::remember(const QString& server, const Seen& seen)
{
    std::optional<QJsonObject> state = readState(m_path);
    if (!state)
        return false;
    QJsonObject servers = state->value(kServersKey).toObject();
    QJsonObject record = servers.value(server).toObject();
    record.insert(
        kListVersionKey, double(std::max(seen.listVersion, qint64(record.value(kListVersionKey).toDouble()))));
    record.insert(
        kKeySetVersionKey, double(std::max(seen.keySetVersion, qint64(record.value(kKeySetVersionKey).toDouble()))));
    servers.insert(server, record);
    state->insert(kServersKey, servers);
    const QByteArray bytes = QJsonDocument(*state).toJson(QJsonDocument::Indented);
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
