#include "platform/transport/SerialAccessoryTransport.h"

#include "platform/runtime/Localization.h"
#include "platform/transport/SocketLink.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

static_assert(SerialAccessoryTransport::kBaudRate == 115200, "the terminal speed below follows kBaudRate");
constexpr speed_t kSpeed = B115200;

// Raw bytes, 8 data bits, no parity, one stop bit, no flow control, the
// modem's lines ignored; false with errno set when the port refuses.
bool configure(int descriptor)
{
    termios settings;
    if (::tcgetattr(descriptor, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    return ::cfsetispeed(&settings, kSpeed) == 0 && ::cfsetospeed(&settings, kSpeed) == 0
        && ::tcsetattr(descriptor, TCSANOW, &settings) == 0;
}

// The group that owns the port, whose members may open it ("dialout"); its
// number when it has no name.
QString owningGroup(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    if (const group* g = ::getgrgid(info.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(info.st_gid);
}

} // namespace

QString SerialAccessoryTransport::permissionMessage(const QString& path)
{
    return localized("SerialPortPermissionDenied").arg(path, owningGroup(path));
}

SerialAccessoryTransport::SerialAccessoryTransport(
    EAAccessoryManager& accessories, const QString& path, const QStringList& protocols, QObject* parent)
    : AccessoryTransport(accessories, protocols, parent)
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
    if (m_link)
        return;
    if (!QFileInfo::exists(m_path)) {
        setLastError(QStringLiteral("%1: no such device").arg(m_path));
        return;
    }
    const int descriptor = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // One program at a time on the port: another's bytes would corrupt the exchange.
    const bool ready = descriptor >= 0 && ::ioctl(descriptor, TIOCEXCL) == 0 && configure(descriptor);
    if (!ready) {
        const int error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        if (error == EACCES || error == EPERM) {
            // Not the controller's fault, nor one that waiting mends: the user is told how.
            setLastError(permissionMessage(m_path));
            if (!std::exchange(m_deniedReported, true))
                emit permissionDenied(lastError());
            return;
        }
        setLastError(QStringLiteral("%1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(error))));
        return;
    }
    m_deniedReported = false;
    setLastError(QString());
    m_link = new SocketLink(descriptor, this);
    connect(m_link, &SocketLink::closed, this, [this] {
        setLastError(m_link ? m_link->errorString() : QString());
        onFailed();
    });
    attachAccessory(m_link);
}

void SerialAccessoryTransport::onFailed()
{
    if (!m_link)
        return;
    SocketLink* link = m_link;
    m_link = nullptr;
    link->disconnect(this);
    detachAccessory();
    link->deleteLater();
}
