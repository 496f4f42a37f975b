#pragma once

#include <QObject>

// SIGINT and SIGTERM (a logout, a shutdown, Ctrl+C in a terminal) end the
// application as they end the tools: at once while nothing can be damaged;
// during an image, once the image under way has ended (or its silence limit
// has ended the run). The run's outcome is recorded before the process ends.
class SignalShutdown : public QObject {
    Q_OBJECT
public:
    explicit SignalShutdown(QObject* parent = nullptr);

private:
    void interrupted();

    bool m_waiting = false;
};
