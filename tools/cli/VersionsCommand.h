#pragma once

#include "cli/CliCommand.h"

// `versions [--json]`: asks the controller for its versions and device
// information and prints them.
class VersionsCommand : public CliCommand {
    Q_OBJECT
public:
    explicit VersionsCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("versions"); }
    QString synopsis() const override { return QStringLiteral("[--json]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_jsonOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    void query();

    const QCommandLineOption m_jsonOption;
    bool m_done = false;
    bool m_json = false;
};
