#include "cli/GameControllerCommand.h"

#include "cli/CliOptions.h"
#include "input/KestGameControllerManager.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/MainQueue.h"
#include "platform/gamepad/SdlGameControllerSource.h"
#include "platform/gamepad/VirtualGameController.h"

#include <cstdio>

namespace {

void printMappingError(GameControllerService& service)
{
    const QString error = service.hardwareSource() ? service.hardwareSource()->mappingError() : QString();
    if (!error.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(error));
}

} // namespace

bool GameControllerCommand::startControllers()
{
    // The manager numbers the controllers as they connect: it must listen
    // before the first one does.
    services().controllers();
    GameControllerService& service = services().gameControllerService();
    if (globalOptions().simulate) {
        m_virtual = std::make_unique<VirtualGameController>(service);
        m_virtual->offerHaptics(true, true, true);
        m_virtual->offerMotion();
        m_virtual->offerTouchpads(kSimulatedTouchpads, kSimulatedFingers);
        MainQueue::dispatchAfter(
            kSimulatedPlugInDelay, [this] { m_virtual->plugIn(); }, this);
        return true;
    }
    if (service.startHardwareControllers()) {
        printMappingError(service);
        return true;
    }
    std::fprintf(stderr, "%s\n", qPrintable(service.hardwareError()));
    return false;
}

QString GameControllerCommand::profileName(const GCControllerPtr& controller)
{
    if (!controller->identity().mapped)
        return QStringLiteral("unmapped");
    switch (controller->profile()) {
    case GCControllerProfile::Extended:
        return QStringLiteral("extended");
    case GCControllerProfile::Basic:
        return QStringLiteral("basic");
    case GCControllerProfile::None:
        break;
    }
    return QStringLiteral("none");
}

void GameControllerCommand::printLine(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
