#include "platform/transport/SerialAccessoryTransport.h"

#include "platform/transport/IODeviceLink.h"

#include <QFileInfo>

SerialAccessoryTransport::SerialAccessoryTransport(const QString& path, const QStringList& protocols, QObject* parent)
    : AccessoryTransport(protocols, parent)
    , m_path(path)
{
    m_poll.setInterval(kPollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &SerialAccessoryTransport::tryOpen);
}

SerialAccessoryTransport::~SerialAccessoryTransport()
{
    onFailed(); // the controller is gone with its transport
}

void SerialAccessoryTransport::start()
{
    tryOpen();
    m_poll.start();
}

QString SerialAccessoryTransport::description() const
{
    return QStringLiteral("serial:%1").arg(m_path);
}

void SerialAccessoryTransport::tryOpen()
{
    if (m_port)
        return;
    if (!QFileInfo::exists(m_path)) {
        setLastError(QStringLiteral("%1: no such device").arg(m_path));
        return;
    }
    auto* port = new QSerialPort(m_path, this);
    port->setBaudRate(kBaudRate);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        setLastError(QStringLiteral("%1: %2").arg(m_path, port->errorString()));
        delete port;
        return;
    }
    setLastError(QString());
    m_port = port;
    connect(port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
            return;
        setLastError(m_port ? m_port->errorString() : QString());
        onFailed();
    });
    attachAccessory(new IODeviceLink(port));
}

void SerialAccessoryTransport::onFailed()
{
    if (!m_port)
        return;
    QSerialPort* port = m_port;
    m_port = nullptr;
    port->disconnect(this);
    detachAccessory();
    port->close();
    port->deleteLater();
}
