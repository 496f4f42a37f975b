#pragma once

#include "platform/runtime/DeviceHotplugMonitor.h"
#include "platform/transport/AccessoryTransport.h"

#include <QSet>
#include <QStringList>
#include <QTimer>

// Watches for USB serial devices and follows each one that appears with a
// serial transport: what "the first attached controller" means when the user
// names no device. It looks again at each of the kernel's device events, and
// every kScanIntervalMs only where it can have none. The devices are read
// from the kernel's own listing: no serial-port library is loaded.
class SerialPortScanner : public AccessoryTransport {
    Q_OBJECT
public:
    static constexpr int kScanIntervalMs = 500;
    // Where the kernel lists its terminals, each with a link to its device.
    static constexpr const char* kTerminalClassFolder = "/sys/class/tty";

    explicit SerialPortScanner(const QStringList& protocols, QObject* parent = nullptr);

    // Before start(): the folder watched for devices where udev does not
    // run, and udev's control file (a test gives folders of its own).
    void setDeviceFolders(const QString& deviceFolder, const QString& udevControl);
    // Before start(): where the terminals are listed (a test gives a tree of its own).
    void setTerminalClassFolder(const QString& folder) { m_terminalClassFolder = folder; }
    // The device files of the USB serial devices there now: the terminals
    // whose device lies below a USB device (one with a vendor id), in the
    // device folder, by name.
    QStringList usbSerialDevices() const;
    void start() override;
    QString description() const override;
    // Whether it looks for devices on a timer, for want of device events.
    bool isPolling() const { return m_timer.isActive(); }

private:
    void scan();

    QSet<QString> m_followed;
    QTimer m_timer;
    DeviceHotplugMonitor m_hotplug;
    QString m_deviceFolder = QString::fromLatin1(DeviceHotplugMonitor::kSerialFolder);
    QString m_udevControl = QString::fromLatin1(DeviceHotplugMonitor::kUdevControl);
    QString m_terminalClassFolder = QString::fromLatin1(kTerminalClassFolder);
};
