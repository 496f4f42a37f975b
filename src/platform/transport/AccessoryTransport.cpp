#include "platform/transport/AccessoryTransport.h"

#include "platform/transport/AccessoryLink.h"
#include "platform/transport/EAAccessoryManager.h"

AccessoryTransport::AccessoryTransport(EAAccessoryManager& accessories, const QStringList& protocols, QObject* parent)
    : QObject(parent)
    , m_accessories(accessories)
    , m_protocols(protocols)
{
}

AccessoryTransport::~AccessoryTransport() = default;

void AccessoryTransport::attachAccessory(AccessoryLink* link)
{
    detachAccessory();
    m_accessory = EAAccessory::create(m_protocols, link, description());
    m_accessories.attachAccessory(m_accessory);
}

void AccessoryTransport::detachAccessory()
{
    EAAccessoryPtr gone = std::exchange(m_accessory, nullptr);
    if (!gone)
        return;
    if (AccessoryLink* link = gone->link())
        link->markDetached();
    // Bytes that arrived before the loss must reach the session before the
    // disconnection is announced (a controller acknowledges its end command,
    // then restarts): the link delivers them on the next turn of the event
    // loop and the stream raises its event on the turn after.
    EAAccessoryManager* manager = &m_accessories;
    QMetaObject::invokeMethod(
        manager,
        [manager, gone] {
            QMetaObject::invokeMethod(
                manager, [manager, gone] { manager->detachAccessory(gone); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}
