#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

#include <cstdint>

class AccessoryLink;
class ByteStream;

// Stream events, with the platform's codes.
enum class StreamEvent : int {
    OpenCompleted = 1,
    HasBytesAvailable = 2,
    HasSpaceAvailable = 4,
    ErrorOccurred = 8,
    EndEncountered = 16,
};

class StreamDelegate {
public:
    virtual ~StreamDelegate() = default;
    virtual void streamHandleEvent(ByteStream* stream, StreamEvent event)
    {
        (void)stream;
        (void)event;
    }
};

// A byte stream of an accessory session. Events reach the delegate only while
// the stream is open and scheduled on the run loop, always from the event
// loop, never from inside the caller's own read or write.
class ByteStream : public QObject {
    Q_OBJECT
public:
    explicit ByteStream(AccessoryLink* link, QObject* parent = nullptr);

    void setDelegate(StreamDelegate* delegate) { m_delegate = delegate; }
    StreamDelegate* delegate() const { return m_delegate; }
    void scheduleInRunLoop();
    void removeFromRunLoop();
    void open();
    void close();
    bool isOpen() const { return m_open; }

protected:
    // Delivers the event on a later turn of the event loop; repeated events of
    // one kind are merged until delivered.
    void postEvent(StreamEvent event);
    // For what the link reports from the event loop itself (never from inside
    // a read or write of ours): delivered at once where that keeps the order.
    void deliverFromEventLoop(StreamEvent event);
    virtual void opened() { }

    QPointer<AccessoryLink> m_link;

private:
    void deliver(StreamEvent event);

    StreamDelegate* m_delegate = nullptr;
    bool m_scheduled = false;
    bool m_open = false;
    bool m_closed = false;
    int m_pendingEvents = 0; // bit set of StreamEvent codes awaiting delivery
    int m_delivering = 0; // depth of calls into the delegate
};

class InputStream : public ByteStream {
    Q_OBJECT
public:
    explicit InputStream(AccessoryLink* link, QObject* parent = nullptr);

    bool hasBytesAvailable() const;
    // Bytes read (possibly 0), or -1 when the stream is not open.
    qint64 read(uint8_t* buffer, qint64 maxLength);

protected:
    void opened() override;

private:
    QByteArray m_buffer;
    qint64 m_head = 0;
};

class OutputStream : public ByteStream {
    Q_OBJECT
public:
    explicit OutputStream(AccessoryLink* link, QObject* parent = nullptr);

    bool hasSpaceAvailable() const;
    // Bytes accepted (possibly 0), or -1 on error.
    qint64 write(const uint8_t* buffer, qint64 length);

protected:
    void opened() override;
};
