#pragma once

#include "cli/CliCommand.h"

// `history [--json]`: the upgrade runs recorded in the documents directory,
// newest first.
class HistoryCommand : public CliCommand {
    Q_OBJECT
public:
    explicit HistoryCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("history"); }
    QString synopsis() const override { return QStringLiteral("[--json]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_jsonOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    const QCommandLineOption m_jsonOption;
};
