#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Fills address with path; false when the path does not fit.
bool socketAddress(const QString& path, sockaddr_un* address)
{
    const QByteArray file = QFile::encodeName(path);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (file.isEmpty() || size_t(file.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, file.constData(), size_t(file.size()));
    return true;
}

// The socket lives in the shared temporary folder, where another user may
// put a socket of their own at its name: a launch hands its files only to an
// instance of its own user, and an instance takes them only from one.
bool peerIsThisUser(int fd)
{
    ucred peer {};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && length == sizeof peer
        && peer.uid == ::getuid();
}

} // namespace

struct SingleInstance::Connection {
    int descriptor = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    QByteArray buffer;
};

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

SingleInstance::~SingleInstance()
{
    while (!m_connections.empty())
        dropConnection(m_connections.back().get());
    if (m_listener >= 0) {
        m_listenNotifier.reset();
        ::close(m_listener);
        // The socket file is this instance's: the next launch is the first again.
        ::unlink(QFile::encodeName(socketPath()).constData());
    }
}

QString SingleInstance::socketPath() const
{
    return QDir(QDir::tempPath()).filePath(m_name);
}

bool SingleInstance::handOver(const QList<QUrl>& files)
{
    QByteArray message;
    for (const QUrl& url : files)
        message += url.toEncoded() + '\n';
    // An empty line ends the message, so the receiver knows it has all of it.
    message += '\n';
    if (send(message))
        return true;
    listen();
    return false;
}

bool SingleInstance::send(const QByteArray& message)
{
    sockaddr_un address;
    if (!socketAddress(socketPath(), &address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Blocking, bounded by the timeout: a running instance whose queue of
    // launches is full is waited for a while, a hung one not for ever.
    const timeval timeout { kHandOverTimeoutMs / 1000, (kHandOverTimeoutMs % 1000) * 1000 };
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    int result;
    do
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (result != 0 && errno == EINTR);
    if (result == 0 && !peerIsThisUser(fd)) {
        ::close(fd);
        return false;
    }
    qsizetype sent = 0;
    while (result == 0 && sent < message.size()) {
        const ssize_t n = ::send(fd, message.constData() + sent, size_t(message.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    ::close(fd);
    return result == 0 && sent == message.size();
}

void SingleInstance::listen()
{
    sockaddr_un address;
    if (!socketAddress(socketPath(), &address))
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    auto bindTo = [&] { return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0; };
    // Nobody answered on the file there: a socket left behind by an instance that crashed.
    bool bound = bindTo();
    if (!bound && errno == EADDRINUSE && ::unlink(address.sun_path) == 0)
        bound = bindTo();
    // Only this user may hand files over; nobody connects before listen().
    if (!bound || ::chmod(address.sun_path, S_IRWXU) != 0 || ::listen(fd, kListenBacklog) != 0) {
        if (bound)
            ::unlink(address.sun_path);
        ::close(fd);
        return;
    }
    m_listener = fd;
    m_listenNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_listenNotifier.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
}

void SingleInstance::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: all taken; anything else: the next launch tries again
        }
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        Connection* c = connection.get();
        c->descriptor = fd;
        c->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(c->notifier.get(), &QSocketNotifier::activated, this, [this, c] { readConnection(c); });
        m_connections.push_back(std::move(connection));
    }
}

void SingleInstance::readConnection(Connection* c)
{
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(c->descriptor, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        if (n <= 0) {
            // The launch is done (or gone): what it did not end is no message.
            dropConnection(c);
            return;
        }
        c->buffer.append(chunk, n);
        if (c->buffer.size() > kMaxMessageBytes) {
            dropConnection(c);
            return;
        }
        if (!c->buffer.endsWith("\n\n") && c->buffer != "\n")
            continue;
        QList<QUrl> files;
        for (const QByteArray& line : c->buffer.split('\n'))
            if (!line.isEmpty())
                files.append(QUrl::fromEncoded(line));
        c->buffer.clear();
        // The receiver may run an event loop of its own (a dialog), in which
        // this connection can end: it is not touched again here. More of it,
        // if any, comes with the next notification.
        if (filesReceived)
            filesReceived(files);
        return;
    }
}

void SingleInstance::dropConnection(Connection* c)
{
    const auto it = std::find_if(m_connections.begin(), m_connections.end(),
        [c](const std::unique_ptr<Connection>& owned) { return owned.get() == c; });
    if (it == m_connections.end())
        return;
    c->notifier.reset();
    ::close(c->descriptor);
    m_connections.erase(it);
}
