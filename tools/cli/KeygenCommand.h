#pragma once

#include "cli/CliCommand.h"

// `keygen FILE`: a new Ed25519 key in FILE (PEM, owner only, never over an
// existing file); prints its key id, then its public key.
class KeygenCommand : public CliCommand {
    Q_OBJECT
public:
    using CliCommand::CliCommand;

    QString name() const override { return QStringLiteral("keygen"); }
    QString synopsis() const override { return QStringLiteral("FILE"); }
    QString description() const override;
    int run(const QCommandLineParser& parser) override;
};
