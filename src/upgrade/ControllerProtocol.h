#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

struct DeviceInformation;

// The controller's byte protocol, in one place: the message kinds and their
// bytes, the builders of every request and reply, and the parsers of both.
// The engine builds requests and reads replies with it; the simulated
// controller reads requests and builds replies with it. It holds no state and
// makes no choice of what to send when: that is the engine's.
//
// Every message begins with two command bytes. Data packets (right data,
// left program, left verify) carry a 3-byte header after them (payload length,
// 16-bit little-endian offset) and up to kPayloadSize bytes; every other
// request has a fixed size. docs/protocol.md has the tables.
class ControllerProtocol {
public:
    // The two command bytes of each message kind, high byte first.
    enum class Message : uint16_t {
        RightVersion = 0x209F,
        RightStart = 0x209E,
        RightData = 0x2090,
        RightChecksum = 0x2092,
        RightEnd = 0x2093,
        DeviceInformation = 0x0101,
        LeftStart = 0x0301,
        LeftLength = 0x8081,
        LeftProgram = 0x8080,
        LeftVerify = 0x8082,
        LeftEnd = 0x8083,
    };

    // The status byte of an acknowledgement.
    static constexpr uint8_t kStatusOk = 0x00;
    static constexpr uint8_t kStatusRefused = 0x01;

    // The third byte of the left start command: which region of the left side
    // the exchange writes.
    static constexpr uint8_t kTargetLeftApplication = 0x01;
    static constexpr uint8_t kTargetBootLoader = 0x02;

    // Data packets.
    static constexpr int kCommandSize = 2;
    static constexpr int kPayloadSize = 32;
    static constexpr int kDataHeaderSize = 5; // command bytes, length, 16-bit offset
    static constexpr int kRightDataAckSize = 7;
    // The offset and length fields carry 16 bits.
    static constexpr quint64 kMaxRegionSize = 0xFFFF;

    // The boot loader file holds more than the boot loader: its region begins
    // this far into the file. Its full packet 0 (at the start of either pass)
    // carries the file's first kPacketZeroHeadBytes bytes in place of the
    // region's first ones.
    static constexpr quint64 kBootRegionOffset = 0xE800;
    static constexpr int kPacketZeroHeadBytes = 4;

    // Reply sizes the host needs before it reads a field.
    static constexpr int kRightVersionReplySize = 4;
    static constexpr int kAckSize = 3;
    static constexpr int kLeftStartAckSize = 4;

    // Fixed request sizes.
    static constexpr int kLeftStartSize = 3;
    static constexpr int kLeftLengthSize = 4;
    static constexpr int kRightChecksumSize = 10;

    // The device information reply: at least this long; bytes 10 and 21 carry
    // nothing the host reads.
    static constexpr int kDeviceInformationSize = 22;

    static constexpr uint8_t highByte(Message m) { return uint8_t(uint16_t(m) >> 8); }
    static constexpr uint8_t lowByte(Message m) { return uint8_t(uint16_t(m) & 0xFF); }
    // The message kind two command bytes name; none for bytes that name none.
    static std::optional<Message> messageFor(uint8_t first, uint8_t second);
    // Whether a message may begin with this byte.
    static bool isFirstCommandByte(uint8_t first);
    static bool isDataPacket(Message m);
    // The whole size of a request of a fixed-size kind; 0 for data packets.
    static int fixedRequestSize(Message m);

    // Where the next request lies in a stream of request bytes from pos on:
    // more bytes are needed, one or two bytes there begin no request (they
    // are skipped), or a whole request of *length bytes begins there.
    enum class RequestFrame { NeedMore, Skip1, Skip2, Request };
    static RequestFrame frameRequest(const QByteArray& input, qsizetype pos, qsizetype* length);

    // The reply table, by the request it answers: the size of its row (a
    // longer reply's further bytes are not read) and whether it begins with
    // the request's own command bytes, as every reply but the device
    // information record does.
    static int replySize(Message request);
    static bool replyHasCommandBytes(Message request);

    // Requests (host to controller) ----------------------------------------

    // A request that is its two command bytes alone: the version and device
    // information requests, the right start, the right and left ends.
    static QByteArray request(Message m);
    static QByteArray leftStart(uint8_t target);
    // The region's length, its low 16 bits.
    static QByteArray leftLength(quint64 bytes);
    // The sum of every image byte sent (modulo 2^32) and the image's length.
    static QByteArray rightChecksum(quint64 sum, quint64 bytes);
    // Writes a data packet's header into out (kDataHeaderSize bytes); the
    // offset carries its low 16 bits.
    static void writeDataHeader(uint8_t* out, Message m, uint8_t length, quint64 offset);
    // The image bytes of data packet `index` of a pass, copied into payload
    // (length bytes, at most kPayloadSize), by the region rule: the boot
    // loader's region begins kBootRegionOffset bytes into the file, and its
    // full packet 0 takes the file's first bytes.
    static void copyPayload(uint8_t* payload, const uint8_t* file, quint64 index, quint64 length, bool bootLoader);
    static QByteArray dataPacket(Message m, quint64 offset, const QByteArray& payload);

    // Replies (controller to host) -----------------------------------------

    static QByteArray rightVersionReply(uint8_t major, uint8_t minor);
    static QByteArray deviceInformationReply(const DeviceInformation& record);
    // The three-byte acknowledgement: command bytes and status.
    static QByteArray acknowledgement(Message m, uint8_t status);
    static QByteArray leftStartReply(uint8_t target, uint8_t status);
    // Echoes the packet's length and offset bytes.
    static QByteArray rightDataReply(const QByteArray& packet, uint8_t status);

    // Reading replies (host) -----------------------------------------------

    // How a reply stands to a request of one kind.
    enum class Answer {
        Other, // not a reply to this kind (other command bytes, no status)
        Accepted, // the controller took the request
        Refused, // a reply to this kind with another status
    };
    // Any kind but the left start, whose reply also names its target.
    static Answer answerTo(Message m, const QByteArray& reply);
    static Answer answerToLeftStart(const QByteArray& reply, uint8_t target);
    // Whether the reply acknowledges this very right data packet: the status
    // is Ok and the packet's length and offset are echoed.
    static bool acknowledgesRightData(const QByteArray& reply, const QByteArray& packet);

    struct Version {
        uint8_t major = 0;
        uint8_t minor = 0;
    };
    // The right side's version; none when the reply is too short. Its command
    // bytes are not examined.
    static std::optional<Version> rightVersion(const QByteArray& reply);
    // Fills the record; false (and the record unchanged) when the reply is
    // too short.
    static bool readDeviceInformation(const QByteArray& reply, DeviceInformation& record);

    // Reading requests (controller) ----------------------------------------

    struct DataPacket {
        uint8_t length = 0;
        quint16 offset = 0;
        QByteArray payload;
    };
    static DataPacket readDataPacket(const QByteArray& request);
    struct Checksum {
        quint32 sum = 0;
        quint32 bytes = 0;
    };
    static Checksum readChecksum(const QByteArray& request);
    static quint16 readLeftLength(const QByteArray& request);
    static uint8_t readLeftStartTarget(const QByteArray& request);
};
