#pragma once

#include "cli/CliCommand.h"

// `import FILE`: imports a release archive as a local release, as a file
// opened into the application is; the user's file stays where it is.
class ImportCommand : public CliCommand {
    Q_OBJECT
public:
    using CliCommand::CliCommand;

    QString name() const override { return QStringLiteral("import"); }
    QString synopsis() const override { return QStringLiteral("FILE"); }
    QString description() const override;
    int run(const QCommandLineParser& parser) override;
};
