#include "cli/ThrottledRelay.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

ThrottledRelay::ThrottledRelay(quint16 serverPort, qint64 bytesPerSecond, QObject* parent)
    : QObject(parent)
    , m_listener(new QTcpServer(this))
    , m_serverPort(serverPort)
    , m_bytesPerSecond(std::max<qint64>(1, bytesPerSecond))
{
    connect(m_listener, &QTcpServer::newConnection, this, &ThrottledRelay::accept);
}

ThrottledRelay::~ThrottledRelay() = default;

quint16 ThrottledRelay::listen(const QHostAddress& address, quint16 port)
{
    if (!m_listener->listen(address, port)) {
        m_error = m_listener->errorString();
        return 0;
    }
    return m_listener->serverPort();
}

void ThrottledRelay::accept()
{
    while (QTcpSocket* client = m_listener->nextPendingConnection()) {
        auto* server = new QTcpSocket(client);
        auto* tick = new QTimer(client);
        // What the server sent and the client has not been given yet.
        auto pending = std::make_shared<QByteArray>();
        // The share of a tick, spread so that a rate below one byte a tick still moves.
        auto credit = std::make_shared<double>(0.0);
        const double perTick = double(m_bytesPerSecond) * kTickMs / 1000.0;
        connect(client, &QTcpSocket::readyRead, server, [client, server] { server->write(client->readAll()); });
        connect(server, &QTcpSocket::readyRead, client, [server, pending] { *pending += server->readAll(); });
        connect(tick, &QTimer::timeout, client, [client, server, pending, credit, perTick] {
            *credit = std::min(*credit + perTick, perTick * 10);
            const qsizetype share = std::min<qsizetype>(pending->size(), qsizetype(*credit));
            if (share > 0) {
                client->write(pending->left(share));
                pending->remove(0, share);
                *credit -= double(share);
            }
            // The server is done and everything it said has gone out.
            if (pending->isEmpty() && server->state() == QAbstractSocket::UnconnectedState)
                client->disconnectFromHost();
        });
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        tick->start(kTickMs);
        server->connectToHost(QHostAddress::LocalHost, m_serverPort);
        if (client->bytesAvailable() > 0)
            server->write(client->readAll());
    }
}
