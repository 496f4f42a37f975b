#pragma once

#include "cli/GameControllerCommand.h"

// `gamepads`: the connected game controllers, one a line.
class GamepadsCommand : public GameControllerCommand {
    Q_OBJECT
public:
    using GameControllerCommand::GameControllerCommand;

    QString name() const override { return QStringLiteral("gamepads"); }
    QString synopsis() const override { return QString(); }
    QString description() const override;
    int run(const QCommandLineParser& parser) override;
};
