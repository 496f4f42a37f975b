#pragma once

#include "platform/gamepad/GCController.h"

#include <QString>

#include <vector>

class SdlGameControllerSource;

// The game-controller service: the list of connected controllers and their
// connect and disconnect notifications. Input sources report here: the
// machine's own controllers through SDL, and virtual controllers.
class GameControllerService {
public:
    static GameControllerService& sharedService();

    std::vector<GCControllerPtr> controllers() const { return m_controllers; }

    // For input sources. A controller is in the list before its connect
    // notification goes out and out of it before its disconnect notification.
    // Reporting a connected controller again, or an unknown one gone, does nothing.
    void connectController(const GCControllerPtr& controller);
    void disconnectController(const GCControllerPtr& controller);

    // Starts following the machine's own controllers (once; later calls
    // report the first outcome). When that is impossible, virtual controllers
    // still work and hardwareError() says why.
    bool startHardwareControllers();
    bool isFollowingHardware() const;
    QString hardwareError() const;
    // The source that follows the machine's own controllers; null before
    // startHardwareControllers(). For mappings added at run time, and to see
    // how often it polls.
    SdlGameControllerSource* hardwareSource() const { return m_hardware; }

private:
    GameControllerService() = default;

    std::vector<GCControllerPtr> m_controllers;
    SdlGameControllerSource* m_hardware = nullptr;
};
