#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
qint64 statusField(const char* name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(name))
            return line.mid(qstrlen(name)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}
}

StartupProbe::StartupProbe(QWidget* firstScreen, QObject* parent)
    : QObject(parent)
{
    firstScreen->installEventFilter(this);
}

double StartupProbe::processAgeMs()
{
    // The launcher's own clock reading, when it gives one: the kernel's start
    // time below counts in ticks of 10 ms.
    bool given = false;
    const qint64 launchedNs = qEnvironmentVariable(kLaunchedAtVariable).toLongLong(&given);
    if (given && launchedNs > 0) {
        timespec now {};
        clock_gettime(CLOCK_REALTIME, &now);
        return (qint64(now.tv_sec) * 1000000000 + now.tv_nsec - launchedNs) / 1e6;
    }
    // Field 22 of /proc/self/stat: start time in clock ticks after boot.
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The command name in field 2 may hold spaces; count from its closing parenthesis.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(22 - 3).toDouble();
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

qint64 StartupProbe::residentKiB()
{
    return statusField("VmRSS:");
}

qint64 StartupProbe::peakResidentKiB()
{
    return statusField("VmHWM:");
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_reported) {
        m_reported = true;
        // After this paint has finished.
        QTimer::singleShot(0, this, [] {
            std::printf("first-screen-ms: %.1f\nrss-kib: %lld\npeak-rss-kib: %lld\n", processAgeMs(),
                static_cast<long long>(residentKiB()), static_cast<long long>(peakResidentKiB()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    return QObject::eventFilter(watched, event);
}
