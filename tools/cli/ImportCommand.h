#pragma once

#include "cli/CliCommand.h"

// `import FILE...`: imports release archives as local releases, as files
// opened into the application are; the user's files stay where they are.
// One archive prints every message of its import; several print a line
// each with the archive's name and its outcome, as the application's
// message for several files does, and name the failures on standard error.
class ImportCommand : public CliCommand {
    Q_OBJECT
public:
    using CliCommand::CliCommand;

    QString name() const override { return QStringLiteral("import"); }
    QString synopsis() const override { return QStringLiteral("FILE..."); }
    QString description() const override;
    int run(const QCommandLineParser& parser) override;

private:
    int importOne(const QString& file);
    int importSeveral(const QStringList& files);
};
