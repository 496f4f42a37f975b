#include "firmware/ZelFirmware.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>

namespace {

QString textOf(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double: {
        const double d = value.toDouble();
        // Whole numbers print without a fraction; the range test comes first,
        // since converting a huge number to an integer is undefined.
        if (std::abs(d) < 1e15 && d == std::trunc(d))
            return QString::number(qint64(d));
        return QString::number(d, 'g', 17);
    }
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return QString(); // null, array, object, missing
    }
}

} // namespace

QMap<QString, QString> ZelFirmware::modelCustomPropertyMapper()
{
    return { { QStringLiteral("version"), QStringLiteral("ver") },
        { QStringLiteral("updateInfo"), QStringLiteral("upgrade_msg") },
        { QStringLiteral("path"), QStringLiteral("path") }, { QStringLiteral("md5"), QStringLiteral("md5file") },
        { QStringLiteral("updateTime"), QStringLiteral("upgrade_time") },
        { QStringLiteral("sha256"), QStringLiteral("sha256") }, { QStringLiteral("signature"), QStringLiteral("sig") },
        { QStringLiteral("keyId"), QStringLiteral("keyid") } };
}

ZelFirmware ZelFirmware::modelWithJSON(const QJsonObject& object)
{
    const QMap<QString, QString> keys = modelCustomPropertyMapper();
    ZelFirmware f;
    f.version = textOf(object.value(keys.value(QStringLiteral("version"))));
    f.updateInfo = textOf(object.value(keys.value(QStringLiteral("updateInfo"))));
    f.path = textOf(object.value(keys.value(QStringLiteral("path"))));
    f.md5 = textOf(object.value(keys.value(QStringLiteral("md5"))));
    f.updateTime = textOf(object.value(keys.value(QStringLiteral("updateTime"))));
    f.sha256 = textOf(object.value(keys.value(QStringLiteral("sha256"))));
    f.signature = textOf(object.value(keys.value(QStringLiteral("signature"))));
    f.keyId = textOf(object.value(keys.value(QStringLiteral("keyId"))));
    return f;
}

QList<ZelFirmware> ZelFirmware::modelArrayWithJSON(const QJsonValue& json)
{
    QJsonArray array;
    if (json.isArray()) {
        array = json.toArray();
    } else if (json.isString()) {
        const QJsonDocument doc = QJsonDocument::fromJson(json.toString().toUtf8());
        if (!doc.isArray())
            return {};
        array = doc.array();
    } else {
        return {};
    }
    QList<ZelFirmware> records;
    for (const QJsonValue& element : array)
        if (element.isObject())
            records.append(modelWithJSON(element.toObject()));
    return records;
}

QDate ZelFirmware::releaseDate() const
{
    // Both hyphens or none: "2021-0309" is no form anyone writes.
    static const QRegularExpression form(QStringLiteral("^(\\d{4})(-?)(\\d{2})\\2(\\d{2})(?:$|[T ]\\d{2}:\\d{2})"));
    const QRegularExpressionMatch match = form.match(updateTime.trimmed());
    if (!match.hasMatch())
        return QDate();
    // An impossible day (2021-02-30) gives an invalid date.
    return QDate(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
}
