#include "platform/gamepad/EventDeviceFinder.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

constexpr qint64 kMostAttributeBytes = 4096;

QString attribute(const QDir& device, const QString& name)
{
    QFile file(device.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.read(kMostAttributeBytes)).trimmed();
}

int hexAttribute(const QDir& device, const QString& name)
{
    bool ok = false;
    const int value = attribute(device, name).toInt(&ok, 16);
    return ok ? value : -1;
}

// The kernel writes the property bits as hexadecimal words, the lowest last.
bool hasProperty(const QDir& device, int bit)
{
    const QStringList words
        = attribute(device, QStringLiteral("properties")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    bool ok = false;
    const qulonglong lowest = words.last().toULongLong(&ok, 16);
    return ok && (lowest >> bit) & 1U;
}

} // namespace

EventDeviceFinder::Result EventDeviceFinder::find(const QString& sdlPath, int vendorId, int productId,
    const QString& name, const QString& deviceFolder, const QString& classFolder)
{
    const QString eventPrefix = QDir(deviceFolder).filePath(QStringLiteral("event"));
    if (sdlPath.startsWith(eventPrefix))
        return { sdlPath, GCControllerClockReason::None };
    if (vendorId <= 0 || productId <= 0)
        return { QString(), GCControllerClockReason::NoEventDevice };
    QStringList matching, named;
    const QDir classes(classFolder);
    for (const QString& entry : classes.entryList({ QStringLiteral("event*") }, QDir::Dirs | QDir::System)) {
        const QDir device(classes.filePath(entry + QStringLiteral("/device")));
        if (hexAttribute(device, QStringLiteral("id/vendor")) != vendorId
            || hexAttribute(device, QStringLiteral("id/product")) != productId
            || hasProperty(device, kAccelerometerProperty))
            continue;
        matching << entry;
        if (attribute(device, QStringLiteral("name")) == name)
            named << entry;
    }
    const QStringList& chosen = named.isEmpty() ? matching : named;
    if (chosen.isEmpty())
        return { QString(), GCControllerClockReason::NoEventDevice };
    if (chosen.size() > 1)
        return { QString(), GCControllerClockReason::SeveralEventDevices };
    return { QDir(deviceFolder).filePath(chosen.first()), GCControllerClockReason::None };
}
