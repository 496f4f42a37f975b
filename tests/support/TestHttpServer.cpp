#include "support/TestHttpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

TestHttpServer::TestHttpServer()
    : m_server(std::make_unique<QTcpServer>())
{
    accept();
}

TestHttpServer::TestHttpServer(const QSslConfiguration& tls)
    : m_tls(true)
{
    auto server = std::make_unique<QSslServer>();
    server->setSslConfiguration(tls);
    connect(server.get(), &QSslServer::errorOccurred, this,
        [this](QSslSocket*, QAbstractSocket::SocketError) { ++refusedHandshakes; });
    connect(server.get(), &QSslServer::peerVerifyError, this, [](QSslSocket*, const QSslError&) {});
    m_server = std::move(server);
    accept();
}

void TestHttpServer::accept()
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void TestHttpServer::serve(QTcpSocket* socket)
{
    QByteArray& request = m_pending[socket];
    request += socket->readAll();
    const int end = request.indexOf("\r\n\r\n");
    if (end < 0)
        return; // the headers are not complete yet
    const QByteArray target = request.left(request.indexOf("\r\n")).split(' ').value(1);
    targets.append(target);
    m_pending.remove(socket);
    if (!answer)
        return;
    if (const QByteArray location = redirects.value(target.split('?').first()); !location.isEmpty()) {
        socket->write(
            "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    int replyStatus = status;
    QByteArray replyType = contentType;
    QByteArray replyBody = body;
    QByteArray replyHeaders = extraHeaders;
    if (!root.isEmpty()) {
        const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(target.split('?').first()));
        const QFileInfo file(QDir(root).filePath(path.mid(1)));
        QFile f(file.absoluteFilePath());
        const bool inside = file.absoluteFilePath().startsWith(QDir(root).absolutePath() + QLatin1Char('/'));
        if (!path.contains(QLatin1String("..")) && inside && file.isFile() && f.open(QIODevice::ReadOnly)) {
            replyStatus = 200;
            replyType = file.suffix().isEmpty()         ? "application/json"
                : file.suffix() == QLatin1String("zip") ? "application/zip"
                                                        : "application/octet-stream";
            replyBody = f.readAll();
        } else {
            replyStatus = 404;
            replyType = "text/plain";
            replyBody = "not found";
        }
        replyHeaders = fileHeaders;
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(replyStatus) + " Status\r\n";
    if (!replyType.isEmpty())
        reply += "Content-Type: " + replyType + "\r\n";
    reply += replyHeaders;
    if (endless) {
        socket->write(reply + "Connection: close\r\n\r\n");
        QByteArray chunk = replyBody.isEmpty() ? QByteArray("x") : replyBody;
        while (chunk.size() < 64 * 1024)
            chunk += chunk;
        pour(socket, chunk);
        return;
    }
    reply += "Content-Length: " + QByteArray::number(replyBody.size()) + "\r\nConnection: close\r\n\r\n";
    if (trickleMs > 0) {
        socket->write(reply);
        trickle(socket, replyBody);
        return;
    }
    if (stallAfterBodyBytes >= 0 && stallAfterBodyBytes < replyBody.size()) {
        socket->write(reply + replyBody.left(stallAfterBodyBytes));
        socket->flush();
        return;
    }
    socket->write(reply + replyBody);
    socket->disconnectFromHost();
}

void TestHttpServer::trickle(QTcpSocket* socket, QByteArray rest)
{
    if (rest.isEmpty() || socket->state() != QAbstractSocket::ConnectedState) {
        socket->disconnectFromHost();
        return;
    }
    socket->write(rest.left(trickleBytes));
    QTimer::singleShot(trickleMs, socket, [this, socket, rest] { trickle(socket, rest.mid(trickleBytes)); });
}

void TestHttpServer::pour(QTcpSocket* socket, const QByteArray& chunk)
{
    // More whenever what was written has gone out: as fast as the client reads.
    socket->write(chunk);
    connect(socket, &QTcpSocket::bytesWritten, socket, [socket, chunk] {
        if (socket->bytesToWrite() < chunk.size())
            socket->write(chunk);
    });
}
