#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A controller's device information as its left side reports it: all zero at
// start, overwritten by every accepted reply. Each engine keeps the record of
// the controller it follows.
struct DeviceInformation {
    uint8_t local_bt_addr[6] = {};
    uint8_t hardwarev_ver[2] = {}; // [0] minor, [1] major
    uint8_t bluetooth_ver[2] = {}; // [0] minor, [1] major
    uint8_t software_ver[2] = {}; // [0] minor, [1] major
    uint16_t year = 0;
    uint8_t month = 0;
    uint8_t day = 0;
    uint8_t gcmprotocol_ver[2] = {}; // [0] minor, [1] major
    uint8_t bootsoftware_ver[2] = {}; // [0] major, [1] minor (the reverse of the others)
    uint8_t hour = 0; // no reply fills the update time
    uint8_t minute = 0;

    // Copies a device information reply into the record; false (and nothing
    // changes) when it is too short to hold one.
    bool fill(const QByteArray& reply);

    QString hardwareVersion() const;
    QString bluetoothVersion() const;
    QString softwareVersion() const;
    QString gcmVersion() const;
    QString productDateString() const;
    // The production date as people read it: YYYY-MM-DD.
    QString productionDate() const;
    QString macAddressWithoutColon() const;
    QString bootVer() const;
    QString updateTime() const;
};
