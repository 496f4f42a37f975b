#include "cli/CommandLine.h"
#include "cli/FlashCommand.h"
#include "cli/GamepadsCommand.h"
#include "cli/HistoryCommand.h"
#include "cli/ImportCommand.h"
#include "cli/KeygenCommand.h"
#include "cli/KeytestCommand.h"
#include "cli/PublishCommand.h"
#include "cli/ReleasesCommand.h"
#include "cli/RumbleCommand.h"
#include "cli/ServeCommand.h"
#include "cli/SignKeysCommand.h"
#include "cli/SignListCommand.h"
#include "cli/SignRootCommand.h"
#include "cli/StationCommand.h"
#include "cli/UpgradeCommand.h"
#include "cli/VersionsCommand.h"
#include "accessory/EADSessionController.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "input/KestGameControllerManager.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    MainQueue::chooseEventDispatcher();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q3dart-cli"));
    QCoreApplication::setApplicationVersion(
        InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString")));
    if (const double scale = qEnvironmentVariable("Q3DART_TIME_SCALE").toDouble(); scale > 0)
        MainQueue::setTimeScale(scale);
    Localization::shared().installIntoApplication();
    SimAccessoryTransport::registerAddressScheme();

    // The commands, in the order the help lists them.
    // The one place the commands' process-wide objects are reached.
    CliServices services;
    services.engine = []() -> ZelFirmwareUpgradeManager& { return ZelFirmwareUpgradeManager::sharedInstance(); };
    services.catalogue = []() -> ZelFirmwareDataTool& { return ZelFirmwareDataTool::sharedInstance(); };
    services.session = []() -> EADSessionController& { return EADSessionController::sharedController(); };
    services.accessories = []() -> EAAccessoryManager& { return EAAccessoryManager::sharedAccessoryManager(); };
    services.registry = []() -> ControllerRegistry& { return ControllerRegistry::sharedRegistry(); };
    services.controllers = []() -> KestGameControllerManager& { return KestGameControllerManager::sharedInstance(); };
    services.gameControllerService = []() -> GameControllerService& { return GameControllerService::sharedService(); };
    CommandLine commandLine(std::move(services));
    commandLine.add<VersionsCommand>();
    commandLine.add<FlashCommand>();
    commandLine.add<UpgradeCommand>();
    commandLine.add<StationCommand>();
    commandLine.add<HistoryCommand>();
    commandLine.add<ReleasesCommand>();
    commandLine.add<ImportCommand>();
    commandLine.add<ServeCommand>();
    commandLine.add<PublishCommand>();
    commandLine.add<SignListCommand>();
    commandLine.add<SignKeysCommand>();
    commandLine.add<SignRootCommand>();
    commandLine.add<KeygenCommand>();
    commandLine.add<GamepadsCommand>();
    commandLine.add<KeytestCommand>();
    commandLine.add<RumbleCommand>();
    return commandLine.run(QCoreApplication::arguments());
}
