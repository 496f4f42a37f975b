// Several engines in one process, each bound to its own controller over real
// TCP to a simulated controller: their runs, limits and failures stay their own.
#include "accessory/EADSessionController.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/MainQueue.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/transport/TcpAccessoryTransport.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/ControllerProtocol.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QHostAddress>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace testsupport;

namespace {

constexpr int kControllers = 3;
constexpr int kRightImageSize = 3000;
constexpr int kLeftImageSize = 1200;

// One simulated controller served over TCP, and the transport that reaches it.
struct Station {
    SimulatedController* controller = nullptr; // owned by the server
    std::unique_ptr<SimTcpServer> server;
    TcpAccessoryTransport* transport = nullptr; // owned by the accessory manager
    QString location() const { return transport->description(); }
};

EAAccessoryPtr attachedAt(const QString& location)
{
    for (const EAAccessoryPtr& a : EAAccessoryManager::sharedAccessoryManager().connectedAccessories())
        if (a->location() == location)
            return a;
    return nullptr;
}

} // namespace

class TestEngines : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::vector<Station> m_stations;

    QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(m_dir.path(), name, bytes); }

    // An engine for station i, once its controller is attached.
    std::unique_ptr<ZelFirmwareUpgradeManager> engineFor(int i)
    {
        const QString location = m_stations[size_t(i)].location();
        if (!waitUntil([&] { return bool(attachedAt(location)); }))
            return nullptr;
        auto engine = std::make_unique<ZelFirmwareUpgradeManager>(ControllerRegistry::sharedRegistry(), location);
        if (!waitUntil([&] { return bool(engine->sessionController().session()); }))
            return nullptr;
        return engine;
    }

private slots:
    void initTestCase()
    {
        useFastTime(0.05);
        QVERIFY(m_dir.isValid());
        const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
        for (int i = 0; i < kControllers; ++i) {
            Station s;
            s.controller = new SimulatedController;
            s.controller->deviceInfo().btAddress = { 0x02, 0x00, 0x00, 0x00, 0x00, uint8_t(0x10 + i) };
            s.server = std::make_unique<SimTcpServer>(s.controller);
            QVERIFY(s.server->listen(QHostAddress::LocalHost, 0));
            s.transport = new TcpAccessoryTransport(EAAccessoryManager::sharedAccessoryManager(),
                QStringLiteral("127.0.0.1"), s.server->serverPort(), protocols);
            EAAccessoryManager::sharedAccessoryManager().addTransport(s.transport);
            s.transport->start();
            m_stations.push_back(std::move(s));
        }
    }

    void init()
    {
        for (Station& s : m_stations) {
            s.controller->faults() = SimFaults();
            s.controller->faults().restartDelayMs = 100;
            QVERIFY(s.controller->setVersions(QStringLiteral("1.0-2.3-1.5")));
        }
    }

    // Every controller gets its own images at the same time; none reaches
    // another, and the application's engine is never involved.
    void enginesRunTheirControllersAtOnce()
    {
        std::vector<std::unique_ptr<ZelFirmwareUpgradeManager>> engines;
        std::vector<std::unique_ptr<UpgradeRun>> runs;
        std::vector<QByteArray> lefts, rights;
        for (int i = 0; i < kControllers; ++i) {
            engines.push_back(engineFor(i));
            QVERIFY(engines.back());
            runs.push_back(std::make_unique<UpgradeRun>(*engines.back()));
            lefts.push_back(firmwareImage(kLeftImageSize, { 2, quint8(4 + i) }, 10 + i));
            rights.push_back(firmwareImage(kRightImageSize, { 1, quint8(6 + i) }, 20 + i));
        }
        for (int i = 0; i < kControllers; ++i) {
            QVERIFY(runs[size_t(i)]->startFiles(QString(), write(QStringLiteral("left%1.bin").arg(i), lefts[size_t(i)]),
                write(QStringLiteral("right%1.bin").arg(i), rights[size_t(i)])));
            QCOMPARE(engines[size_t(i)]->currentRun(), runs[size_t(i)].get());
        }
        // None of them is the shared engine's run, which the screens show.
        QCOMPARE(UpgradeRun::current(), nullptr);
        QVERIFY(!ZelFirmwareUpgradeManager::existingInstance());
        QVERIFY(waitUntil(
            [&] { return std::none_of(runs.begin(), runs.end(), [](const auto& r) { return r->isRunning(); }); }));
        for (int i = 0; i < kControllers; ++i) {
            const UpgradeRun& run = *runs[size_t(i)];
            QCOMPARE(run.outcome(), UpgradeRun::Outcome::Completed);
            QCOMPARE(run.controller(), QStringLiteral("02000000001%1").arg(i));
            QCOMPARE(run.versionsAfter(), QStringLiteral("1.0-2.%1-1.%2").arg(4 + i).arg(6 + i));
            const SimulatedController& sim = *m_stations[size_t(i)].controller;
            QCOMPARE(sim.leftApplicationFlash(), lefts[size_t(i)]);
            QCOMPARE(sim.rightFlash(), rights[size_t(i)]);
            QCOMPARE(engines[size_t(i)]->currentRun(), nullptr);
        }
        runs.clear();
    }

    // One controller refuses the checksum, another falls silent under its
    // engine's own short limit; the third completes as if alone.
    void failuresAndLimitsStayWithTheirController()
    {
        using Message = ControllerProtocol::Message;
        m_stations[1].controller->faults().refuseChecksum = true;
        m_stations[2].controller->faults().requestDelayMs.insert(
            ControllerProtocol::request(Message::RightEnd), 3600 * 1000);
        std::vector<std::unique_ptr<ZelFirmwareUpgradeManager>> engines;
        std::vector<std::unique_ptr<UpgradeRun>> runs;
        std::vector<QByteArray> rights;
        for (int i = 0; i < kControllers; ++i) {
            engines.push_back(engineFor(i));
            QVERIFY(engines.back());
            runs.push_back(std::make_unique<UpgradeRun>(*engines.back()));
            rights.push_back(firmwareImage(kRightImageSize, { 1, quint8(3 + i) }, 30 + i));
        }
        ZelFirmwareUpgradeManager::Settings quick;
        quick.transferSilence = realSeconds(1.0);
        engines[2]->setSettings(quick);
        QCOMPARE(engines[0]->settings(), ZelFirmwareUpgradeManager::Settings());
        for (int i = 0; i < kControllers; ++i)
            QVERIFY(runs[size_t(i)]->startFiles(
                QString(), QString(), write(QStringLiteral("r%1.bin").arg(i), rights[size_t(i)])));
        QVERIFY(waitUntil(
            [&] { return std::none_of(runs.begin(), runs.end(), [](const auto& r) { return r->isRunning(); }); }));
        QCOMPARE(runs[0]->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(m_stations[0].controller->rightFlash(), rights[0]);
        QCOMPARE(runs[1]->outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(runs[1]->reasonCode(), UpgradeReason::Code::ChecksumRejected);
        QCOMPARE(runs[2]->outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(runs[2]->reasonCode(), UpgradeReason::Code::StoppedResponding);
        runs.clear();
    }

    // An engine dropped in the middle of an image takes its transfer, resend
    // and timers with it: its controller hears nothing more, the others go on.
    void anEngineDroppedMidImageLeavesNothingBehind()
    {
        auto kept = engineFor(0);
        auto dropped = engineFor(1);
        QVERIFY(kept && dropped);
        // Slow replies keep the dropped controller's image going while it is dropped.
        m_stations[1].controller->faults().replyDelayMs = 20;
        UpgradeRun keptRun(*kept);
        auto droppedRun = std::make_unique<UpgradeRun>(*dropped);
        const QByteArray right = firmwareImage(kRightImageSize * 4, { 1, 9 }, 40);
        QVERIFY(keptRun.startFiles(QString(), QString(), write(QStringLiteral("kept.bin"), right)));
        QVERIFY(droppedRun->startFiles(QString(), QString(), write(QStringLiteral("dropped.bin"), right)));
        SimulatedController& sim = *m_stations[1].controller;
        const qsizetype before = sim.receivedMessages().size();
        QVERIFY(waitUntil([&] { return sim.receivedMessages().size() > before + 3; }));
        droppedRun.reset();
        dropped.reset();
        QVERIFY(waitUntil([&] { return !sim.hasPendingReplies(); }));
        const qsizetype atDrop = sim.receivedMessages().size();
        QVERIFY(waitUntil([&] { return !keptRun.isRunning(); }));
        QCOMPARE(keptRun.outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(m_stations[0].controller->rightFlash(), right);
        // Past the resend delay: no resend of the dropped engine went out.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay * 2));
        QCOMPARE(sim.receivedMessages().size(), atDrop);
    }
};

QTEST_GUILESS_MAIN(TestEngines)
#include "tst_engines.moc"
