#include "platform/transport/TransportRegistry.h"

#include "platform/transport/DeviceAddress.h"
#include "platform/transport/SerialAccessoryTransport.h"
#include "platform/transport/SerialPortScanner.h"
#include "platform/transport/TcpAccessoryTransport.h"

#include <QHash>

namespace {

QHash<QString, TransportRegistry::Factory>& factories()
{
    static QHash<QString, TransportRegistry::Factory> table {
        { QStringLiteral("auto"),
            [](const DeviceAddress&, const QStringList& protocols) { return new SerialPortScanner(protocols); } },
        { QStringLiteral("tcp"),
            [](const DeviceAddress& address, const QStringList& protocols) {
                return new TcpAccessoryTransport(address.host, address.port, protocols);
            } },
        { QStringLiteral("serial"),
            [](const DeviceAddress& address, const QStringList& protocols) {
                return new SerialAccessoryTransport(address.path, protocols);
            } },
    };
    return table;
}

} // namespace

void TransportRegistry::add(const QString& scheme, Factory factory)
{
    factories().insert(scheme, std::move(factory));
}

bool TransportRegistry::contains(const QString& scheme)
{
    return factories().contains(scheme);
}

AccessoryTransport* TransportRegistry::create(const DeviceAddress& address, const QStringList& protocols)
{
    const Factory factory = factories().value(address.scheme());
    return factory ? factory(address, protocols) : nullptr;
}
