#include "upgrade/UpgradeHistory.h"

#include "lib/RecordFile.h"
#include "lib/WriteFailure.h"
#include "platform/runtime/DocumentStore.h"
#include "upgrade/UpgradeReason.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cerrno>

namespace {

bool readArray(const QString& path, QJsonArray* out)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return false;
    *out = doc.array();
    return true;
}

// A name next to the damaged file that no earlier damaged copy holds.
QString asideName(const QString& path)
{
    QString aside = path + DocumentStore::kDamagedSuffix;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = path + DocumentStore::kDamagedSuffix + QStringLiteral("-%1").arg(n);
    return aside;
}

} // namespace

QString UpgradeRecord::reasonText() const
{
    const std::optional<UpgradeReason::Code> known = UpgradeReason::fromName(code);
    return known ? UpgradeReason(*known, arguments).text() : reason;
}

QJsonObject UpgradeRecord::toJson() const
{
    QJsonObject o {
        { QStringLiteral("started"), started.toUTC().toString(Qt::ISODate) },
        { QStringLiteral("controller"), controller },
        { QStringLiteral("before"), before },
        { QStringLiteral("release"), release },
        { QStringLiteral("source"), source },
        { QStringLiteral("outcome"), outcome },
        { QStringLiteral("reason"), reason },
        { QStringLiteral("after"), after },
        { QStringLiteral("seconds"), seconds },
        { QStringLiteral("bytes"), double(bytes) },
    };
    o.insert(QStringLiteral("code"), code);
    o.insert(
        QStringLiteral("installed"), installedKnown ? QJsonValue(QJsonArray::fromStringList(installed)) : QJsonValue());
    if (!arguments.isEmpty())
        o.insert(QStringLiteral("arguments"), QJsonArray::fromStringList(arguments));
    return o;
}

UpgradeRecord UpgradeRecord::fromJson(const QJsonObject& o)
{
    UpgradeRecord r;
    r.started = QDateTime::fromString(o.value(QStringLiteral("started")).toString(), Qt::ISODate).toUTC();
    r.controller = o.value(QStringLiteral("controller")).toString();
    r.before = o.value(QStringLiteral("before")).toString();
    r.release = o.value(QStringLiteral("release")).toString();
    r.source = o.value(QStringLiteral("source")).toString();
    r.outcome = o.value(QStringLiteral("outcome")).toString();
    r.reason = o.value(QStringLiteral("reason")).toString();
    r.code = o.value(QStringLiteral("code")).toString();
    for (const QJsonValue& v : o.value(QStringLiteral("arguments")).toArray())
        r.arguments.append(v.toString());
    r.after = o.value(QStringLiteral("after")).toString();
    // Records written before it was kept have none: unknown.
    const QJsonValue installed = o.value(QStringLiteral("installed"));
    r.installedKnown = installed.isArray();
    for (const QJsonValue& v : installed.toArray())
        r.installed.append(v.toString());
    r.seconds = o.value(QStringLiteral("seconds")).toDouble();
    r.bytes = qint64(o.value(QStringLiteral("bytes")).toDouble());
    return r;
}

UpgradeHistory::UpgradeHistory()
    : UpgradeHistory(DocumentStore::current().upgradeHistory())
{
}

UpgradeHistory::UpgradeHistory(const QString& path)
    : m_path(path)
{
}

QList<UpgradeRecord> UpgradeHistory::records(bool* ok) const
{
    QJsonArray array;
    const bool readable = readArray(m_path, &array);
    if (ok)
        *ok = readable;
    QList<UpgradeRecord> out;
    for (const QJsonValue& v : std::as_const(array))
        if (v.isObject())
            out.append(UpgradeRecord::fromJson(v.toObject()));
    return out;
}

bool UpgradeHistory::append(const UpgradeRecord& record, QString* reason) const
{
    QJsonArray array;
    if (!readArray(m_path, &array)) {
        // Whatever it holds stays readable by hand; the history starts again.
        QFile damaged(m_path);
        errno = 0;
        if (!damaged.rename(asideName(m_path))) {
            if (reason)
                *reason = WriteFailure::describe(m_path, WriteFailure::reason(damaged, errno), errno);
            return false;
        }
        array = QJsonArray();
    }
    array.append(record.toJson());
    return RecordFile::write(m_path, QJsonDocument(array).toJson(QJsonDocument::Indented), reason);
}
