#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

class QTcpServer;

// A slow link in front of a local server: every connection made to the
// relay is carried to the server, the client's bytes at once and the
// server's at no more than a given rate, as a poor mobile or hotel network
// delivers them. So that users and tests can watch a download crawl.
class ThrottledRelay : public QObject {
    Q_OBJECT
public:
    // How often the relay lets the next share of bytes through.
    static constexpr int kTickMs = 100;

    ThrottledRelay(quint16 serverPort, qint64 bytesPerSecond, QObject* parent = nullptr);
    ~ThrottledRelay() override;

    // The port listened on, or 0 when listening failed (errorString says why).
    quint16 listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return m_error; }

private:
    void accept();

    QTcpServer* m_listener = nullptr;
    quint16 m_serverPort = 0;
    qint64 m_bytesPerSecond = 0;
    QString m_error;
};
