#include "platform/gamepad/GameControllerService.h"

#include "platform/runtime/NotificationCenter.h"
#include "platform/gamepad/SdlGameControllerSource.h"

#include <algorithm>

GameControllerService& GameControllerService::sharedService()
{
    static GameControllerService* instance = new GameControllerService; // lives as long as the process
    return *instance;
}

void GameControllerService::connectController(const GCControllerPtr& controller)
{
    if (!controller || std::find(m_controllers.begin(), m_controllers.end(), controller) != m_controllers.end())
        return;
    m_controllers.push_back(controller);
    NotificationCenter::defaultCenter().postNotification(
        GCControllerDidConnectNotification, QVariant::fromValue(controller));
}

void GameControllerService::disconnectController(const GCControllerPtr& controller)
{
    auto it = std::find(m_controllers.begin(), m_controllers.end(), controller);
    if (it == m_controllers.end())
        return;
    m_controllers.erase(it);
    NotificationCenter::defaultCenter().postNotification(
        GCControllerDidDisconnectNotification, QVariant::fromValue(controller));
    // Whoever installs a pause handler may be held by it while holding the
    // controller in turn; dropping the handler of a controller that is gone
    // ends that cycle, so neither outlives the connection.
    controller->setControllerPausedHandler(nullptr);
}

bool GameControllerService::startHardwareControllers()
{
    if (!m_hardware) {
        m_hardware = new SdlGameControllerSource(*this); // lives as long as the process, as SDL does
        m_hardware->start();
    }
    return m_hardware->isRunning();
}

bool GameControllerService::isFollowingHardware() const
{
    return m_hardware && m_hardware->isRunning();
}

QString GameControllerService::hardwareError() const
{
    return m_hardware ? m_hardware->errorString() : QString();
}
