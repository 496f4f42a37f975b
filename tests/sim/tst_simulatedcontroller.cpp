#include "sim/RecordedController.h"
#include "sim/SimulatedController.h"
#include "support/TestSupport.h"
#include "upgrade/ControllerProtocol.h"

#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// The device information reply of a controller at 1.0-2.3-1.5.
QByteArray deviceInformationReply()
{
    return hex("123456789abc"
               "0501"
               "0102"
               "00"
               "0302"
               "e507"
               "03"
               "09"
               "0201"
               "0100"
               "00");
}

QByteArray packet(uint8_t c1, uint8_t c2, int offset, const QByteArray& payload)
{
    QByteArray p;
    p.append(char(c1)).append(char(c2)).append(char(payload.size()));
    p.append(char(offset & 0xFF)).append(char((offset >> 8) & 0xFF));
    return p + payload;
}

QByteArray le32(quint32 v)
{
    QByteArray out;
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray checksum(const QByteArray& image, int countAdjust = 0, int sumAdjust = 0)
{
    quint32 sum = 0;
    for (char c : image)
        sum += uint8_t(c);
    return hex("2092") + le32(sum + sumAdjust) + le32(quint32(image.size() + countAdjust));
}

// An image of n bytes whose last bytes are a version trailer.
QByteArray image(int n, SimVersion version)
{
    return testsupport::firmwareImage(n, version, 3);
}

QByteArrayList dataPackets(uint8_t c1, uint8_t c2, const QByteArray& data)
{
    QByteArrayList out;
    for (int off = 0; off < data.size(); off += 32)
        out << packet(c1, c2, off, data.mid(off, 32));
    return out;
}

// The host's side of a whole right exchange, as it would send it.
QByteArrayList rightRequests(const QByteArray& img)
{
    return QByteArrayList { hex("209e") } + dataPackets(0x20, 0x90, img)
        + QByteArrayList { checksum(img), hex("2093") };
}

// The host's side of a whole left exchange; `payload` is the region as packets carry it.
QByteArrayList leftRequests(uint8_t target, const QByteArray& payload)
{
    QByteArrayList out { QByteArray("\x03\x01", 2) + char(target),
        hex("8081") + char(payload.size() & 0xFF) + char(payload.size() >> 8) };
    return out + dataPackets(0x80, 0x80, payload) + dataPackets(0x80, 0x82, payload) + QByteArrayList { hex("8083") };
}

} // namespace

class TestSimulatedController : public QObject {
    Q_OBJECT

    std::unique_ptr<SimulatedController> sim;
    QByteArrayList replies;
    QStringList events;

    void wire(SimulatedController& s, QByteArrayList& out, QStringList& log)
    {
        s.replySink = [&out, &log](const QByteArray& b) {
            out << b;
            log << QStringLiteral("reply");
        };
        s.detachRequested = [&log] { log << QStringLiteral("detach"); };
        s.attachRequested = [&log] { log << QStringLiteral("attach"); };
    }
    // Sends the requests in one chunk and waits for n more reply chunks.
    bool talk(const QByteArrayList& requests, int n)
    {
        const qsizetype target = replies.size() + n;
        sim->receive(requests.join());
        return testsupport::waitUntil([&] { return replies.size() >= target; }) && replies.size() == target;
    }
    // Replies, restarts and returns leave in the order they were queued, so the
    // answer to a request sent now comes after all of them, and a restart
    // queued before drops it. The request asks for the device information.
    bool answersAfterEverythingQueued(SimulatedController& s, QByteArrayList& out)
    {
        s.receive(hex("0101"));
        const qsizetype asked = s.receivedMessages().count(hex("0101"));
        return testsupport::waitUntil([&] {
            return std::count_if(out.cbegin(), out.cend(), [&](const QByteArray& r) { return r.endsWith(kInfoTail); })
                >= asked;
        }) && out.last().endsWith(kInfoTail);
    }
    // Runs the event loop until a controller unplugged now for `ms` is back: a
    // return the model scheduled before, for no longer, has happened by then.
    static bool waitForAReturnAfter(int ms)
    {
        SimulatedController twin;
        bool back = false;
        twin.attachRequested = [&back] { back = true; };
        twin.unplug(ms);
        return testsupport::waitUntil([&] { return back; });
    }
    // The end of a default controller's device information record.
    const QByteArray kInfoTail = hex("0201"
                                     "0100"
                                     "00");

private slots:
    void init()
    {
        sim = std::make_unique<SimulatedController>();
        replies.clear();
        events.clear();
        wire(*sim, replies, events);
        sim->faults().restartDelayMs = 20;
        sim->faults().unplugReturnMs = 20;
    }
    void cleanup() { sim.reset(); }

    void versionAndDeviceInformation()
    {
        QVERIFY(sim->setVersions(QStringLiteral("1.0-2.3-1.5")));
        QVERIFY(talk({ hex("209f"), hex("0101") }, 2));
        QCOMPARE(replies[0], hex("209f0105"));
        QCOMPARE(replies[1], deviceInformationReply());
        // Decoded as the host does: boot major.minor at 19, 20; left at 12, 11; right at 2, 3.
        const QByteArray& r = replies[1];
        QCOMPARE(QStringLiteral("%1.%2-%3.%4-%5.%6")
                     .arg(uint8_t(r[19]))
                     .arg(uint8_t(r[20]))
                     .arg(uint8_t(r[12]))
                     .arg(uint8_t(r[11]))
                     .arg(uint8_t(replies[0][2]))
                     .arg(uint8_t(replies[0][3])),
            QStringLiteral("1.0-2.3-1.5"));
    }

    void versionsTextAndTrailers()
    {
        QVERIFY(sim->setVersions(QStringLiteral("3.10-4.0-255.7")));
        QCOMPARE(sim->versionsText(), QStringLiteral("3.10-4.0-255.7"));
        for (const char* bad : { "", "1.0-2.3", "1.0-2.3-1.256", "1.0-2.x-1.5", "1.0-2.3-1.5-", "1..0-2.3-1.5" })
            QVERIFY2(!sim->setVersions(QString::fromLatin1(bad)), bad);
        QCOMPARE(sim->versionsText(), QStringLiteral("3.10-4.0-255.7"));

        QCOMPARE(SimulatedController::versionFromTrailer(image(40, { 9, 4 })), std::optional(SimVersion { 9, 4 }));
        QVERIFY(!SimulatedController::versionFromTrailer(QByteArray("Q3DV\x09\x04\x00", 7)));
        QVERIFY(!SimulatedController::versionFromTrailer(QByteArray("xQ3DV\x09\x04\x00\x01", 9)));
        QVERIFY(!SimulatedController::versionFromTrailer(QByteArray("xQ3DW\x09\x04\x00\x00", 9)));
    }

    void rightExchangeWritesFlash()
    {
        const QByteArray img = image(100, { 3, 7 });
        const QByteArrayList req = rightRequests(img);
        QCOMPARE(req.size(), 7);
        QVERIFY(talk(req.mid(0, 5), 5));
        QCOMPARE(replies[0], hex("209e00"));
        QCOMPARE(replies[1], hex("20900000200000"));
        QCOMPARE(replies[3], hex("20900000204000"));
        QCOMPARE(replies[4], hex("20900000046000")); // the short last packet echoes its own length
        // A packet resent after a lost acknowledgement is stored again, not appended.
        QVERIFY(talk({ req[2] }, 1));
        QVERIFY(talk(req.mid(5), 2));
        QCOMPARE(replies.mid(6), (QByteArrayList { hex("209200"), hex("209300") }));
        QCOMPARE(sim->rightFlash(), img);
        QCOMPARE(sim->rightVersion(), (SimVersion { 3, 7 }));
        QVERIFY(talk({ hex("209f") }, 1)); // a restart queued with the end would drop this answer
        QVERIFY(!events.contains(QStringLiteral("detach"))); // the right side does not restart
        QCOMPARE(sim->restartCount(), 0);
        // An end resent after its lost acknowledgement is answered the same way.
        QVERIFY(talk({ hex("2093") }, 1));
        QCOMPARE(replies.last(), hex("209300"));
    }

    void rightExchangeRefusals_data()
    {
        QTest::addColumn<QByteArrayList>("requests");
        QTest::addColumn<QByteArray>("lastReply");
        const QByteArray img = image(70, { 3, 7 });
        const QByteArrayList packets = dataPackets(0x20, 0x90, img);
        QTest::newRow("wrong sum") << (QByteArrayList { hex("209e") } + packets
            + QByteArrayList { checksum(img, 0, 1) })
                                   << hex("209201");
        QTest::newRow("wrong count") << (QByteArrayList { hex("209e") } + packets
            + QByteArrayList { checksum(img, -1) })
                                     << hex("209201");
        QTest::newRow("end after refused checksum")
            << (QByteArrayList { hex("209e") } + packets + QByteArrayList { checksum(img, 0, 1), hex("2093") })
            << hex("209301");
        QTest::newRow("end without checksum")
            << (QByteArrayList { hex("209e") } + packets + QByteArrayList { hex("2093") }) << hex("209301");
        QTest::newRow("data after checksum")
            << (QByteArrayList { hex("209e") } + packets + QByteArrayList { checksum(img), packets[0], hex("2093") })
            << hex("209301");
        // Packets 0 and 2 only: the hole sums to nothing, but is not data.
        QByteArray holed = img;
        holed.replace(32, 32, QByteArray(32, '\0'));
        QTest::newRow("hole") << QByteArrayList { hex("209e"), packets[0], packets[2], checksum(holed) }
                              << hex("209201");
        QTest::newRow("empty image") << QByteArrayList { hex("209e"), checksum({}) } << hex("209201");
        QTest::newRow("checksum without data") << QByteArrayList { checksum(img) } << hex("209201");
        QTest::newRow("end without data") << QByteArrayList { hex("2093") } << hex("209301");
    }
    void rightExchangeRefusals()
    {
        QFETCH(QByteArrayList, requests);
        QFETCH(QByteArray, lastReply);
        QVERIFY(talk(requests, int(requests.size())));
        QCOMPARE(replies.last(), lastReply);
        QVERIFY(sim->rightFlash().isEmpty());
        QCOMPARE(sim->rightVersion(), (SimVersion { 1, 5 }));
    }

    void leftExchangeRestarts()
    {
        const QByteArray img = image(40, { 4, 2 });
        const QByteArrayList req = leftRequests(0x01, img);
        QVERIFY(talk(req, int(req.size())));
        QCOMPARE(replies.first(), hex("03010100"));
        for (int i = 1; i < replies.size(); ++i)
            QCOMPARE(replies[i], req[i].left(2) + '\0');
        QCOMPARE(sim->leftApplicationFlash(), img);
        QCOMPARE(sim->leftVersion(), (SimVersion { 4, 2 }));
        QVERIFY(sim->bootLoaderFlash().isEmpty());
        // The restart follows the end acknowledgement, and the controller comes back.
        QTRY_COMPARE(events.mid(events.size() - 3),
            (QStringList { QStringLiteral("reply"), QStringLiteral("detach"), QStringLiteral("attach") }));
        QVERIFY(sim->isAttached());
        QCOMPARE(sim->restartCount(), 1);
    }

    void bootLoaderExchangeStoresWhatItReceives()
    {
        sim->faults().restartDelayMs = -1;
        // A boot loader file of 0xE800 + 64 bytes; packet 0 carries file bytes 0-3 first.
        QByteArray file(0xE800, '\0');
        for (int i = 0; i < file.size(); ++i)
            file[i] = char(i & 0x7F);
        file += image(64, { 1, 9 });
        QByteArray region = file.mid(0xE800);
        region.replace(0, 4, file.left(4));
        const QByteArrayList req = leftRequests(0x02, region);
        QVERIFY(talk(req, int(req.size())));
        QCOMPARE(replies.first(), hex("03010200"));
        QCOMPARE(replies.last(), hex("808300"));
        QCOMPARE(sim->bootLoaderFlash(), region);
        QCOMPARE(sim->bootVersion(), (SimVersion { 1, 9 }));
        QVERIFY(sim->leftApplicationFlash().isEmpty());
        QTRY_VERIFY(!sim->isAttached());
        QVERIFY(waitForAReturnAfter(20)); // as long as the other tests' restarts take
        QCOMPARE(events.count(QStringLiteral("attach")), 0); // -1: it never comes back by itself
        sim->plugIn();
        QCOMPARE(events.last(), QStringLiteral("attach"));
    }

    void leftExchangeRefusals_data()
    {
        QTest::addColumn<QByteArrayList>("requests");
        QTest::addColumn<QByteArray>("lastReply");
        const QByteArray img = image(72, { 4, 2 });
        const QByteArrayList program = dataPackets(0x80, 0x80, img);
        const QByteArrayList verify = dataPackets(0x80, 0x82, img);
        const QByteArrayList head { hex("030101"), hex("80814800") };
        QByteArray wrong = img;
        wrong[40] = char(wrong[40] ^ 1);
        const QByteArrayList badVerify = dataPackets(0x80, 0x82, wrong);

        QTest::newRow("verify mismatch") << (head + program + QByteArrayList { badVerify[0], badVerify[1] })
                                         << hex("808201");
        QTest::newRow("end after mismatch")
            << (head + program + badVerify + verify + QByteArrayList { hex("8083") }) << hex("808301");
        QTest::newRow("programming short")
            << (head + program.mid(0, 2) + verify.mid(0, 2) + QByteArrayList { hex("8083") }) << hex("808301");
        QTest::newRow("not all verified")
            << (head + program + verify.mid(0, 2) + QByteArrayList { hex("8083") }) << hex("808301");
        QTest::newRow("reprogrammed after verify")
            << (head + program + verify + QByteArrayList { program[1], hex("8083") }) << hex("808301");
        QTest::newRow("length other than programmed")
            << (QByteArrayList { head[0], hex("80814700") } + program + verify + QByteArrayList { hex("8083") })
            << hex("808301");
        QTest::newRow("empty region") << QByteArrayList { head[0], hex("80810000"), hex("8083") } << hex("808301");
        QTest::newRow("verify without program") << QByteArrayList { verify[0] } << hex("808201");
        QTest::newRow("end without data") << QByteArrayList { hex("8083") } << hex("808301");
        QTest::newRow("programmed, not verified") << QByteArrayList { program[0], hex("8083") } << hex("808301");
        QTest::newRow("unknown target") << QByteArrayList { hex("030103") } << hex("03010301");
    }
    void leftExchangeRefusals()
    {
        QFETCH(QByteArrayList, requests);
        QFETCH(QByteArray, lastReply);
        QVERIFY(talk(requests, int(requests.size())));
        QCOMPARE(replies.last(), lastReply);
        QVERIFY(talk({ hex("209f") }, 1)); // a restart queued with the end would drop this answer
        QVERIFY(sim->leftApplicationFlash().isEmpty());
        QCOMPARE(sim->leftVersion(), (SimVersion { 2, 3 }));
        QVERIFY(!events.contains(QStringLiteral("detach")));
        QCOMPARE(sim->restartCount(), 0);
    }

    void oneByteAtATimeParsesTheSame()
    {
        const QByteArray stream = (QByteArrayList { hex("209f"), hex("0101") } + rightRequests(image(100, { 3, 7 }))
            + leftRequests(0x01, image(70, { 4, 2 })))
                                      .join();
        QByteArrayList byteReplies;
        QStringList byteEvents;
        SimulatedController bytewise;
        wire(bytewise, byteReplies, byteEvents);
        for (char c : stream)
            bytewise.receive(QByteArray(1, c));
        sim->receive(stream);
        QTRY_COMPARE(byteReplies.size(), 2 + 7 + 2 + 3 * 2 + 1);
        QTRY_COMPARE(replies, byteReplies);
        QCOMPARE(bytewise.receivedMessages(), sim->receivedMessages());
        QCOMPARE(bytewise.rightFlash(), image(100, { 3, 7 }));
        QCOMPARE(bytewise.leftApplicationFlash(), image(70, { 4, 2 }));
    }

    void garbageAndOversizedLengthsResync()
    {
        // Unknown bytes, a known first byte with an unknown second, and a
        // payload length of 33 before a valid request.
        const QByteArray junk = hex("ff00"
                                    "2055"
                                    "80802100ff"
                                    "20")
            + QByteArray(40, '\x11');
        QVERIFY(talk({ junk + hex("209f") }, 1));
        QCOMPARE(replies[0], hex("209f0105"));
        QCOMPARE(sim->receivedMessages(), QByteArrayList { hex("209f") });

        // Random bytes must not crash; once whatever they started is complete the model answers again.
        QRandomGenerator rng(7);
        for (int i = 0; i < 200; ++i) {
            QByteArray chunk(int(rng.bounded(1, 64)), '\0');
            for (char& c : chunk)
                c = char(rng.bounded(256));
            sim->receive(chunk);
        }
        sim->receive(QByteArray(64, '\x11') + hex("209f"));
        QVERIFY(answersAfterEverythingQueued(*sim, replies));
        QCOMPARE(replies.at(replies.size() - 2), hex("209f0105"));
    }

    void faultDropReply()
    {
        sim->faults().dropReplies = 1;
        QVERIFY(talk({ hex("209f"), hex("209e") }, 1));
        QCOMPARE(replies, QByteArrayList { hex("209e00") });
        QCOMPARE(sim->faults().dropReplies, 0);
    }

    void faultDuplicateReply()
    {
        sim->faults().duplicateReplies = 1;
        QVERIFY(talk({ hex("209e"), hex("209f") }, 3));
        QCOMPARE(replies, (QByteArrayList { hex("209e00"), hex("209e00"), hex("209f0105") }));
    }

    void faultSplitReply()
    {
        sim->faults().splitReplies = 1;
        QVERIFY(talk({ hex("0101"), hex("209f") }, 3));
        QCOMPARE(replies[0].size(), 11);
        QCOMPARE(replies[0] + replies[1], deviceInformationReply());
        QCOMPARE(replies[2], hex("209f0105"));
    }

    void faultMergeReplies()
    {
        sim->faults().mergeReplies = 1;
        QVERIFY(talk({ hex("209e") }, 0));
        QVERIFY(replies.isEmpty()); // held until the next reply, which carries it
        QVERIFY(talk({ hex("209f") }, 1));
        QCOMPARE(replies[0],
            hex("209e00"
                "209f0105"));
    }

    // Pieces of N bytes, a few milliseconds apart, as a serial adapter hands them over.
    void faultSplitIntoPiecesOfN()
    {
        sim->faults().splitReplies = 2;
        sim->faults().splitSize = 3;
        QVERIFY(talk({ hex("0101"), hex("209e"), hex("209f") }, 10));
        QCOMPARE(replies.size(), 10); // 8 pieces of the record, one of the ack, the version whole
        QCOMPARE(replies.mid(0, 8).join(), deviceInformationReply());
        QCOMPARE(replies[7].size(), 1);
        QCOMPARE(replies[8], hex("209e00"));
        QCOMPARE(replies[9], hex("209f0105"));
    }

    // A reply held with a window leaves glued to the next one when it comes
    // in time, and alone when it does not; the controller sends what it
    // holds before it restarts.
    void faultGlueWithinAWindow()
    {
        sim->faults().mergeReplies = 2;
        sim->faults().mergeWindowMs = 60000;
        sim->faults().duplicateReplies = 1;
        QVERIFY(talk({ hex("209e") }, 1));
        QCOMPARE(replies, QByteArrayList { hex("209e00209e00") }); // glued to its own copy
        replies.clear();
        sim->faults().mergeWindowMs = 10;
        QVERIFY(talk({ hex("209f") }, 1)); // nothing follows: alone once the window passed
        QCOMPARE(replies, QByteArrayList { hex("209f0105") });

        // A one-byte left image, committed: its end acknowledgement is held
        // for the next reply, and still leaves before the restart.
        replies.clear();
        QVERIFY(talk({ hex("8080010000aa"), hex("8082010000aa") }, 2));
        sim->faults().mergeReplies = 1;
        sim->faults().mergeWindowMs = -1;
        events.clear();
        sim->receive(hex("8083"));
        QTRY_VERIFY(events.contains(QStringLiteral("detach")));
        QCOMPARE(replies.last(), hex("808300"));
        QCOMPARE(events.mid(0, 2), (QStringList { QStringLiteral("reply"), QStringLiteral("detach") }));
    }

    // A byte of noise that begins no message goes out before the first reply
    // of each attachment, and only then.
    void faultNoiseWhenThePortOpens()
    {
        sim->faults().strayByteOnAttach = true;
        sim->unplug(5);
        QTRY_VERIFY(sim->isAttached());
        QVERIFY(talk({ hex("209f"), hex("209f") }, 2));
        QCOMPARE(replies[0].size(), 5);
        QVERIFY(!ControllerProtocol::isFirstCommandByte(uint8_t(replies[0][0])));
        QCOMPARE(replies[0].mid(1), hex("209f0105"));
        QCOMPARE(replies[1], hex("209f0105"));
    }

    void faultCorruptReply()
    {
        sim->faults().corruptReplies = 2;
        QVERIFY(talk({ hex("209e"), hex("209f"), hex("209f") }, 3));
        QCOMPARE(replies, (QByteArrayList { hex("209eff"), hex("df9f0105"), hex("209f0105") }));
    }

    void faultRefuseStart()
    {
        sim->faults().refuseStart = true;
        const QByteArray img = image(40, { 4, 2 });
        QVERIFY(talk({ hex("209e"), hex("030101"), hex("030102") }, 3));
        QCOMPARE(replies, (QByteArrayList { hex("209e01"), hex("03010101"), hex("03010201") }));
    }

    void imagesWithoutStartCommandsAreTakenAsTheyStand()
    {
        // An image shorter than one packet goes out without a start command
        // (and on the left without a length command).
        const QByteArray right = image(20, { 3, 1 });
        QVERIFY(talk({ packet(0x20, 0x90, 0, right), checksum(right), hex("2093") }, 3));
        QCOMPARE(replies, (QByteArrayList { hex("20900000140000"), hex("209200"), hex("209300") }));
        QCOMPARE(sim->rightFlash(), right);
        QCOMPARE(sim->rightVersion(), (SimVersion { 3, 1 }));
        // After a committed image, data without a start begins the next one.
        const QByteArray next = image(24, { 3, 2 });
        QVERIFY(talk({ packet(0x20, 0x90, 0, next), checksum(next), hex("2093") }, 3));
        QCOMPARE(replies.mid(3), (QByteArrayList { hex("20900000180000"), hex("209200"), hex("209300") }));
        QCOMPARE(sim->rightFlash(), next);
        QCOMPARE(sim->rightVersion(), (SimVersion { 3, 2 }));

        const QByteArray left = image(20, { 4, 1 });
        QVERIFY(talk({ packet(0x80, 0x80, 0, left), packet(0x80, 0x82, 0, left), hex("8083") }, 3));
        QCOMPARE(replies.mid(6), (QByteArrayList { hex("808000"), hex("808200"), hex("808300") }));
        QCOMPARE(sim->leftApplicationFlash(), left); // no start named the boot loader
        QCOMPARE(sim->leftVersion(), (SimVersion { 4, 1 }));
        QVERIFY(sim->bootLoaderFlash().isEmpty());
        QTRY_COMPARE(sim->restartCount(), 1);
        QTRY_VERIFY(sim->isAttached());

        // A length without a start holds the region to it.
        const QByteArray other = image(20, { 4, 2 });
        QVERIFY(talk({ hex("80811500"), packet(0x80, 0x80, 0, other), packet(0x80, 0x82, 0, other), hex("8083") }, 4));
        QCOMPARE(replies.mid(9), (QByteArrayList { hex("808100"), hex("808000"), hex("808200"), hex("808301") }));
        QCOMPARE(sim->leftApplicationFlash(), left);
    }

    void aRequestDelayHoldsOnlyTheRepliesToItsRequest()
    {
        sim->faults().requestDelayMs.insert(hex("8083"), 200);
        QElapsedTimer clock;
        clock.start();
        sim->receive(hex("030101") + hex("8083"));
        // A return scheduled now for 100 ms fires after the start's reply was
        // due and before the end's.
        QVERIFY(waitForAReturnAfter(100));
        QCOMPARE(replies, QByteArrayList { hex("03010100") });
        QVERIFY(testsupport::waitUntil([&] { return replies.size() == 2; }));
        QVERIFY(clock.elapsed() >= 200 - 1); // to the millisecond the model counts in
        QCOMPARE(replies[1], hex("808301"));

        // A held reply goes with the attachment and holds back nothing after it.
        sim->faults().requestDelayMs.insert(hex("8083"), 600000);
        sim->receive(hex("8083"));
        sim->unplug(10);
        QTRY_VERIFY(sim->isAttached());
        sim->receive(hex("209f"));
        QVERIFY(waitForAReturnAfter(100));
        QCOMPARE(replies.mid(2), QByteArrayList { hex("209f0105") });
    }

    void faultUnplugAtPacket()
    {
        sim->faults().unplugAtPacket = 2; // the first verify packet of a 64-byte region
        const QByteArrayList req = leftRequests(0x01, image(64, { 4, 2 }));
        for (int i = 0; i < 4; ++i) // start, length, two program packets
            QVERIFY(talk({ req[i] }, 1));
        sim->receive(req[4] + req[5]);
        QCOMPARE(events,
            (QStringList { QStringLiteral("reply"), QStringLiteral("reply"), QStringLiteral("reply"),
                QStringLiteral("reply"), QStringLiteral("detach") }));
        QVERIFY(!sim->isAttached());
        const int heard = int(sim->receivedMessages().size());
        sim->receive(hex("209f")); // an unplugged controller hears nothing
        QCOMPARE(sim->receivedMessages().size(), heard);
        QTRY_VERIFY(sim->isAttached());
        QCOMPARE(events.last(), QStringLiteral("attach"));
        QCOMPARE(sim->faults().unplugAtPacket, -1); // fires once
        // The interrupted exchange died with the attachment.
        QVERIFY(talk({ req[5], hex("8083") }, 2));
        QCOMPARE(replies.mid(4), (QByteArrayList { hex("808201"), hex("808301") }));
        QCOMPARE(sim->restartCount(), 0);
    }

    void delayedRepliesKeepOrderAndDieWithTheAttachment()
    {
        sim->faults().replyDelayMs = 40;
        sim->faults().maxRandomDelayMs = 30;
        sim->setSeed(3);
        QByteArrayList req;
        for (int i = 0; i < 10; ++i)
            req << hex("209f") << hex("209e");
        QElapsedTimer clock;
        clock.start();
        sim->receive(req.join());
        QVERIFY(testsupport::waitUntil([&] { return !replies.isEmpty(); }));
        QVERIFY(clock.elapsed() >= 40 - 1); // not before the delay, to the millisecond the model counts in
        QVERIFY(testsupport::waitUntil([&] { return replies.size() >= 20; }));
        QCOMPARE(replies.size(), 20);
        for (int i = 0; i < 20; i += 2)
            QCOMPARE(replies[i] + replies[i + 1],
                hex("209f0105"
                    "209e00"));

        replies.clear();
        sim->faults().mergeReplies = 1;
        sim->receive(hex("209f209e")); // one held, one delayed
        sim->unplug(10);
        QTRY_VERIFY(sim->isAttached());
        // Anything left over would come before the answer to a new request, or with it.
        QVERIFY(talk({ hex("209f") }, 1));
        QCOMPARE(replies, QByteArrayList { hex("209f0105") });
    }

    void manualUnplugAndPlugIn()
    {
        sim->unplug(-1);
        sim->unplug(10); // already unplugged: no second detach
        QCOMPARE(events, QStringList { QStringLiteral("detach") });
        QTRY_COMPARE(events, (QStringList { QStringLiteral("detach"), QStringLiteral("attach") }));
        sim->plugIn(); // the owner's first attach: announced again
        sim->unplug(10);
        sim->unplug(-1); // held unplugged: the pending return is cancelled
        QVERIFY(waitForAReturnAfter(10));
        QCOMPARE(events,
            (QStringList { QStringLiteral("detach"), QStringLiteral("attach"), QStringLiteral("attach"),
                QStringLiteral("detach") }));
    }

    void randomFaultsFollowTheSeed()
    {
        auto run = [this](quint32 seed) {
            QByteArrayList out;
            QStringList log;
            SimulatedController s;
            wire(s, out, log);
            s.setSeed(seed);
            SimFaults& f = s.faults();
            f.dropRate = f.duplicateRate = f.splitRate = f.mergeRate = f.corruptRate = 0.2;
            f.maxRandomDelayMs = 2;
            for (int i = 0; i < 40; ++i)
                s.receive(hex("209f"));
            // Each reply's faults are drawn as it is queued: the closing request adds none.
            f = SimFaults();
            if (!answersAfterEverythingQueued(s, out))
                return QByteArray();
            return out.join();
        };
        const QByteArray a = run(11);
        QCOMPARE(run(11), a);
        QVERIFY(run(12) != a);
        QVERIFY(a != QByteArrayList(40, hex("209f0105")).join());
    }

    // A recorded controller answers each request as the recording did: in
    // the recorded pieces, a request sent again answered again, away and
    // back where it restarted; the first request that differs is named, and
    // nothing is answered after it.
    void aRecordedControllerAnswersAsTheRecordingDid()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.jsonl"));
        const QByteArray lines = "{\"recording\":\"q3dart-link-recording\",\"version\":1}\n"
                                 "{\"t\":0,\"event\":\"attach\"}\n"
                                 "{\"t\":0.010,\"to\":\"host\",\"bytes\":\"ff\"}\n"
                                 "{\"t\":0.020,\"to\":\"controller\",\"bytes\":\"209f\"}\n"
                                 "{\"t\":0.021,\"to\":\"host\",\"bytes\":\"209f\"}\n"
                                 "{\"t\":0.024,\"to\":\"host\",\"bytes\":\"0105\"}\n"
                                 "{\"t\":0.030,\"to\":\"controller\",\"bytes\":\"8083\"}\n"
                                 "{\"t\":0.031,\"to\":\"host\",\"bytes\":\"808300\"}\n"
                                 "{\"t\":0.040,\"event\":\"detach\"}\n"
                                 "{\"t\":0.090,\"event\":\"attach\"}\n"
                                 "{\"t\":0.100,\"to\":\"controller\",\"bytes\":\"209f\"}\n"
                                 "{\"t\":0.101,\"to\":\"host\",\"bytes\":\"209f0106\"}\n"
                                 "{\"t\":0.200,\"event\":\"end\",\"exit\":0,\"versions\":\"1.0-2.3-1.6\"}\n";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size());
        file.close();
        RecordedController r;
        QString error;
        QVERIFY2(r.load(path, &error), qPrintable(error));
        QCOMPARE(r.requestCount(), 3);
        QCOMPARE(r.restartCount(), 1);
        QCOMPARE(r.recordedExit(), 0);
        QCOMPARE(r.recordedVersions(), QStringLiteral("1.0-2.3-1.6"));
        QByteArrayList out;
        QStringList log;
        r.replySink = [&](const QByteArray& b) {
            out << b;
            log << QStringLiteral("reply");
        };
        r.detachRequested = [&] { log << QStringLiteral("detach"); };
        r.attachRequested = [&] { log << QStringLiteral("attach"); };
        r.plugIn();
        QTRY_COMPARE(out, QByteArrayList { hex("ff") }); // what it sent before it was asked
        r.receive(hex("20"));
        r.receive(hex("9f"));
        QTRY_COMPARE(out, (QByteArrayList { hex("ff"), hex("209f"), hex("0105") }));
        r.receive(hex("209f")); // sent again: answered again
        QTRY_COMPARE(out.size(), 5);
        QCOMPARE(out.mid(3), (QByteArrayList { hex("209f"), hex("0105") }));
        r.receive(hex("8083"));
        QTRY_COMPARE(log.count(QStringLiteral("attach")), 2); // away at its restart, and back
        QCOMPARE(log.mid(log.size() - 3),
            (QStringList { QStringLiteral("reply"), QStringLiteral("detach"), QStringLiteral("attach") }));
        QVERIFY(!r.isComplete());
        QSignalSpy done(&r, &RecordedController::completed);
        r.receive(hex("209f"));
        QTRY_COMPARE(out.last(), hex("209f0106"));
        QCOMPARE(done.size(), 1);
        QVERIFY(r.isComplete());
        QSignalSpy differs(&r, &RecordedController::mismatch);
        r.receive(hex("0101"));
        QCOMPARE(differs.size(), 1);
        QCOMPARE(r.mismatchText(), QStringLiteral("request 4 is not in the recording: sent 01 01"));

        // Another run of the same recording whose second request differs.
        RecordedController other;
        QVERIFY(other.load(path, &error));
        QByteArrayList heard;
        other.replySink = [&](const QByteArray& b) { heard << b; };
        other.plugIn();
        other.receive(hex("209f"));
        other.receive(hex("2093"));
        QCOMPARE(other.mismatchText(),
            QStringLiteral("request 2 differs from the recording at byte 0: sent 20 93, recorded 80 83"));
        const qsizetype before = heard.size();
        other.receive(hex("209f")); // nothing after a difference
        QVERIFY(waitForAReturnAfter(50));
        QVERIFY(heard.size() <= 3 && heard.size() >= before);
        QVERIFY(!heard.contains(hex("808300")));

        // Files that are no recording.
        QFile notOne(dir.filePath(QStringLiteral("n.jsonl")));
        QVERIFY(notOne.open(QIODevice::WriteOnly) && notOne.write("{\"t\":0}\n") > 0);
        notOne.close();
        QVERIFY(!other.load(notOne.fileName(), &error));
        QVERIFY(error.contains(QLatin1String("not a q3dart-link-recording")));
        QVERIFY(!other.load(dir.filePath(QStringLiteral("absent.jsonl")), &error));
    }

    // The images a recorded session sent come back from its data packets:
    // the right side's, the left application's (also without a start), and
    // the boot loader's with its file head from packet 0 and its region after
    // the region's offset.
    void aRecordingGivesBackTheImagesItSent()
    {
        QByteArray boot(int(ControllerProtocol::kBootRegionOffset) + 40, '\0');
        for (int i = 0; i < boot.size(); ++i)
            boot[i] = char(i * 13 + 1);
        const QByteArray left = QByteArray("left image, short");
        const QByteArray right(40, 'r');
        QByteArray lines = "{\"recording\":\"q3dart-link-recording\",\"version\":1}\n";
        auto request = [&lines](const QByteArray& bytes) {
            lines += "{\"t\":0,\"to\":\"controller\",\"bytes\":\"" + bytes.toHex() + "\"}\n";
        };
        using M = ControllerProtocol::Message;
        request(ControllerProtocol::leftStart(ControllerProtocol::kTargetBootLoader));
        const int region = int(ControllerProtocol::kBootRegionOffset);
        QByteArray packet0 = boot.left(4) + boot.mid(region + 4, 28);
        request(ControllerProtocol::dataPacket(M::LeftProgram, 0, packet0));
        request(ControllerProtocol::dataPacket(M::LeftProgram, 32, boot.mid(region + 32)));
        request(ControllerProtocol::dataPacket(M::LeftVerify, 0, QByteArray(32, 'x'))); // verifying writes nothing
        request(ControllerProtocol::request(M::LeftEnd));
        request(ControllerProtocol::dataPacket(M::LeftProgram, 0, left));
        request(ControllerProtocol::request(M::LeftEnd));
        request(ControllerProtocol::dataPacket(M::RightData, 0, right.left(32)));
        request(ControllerProtocol::dataPacket(M::RightData, 32, right.mid(32)));
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("images.jsonl")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size());
        file.close();
        RecordedController r;
        QString error;
        QVERIFY2(r.load(file.fileName(), &error), qPrintable(error));
        const RecordedController::Images images = r.images();
        QCOMPARE(images.right, right);
        QCOMPARE(images.left, left);
        QCOMPARE(images.boot.size(), boot.size());
        QCOMPARE(images.boot.left(4), boot.left(4));
        QCOMPARE(images.boot.mid(region + 4), boot.mid(region + 4));
        // Sent again from the rebuilt file, every packet is the recorded one.
        uint8_t payload[32];
        ControllerProtocol::copyPayload(
            payload, reinterpret_cast<const uint8_t*>(images.boot.constData()), 0, 32, true);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(payload), 32), packet0);
    }

    void destroyedWithTimersPending()
    {
        int calls = 0;
        auto s = std::make_unique<SimulatedController>();
        s->replySink = [&calls](const QByteArray&) { ++calls; };
        s->attachRequested = [&calls] { ++calls; };
        s->faults().replyDelayMs = 20;
        s->receive(hex("209f"));
        s->unplug(20);
        s->plugIn();
        s->receive(hex("209f"));
        s.reset();
        QVERIFY(waitForAReturnAfter(20)); // past when its reply was due
        QCOMPARE(calls, 1); // the plugIn's attach only
    }

    void ownerMayDestroyItFromACallback()
    {
        QPointer<SimulatedController> s = new SimulatedController;
        s->faults().unplugAtPacket = 0;
        s->detachRequested = [&s] { delete s.data(); };
        s->receive(hex("209e") + packet(0x20, 0x90, 0, QByteArray(32, 'x')) + hex("209f"));
        QVERIFY(s.isNull());
    }
};

QTEST_GUILESS_MAIN(TestSimulatedController)
#include "tst_simulatedcontroller.moc"
