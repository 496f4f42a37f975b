#include "platform/transport/DeviceAddress.h"

#include "platform/transport/TransportRegistry.h"

bool DeviceAddress::parse(const QString& text, DeviceAddress* out, QString* error)
{
    DeviceAddress result;
    const QString t = text.trimmed();
    if (t.isEmpty() || t == QLatin1String("auto")) {
        result.kind = Kind::Auto;
    } else if (t == QLatin1String("sim")) {
        result.kind = Kind::Sim;
    } else if (t.startsWith(QLatin1String("tcp:"))) {
        const QString rest = t.mid(4);
        const int colon = rest.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const uint port = colon > 0 ? rest.mid(colon + 1).toUInt(&ok) : 0;
        if (!ok || port == 0 || port > 65535) {
            if (error)
                *error = t;
            return false;
        }
        result.kind = Kind::Tcp;
        result.host = rest.left(colon);
        if (result.host.startsWith(QLatin1Char('[')) && result.host.endsWith(QLatin1Char(']')))
            result.host = result.host.mid(1, result.host.size() - 2);
        result.port = quint16(port);
    } else if (t.startsWith(QLatin1String("serial:")) && t.size() > 7) {
        result.kind = Kind::Serial;
        result.path = t.mid(7);
    } else {
        if (error)
            *error = t;
        return false;
    }
    // A kind this program cannot reach (no simulator in it) is no address here.
    if (!TransportRegistry::contains(result.scheme())) {
        if (error)
            *error = t;
        return false;
    }
    if (out)
        *out = result;
    return true;
}

QString DeviceAddress::scheme() const
{
    switch (kind) {
    case Kind::Sim:
        return QStringLiteral("sim");
    case Kind::Tcp:
        return QStringLiteral("tcp");
    case Kind::Serial:
        return QStringLiteral("serial");
    case Kind::Auto:
        break;
    }
    return QStringLiteral("auto");
}

AccessoryTransport* DeviceAddress::createTransport(EAAccessoryManager& accessories, const QStringList& protocols) const
{
    return TransportRegistry::create(accessories, *this, protocols);
}
