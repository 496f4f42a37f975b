#include "upgrade/ZelFirmwareUpgradeManager.h"

#include "accessory/EADSessionController.h"
#include "lib/MessageToast.h"
#include "platform/EAAccessoryManager.h"
#include "platform/InfoDictionary.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "upgrade/DeviceInformation.h"

const QString ZelGamepadDisconnectByUpgradingFirmwareNotification =
    QStringLiteral("ZelGamepadDisconnectByUpgradingFirmwareNotification");

namespace {
const QByteArray kRightVersionRequest("\x20\x9F", 2);
const QByteArray kDeviceInformationRequest("\x01\x01", 2);
constexpr int kRightVersionReplyMinimum = 4;
} // namespace

ZelFirmwareUpgradeManager& ZelFirmwareUpgradeManager::sharedInstance()
{
    // Created on first use, registered once, never destroyed.
    static ZelFirmwareUpgradeManager* instance = [] {
        auto* engine = new ZelFirmwareUpgradeManager;
        engine->supportedProtocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        engine->addNotificationObserver();
        return engine;
    }();
    return *instance;
}

ZelFirmwareUpgradeManager::ZelFirmwareUpgradeManager() = default;

void ZelFirmwareUpgradeManager::addNotificationObserver()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, EAAccessoryDidConnectNotification,
                       [this](const Notification& n) { _accessoryDidConnect(n); });
    center.addObserver(this, EAAccessoryDidDisconnectNotification,
                       [this](const Notification& n) { _accessoryDidDisconnect(n); });
    center.addObserver(this, EADSessionDataReceivedNotification,
                       [this](const Notification& n) { _sessionDataReceived(n); });
    EAAccessoryManager::sharedAccessoryManager().registerForLocalNotifications();
    EADSessionController& session = EADSessionController::sharedController();
    session.openSession();
    accessory = session.accessory();
}

// Request and reply layer --------------------------------------------------

void ZelFirmwareUpgradeManager::writeData(const QByteArray& data, ReadCallback callback)
{
    EADSessionController::sharedController().writeData(data);
    if (callback)
        readCallback = std::move(callback);
}

void ZelFirmwareUpgradeManager::_sessionDataReceived(const Notification&)
{
    EADSessionController& session = EADSessionController::sharedController();
    quint64 n = session.readBytesAvailable();
    while (n > 0) {
        const QByteArray reply = session.readData(n);
        // Each chunk is one reply; a handler may install the next handler,
        // so take a copy of the current one for the call.
        if (!reply.isNull() && readCallback) {
            ReadCallback handler = readCallback;
            handler(reply);
        }
        n = session.readBytesAvailable();
    }
}

// Version query --------------------------------------------------------------

void ZelFirmwareUpgradeManager::checkCurrentVersion(VersionCallback callback)
{
    checkVersionWithSide(1, std::move(callback));
}

void ZelFirmwareUpgradeManager::checkRightSideVersion()
{
    checkVersionWithSide(1, nullptr);
}

void ZelFirmwareUpgradeManager::checkLeftSideVersion()
{
    checkVersionWithSide(2, nullptr);
}

void ZelFirmwareUpgradeManager::checkVersionWithSide(unsigned side, VersionCallback callback)
{
    if (side == 1) {
        writeData(kRightVersionRequest, [this, callback](const QByteArray& reply) { rightVersionReceived(reply, callback); });
        stopCheckVersionTimer();
        checkVersionTimer = Timer::scheduledTimer(kCheckVersionTimeout, false, [] {
            MessageToast::showMsgWithtext(localized("UnplugDevicePrompt"), kUnplugPromptSeconds);
        });
    } else {
        writeData(kDeviceInformationRequest,
                  [this, callback](const QByteArray& reply) { deviceInformationReceived(reply, callback); });
    }
}

void ZelFirmwareUpgradeManager::rightVersionReceived(const QByteArray& reply, const VersionCallback& callback)
{
    if (reply.size() < kRightVersionReplyMinimum)
        return; // too short to hold a version: a stray reply
    const auto* b = reinterpret_cast<const uint8_t*>(reply.constData());
    rightVersion = QString::asprintf("%d.%d", b[2], b[3]);
    MainQueue::dispatchAfter(kLeftRequestDelay, [this, callback] { checkVersionWithSide(2, callback); });
}

void ZelFirmwareUpgradeManager::deviceInformationReceived(const QByteArray& reply, const VersionCallback& callback)
{
    DeviceInformation& record = DeviceInformation::shared();
    if (!record.fill(reply))
        return;
    bootVersion = record.bootVer();
    leftVersion = record.softwareVersion();
    if (rightVersion.isEmpty())
        return;
    const QString combined = QStringLiteral("%1-%2-%3").arg(bootVersion, leftVersion, rightVersion);
    if (callback)
        callback(combined);
    stopCheckVersionTimer();
}

void ZelFirmwareUpgradeManager::stopCheckVersionTimer()
{
    if (checkVersionTimer && checkVersionTimer->isValid()) {
        checkVersionTimer->invalidate();
        checkVersionTimer.reset();
    }
}

QString ZelFirmwareUpgradeManager::hardwareVersion() const { return DeviceInformation::shared().hardwareVersion(); }
QString ZelFirmwareUpgradeManager::bluetoothVersion() const { return DeviceInformation::shared().bluetoothVersion(); }
QString ZelFirmwareUpgradeManager::softwareVersion() const { return DeviceInformation::shared().softwareVersion(); }
QString ZelFirmwareUpgradeManager::gcmVersion() const { return DeviceInformation::shared().gcmVersion(); }
QString ZelFirmwareUpgradeManager::productDateString() const { return DeviceInformation::shared().productDateString(); }
QString ZelFirmwareUpgradeManager::macAddressWithoutColon() const { return DeviceInformation::shared().macAddressWithoutColon(); }
QString ZelFirmwareUpgradeManager::bootVer() const { return DeviceInformation::shared().bootVer(); }
QString ZelFirmwareUpgradeManager::updateTime() const { return DeviceInformation::shared().updateTime(); }

// Accessory following ------------------------------------------------------

void ZelFirmwareUpgradeManager::_accessoryDidConnect(const Notification& notification)
{
    isGamepadDisconnectByUpgradingFirmware = false;
    const EAAccessoryPtr connected = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    if (!connected)
        return;
    for (const QString& offered : connected->protocolStrings()) {
        for (const QString& declared : supportedProtocols) {
            if (declared != offered)
                continue;
            accessory = connected;
            MainQueue::dispatchAfter(2.0, [this] {
                EADSessionController& session = EADSessionController::sharedController();
                session.setupControllerForAccessory(accessory, supportedProtocols.value(0));
                session.openSession();
            });
        }
    }
}

void ZelFirmwareUpgradeManager::_accessoryDidDisconnect(const Notification& notification)
{
    if (isGamepadDisconnectByUpgradingFirmware) {
        NotificationCenter::defaultCenter().postNotification(ZelGamepadDisconnectByUpgradingFirmwareNotification, true);
    } else {
        isUpgradingFirmware = false;
        NotificationCenter::defaultCenter().postNotification(ZelGamepadDisconnectByUpgradingFirmwareNotification, false);
    }
    const EAAccessoryPtr gone = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    if (accessory && gone && accessory->connectionID() == gone->connectionID()) {
        accessory.reset();
        EADSessionController::sharedController().closeSession();
    }
}
