#include "platform/AccessoryTransport.h"

#include "platform/AccessoryLink.h"
#include "platform/EAAccessoryManager.h"

AccessoryTransport::AccessoryTransport(const QStringList& protocols, QObject* parent)
    : QObject(parent)
    , m_protocols(protocols)
{
}

AccessoryTransport::~AccessoryTransport() = default;

void AccessoryTransport::attachAccessory(AccessoryLink* link)
{
    detachAccessory();
    m_accessory = EAAccessory::create(m_protocols, link);
    EAAccessoryManager::sharedAccessoryManager().attachAccessory(m_accessory);
}

void AccessoryTransport::detachAccessory()
{
    EAAccessoryPtr gone = std::exchange(m_accessory, nullptr);
    if (!gone)
        return;
    if (AccessoryLink* link = gone->link())
        link->markDetached();
    EAAccessoryManager::sharedAccessoryManager().detachAccessory(gone);
}
