#include "platform/transport/EAAccessory.h"

#include "platform/transport/AccessoryLink.h"

#include <QPointer>

struct EAAccessory::LinkRef {
    QPointer<AccessoryLink> link;
};

std::shared_ptr<EAAccessory> EAAccessory::create(
    const QStringList& protocolStrings, AccessoryLink* link, const QString& location)
{
    static quint64 nextConnectionID = 1;
    std::shared_ptr<EAAccessory> accessory(new EAAccessory);
    accessory->m_protocolStrings = protocolStrings;
    accessory->m_connectionID = nextConnectionID++;
    accessory->m_location = location;
    accessory->m_link = std::make_unique<LinkRef>();
    accessory->m_link->link = link;
    return accessory;
}

EAAccessory::~EAAccessory() = default;

AccessoryLink* EAAccessory::link() const
{
    return m_link ? m_link->link.data() : nullptr;
}

bool EAAccessory::isConnected() const
{
    const AccessoryLink* l = link();
    return l && l->isAttached();
}
