#pragma once

#include <QByteArray>

// The threads of this process by the names the system knows them by: on
// Linux /proc/self/task/*/comm, which holds at most 15 bytes of a name.
class ThreadsByName {
public:
    // How many threads have a name that starts with prefix; -1 where the
    // system does not list them.
    static int count(const QByteArray& prefix);
    // Waits until no thread has such a name; false when one still has at the
    // end of timeoutMs.
    static bool awaitNone(const QByteArray& prefix, int timeoutMs);
};
