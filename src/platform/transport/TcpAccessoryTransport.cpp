#include "platform/transport/TcpAccessoryTransport.h"

#include "platform/transport/SocketLink.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>

TcpAccessoryTransport::TcpAccessoryTransport(
    const QString& host, quint16 port, const QStringList& protocols, QObject* parent)
    : AccessoryTransport(protocols, parent)
    , m_host(host)
    , m_port(port)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryIntervalMs);
    connect(&m_retry, &QTimer::timeout, this, &TcpAccessoryTransport::connectNow);
}

TcpAccessoryTransport::~TcpAccessoryTransport()
{
    m_retry.stop();
    onClosed(); // the controller is gone with its transport
    m_retry.stop();
}

void TcpAccessoryTransport::start()
{
    connectNow();
}

QString TcpAccessoryTransport::description() const
{
    return QStringLiteral("tcp:%1:%2").arg(m_host).arg(m_port);
}

void TcpAccessoryTransport::connectNow()
{
    if (m_socket || m_link)
        return;
    m_socket = new QTcpSocket(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::connected, this, &TcpAccessoryTransport::onConnected);
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpAccessoryTransport::onClosed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        setLastError(m_socket ? m_socket->errorString() : QString());
        if (m_socket && m_socket->state() != QAbstractSocket::ConnectedState)
            onClosed();
    });
    m_socket->connectToHost(m_host, m_port);
}

void TcpAccessoryTransport::onConnected()
{
    // The connection is the link's from here on: its own descriptor, a copy
    // of the socket's, outlives the socket, which only closes its own.
    const int descriptor = ::fcntl(int(m_socket->socketDescriptor()), F_DUPFD_CLOEXEC, 0);
    const int error = errno;
    dropSocket();
    if (descriptor < 0) {
        setLastError(QString::fromLocal8Bit(std::strerror(error)));
        m_retry.start();
        return;
    }
    setLastError(QString());
    m_link = new SocketLink(descriptor, this);
    connect(m_link, &SocketLink::closed, this, [this] {
        setLastError(m_link ? m_link->errorString() : QString());
        onClosed();
    });
    attachAccessory(m_link);
}

void TcpAccessoryTransport::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void TcpAccessoryTransport::onClosed()
{
    if (!m_socket && !m_link)
        return;
    dropSocket();
    if (SocketLink* link = m_link) {
        m_link = nullptr;
        link->disconnect(this);
        detachAccessory();
        link->deleteLater();
    }
    m_retry.start();
}
