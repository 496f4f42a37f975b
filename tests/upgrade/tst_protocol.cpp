// The controller's byte protocol: the bytes of every message kind, the
// acknowledgements as the host reads them, and the region rule of the boot
// loader, pinned against the tables in docs/protocol.md.
#include "upgrade/ControllerProtocol.h"
#include "upgrade/DeviceInformation.h"
#include "upgrade/ReplyFramer.h"

#include <QtTest>

using Protocol = ControllerProtocol;
using Message = ControllerProtocol::Message;
using Answer = ControllerProtocol::Answer;

Q_DECLARE_METATYPE(ControllerProtocol::Message)

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Feeds bytes to a framer in pieces of `piece` bytes and gathers every reply
// it hands over, as the engine's data handler does after each read.
QList<QByteArray> cut(ReplyFramer& framer, const QByteArray& bytes, int piece)
{
    QList<QByteArray> replies;
    for (qsizetype from = 0; from < bytes.size(); from += piece) {
        framer.append(bytes.mid(from, piece));
        while (const std::optional<QByteArray> reply = framer.next())
            replies << *reply;
    }
    return replies;
}

} // namespace

class TestProtocol : public QObject {
    Q_OBJECT

private slots:
    void requestBytes_data()
    {
        QTest::addColumn<QByteArray>("built");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("right version") << Protocol::request(Message::RightVersion) << hex("209f");
        QTest::newRow("device information") << Protocol::request(Message::DeviceInformation) << hex("0101");
        QTest::newRow("right start") << Protocol::request(Message::RightStart) << hex("209e");
        QTest::newRow("right end") << Protocol::request(Message::RightEnd) << hex("2093");
        QTest::newRow("left end") << Protocol::request(Message::LeftEnd) << hex("8083");
        QTest::newRow("left start, application")
            << Protocol::leftStart(Protocol::kTargetLeftApplication) << hex("030101");
        QTest::newRow("left start, boot loader") << Protocol::leftStart(Protocol::kTargetBootLoader) << hex("030102");
        // The length field carries the low 16 bits only.
        QTest::newRow("length 100") << Protocol::leftLength(100) << hex("80816400");
        QTest::newRow("length wraps") << Protocol::leftLength(0x12345) << hex("80814523");
        // The three bytes "abc": sum 0x126, three bytes.
        QTest::newRow("checksum of abc") << Protocol::rightChecksum(0x61 + 0x62 + 0x63, 3)
                                         << hex("20922601000003000000");
        QTest::newRow("data packet") << Protocol::dataPacket(Message::RightData, 96, hex("01020304"))
                                     << hex("2090"
                                            "04"
                                            "6000"
                                            "01020304");
        QTest::newRow("data offset wraps") << Protocol::dataPacket(Message::LeftVerify, 0x10020, hex("aa"))
                                           << hex("8082"
                                                  "01"
                                                  "2000"
                                                  "aa");
    }
    void requestBytes()
    {
        QFETCH(QByteArray, built);
        QFETCH(QByteArray, expected);
        QCOMPARE(built.toHex(), expected.toHex());
    }

    // Every request the host builds is one the controller's framing sizes
    // the same way, whatever follows it in the stream.
    void requestSizes()
    {
        const QList<QByteArray> requests {
            Protocol::request(Message::RightVersion),
            Protocol::request(Message::DeviceInformation),
            Protocol::request(Message::RightStart),
            Protocol::request(Message::RightEnd),
            Protocol::request(Message::LeftEnd),
            Protocol::leftStart(Protocol::kTargetBootLoader),
            Protocol::leftLength(40),
            Protocol::rightChecksum(1, 2),
        };
        for (const QByteArray& r : requests) {
            const auto kind = Protocol::messageFor(uint8_t(r[0]), uint8_t(r[1]));
            QVERIFY(kind);
            QVERIFY(Protocol::isFirstCommandByte(uint8_t(r[0])));
            QVERIFY(!Protocol::isDataPacket(*kind));
            QCOMPARE(Protocol::fixedRequestSize(*kind), r.size());
        }
        for (Message m : { Message::RightData, Message::LeftProgram, Message::LeftVerify }) {
            QVERIFY(Protocol::isDataPacket(m));
            QCOMPARE(Protocol::fixedRequestSize(m), 0);
        }
        // The controller's framing of a stream: whole requests, skipped
        // noise, and a data packet whose length no packet has.
        const QByteArray stream = hex("ff") + Protocol::leftLength(40) + hex("8080ff") + hex("2090");
        qsizetype length = 0;
        QCOMPARE(Protocol::frameRequest(stream, 0, &length), Protocol::RequestFrame::Skip1);
        QCOMPARE(Protocol::frameRequest(stream, 1, &length), Protocol::RequestFrame::Request);
        QCOMPARE(length, 4);
        QCOMPARE(Protocol::frameRequest(stream, 5, &length), Protocol::RequestFrame::Skip2);
        QCOMPARE(Protocol::frameRequest(stream, 8, &length), Protocol::RequestFrame::NeedMore);
        QVERIFY(!Protocol::messageFor(0x20, 0x91));
        QVERIFY(!Protocol::messageFor(0x02, 0x01));
        QVERIFY(!Protocol::isFirstCommandByte(0x02));
    }

    void requestsRead()
    {
        const Protocol::DataPacket packet
            = Protocol::readDataPacket(Protocol::dataPacket(Message::LeftProgram, 0x1234, hex("a1b2")));
        QCOMPARE(packet.length, uint8_t(2));
        QCOMPARE(packet.offset, quint16(0x1234));
        QCOMPARE(packet.payload, hex("a1b2"));
        const Protocol::Checksum checksum = Protocol::readChecksum(Protocol::rightChecksum(0x1'0000'0126ull, 3));
        QCOMPARE(checksum.sum, quint32(0x126)); // modulo 2^32
        QCOMPARE(checksum.bytes, quint32(3));
        QCOMPARE(Protocol::readLeftLength(Protocol::leftLength(0xE864)), quint16(0xE864));
        QCOMPARE(Protocol::readLeftStartTarget(Protocol::leftStart(Protocol::kTargetBootLoader)),
            Protocol::kTargetBootLoader);
    }

    void answers_data()
    {
        QTest::addColumn<Message>("kind");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("answer");
        const int other = int(Answer::Other), accepted = int(Answer::Accepted), refused = int(Answer::Refused);
        QTest::newRow("right start ok") << Message::RightStart << hex("209e00") << accepted;
        QTest::newRow("right start refused") << Message::RightStart << hex("209e01") << refused;
        QTest::newRow("checksum ok, longer") << Message::RightChecksum << hex("209200ffff") << accepted;
        QTest::newRow("checksum refused") << Message::RightChecksum << hex("209201") << refused;
        QTest::newRow("checksum without status") << Message::RightChecksum << hex("2092") << other;
        QTest::newRow("another kind's ack") << Message::RightEnd << hex("209200") << other;
        QTest::newRow("left program ok") << Message::LeftProgram << hex("808000") << accepted;
        QTest::newRow("left verify refused") << Message::LeftVerify << hex("808201") << refused;
        QTest::newRow("left end ok") << Message::LeftEnd
                                     << Protocol::acknowledgement(Message::LeftEnd, Protocol::kStatusOk) << accepted;
        QTest::newRow("empty") << Message::LeftLength << QByteArray() << other;
    }
    void answers()
    {
        QFETCH(Message, kind);
        QFETCH(QByteArray, reply);
        QFETCH(int, answer);
        QCOMPARE(int(Protocol::answerTo(kind, reply)), answer);
    }

    // The left start reply names its target: a start of the other region, or
    // a reply without status, is a refusal, and a reply of another kind is none.
    void leftStartAnswers()
    {
        const uint8_t app = Protocol::kTargetLeftApplication, boot = Protocol::kTargetBootLoader;
        QCOMPARE(
            Protocol::answerToLeftStart(Protocol::leftStartReply(app, Protocol::kStatusOk), app), Answer::Accepted);
        QCOMPARE(
            Protocol::answerToLeftStart(Protocol::leftStartReply(boot, Protocol::kStatusOk), app), Answer::Refused);
        QCOMPARE(Protocol::answerToLeftStart(Protocol::leftStartReply(boot, Protocol::kStatusRefused), boot),
            Answer::Refused);
        QCOMPARE(Protocol::answerToLeftStart(hex("030102"), boot), Answer::Refused);
        QCOMPARE(Protocol::answerToLeftStart(hex("209f0105"), boot), Answer::Other);
    }

    // The right side echoes the packet's length and offset; an echo of another
    // packet, or a refusal, acknowledges nothing.
    void rightDataEcho()
    {
        const QByteArray packet = Protocol::dataPacket(Message::RightData, 32, QByteArray(32, 'x'));
        const QByteArray ack = Protocol::rightDataReply(packet, Protocol::kStatusOk);
        QCOMPARE(ack.toHex(), hex("20900000202000").toHex());
        QVERIFY(Protocol::acknowledgesRightData(ack, packet));
        QVERIFY(!Protocol::acknowledgesRightData(Protocol::rightDataReply(packet, Protocol::kStatusRefused), packet));
        const QByteArray earlier = Protocol::dataPacket(Message::RightData, 0, QByteArray(32, 'x'));
        QVERIFY(!Protocol::acknowledgesRightData(Protocol::rightDataReply(earlier, Protocol::kStatusOk), packet));
        QVERIFY(!Protocol::acknowledgesRightData(ack.left(6), packet));
    }

    void versionReplies()
    {
        const auto version = Protocol::rightVersion(Protocol::rightVersionReply(1, 10));
        QVERIFY(version);
        QCOMPARE(version->major, uint8_t(1));
        QCOMPARE(version->minor, uint8_t(10));
        QVERIFY(!Protocol::rightVersion(hex("209f01")));

        DeviceInformation record;
        const uint8_t address[6] = { 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC };
        std::copy(std::begin(address), std::end(address), record.local_bt_addr);
        record.hardwarev_ver[0] = 5;
        record.hardwarev_ver[1] = 1;
        record.software_ver[0] = 3;
        record.software_ver[1] = 2;
        record.year = 2021;
        record.month = 3;
        record.day = 9;
        record.bootsoftware_ver[0] = 1;
        record.bootsoftware_ver[1] = 0;
        const QByteArray reply = Protocol::deviceInformationReply(record);
        QCOMPARE(reply.toHex(),
            hex("123456789abc"
                "0501"
                "0000"
                "00"
                "0302"
                "e507"
                "03"
                "09"
                "0000"
                "0100"
                "00")
                .toHex());
        DeviceInformation read;
        QVERIFY(Protocol::readDeviceInformation(reply + hex("ffff"), read)); // longer replies are read too
        QCOMPARE(read.macAddressWithoutColon(), QStringLiteral("123456789ABC"));
        QCOMPARE(read.softwareVersion(), QStringLiteral("2.3"));
        QCOMPARE(read.bootVer(), QStringLiteral("1.0"));
        QCOMPARE(read.productDateString(), QStringLiteral("20210309"));
        DeviceInformation untouched;
        QVERIFY(!Protocol::readDeviceInformation(reply.left(Protocol::kDeviceInformationSize - 1), untouched));
        QCOMPARE(untouched.macAddressWithoutColon(), QStringLiteral("000000000000"));
    }

    // The boot loader's region starts 0xE800 bytes into its file, except that
    // a full packet 0 takes the file's own first four bytes; a short packet 0
    // takes its region's.
    void bootLoaderRegion()
    {
        QByteArray file(int(Protocol::kBootRegionOffset) + 64, '\0');
        for (int i = 0; i < file.size(); ++i)
            file[i] = char(i * 7 + 3);
        const auto* bytes = reinterpret_cast<const uint8_t*>(file.constData());
        const int region = int(Protocol::kBootRegionOffset);
        QByteArray payload(Protocol::kPayloadSize, '\0');
        auto* out = reinterpret_cast<uint8_t*>(payload.data());

        Protocol::copyPayload(out, bytes, 0, Protocol::kPayloadSize, true);
        QCOMPARE(payload, file.left(4) + file.mid(region + 4, 28));
        Protocol::copyPayload(out, bytes, 1, Protocol::kPayloadSize, true);
        QCOMPARE(payload, file.mid(region + 32, 32));
        Protocol::copyPayload(out, bytes, 0, 8, true);
        QCOMPARE(payload.left(8), file.mid(region, 8));
        // The left image has no region offset and no packet-0 rule.
        Protocol::copyPayload(out, bytes, 0, Protocol::kPayloadSize, false);
        QCOMPARE(payload, file.left(32));
    }

    // The reply table the host cuts replies by: every reply but the device
    // information record begins with its request's command bytes.
    void replyTable()
    {
        QCOMPARE(Protocol::replySize(Message::RightVersion), 4);
        QCOMPARE(Protocol::replySize(Message::DeviceInformation), 22);
        QCOMPARE(Protocol::replySize(Message::RightData), 7);
        QCOMPARE(Protocol::replySize(Message::LeftStart), 4);
        for (Message m : { Message::RightStart, Message::RightChecksum, Message::RightEnd, Message::LeftLength,
                 Message::LeftProgram, Message::LeftVerify, Message::LeftEnd })
            QCOMPARE(Protocol::replySize(m), Protocol::kAckSize);
        QVERIFY(!Protocol::replyHasCommandBytes(Message::DeviceInformation));
        QVERIFY(Protocol::replyHasCommandBytes(Message::RightVersion));
        // What the controller builds is exactly its row.
        QCOMPARE(Protocol::rightDataReply(Protocol::dataPacket(Message::RightData, 0, hex("01")), 0).size(),
            Protocol::replySize(Message::RightData));
        QCOMPARE(Protocol::leftStartReply(1, 0).size(), Protocol::replySize(Message::LeftStart));
        QCOMPARE(Protocol::deviceInformationReply(DeviceInformation()).size(),
            Protocol::replySize(Message::DeviceInformation));
    }

    // A reply in pieces of any size, down to single bytes, is handed over
    // whole and once, for every row of the table.
    void aReplyInPiecesIsReadWhole_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray packet = Protocol::dataPacket(Message::RightData, 64, hex("0102"));
        QTest::newRow("version") << Protocol::request(Message::RightVersion) << hex("209f0105");
        QTest::newRow("device information") << Protocol::request(Message::DeviceInformation)
                                            << hex("123456789abc0501000000"
                                                   "0302e5070309000001000"
                                                   "0");
        QTest::newRow("right data") << packet << Protocol::rightDataReply(packet, 0);
        QTest::newRow("left start") << Protocol::leftStart(2) << Protocol::leftStartReply(2, 0);
        QTest::newRow("left end") << Protocol::request(Message::LeftEnd) << hex("808300");
    }
    void aReplyInPiecesIsReadWhole()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        for (int piece = 1; piece <= reply.size(); ++piece) {
            ReplyFramer framer;
            framer.requestWritten(request);
            QCOMPARE(cut(framer, reply, piece), QList<QByteArray> { reply });
            QCOMPARE(framer.droppedBytes(), 0u);
        }
    }

    // Noise before a reply is dropped up to the request's command bytes;
    // a last byte that may begin them waits for the next read.
    void noiseBeforeAReplyIsDroppedWithoutLosingStep()
    {
        ReplyFramer framer;
        framer.requestWritten(Protocol::request(Message::RightVersion));
        QCOMPARE(cut(framer, hex("ff00209f0105"), 1), QList<QByteArray> { hex("209f0105") });
        QCOMPARE(framer.droppedBytes(), 2u);
        // A byte that is also the command's first: "20 20 9f" is read from the second 20.
        framer.requestWritten(Protocol::request(Message::RightVersion));
        QCOMPARE(cut(framer, hex("20"), 1), QList<QByteArray> {});
        QCOMPARE(cut(framer, hex("209f0207"), 4), QList<QByteArray> { hex("209f0207") });
        // Another kind's acknowledgement fits no awaited reply.
        framer.requestWritten(Protocol::request(Message::LeftEnd));
        QCOMPARE(cut(framer, hex("808000808300"), 2), QList<QByteArray> { hex("808300") });
    }

    // Two replies in one read are both read, and both go to the request in
    // flight: a refused left start and then an accepted one.
    void twoRepliesInOneReadAreBothRead()
    {
        ReplyFramer framer;
        framer.requestWritten(Protocol::leftStart(1));
        QCOMPARE(cut(framer, hex("0301010103010100"), 8), (QList<QByteArray> { hex("03010101"), hex("03010100") }));
    }

    // Bytes received before a request was written answer nothing of it: a
    // copy glued to its original, or a longer reply's tail, is dropped when
    // the next request goes out.
    void whatArrivedBeforeARequestAnswersNothingOfIt()
    {
        ReplyFramer framer;
        framer.requestWritten(Protocol::dataPacket(Message::LeftProgram, 0, QByteArray(32, 'a')));
        framer.append(hex("808000808000"));
        QCOMPARE(framer.next(), std::optional<QByteArray>(hex("808000")));
        // The handler writes the next packet before it looks again.
        framer.requestWritten(Protocol::dataPacket(Message::LeftProgram, 32, QByteArray(32, 'b')));
        QCOMPARE(framer.next(), std::nullopt);
        QCOMPARE(framer.droppedBytes(), 3u);
        QCOMPARE(cut(framer, hex("808000"), 1), QList<QByteArray> { hex("808000") });

        // A reply longer than its row: the row is read, the rest dropped.
        framer.requestWritten(Protocol::request(Message::RightEnd));
        QCOMPARE(cut(framer, hex("209300209300aa"), 7), (QList<QByteArray> { hex("209300"), hex("209300") }));
        framer.requestWritten(Protocol::request(Message::RightStart));
        QCOMPARE(cut(framer, hex("209e00"), 3), QList<QByteArray> { hex("209e00") });
    }

    // The device information record has no command bytes: it is the first
    // 22 bytes after its request, a longer one's further bytes answer
    // nothing, and nothing more is cut until the next request.
    void theDeviceInformationRecordIsTheFirstBytesAfterItsRequest()
    {
        const QByteArray record = QByteArray(22, '\x11');
        ReplyFramer framer;
        framer.append(hex("ffff")); // before any request: nothing to answer
        QCOMPARE(framer.next(), std::nullopt);
        QCOMPARE(framer.droppedBytes(), 2u);
        framer.requestWritten(Protocol::request(Message::DeviceInformation));
        QCOMPARE(cut(framer, record + QByteArray(30, '\x22'), 5), QList<QByteArray> { record });
        QVERIFY(!framer.next());
        QCOMPARE(framer.droppedBytes(), 32u);
        // Bytes that name no request await nothing.
        framer.requestWritten(hex("7777"));
        QVERIFY(!framer.awaited());
        QCOMPARE(cut(framer, hex("209f0105"), 4), QList<QByteArray> {});
    }

    // A peer that streams bytes that fit nothing never grows the buffer
    // beyond its bound, and the reply after the noise is still read.
    void endlessNoiseIsBounded()
    {
        ReplyFramer framer;
        framer.requestWritten(Protocol::request(Message::DeviceInformation));
        framer.append(QByteArray(10, '\x5a'));
        framer.requestWritten(Protocol::request(Message::RightVersion));
        for (int i = 0; i < 100; ++i) {
            framer.append(QByteArray(1000, '\x20'));
            QVERIFY(!framer.next());
        }
        QCOMPARE(cut(framer, hex("9f0105"), 3), QList<QByteArray> { hex("209f0105") });
        framer.requestWritten(Protocol::request(Message::DeviceInformation));
        framer.append(QByteArray(ReplyFramer::kMaxBuffered * 2, '\x01'));
        QVERIFY(framer.droppedBytes() >= quint64(ReplyFramer::kMaxBuffered));
    }
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
