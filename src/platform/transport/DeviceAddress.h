#pragma once

#include "platform/transport/UsbIdentity.h"

#include <QList>
#include <QString>
#include <QStringList>

class AccessoryTransport;
class EAAccessoryManager;

// Which controller to reach, as the user names it: "sim", "tcp:HOST:PORT",
// "serial:PATH", or empty for the first USB serial controller that appears.
struct DeviceAddress {
    enum class Kind { Auto, Sim, Tcp, Serial };

    Kind kind = Kind::Auto;
    QString host;
    quint16 port = 0;
    QString path;
    // For Auto: USB identities the user added to the declared ones (the
    // tools' --usb-id, the configuration file).
    QList<UsbIdentity> usbIdentities;

    // False, with *error set, for a text of none of these forms or of a kind
    // that no layer of this program provides (TransportRegistry).
    static bool parse(const QString& text, DeviceAddress* out, QString* error = nullptr);

    // The registry's name for the kind: "auto", "sim", "tcp" or "serial".
    QString scheme() const;

    // A transport for the address from the TransportRegistry, its accessories
    // offering `protocols` and attached to `accessories`.
    AccessoryTransport* createTransport(EAAccessoryManager& accessories, const QStringList& protocols) const;
};
