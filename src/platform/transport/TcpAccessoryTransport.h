#pragma once

#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/EAAccessory.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

class SocketLink;

// A controller reached through a TCP byte bridge. Each connection is one
// attachment; a closed connection is a disconnect; the transport keeps trying
// to connect every half second, so a restarting controller comes back as a
// new attachment.
class TcpAccessoryTransport : public AccessoryTransport {
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 500;

    TcpAccessoryTransport(const QString& host, quint16 port, const QStringList& protocols, QObject* parent = nullptr);
    ~TcpAccessoryTransport() override;

    void start() override;
    QString description() const override;

private:
    void connectNow();
    void onConnected();
    void onClosed();
    void dropSocket();

    QString m_host;
    quint16 m_port;
    // Connecting: the socket. Connected: the link, over the socket's descriptor.
    QPointer<QTcpSocket> m_socket;
    QPointer<SocketLink> m_link;
    QTimer m_retry;
};
