#pragma once

#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/EAAccessory.h"

#include <QPointer>
#include <QTimer>

class SocketLink;

// A controller on a USB serial device. The port is polled while closed, so a
// controller that is plugged in (or comes back after a restart) is attached
// as a new accessory; a vanished port is a disconnect. The port is set up
// with the terminal interface and read and written by a SocketLink: no
// serial-port library is loaded.
class SerialAccessoryTransport : public AccessoryTransport {
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 500;
    static constexpr qint32 kBaudRate = 115200;

    SerialAccessoryTransport(
        EAAccessoryManager& accessories, const QString& path, const QStringList& protocols, QObject* parent = nullptr);
    ~SerialAccessoryTransport() override;

    void start() override;
    QString description() const override;
    // What the user is told when the port at path may not be opened: the
    // port, the group that owns it, and how to get access without root.
    static QString permissionMessage(const QString& path);

private:
    void tryOpen();
    void onFailed();

    QString m_path;
    QPointer<SocketLink> m_link;
    QTimer m_poll;
    bool m_deniedReported = false;
};
