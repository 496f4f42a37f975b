#pragma once

#include "cli/RunReporter.h"
#include "firmware/ZelFirmware.h"
#include "upgrade/UpgradeRun.h"

#include <QObject>
#include <QString>

class ControllerConnector;
struct CliOptions;

// `upgrade [--json] [--allow-older] (--local VERSION | --online VERSION |
// --latest)`: chooses the release as the upgrade screen does and runs one
// upgrade to it, which succeeds only when the controller then reports the
// release's version. --latest sends nothing when the controller already runs
// the newest release or a newer one; a named release older than the
// controller's firmware needs --allow-older.
class UpgradeCommand : public QObject {
    Q_OBJECT
public:
    UpgradeCommand(const CliOptions& options, ControllerConnector* connector, QObject* parent = nullptr);
    // Starts the command; false on a usage error (already reported).
    bool run();

private:
    enum class Source { Local, Online, Latest };
    bool parseArguments();
    void readControllerVersions();
    void findRelease();
    void upgrade(const ZelFirmware& release);
    void fail(const QString& message);

    const CliOptions& m_options;
    ControllerConnector* m_connector;
    Source m_source = Source::Latest;
    QString m_version;
    bool m_json = false;
    bool m_allowOlder = false;
    QString m_current;
    UpgradeRun m_run;
    RunReporter* m_reporter = nullptr;
    bool m_versionsRead = false;
};
