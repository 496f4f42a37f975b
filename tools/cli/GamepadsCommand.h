#pragma once

#include "cli/GameControllerCommand.h"

// `gamepads [--mapping]`: the connected game controllers, one a line; with
// --mapping each one's mapping line instead, in SDL's format.
class GamepadsCommand : public GameControllerCommand {
    Q_OBJECT
public:
    explicit GamepadsCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("gamepads"); }
    QString synopsis() const override { return QStringLiteral("[--mapping]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_mappingOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    const QCommandLineOption m_mappingOption;
};
