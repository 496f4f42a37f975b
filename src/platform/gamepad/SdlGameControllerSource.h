#pragma once

#include "platform/gamepad/EventDeviceFinder.h"
#include "platform/gamepad/GCController.h"
#include "platform/gamepad/GameControllerMappingFile.h"
#include "platform/gamepad/InputEventReader.h"
#include "platform/runtime/DeviceHotplugMonitor.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class GameControllerService;
class Timer;

struct _SDL_GameController; // SDL_GameController
struct _SDL_Joystick; // SDL_Joystick
struct SDL_ControllerSensorEvent;
struct SDL_ControllerTouchpadEvent;

// The machine's own game controllers, through SDL's game-controller layer:
// follows controllers as they are plugged in and out and feeds their buttons,
// triggers, pad and sticks into the elements of a GCController each.
// SDL's guide button is home, start is menu (and pause), back is options.
// A joystick SDL has no game-controller mapping for is followed too, as an
// unmapped controller with raw inputs only and no profile; a mapping made for
// it is kept in the mapping file and makes it a game controller at once.
// SDL 2 times its events by our poll; where the kernel's event device of a
// controller can be read, its reports are timed by the kernel instead
// (GCControllerDidReportNotification), while someone measures it. So are
// its motion sensors and touchpads delivered.
// Only one source may follow SDL at a time, since SDL has one event queue.
class SdlGameControllerSource : public QObject {
    Q_OBJECT
public:
    // SDL is polled at this rate from the event loop while a device is open;
    // it is a sampling rate, not a delay, so it does not follow the main
    // queue's time scale.
    static constexpr int kPollIntervalMs = 8;
    // With nothing open SDL is not polled at all: the kernel's device events
    // (DeviceHotplugMonitor) and SDL's own device events (a virtual device)
    // wake it. After each, SDL is polled at this slower rate for a while, in
    // which SDL itself finds the device: at once through its own device
    // watch, or where it has none by looking every 3 s.
    static constexpr int kIdlePollIntervalMs = 250;
    static constexpr double kSettleSeconds = 4.0;
    // Where no device events can be had, SDL is polled at kIdlePollIntervalMs
    // all the time, as the only way to notice devices being plugged in.
    // The mapping file in the configuration folder, in SDL's text format.
    static constexpr const char* kMappingFileName = "gamecontrollerdb.txt";
    // A larger mapping file is refused rather than read.
    static constexpr qint64 kMaxMappingFileBytes = GameControllerMappingFile::kMostBytes;

    // How SDL's subsystems are started: SDL_InitSubSystem, or for a test one
    // that fails the way SDL can. SDL itself is loaded by start() either way.
    using SubsystemInit = int (*)(std::uint32_t flags);

    // Reports the controllers it follows to service, which outlives it.
    explicit SdlGameControllerSource(GameControllerService& service, QObject* parent = nullptr);
    SdlGameControllerSource(GameControllerService& service, SubsystemInit init, QObject* parent = nullptr);
    // Reports the controllers it follows as disconnected and shuts SDL's
    // subsystems down again.
    ~SdlGameControllerSource() override;

    // Loads and starts SDL, and polling. False, with errorString() saying
    // why, when SDL cannot be loaded or started, or another source already
    // follows it. Mappings come from SDL_GAMECONTROLLERCONFIG and
    // SDL_GAMECONTROLLERCONFIG_FILE (read by SDL itself) and then from
    // mappingFilePath().
    bool start();
    bool isRunning() const { return m_running; }
    QString errorString() const { return m_error; }
    // Why the mapping file could not be used; empty when it was, or when there is none.
    QString mappingError() const { return m_mappingError; }

    // Before start(): the folder watched for devices where udev does not run,
    // and udev's control file (a test gives folders of its own).
    void setDeviceFolders(const QString& deviceFolder, const QString& udevControl);
    // Before start(): the kernel's list of input devices, where the event
    // device of a controller that SDL reads otherwise is looked for; event
    // devices are taken from the device folder.
    void setClassFolder(const QString& classFolder) { m_classFolder = classFolder; }
    // How devices being plugged in are noticed; None when by the poll alone.
    DeviceHotplugMonitor::Method hotplugMethod() const { return m_hotplug.method(); }

    // gamecontrollerdb.txt in the application's configuration folder.
    static QString mappingFilePath();

    // Adds mappings (one a line, in SDL's format) while running: a joystick
    // they map becomes a game controller, a controller they change is
    // rewired. The number of lines SDL took; -1 when not running.
    int addMappings(const QByteArray& text);
    // Keeps one mapping line in the mapping file (with this platform's name
    // where it names none) and adds it as addMappings() does. False, with
    // error in the user's words, when the file could not take it (the
    // mapping applies until the program ends all the same) or SDL refused it.
    bool saveMapping(const QByteArray& line, QString* error);

    // Within the settling time of a device event (or of the start).
    bool isSettling() const;
    // The interval the poll runs at now; 0 while it does not run.
    int pollInterval() const { return m_timer.isActive() ? m_timer.interval() : 0; }

    // Handles everything SDL has queued; the poll timer calls this.
    void poll();

private:
    struct Device {
        _SDL_GameController* handle = nullptr; // null for an unmapped joystick
        _SDL_Joystick* joystick = nullptr;
        GCControllerPtr controller;
        bool up = false, down = false, left = false, right = false;
        // Index into the controller's raw inputs by SDL button and axis;
        // for an unmapped joystick, where its buttons, axes and hats start.
        std::vector<int> rawButton, rawAxis;
        int firstButton = 0, firstAxis = 0, firstHat = 0;
        // The kernel's event device, read for the reports' times while measured.
        std::unique_ptr<InputEventReader> reader;
        bool pendingGap = false;
    };

    void loadMappingFile();
    void scanJoysticks();
    void open(int deviceIndex, int playerIndex = GCControllerPlayerIndexUnset);
    void deviceRemoved(std::int32_t instanceId);
    void rewire(std::int32_t instanceId);
    void buttonChanged(Device& device, int button, bool pressed, std::uint32_t timestamp);
    void axisChanged(Device& device, int axis, std::int16_t value, std::uint32_t timestamp);
    void sensorUpdated(Device& device, const SDL_ControllerSensorEvent& event);
    void touched(Device& device, const SDL_ControllerTouchpadEvent& event, bool down);
    void openEventDevice(Device& device, std::int32_t instanceId);
    void measure(std::int32_t instanceId, bool measuring);
    void updatePollInterval();
    // Devices may have come or gone: SDL is polled for a while to find out.
    void deviceActivity();
    static int watchDeviceEvents(void* source, union SDL_Event* event);

    GameControllerService& m_service;
    SubsystemInit m_init;
    QTimer m_timer;
    DeviceHotplugMonitor m_hotplug;
    QString m_deviceFolder = QString::fromLatin1(DeviceHotplugMonitor::kInputFolder);
    QString m_udevControl = QString::fromLatin1(DeviceHotplugMonitor::kUdevControl);
    QString m_classFolder = QString::fromLatin1(EventDeviceFinder::kClassFolder);
    std::shared_ptr<Timer> m_settle;
    bool m_running = false;
    QString m_error;
    QString m_mappingError;
    std::map<std::int32_t, Device> m_devices;
};
