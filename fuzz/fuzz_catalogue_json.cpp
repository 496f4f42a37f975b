// Arbitrary release-list answers through the JSON mapping.
#include "firmware/ZelFirmware.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    if (doc.isObject())
        (void)ZelFirmware::modelArrayWithJSON(doc.object().value(QStringLiteral("data")));
    if (doc.isArray())
        (void)ZelFirmware::modelArrayWithJSON(QJsonValue(doc.array()));
    (void)ZelFirmware::modelArrayWithJSON(QJsonValue(QString::fromUtf8(bytes)));
    return 0;
}
