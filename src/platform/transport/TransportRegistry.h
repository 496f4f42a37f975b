#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class EAAccessoryManager;
class AccessoryTransport;
struct DeviceAddress;

// Who makes the transport for each kind of device address. The TCP bridge,
// the serial device and the USB serial scanner are built in; layers above the
// platform add theirs (the simulator library adds "sim"), so that choosing a
// device never makes the core depend on them.
class TransportRegistry {
public:
    // A factory's transport attaches its accessories to the manager it is given.
    using Factory = std::function<AccessoryTransport*(
        EAAccessoryManager& accessories, const DeviceAddress& address, const QStringList& protocols)>;

    // Makes scheme's transports with factory from now on (replacing an earlier one).
    static void add(const QString& scheme, Factory factory);
    static bool contains(const QString& scheme);
    // A new transport for address; null when nobody provides its scheme.
    static AccessoryTransport* create(
        EAAccessoryManager& accessories, const DeviceAddress& address, const QStringList& protocols);
};
