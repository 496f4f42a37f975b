// Image transfers and the run across restarts, against the simulated
// controller through the real session, streams and notifications.
#include "accessory/EADSessionController.h"
#include "firmware/ZelFirmware.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/ControllerProtocol.h"
#include "upgrade/LeftImageWriter.h"
#include "upgrade/RightImageWriter.h"
#include "upgrade/TransferState.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QPointer>
#include <limits>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

Q_DECLARE_METATYPE(SimFaults)

namespace {

QByteArray image(int size, SimVersion version, int seed)
{
    return testsupport::firmwareImage(size, version, seed, 31);
}

// The scale of the run; the right side's resends, which make packet counts
// vary when they fire, keep their real 2 s where a test counts packets, and
// shrink to this only for the packet whose resend a test examines.
constexpr double kFast = 0.01;

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    QTemporaryDir m_dir;
    QList<double> m_progress;
    // Called with each progress figure before it is recorded: as the engine
    // reports it, before the next packet goes out.
    std::function<void(double)> m_beforeProgress;
    QList<bool> m_restarts;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }
    SimulatedController& sim() { return m_sim->controller(); }

    QString write(const QString& name, const QByteArray& bytes) { return writeTestFile(m_dir.path(), name, bytes); }

    // The watchdogs examined by no test keep their real length at any scale
    // down to kFast.
    void longWatchdogs()
    {
        ZelFirmwareUpgradeManager::Settings fast;
        fast.transferSilence = ZelFirmwareUpgradeManager::kDefaultTransferSilence / kFast;
        fast.flashSilence = ZelFirmwareUpgradeManager::kDefaultFlashSilence / kFast;
        fast.restartWait = ZelFirmwareUpgradeManager::kDefaultRestartWait / kFast;
        engine().setSettings(fast);
    }

    QList<QByteArray> sent(uint8_t c1, uint8_t c2) { return receivedStartingWith(sim(), c1, c2); }

private slots:
    void initTestCase()
    {
        useFastTime(kFast);
        Localization::shared().setLanguage(QStringLiteral("en"));
        m_sim = new SimulatedAttachment;
        QVERIFY(m_sim->configureSession());
        NotificationCenter::defaultCenter().addObserver(
            this, ZelUpgradeProgressNotification, [this](const Notification& n) {
                const double p = n.object.toDouble();
                if (m_beforeProgress)
                    m_beforeProgress(p);
                m_progress << p;
            });
        NotificationCenter::defaultCenter().addObserver(this, ZelGamepadDisconnectByUpgradingFirmwareNotification,
            [this](const Notification& n) { m_restarts << n.object.toBool(); });
    }

    void cleanupTestCase()
    {
        NotificationCenter::defaultCenter().removeObserver(this);
        delete m_sim;
    }

    void init()
    {
        m_toasts = new ToastRecorder;
        m_progress.clear();
        m_restarts.clear();
        sim().faults() = SimFaults();
        sim().faults().restartDelayMs = 30;
        longWatchdogs();
        QVERIFY(m_sim->waitForSession());
    }

    void cleanup()
    {
        // The run over, an expected restart done (a connection clears the
        // mark), and the engine's session open on the attachment it came back as.
        QVERIFY(waitUntil([&] {
            return !engine().isUpgradingFirmware() && !engine().isGamepadDisconnectByUpgradingFirmware()
                && m_sim->sessionIsOpen();
        }));
        engine().setSettings(ZelFirmwareUpgradeManager::Settings());
        m_beforeProgress = nullptr;
        delete m_toasts;
    }

    void progressFollowsTheMappingTable()
    {
        using I = UpgradePlan::Image;
        const float g = 0.5f;
        struct Row {
            I image;
            bool boot, left, right;
            float expected;
        };
        const Row rows[] = {
            { I::BootLoader, true, true, true, 0.1f * g },
            { I::BootLoader, true, true, false, 0.2f * g },
            { I::BootLoader, true, false, true, 0.3f * g },
            { I::BootLoader, true, false, false, g },
            { I::Left, true, true, true, 0.1f + 0.5f * g },
            { I::Left, false, true, true, 0.5f * g },
            { I::Left, true, true, false, 0.2f + 0.8f * g },
            { I::Left, false, true, false, g },
            { I::Right, true, true, true, 0.6f + 0.4f * g },
            { I::Right, true, false, true, 0.3f + 0.7f * g },
            { I::Right, false, true, true, 0.5f + 0.5f * g },
            { I::Right, false, false, true, g },
        };
        for (const Row& r : rows)
            QCOMPARE(float(TransferState::progressPercent(r.image, g, r.boot, r.left, r.right) / 100.0), r.expected);
    }

    void aRightImageGoesOutInEchoedPackets()
    {
        TimeScale real(1.0);
        const QByteArray bytes = image(100, { 1, 9 }, 1);
        QVERIFY(engine().sendFiles(QString(), QString(), write(QStringLiteral("right100.bin"), bytes)));
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone(), kPatienceMs);
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(sim().rightVersion(), (SimVersion { 1, 9 }));
        const auto data = sent(0x20, 0x90);
        QCOMPARE(data.size(), 4);
        QCOMPARE(data[3].mid(2, 3), QByteArray("\x04\x60\x00", 3)); // length 4 at offset 96
        QCOMPARE(sent(0x20, 0x92).last().mid(6), QByteArray("\x64\x00\x00\x00", 4));
        QCOMPARE(m_progress.size(), 5);
        QCOMPARE(float(m_progress[0]), 32.0f);
        QCOMPARE(float(m_progress[1]), 64.0f);
        QCOMPARE(float(m_progress[2]), 96.0f);
        QCOMPARE(float(m_progress[3]), 96.0f);
        QCOMPARE(m_progress[4], 100.0);
    }

    void shortAndExactRightImages_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("lengths"); // payload lengths of the data packets, in order
        QTest::addColumn<QList<double>>("progress");
        QTest::newRow("20 bytes") << 20 << QList<int> { 20 } << QList<double> { 0.0, 100.0 };
        QTest::newRow("32 bytes") << 32 << QList<int> { 32 } << QList<double> { 100.0, 100.0 };
        QTest::newRow("64 bytes") << 64 << QList<int> { 32, 32 } << QList<double> { 50.0, 100.0, 100.0 };
    }

    void shortAndExactRightImages()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, lengths);
        QFETCH(QList<double>, progress);
        TimeScale real(1.0);
        const QByteArray bytes = image(size, { 1, quint8(size) }, size);
        const QString path = write(QStringLiteral("right-edge.bin"), bytes);
        const int from = sim().receivedMessages().size();
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone(), kPatienceMs);
        QCOMPARE(sim().rightFlash(), bytes);
        QList<uint8_t> commands;
        QList<int> sentLengths;
        quint16 offset = 0;
        for (const QByteArray& m : sim().receivedMessages().mid(from)) {
            commands << uint8_t(m[1]);
            if (uint8_t(m[1]) == 0x90) {
                sentLengths << uint8_t(m[2]);
                QCOMPARE(quint16(uint8_t(m[3]) | uint8_t(m[4]) << 8), offset);
                offset += uint8_t(m[2]);
            }
        }
        QCOMPARE(sentLengths, lengths);
        QCOMPARE(commands.first() == 0x9E, size >= 32); // only an image of a full packet or more is announced
        QCOMPARE(commands.mid(commands.size() - 2), (QList<uint8_t> { 0x92, 0x93 }));
        QCOMPARE(commands.size(), UpgradePlan::messagesFor(UpgradePlan::Image::Right, size));
        QCOMPARE(m_progress, progress);
    }

    void aFortyByteLeftImageEndsInShortPackets()
    {
        const QByteArray left = image(40, { 2, 4 }, 40);
        const QString path = write(QStringLiteral("left40.bin"), left);
        const int from = sim().receivedMessages().size();
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QTRY_VERIFY_WITH_TIMEOUT(engine().leftUpgradeDone(), kPatienceMs);
        QList<QByteArray> heads;
        for (const QByteArray& m : sim().receivedMessages().mid(from))
            heads << m.left(5);
        const QList<QByteArray> expected { bytes({ 0x03, 0x01, 0x01 }), bytes({ 0x80, 0x81, 0x28, 0x00 }),
            bytes({ 0x80, 0x80, 0x20, 0x00, 0x00 }), bytes({ 0x80, 0x80, 0x08, 0x20, 0x00 }),
            bytes({ 0x80, 0x82, 0x20, 0x00, 0x00 }), bytes({ 0x80, 0x82, 0x08, 0x20, 0x00 }), bytes({ 0x80, 0x83 }) };
        QCOMPARE(heads, expected);
        QCOMPARE(heads.size(), UpgradePlan::messagesFor(UpgradePlan::Image::Left, left.size()));
        QTRY_COMPARE_WITH_TIMEOUT(m_restarts, QList<bool> { true }, kPatienceMs);
        QCOMPARE(sim().leftApplicationFlash(), left);
    }

    void duplicatedRightAcknowledgementsNeverSkipAPacket()
    {
        const QByteArray bytes = image(200, { 1, 11 }, 11);
        const QString path = write(QStringLiteral("right-dup.bin"), bytes);
        sim().faults().duplicateReplies = 1000;
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone(), kPatienceMs);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(m_progress.last(), 100.0);
    }

    void duplicatedLeftAcknowledgementsStillLandTheExactImage()
    {
        // Left acknowledgements carry no offset, so a duplicate is taken for the
        // next packet's; every packet has been written by then and the stream
        // keeps their order, so the controller still receives the whole image.
        const QByteArray left = image(200, { 2, 9 }, 12);
        const QString path = write(QStringLiteral("left-dup.bin"), left);
        sim().faults().duplicateReplies = 1000;
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QTRY_VERIFY_WITH_TIMEOUT(!engine().isUpgradingFirmware(), kPatienceMs);
        QVERIFY(engine().leftUpgradeDone());
        QTRY_COMPARE_WITH_TIMEOUT(m_restarts, QList<bool> { true }, kPatienceMs);
        QCOMPARE(sim().leftApplicationFlash(), left);
    }

    void aForeignAccessoryNeitherContinuesNorTakesTheSession()
    {
        LocalLink link;
        const EAAccessoryPtr foreign = EAAccessory::create({ QStringLiteral("other.vendor.protocol") }, &link);
        // A left image's end: the controller restarts, and stays away until plugged in.
        sim().faults().restartDelayMs = -1;
        QVERIFY(engine().sendFiles(
            QString(), write(QStringLiteral("foreign-left.bin"), image(64, { 2, 6 }, 26)), QString()));
        QVERIFY(waitUntil([&] { return m_restarts == QList<bool> { true }; }));
        QVERIFY(engine().isGamepadDisconnectByUpgradingFirmware()); // the restart is awaited
        QVERIFY(!engine().accessory());
        EAAccessoryManager::sharedAccessoryManager().attachAccessory(foreign);
        QVERIFY(!engine().isGamepadDisconnectByUpgradingFirmware()); // cleared by any connection
        QVERIFY(!engine().accessory());
        sim().plugIn();
        QVERIFY(m_sim->waitForSession());
        const EAAccessoryPtr own = engine().accessory();
        QVERIFY(own);

        // Its disconnection is announced (unexpected), ends the image under
        // way, but leaves our accessory and session.
        sim().faults().requestDelayMs.insert(QByteArray("\x20\x9E", 2), 300); // the start's reply
        const int starts = sent(0x20, 0x9E).size();
        QVERIFY(engine().sendFiles(
            QString(), QString(), write(QStringLiteral("foreign-right.bin"), image(100, { 1, 6 }, 27))));
        QVERIFY(waitUntil([&] { return sent(0x20, 0x9E).size() > starts; }));
        QVERIFY(engine().isUpgradingFirmware());
        const int packets = sent(0x20, 0x90).size();
        EAAccessoryManager::sharedAccessoryManager().detachAccessory(foreign);
        QCOMPARE(m_restarts, (QList<bool> { true, false }));
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(engine().accessory(), own);
        QVERIFY(EADSessionController::sharedController().session());
        // Nor later, when a continuation would take the session; and the
        // start's late reply sends nothing.
        QVERIFY(waitUntil([&] { return !sim().hasPendingReplies(); }));
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        drainPostedEvents();
        QCOMPARE(sent(0x20, 0x90).size(), packets);
        QCOMPARE(EADSessionController::sharedController().accessory(), own);
        QVERIFY(m_sim->sessionIsOpen());
    }

    void aDroppedAcknowledgementIsResentOnceAndNeverTwice()
    {
        TimeScale real(1.0);
        const QByteArray bytes = image(100, { 1, 10 }, 2);
        const QString path = write(QStringLiteral("right-resend.bin"), bytes);
        m_beforeProgress = [this](double) {
            // Called before the next packet goes out: only packet 1's resend is short.
            MainQueue::setTimeScale(m_progress.isEmpty() ? kFast : 1.0);
            if (m_progress.isEmpty())
                sim().faults().dropReplies = 1; // the acknowledgement of packet 1
        };
        const int earlier = sent(0x20, 0x90).size();
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone(), kPatienceMs);
        QCOMPARE(sim().rightFlash(), bytes);
        int offset32 = 0;
        for (const QByteArray& m : sent(0x20, 0x90).mid(earlier))
            offset32 += m.mid(3, 2) == QByteArray("\x20\x00", 2);
        QCOMPARE(offset32, 2);

        // Two lost acknowledgements: one resend, then the run ends as stalled.
        // The silence limit is what ends it: scaled from the moment packet 0
        // reaches the controller, so it is armed short by packet 0's
        // acknowledgement, the last one accepted, and by none before.
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.transferSilence = 5.0;
            engine().setSettings(settings);
        }
        m_progress.clear();
        m_beforeProgress = [this](double) {
            if (m_progress.isEmpty())
                sim().faults().dropReplies = 2;
        };
        LocalLink* link = m_sim->transport().link();
        const auto deliver = link->deviceReceive;
        link->deviceReceive = [deliver](const QByteArray& bytes) {
            if (bytes.contains(QByteArray("\x20\x90\x20\x00\x00", 5)))
                MainQueue::setTimeScale(kFast);
            deliver(bytes);
        };
        const int before = sent(0x20, 0x90).size();
        QVERIFY(engine().sendFiles(QString(), QString(), path)); // sent again from the start
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        link->deviceReceive = deliver;
        QVERIFY(!engine().rightUpgradeDone());
        QCOMPARE(m_toasts->texts(), QStringList { localized("TransferStalled") });
        QCOMPARE(sent(0x20, 0x90).size() - before, 3); // packet 0, packet 1 and its one resend
    }

    // Dropping the transfer is its cancellation: the resend of the packet in
    // flight never goes out, and a late acknowledgement moves nothing.
    void aCancelledTransferNeverResends()
    {
        const QByteArray bytes = image(200, { 1, 14 }, 43);
        const QString path = write(QStringLiteral("right-cancel.bin"), bytes);
        const QByteArray flashBefore = sim().rightFlash();
        const int before = sent(0x20, 0x90).size();
        bool cancelled = false;
        QObject context;
        connect(&sim(), &SimulatedController::messageReceived, &context, [&](const QByteArray& m) {
            if (cancelled || m.left(2) != ControllerProtocol::request(ControllerProtocol::Message::RightData).left(2))
                return;
            // Packet 0 is lost with its acknowledgement; the run ends before its resend is due.
            cancelled = true;
            sim().faults().dropReplies = 1;
            engine().cancelRun();
        });
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QVERIFY(waitUntil([&] { return cancelled; }));
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay * 2));
        QCOMPARE(sent(0x20, 0x90).size() - before, 1);
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(!engine().rightUpgradeDone());
        QCOMPARE(sim().rightFlash(), flashBefore);
    }

    // A writer may be dropped by its owner from inside one of its own hooks
    // (the run ends on a progress figure): it stops where it stands, the
    // packet in flight is neither followed nor resent, and a late reply
    // reaches nothing of it.
    void aWriterDroppedByItsOwnProgressHookSendsNothingMore_data()
    {
        QTest::addColumn<bool>("right");
        QTest::newRow("right") << true;
        QTest::newRow("left") << false;
    }

    void aWriterDroppedByItsOwnProgressHookSendsNothingMore()
    {
        QFETCH(bool, right);
        const uint8_t c1 = right ? 0x20 : 0x80;
        const uint8_t c2 = right ? 0x90 : 0x80;
        const int before = sent(c1, c2).size();
        std::unique_ptr<ImageWriter> writer;
        int reports = 0;
        bool ended = false;
        ImageWriter::Link link;
        link.write = [asker = std::make_shared<RequestChannel::Asker>(engine().requests())](const QByteArray& request,
                         ImageWriter::ReplyHandler handler) { asker->send(request, std::move(handler)); };
        link.progress = [&](double) {
            ++reports;
            writer.reset();
        };
        link.endAcknowledged = [&] { ended = true; };
        const QByteArray bytes = image(100, { 1, 16 }, 45);
        if (right)
            writer = std::make_unique<RightImageWriter>(bytes, link);
        else
            writer = std::make_unique<LeftImageWriter>(UpgradePlan::Image::Left, bytes, link);
        writer->start();
        QVERIFY(waitUntil([&] { return !writer; }));
        // Long enough for a resend, had one been left armed.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay * 2));
        QCOMPARE(sent(c1, c2).size() - before, 1); // packet 0 alone
        QCOMPARE(reports, 1);
        QVERIFY(!ended);
    }

    void aLeftImageIsProgrammedVerifiedAndRestarts()
    {
        const QByteArray bytes = image(100, { 2, 8 }, 3);
        const QString path = write(QStringLiteral("left100.bin"), bytes);
        const int verifiesBefore = sent(0x80, 0x82).size();
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QTRY_VERIFY_WITH_TIMEOUT(engine().leftUpgradeDone(), kPatienceMs);
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(sent(0x80, 0x81).last(), QByteArray("\x80\x81\x64\x00", 4));
        QCOMPARE(sent(0x80, 0x82).size() - verifiesBefore, 4);
        QTRY_COMPARE_WITH_TIMEOUT(m_restarts, QList<bool> { true }, kPatienceMs); // the expected restart
        QCOMPARE(sim().leftApplicationFlash(), bytes);
        QCOMPARE(sim().leftVersion(), (SimVersion { 2, 8 }));
    }

    void theBootLoaderSkipsItsFirstRegionButSendsTheFileHead()
    {
        QByteArray file = image(0xE800 + 64, { 3, 1 }, 4);
        const QString path = write(QStringLiteral("boot.bin"), file);
        QVERIFY(engine().sendFiles(path, QString(), QString()));
        QTRY_VERIFY_WITH_TIMEOUT(engine().bootUpgradeDone(), kPatienceMs);
        QCOMPARE(sent(0x03, 0x01).last(), QByteArray("\x03\x01\x02", 3));
        QCOMPARE(sent(0x80, 0x81).last(), QByteArray("\x80\x81\x40\x00", 4));
        const QByteArray expected = file.left(4) + file.mid(0xE804);
        QTRY_COMPARE_WITH_TIMEOUT(sim().bootLoaderFlash(), expected, kPatienceMs);
    }

    void refusedImagesSendNothing_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("boot");
        QTest::addColumn<QString>("why");
        QTest::newRow("empty left") << 0 << false << localized("ImageEmpty");
        QTest::newRow("boot loader without region") << 0xE800 << true << localized("ImageEmpty");
        QTest::newRow("left of 64 KiB") << 65536 << false << localized("ImageTooLarge").arg(65535);
        QTest::newRow("missing file") << -1 << false << localized("ImageUnreadable");
    }

    void refusedImagesSendNothing()
    {
        QFETCH(int, size);
        QFETCH(bool, boot);
        QFETCH(QString, why);
        const QString path = size < 0 ? m_dir.filePath(QStringLiteral("missing.bin"))
                                      : write(QStringLiteral("bad.bin"), QByteArray(size, 'x'));
        const int before = sim().receivedMessages().size();
        QVERIFY(engine().sendFiles(boot ? path : QString(), boot ? QString() : path, QString()));
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(m_toasts->texts(), QStringList { localized("ImageUnsendable").arg(QFileInfo(path).fileName(), why) });
        // Not later either: not from a resend, and not on its way through the link.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay));
        drainPostedEvents();
        QCOMPARE(sim().receivedMessages().size(), before);
    }

    void eachRefusedLeftStartIsShownAndTheFlashLimitEndsTheRun()
    {
        const QString path = write(QStringLiteral("left-refused.bin"), image(100, { 2, 2 }, 5));
        sim().faults().refuseStart = true;
        sim().faults().duplicateReplies = 1; // the refusal comes twice
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.flashSilence = realSeconds(1.0);
            engine().setSettings(settings);
        } // the limit examined
        const int lengthCommands = sent(0x80, 0x81).size();
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        const QString refused = localized("DeviceCannotUpgrade");
        QCOMPARE(m_toasts->texts(), (QStringList { refused, refused, localized("TransferStalled") }));
        QCOMPARE(sent(0x80, 0x81).size(), lengthCommands); // nothing after the refusals
        QVERIFY(!engine().leftUpgradeDone());
    }

    void aMatchingStartReplyAfterARefusalStillStartsTheImage()
    {
        const QByteArray left = image(100, { 2, 3 }, 21);
        const QString path = write(QStringLiteral("left-second-reply.bin"), left);
        // The other image's acknowledgement reaches the engine before the controller's own.
        // The link goes with the attachment at the restart; the next one is the transport's own.
        QPointer<LocalLink> link = m_sim->transport().link();
        const auto deliver = link->deviceReceive;
        link->deviceReceive = [link, deliver](const QByteArray& bytes) {
            if (link && bytes.startsWith(QByteArray("\x03\x01\x01", 3)))
                link->deliverToHost(QByteArray("\x03\x01\x02\x00", 4));
            deliver(bytes);
        };
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QVERIFY(waitUntil([&] { return engine().leftUpgradeDone(); }));
        if (link)
            link->deviceReceive = deliver;
        QCOMPARE(m_toasts->texts(), QStringList { localized("DeviceCannotUpgrade") });
        QVERIFY(waitUntil([&] { return m_restarts == QList<bool> { true }; }));
        QCOMPARE(sim().leftApplicationFlash(), left);
    }

    void aWholeRunSendsBootLeftAndRightAcrossTwoRestarts()
    {
        const QByteArray boot = image(0xE800 + 200, { 4, 1 }, 6);
        const QByteArray left = image(300, { 4, 2 }, 7);
        const QByteArray right = image(250, { 4, 3 }, 8);
        const UpgradePlan::Paths paths { write(QStringLiteral("run-boot.bin"), boot),
            write(QStringLiteral("run-left.bin"), left), write(QStringLiteral("run-right.bin"), right) };
        const UpgradePlan plan = UpgradePlan::make({ true, true, true }, paths);
        const int from = sim().receivedMessages().size();
        QVERIFY(engine().sendFiles(paths.boot, paths.left, paths.right));
        QVERIFY(waitUntil([&] { return engine().rightUpgradeDone(); }));
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(m_restarts, (QList<bool> { true, true }));
        QCOMPARE(plan.restarts(), 2);
        QCOMPARE(plan.totalBytes(), qint64(200 + 300 + 250));
        int imageMessages = 0; // without the right side's resends, which a loaded machine may fire
        for (const QByteArray& m : sim().receivedMessages().mid(from))
            imageMessages += m.size() >= 2 && !(uint8_t(m[0]) == 0x20 && uint8_t(m[1]) == 0x9F)
                && !(uint8_t(m[0]) == 0x01 && uint8_t(m[1]) == 0x01);
        QVERIFY(imageMessages >= plan.totalMessages());
        QCOMPARE(sim().bootLoaderFlash(), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(sim().versionsText(), QStringLiteral("4.1-4.2-4.3"));
        QCOMPARE(m_progress.last(), 100.0);
        for (int i = 1; i < m_progress.size(); ++i)
            QVERIFY(m_progress[i] >= m_progress[i - 1] - 0.1);
    }

    // However the link cuts, glues or repeats the controller's replies, a
    // whole run lands every image byte for byte, and no left packet goes out
    // before the one before it was answered.
    void aWholeRunCompletesHoweverTheLinkHandsOverItsReplies_data()
    {
        QTest::addColumn<SimFaults>("link");
        const int all = std::numeric_limits<int>::max();
        SimFaults f;
        f.splitReplies = all;
        f.splitSize = 1;
        QTest::newRow("pieces of 1 byte") << f;
        f.splitSize = 3;
        QTest::newRow("pieces of 3 bytes") << f;
        f = SimFaults();
        f.duplicateReplies = all;
        QTest::newRow("every reply twice") << f;
        f.mergeReplies = all;
        f.mergeWindowMs = 5;
        QTest::newRow("every reply glued to its copy") << f;
        f = SimFaults();
        f.mergeReplies = all;
        f.mergeWindowMs = 5;
        QTest::newRow("every reply waits to be glued") << f;
        f = SimFaults();
        f.strayByteOnAttach = true;
        QTest::newRow("noise when the port opens") << f;
        f.splitReplies = all;
        f.splitSize = 2;
        f.duplicateReplies = all;
        f.mergeReplies = all;
        f.mergeWindowMs = 5;
        QTest::newRow("all at once, in pieces of 2") << f;
    }
    void aWholeRunCompletesHoweverTheLinkHandsOverItsReplies()
    {
        QFETCH(SimFaults, link);
        // The right side's 2-s resend stays far above a reply's pieces.
        TimeScale scale(0.1);
        const QByteArray boot = image(0xE800 + 70, { 6, 1 }, 50);
        const QByteArray left = image(100, { 6, 2 }, 51);
        const QByteArray right = image(90, { 6, 3 }, 52);
        link.restartDelayMs = 30;
        sim().faults() = link;
        // Every left packet the controller receives must follow an
        // acknowledgement it sent after the packet before: the host never
        // takes one acknowledgement (or its copy) for two packets.
        QByteArray sent;
        const auto acks
            = [&sent] { return sent.count(QByteArray("\x80\x80\x00", 3)) + sent.count(QByteArray("\x80\x82\x00", 3)); };
        qsizetype acksAtLastPacket = -1;
        bool twoInFlight = false;
        QObject watch;
        connect(&sim(), &SimulatedController::messageReceived, &watch, [&](const QByteArray& m) {
            if (!m.startsWith("\x80\x80") && !m.startsWith("\x80\x82"))
                return;
            twoInFlight = twoInFlight || acks() == acksAtLastPacket;
            acksAtLastPacket = acks();
        });
        const auto sink = sim().replySink;
        sim().replySink = [&sent, sink](const QByteArray& bytes) {
            sent += bytes;
            sink(bytes);
        };
        QVERIFY(engine().sendFiles(write(QStringLiteral("link-boot.bin"), boot),
            write(QStringLiteral("link-left.bin"), left), write(QStringLiteral("link-right.bin"), right)));
        const bool done = waitUntil([&] { return engine().rightUpgradeDone(); }, 4 * kPatienceMs);
        sim().replySink = sink;
        sim().faults() = SimFaults();
        QVERIFY(done);
        QCOMPARE(sim().bootLoaderFlash(), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(m_restarts, (QList<bool> { true, true }));
        // A left acknowledgement has no echo: a copy that arrives on its own
        // after the next packet went out cannot be told from that packet's.
        if (link.duplicateReplies == 0 || (link.mergeReplies > 0 && link.splitReplies == 0))
            QVERIFY(!twoInFlight);
    }

    // The run walks the plan made when its first image started: need flags
    // changed during the run (a release checked meanwhile, which only the
    // left side would need) alter nothing, and asking the run to go on while
    // an image is still being sent neither restarts nor skips it.
    void aRunWalksThePlanMadeAtItsStart()
    {
        const QByteArray boot = image(0xE800 + 100, { 5, 1 }, 40);
        const QByteArray left = image(120, { 5, 2 }, 41);
        const QByteArray right = image(90, { 5, 3 }, 42);
        const QString bootPath = write(QStringLiteral("plan-boot.bin"), boot);
        const QString rightPath = write(QStringLiteral("plan-right.bin"), right);
        QStringList versions = readControllerVersions().split(QLatin1Char('-'));
        QCOMPARE(versions.size(), 3);
        versions[1] = versions[1] == QStringLiteral("9.9") ? QStringLiteral("9.8") : QStringLiteral("9.9");
        ZelFirmware leftOnly;
        leftOnly.version = versions.join(QLatin1Char('-'));
        leftOnly.path = m_dir.filePath(QStringLiteral("left-only-release"));
        const int from = sim().receivedMessages().size();
        const QByteArray leftBefore = sim().leftApplicationFlash();
        QVERIFY(engine().sendFiles(bootPath, QString(), rightPath));
        const QList<UpgradePlan::Step>& steps = engine().plan().steps();
        QCOMPARE(steps.size(), 2);
        QCOMPARE(steps[0].image, UpgradePlan::Image::BootLoader);
        QVERIFY(steps[0].restartsAfter);
        QCOMPARE(steps[1].image, UpgradePlan::Image::Right);
        QVERIFY(!steps[1].restartsAfter);
        QVERIFY(!engine().planCompleted());
        engine().setSelectedFirmware(&leftOnly);
        QCOMPARE(engine().checkFirmware(), ZelFirmwareCheckNeedUpgrade);
        QVERIFY(!engine().bootNeedUpgrade() && engine().leftNeedUpgrade() && !engine().rightNeedUpgrade());
        engine().upgradeOtherSideAfterConnectingAgain();
        QCOMPARE(engine().currentImage(), UpgradePlan::Image::BootLoader);
        QVERIFY(waitUntil([&] { return engine().rightUpgradeDone(); }));
        QVERIFY(engine().planCompleted());
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(!engine().leftUpgradeDone());
        QCOMPARE(m_restarts, QList<bool> { true });
        int bootStarts = 0, leftStarts = 0;
        for (const QByteArray& m : sim().receivedMessages().mid(from)) {
            bootStarts += m == ControllerProtocol::leftStart(ControllerProtocol::kTargetBootLoader);
            leftStarts += m == ControllerProtocol::leftStart(ControllerProtocol::kTargetLeftApplication);
        }
        QCOMPARE(bootStarts, 1);
        QCOMPARE(leftStarts, 0);
        QCOMPARE(sim().bootLoaderFlash(), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(sim().leftApplicationFlash(), leftBefore);
        QCOMPARE(sim().rightFlash(), right);
        engine().setSelectedFirmware(nullptr);
    }

    void aCorruptedAcknowledgementIsIgnoredAndTheResendRecovers()
    {
        TimeScale real(1.0);
        const QByteArray bytes = image(150, { 1, 12 }, 13);
        const QString path = write(QStringLiteral("right-corrupt.bin"), bytes);
        m_beforeProgress = [this](double) {
            // Called before the next packet goes out: only packet 2's resend is short.
            MainQueue::setTimeScale(m_progress.size() == 1 ? kFast : 1.0);
            if (m_progress.size() == 1)
                sim().faults().corruptReplies = 1; // the acknowledgement of packet 2
        };
        const int from = sent(0x20, 0x90).size();
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone(), kPatienceMs);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(sent(0x20, 0x90).size() - from, 6); // five packets, one of them twice
    }

    void bootAndRightSkipTheLeftImage()
    {
        const QByteArray boot = image(0xE800 + 96, { 6, 1 }, 14);
        const QByteArray right = image(120, { 6, 3 }, 15);
        const QString bootPath = write(QStringLiteral("br-boot.bin"), boot);
        const QString rightPath = write(QStringLiteral("br-right.bin"), right);
        const UpgradePlan plan = UpgradePlan::make({ true, false, true }, { bootPath, QString(), rightPath });
        QCOMPARE(plan.skipped(), QList<UpgradePlan::Image> { UpgradePlan::Image::Left });
        QCOMPARE(plan.steps().size(), 2);
        QCOMPARE(plan.steps().at(0).bytes, qint64(96)); // the boot loader's region, not the file
        QVERIFY(plan.steps().at(0).restartsAfter);
        QVERIFY(!plan.steps().at(1).restartsAfter);
        QCOMPARE(plan.indexOf(UpgradePlan::Image::Right), 1);
        // A release not downloaded yet: its sizes, and so its totals, are unknown.
        const UpgradePlan unknown = UpgradePlan::fromFileSizes({ false, true, true }, -1, -1, 120);
        QCOMPARE(unknown.totalMessages(), -1);
        QCOMPARE(unknown.totalBytes(), qint64(-1));
        QCOMPARE(unknown.steps().at(1).messages, 1 + 4 + 2);
        const int leftStarts = sent(0x03, 0x01).size();
        QVERIFY(engine().sendFiles(bootPath, QString(), rightPath));
        QVERIFY(waitUntil([&] { return engine().rightUpgradeDone(); }));
        QCOMPARE(sent(0x03, 0x01).size() - leftStarts, 1); // the boot loader's start only
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(m_restarts, QList<bool> { true });
        // The right side's end expects no restart: a later unplug is unexpected.
        sim().unplug(30);
        QTRY_COMPARE_WITH_TIMEOUT(m_restarts, (QList<bool> { true, false }), kPatienceMs);
    }

    void aControllerThatNeverReturnsEndsTheRun()
    {
        const QString bootPath = write(QStringLiteral("gone-boot.bin"), image(0xE800 + 64, { 7, 1 }, 16));
        const QString leftPath = write(QStringLiteral("gone-left.bin"), image(64, { 7, 2 }, 17));
        sim().faults().restartDelayMs = -1;
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.restartWait = realSeconds(1.0);
            engine().setSettings(settings);
        } // the limit examined, a second long
        QVERIFY(engine().sendFiles(bootPath, leftPath, QString()));
        QVERIFY(waitUntil([&] { return engine().bootUpgradeDone(); }));
        QVERIFY(engine().isUpgradingFirmware()); // waiting for the restart
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        QCOMPARE(m_toasts->texts(), QStringList { localized("ControllerDidNotReturn") });
        QVERIFY(!engine().leftUpgradeDone());
        sim().plugIn();
    }

    void severalDeclaredProtocolsContinueOnce()
    {
        // A controller that lists a declared protocol twice comes back from
        // its restart: the run goes on once, not once per protocol.
        const QStringList declared = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        auto* transport = new SimAccessoryTransport(
            EAAccessoryManager::sharedAccessoryManager(), new SimulatedController, declared + declared);
        transport->controller()->faults().restartDelayMs = 30;
        transport->start();
        EAAccessoryPtr twoProtocols;
        QVERIFY(waitUntil([&] {
            for (const EAAccessoryPtr& a : EAAccessoryManager::sharedAccessoryManager().connectedAccessories())
                if (transport->link() && a->link() == transport->link())
                    twoProtocols = a;
            return bool(twoProtocols);
        }));
        engine().followAccessory(twoProtocols);
        QCOMPARE(engine().accessory(), twoProtocols);
        const QString left = write(QStringLiteral("twice-left.bin"), image(64, { 8, 2 }, 18));
        const QString right = write(QStringLiteral("twice-right.bin"), image(64, { 8, 3 }, 19));
        QVERIFY(engine().sendFiles(QString(), left, right));
        QVERIFY(waitUntil([&] { return engine().rightUpgradeDone(); }));
        // A second continuation would have been armed with the first, at the
        // connection, and have started the right image again by now.
        drainPostedEvents();
        int starts = 0;
        for (const QByteArray& m : transport->controller()->receivedMessages())
            starts += m == QByteArray("\x20\x9E", 2);
        QCOMPARE(starts, 1);
        QCOMPARE(transport->controller()->rightFlash(), image(64, { 8, 3 }, 19));

        delete transport;
        // Back to the shared simulated controller, once the other's departure
        // is announced (a few turns of the event loop later).
        QVERIFY(waitUntil([&] {
            const auto connected = EAAccessoryManager::sharedAccessoryManager().connectedAccessories();
            return std::find(connected.begin(), connected.end(), twoProtocols) == connected.end();
        }));
        engine().followAccessory(m_sim->waitForAccessory());
        QVERIFY(m_sim->sessionIsOpen());
    }

    void unpluggingMidTransferEndsTheRunAndNothingResumes()
    {
        const QString path = write(QStringLiteral("left-unplug.bin"), image(400, { 5, 5 }, 9));
        sim().faults().unplugAtPacket = 3;
        sim().faults().unplugReturnMs = 30;
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QTRY_COMPARE_WITH_TIMEOUT(m_restarts, QList<bool> { false }, kPatienceMs);
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(m_sim->waitForAccessory());
        const int before = sim().receivedMessages().size();
        // The engine's continuation, armed as the controller came back, has run.
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        drainPostedEvents();
        QCOMPARE(sim().receivedMessages().size(), before);
        QVERIFY(!engine().leftUpgradeDone());
    }

    // Progress values to the last bit, for images of 100 bytes (the boot
    // loader: a region of 64) and rows of the mapping table. Each value is
    // the scaled fraction rounded to single precision, times 100 in double.
    void progressFollowsTheMappingTableToTheBit_data()
    {
        QTest::addColumn<int>("image"); // 0 boot loader, 1 left, 2 right
        QTest::addColumn<bool>("boot");
        QTest::addColumn<bool>("left");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QList<double>>("progress");
        QTest::newRow("right alone") << 2 << false << false << true
                                     << QList<double> { 31.999999284744263, 63.999998569488525, 95.99999785423279,
                                            95.99999785423279, 100.0 };
        QTest::newRow("right after boot loader and left")
            << 2 << true << true << true
            << QList<double> { 72.79999852180481, 85.6000006198883, 98.39999675750732, 98.39999675750732, 100.0 };
        QTest::newRow("right after boot loader")
            << 2 << true << false << true
            << QList<double> { 52.399998903274536, 74.79999661445618, 97.2000002861023, 97.2000002861023, 100.0 };
        QTest::newRow("right after left")
            << 2 << false << true << true
            << QList<double> { 65.99999666213989, 81.99999928474426, 98.00000190734863, 98.00000190734863, 100.0 };
        QTest::newRow("left between boot loader and right")
            << 1 << true << true << true
            << QList<double> { 17.999999225139618, 25.999999046325684, 34.00000035762787, 41.999998688697815,
                   43.00000071525574, 50.999999046325684, 58.99999737739563, 67.00000166893005 };
        QTest::newRow("left before right")
            << 1 << false << true << true
            << QList<double> { 7.999999821186066, 15.999999642372131, 23.999999463558197, 31.999999284744263,
                   32.999998331069946, 40.99999964237213, 49.000000953674316, 56.99999928474426 };
        QTest::newRow("left after boot loader")
            << 1 << true << true << false
            << QList<double> { 32.8000009059906, 45.60000002384186, 58.399999141693115, 71.20000123977661,
                   72.79999852180481, 85.6000006198883, 98.39999675750732, 111.19999885559082 };
        QTest::newRow("left alone") << 1 << false << true << false
                                    << QList<double> { 15.999999642372131, 31.999999284744263, 47.999998927116394,
                                           63.999998569488525, 65.99999666213989, 81.99999928474426, 98.00000190734863,
                                           113.99999856948853 };
        QTest::newRow("boot loader before left and right")
            << 0 << true << true << true
            << QList<double> { 2.500000037252903, 5.000000074505806, 7.500000298023224, 10.000000149011612 };
        QTest::newRow("boot loader before right")
            << 0 << true << false << true
            << QList<double> { 7.500000298023224, 15.000000596046448, 22.499999403953552, 30.000001192092896 };
        QTest::newRow("boot loader alone") << 0 << true << false << false << QList<double> { 25.0, 50.0, 75.0, 100.0 };
    }

    void progressFollowsTheMappingTableToTheBit()
    {
        QFETCH(int, image);
        QFETCH(bool, boot);
        QFETCH(bool, left);
        QFETCH(bool, right);
        QFETCH(QList<double>, progress);
        // Every needed image is sent, in the controller's order; the figures
        // of the one examined are compared. The images before it are boot
        // loader or left ones, each followed by a restart; the examined one
        // runs in real time (no resend, so no report is repeated), the others
        // fast.
        const int restartsBefore = image == 0 ? 0 : image == 1 ? int(boot) : int(boot) + int(left);
        TimeScale scale(restartsBefore == 0 ? 1.0 : kFast);
        QObject scope;
        int restarts = 0;
        NotificationCenter::defaultCenter().addObserver(
            &scope, ZelGamepadDisconnectByUpgradingFirmwareNotification, [&](const Notification&) {
                ++restarts; // before the reconnection delay is armed
                if (restarts == restartsBefore || restarts == restartsBefore + 1)
                    MainQueue::setTimeScale(restarts == restartsBefore ? 1.0 : kFast);
            });
        const auto examined = UpgradePlan::Image(image);
        QList<double> figures;
        m_beforeProgress = [&](double p) {
            if (engine().currentImage() == examined)
                figures << p;
        };
        const QString bootPath = write(QStringLiteral("bits-boot.bin"), ::image(0xE800 + 64, { 9, 1 }, 31));
        const QString leftPath = write(QStringLiteral("bits-left.bin"), ::image(100, { 9, 2 }, 32));
        const QString rightPath = write(QStringLiteral("bits-right.bin"), ::image(100, { 9, 3 }, 33));
        QVERIFY(engine().sendFiles(
            boot ? bootPath : QString(), left ? leftPath : QString(), right ? rightPath : QString()));
        const bool done = waitUntil([&] { return !engine().isUpgradingFirmware(); });
        NotificationCenter::defaultCenter().removeObserver(&scope);
        m_beforeProgress = nullptr;
        QVERIFY(done);
        QVERIFY(image == 0   ? engine().bootUpgradeDone()
                : image == 1 ? engine().leftUpgradeDone()
                             : engine().rightUpgradeDone());
        QCOMPARE(engine().plan().steps().size(), int(boot) + int(left) + int(right));
        QCOMPARE(figures, progress);
    }

    // Images shorter than one packet, byte for byte as the controller receives them.
    void imagesShorterThanAPacketGoOutWithoutStartCommands_data()
    {
        QTest::addColumn<int>("image"); // 0 boot loader, 1 left, 2 right
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<QByteArray>>("messages");
        QTest::addColumn<QList<double>>("progress");
        QByteArray right;
        for (int i = 1; i <= 20; ++i)
            right.append(char(i));
        QTest::newRow("right") << 2 << right
                               << QList<QByteArray> { QByteArray::fromHex("2090140000") + right,
                                      QByteArray::fromHex("2092d200000014000000"), QByteArray::fromHex("2093") }
                               << QList<double> { 0.0, 100.0 };
        QByteArray left;
        for (int i = 0x21; i <= 0x34; ++i)
            left.append(char(i));
        QTest::newRow("left") << 1 << left
                              << QList<QByteArray> { QByteArray::fromHex("8080140000") + left,
                                     QByteArray::fromHex("8082140000") + left, QByteArray::fromHex("8083") }
                              << QList<double> { 80.0000011920929, 129.99999523162842 };
        // A short packet 0 of the boot loader takes every byte from its region, none from the file's head.
        QByteArray region;
        for (int i = 0x41; i <= 0x54; ++i)
            region.append(char(i));
        QTest::newRow("boot loader") << 0 << QByteArray(0xE800, '\xAA') + region
                                     << QList<QByteArray> { QByteArray::fromHex("8080140000") + region,
                                            QByteArray::fromHex("8082140000") + region, QByteArray::fromHex("8083") }
                                     << QList<double> { 80.0000011920929, 129.99999523162842 };
    }

    void imagesShorterThanAPacketGoOutWithoutStartCommands()
    {
        QFETCH(int, image);
        QFETCH(QByteArray, file);
        QFETCH(QList<QByteArray>, messages);
        QFETCH(QList<double>, progress);
        TimeScale real(1.0); // no resend
        const QString path = write(QStringLiteral("short.bin"), file);
        const int from = sim().receivedMessages().size();
        QVERIFY(engine().sendFiles(
            image == 0 ? path : QString(), image == 1 ? path : QString(), image == 2 ? path : QString()));
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        QVERIFY(image == 0   ? engine().bootUpgradeDone()
                : image == 1 ? engine().leftUpgradeDone()
                             : engine().rightUpgradeDone());
        QCOMPARE(sim().receivedMessages().mid(from), messages);
        const auto kind = UpgradePlan::Image(image);
        QCOMPARE(UpgradePlan::messagesFor(kind, UpgradePlan::sentBytes(kind, file.size())), messages.size());
        QCOMPARE(m_progress, progress);
        QVERIFY(m_toasts->texts().isEmpty());
        if (image == 2)
            QCOMPARE(sim().rightFlash(), file);
        if (image == 1)
            QCOMPARE(sim().leftApplicationFlash(), file);
        if (image != 2)
            QVERIFY(waitUntil([&] { return m_restarts == QList<bool> { true }; }));
    }

    void aChecksumRefusedTwiceEndsTheRunAtOnce()
    {
        const QByteArray bytes = image(100, { 1, 13 }, 22);
        const QString path = write(QStringLiteral("right-rejected.bin"), bytes);
        const QByteArray flashBefore = sim().rightFlash();
        // Packet 1 loses a payload bit on its way, every time it is sent: its
        // echo still matches, but the controller's sum does not.
        LocalLink* link = m_sim->transport().link();
        const auto deliver = link->deviceReceive;
        link->deviceReceive = [deliver](const QByteArray& bytes) {
            QByteArray damaged = bytes;
            const qsizetype at = damaged.indexOf(QByteArray("\x20\x90\x20\x20\x00", 5));
            if (at >= 0 && damaged.size() > at + 10)
                damaged[at + 10] = char(damaged[at + 10] ^ 0x01);
            deliver(damaged);
        };
        const int checksums = sent(0x20, 0x92).size();
        const int ends = sent(0x20, 0x93).size();
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        link->deviceReceive = deliver;
        // Not the silence limit: that one keeps its real ten seconds here.
        QCOMPARE(m_toasts->texts(), QStringList { localized("ChecksumRejected") });
        QCOMPARE(sent(0x20, 0x92).size() - checksums, 2); // the command and its one resend
        QCOMPARE(sent(0x20, 0x93).size(), ends);
        QVERIFY(!engine().rightUpgradeDone());
        QCOMPARE(sim().rightFlash(), flashBefore);
        QVERIFY(!m_progress.contains(100.0));
    }

    void aChecksumRefusedOnceIsSentAgainAndTheRunCompletes()
    {
        const QByteArray bytes = image(100, { 1, 14 }, 23);
        const QString path = write(QStringLiteral("right-checksum-once.bin"), bytes);
        // The first checksum command loses a bit of its sum on the way.
        LocalLink* link = m_sim->transport().link();
        const auto deliver = link->deviceReceive;
        bool damaged = false;
        link->deviceReceive = [deliver, &damaged](const QByteArray& bytes) {
            QByteArray out = bytes;
            const qsizetype at = out.indexOf(QByteArray("\x20\x92", 2));
            if (!damaged && at >= 0 && out.size() >= at + 10) {
                out[at + 2] = char(out[at + 2] ^ 0x01);
                damaged = true;
            }
            deliver(out);
        };
        const int checksums = sent(0x20, 0x92).size();
        QVERIFY(engine().sendFiles(QString(), QString(), path));
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        link->deviceReceive = deliver;
        QVERIFY(engine().rightUpgradeDone());
        QVERIFY(m_toasts->texts().isEmpty());
        QCOMPARE(sent(0x20, 0x92).size() - checksums, 2);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(m_progress.last(), 100.0);
    }

    // The controller erases its flash before it acknowledges a left-side
    // start and commits it before it acknowledges the end: those replies may
    // take longer than the packets' silence limit, but not the flash limit.
    void flashPhasesHaveTheirOwnSilenceLimit_data()
    {
        QTest::addColumn<QByteArray>("request"); // whose replies are held back
        QTest::addColumn<bool>("completes");
        QTest::newRow("start, erasing") << QByteArray("\x03\x01", 2) << true;
        QTest::newRow("end, committing") << QByteArray("\x80\x83", 2) << true;
        QTest::newRow("program packet") << QByteArray("\x80\x80", 2) << false;
    }

    void flashPhasesHaveTheirOwnSilenceLimit()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, completes);
        const QByteArray left = image(64, { 6, 6 }, 24);
        const QString path = write(QStringLiteral("left-slow-flash.bin"), left);
        {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.transferSilence = realSeconds(1.5);
            engine().setSettings(settings);
        } // the limits examined: 1.5 s and a long one
        sim().faults().requestDelayMs.insert(request, 3000);
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        QCOMPARE(engine().leftUpgradeDone(), completes);
        if (completes) {
            QVERIFY(m_toasts->texts().isEmpty());
            QVERIFY(waitUntil([&] { return m_restarts == QList<bool> { true }; }));
            QCOMPARE(sim().leftApplicationFlash(), left);
        } else {
            QCOMPARE(m_toasts->texts(), QStringList { localized("TransferStalled") });
            sim().unplug(30); // the late acknowledgement goes with the attachment
            QVERIFY(waitUntil([&] { return m_restarts == QList<bool> { false }; }));
            QVERIFY(m_sim->waitForAccessory());
            // The engine's continuation, armed as the controller came back, has set up the session.
            QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
        }
    }

    void aSilentCommitEndsTheRunAtTheFlashLimit()
    {
        const QString path = write(QStringLiteral("left-silent-commit.bin"), image(64, { 6, 7 }, 25));
        // The limit examined, short only once the erase at the start is past:
        // progress is reported from the first programmed packet on.
        m_beforeProgress = [this](double) {
            ZelFirmwareUpgradeManager::Settings settings = engine().settings();
            settings.flashSilence = realSeconds(0.5);
            engine().setSettings(settings);
        };
        sim().faults().requestDelayMs.insert(QByteArray("\x80\x83", 2), 60000);
        const int ends = sent(0x80, 0x83).size();
        QVERIFY(engine().sendFiles(QString(), path, QString()));
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }));
        QCOMPARE(sent(0x80, 0x83).size() - ends, 1);
        QCOMPARE(m_toasts->texts(), QStringList { localized("TransferStalled") });
        QVERIFY(!engine().leftUpgradeDone());
        QVERIFY(!engine().isGamepadDisconnectByUpgradingFirmware());
        sim().unplug(30); // the held acknowledgement and restart go with the attachment
        QVERIFY(waitUntil([&] { return m_restarts == QList<bool> { false }; }));
        QVERIFY(m_sim->waitForAccessory());
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kReconnectDelay));
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
