#include "platform/gamepad/GCController.h"

#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/NotificationCenter.h"

#include <algorithm>

const QString GCControllerDidConnectNotification = QStringLiteral("GCControllerDidConnectNotification");
const QString GCControllerDidDisconnectNotification = QStringLiteral("GCControllerDidDisconnectNotification");
const QString GCControllerValuesDidChangeNotification = QStringLiteral("GCControllerValuesDidChangeNotification");
const QString GCControllerMotionDidChangeNotification = QStringLiteral("GCControllerMotionDidChangeNotification");
const QString GCControllerDidReportNotification = QStringLiteral("GCControllerDidReportNotification");

QString GCControllerReportClock::reasonName() const
{
    switch (reason) {
    case GCControllerClockReason::None:
        break;
    case GCControllerClockReason::NoEventDevice:
        return QStringLiteral("no-event-device");
    case GCControllerClockReason::SeveralEventDevices:
        return QStringLiteral("several-event-devices");
    case GCControllerClockReason::NodeMissing:
        return QStringLiteral("node-missing");
    case GCControllerClockReason::NoPermission:
        return QStringLiteral("no-permission");
    case GCControllerClockReason::Unreadable:
        return QStringLiteral("unreadable");
    case GCControllerClockReason::Closed:
        return QStringLiteral("closed");
    }
    return QString();
}

GCControllerClockReason GCControllerReportClock::reasonNamed(const QString& name)
{
    for (const GCControllerClockReason reason :
        { GCControllerClockReason::NoEventDevice, GCControllerClockReason::SeveralEventDevices,
            GCControllerClockReason::NodeMissing, GCControllerClockReason::NoPermission,
            GCControllerClockReason::Unreadable, GCControllerClockReason::Closed }) {
        GCControllerReportClock clock;
        clock.reason = reason;
        if (clock.reasonName() == name)
            return reason;
    }
    return GCControllerClockReason::None;
}

QString GCControllerReportClock::localizedText() const
{
    if (clock == GCControllerInputClock::Device)
        return node.isEmpty() ? localized("ReportClockDevice") : localized("ReportClockKernel").arg(node);
    QString why;
    switch (reason) {
    case GCControllerClockReason::None:
        return localized("ReportClockPoll");
    case GCControllerClockReason::NoEventDevice:
        why = localized("ClockNoEventDevice");
        break;
    case GCControllerClockReason::SeveralEventDevices:
        why = localized("ClockSeveralEventDevices");
        break;
    case GCControllerClockReason::NodeMissing:
        why = localized("ClockNodeMissing").arg(node);
        break;
    case GCControllerClockReason::NoPermission:
        why = localized("ClockNoPermission").arg(node);
        break;
    case GCControllerClockReason::Unreadable:
        why = localized("ClockUnreadable").arg(node, error);
        break;
    case GCControllerClockReason::Closed:
        why = localized("ClockClosed").arg(node, error);
        break;
    }
    return localized("ReportClockPollBecause").arg(why);
}

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

void GCController::deviceReported(qint64 microseconds, bool afterGap)
{
    m_reportTime = microseconds;
    m_reportFollowsGap = afterGap;
    NotificationCenter::defaultCenter().postNotification(
        GCControllerDidReportNotification, QVariant::fromValue(shared_from_this()));
}

void GCController::setMeasuring(bool measuring)
{
    if (measuring == m_measuring)
        return;
    m_measuring = measuring;
    if (m_measuringSwitch)
        m_measuringSwitch(measuring);
}

void GCController::setMeasuringSwitch(std::function<void(bool)> turn)
{
    m_measuringSwitch = std::move(turn);
    if (m_measuringSwitch && m_measuring)
        m_measuringSwitch(true);
}

void GCController::setMotionSensors(
    bool gyroscope, bool accelerometer, double gyroscopeRateHz, double accelerometerRateHz)
{
    m_motion.hasGyroscope = gyroscope;
    m_motion.hasAccelerometer = accelerometer;
    m_motion.gyroscopeRateHz = gyroscopeRateHz;
    m_motion.accelerometerRateHz = accelerometerRateHz;
}

void GCController::setSensorValues(GCControllerSensor sensor, const std::array<float, 3>& values, qint64 microseconds)
{
    if (sensor == GCControllerSensor::Gyroscope) {
        m_motion.hasGyroscope = true;
        m_motion.rotation = values;
    } else {
        m_motion.hasAccelerometer = true;
        m_motion.acceleration = values;
    }
    m_lastSensor = sensor;
    m_sensorTime = microseconds;
    NotificationCenter::defaultCenter().postNotification(
        GCControllerMotionDidChangeNotification, QVariant::fromValue(shared_from_this()));
}

void GCController::setTouchpads(int count, int fingers)
{
    count = std::clamp(count, 0, kMostTouchpads);
    fingers = std::clamp(fingers, 0, kMostFingers);
    m_touchpads.assign(
        size_t(count), GCControllerTouchpad { std::vector<GCControllerTouch>(size_t(fingers)), false, false });
}

bool GCController::setTouch(int touchpad, int finger, const GCControllerTouch& touch)
{
    if (touchpad < 0 || touchpad >= kMostTouchpads || finger < 0 || finger >= kMostFingers)
        return false;
    if (size_t(touchpad) >= m_touchpads.size())
        m_touchpads.resize(size_t(touchpad) + 1);
    GCControllerTouchpad& pad = m_touchpads[size_t(touchpad)];
    if (size_t(finger) >= pad.fingers.size())
        pad.fingers.resize(size_t(finger) + 1);
    GCControllerTouch& at = pad.fingers[size_t(finger)];
    at = touch;
    at.x = std::clamp(touch.x == touch.x ? touch.x : 0.0f, 0.0f, 1.0f);
    at.y = std::clamp(touch.y == touch.y ? touch.y : 0.0f, 0.0f, 1.0f);
    at.pressure = std::clamp(touch.pressure == touch.pressure ? touch.pressure : 0.0f, 0.0f, 1.0f);
    if (at.down && at.pressure > 0.0f && at.pressure < 1.0f)
        pad.reportsPressure = true;
    valuesChanged();
    return true;
}

bool GCController::setTouchpadPressed(int touchpad, bool pressed)
{
    if (touchpad < 0 || touchpad >= kMostTouchpads)
        return false;
    if (size_t(touchpad) >= m_touchpads.size())
        m_touchpads.resize(size_t(touchpad) + 1);
    if (m_touchpads[size_t(touchpad)].pressed != pressed) {
        m_touchpads[size_t(touchpad)].pressed = pressed;
        valuesChanged();
    }
    return true;
}

bool GCController::saveMapping(const QByteArray& line, QString* error) const
{
    // The saver may replace this controller, and clear its own closure, while it runs.
    const auto saver = m_mappingSaver;
    if (!saver) {
        if (error)
            *error = localized("MappingNotTaken").arg(m_vendorName);
        return false;
    }
    return saver(line, error);
}
