// The controller's byte protocol: the bytes of every message kind, the
// acknowledgements as the host reads them, and the region rule of the boot
// loader, pinned against the tables in docs/protocol.md.
#include "upgrade/ControllerProtocol.h"
#include "upgrade/DeviceInformation.h"

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
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
