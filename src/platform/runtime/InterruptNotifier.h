#pragma once

#include <QObject>

// SIGINT and SIGTERM, brought into the event loop: the signal handler only
// writes a byte, and interrupted() is emitted from the loop. Installed on
// first use; the default handling ends the program when it cannot be.
class InterruptNotifier : public QObject {
    Q_OBJECT
public:
    static InterruptNotifier& shared();

signals:
    void interrupted();

private:
    InterruptNotifier();
};
