#pragma once

#include <QString>
#include <QStringList>

class AccessoryTransport;
class SimulatedController;

// Which controller to reach, as the user names it: "sim", "tcp:HOST:PORT",
// "serial:PATH", or empty for the first USB serial controller that appears.
struct DeviceAddress {
    enum class Kind { Auto, Sim, Tcp, Serial };

    Kind kind = Kind::Auto;
    QString host;
    quint16 port = 0;
    QString path;

    // False, with *error set, for a text of none of these forms.
    static bool parse(const QString& text, DeviceAddress* out, QString* error = nullptr);

    // A transport for the address, accessories offering `protocols`. For Sim,
    // the controller is taken over by the transport (a default one when null).
    AccessoryTransport* createTransport(const QStringList& protocols, SimulatedController* simulated = nullptr) const;
};
