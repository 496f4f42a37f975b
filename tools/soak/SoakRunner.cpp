#include "SoakRunner.h"

#include "accessory/EADSessionController.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmware.h"
#include "lib/MessageToast.h"
#include "platform/DocumentsDirectory.h"
#include "platform/EAAccessoryManager.h"
#include "platform/InfoDictionary.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

constexpr int kBootRegion = 0xE800;
// Time is scaled down: 10 s of silence is 100 ms, a 2 s reconnection wait 20 ms.
constexpr double kTimeScale = 0.01;
// A run that has not ended this long after the engine's own limits has hung.
constexpr int kHangMarginMs = 3000;

class Recorder : public ToastPresenter {
public:
    explicit Recorder(QStringList* texts) : m_texts(texts) {}
    void present(const QString& text, double) override { m_texts->append(text); }

private:
    QStringList* m_texts;
};

QByteArray image(QRandomGenerator& random, int size, SimVersion version)
{
    QByteArray bytes(size - SimulatedController::kTrailerSize, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes + SimulatedController::versionTrailer(version);
}

QByteArray digestOfFolder(const QString& folder)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
        QFile f(folder + QLatin1Char('/') + name);
        if (f.open(QIODevice::ReadOnly)) {
            hash.addData(name.toUtf8());
            hash.addData(f.readAll());
        }
    }
    return hash.result();
}

} // namespace

struct SoakRunner::Plan {
    bool boot = false, left = false, right = false;
    SimVersion version[3];
    QByteArray images[3]; // boot file, left, right
    SimFaults faults;
    bool neverReturns = false;
};

SoakRunner::SoakRunner(quint32 seed, QObject* parent)
    : QObject(parent)
    , m_seed(seed)
    , m_random(seed)
    , m_documents(std::make_unique<QTemporaryDir>())
    , m_toasts(std::make_unique<Recorder>(&m_toastTexts))
{
    MainQueue::setTimeScale(kTimeScale);
    DocumentsDirectory::setPath(m_documents->path());
    MessageToast::setPresenter(m_toasts.get());
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
    m_transport = new SimAccessoryTransport(new SimulatedController, protocols, this);
    m_transport->controller()->setSeed(seed);
    m_transport->start();
    MainQueue::runUntil([this] { return m_transport->link() != nullptr; }, 5000);
    EADSessionController::sharedController().setupControllerForAccessory(
        EAAccessoryManager::sharedAccessoryManager().connectedAccessories().front(), protocols.value(0));
    ZelFirmwareUpgradeManager::sharedInstance();
    NotificationCenter::defaultCenter().addObserver(this, ZelGamepadDisconnectByUpgradingFirmwareNotification,
                                                    [this](const Notification& n) { m_disconnects << n.object.toBool(); });
}

SoakRunner::~SoakRunner()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    MessageToast::setPresenter(nullptr);
}

void SoakRunner::violation(int index, const QString& what)
{
    m_violations << QStringLiteral("run %1 (seed %2): %3").arg(index).arg(m_seed).arg(what);
}

SoakRunner::Plan SoakRunner::planRun(int index)
{
    Plan p;
    // The first runs send all three images; later ones a random mix.
    const int mask = index < 20 ? 7 : 1 + int(m_random.bounded(7));
    p.boot = mask & 1;
    p.left = mask & 2;
    p.right = mask & 4;
    for (SimVersion& v : p.version)
        v = {uint8_t(1 + m_random.bounded(9)), uint8_t(m_random.bounded(100))};
    p.images[0] = image(m_random, kBootRegion + 256 + int(m_random.bounded(2048)), p.version[0]);
    p.images[1] = image(m_random, 512 + int(m_random.bounded(4096)), p.version[1]);
    p.images[2] = image(m_random, 512 + int(m_random.bounded(4096)), p.version[2]);
    // Faults: most runs get some noise; a few a hard failure.
    SimFaults& f = p.faults;
    f.restartDelayMs = 20 + int(m_random.bounded(60));
    f.replyDelayMs = int(m_random.bounded(3));
    f.maxRandomDelayMs = int(m_random.bounded(4));
    const double noise = m_random.generateDouble() < 0.5 ? 0.0 : 0.01;
    f.dropRate = noise * m_random.generateDouble();
    f.duplicateRate = noise * m_random.generateDouble();
    f.splitRate = noise * m_random.generateDouble();
    f.mergeRate = noise * m_random.generateDouble();
    f.corruptRate = noise * m_random.generateDouble();
    const double hard = m_random.generateDouble();
    if (hard < 0.05) {
        f.refuseStart = true;
    } else if (hard < 0.15) {
        f.unplugAtPacket = int(m_random.bounded(60));
        f.unplugReturnMs = 30;
    } else if (hard < 0.20) {
        p.neverReturns = true;
        f.restartDelayMs = -1;
    }
    return p;
}

void SoakRunner::runOnce(int index)
{
    ZelFirmwareUpgradeManager& engine = ZelFirmwareUpgradeManager::sharedInstance();
    SimulatedController& sim = *m_transport->controller();
    // A clean start: the controller attached, its session open, the engine idle.
    sim.faults() = SimFaults();
    if (!sim.isAttached())
        sim.plugIn();
    if (!MainQueue::runUntil([&] { return m_transport->link() && engine.accessory && EADSessionController::sharedController().session()
                              && !engine.isUpgradingFirmware; },
                   5000)) {
        violation(index, QStringLiteral("the controller did not come back between runs"));
        return;
    }
    MainQueue::runUntil([] { return false; }, MainQueue::scaledMilliseconds(ZelFirmwareUpgradeManager::kReconnectDelay) + 10);

    const Plan plan = planRun(index);
    const QByteArray before[3] = {sim.bootLoaderFlash(), sim.leftApplicationFlash(), sim.rightFlash()};
    const QString versionsBefore = sim.versionsText();

    // The release as a local release folder, which must come through untouched.
    const QString folder = ZelDataTool::localProductFolder() + QStringLiteral("/soak-%1").arg(index);
    QDir().mkpath(folder);
    const QString names[3] = {ZelFirmwareUpgradeManager::kBootFileName, ZelFirmwareUpgradeManager::kLeftFileName,
                              ZelFirmwareUpgradeManager::kRightFileName};
    for (int i = 0; i < 3; ++i) {
        QFile f(folder + QLatin1Char('/') + names[i]);
        f.open(QIODevice::WriteOnly);
        f.write(plan.images[i]);
    }
    const QByteArray folderDigest = digestOfFolder(folder);

    engine.checkIfExitLocalFileWithPath(folder);
    engine.bootNeedUpgrade = plan.boot;
    engine.leftNeedUpgrade = plan.left;
    engine.rightNeedUpgrade = plan.right;
    engine.bootUpgradeDone = engine.leftUpgradeDone = engine.rightUpgradeDone = false;
    m_toastTexts.clear();
    m_disconnects.clear();
    sim.faults() = plan.faults;

    QElapsedTimer clock;
    clock.start();
    engine.isUpgradingFirmware = true;
    engine.upgradeWithLocalFile();
    const int limitMs = MainQueue::scaledMilliseconds(engine.restartWaitLimit
                                                      + std::max(engine.transferSilenceLimit, engine.flashSilenceLimit))
            * 4
        + kHangMarginMs;
    if (!MainQueue::runUntil([&] { return !engine.isUpgradingFirmware; }, limitMs)) {
        violation(index, QStringLiteral("the run neither ended nor said why within %1 ms").arg(limitMs));
        sim.unplug(10); // an unexpected disconnection ends it
        MainQueue::runUntil([&] { return !engine.isUpgradingFirmware; }, 2000);
        return;
    }
    bool complete = (!plan.boot || engine.bootUpgradeDone) && (!plan.left || engine.leftUpgradeDone)
        && (!plan.right || engine.rightUpgradeDone);
    QString toolFailure;
    if (complete && !plan.right) {
        // The run ended with a left-side image: as the tools do, wait for the
        // controller to come back as a new attachment before calling it done.
        const quint64 before = engine.accessory ? engine.accessory->connectionID() : 0;
        if (!MainQueue::runUntil([&] { return engine.accessory && engine.accessory->connectionID() != before; },
                       MainQueue::scaledMilliseconds(engine.restartWaitLimit) + kHangMarginMs)) {
            complete = false;
            toolFailure = localized("ControllerDidNotReturn");
        }
    }

    if (complete) {
        // Reported complete: the controller must hold exactly the images and,
        // once back, report their versions.
        sim.faults() = SimFaults();
        MainQueue::runUntil([] { return false; }, MainQueue::scaledMilliseconds(ZelFirmwareUpgradeManager::kReconnectDelay) + 20);
        const QByteArray expected[3] = {plan.images[0].left(4) + plan.images[0].mid(kBootRegion + 4), plan.images[1],
                                        plan.images[2]};
        const QByteArray now[3] = {sim.bootLoaderFlash(), sim.leftApplicationFlash(), sim.rightFlash()};
        const bool sent[3] = {plan.boot, plan.left, plan.right};
        QStringList parts = versionsBefore.split(QLatin1Char('-'));
        for (int i = 0; i < 3; ++i) {
            if (sent[i] && now[i] != expected[i])
                violation(index, QStringLiteral("reported complete, but image %1 in flash differs").arg(names[i]));
            if (sent[i])
                parts[i] = plan.version[i].text();
        }
        QString versions;
        engine.checkCurrentVersion([&](const QString& v) { versions = v; });
        MainQueue::runUntil([&] { return !versions.isEmpty(); }, 3000);
        if (versions != parts.join(QLatin1Char('-')))
            violation(index, QStringLiteral("reported complete, but the controller reports %1 instead of %2")
                                 .arg(versions.isEmpty() ? QStringLiteral("nothing") : versions, parts.join(QLatin1Char('-'))));
        ++m_completed;
    } else {
        // Failed: with a message, in time, and no side's flash half-written.
        QString cause = toolFailure;
        if (cause.isEmpty() && !m_toastTexts.isEmpty())
            cause = m_toastTexts.last();
        else if (cause.isEmpty() && m_disconnects.contains(false))
            cause = QStringLiteral("unplugged");
        if (cause.isEmpty())
            violation(index, QStringLiteral("the run failed without telling the user"));
        m_failures[cause.isEmpty() ? QStringLiteral("(no message)") : cause] += 1;
        const QByteArray now[3] = {sim.bootLoaderFlash(), sim.leftApplicationFlash(), sim.rightFlash()};
        const QByteArray expected[3] = {plan.images[0].left(4) + plan.images[0].mid(kBootRegion + 4), plan.images[1],
                                        plan.images[2]};
        for (int i = 0; i < 3; ++i)
            if (now[i] != before[i] && now[i] != expected[i])
                violation(index, QStringLiteral("a failed run left %1 in flash neither old nor new").arg(names[i]));
    }
    sim.faults() = SimFaults();
    if (engine.isUpgradingFirmware)
        violation(index, QStringLiteral("isUpgradingFirmware still set after the run"));
    if (digestOfFolder(folder) != folderDigest)
        violation(index, QStringLiteral("the release folder in the documents directory changed"));
    QDir(folder).removeRecursively();
    if (plan.neverReturns)
        sim.plugIn();
}

void SoakRunner::run(int runs)
{
    for (int i = 0; i < runs; ++i)
        runOnce(i);
}
