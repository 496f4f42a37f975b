#include "platform/transport/SerialPortScanner.h"

#include "platform/transport/SerialAccessoryTransport.h"

#include <QSerialPortInfo>

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

void SerialPortScanner::scan()
{
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (!info.hasVendorIdentifier() || m_followed.contains(info.systemLocation()))
            continue;
        // Each followed port keeps its own transport, which handles the port
        // going away and coming back.
        m_followed.insert(info.systemLocation());
        auto* transport = new SerialAccessoryTransport(info.systemLocation(), protocols(), this);
        transport->start();
    }
    setLastError(m_followed.isEmpty() ? QStringLiteral("no USB serial device found") : QString());
}
