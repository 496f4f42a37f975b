#pragma once

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class SimDevice;
class SimulatedController;

// Serves the simulated controller (or another device model, such as a
// recorded controller) over TCP: the bytes on a connection are exactly the
// controller's protocol bytes. One host at a time; while the
// controller is unplugged or restarting the server does not listen, so the
// host sees a closed connection and later a new one.
class SimTcpServer : public QObject {
    Q_OBJECT
public:
    // Takes ownership of the device.
    SimTcpServer(SimDevice* device, QObject* parent = nullptr);
    ~SimTcpServer() override;

    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return m_server.errorString(); }
    quint16 serverPort() const { return m_port; }
    SimDevice* device() const { return m_controller; }
    // The device when it is a simulated controller; null otherwise.
    SimulatedController* controller() const;
    // From now on another device answers on this listener (the server
    // takes ownership); the previous one is cut off and never comes back.
    void handOver(SimDevice* next);

signals:
    void hostConnected();
    void hostDisconnected();

private:
    void onNewConnection();
    void dropHost();
    void attach();
    void detach();
    void wire(SimDevice* device);

    SimDevice* m_controller;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_host;
    QHostAddress m_address;
    quint16 m_port = 0;
};
