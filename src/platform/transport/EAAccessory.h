#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <memory>

class AccessoryLink;
class EAAccessory;

class EAAccessoryDelegate {
public:
    virtual ~EAAccessoryDelegate() = default;
    virtual void accessoryDidDisconnect(EAAccessory* accessory) { (void)accessory; }
};

// An attached accessory: one attachment of a controller through a transport.
// A controller that comes back after a restart is a new accessory with a new
// connection identifier.
class EAAccessory {
public:
    // location: where it is attached, as the user names a device ("serial:/dev/ttyUSB0").
    static std::shared_ptr<EAAccessory> create(
        const QStringList& protocolStrings, AccessoryLink* link, const QString& location = QString());
    ~EAAccessory();

    QStringList protocolStrings() const { return m_protocolStrings; }
    quint64 connectionID() const { return m_connectionID; }
    QString location() const { return m_location; }
    bool isConnected() const;

    void setDelegate(EAAccessoryDelegate* delegate) { m_delegate = delegate; }
    EAAccessoryDelegate* delegate() const { return m_delegate; }

    // The attachment's byte pipe; null once the transport has dropped it.
    AccessoryLink* link() const;

private:
    EAAccessory() = default;
    QStringList m_protocolStrings;
    quint64 m_connectionID = 0;
    QString m_location;
    EAAccessoryDelegate* m_delegate = nullptr;
    struct LinkRef;
    std::unique_ptr<LinkRef> m_link;
};

using EAAccessoryPtr = std::shared_ptr<EAAccessory>;
Q_DECLARE_METATYPE(EAAccessoryPtr)
