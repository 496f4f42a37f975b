#include "upgrade/Controller.h"

#include <utility>

Controller::Controller(EAAccessoryPtr accessory)
    : m_accessory(std::move(accessory))
{
}

quint64 Controller::connection() const
{
    return m_accessory ? m_accessory->connectionID() : 0;
}

QString Controller::location() const
{
    return m_accessory ? m_accessory->location() : QString();
}

QString Controller::address() const
{
    return m_identified ? m_deviceInformation.macAddressWithoutColon() : QString();
}

void Controller::recordAnswer(const DeviceInformation& record)
{
    m_deviceInformation = record;
    m_identified = true;
}
