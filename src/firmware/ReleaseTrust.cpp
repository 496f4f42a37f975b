#include "firmware/ReleaseTrust.h"

#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <cmath>

namespace {

std::optional<qint64> wholeVersion(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    // The range test comes first: converting a huge number is undefined.
    if (!(d >= 1 && d <= double(ReleaseTrust::kMaxVersion)) || d != std::trunc(d))
        return std::nullopt;
    return qint64(d);
}

ReleaseTrust::Verdict refused(
    ReleaseTrust::Refusal refusal, qint64 offered = 0, qint64 held = 0, QDateTime expires = {})
{
    ReleaseTrust::Verdict v;
    v.refusal = refusal;
    v.offered = offered;
    v.held = held;
    v.expires = expires;
    return v;
}

} // namespace

QString ReleaseTrust::timeText(const QDateTime& time)
{
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

QDateTime ReleaseTrust::parseTime(const QString& text)
{
    // UTC only: a time without its zone would be read in the client's own.
    if (!text.endsWith(QLatin1Char('Z')))
        return {};
    QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    return time.isValid() ? time.toUTC() : QDateTime();
}

std::optional<ReleaseTrust::Metadata> ReleaseTrust::readMetadata(const QByteArray& bytes, QLatin1String versionKey)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    Metadata m;
    m.object = doc.object();
    const std::optional<qint64> version = wholeVersion(m.object.value(versionKey));
    m.expires = parseTime(m.object.value(kExpiresKey).toString());
    if (!version || !m.expires.isValid())
        return std::nullopt;
    m.version = *version;
    return m;
}

std::optional<QList<QByteArray>> ReleaseTrust::keySetKeys(const QJsonObject& keySet)
{
    const QJsonValue entries = keySet.value(kKeysKey);
    if (!entries.isArray())
        return std::nullopt;
    QList<QByteArray> keys;
    for (const QJsonValue& entry : entries.toArray()) {
        const QByteArray key = ReleaseSignature::decodePublicKey(entry.toObject().value(kKeyKey).toString());
        if (key.isEmpty() || entry.toObject().value(kKeyIdKey).toString() != ReleaseSignature::keyId(key))
            return std::nullopt;
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}

bool ReleaseTrust::signedByOneOf(const QByteArray& bytes, const QByteArray& signature, const QList<QByteArray>& keys)
{
    if (signature.isEmpty() || signature.size() > kMaxSignatureSize)
        return false;
    const QByteArray text = signature.trimmed();
    for (const QByteArray& key : keys)
        if (ReleaseSignature::verifyBytes(key, bytes, text))
            return true;
    return false;
}

ReleaseTrust::Verdict ReleaseTrust::judge(const Answer& answer, const QList<QByteArray>& roots,
    const QList<QByteArray>& releaseKeys, const TrustState::Seen& seen, const QDateTime& now)
{
    Verdict verdict;
    QList<QByteArray> listKeys = releaseKeys;
    // Nothing is read from metadata before its signature verifies.
    if (!roots.isEmpty()) {
        if (!signedByOneOf(answer.keySet, answer.keySetSignature, roots))
            return refused(Refusal::KeySetSignature);
        const std::optional<Metadata> keySet = readMetadata(answer.keySet, kKeySetVersionKey);
        const std::optional<QList<QByteArray>> keys = keySet ? keySetKeys(keySet->object) : std::nullopt;
        if (!keys)
            return refused(Refusal::KeySetSignature);
        if (keySet->version < seen.keySetVersion)
            return refused(Refusal::KeySetRollback, keySet->version, seen.keySetVersion);
        if (keySet->expires <= now)
            return refused(Refusal::KeySetExpired, 0, 0, keySet->expires);
        listKeys = *keys;
        verdict.keySetKeys = *keys;
        verdict.accepted.keySetVersion = keySet->version;
    }
    if (!signedByOneOf(answer.list, answer.listSignature, listKeys))
        return refused(Refusal::ListSignature);
    const std::optional<Metadata> list = readMetadata(answer.list, kListVersionKey);
    if (!list)
        return refused(Refusal::ListSignature);
    // An equal version is the list already held: no change, not an attack.
    if (list->version < seen.listVersion)
        return refused(Refusal::ListRollback, list->version, seen.listVersion);
    if (list->expires <= now)
        return refused(Refusal::ListExpired, 0, 0, list->expires);
    verdict.list = list->object;
    verdict.accepted.listVersion = list->version;
    return verdict;
}

QString ReleaseTrust::message(const Verdict& verdict, const QString& stateFile)
{
    switch (verdict.refusal) {
    case Refusal::None:
        break;
    case Refusal::ListSignature:
        return localized("ReleaseListSignatureInvalid");
    case Refusal::ListExpired:
        return localized("ReleaseListExpired").arg(timeText(verdict.expires));
    case Refusal::ListRollback:
        return localized("ReleaseListRollback").arg(verdict.offered).arg(verdict.held);
    case Refusal::KeySetSignature:
        return localized("ReleaseKeySetInvalid");
    case Refusal::KeySetExpired:
        return localized("ReleaseKeySetExpired").arg(timeText(verdict.expires));
    case Refusal::KeySetRollback:
        return localized("ReleaseKeySetRollback").arg(verdict.offered).arg(verdict.held);
    case Refusal::StateDamaged:
        return localized("ReleaseTrustStateDamaged").arg(stateFile);
    }
    return QString();
}
