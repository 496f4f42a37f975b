#include "platform/transport/SocketLink.h"

#include <QPointer>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool wouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool isSocket(int descriptor)
{
    struct stat status;
    return ::fstat(descriptor, &status) == 0 && S_ISSOCK(status.st_mode);
}

} // namespace

SocketLink::SocketLink(int descriptor, QObject* parent)
    : AccessoryLink(parent)
    , m_descriptor(descriptor)
    , m_isSocket(isSocket(descriptor))
    , m_readNotifier(descriptor, QSocketNotifier::Read)
    , m_writeNotifier(descriptor, QSocketNotifier::Write)
{
    m_writeNotifier.setEnabled(false);
    connect(&m_readNotifier, &QSocketNotifier::activated, this, &SocketLink::readReady);
    connect(&m_writeNotifier, &QSocketNotifier::activated, this, &SocketLink::writeReady);
}

SocketLink::~SocketLink()
{
    m_readNotifier.setEnabled(false);
    m_writeNotifier.setEnabled(false);
    ::close(m_descriptor);
}

qint64 SocketLink::send(const char* data, qint64 length)
{
    if (!isAttached() || m_ended || length < 0)
        return -1;
    const qint64 room = kHighWater - m_unsent.size();
    if (room <= 0) {
        m_wasFull = true;
        return 0;
    }
    const qint64 n = std::min(length, room);
    if (!m_unsent.isEmpty()) { // behind bytes still waiting: keep the order
        m_unsent.append(data, n);
        return n;
    }
    const ssize_t sent = write(data, n);
    if (sent < 0 && !wouldBlock(errno)) {
        end(systemError(errno));
        return -1;
    }
    const qint64 taken = std::max<qint64>(sent, 0);
    if (taken < n) {
        m_unsent.append(data + taken, n - taken);
        m_writeNotifier.setEnabled(true);
    }
    return n;
}

bool SocketLink::hasSpace() const
{
    return isAttached() && !m_ended && m_unsent.size() < kHighWater;
}

void SocketLink::writeReady()
{
    const ssize_t sent = write(m_unsent.constData(), m_unsent.size());
    if (sent < 0) {
        if (!wouldBlock(errno))
            end(systemError(errno));
        return;
    }
    m_unsent.remove(0, qsizetype(sent));
    if (!m_unsent.isEmpty())
        return;
    m_writeNotifier.setEnabled(false);
    if (m_wasFull) {
        m_wasFull = false;
        emit spaceAvailable();
    }
}

void SocketLink::readReady()
{
    char buffer[kReadChunkBytes];
    // One read a notification: what did not fit is read at the next turn.
    const ssize_t n = ::read(m_descriptor, buffer, sizeof buffer);
    if (n > 0)
        emit bytesReceived(QByteArray(buffer, qsizetype(n)));
    else if (n == 0)
        end(QString()); // closed by the peer
    else if (!wouldBlock(errno))
        end(systemError(errno));
}

ssize_t SocketLink::write(const char* data, qint64 length)
{
    // A socket whose peer is gone must not raise SIGPIPE; a serial port raises none.
    return m_isSocket ? ::send(m_descriptor, data, size_t(length), MSG_NOSIGNAL)
                      : ::write(m_descriptor, data, size_t(length));
}

void SocketLink::end(const QString& error)
{
    if (m_ended)
        return;
    m_ended = true;
    m_error = error;
    m_readNotifier.setEnabled(false);
    m_writeNotifier.setEnabled(false);
    QMetaObject::invokeMethod(this, &SocketLink::closed, Qt::QueuedConnection);
}
