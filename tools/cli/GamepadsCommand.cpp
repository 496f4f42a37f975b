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

GamepadsCommand::GamepadsCommand(CliOptions& options, QObject* parent)
    : GameControllerCommand(options, parent)
    , m_mappingOption(QStringLiteral("mapping"), localized("CliGamepadsMapping"))
{
}

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
    const bool mapping = parser.isSet(m_mappingOption);
    MainQueue::dispatchAfter(
        kSettleSeconds,
        [this, mapping] {
            // One line per controller: name, player index, profile, type, vendor:product, GUID;
            // or its mapping line, ready for a mapping file (a comment where it has none).
            for (const GCControllerPtr& c : services().controllers().connectedGameControllers()) {
                const GCControllerIdentity id = c->identity();
                if (mapping)
                    printLine(id.mapping.isEmpty() ? QStringLiteral("# ")
                                + localized("GamepadHasNoMapping").arg(c->vendorName(), orDash(id.guid))
                                                   : id.mapping);
                else
                    printLine(QStringList { c->vendorName(), QString::number(c->playerIndex()), profileName(c),
                        orDash(id.type), orDash(id.vendorProductText()), orDash(id.guid) }
                                  .join(QLatin1Char('\t')));
            }
            QCoreApplication::exit(CliOptions::Ok);
        },
        this);
    return runEventLoop();
}
