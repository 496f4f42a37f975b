#include "platform/transport/LocalLink.h"

LocalLink::LocalLink(QObject* parent)
    : AccessoryLink(parent)
{
}

qint64 LocalLink::send(const char* data, qint64 length)
{
    if (!isAttached() || m_failSends || length < 0)
        return -1;
    const qint64 room = std::max<qint64>(0, m_capacity - m_toDevice.size());
    const qint64 n = std::min({ length, room, m_maxPerSend });
    if (n <= 0) {
        m_wasFull = true;
        return 0;
    }
    m_toDevice.append(data, n);
    if (m_toDevice.size() >= m_capacity)
        m_wasFull = true;
    scheduleFlush();
    return n;
}

bool LocalLink::hasSpace() const
{
    return isAttached() && m_toDevice.size() < m_capacity;
}

void LocalLink::deliverToHost(const QByteArray& bytes)
{
    // Bytes sent before the attachment ended still arrive, as on a real wire.
    if (bytes.isEmpty() || !isAttached())
        return;
    QMetaObject::invokeMethod(
        this, [this, bytes] { emit bytesReceived(bytes); }, Qt::QueuedConnection);
}

void LocalLink::setPaused(bool paused)
{
    m_paused = paused;
    if (!paused)
        scheduleFlush();
}

void LocalLink::scheduleFlush()
{
    if (m_flushPending || m_paused)
        return;
    m_flushPending = true;
    QMetaObject::invokeMethod(
        this, [this] { flush(); }, Qt::QueuedConnection);
}

void LocalLink::flush()
{
    m_flushPending = false;
    if (m_paused || m_toDevice.isEmpty())
        return;
    const QByteArray bytes = std::exchange(m_toDevice, {});
    if (isAttached() && deviceReceive)
        deviceReceive(bytes);
    if (m_wasFull && isAttached()) {
        m_wasFull = false;
        emit spaceAvailable();
    }
}
