#pragma once

#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/EAAccessory.h"

#include <QPointer>

class EADSessionController;
class LocalLink;
class SimulatedController;

// The simulated controller, attached in-process through a local link. The
// controller's own plug and restart decisions attach and detach it.
class SimAccessoryTransport : public AccessoryTransport {
    Q_OBJECT
public:
    // Takes ownership of the controller.
    SimAccessoryTransport(EAAccessoryManager& accessories, SimulatedController* controller,
        const QStringList& protocols, QObject* parent = nullptr);
    ~SimAccessoryTransport() override;

    // Makes "sim" device addresses reach a new simulated controller of this kind.
    static void registerAddressScheme();

    // The first attachment happens this long after start() (0: on the next event loop turn).
    void setPlugInDelayMs(int ms) { m_plugInDelayMs = ms; }
    void start() override;
    QString description() const override;
    // Where its accessories are attached (their location), "sim" unless
    // set: several simulated controllers of one process each have their own.
    void setDescription(const QString& description) { m_description = description; }

    SimulatedController* controller() const { return m_controller; }
    // The current attachment's link, for tests that tune it; null while detached.
    LocalLink* link() const;
    // Whether the session controller's session is open on the current
    // attachment, as the engine leaves it once it has followed the
    // controller's return.
    bool hasOpenSession(const EADSessionController& controller) const;

private:
    void attach();
    void detach();

    SimulatedController* m_controller;
    QPointer<LocalLink> m_link;
    int m_plugInDelayMs = 0;
    QString m_description = QStringLiteral("sim");
};
