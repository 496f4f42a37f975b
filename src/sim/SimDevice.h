#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>

// A device at the far end of a simulated link, as the link's owner (the
// in-process transport, the TCP server) drives it: it hears the host's bytes
// in any chunking and answers through replySink, and asks its owner to drop
// and restore its attachment (a restart, an unplug).
class SimDevice : public QObject {
    Q_OBJECT
public:
    explicit SimDevice(QObject* parent = nullptr)
        : QObject(parent)
    {
    }

    // Bytes from the host, in any chunking.
    virtual void receive(const QByteArray& bytes) = 0;
    // The owner presents the device (at first, and again when asked).
    virtual void plugIn() = 0;

    // Wiring by the owner.
    std::function<void(const QByteArray&)> replySink; // one chunk towards the host
    std::function<void()> detachRequested; // the attachment must drop now
    std::function<void()> attachRequested; // the device is back
};
