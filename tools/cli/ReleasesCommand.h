#pragma once

#include "cli/CliCommand.h"

// `releases [--local | --online]`: the local releases, the online ones, or
// both (local first), newest first, one a line.
class ReleasesCommand : public CliCommand {
    Q_OBJECT
public:
    explicit ReleasesCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("releases"); }
    QString synopsis() const override { return QStringLiteral("[--local | --online]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_localOption, m_onlineOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    const QCommandLineOption m_localOption;
    const QCommandLineOption m_onlineOption;
};
