#include "cli/RumbleCommand.h"

#include "cli/CliOptions.h"
#include "input/KestGameControllerManager.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>
#include <cstdio>

RumbleCommand::RumbleCommand(CliOptions& options, QObject* parent)
    : GameControllerCommand(options, parent)
    , m_secondsOption(QStringLiteral("seconds"), localized("CliRumbleSeconds"), QStringLiteral("S"))
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
    if (!startControllers())
        return CliOptions::Failed;
    MainQueue::dispatchAfter(
        kSettleSeconds,
        [this, seconds] {
            GCControllerPtr pad;
            for (const GCControllerPtr& c : KestGameControllerManager::sharedInstance().connectedGameControllers())
                if (!pad && c->hasRumble())
                    pad = c;
            const int ms = int(std::lround(seconds * 1000));
            if (!pad || !pad->rumble(1.0f, 1.0f, ms)) {
                std::fprintf(stderr, "%s\n",
                    qPrintable(
                        pad ? localized("RumbleRefused").arg(pad->vendorName()) : localized("NoRumbleController")));
                QCoreApplication::exit(CliOptions::Failed);
                return;
            }
            if (pad->hasTriggerRumble())
                pad->rumbleTriggers(1.0f, 1.0f, ms);
            printLine(localized("RumbleRunning").arg(pad->vendorName(), QString::number(seconds)));
            // The device stops by itself when the time is up, while the program
            // still runs; the time is real, whatever the time scale.
            MainQueue::dispatchAfter(
                seconds / MainQueue::timeScale(), [] { QCoreApplication::exit(CliOptions::Ok); }, this);
        },
        this);
    return runEventLoop();
}
