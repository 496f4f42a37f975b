#include "platform/transport/AccessoryLink.h"

AccessoryLink::AccessoryLink(QObject* parent)
    : QObject(parent)
{
}

void AccessoryLink::markDetached()
{
    if (!m_attached)
        return;
    m_attached = false;
    emit detached();
}

bool AccessoryLink::claim()
{
    if (m_claimed || !m_attached)
        return false;
    m_claimed = true;
    return true;
}

void AccessoryLink::release()
{
    m_claimed = false;
}
