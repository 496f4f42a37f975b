// Sleep held off during an upgrade run: against two real dbus-daemons started
// here (a "system" and a "session" bus) and a logind and screen saver of the
// test's own on them, which record the calls and hand out a pipe's write end
// as the inhibitor descriptor: the lock is released when the pipe's read end
// sees its other end close.
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/SleepInhibitor.h"
#include "sim/DemoReleases.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <memory>

using namespace testsupport;

namespace {

const QString kSystemName = QStringLiteral("test-system-service");
const QString kSessionName = QStringLiteral("test-session-service");

QByteArray image(int size, SimVersion version, int seed)
{
    return testsupport::firmwareImage(size, version, seed, 13);
}

// A bus of the test's own: any name may be owned, any call made.
QString startBus(QProcess& daemon, const QString& folder, const QString& type)
{
    const QString config = folder + QLatin1Char('/') + type + QStringLiteral(".conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\" "
                              "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                              "<busconfig><type>%1</type><listen>unix:dir=%2</listen><auth>EXTERNAL</auth>"
                              "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/><allow user=\"*\"/></policy></busconfig>\n")
                   .arg(type, folder)
                   .toUtf8());
    file.close();
    daemon.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--nofork"), QStringLiteral("--print-address=1"), QStringLiteral("--config-file=") + config });
    if (!daemon.waitForStarted(kPatienceMs))
        return QString();
    QByteArray line;
    waitUntil([&] {
        daemon.waitForReadyRead(50);
        line += daemon.readAll();
        return line.contains('\n');
    });
    return QString::fromUtf8(line.trimmed());
}

} // namespace

// logind as far as Inhibit goes.
class FakeLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    QStringList calls; // "what|who|why|mode"
    QList<int> readEnds; // one a call; closed by the test
    bool refuse = false;

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode)
    {
        calls << QStringList { what, who, why, mode }.join(QLatin1Char('|'));
        int ends[2] = { -1, -1 };
        if (refuse || ::pipe2(ends, O_CLOEXEC) != 0) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("refused by the test"));
            return QDBusUnixFileDescriptor();
        }
        readEnds << ends[0];
        QDBusUnixFileDescriptor handed(ends[1]); // a copy of its own
        ::close(ends[1]);
        return handed;
    }
};

// The desktop's screen saver as far as Inhibit and UnInhibit go.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList inhibited;
    QList<uint> uninhibited;
    uint next = 41;

public slots:
    uint Inhibit(const QString& who, const QString& why)
    {
        inhibited << who + QLatin1Char('|') + why;
        return ++next;
    }
    void UnInhibit(uint cookie) { uninhibited << cookie; }
};

class TestSleepInhibitor : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_systemBus;
    QProcess m_sessionBus;
    FakeLogind m_logind;
    FakeScreenSaver m_screenSaver;
    SimulatedAttachment* m_sim = nullptr;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }
    SimulatedController& sim() { return m_sim->controller(); }

    QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(m_dir.path(), name, bytes); }

    static QString readVersions() { return readControllerVersions(); }

    // Whether every copy of the descriptor handed out last is closed.
    bool released() const
    {
        if (m_logind.readEnds.isEmpty())
            return false;
        pollfd p { m_logind.readEnds.last(), POLLIN, 0 };
        char byte = 0;
        return ::poll(&p, 1, 0) == 1 && ::read(p.fd, &byte, 1) == 0;
    }
    bool taken() const { return !m_logind.readEnds.isEmpty() && !released(); }

    // The lock's answer comes over the bus, a run's replies over the link:
    // on a busy machine a short run could end before the answer. The
    // controller's first reply is held back until the lock is had, so the
    // images are written under it whatever the load.
    void holdFirstReplyUntilLocked() { sim().faults().mergeReplies = 1; }
    bool letTheRunGoOnOnceLocked(UpgradeRun& run)
    {
        const bool locked = waitUntil([&] { return run.sleepInhibitor().holdsSleep(); });
        sim().releaseHeldReply();
        return locked && run.isRunning();
    }

private slots:
    void initTestCase()
    {
        Localization::shared().setLanguage(QStringLiteral("en"));
        const QString system = startBus(m_systemBus, m_dir.path(), QStringLiteral("system"));
        const QString session = startBus(m_sessionBus, m_dir.path(), QStringLiteral("session"));
        QVERIFY2(!system.isEmpty() && !session.isEmpty(), "dbus-daemon did not start");
        // Before any bus is used in the process: the default buses read these once.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", system.toUtf8());
        qputenv("DBUS_SESSION_BUS_ADDRESS", session.toUtf8());
        QDBusConnection systemBus = QDBusConnection::connectToBus(system, kSystemName);
        QDBusConnection sessionBus = QDBusConnection::connectToBus(session, kSessionName);
        QVERIFY(systemBus.registerObject(SleepInhibitor::kLogindPath, &m_logind, QDBusConnection::ExportAllSlots));
        QVERIFY(systemBus.registerService(SleepInhibitor::kLogindService));
        QVERIFY(sessionBus.registerObject(
            SleepInhibitor::kScreenSaverPath, &m_screenSaver, QDBusConnection::ExportAllSlots));
        QVERIFY(sessionBus.registerService(SleepInhibitor::kScreenSaverService));

        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("documents"))));
        DocumentsDirectory::setPath(m_dir.filePath(QStringLiteral("documents")));
        m_sim = new SimulatedAttachment;
        QVERIFY(m_sim->configureSession());
        engine();
    }

    void cleanupTestCase()
    {
        delete m_sim;
        QDBusConnection::disconnectFromBus(kSystemName);
        QDBusConnection::disconnectFromBus(kSessionName);
        for (QProcess* daemon : { &m_systemBus, &m_sessionBus }) {
            daemon->terminate();
            daemon->waitForFinished(kPatienceMs);
        }
    }

    void init()
    {
        m_logind.refuse = false;
        sim().faults() = SimFaults();
        sim().faults().restartDelayMs = 30;
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        QVERIFY(m_sim->waitForSession());
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.5"));
    }

    void cleanup()
    {
        QVERIFY(waitUntil([&] {
            return !engine().isUpgradingFirmware() && !engine().isGamepadDisconnectByUpgradingFirmware()
                && m_sim->sessionIsOpen();
        }));
        for (int fd : std::as_const(m_logind.readEnds))
            ::close(fd);
        m_logind.readEnds.clear();
    }

    // Both locks asked for with what, who and why; both given back.
    void bothLocksAreTakenAndGivenBack()
    {
        SleepInhibitor inhibitor;
        const int calls = int(m_logind.calls.size());
        const int cookies = int(m_screenSaver.inhibited.size());
        inhibitor.hold(QStringLiteral("tester"), QStringLiteral("testing"));
        QVERIFY(waitUntil([&] { return inhibitor.holdsSleep() && inhibitor.holdsIdle(); }));
        QCOMPARE(m_logind.calls.mid(calls),
            QStringList { QStringLiteral("sleep:idle:handle-lid-switch|tester|testing|block") });
        QCOMPARE(m_screenSaver.inhibited.mid(cookies), QStringList { QStringLiteral("tester|testing") });
        QVERIFY(taken());
        const uint cookie = m_screenSaver.next;
        inhibitor.release();
        QVERIFY(waitUntil([&] { return released(); }));
        QVERIFY(waitUntil([&] { return m_screenSaver.uninhibited.contains(cookie); }));
        QVERIFY(!inhibitor.holdsSleep() && !inhibitor.holdsIdle());
    }

    // A lock that arrives after its release was asked for is given back at once.
    void aLateLockIsGivenBack()
    {
        SleepInhibitor inhibitor;
        inhibitor.hold(QStringLiteral("tester"), QStringLiteral("late"));
        inhibitor.release();
        QVERIFY(waitUntil([&] { return released(); }));
        QVERIFY(waitUntil([&] { return m_screenSaver.uninhibited.contains(m_screenSaver.next); }));
        QVERIFY(!inhibitor.holdsSleep() && !inhibitor.holdsIdle());
    }

    void aRefusedLockIsReportedAndTheHoldGoesOn()
    {
        m_logind.refuse = true;
        SleepInhibitor inhibitor;
        QStringList reasons;
        connect(&inhibitor, &SleepInhibitor::unavailable, this, [&](const QString& why) { reasons << why; });
        inhibitor.hold(QStringLiteral("tester"), QStringLiteral("refused"));
        QVERIFY(waitUntil([&] { return !reasons.isEmpty(); }));
        QCOMPARE(reasons.size(), 1);
        QVERIFY(!inhibitor.holdsSleep());
        QVERIFY(waitUntil([&] { return inhibitor.holdsIdle(); })); // the other lock is still had
    }

    // The run takes the lock at its start and gives it back at every outcome.
    void aRunHoldsSleepOffFromItsStartToItsOutcome_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("completed") << QStringLiteral("completed");
        QTest::newRow("failed") << QStringLiteral("failed");
        QTest::newRow("link killed") << QStringLiteral("killed");
        QTest::newRow("cancelled") << QStringLiteral("cancelled");
    }

    void aRunHoldsSleepOffFromItsStartToItsOutcome()
    {
        QFETCH(QString, ending);
        if (ending == QLatin1String("failed"))
            sim().faults().refuseChecksum = true;
        const int calls = int(m_logind.calls.size());
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        bool ended = false;
        bool heldOnStart = false;
        connect(&run, &UpgradeRun::finished, this, [&] { ended = true; });
        // While an image is written the lock is held.
        connect(&run, &UpgradeRun::progressChanged, this, [&](double) {
            if (run.isRunning() && run.sleepInhibitor().holdsSleep())
                heldOnStart = true;
        });
        holdFirstReplyUntilLocked();
        QVERIFY(run.startFiles(
            QString(), QString(), write(QStringLiteral("right-%1.bin").arg(ending), image(20000, { 1, 9 }, 3))));
        QVERIFY(waitUntil([&] { return m_logind.calls.size() == calls + 1; }));
        QVERIFY(m_logind.calls.last().endsWith(QStringLiteral("|block")));
        QVERIFY(m_logind.calls.last().contains(localized("SleepInhibitReason")));
        QVERIFY(letTheRunGoOnOnceLocked(run));
        if (ending == QLatin1String("killed")) {
            QVERIFY(waitUntil([&] { return heldOnStart || ended; }));
            sim().unplug(-1);
        } else if (ending == QLatin1String("cancelled")) {
            // The user's cancel: it waits for the image under way, which stays whole.
            run.requestCancel();
        }
        QVERIFY(waitUntil([&] { return ended; }, 2 * kPatienceMs));
        const UpgradeRun::Outcome expected = ending == QLatin1String("completed") ? UpgradeRun::Outcome::Completed
            : ending == QLatin1String("cancelled")                                ? UpgradeRun::Outcome::Cancelled
                                                                                  : UpgradeRun::Outcome::Failed;
        QCOMPARE(run.outcome(), expected);
        if (ending != QLatin1String("cancelled"))
            QVERIFY(heldOnStart);
        QVERIFY(waitUntil([&] { return released(); }));
        QVERIFY(!run.sleepInhibitor().isHolding());
        if (ending == QLatin1String("killed")) {
            sim().plugIn();
            QVERIFY(m_sim->waitForSession());
        }
    }

    // The way "Upgrade Now" and `upgrade` start: a release run, its three
    // images and two restarts under the one lock.
    void aReleaseRunHoldsSleepOffToo()
    {
        const QString version = DemoReleases::versions().last();
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("release"))));
        write(QStringLiteral("release/") + ZelFirmwareUpgradeManager::kBootFileName, DemoReleases::bootImage(version));
        write(QStringLiteral("release/") + ZelFirmwareUpgradeManager::kLeftFileName, DemoReleases::leftImage(version));
        write(
            QStringLiteral("release/") + ZelFirmwareUpgradeManager::kRightFileName, DemoReleases::rightImage(version));
        ZelFirmware release;
        release.version = version;
        release.path = m_dir.filePath(QStringLiteral("release"));
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        bool ended = false;
        const int calls = int(m_logind.calls.size());
        bool heldDuring = false;
        connect(&run, &UpgradeRun::finished, this, [&] { ended = true; });
        // The lock's answer comes a moment after the start: it is seen during the run.
        connect(&run, &UpgradeRun::progressChanged, this, [&](double) {
            if (run.isRunning() && run.sleepInhibitor().holdsSleep())
                heldDuring = true;
        });
        holdFirstReplyUntilLocked();
        QVERIFY(run.start(release));
        QVERIFY(letTheRunGoOnOnceLocked(run));
        QVERIFY(waitUntil([&] { return ended; }, 3 * kPatienceMs));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(m_logind.calls.size(), calls + 1); // one lock for the whole run
        QVERIFY(heldDuring);
        QVERIFY(waitUntil([&] { return released(); }));
    }
};

QTEST_GUILESS_MAIN(TestSleepInhibitor)
#include "tst_sleepinhibitor.moc"
