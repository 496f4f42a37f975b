#include "platform/transport/IODeviceLink.h"

#include <QSerialPort>

IODeviceLink::IODeviceLink(QIODevice* device)
    : AccessoryLink(device)
    , m_device(device)
{
    connect(device, &QIODevice::readyRead, this, [this] { emit bytesReceived(m_device->readAll()); });
    connect(device, &QIODevice::bytesWritten, this, [this] {
        if (m_wasFull && hasSpace()) {
            m_wasFull = false;
            emit spaceAvailable();
        }
    });
}

qint64 IODeviceLink::send(const char* data, qint64 length)
{
    if (!isAttached() || !m_device->isOpen())
        return -1;
    const qint64 n = std::min(length, kHighWater - m_device->bytesToWrite());
    if (n <= 0) {
        m_wasFull = true;
        return 0;
    }
    const qint64 written = m_device->write(data, n);
    // A port sends from its buffer only on a later turn of the event loop;
    // a request goes out now, one poll sooner per message. (Sockets go
    // through SocketLink, which writes at once.)
    if (written > 0) {
        if (auto* port = qobject_cast<QSerialPort*>(m_device))
            port->flush();
    }
    return written;
}

bool IODeviceLink::hasSpace() const
{
    return isAttached() && m_device->bytesToWrite() < kHighWater;
}
