#include "support/TestHttpServer.h"

#include <QTcpSocket>

TestHttpServer::TestHttpServer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
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
    targets.append(request.left(request.indexOf("\r\n")).split(' ').value(1));
    m_pending.remove(socket);
    if (!answer)
        return;
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\n";
    if (!contentType.isEmpty())
        reply += "Content-Type: " + contentType + "\r\n";
    reply += extraHeaders;
    reply += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    socket->write(reply);
    socket->disconnectFromHost();
}
