#include "upgrade/DeviceInformation.h"

#include "upgrade/ControllerProtocol.h"

bool DeviceInformation::fill(const QByteArray& reply)
{
    return ControllerProtocol::readDeviceInformation(reply, *this);
}

QString DeviceInformation::hardwareVersion() const
{
    return QString::asprintf("%d.%02d", hardwarev_ver[1], hardwarev_ver[0]);
}

QString DeviceInformation::bluetoothVersion() const
{
    return QString::asprintf("%d.%02d", bluetooth_ver[1], bluetooth_ver[0]);
}

QString DeviceInformation::softwareVersion() const
{
    return QString::asprintf("%d.%d", software_ver[1], software_ver[0]);
}

QString DeviceInformation::gcmVersion() const
{
    return QString::asprintf("%d.%02d", gcmprotocol_ver[1], gcmprotocol_ver[0]);
}

QString DeviceInformation::productDateString() const
{
    return QString::asprintf("%04d%02d%02d", year, month, day);
}

QString DeviceInformation::productionDate() const
{
    return QString::asprintf("%04d-%02d-%02d", year, month, day);
}

QString DeviceInformation::macAddressWithoutColon() const
{
    return QString::asprintf("%02X%02X%02X%02X%02X%02X", local_bt_addr[0], local_bt_addr[1], local_bt_addr[2],
        local_bt_addr[3], local_bt_addr[4], local_bt_addr[5]);
}

QString DeviceInformation::bootVer() const
{
    return QString::asprintf("%d.%d", bootsoftware_ver[0], bootsoftware_ver[1]);
}

QString DeviceInformation::updateTime() const
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d", year, month, day, hour, minute);
}
