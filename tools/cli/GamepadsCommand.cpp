#include "cli/GamepadsCommand.h"

#include "cli/CliOptions.h"
#include "input/KestGameControllerManager.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

QString orDash(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

QString GamepadsCommand::description() const
{
    return localized("CliGamepadsHelp");
}

int GamepadsCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        return usage(localized("CliUnexpectedArgument").arg(parser.positionalArguments().first()));
    if (!startControllers())
        return CliOptions::Failed;
    MainQueue::dispatchAfter(
        kSettleSeconds,
        [] {
            // One line per controller: name, player index, profile, type, vendor:product, GUID.
            for (const GCControllerPtr& c : KestGameControllerManager::sharedInstance().connectedGameControllers()) {
                const GCControllerIdentity id = c->identity();
                printLine(QStringList { c->vendorName(), QString::number(c->playerIndex()), profileName(c),
                    orDash(id.type), orDash(id.vendorProductText()), orDash(id.guid) }
                              .join(QLatin1Char('\t')));
            }
            QCoreApplication::exit(CliOptions::Ok);
        },
        this);
    return runEventLoop();
}
