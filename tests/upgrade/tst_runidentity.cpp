// A run belongs to the controller it was started for: other controllers that
// come and go during it, or come back in its place after a restart, are
// asked who they are at most and sent nothing else. Against simulated
// controllers through the real session, streams and notifications.
#include "accessory/EADSessionController.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmware.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/ControllerProbe.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace testsupport;

namespace {

QByteArray image(int size, SimVersion version, int seed)
{
    return firmwareImage(size, version, seed);
}

// Whether every message is a version or device information query.
bool onlyQueries(const QList<QByteArray>& messages)
{
    for (const QByteArray& m : messages)
        if (m != QByteArray("\x20\x9F", 2) && m != QByteArray("\x01\x01", 2))
            return false;
    return true;
}

} // namespace

class TestRunIdentity : public QObject {
    Q_OBJECT

    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    QTemporaryDir m_dir;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }
    SimulatedController& sim() { return m_sim->controller(); }

    QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(m_dir.path(), name, bytes); }
    static QString readVersions() { return readControllerVersions(); }

    // A local release folder of three images whose trailers say the given versions.
    ZelFirmware localRelease(const QString& version, SimVersion boot, SimVersion left, SimVersion right)
    {
        const QString folder = ZelDataTool::localProductFolder() + QLatin1Char('/') + version;
        QDir().mkpath(folder);
        const std::pair<QString, QByteArray> files[] = {
            { ZelFirmwareUpgradeManager::kBootFileName, image(0xE800 + 300, boot, 1) },
            { ZelFirmwareUpgradeManager::kLeftFileName, image(300, left, 2) },
            { ZelFirmwareUpgradeManager::kRightFileName, image(300, right, 3) },
        };
        for (const auto& [name, bytes] : files) {
            QFile f(folder + QLatin1Char('/') + name);
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
        }
        ZelFirmware release;
        release.version = version;
        release.path = folder;
        release.md5 = release.updateInfo = release.updateTime = QStringLiteral("");
        return release;
    }

    // Another simulated controller (another Bluetooth address), plugged in on
    // the next turn of the event loop.
    static std::unique_ptr<SimulatedAttachment> otherController()
    {
        auto other = std::make_unique<SimulatedAttachment>();
        other->controller().deviceInfo().btAddress = { 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF };
        other->controller().setVersions(QStringLiteral("1.0-2.2-2.3"));
        return other;
    }

    // Calls then() once, when the run's controller drops its attachment to restart.
    void onFirstRestart(QObject* context, std::function<void()> then)
    {
        const int before = sim().restartCount();
        auto done = std::make_shared<bool>(false);
        connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryDetached, context,
            [this, before, done, then] {
                if (!*done && sim().restartCount() > before) {
                    *done = true;
                    then();
                }
            });
    }

private slots:
    void initTestCase()
    {
        Localization::shared().setLanguage(QStringLiteral("en"));
        QVERIFY(m_dir.isValid());
        DocumentsDirectory::setPath(m_dir.filePath(QStringLiteral("documents")));
        QVERIFY(QDir().mkpath(DocumentsDirectory::path()));
        m_sim = new SimulatedAttachment;
        QVERIFY(m_sim->configureSession());
        engine();
    }

    void cleanupTestCase() { delete m_sim; }

    void init()
    {
        m_toasts = new ToastRecorder;
        sim().faults() = SimFaults();
        sim().faults().restartDelayMs = 30;
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        if (!sim().isAttached())
            sim().plugIn();
        QVERIFY(m_sim->waitForSession());
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.5"));
    }

    void cleanup()
    {
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.restartWait = ZelFirmwareUpgradeManager::kDefaultRestartWait;
            engine().setSettings(settings);
        }
        if (!sim().isAttached())
            sim().plugIn();
        // A probe may have left the engine on another accessory.
        QVERIFY(waitUntil([&] { return !engine().isRunActive(); }));
        engine().followAccessory(m_sim->waitForAccessory());
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware() && m_sim->sessionIsOpen(); }));
        QVERIFY(!UpgradeRun::current());
        delete m_toasts;
    }

    void anotherControllerBackFromTheRestartIsSentNothingButTheQuery()
    {
        // The run's controller never comes back; another one answers instead.
        sim().faults().restartDelayMs = -1;
        const QByteArray bootBefore = sim().bootLoaderFlash(), leftBefore = sim().leftApplicationFlash(),
                         rightBefore = sim().rightFlash();
        std::unique_ptr<SimulatedAttachment> other;
        QObject context;
        onFirstRestart(&context, [&] { other = otherController(); });
        const QByteArray boot = image(0xE800 + 300, { 1, 1 }, 4);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.startFiles(write(QStringLiteral("b.bin"), boot),
            write(QStringLiteral("l.bin"), image(300, { 2, 5 }, 5)),
            write(QStringLiteral("r.bin"), image(300, { 1, 8 }, 6))));
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(run.reasonCode(), UpgradeReason::Code::DifferentControllerReturned);
        QCOMPARE(run.controller(), QStringLiteral("123456789ABC"));
        QVERIFY(other);
        QVERIFY(!other->controller().receivedMessages().isEmpty());
        QVERIFY(onlyQueries(other->controller().receivedMessages()));
        QVERIFY(sim().bootLoaderFlash() != bootBefore); // the image before the restart went to the run's own
        QCOMPARE(sim().leftApplicationFlash(), leftBefore);
        QCOMPARE(sim().rightFlash(), rightBefore);
        // Nothing more reaches it once the run has ended.
        const qsizetype seen = other->controller().receivedMessages().size();
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay));
        QCOMPARE(other->controller().receivedMessages().size(), seen);
        other.reset();
    }

    void ofTwoArrivalsAfterTheRestartTheRunsOwnControllerIsTaken()
    {
        // The other controller arrives first; the run's own follows within the reconnection delay.
        sim().faults().restartDelayMs = 300;
        std::unique_ptr<SimulatedAttachment> other;
        QObject context;
        onFirstRestart(&context, [&] { other = otherController(); });
        const QByteArray left = image(300, { 2, 6 }, 7);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.startFiles(QString(), write(QStringLiteral("l2.bin"), left), QString()));
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QCOMPARE(run.versionsAfter(), QStringLiteral("1.0-2.6-1.5"));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QVERIFY(other);
        QVERIFY(onlyQueries(other->controller().receivedMessages()));
        other.reset();
    }

    void aSilentArrivalIsSetAsideAndTheRunsOwnControllerStillTaken()
    {
        // Something that never answers arrives first; the run's own controller
        // comes back while it is being asked.
        sim().faults().restartDelayMs = 2500;
        std::unique_ptr<SimulatedAttachment> silent;
        QObject context;
        onFirstRestart(&context, [&] {
            silent = otherController();
            silent->controller().faults().dropReplies = 1000;
        });
        const QByteArray left = image(300, { 2, 4 }, 13);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.startFiles(QString(), write(QStringLiteral("l6.bin"), left), QString()));
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QVERIFY(silent);
        QVERIFY(onlyQueries(silent->controller().receivedMessages()));
        silent.reset();
    }

    void aRunThatFailsWhileItsControllerIsAwayWaitsForNoRestart()
    {
        sim().faults().restartDelayMs = -1;
        std::unique_ptr<SimulatedAttachment> other;
        QObject context;
        onFirstRestart(&context, [&] { other = otherController(); });
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.startFiles(QString(), write(QStringLiteral("l7.bin"), image(300, { 2, 2 }, 14)), QString()));
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QCOMPARE(run.reasonCode(), UpgradeReason::Code::DifferentControllerReturned);
        // No restart is awaited any more, and the controller still attached is followed.
        QVERIFY(!engine().isGamepadDisconnectByUpgradingFirmware());
        QVERIFY(waitUntil([&] {
            return engine().accessory() && other && engine().accessory()->link() == other->transport().link()
                && EADSessionController::sharedController().session();
        }));
        other.reset();
    }

    void anotherControllerPluggedInAndOutDuringATransferLeavesTheRunAlone()
    {
        // Slow enough replies that the run outlasts the other controller's visit.
        sim().faults().replyDelayMs = 20;
        const QByteArray right = image(6000, { 1, 9 }, 8);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        std::unique_ptr<SimulatedAttachment> other;
        bool plugged = false, unplugged = false;
        connect(&run, &UpgradeRun::progressChanged, this, [&](double percent) {
            if (!plugged && percent > 10) {
                plugged = true;
                other = otherController();
            }
        });
        QVERIFY(run.startFiles(QString(), QString(), write(QStringLiteral("r2.bin"), right)));
        QVERIFY(waitUntil([&] { return !run.isRunning() || (other && other->controller().isAttached()); }));
        QVERIFY(run.isRunning());
        // Longer than the reconnection delay after which an arrival used to take the session.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        if (run.isRunning()) {
            other.reset(); // unplugged
            unplugged = true;
        }
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QVERIFY(unplugged);
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QCOMPARE(sim().rightFlash(), right);
    }

    void aRightSideOnOneTenIsNewerThanOneNine()
    {
        sim().setVersions(QStringLiteral("1.0-2.3-1.9"));
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.9"));
        const ZelFirmware release = localRelease(QStringLiteral("1.0-2.3-1.10"), { 1, 0 }, { 2, 3 }, { 1, 10 });
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.start(release));
        QVERIFY(run.needsRight() && !run.needsLeft() && !run.needsBoot());
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QCOMPARE(run.versionsAfter(), QStringLiteral("1.0-2.3-1.10"));

        // A controller on 1.1 is not on 1.10: the image goes out, and a
        // controller that still reports 1.1 afterwards fails the run.
        sim().setVersions(QStringLiteral("1.0-2.3-1.1"));
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.1"));
        const ZelFirmware stuck = localRelease(QStringLiteral("1.0-2.3-1.10-x"), { 1, 0 }, { 2, 3 }, { 1, 1 });
        ZelFirmware relabelled = stuck;
        relabelled.version = QStringLiteral("1.0-2.3-1.10");
        UpgradeRun again(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(again.start(relabelled));
        QVERIFY(again.needsRight());
        QVERIFY(waitUntil([&] { return !again.isRunning(); }));
        QCOMPARE(again.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(again.failure(),
            UpgradeReason(
                UpgradeReason::Code::VersionsMismatch, { QStringLiteral("1.0-2.3-1.1"), relabelled.version }));
        QCOMPARE(again.reason(), localized("VersionsMismatch").arg(QStringLiteral("1.0-2.3-1.1"), relabelled.version));
    }

    void aLeftImageTheControllerDidNotTakeEndsTheRunBeforeTheRight()
    {
        // The left image's own version is 2.4, the release says 2.5.
        const ZelFirmware release = localRelease(QStringLiteral("1.0-2.5-1.8"), { 1, 0 }, { 2, 4 }, { 1, 8 });
        const QByteArray rightBefore = sim().rightFlash();
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.start(release));
        QVERIFY(run.needsLeft() && run.needsRight());
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(run.failure(),
            UpgradeReason(UpgradeReason::Code::VersionsMismatch, { QStringLiteral("1.0-2.4-1.5"), release.version }));
        QCOMPARE(sim().rightFlash(), rightBefore);
    }

    void aVersionQueryJustBeforeARunNeitherDisturbsItNorPromptsDuringIt()
    {
        // The query's halves: the version request now, the device information
        // request a tenth of a second later, inside the run.
        QString answered;
        engine().checkCurrentVersion([&](const QString& v) { answered = v; });
        const qsizetype from = sim().receivedMessages().size();
        QVERIFY(waitUntil([&] { return sim().receivedMessages().size() > from; }));
        const QByteArray left = image(3000, { 2, 7 }, 9);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.startFiles(QString(), write(QStringLiteral("l3.bin"), left), QString()));
        QVERIFY(waitUntil([&] { return !run.isRunning(); }));
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QCOMPARE(sim().leftApplicationFlash(), left);
        // The query waited for the run and was answered from its read-back.
        QCOMPARE(answered, QStringLiteral("1.0-2.7-1.5"));
        // Its eight-second prompt never appears.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kCheckVersionTimeout));
        QVERIFY(!m_toasts->texts().contains(localized("UnplugDevicePrompt")));
        // Nor did the query's late reply count as the controller refusing the image.
        QVERIFY(!m_toasts->texts().contains(localized("DeviceCannotUpgrade")));
    }

    void aReconnectionWhoseSessionCannotOpenEndsWithinTheRestartLimit()
    {
        // Whoever holds the link after the restart keeps the session from opening.
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.restartWait = realSeconds(1.5);
            engine().setSettings(settings);
        }
        const QMetaObject::Connection claiming = connect(
            &EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryAttached, this, [this] {
                if (LocalLink* link = m_sim->transport().link())
                    link->claim();
            });
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(run.startFiles(write(QStringLiteral("b4.bin"), image(0xE800 + 300, { 1, 2 }, 10)),
            write(QStringLiteral("l4.bin"), image(300, { 2, 9 }, 11)), QString()));
        QVERIFY(waitUntil([&] { return !run.isRunning(); }, 20000));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(run.reasonCode(), UpgradeReason::Code::DidNotReturn);
        disconnect(claiming);
        // Nothing of the run was left queued for the next attachment.
        const qsizetype after = sim().receivedMessages().size();
        sim().unplug(-1);
        QVERIFY(waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); }));
        QCOMPARE(EADSessionController::sharedController().queuedBytes(), quint64(0));
        sim().plugIn();
        QVERIFY(m_sim->waitForSession());
        QVERIFY(readVersions().startsWith(QLatin1String("1.2-")));
        QVERIFY(onlyQueries(sim().receivedMessages().mid(after)));
    }

    void aRunThatEndsDropsWhatItQueued()
    {
        // A run started on a new connection queues its first bytes until the session opens.
        sim().unplug(-1);
        QVERIFY(waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); }));
        QObject context;
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        quint64 queued = 0, left = 1;
        connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryAttached, &context, [&] {
            MainQueue::dispatchAsync([&] {
                QVERIFY(
                    run.startFiles(QString(), QString(), write(QStringLiteral("r5.bin"), image(300, { 1, 3 }, 12))));
                queued = EADSessionController::sharedController().queuedBytes();
                run.cancel();
                left = EADSessionController::sharedController().queuedBytes();
            });
        });
        sim().plugIn();
        QVERIFY(waitUntil([&] { return run.outcome() == UpgradeRun::Outcome::Cancelled; }));
        QVERIFY(queued > 0);
        QCOMPARE(left, quint64(0));
    }
    // Without a device named, any serial adapter is an accessory until asked.
    void theProbeSetsASilentAccessoryAsideAndTakesTheOneThatAnswers()
    {
        TimeScale fast(0.05); // the query's limit, the one timer the probe waits on
        sim().faults().dropReplies = 1000;
        const auto other = otherController();
        QVERIFY(other->waitForAccessory());
        const qsizetype from = sim().receivedMessages().size();
        ControllerProbe probe(engine());
        probe.start();
        QVERIFY(waitUntil([&] { return bool(probe.controller()); }));
        QCOMPARE(probe.tried().size(), 2);
        QCOMPARE(probe.tried().at(0).answered, false);
        QCOMPARE(probe.tried().at(1).answered, true);
        QCOMPARE(probe.triedText(), QStringLiteral("sim, sim"));
        QCOMPARE(probe.versions(), QStringLiteral("1.0-2.2-2.3"));
        QCOMPARE(probe.controller(), other->waitForAccessory());
        QCOMPARE(engine().macAddressWithoutColon(), QStringLiteral("AABBCCDDEEFF"));
        QCOMPARE(engine().connectionID(), probe.controller()->connectionID());
        QVERIFY(onlyQueries(sim().receivedMessages().mid(from)));
    }

    void anArrivalWhileTheProbeAsksDoesNotTakeTheSessionFromTheOneAsked()
    {
        TimeScale fast(0.2); // the arrival's follow-up after 0.4 s, the question's limit after 1.65 s
        sim().faults().replyDelayMs = 800; // answers after the newcomer's follow-up, within the limit
        ControllerProbe probe(engine());
        probe.start();
        const auto other = otherController();
        QVERIFY(waitUntil([&] { return bool(probe.controller()); }));
        QCOMPARE(probe.controller(), m_sim->waitForAccessory());
        QCOMPARE(probe.versions(), QStringLiteral("1.0-2.3-1.5"));
        QCOMPARE(probe.tried().size(), 1);
        // The newcomer's follow-up came and went without moving the session.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        QCOMPARE(engine().connectionID(), probe.controller()->connectionID());
        QVERIFY(m_sim->sessionIsOpen());
        QVERIFY(other->controller().receivedMessages().isEmpty());
    }

    void anAccessoryThatLeavesWhileAskedIsSetAsideAtOnce()
    {
        sim().faults().dropReplies = 1000;
        const auto other = otherController();
        QVERIFY(other->waitForAccessory());
        ControllerProbe probe(engine());
        probe.start();
        QVERIFY(probe.isAsking());
        sim().unplug(-1); // the one asked first goes away before it answers
        // Well within the query's 8 s: the next is asked as soon as the first is gone.
        QVERIFY(waitUntil([&] { return bool(probe.controller()); }, 4000));
        QCOMPARE(probe.controller(), other->waitForAccessory());
        QCOMPARE(probe.tried().first().answered, false);
    }
};

QTEST_GUILESS_MAIN(TestRunIdentity)
#include "tst_runidentity.moc"
