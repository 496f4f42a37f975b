#include "upgrade/ZelFirmwareUpgradeManager.h"

#include "accessory/EADSessionController.h"
#include "lib/MessageToast.h"
#include "platform/EAAccessoryManager.h"
#include "platform/InfoDictionary.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "upgrade/DeviceInformation.h"
#include "upgrade/TransferState.h"

#include <algorithm>
#include <utility>

const QString ZelGamepadDisconnectByUpgradingFirmwareNotification =
    QStringLiteral("ZelGamepadDisconnectByUpgradingFirmwareNotification");
const QString ZelConnectionIDKey = QStringLiteral("connectionID");

namespace {
const QByteArray kRightVersionRequest("\x20\x9F", 2);
const QByteArray kDeviceInformationRequest("\x01\x01", 2);
constexpr int kRightVersionReplyMinimum = 4;

// Transfers handed out since start; a handler or resend of an earlier
// transfer (or of a run that has ended) finds another number and does nothing.
quint64 g_transferId = 0;
TransferState::Image g_image = TransferState::Image::Right;

bool startsWith(const QByteArray& reply, std::initializer_list<uint8_t> head)
{
    if (reply.size() < qsizetype(head.size()))
        return false;
    int i = 0;
    for (uint8_t b : head)
        if (uint8_t(reply.at(i++)) != b)
            return false;
    return true;
}

QByteArray message(std::initializer_list<uint8_t> bytes)
{
    QByteArray out;
    for (uint8_t b : bytes)
        out.append(char(b));
    return out;
}

} // namespace

namespace {
ZelFirmwareUpgradeManager* g_engine = nullptr;
}

ZelFirmwareUpgradeManager& ZelFirmwareUpgradeManager::sharedInstance()
{
    // Created on first use, registered once, never destroyed.
    static ZelFirmwareUpgradeManager* instance = [] {
        auto* engine = new ZelFirmwareUpgradeManager;
        g_engine = engine;
        engine->supportedProtocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        engine->addNotificationObserver();
        return engine;
    }();
    return *instance;
}

ZelFirmwareUpgradeManager* ZelFirmwareUpgradeManager::existingInstance()
{
    return g_engine;
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
    // A query during a run would take the reply handler from the transfer.
    if (m_queriesHeld) {
        m_heldQueries.append({side, std::move(callback)});
        return;
    }
    askVersion(side, std::move(callback));
}

void ZelFirmwareUpgradeManager::readBackVersions(VersionCallback callback)
{
    askVersion(1, std::move(callback), true);
}

void ZelFirmwareUpgradeManager::holdVersionQueries()
{
    m_queriesHeld = true;
    // A query asked just before waits too, and its no-answer prompt must not
    // appear in the middle of the run.
    stopCheckVersionTimer();
    ++m_queryGeneration;
    if (std::exchange(m_hasQueryInFlight, false))
        m_heldQueries.append({1, std::exchange(m_queryInFlight, nullptr)});
}

void ZelFirmwareUpgradeManager::releaseVersionQueries(const QString& versions)
{
    m_queriesHeld = false;
    const auto held = std::exchange(m_heldQueries, {});
    if (held.isEmpty())
        return;
    QList<VersionCallback> callbacks;
    for (const auto& query : held)
        if (query.second)
            callbacks.append(query.second);
    if (!versions.isNull()) {
        for (const VersionCallback& callback : callbacks)
            callback(versions);
        return;
    }
    // One query answers them all: two in flight would take each other's handler.
    askVersion(1, [callbacks](const QString& read) {
        for (const VersionCallback& callback : callbacks)
            callback(read);
    });
}

quint64 ZelFirmwareUpgradeManager::queryGeneration(bool forRun) const
{
    return forRun ? m_runQueryGeneration : m_queryGeneration;
}

void ZelFirmwareUpgradeManager::askVersion(unsigned side, VersionCallback callback, bool forRun)
{
    const quint64 generation = queryGeneration(forRun);
    // Each half takes one answer: a second reply of the same kind (a late
    // one, a duplicate) must not ask again, which would install a handler
    // over whatever the run has sent since.
    auto answered = std::make_shared<bool>(false);
    if (side == 1) {
        m_replyClock.start();
        writeData(kRightVersionRequest, [this, callback, forRun, generation, answered](const QByteArray& reply) {
            if (!*answered)
                *answered = rightVersionReceived(reply, callback, forRun, generation);
        });
        stopCheckVersionTimer();
        if (!forRun) {
            m_queryInFlight = callback;
            m_hasQueryInFlight = true;
            checkVersionTimer = Timer::scheduledTimer(kCheckVersionTimeout, false, [this] {
                // Unanswered: no later run holds it for ever.
                m_queryInFlight = nullptr;
                m_hasQueryInFlight = false;
                MessageToast::showMsgWithtext(localized("UnplugDevicePrompt"), kUnplugPromptSeconds);
            });
        }
    } else {
        m_replyClock.start();
        writeData(kDeviceInformationRequest, [this, callback, forRun, generation, answered](const QByteArray& reply) {
            if (!*answered)
                *answered = deviceInformationReceived(reply, callback, forRun, generation);
        });
    }
}

bool ZelFirmwareUpgradeManager::rightVersionReceived(
    const QByteArray& reply, const VersionCallback& callback, bool forRun, quint64 generation)
{
    if (reply.size() < kRightVersionReplyMinimum)
        return false; // too short to hold a version: a stray reply
    if (generation != queryGeneration(forRun))
        return true; // a run began meanwhile and holds this query, or the run's question was abandoned
    if (m_replyClock.isValid())
        m_replySeconds = double(m_replyClock.nsecsElapsed()) / 1e9;
    const auto* b = reinterpret_cast<const uint8_t*>(reply.constData());
    rightVersion = QString::asprintf("%d.%d", b[2], b[3]);
    MainQueue::dispatchAfter(kLeftRequestDelay, [this, callback, forRun, generation] {
        // The second half of a query asked before a run began goes through
        // the run's hold like the first: it would take the run's reply handler.
        if (generation != queryGeneration(forRun))
            return;
        askVersion(2, callback, forRun);
    });
    return true;
}

bool ZelFirmwareUpgradeManager::deviceInformationReceived(
    const QByteArray& reply, const VersionCallback& callback, bool forRun, quint64 generation)
{
    if (generation != queryGeneration(forRun))
        return true;
    DeviceInformation& record = DeviceInformation::shared();
    if (!record.fill(reply))
        return false;
    // The first request after a pause may wake the link: the faster half is the controller's pace.
    if (m_replyClock.isValid())
        m_replySeconds = std::min(m_replySeconds, double(m_replyClock.nsecsElapsed()) / 1e9);
    const EAAccessoryPtr answered = EADSessionController::sharedController().accessory();
    m_identifiedConnection = answered ? answered->connectionID() : 0;
    bootVersion = record.bootVer();
    leftVersion = record.softwareVersion();
    if (rightVersion.isEmpty())
        return true;
    const QString combined = QStringLiteral("%1-%2-%3").arg(bootVersion, leftVersion, rightVersion);
    if (!forRun) {
        m_queryInFlight = nullptr;
        m_hasQueryInFlight = false;
        stopCheckVersionTimer();
    }
    if (callback)
        callback(combined);
    return true;
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

QString ZelFirmwareUpgradeManager::addressWithColons(const QString& address)
{
    QStringList pairs;
    for (qsizetype i = 0; i < address.size(); i += 2)
        pairs << address.mid(i, 2);
    return pairs.join(QLatin1Char(':'));
}

QString ZelFirmwareUpgradeManager::controllerIdentityText() const
{
    if (m_identifiedConnection == 0)
        return QString();
    const DeviceInformation& record = DeviceInformation::shared();
    const QString date = QString::asprintf("%04d-%02d-%02d", record.year, record.month, record.day);
    return localized("ControllerIdentity")
        .arg(addressWithColons(record.macAddressWithoutColon()), record.hardwareVersion(), record.gcmVersion(), date);
}

// Image transfers ----------------------------------------------------------

bool ZelFirmwareUpgradeManager::loadImage(bool bootLoader, const QString& path)
{
    if (TransferState::shared().load(path, bootLoader) == TransferState::LoadResult::Ok)
        return true;
    // Unreadable, empty, or too large for the 16-bit fields: nothing is sent.
    failRun(localized("FirmwareIsInvalid"));
    return false;
}

void ZelFirmwareUpgradeManager::reportProgress(bool verifying)
{
    const TransferState& t = TransferState::shared();
    // g of the left and boot loader images is exact in double: f has a
    // single-precision mantissa.
    double fraction = t.sentFraction();
    if (g_image != TransferState::Image::Right)
        fraction = verifying ? fraction / 2.0 + 0.5 : fraction / 2.0;
    const double percent =
        TransferState::progressPercent(g_image, fraction, bootNeedUpgrade, leftNeedUpgrade, rightNeedUpgrade);
    if (upgradeProgressBlock)
        upgradeProgressBlock(percent);
}

void ZelFirmwareUpgradeManager::armResend(const QByteArray& bytes, ReadCallback resendHandler)
{
    const quint64 index = TransferState::shared().kSendedIndex;
    const quint64 transfer = g_transferId;
    MainQueue::dispatchAfter(kResendDelay, [this, bytes, resendHandler, index, transfer] {
        if (transfer == g_transferId && TransferState::shared().kSendedIndex == index)
            writeData(bytes, resendHandler); // once: the resend arms nothing further
    });
}

void ZelFirmwareUpgradeManager::sendBinFileToDevice(bool start)
{
    TransferState& t = TransferState::shared();
    if (start) {
        if (!loadImage(false, rightFilePath))
            return;
        t.kSendedDataSum = 0;
        ++g_transferId;
        g_image = TransferState::Image::Right;
        touchWatchdog();
    }
    if (t.nextIsFull()) {
        if (!start) {
            sendRightPacket(false);
            return;
        }
        // The start command announces an image of at least one full packet;
        // its acknowledgement sends packet 0. It has no resend.
        const quint64 transfer = g_transferId;
        writeData(message({0x20, 0x9E}), [this, transfer](const QByteArray& reply) {
            if (transfer != g_transferId || !startsWith(reply, {0x20, 0x9E, 0x00}))
                return;
            touchWatchdog();
            sendRightPacket(false);
        });
    } else if (t.nextIsLast()) {
        // Also an image shorter than one packet, which goes out without a start command.
        reportProgress(false);
        sendRightPacket(true);
    }
}

void ZelFirmwareUpgradeManager::sendRightPacket(bool last)
{
    TransferState& t = TransferState::shared();
    const QByteArray packet = t.buildPacket(0x20, 0x90, last, false);
    for (qsizetype i = qsizetype(TransferState::kPacketHeaderSize); i < packet.size(); ++i)
        t.kSendedDataSum += uint8_t(packet.at(i));
    const quint64 transfer = g_transferId;
    ReadCallback handler = [this, last, transfer](const QByteArray& reply) {
        TransferState& t = TransferState::shared();
        // The echo is compared with the packet most recently built, so a late
        // acknowledgement of an earlier packet does not count.
        if (transfer != g_transferId || reply.size() < 7 || !startsWith(reply, {0x20, 0x90, 0x00})
            || reply.mid(4, 3) != t.packet.mid(2, 3))
            return;
        touchWatchdog();
        ++t.kSendedIndex;
        if (last) {
            verifySendedData();
            return;
        }
        t.kSendedBytes = t.kSendedIndex * TransferState::kPayloadSize;
        reportProgress(false);
        if (t.kSendedIndex + 1 < t.kPackageCount || t.nextIsLast())
            sendBinFileToDevice(false);
        else
            verifySendedData();
    };
    writeData(packet, handler);
    armResend(packet, handler);
}

void ZelFirmwareUpgradeManager::verifySendedData()
{
    TransferState& t = TransferState::shared();
    t.kSendedDataSum &= 0xFFFFFFFFu;
    const quint64 sum = t.kSendedDataSum;
    const quint64 count = t.kBytesCount;
    const QByteArray command = message({0x20, 0x92, uint8_t(sum), uint8_t(sum >> 8), uint8_t(sum >> 16),
                                        uint8_t(sum >> 24), uint8_t(count), uint8_t(count >> 8),
                                        uint8_t(count >> 16), uint8_t(count >> 24)});
    const quint64 transfer = g_transferId;
    auto handle = [this, transfer](const QByteArray& reply, bool resent) {
        if (transfer != g_transferId || reply.size() < 3 || !startsWith(reply, {0x20, 0x92}))
            return;
        if (uint8_t(reply.at(2)) != 0x00) {
            // The controller refuses the sum. The first refusal counts as no
            // answer: the resend check sends the command once more, as after
            // silence. A refusal of that copy means the image did not arrive
            // intact, and waiting longer cannot change it.
            if (resent)
                failRun(localized("ChecksumRejected"));
            return;
        }
        touchWatchdog();
        ++TransferState::shared().kSendedIndex;
        endSendDataWithSide(1);
    };
    writeData(command, [handle](const QByteArray& reply) { handle(reply, false); });
    armResend(command, [handle](const QByteArray& reply) { handle(reply, true); });
}

void ZelFirmwareUpgradeManager::endSendDataWithSide(unsigned side)
{
    const quint64 transfer = g_transferId;
    if (side == 1) {
        ReadCallback handler = [this, transfer](const QByteArray& reply) {
            if (transfer != g_transferId || !startsWith(reply, {0x20, 0x93, 0x00}))
                return;
            ++TransferState::shared().kSendedIndex;
            ++g_transferId; // the image is done: nothing of it may be resent
            stopWatchdog();
            if (upgradeProgressBlock)
                upgradeProgressBlock(100.0);
            rightUpgradeDone = true;
            if ((!leftNeedUpgrade || leftUpgradeDone) && (!bootNeedUpgrade || bootUpgradeDone))
                isUpgradingFirmware = false;
            if (auto hook = runHooks.endAcknowledged; hook)
                hook(1);
        };
        const QByteArray command = message({0x20, 0x93});
        writeData(command, handler);
        armResend(command, handler);
        return;
    }
    // The controller commits the image to flash before it acknowledges.
    touchWatchdog(true);
    writeData(message({0x80, 0x83}), [this, transfer](const QByteArray& reply) {
        if (transfer != g_transferId || !startsWith(reply, {0x80, 0x83, 0x00}))
            return;
        ++g_transferId;
        const bool boot = TransferState::shared().isUpgradeBoot == 1;
        if (boot)
            bootUpgradeDone = true;
        else
            leftUpgradeDone = true;
        const bool otherLeftDone = boot ? (!leftNeedUpgrade || leftUpgradeDone) : (!bootNeedUpgrade || bootUpgradeDone);
        if (otherLeftDone && (!rightNeedUpgrade || rightUpgradeDone))
            isUpgradingFirmware = false;
        // The controller restarts after this command: the coming disconnection is expected.
        isGamepadDisconnectByUpgradingFirmware = true;
        // A run waits for its own controller's return also after its last
        // image, to ask who came back before the versions count.
        m_awaitingReconnect = isUpgradingFirmware || m_runActive;
        if (isUpgradingFirmware) {
            armRestartWatchdog();
            notifyPhase(ZelUpgradePhase::WaitingForRestart);
        } else {
            stopWatchdog();
        }
        if (auto hook = runHooks.endAcknowledged; hook)
            hook(2);
    });
}

void ZelFirmwareUpgradeManager::sendLeftBinFileToDevice(bool start)
{
    TransferState& t = TransferState::shared();
    const bool boot = t.isUpgradeBoot == 1;
    if (start) {
        if (!loadImage(boot, boot ? bootFilePath : leftFilePath))
            return;
        ++g_transferId;
        g_image = boot ? TransferState::Image::BootLoader : TransferState::Image::Left;
        // A region of at least one full packet begins with the start command,
        // upon which the controller erases its flash.
        touchWatchdog(t.nextIsFull());
    }
    if (!start || !t.nextIsFull()) {
        // A region shorter than one packet goes out without start and length commands.
        if (t.nextIsFull())
            sendLeftPacket(0x80, false, false);
        else if (t.nextIsLast())
            sendLeftPacket(0x80, true, false);
        return;
    }
    const uint8_t type = boot ? 0x02 : 0x01;
    const quint64 transfer = g_transferId;
    writeData(message({0x03, 0x01, type}), [this, type, transfer](const QByteArray& reply) {
        if (transfer != g_transferId)
            return;
        if (!startsWith(reply, {0x03, 0x01}))
            return; // no start reply at all (a late reply of an earlier query)
        if (!startsWith(reply, {0x03, 0x01, type, 0x00})) {
            // Each refusal is shown; the handler stays current, so a matching
            // reply that follows still starts the image, and the silence limit
            // ends the run when none does.
            MessageToast::showMsgWithtext(localized("DeviceCannotUpgrade"));
            return;
        }
        touchWatchdog();
        const quint64 count = TransferState::shared().kBytesCount;
        writeData(message({0x80, 0x81, uint8_t(count), uint8_t(count >> 8)}), [this, transfer](const QByteArray& r) {
            if (transfer != g_transferId || !startsWith(r, {0x80, 0x81, 0x00}))
                return;
            touchWatchdog();
            sendLeftBinFileToDevice(false);
        });
    });
}

void ZelFirmwareUpgradeManager::verifyLeftBinFile(bool start)
{
    TransferState& t = TransferState::shared();
    if (start && !loadImage(t.isUpgradeBoot == 1, t.isUpgradeBoot == 1 ? bootFilePath : leftFilePath))
        return;
    if (t.nextIsFull())
        sendLeftPacket(0x82, false, true);
    else if (t.nextIsLast())
        sendLeftPacket(0x82, true, true);
}

void ZelFirmwareUpgradeManager::sendLeftPacket(uint8_t command, bool last, bool verifying)
{
    TransferState& t = TransferState::shared();
    const QByteArray packet = t.buildPacket(0x80, command, last, t.isUpgradeBoot == 1);
    const quint64 transfer = g_transferId;
    writeData(packet, [this, command, last, verifying, transfer](const QByteArray& reply) {
        TransferState& t = TransferState::shared();
        if (transfer != g_transferId || !startsWith(reply, {0x80, command, 0x00}))
            return;
        touchWatchdog();
        ++t.kSendedIndex;
        t.kSendedBytes = t.kSendedIndex * TransferState::kPayloadSize;
        reportProgress(verifying);
        const bool more = !last && (t.kSendedIndex + 1 < t.kPackageCount || t.nextIsLast());
        if (more)
            verifying ? verifyLeftBinFile(false) : sendLeftBinFileToDevice(false);
        else
            verifying ? endSendDataWithSide(2) : verifyLeftBinFile(true);
    });
}

// Orchestration --------------------------------------------------------------

void ZelFirmwareUpgradeManager::upgradeBoot()
{
    isUpgradingFirmware = true;
    TransferState::shared().isUpgradeBoot = 1;
    notifyPhase(ZelUpgradePhase::BootLoader);
    sendLeftBinFileToDevice(true);
}

void ZelFirmwareUpgradeManager::upgradeLeftSide()
{
    isUpgradingFirmware = true;
    TransferState::shared().isUpgradeBoot = 0;
    notifyPhase(ZelUpgradePhase::Left);
    sendLeftBinFileToDevice(true);
}

void ZelFirmwareUpgradeManager::upgradeRightSide()
{
    isUpgradingFirmware = true;
    notifyPhase(ZelUpgradePhase::Right);
    sendBinFileToDevice(true);
}

void ZelFirmwareUpgradeManager::upgradeOtherSideAfterConnectingAgain()
{
    if (!isUpgradingFirmware)
        return;
    m_awaitingReconnect = false;
    if (bootNeedUpgrade && bootUpgradeDone && leftNeedUpgrade && !leftUpgradeDone)
        upgradeLeftSide();
    else if (bootNeedUpgrade && bootUpgradeDone && leftNeedUpgrade && leftUpgradeDone && rightNeedUpgrade && !rightUpgradeDone)
        upgradeRightSide();
    else if (bootNeedUpgrade && bootUpgradeDone && !leftNeedUpgrade && rightNeedUpgrade && !rightUpgradeDone)
        upgradeRightSide();
    else if (!bootNeedUpgrade && leftNeedUpgrade && leftUpgradeDone && rightNeedUpgrade && !rightUpgradeDone)
        upgradeRightSide();
}

void ZelFirmwareUpgradeManager::failRun(const QString& text, double seconds)
{
    isUpgradingFirmware = false;
    m_awaitingReconnect = false;
    stopIdentifying();
    m_returnCandidates.clear();
    ++g_transferId;
    stopWatchdog();
    abortDownload();
    EADSessionController::sharedController().discardQueuedData();
    MessageToast::showMsgWithtext(text, seconds);
    if (auto hook = runHooks.failed; hook)
        hook(text);
}

void ZelFirmwareUpgradeManager::cancelRun()
{
    isUpgradingFirmware = false;
    m_awaitingReconnect = false;
    stopIdentifying();
    m_returnCandidates.clear();
    ++g_transferId;
    stopWatchdog();
    abortDownload();
    EADSessionController::sharedController().discardQueuedData();
}

void ZelFirmwareUpgradeManager::beginRun(const QString& controller, quint64 connection)
{
    m_runActive = true;
    m_runController = controller;
    m_runConnection = connection;
}

void ZelFirmwareUpgradeManager::endRun()
{
    m_runActive = false;
    m_runController.clear();
    m_runConnection = 0;
    m_awaitingReconnect = false;
    stopIdentifying();
    m_returnCandidates.clear();
    // Nothing of the run may reach a later attachment.
    EADSessionController::sharedController().discardQueuedData();
    if (accessory)
        return;
    // The run ended without its controller attached (gone, or restarting
    // and not back): no restart is awaited any more, and the newest
    // accessory that arrived meanwhile is followed as any arrival is.
    isGamepadDisconnectByUpgradingFirmware = false;
    const std::vector<EAAccessoryPtr> connected = EAAccessoryManager::sharedAccessoryManager().connectedAccessories();
    for (auto it = connected.rbegin(); it != connected.rend(); ++it) {
        if (offersDeclaredProtocol(*it)) {
            followConnection(*it);
            break;
        }
    }
}

void ZelFirmwareUpgradeManager::stopIdentifying()
{
    m_identifying = false;
    ++m_runQueryGeneration;
    if (m_identifyTimer)
        m_identifyTimer->invalidate();
    m_identifyTimer.reset();
}

void ZelFirmwareUpgradeManager::abortDownload()
{
    ++m_downloadId;
    if (auto abort = std::exchange(m_abortDownload, nullptr))
        abort();
}

void ZelFirmwareUpgradeManager::notifyPhase(ZelUpgradePhase phase)
{
    if (auto hook = runHooks.phase; hook)
        hook(phase);
}

void ZelFirmwareUpgradeManager::touchWatchdog(bool flashPhase)
{
    const double seconds = flashPhase ? flashSilenceLimit : transferSilenceLimit;
    // Bytes written before the session opens wait in its queue: the
    // controller's silence counts from the opening.
    if (!EADSessionController::sharedController().session()) {
        m_silenceLimitOnOpening = seconds;
        // Still never without a deadline: a session that does not open within
        // the restart limit ends the run.
        m_watchdog = Timer::scheduledTimer(std::max(seconds, restartWaitLimit), false, [this] {
            if (isUpgradingFirmware)
                failRun(localized("TransferStalled"));
        });
        return;
    }
    armWatchdog(seconds, "TransferStalled");
}

void ZelFirmwareUpgradeManager::armRestartWatchdog()
{
    armWatchdog(restartWaitLimit, "ControllerDidNotReturn");
}

void ZelFirmwareUpgradeManager::armWatchdog(double seconds, const char* reason)
{
    m_silenceLimitOnOpening = 0.0;
    if (m_watchdog)
        m_watchdog->invalidate();
    m_watchdog = Timer::scheduledTimer(seconds, false, [this, reason] {
        if (isUpgradingFirmware)
            failRun(localized(reason));
    });
}

void ZelFirmwareUpgradeManager::stopWatchdog()
{
    m_silenceLimitOnOpening = 0.0;
    if (m_watchdog)
        m_watchdog->invalidate();
    m_watchdog.reset();
}

// Accessory following ------------------------------------------------------

bool ZelFirmwareUpgradeManager::offersDeclaredProtocol(const EAAccessoryPtr& candidate) const
{
    for (const QString& offered : candidate->protocolStrings())
        if (supportedProtocols.contains(offered))
            return true;
    return false;
}

void ZelFirmwareUpgradeManager::_accessoryDidConnect(const Notification& notification)
{
    const EAAccessoryPtr connected = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    // Outside a run any connection ends the wait for a restart; during one,
    // only the run's own controller's identified return does.
    if (!m_runActive)
        isGamepadDisconnectByUpgradingFirmware = false;
    // One continuation per connection, also when the accessory offers
    // several declared protocols: a second one would restart the image.
    if (!connected || !offersDeclaredProtocol(connected) || m_lastContinuedConnection == connected->connectionID())
        return;
    // A run may have started on this very connection before its session
    // opened (the engine heard of it after the run's caller did): it opens as usual.
    const EAAccessoryPtr configured = EADSessionController::sharedController().accessory();
    const bool runIsOnIt = !EADSessionController::sharedController().session() && configured
        && configured->connectionID() == connected->connectionID();
    if (m_runActive && !runIsOnIt) {
        // During a run, arrivals never move the session: only a connection
        // made while the run waits for its controller's return is a
        // candidate, and it is asked who it is before anything else is sent.
        if (!m_awaitingReconnect || (accessory && !m_identifying))
            return;
        m_lastContinuedConnection = connected->connectionID();
        m_returnCandidates.append({connected, false});
        const quint64 id = connected->connectionID();
        MainQueue::dispatchAfter(kReconnectDelay, [this, id] {
            for (ReturnCandidate& c : m_returnCandidates)
                if (c.accessory->connectionID() == id)
                    c.ready = true;
            tryNextReturnCandidate();
        });
        return;
    }
    followConnection(connected);
}

void ZelFirmwareUpgradeManager::followConnection(const EAAccessoryPtr& connected)
{
    accessory = connected;
    m_lastContinuedConnection = connected->connectionID();
    // A connection continues only an engine transfer that was waiting for the
    // controller's restart when it came: one started within the reconnection
    // delay of an earlier connection must not be restarted by that
    // connection's continuation.
    const bool resumes = m_awaitingReconnect;
    MainQueue::dispatchAfter(kReconnectDelay, [this, resumes] {
        EADSessionController& session = EADSessionController::sharedController();
        session.setupControllerForAccessory(accessory, supportedProtocols.value(0));
        session.openSession();
        if (isUpgradingFirmware && m_silenceLimitOnOpening > 0.0)
            armWatchdog(m_silenceLimitOnOpening, "TransferStalled");
        if (resumes && m_awaitingReconnect)
            upgradeOtherSideAfterConnectingAgain();
    });
}

void ZelFirmwareUpgradeManager::tryNextReturnCandidate()
{
    if (!m_awaitingReconnect || m_identifying)
        return;
    const auto ready = std::find_if(m_returnCandidates.begin(), m_returnCandidates.end(),
                                    [](const ReturnCandidate& c) { return c.ready; });
    if (ready == m_returnCandidates.end())
        return; // the next one is not ready yet, or none came
    const EAAccessoryPtr candidate = ready->accessory;
    EADSessionController& session = EADSessionController::sharedController();
    // Nothing queued before the restart may reach whoever came back.
    session.discardQueuedData();
    session.setupControllerForAccessory(candidate, supportedProtocols.value(0));
    if (!session.openSession()) {
        // Nobody to ask on this connection; the restart limit keeps running.
        m_returnCandidates.erase(ready);
        session.closeSession();
        tryNextReturnCandidate();
        return;
    }
    accessory = candidate;
    m_identifying = true;
    const quint64 connection = candidate->connectionID();
    // A candidate that does not answer is set aside, and the next one asked.
    m_identifyTimer = Timer::scheduledTimer(kCheckVersionTimeout + kIdentifyGrace, false, [this, connection] {
        if (m_identifying && connectionID() == connection)
            setCandidateAside(connection);
        tryNextReturnCandidate();
    });
    askVersion(1, [this, connection](const QString& versions) { returnIdentified(connection, versions); }, true);
}

void ZelFirmwareUpgradeManager::setCandidateAside(quint64 connection)
{
    stopIdentifying();
    m_returnCandidates.removeIf([connection](const ReturnCandidate& c) { return c.accessory->connectionID() == connection; });
    EADSessionController::sharedController().closeSession();
    accessory.reset();
}

void ZelFirmwareUpgradeManager::returnIdentified(quint64 connection, const QString& versions)
{
    if (!m_identifying || connectionID() != connection)
        return;
    if (macAddressWithoutColon() != m_runController) {
        // Another controller: it received the query and nothing else.
        setCandidateAside(connection);
        if (!m_returnCandidates.isEmpty()) {
            tryNextReturnCandidate();
            return;
        }
        failRun(localized("DifferentControllerReturned"));
        return;
    }
    stopIdentifying();
    m_awaitingReconnect = false;
    m_returnCandidates.clear();
    isGamepadDisconnectByUpgradingFirmware = false;
    m_runConnection = connection;
    if (auto hook = runHooks.returned; hook)
        hook(connection, versions);
    if (m_runActive && isUpgradingFirmware)
        upgradeOtherSideAfterConnectingAgain();
}

void ZelFirmwareUpgradeManager::_accessoryDidDisconnect(const Notification& notification)
{
    const EAAccessoryPtr gone = notification.userInfo.value(EAAccessoryKey).value<EAAccessoryPtr>();
    const quint64 goneID = gone ? gone->connectionID() : 0;
    const QVariantMap info{{ZelConnectionIDKey, goneID}};
    m_returnCandidates.removeIf([goneID](const ReturnCandidate& c) { return c.accessory->connectionID() == goneID; });
    const quint64 runConnection = accessory ? accessory->connectionID() : m_runConnection;
    if (m_runActive && runConnection != goneID) {
        // Another accessory left: the run and its flags are not its business.
        NotificationCenter::defaultCenter().postNotification(
            ZelGamepadDisconnectByUpgradingFirmwareNotification, isGamepadDisconnectByUpgradingFirmware, info);
        return;
    }
    const bool expected = isGamepadDisconnectByUpgradingFirmware;
    if (isGamepadDisconnectByUpgradingFirmware) {
        NotificationCenter::defaultCenter().postNotification(ZelGamepadDisconnectByUpgradingFirmwareNotification, true, info);
    } else {
        if (isUpgradingFirmware) {
            ++g_transferId; // the transfer is abandoned where it stood
            stopWatchdog();
            // So is a download: it must not unpack, nor flash the next controller.
            abortDownload();
        }
        isUpgradingFirmware = false;
        m_awaitingReconnect = false;
        NotificationCenter::defaultCenter().postNotification(ZelGamepadDisconnectByUpgradingFirmwareNotification, false, info);
    }
    if (accessory && gone && accessory->connectionID() == gone->connectionID()) {
        accessory.reset();
        EADSessionController::sharedController().closeSession();
        if (m_identifying) {
            stopIdentifying();
            tryNextReturnCandidate(); // the controller being asked left before it answered
        }
    }
    if (auto hook = runHooks.disconnected; hook)
        hook(goneID, expected);
}
