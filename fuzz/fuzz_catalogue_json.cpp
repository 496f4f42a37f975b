// Arbitrary release-list answers through the JSON mapping and the signature
// check of each release, against a fixed trusted key.
#include "firmware/ReleaseSignature.h"
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
        if ((status == ReleaseSignature::Status::Verified) != ReleaseSignature::verify(key, f.version, f.sha256, f.signature)
            && !f.sha256.isEmpty() && !f.signature.isEmpty())
            __builtin_trap();
    }
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
    return 0;
}
