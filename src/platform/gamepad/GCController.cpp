#include "platform/gamepad/GCController.h"

#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/NotificationCenter.h"

const QString GCControllerDidConnectNotification = QStringLiteral("GCControllerDidConnectNotification");
const QString GCControllerDidDisconnectNotification = QStringLiteral("GCControllerDidDisconnectNotification");
const QString GCControllerValuesDidChangeNotification = QStringLiteral("GCControllerValuesDidChangeNotification");

QString GCControllerIdentity::vendorProductText() const
{
    if (vendorId < 0 || productId < 0)
        return QString();
    return QString::asprintf("%04x:%04x", unsigned(vendorId), unsigned(productId));
}

GCControllerPtr GCController::create(
    const QString& vendorName, GCControllerProfile profile, const GCExtendedGamepadOptionalElements& offered)
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

void GCController::setBatteryLevel(GCControllerBatteryLevel level)
{
    if (level == m_batteryLevel)
        return;
    m_batteryLevel = level;
    valuesChanged();
}

bool GCController::setRawValue(size_t index, int value)
{
    if (index >= m_rawInputs.size() || m_rawInputs[index].value == value)
        return false;
    m_rawInputs[index].value = value;
    return true;
}

void GCController::valuesChanged()
{
    NotificationCenter::defaultCenter().postNotification(
        GCControllerValuesDidChangeNotification, QVariant::fromValue(shared_from_this()));
}

bool GCController::rumble(float low, float high, int milliseconds) const
{
    return m_haptics.rumble && m_haptics.rumble(low, high, milliseconds);
}

bool GCController::rumbleTriggers(float left, float right, int milliseconds) const
{
    return m_haptics.rumbleTriggers && m_haptics.rumbleTriggers(left, right, milliseconds);
}

bool GCController::setLightColor(int red, int green, int blue) const
{
    return m_haptics.setLight && m_haptics.setLight(red, green, blue);
}
