#pragma once

#include "platform/runtime/DeviceHotplugMonitor.h"
#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/UsbIdentity.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <optional>

class SerialAccessoryTransport;

// Watches for USB serial devices and follows each one that is the
// controller's with a serial transport: what "the first attached controller"
// means when the user names no device. The controller is recognised by its
// USB identity (vendor and product id): a device with another identity (a
// board whose port restarts it when opened, a modem, a GPS receiver) is never
// opened and never written, only listed as skipped. It looks again at each of
// the kernel's device events, and every kScanIntervalMs only where it can have
// none. The devices are read from the kernel's own listing: no serial-port
// library is loaded.
class SerialPortScanner : public AccessoryTransport {
    Q_OBJECT
public:
    static constexpr int kScanIntervalMs = 500;
    // Where the kernel lists its terminals, each with a link to its device.
    static constexpr const char* kTerminalClassFolder = "/sys/class/tty";

    // A USB serial device the scan found.
    struct Device {
        QString path; // its device file
        std::optional<UsbIdentity> identity; // none when the kernel lists none
    };
    // One that is not the controller's, and why.
    struct Skipped {
        QString path;
        QString reason; // "2341:0043: not a declared controller", localised
    };

    SerialPortScanner(EAAccessoryManager& accessories, const QStringList& protocols, QObject* parent = nullptr);

    // Before start(): the folder watched for devices where udev does not
    // run, and udev's control file (a test gives folders of its own).
    void setDeviceFolders(const QString& deviceFolder, const QString& udevControl);
    // Before start(): where the terminals are listed (a test gives a tree of its own).
    void setTerminalClassFolder(const QString& folder) { m_terminalClassFolder = folder; }
    // The identities of the controller: the declared ones unless set.
    void setUsbIdentities(const QList<UsbIdentity>& identities) { m_identities = identities; }
    const QList<UsbIdentity>& usbIdentities() const { return m_identities; }
    // The device files of the USB serial devices there now: the terminals
    // whose device lies below a USB device (one with a vendor id), in the
    // device folder, by name.
    QStringList usbSerialDevices() const;
    // The same with the identity of each one's USB device.
    QList<Device> usbSerialDevicesWithIdentity() const;
    // The devices seen and not followed, in the order they were seen.
    const QList<Skipped>& skippedDevices() const { return m_skipped; }
    // "PATH (REASON), …" of the skipped devices; empty for none.
    QString skippedText() const;
    void start() override;
    QString description() const override;
    // Why no controller is reachable: no USB serial device, none with a
    // declared identity (and the devices skipped), or what each followed
    // port's transport says (a port without permission, one gone).
    QString lastError() const override;
    // Whether it looks for devices on a timer, for want of device events.
    bool isPolling() const { return m_timer.isActive(); }

private:
    void scan();

    QSet<QString> m_followed;
    QList<SerialAccessoryTransport*> m_transports;
    QList<Skipped> m_skipped;
    QList<UsbIdentity> m_identities = UsbIdentity::declared();
    QTimer m_timer;
    DeviceHotplugMonitor m_hotplug;
    QString m_deviceFolder = QString::fromLatin1(DeviceHotplugMonitor::kSerialFolder);
    QString m_udevControl = QString::fromLatin1(DeviceHotplugMonitor::kUdevControl);
    QString m_terminalClassFolder = QString::fromLatin1(kTerminalClassFolder);
};
