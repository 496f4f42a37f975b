#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>

// A real HTTP/1.1 server on 127.0.0.1 whose answer the test sets: status,
// content type and body, or no answer at all. It records each request target.
class TestHttpServer : public QObject {
    Q_OBJECT
public:
    TestHttpServer();

    quint16 port() const { return m_server.serverPort(); }
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port()); }

    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body = "{}";
    QByteArray extraHeaders;
    bool answer = true; // false: read the request and stay silent

    QList<QByteArray> targets; // request targets, e.g. /firmware/update/r1?ver=...

private:
    void serve(QTcpSocket* socket);
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_pending;
};
