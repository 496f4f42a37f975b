#include "upgrade/LinkRecorder.h"

#include "platform/transport/EAAccessoryManager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

LinkRecorder::LinkRecorder(EAAccessoryManager& accessories, QObject* parent)
    : QObject(parent)
    , m_accessories(accessories)
{
}

LinkRecorder::~LinkRecorder() = default;

bool LinkRecorder::open(const QString& path, const QString& device, QString* error, const QString& location)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    m_clock.start();
    write({ { QStringLiteral("recording"), kFormatName }, { QStringLiteral("version"), kFormatVersion },
        { QStringLiteral("device"), device },
        { QStringLiteral("program"),
            QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion()) },
        { QStringLiteral("started"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate) } });
    EAAccessoryManager& manager = m_accessories;
    const auto event = [this, location](const char* name, const EAAccessoryPtr& accessory) {
        if (!location.isEmpty() && (!accessory || accessory->location() != location))
            return;
        write({ { QStringLiteral("t"), seconds() }, { QStringLiteral("event"), QLatin1String(name) },
            { QStringLiteral("connection"), qint64(accessory ? accessory->connectionID() : 0) },
            { QStringLiteral("location"), accessory ? accessory->location() : QString() } });
    };
    connect(&manager, &EAAccessoryManager::accessoryAttached, this,
        [event](const EAAccessoryPtr& accessory) { event("attach", accessory); });
    connect(&manager, &EAAccessoryManager::accessoryDetached, this,
        [event](const EAAccessoryPtr& accessory) { event("detach", accessory); });
    return true;
}

ZelFirmwareUpgradeManager::LinkTap LinkRecorder::tap()
{
    return [this](bool written, const QByteArray& bytes) {
        write({ { QStringLiteral("t"), seconds() },
            { QStringLiteral("to"), written ? QStringLiteral("controller") : QStringLiteral("host") },
            { QStringLiteral("bytes"), QString::fromLatin1(bytes.toHex()) } });
    };
}

void LinkRecorder::finish(int exitCode, const QString& versions)
{
    write({ { QStringLiteral("t"), seconds() }, { QStringLiteral("event"), QStringLiteral("end") },
        { QStringLiteral("exit"), exitCode }, { QStringLiteral("versions"), versions } });
    m_file.close();
}

double LinkRecorder::seconds() const
{
    // Microseconds are enough to keep the order of pieces a few apart.
    return double(m_clock.nsecsElapsed() / 1000) / 1e6;
}

void LinkRecorder::write(const QJsonObject& line)
{
    if (!m_file.isOpen())
        return;
    m_file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    // A recording ends where the program did, also when it crashed.
    m_file.flush();
}
