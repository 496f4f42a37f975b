#include "upgrade/ControllerRegistry.h"

#include "platform/runtime/InfoDictionary.h"
#include "platform/transport/EAAccessoryManager.h"

#include <algorithm>

ControllerRegistry& ControllerRegistry::sharedRegistry()
{
    // Made on first use, never destroyed, like the accessory manager it follows.
    static ControllerRegistry* registry = new ControllerRegistry(
        EAAccessoryManager::sharedAccessoryManager(), InfoDictionary::mainBundle().supportedAccessoryProtocols());
    return *registry;
}

ControllerRegistry::ControllerRegistry(
    EAAccessoryManager& accessories, const QStringList& declaredProtocols, QObject* parent)
    : QObject(parent)
    , m_declaredProtocols(declaredProtocols)
{
    // The manager's signals come before its notifications: whoever hears of
    // an attachment finds its controller here already.
    connect(&accessories, &EAAccessoryManager::accessoryAttached, this, &ControllerRegistry::attach);
    connect(&accessories, &EAAccessoryManager::accessoryDetached, this, &ControllerRegistry::detach);
    accessories.registerForLocalNotifications();
    for (const EAAccessoryPtr& accessory : accessories.connectedAccessories())
        attach(accessory);
}

bool ControllerRegistry::offersDeclaredProtocol(const EAAccessoryPtr& accessory) const
{
    if (!accessory)
        return false;
    const QStringList offered = accessory->protocolStrings();
    return std::any_of(offered.begin(), offered.end(),
        [this](const QString& protocol) { return m_declaredProtocols.contains(protocol); });
}

QList<ControllerRegistry::ControllerPtr> ControllerRegistry::controllersAt(const QString& location) const
{
    if (location.isEmpty())
        return m_attached;
    QList<ControllerPtr> there;
    for (const ControllerPtr& controller : m_attached)
        if (controller->location() == location)
            there.append(controller);
    return there;
}

ControllerRegistry::ControllerPtr ControllerRegistry::controller(quint64 connection) const
{
    for (const ControllerPtr& controller : m_attached)
        if (controller->connection() == connection)
            return controller;
    return nullptr;
}

ControllerRegistry::ControllerPtr ControllerRegistry::identifiedOn(quint64 connection) const
{
    if (ControllerPtr attached = controller(connection); attached && attached->isIdentified())
        return attached;
    for (const ControllerPtr& gone : m_gone)
        if (gone->connection() == connection)
            return gone;
    return nullptr;
}

void ControllerRegistry::recordAnswer(const EAAccessoryPtr& accessory, const DeviceInformation& record)
{
    if (!accessory)
        return;
    if (!controller(accessory->connectionID()) && accessory->isConnected())
        attach(accessory);
    const ControllerPtr answered = controller(accessory->connectionID());
    if (!answered)
        return;
    answered->recordAnswer(record);
    const ControllerPtr before = m_gone.take(answered->address());
    emit controllerIdentified(answered, before ? before->connection() : 0);
}

void ControllerRegistry::attach(const EAAccessoryPtr& accessory)
{
    if (!offersDeclaredProtocol(accessory) || controller(accessory->connectionID()))
        return;
    const auto made = std::make_shared<Controller>(accessory);
    m_attached.append(made);
    emit controllerAttached(made);
}

void ControllerRegistry::detach(const EAAccessoryPtr& accessory)
{
    const ControllerPtr gone = accessory ? controller(accessory->connectionID()) : nullptr;
    if (!gone)
        return;
    m_attached.removeOne(gone);
    if (gone->isIdentified())
        m_gone.insert(gone->address(), gone);
    emit controllerLeft(gone);
}
