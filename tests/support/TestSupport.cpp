#include "support/TestSupport.h"

#include "accessory/EADSessionController.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/transport/EASession.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTimer>

#include <memory>

namespace {
constexpr int kWakeMs = 10;
}

namespace testsupport {

void useFastTime(double scale)
{
    MainQueue::setTimeScale(scale);
}

TimeScale::TimeScale(double scale)
    : m_previous(MainQueue::timeScale())
{
    MainQueue::setTimeScale(scale);
}

TimeScale::~TimeScale()
{
    MainQueue::setTimeScale(m_previous);
}

double realSeconds(double seconds)
{
    return seconds / MainQueue::timeScale();
}

bool waitForMainQueueDelay(double seconds)
{
    auto ran = std::make_shared<bool>(false);
    MainQueue::dispatchAfter(seconds, [ran] { *ran = true; });
    return waitUntil([ran] { return *ran; }, MainQueue::scaledMilliseconds(seconds) + kPatienceMs);
}

void drainPostedEvents(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        auto delivered = std::make_shared<bool>(false);
        MainQueue::dispatchAsync([delivered] { *delivered = true; });
        waitUntil([delivered] { return *delivered; });
    }
}

ToastRecorder::ToastRecorder()
{
    MessageToast::setPresenter(this);
}

ToastRecorder::~ToastRecorder()
{
    if (MessageToast::presenter() == this)
        MessageToast::setPresenter(nullptr);
}

SimulatedAttachment::SimulatedAttachment()
{
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
    m_transport
        = new SimAccessoryTransport(EAAccessoryManager::sharedAccessoryManager(), new SimulatedController, protocols);
    m_transport->controller()->faults().restartDelayMs = 50;
    m_transport->start();
}

SimulatedAttachment::~SimulatedAttachment()
{
    m_transport->controller()->unplug(-1);
    delete m_transport;
}

SimulatedController& SimulatedAttachment::controller() const
{
    return *m_transport->controller();
}

EAAccessoryPtr SimulatedAttachment::waitForAccessory(int timeoutMs) const
{
    EAAccessoryPtr found;
    waitUntil(
        [&] {
            for (const EAAccessoryPtr& a : EAAccessoryManager::sharedAccessoryManager().connectedAccessories())
                if (m_transport->link() && a->link() == m_transport->link())
                    found = a;
            return bool(found);
        },
        timeoutMs);
    return found;
}

bool SimulatedAttachment::sessionIsOpen() const
{
    return m_transport->hasOpenSession(EADSessionController::sharedController());
}

bool SimulatedAttachment::waitForSession(int timeoutMs) const
{
    return waitUntil([this] { return sessionIsOpen(); }, timeoutMs);
}

void SimulatedAttachment::settleExchanges(int rounds) const
{
    for (int i = 0; i < rounds; ++i) {
        drainPostedEvents();
        // Due after every zero-length timer armed so far.
        QTimer turn;
        turn.setSingleShot(true);
        turn.setTimerType(Qt::PreciseTimer);
        turn.start(0);
        waitUntil([&turn] { return !turn.isActive(); });
    }
    drainPostedEvents();
}

bool SimulatedAttachment::configureSession(int timeoutMs) const
{
    const EAAccessoryPtr accessory = waitForAccessory(timeoutMs);
    if (!accessory)
        return false;
    EADSessionController::sharedController().setupControllerForAccessory(
        accessory, InfoDictionary::mainBundle().supportedAccessoryProtocols().value(0));
    return true;
}

RecordingPeer::RecordingPeer(LocalLink* link)
    : m_link(link)
{
    link->deviceReceive = [this](const QByteArray& b) {
        received.append(b);
        if (onReceive)
            onReceive(b);
    };
}

void RecordingPeer::reply(const QByteArray& bytes) const
{
    m_link->deliverToHost(bytes);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    // Wakes the loop now and then to look at the deadline. Otherwise it blocks
    // until the next event rather than spin as MainQueue::runUntil does (for
    // the timing of benchmarks), and leaves the processor to the programs and
    // threads a test waits for on a loaded machine.
    QTimer tick;
    tick.start(kWakeMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(uint8_t(v)));
    return out;
}

} // namespace testsupport

QByteArray testsupport::firmwareImage(int size, SimVersion version, int seed, int stride)
{
    QByteArray out;
    out.reserve(size);
    for (int i = 0; i < size - SimulatedController::kTrailerSize; ++i)
        out.append(char((i * stride + seed) & 0xFF));
    return out + SimulatedController::versionTrailer(version);
}

QString testsupport::readControllerVersions(int timeoutMs)
{
    return readControllerVersions(ZelFirmwareUpgradeManager::sharedInstance(), timeoutMs);
}

quint16 testsupport::unusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool testsupport::addUsbTerminal(
    const QString& sys, const QString& name, const QString& port, const QByteArray& vendor, const QByteArray& product)
{
    const QString usb = sys + QStringLiteral("/devices/pci0000:00/usb1/") + port;
    const QString device = usb + QLatin1Char('/') + port + QStringLiteral(":1.0/") + name;
    const QString folder = sys + QStringLiteral("/class/tty/") + name;
    return QDir().mkpath(device) && QDir().mkpath(folder)
        && !writeTestFile(usb, QStringLiteral("idVendor"), vendor + '\n').isEmpty()
        && !writeTestFile(usb, QStringLiteral("idProduct"), product + '\n').isEmpty()
        && QFile::link(device, folder + QStringLiteral("/device"));
}

QString testsupport::writeTestFile(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir + QLatin1Char('/') + name);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

// Session send and record helpers ------------------------------------------

QList<QByteArray> testsupport::receivedStartingWith(
    const SimulatedController& controller, uint8_t first, uint8_t second, qsizetype from)
{
    QList<QByteArray> out;
    for (const QByteArray& m : controller.receivedMessages().mid(from))
        if (m.size() >= 2 && uint8_t(m[0]) == first && uint8_t(m[1]) == second)
            out << m;
    return out;
}

QString testsupport::readControllerVersions(ZelFirmwareUpgradeManager& engine, int timeoutMs)
{
    auto versions = std::make_shared<QString>();
    engine.checkCurrentVersion([versions](const QString& v) { *versions = v; });
    (void)waitUntil([&] { return !versions->isEmpty(); }, timeoutMs);
    return *versions;
}

testsupport::PeerAccessory::PeerAccessory(const QString& protocol)
    : m_link(std::make_unique<LocalLink>())
    , m_peer(m_link.get())
    , m_accessory(EAAccessory::create({ protocol }, m_link.get()))
{
}

testsupport::PeerAccessory::~PeerAccessory()
{
    m_accessory.reset();
}

GameControllerService& testsupport::controllerService()
{
    return GameControllerService::sharedService();
}

std::unique_ptr<VirtualGameController> testsupport::plugInCentredPad()
{
    auto pad = std::make_unique<VirtualGameController>(controllerService());
    pad->plugIn();
    for (VirtualGameController::Stick stick :
        { VirtualGameController::Stick::Left, VirtualGameController::Stick::Right }) {
        pad->moveStick(stick, 1.0f, 1.0f);
        pad->moveStick(stick, 0.0f, 0.0f);
    }
    return pad;
}

bool testsupport::waitForEngineAtRest(ZelFirmwareUpgradeManager& engine, SimulatedAttachment& attachment)
{
    const bool atRest = waitUntil(
        [&] {
            return !engine.isUpgradingFirmware() && !engine.isGamepadDisconnectByUpgradingFirmware()
                && attachment.sessionIsOpen() && !engine.versionQueryPending();
        },
        2 * kPatienceMs);
    if (!atRest || !waitForMainQueueDelay(ZelFirmwareUpgradeManager::kLeftRequestDelay))
        return false;
    attachment.settleExchanges();
    return true;
}
