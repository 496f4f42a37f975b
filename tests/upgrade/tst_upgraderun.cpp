// The upgrade run from start to its one outcome, against the simulated
// controller through the real session, streams and notifications, and a real
// HTTP server on 127.0.0.1 for downloads.
#include "accessory/EADSessionController.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/Localization.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/ControllerProtocol.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QDir>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

namespace {

const QString kRelease = QStringLiteral("1.1-2.5-1.8");

QByteArray image(int size, SimVersion version, int seed)
{
    return testsupport::firmwareImage(size, version, seed, 13);
}

// An HTTP server that answers with the headers and the first part of an
// archive, then stays silent with the connection open: a download under way.
class StallingServer : public QObject {
public:
    StallingServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, this, [this] { ++closed; });
            }
        });
    }
    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2.zip").arg(m_server.serverPort()).arg(kRelease);
    }
    int requests = 0;
    bool answered = false; // the headers and the first part have left
    int closed = 0;

private:
    void serve(QTcpSocket* socket)
    {
        if (!socket->readAll().contains("\r\n\r\n"))
            return;
        ++requests;
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] { answered = socket->bytesToWrite() == 0; });
        const QByteArray part(4096, 'P');
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/zip\r\nContent-Length: 1000000\r\n\r\n" + part);
    }
    QTcpServer m_server;
};

} // namespace

class TestUpgradeRun : public QObject {
    Q_OBJECT

    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    QTemporaryDir m_dir;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }

    // An online release whose server answers the headers and then stalls.
    static ZelFirmware stallingRelease(const StallingServer& server)
    {
        ZelFirmware release;
        release.version = kRelease;
        release.path = server.url();
        release.md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
        return release;
    }
    SimulatedController& sim() { return m_sim->controller(); }
    QString documents() const { return m_dir.filePath(QStringLiteral("documents")); }
    QString historyPath() const { return documents() + QLatin1Char('/') + DocumentStore::kUpgradeHistory; }

    QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(m_dir.path(), name, bytes); }

    QList<QByteArray> sent(uint8_t c1, uint8_t c2, int from = 0) { return receivedStartingWith(sim(), c1, c2, from); }

    static QString readVersions() { return readControllerVersions(); }

    // What a run showed: its progress figures and phases, until it ended.
    struct Watch {
        QList<double> progress;
        QList<UpgradeRun::Phase> phases;
        bool ended = false;
    };
    void watch(UpgradeRun& run, Watch& w)
    {
        connect(&run, &UpgradeRun::progressChanged, this, [&w](double p) { w.progress << p; });
        connect(&run, &UpgradeRun::phaseChanged, this, [&w](UpgradeRun::Phase p) { w.phases << p; });
        connect(&run, &UpgradeRun::finished, this, [&w] { w.ended = true; });
    }
    static bool risesAndStaysBelow100(const QList<double>& progress)
    {
        for (qsizetype i = 0; i < progress.size(); ++i)
            if (progress[i] >= 100.0 || (i > 0 && progress[i] <= progress[i - 1]))
                return false;
        return true;
    }

    QStringList documentEntries() const
    {
        return QDir(documents()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QStringList unpackedReleases() const
    {
        return QDir(documents() + QStringLiteral("/RemoteBinFiles/zelmar-q3-dart"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        Localization::shared().setLanguage(QStringLiteral("en"));
        QVERIFY(QDir().mkpath(documents()));
        DocumentsDirectory::setPath(documents());
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
        QVERIFY(m_sim->waitForSession());
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.5"));
    }

    void cleanup()
    {
        QVERIFY(waitUntil([&] {
            return !engine().isUpgradingFirmware() && !engine().isGamepadDisconnectByUpgradingFirmware()
                && m_sim->sessionIsOpen();
        }));
        QVERIFY(!UpgradeRun::current());
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.transferSilence = ZelFirmwareUpgradeManager::kDefaultTransferSilence;
            engine().setSettings(settings);
        }
        delete m_toasts;
    }

    void aRightImageCompletesWithTheVersionsReadBack()
    {
        const QByteArray bytes = image(200, { 1, 9 }, 1);
        const qsizetype recorded = UpgradeHistory(historyPath()).records().size();
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QVERIFY(run.startFiles(QString(), QString(), write(QStringLiteral("right200.bin"), bytes)));
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(run.versionsAfter(), QStringLiteral("1.0-2.3-1.9"));
        QCOMPARE(sim().rightFlash(), bytes);
        // Only the completion shows 100, after the versions were read.
        QVERIFY(w.progress.size() > 2);
        QCOMPARE(w.progress.last(), 100.0);
        QVERIFY(risesAndStaysBelow100(w.progress.mid(0, w.progress.size() - 1)));
        QCOMPARE(w.phases, (QList<UpgradeRun::Phase> { UpgradeRun::Phase::Right, UpgradeRun::Phase::ReadingVersions }));

        const QList<UpgradeRecord> records = UpgradeHistory(historyPath()).records();
        QCOMPARE(records.size(), recorded + 1);
        const UpgradeRecord& r = records.last();
        QCOMPARE(r.outcome, QStringLiteral("completed"));
        QCOMPARE(r.release, QStringLiteral("files"));
        QCOMPARE(r.source, QStringLiteral("files"));
        QCOMPARE(r.before, QStringLiteral("1.0-2.3-1.5"));
        QCOMPARE(r.after, QStringLiteral("1.0-2.3-1.9"));
        QCOMPARE(r.controller, QStringLiteral("123456789ABC"));
        QCOMPARE(r.bytes, qint64(bytes.size()));
        QVERIFY(r.reason.isEmpty());
    }

    void aRunStartedBeforeTheSessionOpensCountsSilenceFromTheOpening()
    {
        // A silence limit shorter than the wait before a new connection's session opens.
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.transferSilence = ZelFirmwareUpgradeManager::kReconnectDelay / 4;
            engine().setSettings(settings);
        }
        const QByteArray bytes = image(200, { 1, 7 }, 1);
        const QString path = write(QStringLiteral("right-early.bin"), bytes);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        bool started = false;
        QObject once;
        connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryAttached, &once, [&] {
            // After the engine has taken the new connection.
            MainQueue::dispatchAsync([&] { started = run.startFiles(QString(), QString(), path); });
        });
        sim().unplug(-1);
        QVERIFY(waitUntil([] { return EAAccessoryManager::sharedAccessoryManager().connectedAccessories().empty(); }));
        sim().plugIn();
        QVERIFY(waitUntil([&] { return w.ended; }));
        QVERIFY(started);
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QCOMPARE(sim().rightFlash(), bytes);
    }

    void aLeftImageCompletesOnlyAfterTheRestartAndTheReadBack()
    {
        const QByteArray left = image(100, { 2, 8 }, 2);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        const quint64 before = run.connection();
        QVERIFY(run.startFiles(QString(), write(QStringLiteral("left100.bin"), left), QString()));
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(run.versionsAfter(), QStringLiteral("1.0-2.8-1.5"));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QVERIFY(run.connection() != before); // the controller came back as a new connection
        QCOMPARE(w.phases,
            (QList<UpgradeRun::Phase> {
                UpgradeRun::Phase::Left, UpgradeRun::Phase::WaitingForRestart, UpgradeRun::Phase::ReadingVersions }));
        QVERIFY(risesAndStaysBelow100(w.progress.mid(0, w.progress.size() - 1)));
        QCOMPARE(w.progress.last(), 100.0);
    }

    // A run sends the images as they were when it began: here both files go
    // while it runs (the left one between its program and verify passes, the
    // right one while the controller restarts), as when the release's folder
    // is unpacked or imported again meanwhile.
    void aRunSendsTheImagesItBeganWithWhateverBecomesOfTheFiles()
    {
        const QByteArray left = image(100, { 2, 6 }, 3);
        const QByteArray right = image(300, { 1, 6 }, 4);
        const QString leftPath = write(QStringLiteral("left-gone.bin"), left);
        const QString rightPath = write(QStringLiteral("right-gone.bin"), right);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        connect(&run, &UpgradeRun::progressChanged, this, [&] { QFile::remove(leftPath); });
        connect(&run, &UpgradeRun::phaseChanged, this, [&](UpgradeRun::Phase phase) {
            if (phase == UpgradeRun::Phase::WaitingForRestart)
                QFile::remove(rightPath);
        });
        QVERIFY(run.startFiles(QString(), leftPath, rightPath));
        QVERIFY(waitUntil([&] { return w.ended; }));
        QVERIFY2(run.outcome() == UpgradeRun::Outcome::Completed, qPrintable(run.reason()));
        QVERIFY(!QFile::exists(leftPath) && !QFile::exists(rightPath));
        QCOMPARE(run.versionsAfter(), QStringLiteral("1.0-2.6-1.6"));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QCOMPARE(sim().rightFlash(), right);
    }

    void aRightImageWhoseEndIsNotConfirmedNeverCompletes_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("size");
        QTest::addColumn<UpgradeReason::Code>("reason");
        // What the controller runs afterwards, as read back.
        QTest::addColumn<QString>("after");
        QTest::newRow("checksum refused")
            << "checksum" << 200 << UpgradeReason::Code::ChecksumRejected << "1.0-2.3-1.5";
        QTest::newRow("64 bytes, end refused")
            << "end refused" << 64 << UpgradeReason::Code::StoppedResponding << "1.0-2.3-1.5";
        // The controller took the image and its answer was lost: it runs it.
        QTest::newRow("end never answered")
            << "end silent" << 200 << UpgradeReason::Code::StoppedResponding << "1.0-2.3-1.7";
    }

    void aRightImageWhoseEndIsNotConfirmedNeverCompletes()
    {
        QFETCH(QString, fault);
        QFETCH(int, size);
        QFETCH(UpgradeReason::Code, reason);
        QFETCH(QString, after);
        LocalLink* link = m_sim->transport().link();
        const auto deliver = link->deviceReceive;
        if (fault == QLatin1String("checksum")) {
            sim().faults().refuseChecksum = true;
        } else {
            if (fault == QLatin1String("end refused"))
                sim().faults().refuseEnd = true;
            else
                link->deviceReceive = [this, deliver](const QByteArray& bytes) {
                    if (bytes.startsWith(QByteArray("\x20\x93", 2)))
                        sim().faults().dropReplies = 1; // every end, also the resent one
                    deliver(bytes);
                };
            // The silence limit is the timer that ends a run whose end goes unconfirmed.
            {
                ZelFirmwareUpgradeManager::Settings settings = engine().settings();
                settings.transferSilence = 1.0;
                engine().setSettings(settings);
            }
        }
        const QByteArray bytes = image(size, { 1, 7 }, size);
        const int from = sim().receivedMessages().size();
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QVERIFY(run.startFiles(QString(), QString(), write(QStringLiteral("right-end.bin"), bytes)));
        QVERIFY(waitUntil([&] { return w.ended; }));
        link->deviceReceive = deliver;
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(run.reasonCode(), reason);
        QCOMPARE(run.reason(), UpgradeReason(reason).text());
        // Read back afterwards: the outcome says what the controller runs,
        // whatever it confirmed.
        QCOMPARE(run.versionsAfter(), after);
        QVERIFY(run.installedKnown());
        const bool taken = after != QLatin1String("1.0-2.3-1.5");
        QCOMPARE(run.installed(), taken ? QList { UpgradePlan::Image::Right } : QList<UpgradePlan::Image> {});
        QVERIFY(run.outcomeText().endsWith(taken
                ? localized("OutcomeInstalled").arg(localized("StepImageRight") + QStringLiteral(" 1.7"))
                : localized("OutcomeNothingInstalled")));
        QVERIFY(!w.progress.isEmpty());
        QVERIFY(risesAndStaysBelow100(w.progress));
        QVERIFY(!sent(0x20, fault == QLatin1String("checksum") ? 0x92 : 0x93, from).isEmpty());
        QCOMPARE(UpgradeHistory(historyPath()).records().last().outcome, QStringLiteral("failed"));
    }

    void aLeftRunWhoseEndAcknowledgementIsLostDoesNotComplete()
    {
        const QByteArray left = image(100, { 2, 6 }, 3);
        LocalLink* link = m_sim->transport().link();
        const QPointer<LocalLink> guard(link);
        const auto deliver = link->deviceReceive;
        link->deviceReceive = [this, deliver](const QByteArray& bytes) {
            if (bytes.startsWith(QByteArray("\x80\x83", 2)))
                sim().faults().dropReplies = 1;
            deliver(bytes);
        };
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QVERIFY(run.startFiles(QString(), write(QStringLiteral("left-lost.bin"), left), QString()));
        QVERIFY(waitUntil([&] { return w.ended; }));
        if (guard)
            link->deviceReceive = deliver; // the restart replaced the link otherwise
        // The controller committed the image and restarted, but never said so.
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(run.reasonCode(), UpgradeReason::Code::Disconnected);
        QVERIFY(risesAndStaysBelow100(w.progress));
        QVERIFY(!w.phases.contains(UpgradeRun::Phase::ReadingVersions));
    }

    void aVersionQueryDuringARunWaitsForItsReadBack()
    {
        const QByteArray bytes = image(400, { 1, 12 }, 4);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QStringList answers;
        connect(&run, &UpgradeRun::progressChanged, this, [&](double) {
            if (answers.isEmpty() && w.progress.size() == 2)
                engine().checkCurrentVersion([&](const QString& v) { answers << v; });
        });
        const int from = sim().receivedMessages().size();
        QVERIFY(run.startFiles(QString(), QString(), write(QStringLiteral("right-query.bin"), bytes)));
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(answers, QStringList { QStringLiteral("1.0-2.3-1.12") });
        // Only the run's read-back asked the controller: the query took no handler from the transfer.
        QCOMPARE(sent(0x20, 0x9F, from).size(), 1);
        QVERIFY(!engine().versionQueriesHeld());
    }

    void aQueryWaitingOnAFailedRunIsAskedAfterIt()
    {
        sim().faults().refuseChecksum = true;
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QString answer;
        QVERIFY(run.startFiles(QString(), QString(), write(QStringLiteral("right-q2.bin"), image(100, { 1, 3 }, 5))));
        engine().checkCurrentVersion([&](const QString& v) { answer = v; });
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Failed);
        QVERIFY(waitUntil([&] { return !answer.isEmpty(); }));
        QCOMPARE(answer, QStringLiteral("1.0-2.3-1.5"));
    }

    void cancellingEndsTheTransferWhereItStands()
    {
        sim().faults().replyDelayMs = 20;
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QVERIFY(
            run.startFiles(QString(), QString(), write(QStringLiteral("right-cancel.bin"), image(2000, { 1, 4 }, 6))));
        QVERIFY(waitUntil([&] { return w.progress.size() >= 3; }));
        run.cancel();
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Cancelled);
        QVERIFY(!engine().isUpgradingFirmware());
        drainPostedEvents(); // what was written before the cancel reaches the controller
        const int count = sim().receivedMessages().size();
        // Past the resend delay nothing of the run goes out any more.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay));
        QCOMPARE(sim().receivedMessages().size(), count);
        QCOMPARE(UpgradeHistory(historyPath()).records().last().outcome, QStringLiteral("cancelled"));
        QVERIFY(sim().rightFlash() != image(2000, { 1, 4 }, 6));
    }

    void anUnplugDuringTheDownloadCancelsItAndTheNextControllerIsUntouched()
    {
        StallingServer server;
        const ZelFirmware release = stallingRelease(server);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QVERIFY(run.start(release));
        QCOMPARE(run.source(), UpgradeRun::Source::Online);
        QVERIFY(waitUntil([&] { return server.answered; }));
        QCOMPARE(run.phase(), UpgradeRun::Phase::Download);
        const QByteArray right = sim().rightFlash();
        const QByteArray left = sim().leftApplicationFlash();
        const int count = sim().receivedMessages().size();

        sim().unplug(-1);
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Cancelled);
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(!engine().isDownloading());
        QVERIFY(waitUntil([&] { return server.closed == 1; })); // the request was aborted

        // Another controller arrives: it is never flashed without a new start.
        sim().plugIn();
        QVERIFY(m_sim->waitForSession());
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        QCOMPARE(sim().receivedMessages().size(), count);
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(sim().leftApplicationFlash(), left);
        QCOMPARE(documentEntries(), (QStringList { QStringLiteral("RemoteBinFiles"), DocumentStore::kUpgradeHistory }));
        QVERIFY(unpackedReleases().isEmpty());
        const UpgradeRecord r = UpgradeHistory(historyPath()).records().last();
        QCOMPARE(r.outcome, QStringLiteral("cancelled"));
        QCOMPARE(r.source, QStringLiteral("online"));
        QCOMPARE(r.release, kRelease);
        QCOMPARE(server.requests, 1);
    }

    void anotherReleaseChosenDuringTheDownloadCancelsIt()
    {
        StallingServer server;
        const ZelFirmware release = stallingRelease(server);
        UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(run, w);
        QVERIFY(run.start(release));
        QVERIFY(waitUntil([&] { return server.answered; }));
        const int count = sim().receivedMessages().size();
        ZelFirmware other = release;
        other.version = QStringLiteral("1.0-2.4-1.6");
        engine().setSelectedFirmware(&other);
        QCOMPARE(run.outcome(), UpgradeRun::Outcome::Cancelled);
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(waitUntil([&] { return server.closed == 1; }));
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay));
        QCOMPARE(sim().receivedMessages().size(), count);
        QVERIFY(unpackedReleases().isEmpty());
        QVERIFY(!documentEntries().join(QLatin1Char(' ')).contains(QLatin1String(".zip")));
    }

    void aSecondRunCannotStartWhileOneIsGoing()
    {
        sim().faults().replyDelayMs = 20;
        UpgradeRun first(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(first, w);
        QVERIFY(
            first.startFiles(QString(), QString(), write(QStringLiteral("right-first.bin"), image(300, { 1, 5 }, 7))));
        UpgradeRun second(ZelFirmwareUpgradeManager::sharedInstance());
        QVERIFY(!second.startFiles(
            QString(), QString(), write(QStringLiteral("right-second.bin"), image(300, { 1, 6 }, 8))));
        QCOMPARE(second.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(second.reasonCode(), UpgradeReason::Code::AlreadyRunning);
        QCOMPARE(UpgradeRun::current(), &first);
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(first.outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(sim().rightFlash(), image(300, { 1, 5 }, 7));
    }

    // A files run without a file asks who the controller is, sends it
    // nothing else, and leaves the engine free for the next run.
    void aFilesRunWithoutFilesFailsAndSendsNothing()
    {
        const int from = sim().receivedMessages().size();
        UpgradeRun empty(ZelFirmwareUpgradeManager::sharedInstance());
        Watch w;
        watch(empty, w);
        empty.startFiles(QString(), QString(), QString());
        QVERIFY(waitUntil([&] { return w.ended; }));
        QCOMPARE(empty.outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(empty.reasonCode(), UpgradeReason::Code::ImageInvalid);
        for (const QByteArray& m : sim().receivedMessages().mid(from))
            QVERIFY2(m == ControllerProtocol::request(ControllerProtocol::Message::RightVersion)
                    || m == ControllerProtocol::request(ControllerProtocol::Message::DeviceInformation),
                m.toHex().constData());
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(UpgradeRun::current(), nullptr);
        UpgradeRun next(ZelFirmwareUpgradeManager::sharedInstance());
        Watch n;
        watch(next, n);
        QVERIFY(
            next.startFiles(QString(), QString(), write(QStringLiteral("right-next.bin"), image(100, { 1, 7 }, 9))));
        QVERIFY(waitUntil([&] { return n.ended; }));
        QCOMPARE(next.outcome(), UpgradeRun::Outcome::Completed);
    }

    void anUnreadableHistoryIsKeptAside()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("upgrade-history.json"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[{\"outcome\": \"completed\"");
        }
        UpgradeHistory history(path);
        bool ok = true;
        QVERIFY(history.records(&ok).isEmpty());
        QVERIFY(!ok);
        UpgradeRecord record;
        record.started = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
        record.outcome = QStringLiteral("failed");
        record.reason = QStringLiteral("why");
        record.bytes = 123;
        QVERIFY(history.append(record));
        QFile aside(path + QStringLiteral(".damaged"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), QByteArray("[{\"outcome\": \"completed\""));
        const QList<UpgradeRecord> records = history.records(&ok);
        QVERIFY(ok);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records[0].started, record.started);
        QCOMPARE(records[0].reason, QStringLiteral("why"));
        QCOMPARE(records[0].bytes, qint64(123));

        // A second damaged file does not replace the first one kept aside.
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("garbage");
        }
        QVERIFY(history.append(record));
        QVERIFY(QFile::exists(path + QStringLiteral(".damaged-2")));
        QCOMPARE(history.records().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUpgradeRun)
#include "tst_upgraderun.moc"
