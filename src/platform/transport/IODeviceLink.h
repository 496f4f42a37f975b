#pragma once

#include "platform/transport/AccessoryLink.h"

#include <QIODevice>

// A link over an open device such as a serial port. Writes go into the device's own
// buffer, which counts as full past a high-water mark.
class IODeviceLink : public AccessoryLink {
    Q_OBJECT
public:
    static constexpr qint64 kHighWater = 64 * 1024;

    // The link becomes a child of the device.
    explicit IODeviceLink(QIODevice* device);

    qint64 send(const char* data, qint64 length) override;
    bool hasSpace() const override;

private:
    QIODevice* m_device;
    bool m_wasFull = false;
};
