#include "platform/transport/EAAccessoryManager.h"

#include "platform/transport/AccessoryTransport.h"
#include "platform/runtime/NotificationCenter.h"

#include <algorithm>

const QString EAAccessoryDidConnectNotification = QStringLiteral("EAAccessoryDidConnectNotification");
const QString EAAccessoryDidDisconnectNotification = QStringLiteral("EAAccessoryDidDisconnectNotification");
const QString EAAccessoryKey = QStringLiteral("EAAccessoryKey");

EAAccessoryManager& EAAccessoryManager::sharedAccessoryManager()
{
    static EAAccessoryManager* instance = new EAAccessoryManager; // lives as long as the process
    return *instance;
}

void EAAccessoryManager::registerForLocalNotifications()
{
    m_registered = true;
}

void EAAccessoryManager::unregisterForLocalNotifications()
{
    m_registered = false;
}

void EAAccessoryManager::addTransport(AccessoryTransport* transport)
{
    transport->setParent(this);
    m_transports.push_back(transport);
}

void EAAccessoryManager::attachAccessory(const EAAccessoryPtr& accessory)
{
    if (!accessory || std::find(m_connected.begin(), m_connected.end(), accessory) != m_connected.end())
        return;
    m_connected.push_back(accessory);
    emit accessoryAttached(accessory);
    if (m_registered) {
        QVariantMap info;
        info.insert(EAAccessoryKey, QVariant::fromValue(accessory));
        NotificationCenter::defaultCenter().postNotification(EAAccessoryDidConnectNotification, {}, info);
    }
}

void EAAccessoryManager::detachAccessory(const EAAccessoryPtr& accessory)
{
    auto it = std::find(m_connected.begin(), m_connected.end(), accessory);
    if (it == m_connected.end())
        return;
    m_connected.erase(it);
    if (EAAccessoryDelegate* delegate = accessory->delegate())
        delegate->accessoryDidDisconnect(accessory.get());
    emit accessoryDetached(accessory);
    if (m_registered) {
        QVariantMap info;
        info.insert(EAAccessoryKey, QVariant::fromValue(accessory));
        NotificationCenter::defaultCenter().postNotification(EAAccessoryDidDisconnectNotification, {}, info);
    }
}
