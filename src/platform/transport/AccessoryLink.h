#pragma once

#include <QByteArray>
#include <QObject>

// One attachment's byte pipe to a controller, as a transport provides it.
// The accessory session's streams read and write through it.
class AccessoryLink : public QObject {
    Q_OBJECT
public:
    explicit AccessoryLink(QObject* parent = nullptr);

    // Offers bytes towards the controller: the number accepted (0 when the
    // link is full for now), or -1 when the link is gone or failed.
    virtual qint64 send(const char* data, qint64 length) = 0;
    // Whether send() would accept at least one byte now.
    virtual bool hasSpace() const = 0;

    bool isAttached() const { return m_attached; }
    // The attachment ended (unplugged, connection closed, device gone).
    void markDetached();

    // One session at a time may hold a link.
    bool claim();
    void release();
    bool isClaimed() const { return m_claimed; }

signals:
    // From the controller; always from the event loop, never from inside send().
    void bytesReceived(const QByteArray& bytes);
    void spaceAvailable(); // send() accepts bytes again
    void errorOccurred();
    void detached();

private:
    bool m_attached = true;
    bool m_claimed = false;
};
