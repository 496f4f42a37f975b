#pragma once

#include "cli/CliCommand.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

class StationBoard;
class StationController;

// `station --device D [--device D ...] [--json] (flash ... | upgrade ...)`:
// the same job, worded as the flash or upgrade command words it, on every
// named controller at once in one process, each with its own engine, run,
// limits, restarts and history record. With --json every event line of the
// job's gains "device"; otherwise one status line per controller. Success
// only when every controller completed; each failure is named with its
// device and reason.
class StationCommand : public CliCommand {
    Q_OBJECT
public:
    explicit StationCommand(CliOptions& options, QObject* parent = nullptr);
    ~StationCommand() override;

    QString name() const override { return QStringLiteral("station"); }
    QString synopsis() const override
    {
        return QStringLiteral("--device D [--device D ...] [--json] (flash [--boot FILE] [--left FILE] [--right FILE] "
                              "| upgrade (--local VERSION | --online VERSION | --latest))");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_deviceOption, m_jsonOption }; }
    bool optionsEndAtFirstArgument() const override { return true; }
    // --record: one recording a controller.
    bool recordsEachController() const override { return true; }
    int run(const QCommandLineParser& parser) override;

private:
    // One controller may download the release at a time: it says whether c may start now.
    bool mayStart(StationController* c);
    // The controller downloading has its images, or has ended: the next may go.
    void downloadMayHaveEnded();
    void controllerOver();
    void interrupted();

    const QCommandLineOption m_deviceOption;
    const QCommandLineOption m_jsonOption;
    QList<StationController*> m_controllers;
    StationBoard* m_board = nullptr;
    StationController* m_downloading = nullptr;
    QList<StationController*> m_waitingForDownload;
    bool m_interruptNoted = false;
};
