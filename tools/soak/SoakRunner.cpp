#include "SoakRunner.h"

#include "accessory/EADSessionController.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmware.h"
#include "lib/MessageToast.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "upgrade/ControllerProtocol.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

namespace {

constexpr int kBootRegion = int(ControllerProtocol::kBootRegionOffset);
// Time is scaled down: 10 s of silence is 100 ms, a 2 s reconnection wait 20 ms.
constexpr double kTimeScale = 0.01;
// A run that has not ended this long after the engine's own limits has hung.
constexpr int kHangMarginMs = 3000;

class Recorder : public ToastPresenter {
public:
    explicit Recorder(QStringList* texts)
        : m_texts(texts)
    {
    }
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

// Version and device information queries may reach the controller at any time.
bool isQuery(const QByteArray& message)
{
    if (message.size() < ControllerProtocol::kCommandSize)
        return false;
    const auto kind = ControllerProtocol::messageFor(uint8_t(message[0]), uint8_t(message[1]));
    return kind == ControllerProtocol::Message::DeviceInformation || kind == ControllerProtocol::Message::RightVersion;
}

// As the engine's macAddressWithoutColon gives it.
QString bluetoothAddress(SimulatedController& sim)
{
    QByteArray bytes;
    for (const uint8_t b : sim.deviceInfo().btAddress)
        bytes.append(char(b));
    return QString::fromLatin1(bytes.toHex()).toUpper();
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
    // The other controller: not at all, a visit during the run (from and for
    // how long, in engine seconds), or in place of the first after its restart.
    enum class Other { Away, Visits, ReturnsInstead } other = Other::Away;
    double visitAt = 0, visitFor = 0;
};

struct SoakRunner::Lane {
    SimAccessoryTransport* transport = nullptr;
    SimAccessoryTransport* other = nullptr;
    // A lane's own engine with several controllers; null for the shared one.
    std::unique_ptr<ZelFirmwareUpgradeManager> ownEngine;
    ZelFirmwareUpgradeManager* sharedEngine = nullptr;
    ZelFirmwareUpgradeManager& engine() const { return ownEngine ? *ownEngine : *sharedEngine; }
    bool hasOpenSession() const { return transport->hasOpenSession(engine().sessionController()); }
};

// One lane's run of a round, from its start to its checks.
struct SoakRunner::Round {
    Lane* lane = nullptr;
    Plan plan;
    QByteArray before[3];
    bool sends[3] = {};
    ZelFirmware release;
    QString folder;
    QByteArray folderDigest;
    qsizetype otherFrom = 0;
    qsizetype messagesFrom = 0;
    std::unique_ptr<QObject> otherContext = std::make_unique<QObject>();
    std::unique_ptr<UpgradeRun> run;
    // At its outcome: what the controller has parsed, and what the host had
    // already written that is still on its way through the link.
    qsizetype messagesAtEnd = -1;
    qint64 inFlightAtEnd = 0;
    // Who answered the last version query when the run ended: for a
    // completed run, the read-back.
    QString answeredAtEnd;
};

SoakRunner::SoakRunner(quint32 seed, int controllers, Shared shared, QObject* parent)
    : QObject(parent)
    , m_accessories(shared.accessories())
    , m_seed(seed)
    , m_random(seed)
    , m_documents(std::make_unique<QTemporaryDir>())
    , m_toasts(std::make_unique<Recorder>(&m_toastTexts))
{
    MainQueue::setTimeScale(kTimeScale);
    DocumentsDirectory::setPath(m_documents->path());
    MessageToast::setPresenter(m_toasts.get());
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
    for (int i = 0; i < std::max(1, controllers); ++i) {
        auto lane = std::make_unique<Lane>();
        auto* controller = new SimulatedController;
        controller->setSeed(seed + quint32(2 * i));
        // Each its own Bluetooth address; the first keeps the model's.
        controller->deviceInfo().btAddress[5] = uint8_t(controller->deviceInfo().btAddress[5] + i);
        lane->transport = new SimAccessoryTransport(m_accessories, controller, protocols, this);
        auto* other = new SimulatedController;
        other->setSeed(seed + quint32(2 * i + 1));
        other->setVersions(QStringLiteral("1.0-2.2-2.3"));
        other->deviceInfo().btAddress = { 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, uint8_t(0xFF - i) };
        lane->other = new SimAccessoryTransport(m_accessories, other, protocols, this);
        if (controllers > 1) {
            // Each controller and its other one at an attachment of their own.
            const QString location = QStringLiteral("sim:%1").arg(i);
            lane->transport->setDescription(location);
            lane->other->setDescription(location);
        }
        lane->transport->start();
        MainQueue::runUntil([&lane] { return lane->transport->link() != nullptr; }, 5000);
        if (controllers > 1) {
            lane->ownEngine
                = std::make_unique<ZelFirmwareUpgradeManager>(shared.registry(), lane->transport->description());
        } else {
            shared.session().setupControllerForAccessory(
                m_accessories.connectedAccessories().front(), protocols.value(0));
            lane->sharedEngine = &shared.engine();
        }
        m_lanes.push_back(std::move(lane));
    }
}

SoakRunner::~SoakRunner()
{
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
        v = { uint8_t(1 + m_random.bounded(9)), uint8_t(m_random.bounded(100)) };
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
    // How the link hands the replies over: most runs cut them into pieces of
    // 1 to 4 bytes, some only now and then; many glue a reply to whatever
    // follows it within a few milliseconds; a port picks up noise when it opens.
    const double cut = m_random.generateDouble();
    f.splitRate = cut < 0.5 ? 1.0 : (cut < 0.75 ? 0.3 * m_random.generateDouble() : f.splitRate);
    f.splitSize = 1 + int(m_random.bounded(4));
    f.splitGapMs = 1;
    f.mergeRate = m_random.generateDouble() < 0.5 ? 0.3 * m_random.generateDouble() : f.mergeRate;
    f.mergeWindowMs = 1 + int(m_random.bounded(8));
    f.strayByteOnAttach = m_random.generateDouble() < 0.3;
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
    const double other = m_random.generateDouble();
    if (other < 0.25) {
        p.other = Plan::Other::Visits;
        p.visitAt = 3.0 * m_random.generateDouble();
        p.visitFor = 0.5 + 4.5 * m_random.generateDouble();
    } else if (other < 0.35 && !p.neverReturns && (p.boot || p.left)) {
        p.other = Plan::Other::ReturnsInstead;
        p.neverReturns = true;
        f.restartDelayMs = -1;
    }
    return p;
}

bool SoakRunner::startRun(Lane& lane, int index, Round& round, const QStringList& takenVersions)
{
    round.lane = &lane;
    ZelFirmwareUpgradeManager& engine = lane.engine();
    SimulatedController& sim = *lane.transport->controller();
    // A clean start: the controller attached, the session open on this
    // attachment, its versions known, the engine idle.
    // Replies still on their way from the run before (a late answer, one held
    // back for merging) are delivered first: the version query below takes
    // whatever reply comes next as its answer.
    sim.faults() = SimFaults();
    sim.releaseHeldReply();
    if (!sim.isAttached())
        sim.plugIn();
    const auto sessionOnController = [&] {
        return lane.hasOpenSession() && engine.accessory() && !engine.isUpgradingFirmware() && !sim.hasPendingReplies();
    };
    if (!MainQueue::runUntil(sessionOnController, 5000)) {
        violation(index, QStringLiteral("the controller did not come back between runs"));
        return false;
    }
    QString versionsBefore;
    engine.checkCurrentVersion([&](const QString& v) { versionsBefore = v; });
    if (!MainQueue::runUntil([&] { return !versionsBefore.isEmpty(); }, 5000) || versionsBefore != sim.versionsText()) {
        violation(index,
            QStringLiteral("the controller's versions could not be read between runs (%1, holds %2)")
                .arg(versionsBefore.isEmpty() ? QStringLiteral("no answer") : versionsBefore, sim.versionsText()));
        return false;
    }

    round.plan = planRun(index);
    Plan& plan = round.plan;
    QByteArray* before = round.before;
    before[0] = sim.bootLoaderFlash();
    before[1] = sim.leftApplicationFlash();
    before[2] = sim.rightFlash();
    // The release differs from the controller exactly in the sides the plan
    // sends, and from the release of every other controller of the round
    // (each has its own release folder).
    bool* sends = round.sends;
    sends[0] = plan.boot;
    sends[1] = plan.left;
    sends[2] = plan.right;
    QStringList parts;
    do {
        parts = versionsBefore.split(QLatin1Char('-'));
        for (int i = 0; i < 3; ++i) {
            if (!sends[i])
                continue;
            SimVersion& v = plan.version[i];
            while (FirmwareVersion::parse(v.text()) == FirmwareVersion::parse(parts[i]))
                v.minor = uint8_t((v.minor + 1) % 100);
            parts[i] = v.text();
        }
        if (takenVersions.contains(parts.join(QLatin1Char('-'))))
            for (int i = 0; i < 3; ++i)
                if (sends[i])
                    plan.version[i].major = uint8_t(1 + plan.version[i].major % 9);
    } while (takenVersions.contains(parts.join(QLatin1Char('-'))));
    for (int i = 0; i < 3; ++i)
        plan.images[i].replace(plan.images[i].size() - SimulatedController::kTrailerSize,
            SimulatedController::kTrailerSize, SimulatedController::versionTrailer(plan.version[i]));
    ZelFirmware& release = round.release;
    release.version = parts.join(QLatin1Char('-'));

    // The release as a local release folder, which must come through untouched.
    round.folder = ZelDataTool::localProductFolder() + QLatin1Char('/') + release.version;
    const QString& folder = round.folder;
    release.path = folder;
    QDir().mkpath(folder);
    const QString names[3] = { ZelFirmwareUpgradeManager::kBootFileName, ZelFirmwareUpgradeManager::kLeftFileName,
        ZelFirmwareUpgradeManager::kRightFileName };
    for (int i = 0; i < 3; ++i) {
        QFile f(folder + QLatin1Char('/') + names[i]);
        f.open(QIODevice::WriteOnly);
        f.write(plan.images[i]);
    }
    round.folderDigest = digestOfFolder(folder);
    sim.faults() = plan.faults;
    round.messagesFrom = sim.receivedMessages().size();

    // The other controller's part in this run.
    SimulatedController& other = *lane.other->controller();
    round.otherFrom = other.receivedMessages().size();
    QObject* otherContext = round.otherContext.get();
    if (plan.other == Plan::Other::Visits) {
        MainQueue::dispatchAfter(
            plan.visitAt,
            [&other, &plan, otherContext] {
                other.plugIn();
                MainQueue::dispatchAfter(
                    plan.visitFor, [&other] { other.unplug(-1); }, otherContext);
            },
            otherContext);
    } else if (plan.other == Plan::Other::ReturnsInstead) {
        const int restarts = sim.restartCount();
        connect(&m_accessories, &EAAccessoryManager::accessoryDetached, otherContext,
            [&sim, &other, otherContext, restarts] {
                // Just after the first has gone, as a controller plugged in in its place.
                if (sim.restartCount() > restarts && !other.isAttached())
                    MainQueue::dispatchAsync([&other] { other.plugIn(); }, otherContext);
            });
    }

    round.run = std::make_unique<UpgradeRun>(engine);
    UpgradeRun& run = *round.run;
    run.setHistory(UpgradeHistory(m_documents->filePath(QStringLiteral("soak-history.json"))));
    connect(&run, &UpgradeRun::finished, this, [&round, &engine, &sim] {
        round.answeredAtEnd = engine.macAddressWithoutColon();
        round.messagesAtEnd = sim.receivedMessages().size();
        round.inFlightAtEnd = round.lane->transport->link() ? round.lane->transport->link()->pendingToDevice() : 0;
    });
    if (run.start(release)
        && (run.needsBoot() != plan.boot || run.needsLeft() != plan.left || run.needsRight() != plan.right))
        violation(index, QStringLiteral("the run was started for other sides than the release differs in"));
    return true;
}

void SoakRunner::checkRun(Lane& lane, int index, Round& round)
{
    ZelFirmwareUpgradeManager& engine = lane.engine();
    SimulatedController& sim = *lane.transport->controller();
    SimulatedController& other = *lane.other->controller();
    UpgradeRun& run = *round.run;
    const Plan& plan = round.plan;
    const ZelFirmware& release = round.release;
    const QString& folder = round.folder;
    const QByteArray* before = round.before;
    const bool* sends = round.sends;
    const qsizetype messagesAtEnd = round.messagesAtEnd;
    const QString& answeredAtEnd = round.answeredAtEnd;
    const QString names[3] = { ZelFirmwareUpgradeManager::kBootFileName, ZelFirmwareUpgradeManager::kLeftFileName,
        ZelFirmwareUpgradeManager::kRightFileName };
    const QList<QByteArray>& received = sim.receivedMessages();
    qint64 lateBytes = 0;
    QString late;
    for (qsizetype i = std::max<qsizetype>(messagesAtEnd, 0); i < received.size(); ++i) {
        if (!isQuery(received[i])) {
            lateBytes += received[i].size();
            late = QString::fromLatin1(received[i].left(3).toHex(' '));
        }
    }
    if (lateBytes > round.inFlightAtEnd)
        violation(index,
            QStringLiteral("%1 sent to the controller after the run ended (%2 in %3: %4)")
                .arg(late, UpgradeRun::outcomeName(run.outcome()), UpgradeRun::phaseName(run.phase()), run.reason()));
    // The other controller never receives anything but queries, during the run or after it.
    const QList<QByteArray> toOther = other.receivedMessages().mid(round.otherFrom);
    for (const QByteArray& m : toOther)
        if (!isQuery(m)) {
            violation(index,
                QStringLiteral("%1 reached a controller the run was not started for")
                    .arg(QString::fromLatin1(m.left(3).toHex(' '))));
            break;
        }
    round.otherContext.reset();

    const QByteArray expected[3]
        = { plan.images[0].left(4) + plan.images[0].mid(kBootRegion + 4), plan.images[1], plan.images[2] };
    const QByteArray now[3] = { sim.bootLoaderFlash(), sim.leftApplicationFlash(), sim.rightFlash() };
    if (run.outcome() == UpgradeRun::Outcome::Completed) {
        // Completed: on the controller it was started for; the versions read
        // back are the release's, the controller holds exactly the images,
        // and reports the release.
        const QString own = bluetoothAddress(sim);
        if (run.controller() != own || answeredAtEnd != own)
            violation(index,
                QStringLiteral("completed for %1 with the versions read from %2, not the controller it was started on")
                    .arg(run.controller(), answeredAtEnd));
        if (run.versionsAfter() != release.version)
            violation(index,
                QStringLiteral("completed, but the versions read back are %1 instead of %2")
                    .arg(run.versionsAfter(), release.version));
        if (sim.versionsText() != release.version)
            violation(index,
                QStringLiteral("completed, but the controller holds %1 instead of %2")
                    .arg(sim.versionsText(), release.version));
        for (int i = 0; i < 3; ++i)
            if (sends[i] && now[i] != expected[i])
                violation(index, QStringLiteral("completed, but image %1 in flash differs").arg(names[i]));
        if (run.progress() != 100.0)
            violation(index, QStringLiteral("completed at %1 %").arg(run.progress()));
        ++m_completed;
    } else {
        // Failed or cancelled: with a reason, and no side's flash half-written.
        if (run.failure().isNone())
            violation(index, QStringLiteral("the run ended without a reason"));
        else if (run.reason().isEmpty())
            violation(index, QStringLiteral("the reason %1 has no message").arg(run.failure().name()));
        if (run.progress() >= 100.0)
            violation(
                index, QStringLiteral("the run showed 100 % and then %1").arg(UpgradeRun::outcomeName(run.outcome())));
        const QString cause = run.failure().isNone() ? QStringLiteral("(no reason)") : run.failure().name();
        m_failures[cause] += 1;
        for (int i = 0; i < 3; ++i)
            if (now[i] != before[i] && now[i] != expected[i])
                violation(index,
                    QStringLiteral("a run that did not complete left %1 in flash neither old nor new").arg(names[i]));
    }
    sim.faults() = SimFaults();
    if (engine.isUpgradingFirmware())
        violation(index, QStringLiteral("isUpgradingFirmware still set after the run"));
    if (digestOfFolder(folder) != round.folderDigest)
        violation(index, QStringLiteral("the release folder in the documents directory changed"));
    QDir(folder).removeRecursively();
    if (other.isAttached())
        other.unplug(-1);
    if (plan.neverReturns) {
        sim.plugIn();
    } else if (sim.isAttached() && !lane.hasOpenSession()) {
        // Outside a run the newest arrival takes the session, as it should;
        // the other controller has gone, so the first is plugged in again.
        sim.unplug(-1);
        sim.plugIn();
    }
}

void SoakRunner::runOnce(int index)
{
    std::vector<std::unique_ptr<Round>> rounds;
    QStringList versions;
    for (const std::unique_ptr<Lane>& lane : m_lanes) {
        auto round = std::make_unique<Round>();
        if (!startRun(*lane, index, *round, versions))
            return;
        versions << round->release.version;
        rounds.push_back(std::move(round));
    }
    const ZelFirmwareUpgradeManager::Settings& limits = m_lanes.front()->engine().settings();
    const double silence = std::max(limits.transferSilence, limits.flashSilence);
    // A link that hands replies over in pieces, or holds them to glue them to
    // the next, takes its time, unscaled: each reply of every packet (a data
    // packet is answered in two passes at most) may take that long.
    int linkMs = 0;
    for (const auto& round : rounds) {
        const SimFaults& f = round->plan.faults;
        int packets = 0;
        for (int i = 0; i < 3; ++i) {
            const int sent = int(round->plan.images[i].size()) - (i == 0 ? kBootRegion : 0);
            packets += round->sends[i] ? 2 * (sent / ControllerProtocol::kPayloadSize + 2) : 0;
        }
        const int pieces
            = f.splitRate > 0 ? (ControllerProtocol::kRightDataAckSize + f.splitSize - 1) / f.splitSize : 1;
        const int perReply = pieces * (f.splitGapMs + 1) + (f.mergeRate > 0 ? std::max(0, f.mergeWindowMs) : 0);
        linkMs = std::max(linkMs, packets * perReply);
    }
    const int limitMs = MainQueue::scaledMilliseconds(limits.restartWait + silence) * 4 + kHangMarginMs + linkMs;
    const auto allEnded = [&rounds] {
        return std::none_of(rounds.begin(), rounds.end(), [](const auto& r) { return r->run->isRunning(); });
    };
    if (!MainQueue::runUntil(allEnded, limitMs)) {
        violation(index, QStringLiteral("a run neither ended nor said why within %1 ms").arg(limitMs));
        for (const auto& round : rounds)
            round->run->cancel();
        return;
    }
    // Nothing of a run may reach its controller after its outcome: wait as
    // long as the engine's longest silence limit, after which a left-over
    // timer would have resent something.
    MainQueue::runUntil([] { return false; }, MainQueue::scaledMilliseconds(silence));
    if (rounds.size() > 1)
        checkCrossTalk(index, rounds);
    for (const auto& round : rounds)
        checkRun(*round->lane, index, *round);
}

void SoakRunner::checkCrossTalk(int index, const std::vector<std::unique_ptr<Round>>& rounds)
{
    using Message = ControllerProtocol::Message;
    // A data packet's payload past the boot loader's packet-0 bytes: random
    // image bytes, which only the run that sends that image has.
    constexpr qsizetype kSample = 16;
    const qsizetype from = qsizetype(ControllerProtocol::kDataHeaderSize) + 4;
    for (const auto& round : rounds) {
        const QList<QByteArray> received
            = round->lane->transport->controller()->receivedMessages().mid(round->messagesFrom);
        for (const QByteArray& m : received) {
            if (m.size() < from + kSample)
                continue;
            const auto kind = ControllerProtocol::messageFor(uint8_t(m[0]), uint8_t(m[1]));
            if (kind != Message::RightData && kind != Message::LeftProgram && kind != Message::LeftVerify)
                continue;
            const QByteArray sample = m.mid(from, kSample);
            const auto holds = [&sample](const Round& r) {
                return std::any_of(std::begin(r.plan.images), std::end(r.plan.images),
                    [&sample](const QByteArray& image) { return image.contains(sample); });
            };
            if (holds(*round))
                continue;
            for (const auto& another : rounds) {
                if (another != round && holds(*another)) {
                    violation(index,
                        QStringLiteral("%1 received a packet of the run on %2")
                            .arg(round->lane->transport->description(), another->lane->transport->description()));
                    return;
                }
            }
        }
    }
}

void SoakRunner::run(int runs)
{
    for (int i = 0; i < runs; ++i)
        runOnce(i);
}
