#pragma once

#include <QObject>

class ControllerConnector;
struct CliOptions;

// `versions`: asks the controller for its versions and device information
// and prints them.
class VersionsCommand : public QObject {
    Q_OBJECT
public:
    VersionsCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent = nullptr);
    // Starts the command; false on a usage error (already reported).
    bool run();

private:
    void query();

    const CliOptions& m_options;
    ControllerConnector* m_connector;
    bool m_done = false;
    bool m_json = false;
};
