#include "platform/transport/ByteStream.h"

#include "platform/transport/AccessoryLink.h"

#include <cstring>

ByteStream::ByteStream(AccessoryLink* link, QObject* parent)
    : QObject(parent)
    , m_link(link)
{
    if (link) {
        connect(link, &AccessoryLink::detached, this, [this] { postEvent(StreamEvent::EndEncountered); });
        connect(link, &AccessoryLink::errorOccurred, this, [this] { postEvent(StreamEvent::ErrorOccurred); });
    }
}

void ByteStream::scheduleInRunLoop()
{
    m_scheduled = true;
}

void ByteStream::removeFromRunLoop()
{
    m_scheduled = false;
}

void ByteStream::open()
{
    if (m_open || m_closed)
        return;
    m_open = true;
    postEvent(StreamEvent::OpenCompleted);
    opened();
}

void ByteStream::close()
{
    m_open = false;
    m_closed = true; // a closed stream cannot be opened again
}

void ByteStream::postEvent(StreamEvent event)
{
    const int bit = int(event);
    if (m_pendingEvents & bit)
        return;
    m_pendingEvents |= bit;
    QMetaObject::invokeMethod(
        this, [this, event] { deliver(event); }, Qt::QueuedConnection);
}

void ByteStream::deliver(StreamEvent event)
{
    m_pendingEvents &= ~int(event);
    if (!m_open || !m_scheduled || !m_delegate)
        return;
    ++m_delivering;
    const QPointer<ByteStream> alive(this); // the delegate may close and drop the stream
    m_delegate->streamHandleEvent(this, event);
    if (alive)
        --m_delivering;
}

void ByteStream::deliverFromEventLoop(StreamEvent event)
{
    // Inside a delivery (the delegate's own handling) or behind an event
    // already on its way, it waits its turn as any event does; otherwise it
    // goes now, saving the event loop a wake-up for every message.
    if (m_delivering > 0 || m_pendingEvents != 0)
        postEvent(event);
    else
        deliver(event);
}

InputStream::InputStream(AccessoryLink* link, QObject* parent)
    : ByteStream(link, parent)
{
    if (link) {
        connect(link, &AccessoryLink::bytesReceived, this, [this](const QByteArray& bytes) {
            if (!isOpen())
                return; // a stream that is not open hears nothing
            m_buffer.append(bytes);
            deliverFromEventLoop(StreamEvent::HasBytesAvailable);
        });
    }
}

void InputStream::opened()
{
    if (hasBytesAvailable())
        postEvent(StreamEvent::HasBytesAvailable);
}

bool InputStream::hasBytesAvailable() const
{
    return isOpen() && m_head < m_buffer.size();
}

qint64 InputStream::read(uint8_t* buffer, qint64 maxLength)
{
    if (!isOpen() || maxLength < 0)
        return -1;
    const qint64 n = std::min<qint64>(maxLength, m_buffer.size() - m_head);
    if (n > 0) {
        std::memcpy(buffer, m_buffer.constData() + m_head, size_t(n));
        m_head += n;
    }
    if (m_head == m_buffer.size()) {
        m_buffer.clear();
        m_head = 0;
    } else if (m_head > 4096 && m_head * 2 > m_buffer.size()) {
        m_buffer.remove(0, m_head);
        m_head = 0;
    }
    return n;
}

OutputStream::OutputStream(AccessoryLink* link, QObject* parent)
    : ByteStream(link, parent)
{
    if (link)
        connect(link, &AccessoryLink::spaceAvailable, this, [this] { postEvent(StreamEvent::HasSpaceAvailable); });
}

void OutputStream::opened()
{
    if (hasSpaceAvailable())
        postEvent(StreamEvent::HasSpaceAvailable);
}

bool OutputStream::hasSpaceAvailable() const
{
    return isOpen() && m_link && m_link->isAttached() && m_link->hasSpace();
}

qint64 OutputStream::write(const uint8_t* buffer, qint64 length)
{
    if (!isOpen() || !m_link || !m_link->isAttached())
        return -1;
    return m_link->send(reinterpret_cast<const char*>(buffer), length);
}
