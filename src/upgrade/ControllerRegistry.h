#pragma once

#include "upgrade/Controller.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class EAAccessoryManager;

// The controllers attached, one object each: an accessory that offers one of
// the protocols the application declares is a controller. Objects are made
// as accessories attach and dropped as they leave, before anyone hears of
// the attachment or departure. One registry serves the application, the
// command line's device search and a station's controllers alike.
//
// A controller back from a restart is another attachment, and so another
// object; the registry recognises it by the Bluetooth address it answers
// with, and keeps the identity of one that left until then.
class ControllerRegistry : public QObject {
    Q_OBJECT
public:
    using ControllerPtr = std::shared_ptr<Controller>;

    // The process's registry, over its accessory manager, of the protocols
    // the application declares.
    static ControllerRegistry& sharedRegistry();

    // Follows the accessories the manager attaches; those attached already are taken at once.
    ControllerRegistry(
        EAAccessoryManager& accessories, const QStringList& declaredProtocols, QObject* parent = nullptr);

    const QStringList& declaredProtocols() const { return m_declaredProtocols; }
    bool offersDeclaredProtocol(const EAAccessoryPtr& accessory) const;

    // The attached controllers in the order they attached.
    const QList<ControllerPtr>& controllers() const { return m_attached; }
    // Those attached at location; all of them for an empty one.
    QList<ControllerPtr> controllersAt(const QString& location) const;
    // The attached controller on this connection; null for none.
    ControllerPtr controller(quint64 connection) const;
    // The controller that was identified on this connection, attached or
    // gone since (a restart it has not come back from); null for none.
    ControllerPtr identifiedOn(quint64 connection) const;

    // The controller reached through accessory answered a device
    // information request. An accessory whose link is gone identifies nobody
    // (it left before its answer was taken); one still linked that the
    // manager never announced (a session opened on it directly) is taken as
    // a controller then.
    void recordAnswer(const EAAccessoryPtr& accessory, const DeviceInformation& record);

signals:
    void controllerAttached(const ControllerRegistry::ControllerPtr& controller);
    void controllerLeft(const ControllerRegistry::ControllerPtr& controller);
    // A controller said who it is. previousConnection is the attachment the
    // same controller (by its address) answered on before and has left
    // since, as after a restart; 0 for none.
    void controllerIdentified(const ControllerRegistry::ControllerPtr& controller, quint64 previousConnection);

private:
    void attach(const EAAccessoryPtr& accessory);
    void detach(const EAAccessoryPtr& accessory);

    QStringList m_declaredProtocols;
    QList<ControllerPtr> m_attached;
    // The identified controllers that left, by address: the last of each.
    QHash<QString, ControllerPtr> m_gone;
};
