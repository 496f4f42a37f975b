#pragma once

#include "platform/transport/EAAccessory.h"

#include <QObject>

#include <vector>

class AccessoryTransport;

extern const QString EAAccessoryDidConnectNotification;
extern const QString EAAccessoryDidDisconnectNotification;
extern const QString EAAccessoryKey;

// The accessory manager: lists the attached accessories and announces their
// arrival and departure. Transports attach and detach accessories.
class EAAccessoryManager : public QObject {
    Q_OBJECT
public:
    static EAAccessoryManager& sharedAccessoryManager();

    std::vector<EAAccessoryPtr> connectedAccessories() const { return m_connected; }
    // Until this is called no connect or disconnect notification is posted.
    void registerForLocalNotifications();
    void unregisterForLocalNotifications();
    bool isRegisteredForLocalNotifications() const { return m_registered; }

    // Transports report attachments here; the manager takes ownership of the transport.
    void addTransport(AccessoryTransport* transport);
    const std::vector<AccessoryTransport*>& transports() const { return m_transports; }
    void attachAccessory(const EAAccessoryPtr& accessory);
    void detachAccessory(const EAAccessoryPtr& accessory);

signals:
    // For the tools and tests, whether or not notifications are registered.
    void accessoryAttached(const EAAccessoryPtr& accessory);
    void accessoryDetached(const EAAccessoryPtr& accessory);

private:
    EAAccessoryManager() = default;
    std::vector<EAAccessoryPtr> m_connected;
    std::vector<AccessoryTransport*> m_transports;
    bool m_registered = false;
};
