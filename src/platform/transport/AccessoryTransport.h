#pragma once

#include "platform/transport/EAAccessory.h"

#include <QObject>
#include <QString>
#include <QStringList>

class AccessoryLink;
class EAAccessoryManager;

// A source of accessories: the simulated controller, a TCP byte bridge or a
// serial device. It attaches an accessory to the manager for each attachment
// and detaches it when the attachment ends.
class AccessoryTransport : public QObject {
    Q_OBJECT
public:
    // Its accessories offer `protocols` and are attached to `accessories`, which outlives it.
    AccessoryTransport(EAAccessoryManager& accessories, const QStringList& protocols, QObject* parent = nullptr);
    ~AccessoryTransport() override;

    virtual void start() = 0;
    // The device as the user named it, e.g. "tcp:127.0.0.1:5000".
    virtual QString description() const = 0;
    // Why the last attempt to reach the controller failed; empty when none did.
    virtual QString lastError() const { return m_lastError; }

signals:
    // The controller's port could not be opened for want of permission:
    // message names the port and the fix. Said once until the port opens.
    void permissionDenied(const QString& message);

protected:
    void setLastError(const QString& error) { m_lastError = error; }
    QStringList protocols() const { return m_protocols; }
    EAAccessoryManager& accessories() const { return m_accessories; }
    // A new attachment over link (a new accessory with a new connection identifier).
    void attachAccessory(AccessoryLink* link);
    // The current attachment ended; nothing happens without one.
    void detachAccessory();
    bool hasAccessory() const { return bool(m_accessory); }

private:
    EAAccessoryManager& m_accessories;
    QStringList m_protocols;
    QString m_lastError;
    EAAccessoryPtr m_accessory;
};
