#pragma once

#include "cli/CliCommand.h"
#include "cli/RunReporter.h"
#include "upgrade/UpgradeRun.h"

#include <memory>

#include <QString>

// `flash [--json] [--boot FILE] [--left FILE] [--right FILE]`: one upgrade
// run of loose images, sent in the engine's order (boot loader, left, right)
// across the controller's restarts, then the versions read again. Success
// only when the run completed: every image acknowledged and the versions
// read afterwards.
class FlashCommand : public CliCommand {
    Q_OBJECT
public:
    explicit FlashCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("flash"); }
    QString synopsis() const override { return QStringLiteral("[--json] [--boot FILE] [--left FILE] [--right FILE]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_jsonOption, m_bootOption, m_leftOption, m_rightOption };
    }
    int run(const QCommandLineParser& parser) override;

private:
    void start();

    const QCommandLineOption m_jsonOption;
    const QCommandLineOption m_bootOption;
    const QCommandLineOption m_leftOption;
    const QCommandLineOption m_rightOption;
    QString m_boot, m_left, m_right;
    bool m_json = false;
    // Made when the controller is reached, on the engine the command is handed.
    std::unique_ptr<UpgradeRun> m_run;
    RunReporter* m_reporter = nullptr;
};
