#include "platform/transport/TcpAccessoryTransport.h"

#include "platform/transport/SocketLink.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <thread>
#include <unistd.h>

namespace {

// The addresses of host (a name or a numeric address) at port; empty with
// *error set when there are none.
std::vector<sockaddr_storage> resolve(const QByteArray& host, quint16 port, int flags, QString* error)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found);
    std::vector<sockaddr_storage> addresses;
    if (result != 0) {
        *error = QString::fromLocal8Bit(result == EAI_SYSTEM ? std::strerror(errno) : ::gai_strerror(result));
        return addresses;
    }
    for (const addrinfo* a = found; a; a = a->ai_next) {
        sockaddr_storage address {};
        std::memcpy(&address, a->ai_addr, std::min<size_t>(a->ai_addrlen, sizeof address));
        addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    return addresses;
}

socklen_t lengthOf(const sockaddr_storage& address)
{
    return address.ss_family == AF_INET6 ? socklen_t(sizeof(sockaddr_in6)) : socklen_t(sizeof(sockaddr_in));
}

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

TcpAccessoryTransport::TcpAccessoryTransport(
    EAAccessoryManager& accessories, const QString& host, quint16 port, const QStringList& protocols, QObject* parent)
    : AccessoryTransport(accessories, protocols, parent)
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
    if (m_resolving || m_connecting >= 0 || m_link)
        return;
    const quint64 attempt = ++m_attempt;
    const QByteArray host = m_host.toUtf8();
    QString error;
    // A numeric address needs no lookup; a name may take long to resolve, so
    // it is looked up away from the event loop.
    std::vector<sockaddr_storage> addresses = resolve(host, m_port, AI_NUMERICHOST, &error);
    if (!addresses.empty()) {
        connectTo(std::move(addresses));
        return;
    }
    m_resolving = true;
    QPointer<TcpAccessoryTransport> self(this);
    const quint16 port = m_port;
    std::thread([self, attempt, host, port] {
        QString error;
        // Only the families this machine has an address of, as for any name.
        std::vector<sockaddr_storage> addresses = resolve(host, port, AI_ADDRCONFIG, &error);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [self, attempt, addresses = std::move(addresses), error] {
                if (!self || self->m_attempt != attempt)
                    return;
                self->m_resolving = false;
                if (addresses.empty())
                    self->failAttempt(error);
                else
                    self->connectTo(addresses);
            });
    }).detach();
}

void TcpAccessoryTransport::connectTo(std::vector<sockaddr_storage> addresses)
{
    m_addresses = std::move(addresses);
    m_lastErrno = 0;
    tryNextAddress();
}

void TcpAccessoryTransport::tryNextAddress()
{
    while (!m_addresses.empty()) {
        const sockaddr_storage address = m_addresses.front();
        m_addresses.erase(m_addresses.begin());
        const int fd = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            m_lastErrno = errno;
            continue;
        }
        // Each message is small and waited for: none may wait to be coalesced.
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        int result;
        do
            result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), lengthOf(address));
        while (result != 0 && errno == EINTR);
        // Connected at once or not, the link comes from the event loop, as the
        // connection's end does: never from inside start().
        if (result == 0 || errno == EINPROGRESS) {
            m_connecting = fd;
            m_connectNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
            connect(
                m_connectNotifier.get(), &QSocketNotifier::activated, this, &TcpAccessoryTransport::connectFinished);
            return;
        }
        m_lastErrno = errno;
        ::close(fd);
    }
    failAttempt(systemText(m_lastErrno ? m_lastErrno : ECONNREFUSED));
}

void TcpAccessoryTransport::connectFinished()
{
    const int fd = m_connecting;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    m_connectNotifier.reset();
    m_connecting = -1;
    if (error == 0) {
        onConnected(fd);
        return;
    }
    ::close(fd);
    m_lastErrno = error;
    tryNextAddress();
}

void TcpAccessoryTransport::onConnected(int descriptor)
{
    m_addresses.clear();
    setLastError(QString());
    m_link = new SocketLink(descriptor, this);
    connect(m_link, &SocketLink::closed, this, [this] {
        setLastError(m_link ? m_link->errorString() : QString());
        onClosed();
    });
    attachAccessory(m_link);
}

void TcpAccessoryTransport::failAttempt(const QString& error)
{
    setLastError(error);
    m_retry.start();
}

void TcpAccessoryTransport::dropSocket()
{
    ++m_attempt; // a lookup under way is for nothing now
    m_resolving = false;
    m_addresses.clear();
    if (m_connecting < 0)
        return;
    m_connectNotifier.reset();
    ::close(m_connecting);
    m_connecting = -1;
}

void TcpAccessoryTransport::onClosed()
{
    if (!m_resolving && m_connecting < 0 && !m_link)
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
