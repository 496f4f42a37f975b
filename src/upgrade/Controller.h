#pragma once

#include "platform/transport/EAAccessory.h"
#include "upgrade/DeviceInformation.h"

#include <QString>

// One attached controller: the accessory it is reached through and, once it
// answered a device information request on this attachment, who it is. The
// registry makes it when the accessory attaches; after a restart the
// controller comes back as another accessory, and so as another object.
class Controller {
public:
    explicit Controller(EAAccessoryPtr accessory);

    const EAAccessoryPtr& accessory() const { return m_accessory; }
    quint64 connection() const;
    // Where it is attached ("tcp:127.0.0.1:6000"); empty when the transport names no place.
    QString location() const;

    // Whether it answered a device information request on this attachment.
    bool isIdentified() const { return m_identified; }
    // Its last answer; all zero before it answered.
    const DeviceInformation& deviceInformation() const { return m_deviceInformation; }
    // Its Bluetooth address as DeviceInformation::macAddressWithoutColon
    // gives it; empty before it answered.
    QString address() const;

    // The answer to a device information request asked on this attachment:
    // the one way its identity is written.
    void recordAnswer(const DeviceInformation& record);

private:
    EAAccessoryPtr m_accessory;
    DeviceInformation m_deviceInformation;
    bool m_identified = false;
};
