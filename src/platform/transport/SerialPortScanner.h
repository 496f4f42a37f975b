#pragma once

#include "platform/transport/AccessoryTransport.h"

#include <QSet>
#include <QStringList>
#include <QTimer>

// Watches for USB serial devices and follows each one that appears with a
// serial transport: what "the first attached controller" means when the user
// names no device.
class SerialPortScanner : public AccessoryTransport {
    Q_OBJECT
public:
    static constexpr int kScanIntervalMs = 500;

    explicit SerialPortScanner(const QStringList& protocols, QObject* parent = nullptr);

    void start() override;
    QString description() const override;

private:
    void scan();

    QSet<QString> m_followed;
    QTimer m_timer;
};
