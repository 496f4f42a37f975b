#pragma once

#include "cli/RunWatcher.h"
#include "firmware/ZelFirmware.h"

#include <QObject>
#include <QString>

class ControllerConnector;
struct CliOptions;

// `upgrade (--local VERSION | --online VERSION | --latest)`: chooses the
// release as the upgrade screen does, starts the upgrade, follows it across
// the controller's restarts, and succeeds only when the controller then
// reports the release's version.
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
    RunWatcher m_watcher;
    bool m_versionsRead = false;
};
