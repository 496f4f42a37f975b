#include "network/ThreadsByName.h"

#include <QDeadlineTimer>

#include <dirent.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

int ThreadsByName::count(const QByteArray& prefix)
{
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return -1;
    int found = 0;
    while (const dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray path = QByteArrayLiteral("/proc/self/task/") + entry->d_name + QByteArrayLiteral("/comm");
        const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue; // the thread has just ended
        char name[64];
        const ssize_t n = read(fd, name, sizeof name);
        close(fd);
        if (n > 0 && QByteArray(name, int(n)).startsWith(prefix))
            ++found;
    }
    closedir(tasks);
    return found;
}

bool ThreadsByName::awaitNone(const QByteArray& prefix, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (count(prefix) > 0) {
        if (deadline.hasExpired())
            return false;
        const timespec pause { 0, 1000 * 1000 };
        nanosleep(&pause, nullptr);
    }
    return true;
}
