#pragma once

#include "platform/transport/AccessoryLink.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>

#include <sys/types.h>

// A link over a connected, non-blocking stream socket's descriptor (or an
// open serial port's), which it owns and reads and writes itself: a message costs one read and one write,
// without the byte count a buffered socket asks the kernel for before each
// read. What the kernel does not take at once waits in the link's own buffer,
// which counts as full past a high-water mark.
class SocketLink : public AccessoryLink {
    Q_OBJECT
public:
    static constexpr qint64 kHighWater = 64 * 1024;
    static constexpr qint64 kReadChunkBytes = 16 * 1024;

    explicit SocketLink(int descriptor, QObject* parent = nullptr);
    // Closes the descriptor.
    ~SocketLink() override;

    qint64 send(const char* data, qint64 length) override;
    bool hasSpace() const override;
    // Why the connection ended; empty when the peer closed it.
    QString errorString() const { return m_error; }

signals:
    // The peer closed the connection, or it failed; always from the event
    // loop, never from inside send().
    void closed();

private:
    void readReady();
    void writeReady();
    // Stops using the descriptor and reports the end on a later turn.
    void end(const QString& error);
    ssize_t write(const char* data, qint64 length);

    int m_descriptor;
    bool m_isSocket;
    QSocketNotifier m_readNotifier;
    QSocketNotifier m_writeNotifier;
    QByteArray m_unsent;
    bool m_wasFull = false;
    bool m_ended = false;
    QString m_error;
};
