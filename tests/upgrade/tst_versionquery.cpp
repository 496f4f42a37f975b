// The version query of the upgrade engine, through the real session and
// streams, against a scripted device at the far end of a local link.
#include "accessory/EADSessionController.h"
#include "platform/runtime/Localization.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/MainQueue.h"
#include "support/TestSupport.h"
#include "upgrade/DeviceInformation.h"
#include "upgrade/RequestChannel.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace testsupport;

namespace {

const QString kProtocol = QStringLiteral("example.q3dart.protocol");
const QByteArray kRightRequest("\x20\x9F", 2);
const QByteArray kInfoRequest("\x01\x01", 2);

// A device information reply of `size` bytes with the given bytes set.
QByteArray infoReply(int size, std::initializer_list<std::pair<int, int>> set)
{
    QByteArray reply(size, '\0');
    for (auto [index, value] : set)
        reply[index] = char(value);
    return reply;
}

const QByteArray kExampleInfo = infoReply(22, { { 11, 0x03 }, { 12, 0x02 }, { 19, 0x01 }, { 20, 0x00 } });

} // namespace

class TestVersionQuery : public QObject {
    Q_OBJECT

    std::unique_ptr<PeerAccessory> m_device;
    LocalLink* m_link = nullptr;
    RecordingPeer* m_peer = nullptr;
    EAAccessoryPtr m_accessory;
    ToastRecorder* m_toasts = nullptr;
    QByteArray m_rightReply;
    QByteArray m_infoReply;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }
    static constexpr double kTimeout = ZelFirmwareUpgradeManager::kCheckVersionTimeout;
    int timeoutMs() const { return MainQueue::scaledMilliseconds(kTimeout); }
    bool queryTimerRunning() { return engine().versionQueryPending(); }

private slots:
    void initTestCase()
    {
        // The query's 8-s timer is what these tests examine: 0.8 s, long beside
        // an exchange through the local link even on a loaded machine.
        useFastTime(0.1);
        Localization::shared().setLanguage(QStringLiteral("en"));
    }

    void init()
    {
        m_device = std::make_unique<PeerAccessory>(kProtocol);
        m_link = m_device->link();
        m_peer = &m_device->peer();
        m_accessory = m_device->accessory();
        m_rightReply = QByteArray("\x20\x9F\x01\x05", 4);
        m_infoReply = kExampleInfo;
        // The device answers each request with the reply the test chose.
        m_peer->onReceive = [this](const QByteArray& request) {
            if (request == kRightRequest && !m_rightReply.isNull())
                m_peer->reply(m_rightReply);
            else if (request == kInfoRequest && !m_infoReply.isNull())
                m_peer->reply(m_infoReply);
        };
        m_toasts = new ToastRecorder;
        EADSessionController::sharedController().setupControllerForAccessory(m_accessory, kProtocol);
        engine(); // created once: it opens the session for the configured accessory
        QVERIFY(EADSessionController::sharedController().openSession());
    }

    // A whole query answered with this right version, so that the engine
    // knows it (major.minor); whether it does. The peer's record starts afresh.
    bool knowRightVersion(int major, int minor)
    {
        const QByteArray usual = m_rightReply;
        m_rightReply = QByteArray("\x20\x9F", 2) + char(major) + char(minor);
        auto delivered = std::make_shared<bool>(false);
        engine().checkCurrentVersion([delivered](const QString&) { *delivered = true; });
        const bool known = waitUntil([&] { return *delivered; })
            && engine().rightVersion() == QStringLiteral("%1.%2").arg(major).arg(minor);
        m_rightReply = usual;
        m_peer->received.clear();
        return known;
    }

    void cleanup()
    {
        // Any running query timer ends inside its own test.
        QVERIFY(waitUntil([&] { return !queryTimerRunning(); }, timeoutMs() + kPatienceMs));
        EADSessionController::sharedController().closeSession();
        delete m_toasts;
        m_accessory.reset();
        m_peer = nullptr;
        m_link = nullptr;
        m_device.reset();
    }

    void aCompleteQueryDeliversBootLeftRight()
    {
        QStringList delivered;
        engine().checkCurrentVersion([&](const QString& v) { delivered << v; });
        QVERIFY(engine().versionQueryPending());
        QTRY_COMPARE(delivered, QStringList { QStringLiteral("1.0-2.3-1.5") });
        QCOMPARE(m_peer->received, kRightRequest + kInfoRequest);
        QVERIFY(!engine().versionQueryPending()); // stopped
        QCOMPARE(engine().rightVersion(), QStringLiteral("1.5"));
        QCOMPARE(engine().leftVersion(), QStringLiteral("2.3"));
        QCOMPARE(engine().bootVersion(), QStringLiteral("1.0"));
        QCOMPARE(engine().updateTime(), QStringLiteral("0000-00-00 00:00"));
        QVERIFY(waitForMainQueueDelay(kTimeout)); // the stopped timer would have fired by now
        QVERIFY(m_toasts->toasts().empty());
        QCOMPARE(delivered.size(), 1);
    }

    // A reply on another attachment's session answers nothing the engine
    // asked, and the engine leaves its bytes where they are.
    void aReplyOnAnotherSessionAnswersNothing()
    {
        PeerAccessory otherDevice(kProtocol);
        RecordingPeer& otherPeer = otherDevice.peer();
        const EAAccessoryPtr otherAccessory = otherDevice.accessory();
        EADSessionController other;
        other.setupControllerForAccessory(otherAccessory, kProtocol);
        QVERIFY(other.openSession());
        QVERIFY(knowRightVersion(1, 2));
        const QByteArray rightReply = QByteArray("\x20\x9F\x01\x05", 4);
        m_rightReply = QByteArray(); // the controller the engine follows stays silent
        QStringList delivered;
        engine().checkCurrentVersion([&](const QString& v) { delivered << v; });
        QTRY_COMPARE(m_peer->received, kRightRequest);
        otherPeer.reply(QByteArray("\x20\x9F\x03\x07", 4));
        QVERIFY(waitUntil([&] { return other.readBytesAvailable() == 4; }));
        drainPostedEvents();
        QCOMPARE(m_peer->received, kRightRequest); // no device information request followed
        QCOMPARE(engine().rightVersion(), QStringLiteral("1.2"));
        QCOMPARE(other.readBytesAvailable(), 4u);
        // The followed controller's own answer still completes the query.
        m_peer->reply(rightReply);
        QTRY_COMPARE(delivered, QStringList { QStringLiteral("1.0-2.3-1.5") });
        other.closeSession();
    }

    void theDeviceInformationReplyFillsTheRecord()
    {
        // 30 bytes are accepted: bytes 22-29 are ignored.
        m_infoReply = infoReply(30,
            { { 0, 0x12 }, { 1, 0x34 }, { 2, 0x56 }, { 3, 0x78 }, { 4, 0x9A }, { 5, 0xBC }, { 6, 7 }, { 7, 2 },
                { 8, 1 }, { 9, 3 }, { 11, 7 }, { 12, 2 }, { 13, 0xE5 }, { 14, 0x07 }, { 15, 3 }, { 16, 9 }, { 17, 5 },
                { 18, 1 }, { 19, 1 }, { 20, 5 }, { 25, 0xFF } });
        QString delivered;
        engine().checkCurrentVersion([&](const QString& v) { delivered = v; });
        QTRY_COMPARE(delivered, QStringLiteral("1.5-2.7-1.5"));
        QCOMPARE(engine().macAddressWithoutColon(), QStringLiteral("123456789ABC"));
        QCOMPARE(engine().hardwareVersion(), QStringLiteral("2.07"));
        QCOMPARE(engine().softwareVersion(), QStringLiteral("2.7"));
        QCOMPARE(engine().bluetoothVersion(), QStringLiteral("3.01"));
        QCOMPARE(engine().gcmVersion(), QStringLiteral("1.05"));
        QCOMPARE(engine().bootVer(), QStringLiteral("1.5"));
        QCOMPARE(engine().productDateString(), QStringLiteral("20210309"));
        QCOMPARE(engine().updateTime(), QStringLiteral("2021-03-09 00:00"));
    }

    void aShortDeviceInformationReplyChangesNothingAndThePromptAppears()
    {
        QString first;
        engine().checkCurrentVersion([&](const QString& v) { first = v; });
        QTRY_COMPARE(first, QStringLiteral("1.0-2.3-1.5"));
        m_peer->received.clear();
        m_infoReply = infoReply(21, { { 11, 9 }, { 12, 9 } });
        bool delivered = false;
        engine().checkCurrentVersion([&](const QString&) { delivered = true; });
        QTRY_COMPARE(m_peer->received, kRightRequest + kInfoRequest);
        drainPostedEvents(); // the short reply has reached the engine
        QCOMPARE(engine().softwareVersion(), QStringLiteral("2.3"));
        QTRY_COMPARE(m_toasts->toasts().size(), size_t(1));
        QCOMPARE(m_toasts->toasts().front().text, localized("UnplugDevicePrompt"));
        QVERIFY(!m_toasts->toasts().front().text.isEmpty());
        QCOMPARE(m_toasts->toasts().front().seconds, 4.0);
        QVERIFY(!delivered);
    }

    void aLateReplyStillCompletesTheQueryAfterThePrompt()
    {
        m_infoReply = QByteArray(); // silent at first
        QString delivered;
        engine().checkCurrentVersion([&](const QString& v) { delivered = v; });
        QTRY_COMPARE(m_toasts->toasts().size(), size_t(1));
        m_peer->reply(kExampleInfo);
        QTRY_COMPARE(delivered, QStringLiteral("1.0-2.3-1.5"));
    }

    void aShortRightReplyIsIgnored()
    {
        QVERIFY(knowRightVersion(7, 7));
        m_rightReply = QByteArray("\x20\x9F\x01", 3);
        bool delivered = false;
        engine().checkCurrentVersion([&](const QString&) { delivered = true; });
        QTRY_COMPARE(m_toasts->toasts().size(), size_t(1));
        QCOMPARE(m_peer->received, kRightRequest); // the left request was never sent
        QCOMPARE(engine().rightVersion(), QStringLiteral("7.7"));
        QVERIFY(!delivered);
    }

    void aSecondQueryRestartsTheTimerAndOwnsTheReply()
    {
        m_rightReply = QByteArray(); // silent until told
        QStringList first, second;
        QObject scope; // the marks below go with the test
        bool laterInFirst = false, pastFirst = false;
        engine().checkCurrentVersion([&](const QString& v) { first << v; });
        MainQueue::dispatchAfter(
            kTimeout * 0.6, [&] { laterInFirst = true; }, &scope);
        MainQueue::dispatchAfter(
            kTimeout * 1.2, [&] { pastFirst = true; }, &scope);
        QVERIFY(waitUntil([&] { return laterInFirst; }));
        engine().checkCurrentVersion([&](const QString& v) { second << v; });
        // 1.2 timeouts after the first query, less than one after the second.
        QVERIFY(waitUntil([&] { return pastFirst; }));
        QVERIFY(m_toasts->toasts().empty());
        QTRY_COMPARE(m_toasts->toasts().size(), size_t(1));
        m_peer->reply(QByteArray("\x20\x9F\x01\x05", 4));
        QTRY_COMPARE(second, QStringList { QStringLiteral("1.0-2.3-1.5") });
        QVERIFY(first.isEmpty());
    }

    void aLeftQueryAloneFillsTheRecordButDeliversNothing()
    {
        m_infoReply = infoReply(22, { { 11, 4 }, { 12, 3 }, { 19, 2 }, { 20, 1 } });
        QVERIFY(!queryTimerRunning());
        engine().checkLeftSideVersion();
        QTRY_COMPARE(engine().leftVersion(), QStringLiteral("3.4"));
        QCOMPARE(engine().bootVersion(), QStringLiteral("2.1"));
        QVERIFY(!queryTimerRunning()); // none armed
        QVERIFY(waitForMainQueueDelay(kTimeout)); // a timer armed by the query would have fired
        QVERIFY(m_toasts->toasts().empty());

        // With a right version known, a left query alone delivers.
        QVERIFY(knowRightVersion(1, 9));
        QString delivered;
        engine().checkVersionWithSide(2, [&](const QString& v) { delivered = v; });
        QTRY_COMPARE(delivered, QStringLiteral("2.1-3.4-1.9"));
    }

    // The peer's replies cut into pieces of every size, glued to a copy, and
    // behind noise: each query reads the record whole and delivers once.
    void repliesInPiecesGluedOrBehindNoiseAreReadWhole_data()
    {
        QTest::addColumn<int>("piece");
        QTest::addColumn<QByteArray>("noise");
        QTest::addColumn<bool>("twice");
        QTest::newRow("1-byte pieces") << 1 << QByteArray() << false;
        QTest::newRow("3-byte pieces") << 3 << QByteArray() << false;
        QTest::newRow("each reply glued to its copy") << 64 << QByteArray() << true;
        QTest::newRow("copies in 5-byte pieces") << 5 << QByteArray() << true;
        QTest::newRow("noise before the version, 1-byte pieces") << 1 << QByteArray("\xff\x20\x00", 3) << false;
    }
    void repliesInPiecesGluedOrBehindNoiseAreReadWhole()
    {
        QFETCH(int, piece);
        QFETCH(QByteArray, noise);
        QFETCH(bool, twice);
        const QByteArray record
            = infoReply(30, { { 0, 0xAB }, { 11, 0x03 }, { 12, 0x02 }, { 19, 0x01 }, { 29, 0x77 } });
        m_peer->onReceive = [&](const QByteArray& request) {
            QByteArray reply = request == kRightRequest ? noise + m_rightReply : record;
            if (twice)
                reply += reply;
            for (qsizetype from = 0; from < reply.size(); from += piece)
                m_peer->reply(reply.mid(from, piece));
        };
        QStringList delivered;
        engine().checkCurrentVersion([&](const QString& v) { delivered << v; });
        QTRY_COMPARE(delivered, QStringList { QStringLiteral("1.0-2.3-1.5") });
        QCOMPARE(engine().macAddressWithoutColon(), QStringLiteral("AB0000000000"));
        QCOMPARE(m_peer->received, kRightRequest + kInfoRequest);
        QVERIFY(waitForMainQueueDelay(kTimeout)); // the copies, the tails: nothing more is asked or delivered
        QCOMPARE(delivered.size(), 1);
        QCOMPARE(m_peer->received, kRightRequest + kInfoRequest);
        QVERIFY(m_toasts->toasts().empty());
    }

    // A reply's first bytes stay in the receive buffer when the session is
    // opened again on the same attachment, and never join the bytes of
    // another attachment.
    void theReceiveBufferBelongsToItsAttachment()
    {
        m_rightReply = QByteArray();
        m_infoReply = QByteArray();
        EADSessionController& session = EADSessionController::sharedController();
        engine().checkRightSideVersion();
        QTRY_COMPARE(m_peer->received, kRightRequest);
        m_peer->reply(QByteArray("\x20\x9F\x03", 3));
        drainPostedEvents();
        QVERIFY(session.openSession()); // the same attachment again
        m_peer->reply(QByteArray("\x04", 1));
        QTRY_COMPARE(engine().rightVersion(), QStringLiteral("3.4"));

        engine().checkRightSideVersion();
        m_peer->reply(QByteArray("\x20\x9F\x01", 3)); // cut off by the attachment's end
        drainPostedEvents();
        PeerAccessory another(kProtocol);
        session.setupControllerForAccessory(another.accessory(), kProtocol);
        QVERIFY(session.openSession());
        another.peer().reply(QByteArray("\x07\x20\x9F\x02\x06", 5));
        QTRY_COMPARE(engine().rightVersion(), QStringLiteral("2.6"));
        session.setupControllerForAccessory(m_accessory, kProtocol);
        QVERIFY(session.openSession());
    }

    // The channel hands a reply to whoever asked the request in flight,
    // while it lives and until it takes its answer; the last request
    // written is the one in flight.
    void aReplyReachesOnlyTheLiveAskerOfTheRequestInFlight()
    {
        RequestChannel& channel = engine().requests();
        m_rightReply = QByteArray();
        m_infoReply = QByteArray();
        QList<QByteArray> first, second;

        // Dropped before its reply: the reply, and a copy, reach no one.
        auto dropped = std::make_unique<RequestChannel::Asker>(channel);
        dropped->send(kRightRequest, [&](const QByteArray& r) { first << r; });
        QTRY_COMPARE(m_peer->received, kRightRequest);
        dropped.reset();
        m_peer->reply(QByteArray("\x20\x9F\x01\x05\x20\x9F\x01\x05", 8));
        drainPostedEvents();
        QVERIFY(first.isEmpty());

        // Answered: a copy after the answer reaches no one either.
        RequestChannel::Asker asker(channel);
        asker.send(kRightRequest, [&](const QByteArray& r) {
            first << r;
            asker.answered();
        });
        QTRY_COMPARE(m_peer->received, kRightRequest + kRightRequest);
        m_peer->reply(QByteArray("\x20\x9F\x01\x06\x20\x9F\x01\x06", 8));
        QTRY_COMPARE(first.size(), 1);
        drainPostedEvents();
        QCOMPARE(first, QList<QByteArray> { QByteArray("\x20\x9F\x01\x06", 4) });

        // A later request of another asker takes the replies from then on.
        asker.send(kRightRequest, [&](const QByteArray& r) { first << r; });
        RequestChannel::Asker other(channel);
        other.send(kInfoRequest, [&](const QByteArray& r) { second << r; });
        QTRY_COMPARE(m_peer->received.size(), 8);
        m_peer->reply(kExampleInfo);
        QTRY_COMPARE(second.size(), 1);
        QCOMPARE(first.size(), 1);
    }

    void garbageRepliesNeverCrashOrDeliverNonsense()
    {
        m_rightReply = QByteArray();
        m_infoReply = QByteArray();
        QStringList delivered;
        engine().checkCurrentVersion([&](const QString& v) { delivered << v; });
        QRandomGenerator random(7);
        for (int i = 0; i < 300; ++i) {
            QByteArray chunk(int(random.bounded(0, 200)), '\0');
            for (char& c : chunk)
                c = char(random.bounded(256));
            if (i % 50 == 0)
                chunk = QByteArray(); // empty chunk
            m_peer->reply(chunk);
        }
        QVERIFY(waitForMainQueueDelay(kTimeout)); // every chunk read, and the query's timer over
        // Whatever was delivered is boot-left-right of three major.minor texts.
        const QRegularExpression form(QStringLiteral("^\\d+\\.\\d+-\\d+\\.\\d+-\\d+\\.\\d+$"));
        for (const QString& v : delivered)
            QVERIFY2(form.match(v).hasMatch(), qPrintable(v));
    }
};

QTEST_GUILESS_MAIN(TestVersionQuery)
#include "tst_versionquery.moc"
