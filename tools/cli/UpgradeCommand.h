#pragma once

#include "cli/CliCommand.h"
#include "cli/RunReporter.h"
#include "firmware/ZelFirmware.h"
#include "upgrade/UpgradeRun.h"

#include <memory>
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QString>

#include <functional>

// `upgrade [--json] [--allow-older] (--local VERSION | --online VERSION |
// --latest)`: chooses the release as the upgrade screen does and runs one
// upgrade to it, which succeeds only when the controller then reports the
// release's version. --latest sends nothing when the controller already runs
// the newest release or a newer one; a named release older than the
// controller's firmware needs --allow-older.
class ZelFirmwareDataTool;

class UpgradeCommand : public CliCommand {
    Q_OBJECT
public:
    explicit UpgradeCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("upgrade"); }
    QString synopsis() const override
    {
        return QStringLiteral("[--json] [--allow-older] (--local VERSION | --online VERSION | --latest)");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_jsonOption, m_allowOlderOption, m_localOption, m_onlineOption, m_latestOption };
    }
    int run(const QCommandLineParser& parser) override;

    enum class Source { Local, Online, Latest };
    // What the command does with a release for a controller on `current`
    // (B-L-R): install it, nothing (no newer one for --latest, or the
    // controller holds it already), or refuse (older without --allow-older,
    // or the release check's refusal, said in *message).
    enum class Choice { Install, NothingNewer, AlreadyThere, Refused };
    // Finds the release the source names (version for --local and --online),
    // as the upgrade screen does; found() gets it, or null and why not.
    static void findRelease(ZelFirmwareDataTool& catalogue, Source source, const QString& version,
        std::function<void(const ZelFirmware*, const QString&)> found);
    static Choice choose(ZelFirmwareUpgradeManager& engine, const ZelFirmware& release, const QString& current,
        Source source, bool allowOlder, QString* message);

private:
    void readControllerVersions();
    void findRelease();
    void upgrade(const ZelFirmware& release);
    void fail(const QString& message);

    const QCommandLineOption m_jsonOption;
    const QCommandLineOption m_allowOlderOption;
    const QCommandLineOption m_localOption;
    const QCommandLineOption m_onlineOption;
    const QCommandLineOption m_latestOption;
    Source m_source = Source::Latest;
    QString m_version;
    bool m_json = false;
    bool m_allowOlder = false;
    QString m_current;
    // Made when the controller is reached, on the engine the command is handed.
    std::unique_ptr<UpgradeRun> m_run;
    RunReporter* m_reporter = nullptr;
    bool m_versionsRead = false;
};
