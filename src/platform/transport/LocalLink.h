#pragma once

#include "platform/transport/AccessoryLink.h"

#include <functional>
#include <limits>

// An in-process link to a device living in the same program (the simulated
// controller, or a test's peer). It behaves like a real stream: bytes written
// reach the device, and its replies reach the host, through the event loop and
// never inside the write call.
class LocalLink : public AccessoryLink {
    Q_OBJECT
public:
    explicit LocalLink(QObject* parent = nullptr);

    qint64 send(const char* data, qint64 length) override;
    bool hasSpace() const override;

    // The device's side.
    std::function<void(const QByteArray&)> deviceReceive;
    void deliverToHost(const QByteArray& bytes);

    // Knobs for tests: how many bytes may wait for the device before the link
    // is full, how many one send() accepts at most, and whether sends fail.
    void setCapacity(qint64 bytes) { m_capacity = bytes; }
    void setMaxAcceptPerSend(qint64 bytes) { m_maxPerSend = bytes; }
    void setFailSends(bool fail) { m_failSends = fail; }
    // Holds bytes towards the device until released (a device that is busy).
    void setPaused(bool paused);
    void raiseError() { emit errorOccurred(); }
    qint64 pendingToDevice() const { return m_toDevice.size(); }

private:
    void scheduleFlush();
    void flush();

    QByteArray m_toDevice;
    qint64 m_capacity = 64 * 1024;
    qint64 m_maxPerSend = std::numeric_limits<qint64>::max();
    bool m_failSends = false;
    bool m_paused = false;
    bool m_flushPending = false;
    bool m_wasFull = false;
};
