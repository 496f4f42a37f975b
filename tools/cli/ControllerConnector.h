#pragma once

#include "cli/CliOptions.h"
#include "platform/EAAccessory.h"

#include <QObject>
#include <QTimer>

#include <functional>

class AccessoryTransport;

// Reaches the controller for a command: starts the chosen transport, waits
// for an accessory that offers a declared protocol and configures the
// accessory session for it, as the application does when a controller appears.
class ControllerConnector : public QObject {
    Q_OBJECT
public:
    explicit ControllerConnector(const CliOptions& options, QObject* parent = nullptr);

    AccessoryTransport* transport() const { return m_transport; }

    // Calls done(true) once a matching accessory is attached and the session
    // configured, or done(false) after the wait ran out (the message printed).
    void connect(double waitSeconds, std::function<void(bool)> done);

    // The first attached accessory offering a declared protocol, or null.
    static EAAccessoryPtr matchingAccessory();

private:
    void finish(bool found);

    const CliOptions& m_options;
    AccessoryTransport* m_transport = nullptr;
    QTimer m_deadline;
    std::function<void(bool)> m_done;
};
