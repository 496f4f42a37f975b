#include "sim/SimTcpServer.h"

#include "sim/SimulatedController.h"

#include <utility>

SimTcpServer::SimTcpServer(SimDevice* device, QObject* parent)
    : QObject(parent)
    , m_controller(device)
{
    wire(device);
    connect(&m_server, &QTcpServer::newConnection, this, &SimTcpServer::onNewConnection);
}

SimulatedController* SimTcpServer::controller() const
{
    return qobject_cast<SimulatedController*>(m_controller);
}

void SimTcpServer::wire(SimDevice* controller)
{
    controller->setParent(this);
    controller->replySink = [this, controller](const QByteArray& bytes) {
        if (m_controller == controller && m_host && m_host->state() == QAbstractSocket::ConnectedState) {
            m_host->write(bytes);
            m_host->flush();
        }
    };
    controller->detachRequested = [this] { detach(); };
    controller->attachRequested = [this] { attach(); };
}

void SimTcpServer::handOver(SimDevice* next)
{
    SimDevice* previous = std::exchange(m_controller, next);
    previous->replySink = nullptr;
    previous->detachRequested = nullptr;
    previous->attachRequested = nullptr;
    wire(next);
    next->plugIn();
}

SimTcpServer::~SimTcpServer()
{
    m_controller->replySink = nullptr;
    m_controller->detachRequested = nullptr;
    m_controller->attachRequested = nullptr;
    m_server.close();
    if (QTcpSocket* socket = m_host) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool SimTcpServer::listen(const QHostAddress& address, quint16 port)
{
    m_address = address;
    if (!m_server.listen(address, port))
        return false;
    m_port = m_server.serverPort(); // keep the port across restarts, also when 0 was asked
    m_controller->plugIn();
    return true;
}

void SimTcpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_host) {
            socket->abort(); // one host at a time
            socket->deleteLater();
            continue;
        }
        m_host = socket;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { m_controller->receive(socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_host == socket)
                dropHost();
        });
        emit hostConnected();
    }
}

void SimTcpServer::dropHost()
{
    QTcpSocket* socket = m_host;
    m_host = nullptr;
    if (!socket)
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    emit hostDisconnected();
}

void SimTcpServer::detach()
{
    // Unplugged or restarting: the host loses its connection and cannot
    // reconnect until the controller is back.
    m_server.close();
    dropHost();
}

void SimTcpServer::attach()
{
    if (!m_server.isListening())
        m_server.listen(m_address, m_port);
}
