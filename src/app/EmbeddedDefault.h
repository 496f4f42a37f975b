#pragma once

#include "sim/DemoEnvironment.h"

#include <QObject>

#include <memory>

class SimAccessoryTransport;
class SimulatedController;
class VirtualGameController;

// What `--simulate` runs against: the simulated controller, attached as an
// accessory and as a game controller (keyboard driven), the demo release
// server, and a throw-away documents directory. The web pages come from
// their configured site; the demo's own web server serves them only when
// asked (environment().serveWebPages()).
class EmbeddedDefault : public QObject {
    Q_OBJECT
public:
    // How long after start the controller is plugged in, so that the home
    // screen is seen first.
    static constexpr double kPlugInDelaySeconds = 1.5;
    // The demo controller's motion sensors: how often they sample, and its
    // gyroscope's bias (degrees per second about x, y, z) and noise.
    static constexpr double kMotionRateHz = 100.0;
    static constexpr float kGyroBias[3] = { 0.32f, -0.18f, 0.09f };
    static constexpr float kGyroNoise = 0.06f;

    // documents / server: the user's own choices, which win over the demo ones.
    EmbeddedDefault(const QString& documents, const QString& server, QObject* parent = nullptr);
    ~EmbeddedDefault() override;

    // The demo's release and web servers, started after the first screen has
    // been shown (or by whatever needs them first); once.
    void startServers();
    // Plugs the controller in: the accessory first, then the game controller.
    void plugIn();
    void plugInLater(double seconds = kPlugInDelaySeconds);

    SimulatedController* controller() const;
    VirtualGameController* gamepad() const { return m_gamepad.get(); }
    DemoEnvironment& environment() { return m_environment; }

    // The demo's keyboard controller.
    bool handleKey(int key, bool down);

private:
    DemoEnvironment m_environment;
    SimAccessoryTransport* m_transport = nullptr;
    std::unique_ptr<VirtualGameController> m_gamepad;
    bool m_started = false;
};
