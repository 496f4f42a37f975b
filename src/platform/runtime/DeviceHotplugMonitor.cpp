#include "platform/runtime/DeviceHotplugMonitor.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// What changes a device folder's list of devices, or whether a device may be
// opened (udev sets its permissions after the node appears).
constexpr uint32_t kFolderEvents
    = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kParentEvents = IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;
// Room for many events at once; inotify hands over whole events only.
constexpr size_t kEventBufferBytes = 16 * 1024;

} // namespace

DeviceHotplugMonitor::DeviceHotplugMonitor(QObject* parent)
    : QObject(parent)
{
}

DeviceHotplugMonitor::~DeviceHotplugMonitor()
{
    stop();
}

DeviceHotplugMonitor::Method DeviceHotplugMonitor::start(
    const char* subsystem, const QString& deviceFolder, const QString& udevControl)
{
    stop();
    m_folder = deviceFolder;
    if (QFile::exists(udevControl) && startUdev(subsystem))
        m_method = Method::Udev;
    else if (startFolderWatch())
        m_method = Method::DeviceFolder;
    return m_method;
}

void DeviceHotplugMonitor::stop()
{
    // Possibly from the notifier's own signal: it goes on a later turn.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
    }
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
    m_monitor = nullptr;
    m_udev = nullptr;
    if (m_inotify >= 0)
        ::close(m_inotify);
    m_inotify = -1;
    m_watch = -1;
    m_watchingParent = false;
    m_method = Method::None;
}

void DeviceHotplugMonitor::listen(int descriptor, void (DeviceHotplugMonitor::*reader)())
{
    m_notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, reader);
}

bool DeviceHotplugMonitor::startUdev(const char* subsystem)
{
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, subsystem, nullptr) < 0
        || udev_monitor_enable_receiving(m_monitor) < 0) {
        stop();
        return false;
    }
    listen(udev_monitor_get_fd(m_monitor), &DeviceHotplugMonitor::readUdev);
    return true;
}

void DeviceHotplugMonitor::readUdev()
{
    // The monitor's descriptor is non-blocking: take every device it holds.
    bool any = false;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        udev_device_unref(device);
        any = true;
    }
    if (any)
        emit devicesChanged();
}

bool DeviceHotplugMonitor::startFolderWatch()
{
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0 || !watchFolderOrParent()) {
        stop();
        return false;
    }
    listen(m_inotify, &DeviceHotplugMonitor::readFolderEvents);
    return true;
}

// Watches the folder, or while it does not exist its parent for its creation.
bool DeviceHotplugMonitor::watchFolderOrParent()
{
    if (m_watch >= 0)
        ::inotify_rm_watch(m_inotify, m_watch);
    m_watch = ::inotify_add_watch(m_inotify, QFile::encodeName(m_folder).constData(), kFolderEvents);
    m_watchingParent = false;
    if (m_watch >= 0)
        return true;
    if (errno != ENOENT)
        return false;
    m_watch = ::inotify_add_watch(
        m_inotify, QFile::encodeName(QFileInfo(m_folder).absolutePath()).constData(), kParentEvents);
    if (m_watch < 0)
        return false;
    m_watchingParent = true;
    // Made between the two calls: the parent's event for it has been missed.
    if (QFileInfo(m_folder).isDir())
        return watchFolderOrParent();
    return true;
}

void DeviceHotplugMonitor::readFolderEvents()
{
    alignas(inotify_event) char buffer[kEventBufferBytes];
    const QByteArray folderName = QFile::encodeName(QFileInfo(m_folder).fileName());
    bool changed = false;
    bool rewatch = false;
    for (;;) {
        const ssize_t n = ::read(m_inotify, buffer, sizeof buffer);
        if (n <= 0)
            break; // EAGAIN: all read
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->wd != m_watch)
                continue; // a watch given up already
            if (event->mask & IN_Q_OVERFLOW) {
                changed = true;
            } else if (event->mask & kFolderGone) {
                rewatch = changed = true; // the folder or its parent went: watch what is there now
            } else if (m_watchingParent) {
                if (event->len > 0 && folderName == event->name)
                    rewatch = changed = true;
            } else {
                changed = true;
            }
        }
    }
    if (rewatch && !watchFolderOrParent()) {
        // Neither the folder nor its parent can be watched any more: say so
        // once more and go quiet, as without a watch.
        stop();
        changed = true;
    }
    if (changed)
        emit devicesChanged();
}
