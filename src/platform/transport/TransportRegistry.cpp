#include "platform/transport/TransportRegistry.h"

#include "platform/transport/DeviceAddress.h"
#include "platform/transport/SerialAccessoryTransport.h"
#include "platform/transport/SerialPortScanner.h"
#include "platform/transport/TcpAccessoryTransport.h"

#include <QHash>

namespace {

const char* const kScanRootVariable = "Q3DART_SCAN_ROOT";

QHash<QString, TransportRegistry::Factory>& factories()
{
    static QHash<QString, TransportRegistry::Factory> table {
        { QStringLiteral("auto"),
            [](EAAccessoryManager& accessories, const DeviceAddress& address, const QStringList& protocols) {
                auto* scanner = new SerialPortScanner(accessories, protocols);
                scanner->setUsbIdentities(UsbIdentity::declared() + address.usbIdentities);
                // A tree standing in for the system's /sys and /dev, for tests of the tools.
                if (const QString root = qEnvironmentVariable(kScanRootVariable); !root.isEmpty()) {
                    scanner->setTerminalClassFolder(root + QStringLiteral("/sys/class/tty"));
                    scanner->setDeviceFolders(
                        root + QStringLiteral("/dev"), root + QStringLiteral("/run/udev/control"));
                }
                return scanner;
            } },
        { QStringLiteral("tcp"),
            [](EAAccessoryManager& accessories, const DeviceAddress& address, const QStringList& protocols) {
                return new TcpAccessoryTransport(accessories, address.host, address.port, protocols);
            } },
        { QStringLiteral("serial"),
            [](EAAccessoryManager& accessories, const DeviceAddress& address, const QStringList& protocols) {
                return new SerialAccessoryTransport(accessories, address.path, protocols);
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

AccessoryTransport* TransportRegistry::create(
    EAAccessoryManager& accessories, const DeviceAddress& address, const QStringList& protocols)
{
    const Factory factory = factories().value(address.scheme());
    return factory ? factory(accessories, address, protocols) : nullptr;
}
