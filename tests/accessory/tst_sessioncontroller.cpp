// The accessory session's transmit and receive rules, over a real local link
// and its streams.
#include "accessory/EADSessionController.h"
#include "platform/transport/EASession.h"
#include "platform/transport/LocalLink.h"
#include "platform/runtime/NotificationCenter.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace testsupport;

namespace {
const QString kProtocol = QStringLiteral("example.q3dart.protocol");
}

class TestSessionController : public QObject {
    Q_OBJECT

    std::unique_ptr<PeerAccessory> m_device;
    LocalLink* m_link = nullptr;
    RecordingPeer* m_peer = nullptr;
    EAAccessoryPtr m_accessory;
    int m_notifications = 0;

    EADSessionController& session() { return EADSessionController::sharedController(); }
    // Opens the session and lets the events of the opening arrive first.
    bool open()
    {
        if (!session().openSession())
            return false;
        drainPostedEvents();
        return true;
    }
    QByteArray pattern(int n)
    {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b.append(char(i * 7 + 3));
        return b;
    }

private slots:
    void init()
    {
        m_device = std::make_unique<PeerAccessory>(kProtocol);
        m_link = m_device->link();
        m_peer = &m_device->peer();
        m_accessory = m_device->accessory();
        m_notifications = 0;
        NotificationCenter::defaultCenter().addObserver(
            this, EADSessionDataReceivedNotification, [this](const Notification&) { ++m_notifications; });
        session().closeSession();
        session().setupControllerForAccessory(m_accessory, kProtocol);
    }

    void cleanup()
    {
        NotificationCenter::defaultCenter().removeObserver(this);
        session().closeSession();
        session().setupControllerForAccessory(nullptr, QString());
        m_accessory.reset();
        m_peer = nullptr;
        m_link = nullptr;
        m_device.reset();
    }

    void opensOnlyForAnOfferedProtocolAndAFreeAccessory()
    {
        session().setupControllerForAccessory(m_accessory, QStringLiteral("other.protocol"));
        QVERIFY(!session().openSession());
        QVERIFY(!session().session());
        session().setupControllerForAccessory(nullptr, kProtocol);
        QVERIFY(!session().openSession());

        session().setupControllerForAccessory(m_accessory, kProtocol);
        auto elsewhere = EASession::create(m_accessory, kProtocol); // held by someone else
        QVERIFY(elsewhere);
        QVERIFY(!session().openSession());
        elsewhere.reset();
        QVERIFY(session().openSession());
        // Opening again replaces the session; bytes flow through the newest one.
        std::weak_ptr<EASession> first = session().session();
        QVERIFY(session().openSession());
        QVERIFY(first.expired());
        QVERIFY(session().session());
        session().writeData("abc");
        QTRY_COMPARE(m_peer->received, QByteArray("abc"));
    }

    void bytesWrittenBeforeOpeningGoOutAfterwardsInOrder()
    {
        session().writeData("one,");
        session().writeData("two");
        drainPostedEvents(); // the link hands bytes on through posted events
        QVERIFY(m_peer->received.isEmpty());
        QVERIFY(session().openSession());
        session().writeData(",three");
        QTRY_COMPARE(m_peer->received, QByteArray("one,two,three"));
    }

    void writeNeverDeliversInsideTheCall()
    {
        QVERIFY(open());
        session().writeData("x");
        QVERIFY(m_peer->received.isEmpty()); // a real stream delivers later
        QTRY_COMPARE(m_peer->received, QByteArray("x"));
    }

    void partlyAcceptedWritesKeepExactlyTheTailQueued()
    {
        m_link->setCapacity(10);
        QVERIFY(open());
        const QByteArray data = pattern(300);
        session().writeData(data);
        QCOMPARE(m_link->pendingToDevice(), 10);
        QTRY_COMPARE(m_peer->received, data);
    }

    void discardingTheQueueFinishesAMessageTheLinkHasBegun()
    {
        // The link takes 10 bytes of the first message; the rest waits.
        m_link->setCapacity(10);
        QVERIFY(open());
        const QByteArray first = pattern(37);
        session().writeData(first);
        session().writeData("second");
        session().writeData("third");
        QCOMPARE(m_link->pendingToDevice(), 10);
        session().discardQueuedData();
        // Only the tail of the begun message stays: the controller must never
        // read the next message as the rest of this one.
        QCOMPARE(session().queuedBytes(), quint64(first.size() - 10));
        QTRY_COMPARE(m_peer->received, first);
        session().writeData("next");
        QTRY_COMPARE(m_peer->received, first + "next");
        session().discardQueuedData(); // nothing begun: nothing kept
        QCOMPARE(session().queuedBytes(), quint64(0));
    }

    void noSpaceReturnsAtOnceAndTheBytesLeaveAtTheNextSpaceEvent()
    {
        m_link->setCapacity(0);
        QVERIFY(open());
        session().writeData("first");
        session().writeData("second");
        drainPostedEvents();
        QVERIFY(m_peer->received.isEmpty());
        m_link->setCapacity(1024);
        emit m_link->spaceAvailable();
        QTRY_COMPARE(m_peer->received, QByteArray("firstsecond"));
    }

    void aWriteErrorKeepsTheBytesQueued()
    {
        QVERIFY(open());
        m_link->setFailSends(true);
        session().writeData("kept");
        drainPostedEvents();
        QVERIFY(m_peer->received.isEmpty());
        m_link->setFailSends(false);
        session().writeData("+more");
        QTRY_COMPARE(m_peer->received, QByteArray("kept+more"));
    }

    void pendingBytesAreGatheredUnderOneNotification()
    {
        QVERIFY(open());
        m_peer->reply(pattern(300));
        QTRY_COMPARE(m_notifications, 1);
        drainPostedEvents(); // a second notification would have been posted by now
        QCOMPARE(m_notifications, 1);
        QCOMPARE(session().readBytesAvailable(), 300u);
        QCOMPARE(session().readData(128), pattern(300).left(128));
        QCOMPARE(session().readData(172), pattern(300).mid(128));
        QCOMPARE(session().readBytesAvailable(), 0u);
    }

    // A controller of its own per attachment: each keeps its own queue and
    // buffer, and each arrival's notification names the controller it came from.
    void everyAttachmentHasItsOwnSessionNamedByItsNotifications()
    {
        PeerAccessory otherDevice(kProtocol);
        RecordingPeer& otherPeer = otherDevice.peer();
        const EAAccessoryPtr otherAccessory = otherDevice.accessory();
        QList<EADSessionController*> from;
        NotificationCenter::defaultCenter().addObserver(this, EADSessionDataReceivedNotification,
            [&from](const Notification& n) { from << EADSessionController::sessionOf(n); });
        {
            EADSessionController other;
            other.setupControllerForAccessory(otherAccessory, kProtocol);
            QVERIFY(other.openSession());
            QVERIFY(open());
            other.writeData("to-other");
            session().writeData("to-shared");
            QTRY_COMPARE(otherPeer.received, QByteArray("to-other"));
            QTRY_COMPARE(m_peer->received, QByteArray("to-shared"));
            otherPeer.reply("from-other");
            QVERIFY(waitUntil([&] { return other.readBytesAvailable() == 10; }));
            QCOMPARE(from, QList<EADSessionController*> { &other });
            QCOMPARE(session().readBytesAvailable(), 0u);
            m_peer->reply("from-shared");
            QVERIFY(waitUntil([&] { return session().readBytesAvailable() == 11; }));
            QCOMPARE(from, (QList<EADSessionController*> { &other, &session() }));
            QCOMPARE(other.readData(10), QByteArray("from-other"));
            QCOMPARE(otherAccessory->delegate(), &other);
        }
        // Gone with its attachment's controller: the accessory no longer points at it.
        QCOMPARE(otherAccessory->delegate(), nullptr);
        QCOMPARE(EADSessionController::sessionOf(Notification { QStringLiteral("other"), {}, {} }), nullptr);
    }

    void aBytesEventWithNothingReadableStillNotifiesOnce()
    {
        QVERIFY(open());
        session().streamHandleEvent(session().session()->inputStream(), StreamEvent::HasBytesAvailable);
        QCOMPARE(m_notifications, 1);
        QCOMPARE(session().readBytesAvailable(), 0u);
    }

    void takingBytesReadsOnceMoreFromTheStream()
    {
        QVERIFY(open());
        m_peer->reply("0123456789");
        QTRY_COMPARE(session().readBytesAvailable(), 10u);
        // Hold the stream's events back so the next bytes wait in the stream.
        session().session()->inputStream()->removeFromRunLoop();
        m_peer->reply("abcdefghijklmnopqrst");
        QVERIFY(waitUntil([&] { return session().session()->inputStream()->hasBytesAvailable(); }));
        drainPostedEvents();
        QCOMPARE(session().readBytesAvailable(), 10u);
        QCOMPARE(session().readData(0), QByteArray(""));
        QVERIFY(!session().readData(0).isNull());
        QCOMPARE(session().readBytesAvailable(), 30u); // the extra read of the first call
        QCOMPARE(session().readData(10), QByteArray("0123456789"));
        QCOMPARE(session().readData(20), QByteArray("abcdefghijklmnopqrst"));
    }

    void closingDropsQueuedAndUnreadBytes()
    {
        QVERIFY(open());
        m_peer->reply("unread");
        QTRY_COMPARE(session().readBytesAvailable(), 6u);
        m_link->setCapacity(0);
        session().writeData("never sent");
        session().closeSession();
        QCOMPARE(session().readBytesAvailable(), 0u);
        QVERIFY(session().readData(0).isNull());
        m_link->setCapacity(1024);
        QVERIFY(session().openSession());
        session().writeData("after");
        QTRY_COMPARE(m_peer->received, QByteArray("after"));

        // Closing with nothing open only drops the buffers.
        session().closeSession();
        session().closeSession();
        QCOMPARE(session().readBytesAvailable(), 0u);
    }

    void openErrorAndEndEventsChangeNothing()
    {
        QVERIFY(session().openSession());
        m_link->setCapacity(0);
        session().writeData("queued");
        m_link->raiseError();
        drainPostedEvents();
        QCOMPARE(m_notifications, 0);
        m_link->setCapacity(1024);
        emit m_link->spaceAvailable();
        QTRY_COMPARE(m_peer->received, QByteArray("queued"));

        m_link->markDetached(); // end of stream: the session stays until closed
        drainPostedEvents();
        QVERIFY(session().session());
        QCOMPARE(m_notifications, 0);
    }
};

QTEST_GUILESS_MAIN(TestSessionController)
#include "tst_sessioncontroller.moc"
