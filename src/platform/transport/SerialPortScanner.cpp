#include "platform/transport/SerialPortScanner.h"

#include "platform/transport/SerialAccessoryTransport.h"

#include <QDir>
#include <QFileInfo>

SerialPortScanner::SerialPortScanner(const QStringList& protocols, QObject* parent)
    : AccessoryTransport(protocols, parent)
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

QStringList SerialPortScanner::usbSerialDevices() const
{
    QStringList devices;
    const QDir terminals(m_terminalClassFolder);
    for (const QString& name : terminals.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        // A virtual terminal has no device; a built-in port's lies on no USB device.
        const QString device = QFileInfo(terminals.filePath(name + QStringLiteral("/device"))).canonicalFilePath();
        if (device.isEmpty())
            continue;
        bool onUsb = false;
        for (QDir dir(device); !onUsb && dir.cdUp();)
            onUsb = QFileInfo::exists(dir.filePath(QStringLiteral("idVendor")));
        if (onUsb)
            devices.append(QDir(m_deviceFolder).filePath(name));
    }
    return devices;
}

void SerialPortScanner::scan()
{
    for (const QString& path : usbSerialDevices()) {
        if (m_followed.contains(path))
            continue;
        // Each followed port keeps its own transport, which handles the port
        // going away and coming back.
        m_followed.insert(path);
        auto* transport = new SerialAccessoryTransport(path, protocols(), this);
        transport->start();
    }
    setLastError(m_followed.isEmpty() ? QStringLiteral("no USB serial device found") : QString());
}
