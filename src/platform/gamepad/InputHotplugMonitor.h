#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells when the machine's input devices may have come or gone, from the
// kernel's device events rather than a timer, so that an idle program sleeps:
// udev's monitor where udev runs, otherwise a watch on the device folder
// (and on its parent while the folder does not exist yet). Either is a
// descriptor in the event loop. Where neither can be had, method() is None
// and whoever needs to know must look for devices itself.
class InputHotplugMonitor : public QObject {
    Q_OBJECT
public:
    enum class Method { None, Udev, DeviceFolder };

    // Where the kernel's input devices appear.
    static constexpr const char* kDeviceFolder = "/dev/input";
    // Present while udev runs: only then does its monitor hear of anything.
    static constexpr const char* kUdevControl = "/run/udev/control";

    explicit InputHotplugMonitor(QObject* parent = nullptr);
    ~InputHotplugMonitor() override;

    // Begins watching, replacing an earlier watch. A test gives a folder of
    // its own for the device folder, and for udev's control file one that
    // does not exist.
    Method start(const QString& deviceFolder = QString::fromLatin1(kDeviceFolder),
        const QString& udevControl = QString::fromLatin1(kUdevControl));
    void stop();
    Method method() const { return m_method; }

signals:
    // Something changed among the devices; several changes may come as one.
    void devicesChanged();

private:
    bool startUdev();
    bool startFolderWatch();
    bool watchFolderOrParent();
    void readUdev();
    void readFolderEvents();
    void listen(int descriptor, void (InputHotplugMonitor::*reader)());

    Method m_method = Method::None;
    QString m_folder;
    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    int m_inotify = -1;
    int m_watch = -1;
    bool m_watchingParent = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
