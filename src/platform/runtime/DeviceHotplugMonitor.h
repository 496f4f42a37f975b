#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells when devices of one kind may have come or gone, from the kernel's
// device events rather than a timer, so that an idle program sleeps: udev's
// monitor where udev runs, otherwise a watch on the folder the devices appear
// in (and on its parent while the folder does not exist yet). Either is a
// descriptor in the event loop. Where neither can be had, method() is None
// and whoever needs to know must look for devices itself.
class DeviceHotplugMonitor : public QObject {
    Q_OBJECT
public:
    enum class Method { None, Udev, DeviceFolder };

    // Game controllers: udev's subsystem and the kernel's folder of them.
    static constexpr const char* kInputSubsystem = "input";
    static constexpr const char* kInputFolder = "/dev/input";
    // Serial devices.
    static constexpr const char* kSerialSubsystem = "tty";
    static constexpr const char* kSerialFolder = "/dev";
    // Present while udev runs: only then does its monitor hear of anything.
    static constexpr const char* kUdevControl = "/run/udev/control";

    explicit DeviceHotplugMonitor(QObject* parent = nullptr);
    ~DeviceHotplugMonitor() override;

    // Begins watching udev's subsystem, or the folder, replacing an earlier
    // watch. A test gives a folder of its own, and for udev's control file
    // one that does not exist.
    Method start(const char* subsystem, const QString& deviceFolder,
        const QString& udevControl = QString::fromLatin1(kUdevControl));
    void stop();
    Method method() const { return m_method; }

signals:
    // Something changed among the devices; several changes may come as one.
    void devicesChanged();

private:
    bool startUdev(const char* subsystem);
    bool startFolderWatch();
    bool watchFolderOrParent();
    void readUdev();
    void readFolderEvents();
    void listen(int descriptor, void (DeviceHotplugMonitor::*reader)());

    Method m_method = Method::None;
    QString m_folder;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_inotify = -1;
    int m_watch = -1;
    bool m_watchingParent = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
