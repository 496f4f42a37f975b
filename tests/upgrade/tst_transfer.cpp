// Image transfers and the run across restarts, against the simulated
// controller through the real session, streams and notifications.
#include "accessory/EADSessionController.h"
#include "platform/EAAccessoryManager.h"
#include "platform/InfoDictionary.h"
#include "platform/LocalLink.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/TransferState.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

namespace {

QByteArray image(int size, SimVersion version, int seed)
{
    QByteArray out;
    for (int i = 0; i < size - SimulatedController::kTrailerSize; ++i)
        out.append(char((i * 31 + seed) & 0xFF));
    return out + SimulatedController::versionTrailer(version);
}

const QString kRefused = QString::fromUtf8("\u8BBE\u5907\u4E0D\u53EF\u5347\u7EA7");

} // namespace

class TestTransfer : public QObject {
    Q_OBJECT

    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    QTemporaryDir m_dir;
    QList<double> m_progress;
    QList<bool> m_restarts;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }
    SimulatedController& sim() { return m_sim->controller(); }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    void needs(bool boot, bool left, bool right)
    {
        engine().bootNeedUpgrade = boot;
        engine().leftNeedUpgrade = left;
        engine().rightNeedUpgrade = right;
    }

    QList<QByteArray> sent(uint8_t c1, uint8_t c2)
    {
        QList<QByteArray> out;
        for (const QByteArray& m : sim().receivedMessages())
            if (m.size() >= 2 && uint8_t(m[0]) == c1 && uint8_t(m[1]) == c2)
                out << m;
        return out;
    }

private slots:
    void initTestCase()
    {
        useFastTime(0.01);
        Localization::shared().setLanguage(QStringLiteral("en"));
        m_sim = new SimulatedAttachment;
        QVERIFY(m_sim->configureSession());
        engine().upgradeProgressBlock = [this](double p) { m_progress << p; };
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
        engine().bootUpgradeDone = engine().leftUpgradeDone = engine().rightUpgradeDone = false;
        engine().isGamepadDisconnectByUpgradingFirmware = false;
        QTRY_VERIFY(m_sim->waitForAccessory());
    }

    void cleanup()
    {
        QTRY_VERIFY(!engine().isUpgradingFirmware);
        QTRY_VERIFY(m_sim->waitForAccessory());
        spin(60); // let the reconnection settle into the session
        delete m_toasts;
    }

    void progressFollowsTheMappingTable()
    {
        using I = TransferState::Image;
        const float g = 0.5f;
        struct Row { I image; bool boot, left, right; float expected; };
        const Row rows[] = {
            {I::BootLoader, true, true, true, 0.1f * g}, {I::BootLoader, true, true, false, 0.2f * g},
            {I::BootLoader, true, false, true, 0.3f * g}, {I::BootLoader, true, false, false, g},
            {I::Left, true, true, true, 0.1f + 0.5f * g}, {I::Left, false, true, true, 0.5f * g},
            {I::Left, true, true, false, 0.2f + 0.8f * g}, {I::Left, false, true, false, g},
            {I::Right, true, true, true, 0.6f + 0.4f * g}, {I::Right, true, false, true, 0.3f + 0.7f * g},
            {I::Right, false, true, true, 0.5f + 0.5f * g}, {I::Right, false, false, true, g},
        };
        for (const Row& r : rows)
            QCOMPARE(float(TransferState::progressPercent(r.image, g, r.boot, r.left, r.right) / 100.0), r.expected);
    }

    void aRightImageGoesOutInEchoedPackets()
    {
        const QByteArray bytes = image(100, {1, 9}, 1);
        engine().rightFilePath = write(QStringLiteral("right100.bin"), bytes);
        needs(false, false, true);
        engine().upgradeRightSide();
        QTRY_VERIFY(engine().rightUpgradeDone);
        QVERIFY(!engine().isUpgradingFirmware);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(sim().rightVersion(), (SimVersion{1, 9}));
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
        QTest::newRow("20 bytes") << 20 << QList<int>{20} << QList<double>{0.0, 100.0};
        QTest::newRow("32 bytes") << 32 << QList<int>{32} << QList<double>{100.0, 100.0};
        QTest::newRow("64 bytes") << 64 << QList<int>{32, 32} << QList<double>{50.0, 100.0, 100.0};
    }

    void shortAndExactRightImages()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, lengths);
        QFETCH(QList<double>, progress);
        const QByteArray bytes = image(size, {1, quint8(size)}, size);
        engine().rightFilePath = write(QStringLiteral("right-edge.bin"), bytes);
        needs(false, false, true);
        const int from = sim().receivedMessages().size();
        engine().upgradeRightSide();
        QTRY_VERIFY(engine().rightUpgradeDone);
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
        QCOMPARE(commands.first(), uint8_t(0x9E)); // announced by the start command
        QCOMPARE(commands.mid(commands.size() - 2), (QList<uint8_t>{0x92, 0x93}));
        QCOMPARE(m_progress, progress);
    }

    void aFortyByteLeftImageEndsInShortPackets()
    {
        const QByteArray left = image(40, {2, 4}, 40);
        engine().leftFilePath = write(QStringLiteral("left40.bin"), left);
        needs(false, true, false);
        const int from = sim().receivedMessages().size();
        engine().upgradeLeftSide();
        QTRY_VERIFY(engine().leftUpgradeDone);
        QList<QByteArray> heads;
        for (const QByteArray& m : sim().receivedMessages().mid(from))
            heads << m.left(5);
        const QList<QByteArray> expected{
            bytes({0x03, 0x01, 0x01}), bytes({0x80, 0x81, 0x28, 0x00}),
            bytes({0x80, 0x80, 0x20, 0x00, 0x00}), bytes({0x80, 0x80, 0x08, 0x20, 0x00}),
            bytes({0x80, 0x82, 0x20, 0x00, 0x00}), bytes({0x80, 0x82, 0x08, 0x20, 0x00}),
            bytes({0x80, 0x83})};
        QCOMPARE(heads, expected);
        QTRY_COMPARE(m_restarts, QList<bool>{true});
        QCOMPARE(sim().leftApplicationFlash(), left);
    }

    void duplicatedRightAcknowledgementsNeverSkipAPacket()
    {
        const QByteArray bytes = image(200, {1, 11}, 11);
        engine().rightFilePath = write(QStringLiteral("right-dup.bin"), bytes);
        needs(false, false, true);
        sim().faults().duplicateReplies = 1000;
        engine().upgradeRightSide();
        QTRY_VERIFY(engine().rightUpgradeDone);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(m_progress.last(), 100.0);
    }

    void duplicatedLeftAcknowledgementsStillLandTheExactImage()
    {
        // Left acknowledgements carry no offset, so a duplicate is taken for the
        // next packet's; every packet has been written by then and the stream
        // keeps their order, so the controller still receives the whole image.
        const QByteArray left = image(200, {2, 9}, 12);
        engine().leftFilePath = write(QStringLiteral("left-dup.bin"), left);
        needs(false, true, false);
        sim().faults().duplicateReplies = 1000;
        engine().upgradeLeftSide();
        QTRY_VERIFY(!engine().isUpgradingFirmware);
        QVERIFY(engine().leftUpgradeDone);
        QTRY_COMPARE(m_restarts, QList<bool>{true});
        QCOMPARE(sim().leftApplicationFlash(), left);
    }

    void aForeignAccessoryNeitherContinuesNorTakesTheSession()
    {
        LocalLink link;
        const EAAccessoryPtr foreign = EAAccessory::create({QStringLiteral("other.vendor.protocol")}, &link);
        const EAAccessoryPtr own = engine().accessory;
        QVERIFY(own);
        engine().isGamepadDisconnectByUpgradingFirmware = true;
        EAAccessoryManager::sharedAccessoryManager().attachAccessory(foreign);
        QVERIFY(!engine().isGamepadDisconnectByUpgradingFirmware); // cleared by any connection
        QCOMPARE(engine().accessory, own);

        // Its disconnection is announced (unexpected) but leaves our accessory and session.
        engine().isUpgradingFirmware = true;
        EAAccessoryManager::sharedAccessoryManager().detachAccessory(foreign);
        QCOMPARE(m_restarts, QList<bool>{false});
        QVERIFY(!engine().isUpgradingFirmware);
        QCOMPARE(engine().accessory, own);
        QVERIFY(EADSessionController::sharedController().session());
        spin(MainQueue::scaledMilliseconds(ZelFirmwareUpgradeManager::kReconnectDelay) + 30);
    }

    void aDroppedAcknowledgementIsResentOnceAndNeverTwice()
    {
        const QByteArray bytes = image(100, {1, 10}, 2);
        engine().rightFilePath = write(QStringLiteral("right-resend.bin"), bytes);
        needs(false, false, true);
        engine().upgradeProgressBlock = [this](double p) {
            if (m_progress.isEmpty())
                sim().faults().dropReplies = 1; // the acknowledgement of packet 1
            m_progress << p;
        };
        const int earlier = sent(0x20, 0x90).size();
        engine().upgradeRightSide();
        QTRY_VERIFY(engine().rightUpgradeDone);
        QCOMPARE(sim().rightFlash(), bytes);
        int offset32 = 0;
        for (const QByteArray& m : sent(0x20, 0x90).mid(earlier))
            offset32 += m.mid(3, 2) == QByteArray("\x20\x00", 2);
        QCOMPARE(offset32, 2);

        // Two lost acknowledgements: one resend, then the run ends as stalled.
        engine().rightUpgradeDone = false;
        engine().transferSilenceLimit = 5.0;
        m_progress.clear();
        engine().upgradeProgressBlock = [this](double p) {
            if (m_progress.isEmpty())
                sim().faults().dropReplies = 2;
            m_progress << p;
        };
        const int before = sent(0x20, 0x90).size();
        engine().upgradeRightSide();
        QTRY_VERIFY(!engine().isUpgradingFirmware);
        QVERIFY(!engine().rightUpgradeDone);
        QCOMPARE(m_toasts->texts(), QStringList{localized("TransferStalled")});
        QCOMPARE(sent(0x20, 0x90).size() - before, 3); // packet 0, packet 1 and its one resend
        engine().transferSilenceLimit = ZelFirmwareUpgradeManager::kDefaultTransferSilence;
        engine().upgradeProgressBlock = [this](double p) { m_progress << p; };
    }

    void aLeftImageIsProgrammedVerifiedAndRestarts()
    {
        const QByteArray bytes = image(100, {2, 8}, 3);
        engine().leftFilePath = write(QStringLiteral("left100.bin"), bytes);
        needs(false, true, false);
        const int verifiesBefore = sent(0x80, 0x82).size();
        engine().upgradeLeftSide();
        QTRY_VERIFY(engine().leftUpgradeDone);
        QVERIFY(!engine().isUpgradingFirmware);
        QCOMPARE(sent(0x80, 0x81).last(), QByteArray("\x80\x81\x64\x00", 4));
        QCOMPARE(sent(0x80, 0x82).size() - verifiesBefore, 4);
        QTRY_COMPARE(m_restarts, QList<bool>{true}); // the expected restart
        QCOMPARE(sim().leftApplicationFlash(), bytes);
        QCOMPARE(sim().leftVersion(), (SimVersion{2, 8}));
    }

    void theBootLoaderSkipsItsFirstRegionButSendsTheFileHead()
    {
        QByteArray file = image(0xE800 + 64, {3, 1}, 4);
        const QString path = write(QStringLiteral("boot.bin"), file);
        engine().bootFilePath = path;
        needs(true, false, false);
        engine().upgradeBoot();
        QTRY_VERIFY(engine().bootUpgradeDone);
        QCOMPARE(sent(0x03, 0x01).last(), QByteArray("\x03\x01\x02", 3));
        QCOMPARE(sent(0x80, 0x81).last(), QByteArray("\x80\x81\x40\x00", 4));
        const QByteArray expected = file.left(4) + file.mid(0xE804);
        QTRY_COMPARE(sim().bootLoaderFlash(), expected);
    }

    void refusedImagesSendNothing_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("boot");
        QTest::newRow("empty left") << 0 << false;
        QTest::newRow("boot loader without region") << 0xE800 << true;
        QTest::newRow("left of 64 KiB") << 65536 << false;
        QTest::newRow("missing file") << -1 << false;
    }

    void refusedImagesSendNothing()
    {
        QFETCH(int, size);
        QFETCH(bool, boot);
        const QString path = size < 0 ? m_dir.filePath(QStringLiteral("missing.bin"))
                                      : write(QStringLiteral("bad.bin"), QByteArray(size, 'x'));
        (boot ? engine().bootFilePath : engine().leftFilePath) = path;
        needs(boot, !boot, false);
        const int before = sim().receivedMessages().size();
        boot ? engine().upgradeBoot() : engine().upgradeLeftSide();
        QVERIFY(!engine().isUpgradingFirmware);
        QCOMPARE(m_toasts->texts(), QStringList{localized("FirmwareIsInvalid")});
        spin(50);
        QCOMPARE(sim().receivedMessages().size(), before);
    }

    void aRefusedStartEndsTheRun()
    {
        engine().leftFilePath = write(QStringLiteral("left-refused.bin"), image(100, {2, 2}, 5));
        needs(false, true, false);
        sim().faults().refuseStart = true;
        const int lengthCommands = sent(0x80, 0x81).size();
        engine().upgradeLeftSide();
        QTRY_COMPARE(m_toasts->texts(), QStringList{kRefused});
        QVERIFY(!engine().isUpgradingFirmware);
        spin(50);
        QCOMPARE(sent(0x80, 0x81).size(), lengthCommands); // nothing after the refusal
    }

    void aWholeRunSendsBootLeftAndRightAcrossTwoRestarts()
    {
        const QByteArray boot = image(0xE800 + 200, {4, 1}, 6);
        const QByteArray left = image(300, {4, 2}, 7);
        const QByteArray right = image(250, {4, 3}, 8);
        engine().bootFilePath = write(QStringLiteral("run-boot.bin"), boot);
        engine().leftFilePath = write(QStringLiteral("run-left.bin"), left);
        engine().rightFilePath = write(QStringLiteral("run-right.bin"), right);
        needs(true, true, true);
        engine().upgradeBoot();
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone, 10000);
        QVERIFY(!engine().isUpgradingFirmware);
        QCOMPARE(m_restarts, (QList<bool>{true, true}));
        QCOMPARE(sim().bootLoaderFlash(), boot.left(4) + boot.mid(0xE804));
        QCOMPARE(sim().leftApplicationFlash(), left);
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(sim().versionsText(), QStringLiteral("4.1-4.2-4.3"));
        QCOMPARE(m_progress.last(), 100.0);
        for (int i = 1; i < m_progress.size(); ++i)
            QVERIFY(m_progress[i] >= m_progress[i - 1] - 0.1);
    }

    void aCorruptedAcknowledgementIsIgnoredAndTheResendRecovers()
    {
        const QByteArray bytes = image(150, {1, 12}, 13);
        engine().rightFilePath = write(QStringLiteral("right-corrupt.bin"), bytes);
        needs(false, false, true);
        engine().upgradeProgressBlock = [this](double p) {
            if (m_progress.size() == 1)
                sim().faults().corruptReplies = 1; // the acknowledgement of packet 2
            m_progress << p;
        };
        const int from = sent(0x20, 0x90).size();
        engine().upgradeRightSide();
        QTRY_VERIFY(engine().rightUpgradeDone);
        QCOMPARE(sim().rightFlash(), bytes);
        QCOMPARE(sent(0x20, 0x90).size() - from, 6); // five packets, one of them twice
        engine().upgradeProgressBlock = [this](double p) { m_progress << p; };
    }

    void bootAndRightSkipTheLeftImage()
    {
        const QByteArray boot = image(0xE800 + 96, {6, 1}, 14);
        const QByteArray right = image(120, {6, 3}, 15);
        engine().bootFilePath = write(QStringLiteral("br-boot.bin"), boot);
        engine().rightFilePath = write(QStringLiteral("br-right.bin"), right);
        needs(true, false, true);
        const int leftStarts = sent(0x03, 0x01).size();
        engine().upgradeBoot();
        QTRY_VERIFY_WITH_TIMEOUT(engine().rightUpgradeDone, 5000);
        QCOMPARE(sent(0x03, 0x01).size() - leftStarts, 1); // the boot loader's start only
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(m_restarts, QList<bool>{true});
        // The right side's end expects no restart: a later unplug is unexpected.
        sim().unplug(30);
        QTRY_COMPARE(m_restarts, (QList<bool>{true, false}));
    }

    void aControllerThatNeverReturnsEndsTheRun()
    {
        engine().bootFilePath = write(QStringLiteral("gone-boot.bin"), image(0xE800 + 64, {7, 1}, 16));
        engine().leftFilePath = write(QStringLiteral("gone-left.bin"), image(64, {7, 2}, 17));
        needs(true, true, false);
        sim().faults().restartDelayMs = -1;
        engine().restartWaitLimit = 20.0;
        engine().upgradeBoot();
        QTRY_VERIFY(engine().bootUpgradeDone);
        QVERIFY(engine().isUpgradingFirmware); // waiting for the restart
        QTRY_VERIFY(!engine().isUpgradingFirmware);
        QCOMPARE(m_toasts->texts(), QStringList{localized("ControllerDidNotReturn")});
        QVERIFY(!engine().leftUpgradeDone);
        engine().restartWaitLimit = ZelFirmwareUpgradeManager::kDefaultRestartWait;
        sim().plugIn();
    }

    void severalDeclaredProtocolsContinueOnce()
    {
        // A controller offering two declared protocols comes back from its
        // restart: the run goes on once, not once per protocol.
        const QStringList declared = engine().supportedProtocols;
        engine().supportedProtocols = declared + QStringList{QStringLiteral("second.declared")};
        auto* transport = new SimAccessoryTransport(new SimulatedController, engine().supportedProtocols);
        transport->controller()->faults().restartDelayMs = 30;
        transport->start();
        EAAccessoryPtr twoProtocols;
        QVERIFY(waitUntil([&] {
            for (const EAAccessoryPtr& a : EAAccessoryManager::sharedAccessoryManager().connectedAccessories())
                if (transport->link() && a->link() == transport->link())
                    twoProtocols = a;
            return bool(twoProtocols);
        }));
        EADSessionController::sharedController().setupControllerForAccessory(twoProtocols, declared.value(0));
        EADSessionController::sharedController().openSession();
        engine().accessory = twoProtocols;
        engine().leftFilePath = write(QStringLiteral("twice-left.bin"), image(64, {8, 2}, 18));
        engine().rightFilePath = write(QStringLiteral("twice-right.bin"), image(64, {8, 3}, 19));
        needs(false, true, true);
        engine().upgradeLeftSide();
        QVERIFY(waitUntil([&] { return engine().rightUpgradeDone; }));
        spin(MainQueue::scaledMilliseconds(ZelFirmwareUpgradeManager::kReconnectDelay) + 50);
        int starts = 0;
        for (const QByteArray& m : transport->controller()->receivedMessages())
            starts += m == QByteArray("\x20\x9E", 2);
        QCOMPARE(starts, 1);
        QCOMPARE(transport->controller()->rightFlash(), image(64, {8, 3}, 19));

        engine().supportedProtocols = declared;
        delete transport;
        // Back to the shared simulated controller.
        EADSessionController::sharedController().setupControllerForAccessory(m_sim->waitForAccessory(), declared.value(0));
        EADSessionController::sharedController().openSession();
        engine().accessory = m_sim->waitForAccessory();
    }

    void unpluggingMidTransferEndsTheRunAndNothingResumes()
    {
        engine().leftFilePath = write(QStringLiteral("left-unplug.bin"), image(400, {5, 5}, 9));
        needs(false, true, false);
        sim().faults().unplugAtPacket = 3;
        sim().faults().unplugReturnMs = 30;
        engine().upgradeLeftSide();
        QTRY_COMPARE(m_restarts, QList<bool>{false});
        QVERIFY(!engine().isUpgradingFirmware);
        QTRY_VERIFY(m_sim->waitForAccessory());
        const int before = sim().receivedMessages().size();
        spin(MainQueue::scaledMilliseconds(ZelFirmwareUpgradeManager::kReconnectDelay) + 50);
        QCOMPARE(sim().receivedMessages().size(), before);
        QVERIFY(!engine().leftUpgradeDone);
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
