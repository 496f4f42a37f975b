// Arbitrary release-list answers through the JSON mapping and the signature
// check of each release, against a fixed trusted key; and through the
// judgement of signed metadata: the input, split at its first NUL into a list
// and a key set, is judged unsigned (always refused) and then signed by the
// fuzzer's own root and release key, so that the list and key-set readers
// behind the signature checks see every input too.
#include "firmware/ReleaseSignature.h"
#include "firmware/ReleaseTrust.h"
#include "firmware/ZelFirmware.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>

namespace {

// The public key whose private half signed the seed "signed" in the corpus.
const QString kTrustedKey = QStringLiteral("Lwm3mkko6RoGwrwKPDaoqqG/mCD/eDrL3phkby3/VgM=");

void check(const QList<ZelFirmware>& records)
{
    const QByteArray key = ReleaseSignature::decodePublicKey(kTrustedKey);
    for (const ZelFirmware& f : records) {
        const ReleaseSignature::Status status = ReleaseSignature::status(f);
        (void)ReleaseSignature::statusName(status);
        // The status and a direct check with the one trusted key agree.
        if ((status == ReleaseSignature::Status::Verified)
                != ReleaseSignature::verify(key, f.version, f.sha256, f.signature)
            && !f.sha256.isEmpty() && !f.signature.isEmpty())
            __builtin_trap();
    }
}

void judge(const QByteArray& bytes)
{
    static const ReleaseSignature root = ReleaseSignature::generate();
    static const ReleaseSignature key = ReleaseSignature::generate();
    const qsizetype split = bytes.indexOf('\0');
    ReleaseTrust::Answer answer;
    answer.list = split < 0 ? bytes : bytes.left(split);
    answer.keySet = split < 0 ? QByteArray() : bytes.mid(split + 1);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const TrustState::Seen seen { 2, 2 };
    // Unsigned, or signed with the signature of other bytes: never accepted.
    answer.listSignature = key.signBytes(answer.list + 'x');
    answer.keySetSignature = root.signBytes(answer.keySet + 'x');
    if (ReleaseTrust::judge(answer, { root.publicKey() }, {}, seen, now).refusal == ReleaseTrust::Refusal::None
        || ReleaseTrust::judge(answer, {}, { key.publicKey() }, seen, now).refusal == ReleaseTrust::Refusal::None)
        __builtin_trap();
    answer.listSignature = key.signBytes(answer.list);
    answer.keySetSignature = root.signBytes(answer.keySet);
    const ReleaseTrust::Verdict verdict = ReleaseTrust::judge(answer, { root.publicKey() }, {}, seen, now);
    (void)ReleaseTrust::message(verdict);
    // Accepted: the versions held are never lowered, and the list is read as the catalogue reads it.
    if (verdict.refusal == ReleaseTrust::Refusal::None) {
        if (verdict.accepted.listVersion < seen.listVersion || verdict.accepted.keySetVersion < seen.keySetVersion)
            __builtin_trap();
        check(ZelFirmware::modelArrayWithJSON(verdict.list.value(QStringLiteral("data"))));
    }
    (void)ReleaseTrust::judge(answer, {}, { key.publicKey() }, seen, now);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool trusted = ReleaseSignature::addTrustedKey(kTrustedKey);
    (void)trusted;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (doc.isObject())
        check(ZelFirmware::modelArrayWithJSON(doc.object().value(QStringLiteral("data"))));
    if (doc.isArray())
        check(ZelFirmware::modelArrayWithJSON(QJsonValue(doc.array())));
    check(ZelFirmware::modelArrayWithJSON(QJsonValue(QString::fromUtf8(bytes))));
    judge(bytes);
    return 0;
}
