#include "platform/GCController.h"

#include "platform/GameControllerService.h"

const QString GCControllerDidConnectNotification = QStringLiteral("GCControllerDidConnectNotification");
const QString GCControllerDidDisconnectNotification = QStringLiteral("GCControllerDidDisconnectNotification");

GCControllerPtr GCController::create(const QString& vendorName, GCControllerProfile profile,
                                     const GCExtendedGamepadOptionalElements& offered)
{
    GCControllerPtr controller(new GCController);
    controller->m_vendorName = vendorName;
    if (profile == GCControllerProfile::Extended)
        controller->m_extendedGamepad = std::make_shared<GCExtendedGamepad>(offered);
    else if (profile == GCControllerProfile::Basic)
        controller->m_gamepad = std::make_shared<GCGamepad>();
    return controller;
}

std::vector<GCControllerPtr> GCController::controllers()
{
    return GameControllerService::sharedService().controllers();
}

GCControllerProfile GCController::profile() const
{
    if (m_extendedGamepad)
        return GCControllerProfile::Extended;
    return m_gamepad ? GCControllerProfile::Basic : GCControllerProfile::None;
}

void GCController::setPlayerIndex(int playerIndex)
{
    if (playerIndex < GCControllerPlayerIndexUnset)
        playerIndex = GCControllerPlayerIndexUnset;
    m_playerIndex = playerIndex;
    if (m_playerIndexDisplay)
        m_playerIndexDisplay(playerIndex);
}

void GCController::pause()
{
    // The handler may hold the last reference to whatever it calls, and that
    // may clear the handler while it runs: call a copy.
    if (const PausedHandler handler = m_pausedHandler)
        handler(shared_from_this());
}
