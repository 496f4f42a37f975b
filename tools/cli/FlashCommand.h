#pragma once

#include "cli/RunReporter.h"
#include "upgrade/UpgradeRun.h"

#include <QObject>
#include <QString>

class ControllerConnector;
struct CliOptions;

// `flash [--json] [--boot FILE] [--left FILE] [--right FILE]`: one upgrade
// run of loose images, sent in the engine's order (boot loader, left, right)
// across the controller's restarts, then the versions read again. Success
// only when the run completed: every image acknowledged and the versions
// read afterwards.
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
    bool m_json = false;
    UpgradeRun m_run;
    RunReporter* m_reporter = nullptr;
};
