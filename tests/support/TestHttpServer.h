#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSslConfiguration>
#include <QTcpServer>

#include <memory>

// A real HTTP/1.1 server on 127.0.0.1 whose answer the test sets: status,
// content type and body, or no answer at all; or, with a root folder, a plain
// static web server for the files under it. It records each request target.
// Given a TLS configuration it speaks https only.
class TestHttpServer : public QObject {
    Q_OBJECT
public:
    TestHttpServer();
    explicit TestHttpServer(const QSslConfiguration& tls);

    quint16 port() const { return m_server->serverPort(); }
    QString baseUrl() const
    {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
            .arg(port());
    }

    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body = "{}";
    QByteArray extraHeaders;
    bool answer = true; // false: read the request and stay silent
    // With 0 or more: the answer stops after this many bytes of its body and
    // the connection stays open, as a download that has stalled.
    qint64 stallAfterBodyBytes = -1;
    // With more than 0: the body goes out trickleBytes at a time every this
    // many milliseconds, a server that is never silent and slow to be done.
    int trickleMs = 0;
    int trickleBytes = 1;
    // The body is sent again and again for ever, without a length: an
    // answer that never ends.
    bool endless = false;
    // Request paths (without the query) answered with a redirect to the
    // address given, before anything else.
    QHash<QByteArray, QByteArray> redirects;
    // Headers for the files served from root (extraHeaders are not).
    QByteArray fileHeaders;
    // Serve the files under this folder instead: the request path names the
    // file (the query is ignored); an extensionless file goes out as JSON, a
    // .zip as application/zip, anything missing as 404.
    QString root;

    QList<QByteArray> targets; // request targets, e.g. /firmware/update/r1?ver=...
    // TLS handshakes that failed: the client refused the certificate.
    int refusedHandshakes = 0;

private:
    void accept();
    void serve(QTcpSocket* socket);
    void trickle(QTcpSocket* socket, QByteArray rest);
    void pour(QTcpSocket* socket, const QByteArray& chunk);
    std::unique_ptr<QTcpServer> m_server;
    bool m_tls = false;
    QHash<QTcpSocket*, QByteArray> m_pending;
};
