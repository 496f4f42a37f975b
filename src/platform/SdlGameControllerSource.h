#pragma once

#include "platform/GCController.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <map>

struct _SDL_GameController; // SDL_GameController

// The machine's own game controllers, through SDL's game-controller layer:
// follows controllers as they are plugged in and out and feeds their buttons,
// triggers, pad and sticks into the elements of a GCController each.
// SDL's guide button is home, start is menu (and pause), back is options.
// Only one source may follow SDL at a time, since SDL has one event queue.
class SdlGameControllerSource : public QObject {
    Q_OBJECT
public:
    // SDL is polled at this rate from the event loop; it is a sampling rate,
    // not a delay, so it does not follow the main queue's time scale.
    static constexpr int kPollIntervalMs = 8;

    // How SDL's subsystems are started: SDL_InitSubSystem, or for a test one
    // that fails the way SDL can.
    using SubsystemInit = int (*)(std::uint32_t flags);

    explicit SdlGameControllerSource(QObject* parent = nullptr);
    explicit SdlGameControllerSource(SubsystemInit init, QObject* parent = nullptr);
    // Reports the controllers it follows as disconnected and shuts SDL's
    // subsystems down again.
    ~SdlGameControllerSource() override;

    // Starts SDL and polling. False, with errorString() saying why, when SDL
    // cannot start or another source already follows it.
    bool start();
    bool isRunning() const { return m_running; }
    QString errorString() const { return m_error; }

    // Handles everything SDL has queued; the poll timer calls this.
    void poll();

private:
    struct Device {
        _SDL_GameController* handle = nullptr;
        GCControllerPtr controller;
        bool up = false, down = false, left = false, right = false;
    };

    void deviceAdded(int deviceIndex);
    void deviceRemoved(std::int32_t instanceId);
    void buttonChanged(Device& device, int button, bool pressed);
    void axisChanged(Device& device, int axis, std::int16_t value);

    SubsystemInit m_init;
    QTimer m_timer;
    bool m_running = false;
    QString m_error;
    std::map<std::int32_t, Device> m_devices;
};
