#include "input/KestGameControllerManager.h"

#include "input/KestGameController.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/NotificationCenter.h"

#include <algorithm>

KestGameControllerManager& KestGameControllerManager::sharedInstance()
{
    // Lives as long as the process.
    static KestGameControllerManager* instance = new KestGameControllerManager(GameControllerService::sharedService());
    return *instance;
}

KestGameControllerManager::KestGameControllerManager(GameControllerService& service)
    : m_service(service)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(
        this, GCControllerDidConnectNotification, [this](const Notification& n) { _gameControllerConnected(n); });
    center.addObserver(
        this, GCControllerDidDisconnectNotification, [this](const Notification& n) { _gameControllerDisconnected(n); });
}

std::vector<GCControllerPtr> KestGameControllerManager::connectedGameControllers() const
{
    // During a connect notification the list already holds the controller that connected.
    return m_service.controllers();
}

void KestGameControllerManager::_gameControllerConnected(const Notification& notification)
{
    const GCControllerPtr controller = notification.object.value<GCControllerPtr>();
    if (!controller)
        return;
    if (controller->playerIndex() == GCControllerPlayerIndexUnset) {
        // The lowest number that no other connected controller has. Counting
        // the connected controllers instead would give a newcomer the number
        // of one still playing after an earlier controller left.
        std::vector<int> taken;
        for (const GCControllerPtr& other : connectedGameControllers())
            if (other != controller)
                taken.push_back(other->playerIndex());
        int index = 0;
        while (std::find(taken.begin(), taken.end(), index) != taken.end())
            ++index;
        controller->setPlayerIndex(index);
    }
    const auto gameController = KestGameController::create(*this);
    gameController->setController(controller);
    if (m_delegate)
        m_delegate->gameControllerManager(this, gameController);
}

void KestGameControllerManager::_gameControllerDisconnected(const Notification& notification)
{
    (void)notification;
    if (m_delegate)
        m_delegate->gameControllerManagerGameControllerDisconnected(this);
}
