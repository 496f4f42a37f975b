#pragma once

#include "cli/GameControllerCommand.h"

// `rumble [--seconds S]`: runs the motors of the first controller that has them.
class RumbleCommand : public GameControllerCommand {
    Q_OBJECT
public:
    // How long rumble runs the motors unless told otherwise, and at most
    // (what SDL allows for one request).
    static constexpr double kDefaultRumbleSeconds = 0.5;
    static constexpr double kMaxRumbleSeconds = 65.0;

    explicit RumbleCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("rumble"); }
    QString synopsis() const override { return QStringLiteral("[--seconds S]"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return { m_secondsOption }; }
    int run(const QCommandLineParser& parser) override;

private:
    const QCommandLineOption m_secondsOption;
};
