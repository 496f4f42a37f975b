#include "cli/RumbleCommand.h"

#include "cli/CliOptions.h"
#include "input/KestGameControllerManager.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

namespace {

void fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    QCoreApplication::exit(CliOptions::Failed);
}

QString strength(float value)
{
    return QString::number(double(value), 'f', 2);
}

} // namespace

RumbleCommand::RumbleCommand(CliOptions& options, QObject* parent)
    : GameControllerCommand(options, parent)
    , m_secondsOption(QStringLiteral("seconds"), localized("CliRumbleSeconds"), QStringLiteral("S"))
    , m_lowOption(QStringLiteral("low"), localized("CliRumbleLow"), QStringLiteral("S"))
    , m_highOption(QStringLiteral("high"), localized("CliRumbleHigh"), QStringLiteral("S"))
    , m_leftTriggerOption(QStringLiteral("left-trigger"), localized("CliRumbleLeftTrigger"), QStringLiteral("S"))
    , m_rightTriggerOption(QStringLiteral("right-trigger"), localized("CliRumbleRightTrigger"), QStringLiteral("S"))
    , m_lightOption(QStringLiteral("light"), localized("CliRumbleLight"), QStringLiteral("RRGGBB"))
{
}

QString RumbleCommand::description() const
{
    return localized("CliRumbleHelp");
}

int RumbleCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    double seconds = kDefaultRumbleSeconds;
    if (parser.isSet(m_secondsOption)) {
        bool ok = false;
        seconds = parser.value(m_secondsOption).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > kMaxRumbleSeconds)
            return usage(localized("CliSecondsRange").arg(QStringLiteral("--seconds")).arg(kMaxRumbleSeconds));
    }
    Motors motors;
    for (auto [option, motor] : { std::pair { &m_lowOption, &motors.low }, std::pair { &m_highOption, &motors.high },
             std::pair { &m_leftTriggerOption, &motors.leftTrigger },
             std::pair { &m_rightTriggerOption, &motors.rightTrigger } }) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        const double value = parser.value(*option).toDouble(&ok);
        if (!ok || !(value >= 0.0 && value <= 1.0))
            return usage(localized("CliStrengthRange").arg(QStringLiteral("--") + option->names().first()));
        *motor = float(value);
    }
    std::optional<Colour> light;
    if (parser.isSet(m_lightOption)) {
        static const QRegularExpression kColour(QStringLiteral("^#?[0-9A-Fa-f]{6}$"));
        const QString text = parser.value(m_lightOption);
        if (!kColour.match(text).hasMatch())
            return usage(localized("CliLightInvalid"));
        const uint rgb = text.right(6).toUInt(nullptr, 16);
        light = Colour { int(rgb >> 16 & 0xff), int(rgb >> 8 & 0xff), int(rgb & 0xff) };
    }
    if (!startControllers())
        return CliOptions::Failed;
    MainQueue::dispatchAfter(
        kSettleSeconds, [this, seconds, motors, light] { start(seconds, motors, light); }, this);
    return runEventLoop();
}

void RumbleCommand::start(double seconds, const Motors& motors, const std::optional<Colour>& light)
{
    // The light alone needs no motors; motors named need those motors.
    const bool rumble = !motors.named() ? !light : motors.main();
    const bool triggers = motors.triggers();
    GCControllerPtr pad;
    for (const GCControllerPtr& c : services().controllers().connectedGameControllers())
        if (!pad && (!rumble || c->hasRumble()) && (!triggers || c->hasTriggerRumble()) && (!light || c->hasLight()))
            pad = c;
    if (!pad) {
        fail(localized(rumble ? "NoRumbleController" : triggers ? "NoTriggerRumbleController" : "NoLightController"));
        return;
    }
    const int ms = int(std::lround(seconds * 1000));
    if (light) {
        const auto [red, green, blue] = *light;
        if (!pad->setLightColor(red, green, blue)) {
            fail(localized("LightRefused").arg(pad->vendorName()));
            return;
        }
        printLine(localized("LightSet").arg(pad->vendorName(), QString::asprintf("#%02x%02x%02x", red, green, blue)));
        if (!motors.named()) {
            QCoreApplication::exit(CliOptions::Ok);
            return;
        }
    }
    if (!motors.named()) {
        if (!pad->rumble(1.0f, 1.0f, ms)) {
            fail(localized("RumbleRefused").arg(pad->vendorName()));
            return;
        }
        if (pad->hasTriggerRumble())
            pad->rumbleTriggers(1.0f, 1.0f, ms);
        printLine(localized("RumbleRunning").arg(pad->vendorName(), QString::number(seconds)));
    } else {
        // Each motor on its own: those not named stay still.
        QStringList running;
        if (motors.main()) {
            if (!pad->rumble(motors.low.value_or(0.0f), motors.high.value_or(0.0f), ms)) {
                fail(localized("RumbleRefused").arg(pad->vendorName()));
                return;
            }
        }
        if (motors.triggers()) {
            if (!pad->rumbleTriggers(motors.leftTrigger.value_or(0.0f), motors.rightTrigger.value_or(0.0f), ms)) {
                fail(localized("RumbleRefused").arg(pad->vendorName()));
                return;
            }
        }
        for (auto [motor, key] : { std::pair { motors.low, "MotorLow" }, std::pair { motors.high, "MotorHigh" },
                 std::pair { motors.leftTrigger, "MotorLeftTrigger" },
                 std::pair { motors.rightTrigger, "MotorRightTrigger" } })
            if (motor)
                running << localized("MotorStrength").arg(localized(key), strength(*motor));
        printLine(localized("RumbleMotorsRunning")
                      .arg(pad->vendorName(), QString::number(seconds), running.join(QStringLiteral(", "))));
    }
    // The device stops by itself when the time is up, while the program
    // still runs; the time is real, whatever the time scale.
    MainQueue::dispatchAfter(
        seconds / MainQueue::timeScale(), [] { QCoreApplication::exit(CliOptions::Ok); }, this);
}
