#include "upgrade/ControllerProtocol.h"

#include "upgrade/DeviceInformation.h"

namespace {

using Message = ControllerProtocol::Message;

uint8_t at(const QByteArray& bytes, qsizetype i)
{
    return uint8_t(bytes.at(i));
}

QByteArray command(Message m, qsizetype size)
{
    QByteArray out(size, '\0');
    out[0] = char(ControllerProtocol::highByte(m));
    out[1] = char(ControllerProtocol::lowByte(m));
    return out;
}

bool hasCommand(const QByteArray& bytes, Message m)
{
    return bytes.size() >= ControllerProtocol::kCommandSize && at(bytes, 0) == ControllerProtocol::highByte(m)
        && at(bytes, 1) == ControllerProtocol::lowByte(m);
}

void putLittleEndian(QByteArray& out, qsizetype at, quint64 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = char(uint8_t(value >> (8 * i)));
}

quint32 littleEndian(const QByteArray& in, qsizetype from, int bytes)
{
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= quint32(at(in, from + i)) << (8 * i);
    return value;
}

// Where the device information reply keeps each field. The two-byte versions
// are minor first, except the boot loader's, which is major first.
namespace Layout {
    constexpr int kAddress = 0;
    constexpr int kAddressSize = 6;
    constexpr int kHardware = 6;
    constexpr int kBluetooth = 8;
    constexpr int kSoftware = 11;
    constexpr int kYear = 13;
    constexpr int kMonth = 15;
    constexpr int kDay = 16;
    constexpr int kProtocol = 17;
    constexpr int kBootSoftware = 19;
} // namespace Layout

} // namespace

std::optional<ControllerProtocol::Message> ControllerProtocol::messageFor(uint8_t first, uint8_t second)
{
    static constexpr Message kAll[] = { Message::RightVersion, Message::RightStart, Message::RightData,
        Message::RightChecksum, Message::RightEnd, Message::DeviceInformation, Message::LeftStart, Message::LeftLength,
        Message::LeftProgram, Message::LeftVerify, Message::LeftEnd };
    for (Message m : kAll)
        if (highByte(m) == first && lowByte(m) == second)
            return m;
    return std::nullopt;
}

bool ControllerProtocol::isFirstCommandByte(uint8_t first)
{
    return first == highByte(Message::RightStart) || first == highByte(Message::DeviceInformation)
        || first == highByte(Message::LeftStart) || first == highByte(Message::LeftEnd);
}

bool ControllerProtocol::isDataPacket(Message m)
{
    return m == Message::RightData || m == Message::LeftProgram || m == Message::LeftVerify;
}

int ControllerProtocol::fixedRequestSize(Message m)
{
    switch (m) {
    case Message::RightChecksum:
        return kRightChecksumSize;
    case Message::LeftStart:
        return kLeftStartSize;
    case Message::LeftLength:
        return kLeftLengthSize;
    case Message::RightData:
    case Message::LeftProgram:
    case Message::LeftVerify:
        return 0;
    default:
        return kCommandSize;
    }
}

ControllerProtocol::RequestFrame ControllerProtocol::frameRequest(
    const QByteArray& input, qsizetype pos, qsizetype* length)
{
    const qsizetype avail = input.size() - pos;
    if (avail < 1)
        return RequestFrame::NeedMore;
    if (!isFirstCommandByte(at(input, pos)))
        return RequestFrame::Skip1;
    if (avail < kCommandSize)
        return RequestFrame::NeedMore;
    const std::optional<Message> kind = messageFor(at(input, pos), at(input, pos + 1));
    if (!kind)
        return RequestFrame::Skip1;
    qsizetype size = fixedRequestSize(*kind);
    if (isDataPacket(*kind)) {
        if (avail < kCommandSize + 1)
            return RequestFrame::NeedMore;
        const int payload = at(input, pos + 2);
        if (payload > kPayloadSize)
            return RequestFrame::Skip2;
        size = kDataHeaderSize + payload;
    }
    if (avail < size)
        return RequestFrame::NeedMore;
    *length = size;
    return RequestFrame::Request;
}

int ControllerProtocol::replySize(Message request)
{
    switch (request) {
    case Message::RightVersion:
        return kRightVersionReplySize;
    case Message::DeviceInformation:
        return kDeviceInformationSize;
    case Message::RightData:
        return kRightDataAckSize;
    case Message::LeftStart:
        return kLeftStartAckSize;
    default:
        return kAckSize;
    }
}

bool ControllerProtocol::replyHasCommandBytes(Message request)
{
    return request != Message::DeviceInformation;
}

// Requests -------------------------------------------------------------------

QByteArray ControllerProtocol::request(Message m)
{
    return command(m, kCommandSize);
}

QByteArray ControllerProtocol::leftStart(uint8_t target)
{
    QByteArray out = command(Message::LeftStart, kLeftStartSize);
    out[2] = char(target);
    return out;
}

QByteArray ControllerProtocol::leftLength(quint64 bytes)
{
    QByteArray out = command(Message::LeftLength, kLeftLengthSize);
    putLittleEndian(out, kCommandSize, bytes, 2);
    return out;
}

QByteArray ControllerProtocol::rightChecksum(quint64 sum, quint64 bytes)
{
    QByteArray out = command(Message::RightChecksum, kRightChecksumSize);
    putLittleEndian(out, kCommandSize, sum, 4);
    putLittleEndian(out, kCommandSize + 4, bytes, 4);
    return out;
}

void ControllerProtocol::writeDataHeader(uint8_t* out, Message m, uint8_t length, quint64 offset)
{
    out[0] = highByte(m);
    out[1] = lowByte(m);
    out[2] = length;
    out[3] = uint8_t(offset & 0xFF);
    out[4] = uint8_t((offset >> 8) & 0xFF);
}

void ControllerProtocol::copyPayload(
    uint8_t* payload, const uint8_t* file, quint64 index, quint64 length, bool bootLoader)
{
    const quint64 start = (bootLoader ? kBootRegionOffset : 0) + index * quint64(kPayloadSize);
    for (quint64 j = 0; j < length; ++j)
        payload[j] = file[start + j];
    // The boot loader takes the file's own first bytes in a full packet 0;
    // a short packet 0 (a region under one packet) takes its region's.
    if (bootLoader && index == 0 && length == quint64(kPayloadSize))
        for (int j = 0; j < kPacketZeroHeadBytes; ++j)
            payload[j] = file[j];
}

QByteArray ControllerProtocol::dataPacket(Message m, quint64 offset, const QByteArray& payload)
{
    QByteArray out(kDataHeaderSize, '\0');
    writeDataHeader(reinterpret_cast<uint8_t*>(out.data()), m, uint8_t(payload.size()), offset);
    return out + payload;
}

// Replies ----------------------------------------------------------------------

QByteArray ControllerProtocol::rightVersionReply(uint8_t major, uint8_t minor)
{
    QByteArray out = command(Message::RightVersion, kRightVersionReplySize);
    out[2] = char(major);
    out[3] = char(minor);
    return out;
}

QByteArray ControllerProtocol::deviceInformationReply(const DeviceInformation& record)
{
    QByteArray r(kDeviceInformationSize, '\0');
    for (int i = 0; i < Layout::kAddressSize; ++i)
        r[Layout::kAddress + i] = char(record.local_bt_addr[i]);
    auto pair = [&r](int at, const uint8_t(&field)[2]) {
        r[at] = char(field[0]);
        r[at + 1] = char(field[1]);
    };
    pair(Layout::kHardware, record.hardwarev_ver);
    pair(Layout::kBluetooth, record.bluetooth_ver);
    pair(Layout::kSoftware, record.software_ver);
    putLittleEndian(r, Layout::kYear, record.year, 2);
    r[Layout::kMonth] = char(record.month);
    r[Layout::kDay] = char(record.day);
    pair(Layout::kProtocol, record.gcmprotocol_ver);
    pair(Layout::kBootSoftware, record.bootsoftware_ver);
    return r;
}

QByteArray ControllerProtocol::acknowledgement(Message m, uint8_t status)
{
    QByteArray out = command(m, kAckSize);
    out[2] = char(status);
    return out;
}

QByteArray ControllerProtocol::leftStartReply(uint8_t target, uint8_t status)
{
    QByteArray out = command(Message::LeftStart, kLeftStartAckSize);
    out[2] = char(target);
    out[3] = char(status);
    return out;
}

QByteArray ControllerProtocol::rightDataReply(const QByteArray& packet, uint8_t status)
{
    QByteArray out = command(Message::RightData, kRightDataAckSize);
    out[2] = char(status);
    // Byte 3 carries nothing; the packet's length and offset follow.
    out.replace(4, 3, packet.mid(2, 3));
    return out;
}

// Reading replies --------------------------------------------------------------

ControllerProtocol::Answer ControllerProtocol::answerTo(Message m, const QByteArray& reply)
{
    // Command bytes without a status answer nothing.
    if (!hasCommand(reply, m) || reply.size() < kAckSize)
        return Answer::Other;
    return at(reply, 2) == kStatusOk ? Answer::Accepted : Answer::Refused;
}

ControllerProtocol::Answer ControllerProtocol::answerToLeftStart(const QByteArray& reply, uint8_t target)
{
    if (!hasCommand(reply, Message::LeftStart))
        return Answer::Other;
    // A start of the other region, or no status at all, is no acceptance.
    const bool accepted = reply.size() >= kLeftStartAckSize && at(reply, 2) == target && at(reply, 3) == kStatusOk;
    return accepted ? Answer::Accepted : Answer::Refused;
}

bool ControllerProtocol::acknowledgesRightData(const QByteArray& reply, const QByteArray& packet)
{
    return reply.size() >= kRightDataAckSize && answerTo(Message::RightData, reply) == Answer::Accepted
        && packet.size() >= kDataHeaderSize && reply.mid(4, 3) == packet.mid(2, 3);
}

std::optional<ControllerProtocol::Version> ControllerProtocol::rightVersion(const QByteArray& reply)
{
    if (reply.size() < kRightVersionReplySize)
        return std::nullopt;
    return Version { at(reply, 2), at(reply, 3) };
}

bool ControllerProtocol::readDeviceInformation(const QByteArray& reply, DeviceInformation& record)
{
    if (reply.size() < kDeviceInformationSize)
        return false;
    for (int i = 0; i < Layout::kAddressSize; ++i)
        record.local_bt_addr[i] = at(reply, Layout::kAddress + i);
    auto pair = [&reply](int from, uint8_t(&field)[2]) {
        field[0] = at(reply, from);
        field[1] = at(reply, from + 1);
    };
    pair(Layout::kHardware, record.hardwarev_ver);
    pair(Layout::kBluetooth, record.bluetooth_ver);
    pair(Layout::kSoftware, record.software_ver);
    record.year = uint16_t(littleEndian(reply, Layout::kYear, 2));
    record.month = at(reply, Layout::kMonth);
    record.day = at(reply, Layout::kDay);
    pair(Layout::kProtocol, record.gcmprotocol_ver);
    pair(Layout::kBootSoftware, record.bootsoftware_ver);
    return true;
}

// Reading requests -------------------------------------------------------------

ControllerProtocol::DataPacket ControllerProtocol::readDataPacket(const QByteArray& request)
{
    DataPacket packet;
    packet.length = at(request, 2);
    packet.offset = quint16(littleEndian(request, 3, 2));
    packet.payload = request.mid(kDataHeaderSize);
    return packet;
}

ControllerProtocol::Checksum ControllerProtocol::readChecksum(const QByteArray& request)
{
    return Checksum { littleEndian(request, kCommandSize, 4), littleEndian(request, kCommandSize + 4, 4) };
}

quint16 ControllerProtocol::readLeftLength(const QByteArray& request)
{
    return quint16(littleEndian(request, kCommandSize, 2));
}

uint8_t ControllerProtocol::readLeftStartTarget(const QByteArray& request)
{
    return at(request, 2);
}
