#include "platform/transport/EASession.h"

#include "platform/transport/AccessoryLink.h"
#include "platform/transport/ByteStream.h"

std::shared_ptr<EASession> EASession::create(const EAAccessoryPtr& accessory, const QString& protocolString)
{
    if (!accessory || !accessory->protocolStrings().contains(protocolString))
        return nullptr;
    AccessoryLink* link = accessory->link();
    if (!link || !link->claim())
        return nullptr; // gone, or a session already holds it
    std::shared_ptr<EASession> session(new EASession);
    session->m_accessory = accessory;
    session->m_protocolString = protocolString;
    session->m_input = std::make_unique<InputStream>(link);
    session->m_output = std::make_unique<OutputStream>(link);
    return session;
}

EASession::~EASession()
{
    if (AccessoryLink* link = m_accessory ? m_accessory->link() : nullptr)
        link->release();
}
