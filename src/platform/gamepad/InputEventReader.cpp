#include "platform/gamepad/InputEventReader.h"

#include "platform/runtime/Localization.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr qint64 kMicrosecondsPerSecond = 1000000;
constexpr size_t kRecordSize = sizeof(input_event);

InputEventReader::Failure openFailure(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return InputEventReader::Failure::Missing;
    case EACCES:
    case EPERM:
        return InputEventReader::Failure::NoPermission;
    default:
        return InputEventReader::Failure::Unreadable;
    }
}

} // namespace

InputEventReader::InputEventReader(QObject* parent)
    : QObject(parent)
{
}

InputEventReader::~InputEventReader()
{
    close();
}

bool InputEventReader::open(const QString& path)
{
    close();
    m_path = path;
    const int descriptor = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        const int error = errno;
        m_failure = openFailure(error);
        m_error = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    // Only for this descriptor; other readers keep their clock. Not an event
    // device (a pipe): its records carry whatever times they carry.
    int clock = CLOCK_MONOTONIC;
    ::ioctl(descriptor, EVIOCSCLOCKID, &clock);
    return adopt(descriptor, path);
}

bool InputEventReader::adopt(int descriptor, const QString& name)
{
    if (descriptor < 0)
        return false;
    if (m_descriptor != descriptor)
        close();
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags >= 0)
        ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK);
    m_descriptor = descriptor;
    m_path = name;
    m_failure = Failure::None;
    m_error.clear();
    m_partial.clear();
    m_current = {};
    m_inReport = false;
    m_dropping = false;
    m_gap = true;
    m_notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &InputEventReader::readAvailable);
    if (m_enabled) {
        m_enabled = false;
        setEnabled(true);
    }
    return true;
}

void InputEventReader::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!isOpen())
        return;
    if (enabled) {
        // What queued while nobody read is old news: read past it unseen.
        while (readOnce(false)) { }
        if (!isOpen())
            return;
        m_gap = true;
    }
    m_notifier->setEnabled(enabled);
}

void InputEventReader::readAvailable()
{
    const QPointer<InputEventReader> self(this);
    while (self && m_enabled && readOnce(true)) { }
}

bool InputEventReader::readOnce(bool deliver)
{
    if (!isOpen())
        return false;
    char buffer[kRecordSize * kRecordsPerRead];
    const qsizetype kept = m_partial.size();
    std::memcpy(buffer, m_partial.constData(), size_t(kept));
    const ssize_t n = ::read(m_descriptor, buffer + kept, sizeof buffer - size_t(kept));
    if (n < 0) {
        const int error = errno;
        if (error == EINTR)
            return true;
        if (error == EAGAIN || error == EWOULDBLOCK)
            return false;
        fail(error == ENODEV ? Failure::Closed : Failure::Unreadable, error);
        return false;
    }
    if (n == 0) {
        fail(Failure::Closed, 0);
        return false;
    }
    const size_t total = size_t(kept) + size_t(n);
    const size_t whole = total - total % kRecordSize;
    m_partial = QByteArray(buffer + whole, qsizetype(total - whole));
    const QPointer<InputEventReader> self(this);
    for (size_t at = 0; at < whole && self && isOpen(); at += kRecordSize)
        take(buffer + at, deliver);
    return self && isOpen();
}

void InputEventReader::take(const char* record, bool deliver)
{
    input_event event;
    std::memcpy(&event, record, kRecordSize);
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        // The kernel's queue overflowed: the report under way is incomplete,
        // and so is the next one, up to its SYN_REPORT.
        m_dropping = true;
        m_inReport = false;
        m_current = {};
        return;
    }
    if (event.type == EV_SYN && event.code == SYN_REPORT) {
        const bool whole = m_inReport && !m_dropping;
        Report report = m_current;
        m_current = {};
        m_inReport = false;
        if (m_dropping) {
            m_dropping = false;
            m_gap = true;
            return;
        }
        if (!whole)
            return; // an empty report tells nothing
        report.microseconds = qint64(event.input_event_sec) * kMicrosecondsPerSecond + qint64(event.input_event_usec);
        report.afterGap = std::exchange(m_gap, false);
        if (deliver && onReport)
            onReport(report);
        return;
    }
    if (event.type == EV_SYN || m_dropping)
        return;
    m_inReport = true;
    if (event.type == EV_ABS)
        m_current.axes = true;
    else if (event.type == EV_KEY)
        m_current.keys = true;
}

void InputEventReader::fail(Failure failure, int error)
{
    m_failure = failure;
    m_error = error ? QString::fromLocal8Bit(std::strerror(error)) : localized("EventStreamEnded");
    close();
    if (onFailure)
        onFailure();
}

void InputEventReader::close()
{
    // Closed from within the notifier's own signal, as a failure is: it goes once that has returned.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}
