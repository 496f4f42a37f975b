#include "platform/transport/SerialPortScanner.h"

#include "platform/runtime/Localization.h"
#include "platform/transport/SerialAccessoryTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// A hexadecimal id as the kernel lists it in a USB device's folder ("2341\n").
std::optional<quint16> readId(const QDir& device, const QString& name)
{
    QFile file(device.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const uint value = QString::fromLatin1(file.read(16)).trimmed().toUInt(&ok, 16);
    return ok && value <= 0xFFFF ? std::optional<quint16>(quint16(value)) : std::nullopt;
}

} // namespace

SerialPortScanner::SerialPortScanner(EAAccessoryManager& accessories, const QStringList& protocols, QObject* parent)
    : AccessoryTransport(accessories, protocols, parent)
{
    m_timer.setInterval(kScanIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SerialPortScanner::scan);
    connect(&m_hotplug, &DeviceHotplugMonitor::devicesChanged, this, [this] {
        scan();
        // A watch that gave up leaves the timer to notice devices.
        if (m_hotplug.method() == DeviceHotplugMonitor::Method::None && !m_timer.isActive())
            m_timer.start();
    });
}

void SerialPortScanner::setDeviceFolders(const QString& deviceFolder, const QString& udevControl)
{
    m_deviceFolder = deviceFolder;
    m_udevControl = udevControl;
}

void SerialPortScanner::start()
{
    scan();
    if (m_hotplug.start(DeviceHotplugMonitor::kSerialSubsystem, m_deviceFolder, m_udevControl)
        == DeviceHotplugMonitor::Method::None)
        m_timer.start();
}

QString SerialPortScanner::description() const
{
    return QStringLiteral("usb-serial");
}

QList<SerialPortScanner::Device> SerialPortScanner::usbSerialDevicesWithIdentity() const
{
    QList<Device> devices;
    const QDir terminals(m_terminalClassFolder);
    for (const QString& name : terminals.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        // A virtual terminal has no device; a built-in port's lies on no USB device.
        const QString device = QFileInfo(terminals.filePath(name + QStringLiteral("/device"))).canonicalFilePath();
        if (device.isEmpty())
            continue;
        // The USB device is the nearest folder above with a vendor id.
        for (QDir dir(device); dir.cdUp();) {
            const std::optional<quint16> vendor = readId(dir, QStringLiteral("idVendor"));
            if (!vendor && !QFileInfo::exists(dir.filePath(QStringLiteral("idVendor"))))
                continue;
            const std::optional<quint16> product = readId(dir, QStringLiteral("idProduct"));
            Device found { QDir(m_deviceFolder).filePath(name), std::nullopt };
            if (vendor && product)
                found.identity = UsbIdentity { *vendor, *product };
            devices.append(found);
            break;
        }
    }
    return devices;
}

QStringList SerialPortScanner::usbSerialDevices() const
{
    QStringList paths;
    for (const Device& device : usbSerialDevicesWithIdentity())
        paths.append(device.path);
    return paths;
}

void SerialPortScanner::scan()
{
    for (const Device& device : usbSerialDevicesWithIdentity()) {
        if (m_followed.contains(device.path))
            continue;
        if (!device.identity || !m_identities.contains(*device.identity)) {
            // Never opened: opening alone restarts some boards, and whatever
            // it is was never asked to hear the controller's protocol.
            const auto seen = std::find_if(m_skipped.cbegin(), m_skipped.cend(),
                [&device](const Skipped& skipped) { return skipped.path == device.path; });
            if (seen == m_skipped.cend())
                m_skipped.append({ device.path,
                    localized("UsbDeviceNotDeclared")
                        .arg(device.identity ? device.identity->text() : QStringLiteral("????:????")) });
            continue;
        }
        // Each followed port keeps its own transport, which handles the port
        // going away and coming back.
        m_followed.insert(device.path);
        auto* transport = new SerialAccessoryTransport(accessories(), device.path, protocols(), this);
        connect(transport, &AccessoryTransport::permissionDenied, this, &AccessoryTransport::permissionDenied);
        m_transports.append(transport);
        transport->start();
    }
}

QString SerialPortScanner::skippedText() const
{
    QStringList parts;
    for (const Skipped& skipped : m_skipped)
        parts << QStringLiteral("%1 (%2)").arg(skipped.path, skipped.reason);
    return parts.join(QStringLiteral(", "));
}

QString SerialPortScanner::lastError() const
{
    QStringList errors;
    for (const SerialAccessoryTransport* transport : m_transports)
        if (!transport->lastError().isEmpty())
            errors << transport->lastError();
    if (!errors.isEmpty())
        return errors.join(QLatin1Char('\n'));
    if (!m_transports.isEmpty())
        return QString();
    if (m_skipped.isEmpty())
        return QStringLiteral("no USB serial device found");
    return localized("NoDeclaredUsbDevice").arg(skippedText());
}
