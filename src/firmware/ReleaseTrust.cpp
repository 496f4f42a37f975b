#include "firmware/ReleaseTrust.h"

#include "firmware/ReleaseSignature.h"
#include "platform/runtime/Localization.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace {

// Signed versions start at 1.
std::optional<qint64> wholeVersion(const QJsonValue& value)
{
    return TrustState::wholeVersion(value, 1);
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

ReleaseTrust::Verdict malformed(ReleaseTrust::Refusal refusal, const QString& detail)
{
    ReleaseTrust::Verdict v = refused(refusal);
    v.detail = detail;
    return v;
}

// The lines of a signature file that holds several, each one signature.
QList<QByteArray> signatureLines(const QByteArray& signatures)
{
    QList<QByteArray> lines;
    if (signatures.size() > ReleaseTrust::kMaxSignatureSize * 4)
        return lines;
    for (const QByteArray& line : signatures.split('\n'))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines;
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

QString ReleaseTrust::rootPath(qint64 version)
{
    return kRootFolder + QLatin1Char('/') + QString::number(version) + QStringLiteral(".json");
}

std::optional<ReleaseTrust::Metadata> ReleaseTrust::readMetadata(
    const QByteArray& bytes, QLatin1String versionKey, QString* problem)
{
    auto fail = [problem](const QString& why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return fail(localized("MetadataNotJson"));
    Metadata m;
    m.object = doc.object();
    const std::optional<qint64> version = wholeVersion(m.object.value(versionKey));
    if (!version)
        return fail(localized("MetadataBadVersion").arg(versionKey));
    m.expires = parseTime(m.object.value(kExpiresKey).toString());
    if (!m.expires.isValid())
        return fail(localized("MetadataBadExpiry").arg(kExpiresKey));
    m.version = *version;
    return m;
}

ReleaseTrust::RootStep ReleaseTrust::nextRoot(const QByteArray& document, const QByteArray& signatures,
    const QList<QByteArray>& currentKeys, qint64 currentVersion)
{
    RootStep step;
    step.refusal = Refusal::RootSignature;
    step.version = currentVersion + 1;
    const QList<QByteArray> lines = signatureLines(signatures);
    auto signedBy = [&](const QList<QByteArray>& keys) {
        for (const QByteArray& line : lines)
            for (const QByteArray& key : keys)
                if (ReleaseSignature::verifyBytes(key, document, line))
                    return true;
        return false;
    };
    // Nothing is read from the document before the root held vouches for it.
    if (!signedBy(currentKeys))
        return step;
    const QJsonDocument doc = QJsonDocument::fromJson(document);
    const std::optional<qint64> version
        = doc.isObject() ? wholeVersion(doc.object().value(kRootVersionKey)) : std::nullopt;
    const std::optional<QList<QByteArray>> keys = doc.isObject() ? keySetKeys(doc.object()) : std::nullopt;
    // A version other than the next would let an old root come back, or skip one.
    if (!version || *version != currentVersion + 1) {
        step.detail = localized("MetadataBadVersion").arg(kRootVersionKey);
        return step;
    }
    if (!keys || keys->isEmpty() || !signedBy(*keys)) {
        step.detail = localized("MetadataBadKeys").arg(kKeysKey);
        return step;
    }
    step.refusal = Refusal::None;
    step.keys = *keys;
    return step;
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
        QString problem;
        const std::optional<Metadata> keySet = readMetadata(answer.keySet, kKeySetVersionKey, &problem);
        if (!keySet)
            return malformed(Refusal::KeySetMalformed, problem);
        const std::optional<QList<QByteArray>> keys = keySetKeys(keySet->object);
        if (!keys)
            return malformed(Refusal::KeySetMalformed, localized("MetadataBadKeys").arg(kKeysKey));
        if (keySet->version < seen.keySetVersion)
            return refused(Refusal::KeySetRollback, keySet->version, seen.keySetVersion);
        if (keySet->expires <= now)
            return refused(Refusal::KeySetExpired, 0, 0, keySet->expires);
        listKeys = *keys;
        verdict.keySetKeys = *keys;
        verdict.keySetAccepted = true;
        verdict.accepted.keySetVersion = keySet->version;
    }
    // A refusal of the list keeps what the key set's judgement found.
    auto refuseList = [&verdict](Verdict refusal) {
        refusal.keySetKeys = verdict.keySetKeys;
        refusal.keySetAccepted = verdict.keySetAccepted;
        refusal.accepted.keySetVersion = verdict.accepted.keySetVersion;
        return refusal;
    };
    if (!signedByOneOf(answer.list, answer.listSignature, listKeys))
        return refuseList(refused(Refusal::ListSignature));
    QString problem;
    const std::optional<Metadata> list = readMetadata(answer.list, kListVersionKey, &problem);
    if (!list)
        return refuseList(malformed(Refusal::ListMalformed, problem));
    // An equal version is the list already held: no change, not an attack.
    if (list->version < seen.listVersion)
        return refuseList(refused(Refusal::ListRollback, list->version, seen.listVersion));
    if (list->expires <= now)
        return refuseList(refused(Refusal::ListExpired, 0, 0, list->expires));
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
    case Refusal::ListMalformed:
        return localized("ReleaseListMalformed").arg(verdict.detail);
    case Refusal::KeySetMalformed:
        return localized("ReleaseKeySetMalformed").arg(verdict.detail);
    case Refusal::RootSignature:
        return localized("ReleaseRootInvalid").arg(verdict.offered);
    case Refusal::StateNotSaved:
        return localized("ReleaseTrustStateNotSaved").arg(stateFile, verdict.detail);
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
        return localized("ReleaseTrustStateDamaged").arg(stateFile, verdict.detail);
    }
    return QString();
}
