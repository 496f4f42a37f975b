#pragma once

#include "cli/RunWatcher.h"

#include <QObject>
#include <QString>

class ControllerConnector;
struct CliOptions;

// `flash [--boot FILE] [--left FILE] [--right FILE]`: sends the given images
// through the engine in its order (boot loader, left, right) across the
// controller's restarts, then reads the versions again. Success only when
// every image was acknowledged and the versions were read afterwards.
class FlashCommand : public QObject {
    Q_OBJECT
public:
    FlashCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent = nullptr);
    // Starts the command; false on a usage error (already reported).
    bool run();

private:
    bool parseArguments();
    void start();

    const CliOptions& m_options;
    ControllerConnector* m_connector;
    QString m_boot, m_left, m_right;
    RunWatcher m_watcher;
};
