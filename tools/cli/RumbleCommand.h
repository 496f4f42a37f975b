#pragma once

#include "cli/GameControllerCommand.h"

#include <array>
#include <optional>

// `rumble [--seconds S] [--low S] [--high S] [--left-trigger S] [--right-trigger S] [--light RRGGBB]`:
// runs the motors of the first controller that has them: all of them at
// full strength, or each motor named at its own strength (the others
// still), and sets its light.
class RumbleCommand : public GameControllerCommand {
    Q_OBJECT
public:
    // How long rumble runs the motors unless told otherwise, and at most
    // (what SDL allows for one request).
    static constexpr double kDefaultRumbleSeconds = 0.5;
    static constexpr double kMaxRumbleSeconds = 65.0;

    explicit RumbleCommand(CliOptions& options, QObject* parent = nullptr);

    QString name() const override { return QStringLiteral("rumble"); }
    QString synopsis() const override
    {
        return QStringLiteral(
            "[--seconds S] [--low S] [--high S] [--left-trigger S] [--right-trigger S] [--light RRGGBB]");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_secondsOption, m_lowOption, m_highOption, m_leftTriggerOption, m_rightTriggerOption, m_lightOption };
    }
    int run(const QCommandLineParser& parser) override;

private:
    // The strengths asked for; none given: every motor at full strength.
    struct Motors {
        std::optional<float> low, high, leftTrigger, rightTrigger;
        bool named() const { return low || high || leftTrigger || rightTrigger; }
        bool main() const { return low || high; }
        bool triggers() const { return leftTrigger || rightTrigger; }
    };
    using Colour = std::array<int, 3>; // red, green, blue 0..255
    void start(double seconds, const Motors& motors, const std::optional<Colour>& light);

    const QCommandLineOption m_secondsOption;
    const QCommandLineOption m_lowOption;
    const QCommandLineOption m_highOption;
    const QCommandLineOption m_leftTriggerOption;
    const QCommandLineOption m_rightTriggerOption;
    const QCommandLineOption m_lightOption;
};
