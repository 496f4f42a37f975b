#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>

#include <unistd.h>

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
{
    // Per user, so that users of one machine never reach each other's instance.
    const QByteArray id
        = QCryptographicHash::hash(QStringLiteral("%1:%2").arg(key).arg(getuid()).toUtf8(), QCryptographicHash::Sha1)
              .toHex()
              .left(16);
    m_name = QStringLiteral("q3dart-") + QString::fromLatin1(id);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::handOver(const QList<QUrl>& files)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (socket.waitForConnected(kHandOverTimeoutMs)) {
        QByteArray message;
        for (const QUrl& url : files)
            message += url.toEncoded() + '\n';
        // An empty line ends the message, so the receiver knows it has all of it.
        message += '\n';
        socket.write(message);
        if (socket.waitForBytesWritten(kHandOverTimeoutMs)) {
            socket.disconnectFromServer();
            return true;
        }
    }

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A socket left behind by an instance that crashed.
        QLocalServer::removeServer(m_name);
        m_server->listen(m_name);
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readConnection);
    return false;
}

void SingleInstance::readConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
            // A launch sends a few paths; anything far larger is not a launch.
            if (buffer.size() > 1 << 20) {
                socket->abort();
                return;
            }
            socket->setProperty("buffer", buffer);
            if (!buffer.endsWith("\n\n") && buffer != "\n")
                return;
            QList<QUrl> files;
            for (const QByteArray& line : buffer.split('\n'))
                if (!line.isEmpty())
                    files.append(QUrl::fromEncoded(line));
            socket->setProperty("buffer", QByteArray());
            if (filesReceived)
                filesReceived(files);
        });
    }
}
