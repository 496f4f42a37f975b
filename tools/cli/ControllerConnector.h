#pragma once

#include "cli/CliOptions.h"
#include "platform/transport/EAAccessory.h"

#include <QObject>
#include <QTimer>

#include <functional>

class AccessoryTransport;
class ControllerProbe;

// Reaches the controller for a command: starts the chosen transport, waits
// for an accessory that offers a declared protocol and configures the
// accessory session for it, as the application does when a controller appears.
// With no device named (auto), every USB serial device is an accessory: each
// is asked for its versions in turn and only one that answers is the controller.
class ControllerConnector : public QObject {
    Q_OBJECT
public:
    explicit ControllerConnector(const CliOptions& options, QObject* parent = nullptr);

    AccessoryTransport* transport() const { return m_transport; }

    // Calls found() once a matching accessory is attached and the session
    // configured. When the wait runs out it prints why and ends the program
    // with the no-controller exit code.
    void connect(double waitSeconds, std::function<void()> found);

    // The first attached accessory offering a declared protocol, or null.
    EAAccessoryPtr matchingAccessory() const;
    // A wait as the messages name it, in seconds.
    static QString secondsText(double seconds);

    // The devices asked, when the controller was looked for among several; null otherwise.
    const ControllerProbe* probe() const { return m_probe; }

private:
    void finish(bool found);
    void deadlinePassed();

    const CliOptions& m_options;
    AccessoryTransport* m_transport = nullptr;
    QTimer m_deadline;
    double m_waitSeconds = 0;
    std::function<void()> m_found;
    ControllerProbe* m_probe = nullptr;
    bool m_graceGiven = false;
};
