#pragma once

#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/EAAccessory.h"

#include <QPointer>
#include <QTimer>

#include <memory>
#include <sys/socket.h>
#include <vector>

class QSocketNotifier;
class SocketLink;

// A controller reached through a TCP byte bridge. Each connection is one
// attachment; a closed connection is a disconnect; the transport keeps trying
// to connect every half second, so a restarting controller comes back as a
// new attachment. It connects with the system's own sockets: what reaches a
// controller needs no network stack of Qt's loaded.
class TcpAccessoryTransport : public AccessoryTransport {
    Q_OBJECT
public:
    static constexpr int kRetryIntervalMs = 500;

    TcpAccessoryTransport(EAAccessoryManager& accessories, const QString& host, quint16 port,
        const QStringList& protocols, QObject* parent = nullptr);
    ~TcpAccessoryTransport() override;

    void start() override;
    QString description() const override;

private:
    void connectNow();
    // Starts connecting to the resolved addresses, in their order.
    void connectTo(std::vector<sockaddr_storage> addresses);
    void tryNextAddress();
    void connectFinished();
    void onConnected(int descriptor);
    void onClosed();
    void failAttempt(const QString& error);
    void dropSocket();

    QString m_host;
    quint16 m_port;
    // Each attempt's number: a name resolved for an attempt given up is dropped.
    quint64 m_attempt = 0;
    bool m_resolving = false;
    // Connecting: the descriptor and the addresses still to try.
    int m_connecting = -1;
    std::unique_ptr<QSocketNotifier> m_connectNotifier;
    std::vector<sockaddr_storage> m_addresses;
    int m_lastErrno = 0;
    // Connected: the link, which owns the descriptor.
    QPointer<SocketLink> m_link;
    QTimer m_retry;
};
