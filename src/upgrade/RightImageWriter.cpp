#include "upgrade/RightImageWriter.h"

#include "platform/runtime/MainQueue.h"
#include "upgrade/ControllerProtocol.h"

#include <utility>

namespace {
using Message = ControllerProtocol::Message;
using Answer = ControllerProtocol::Answer;
}

RightImageWriter::RightImageWriter(std::optional<QByteArray> file, Link link)
    : ImageWriter(UpgradePlan::Image::Right, std::move(file), std::move(link))
{
}

RightImageWriter::~RightImageWriter()
{
    if (m_resend)
        m_resend->invalidate();
}

void RightImageWriter::start()
{
    if (!load())
        return;
    touch();
    if (!m_state.nextIsFull()) {
        // An image shorter than one packet goes out without a start command.
        sendNext();
        return;
    }
    // The start command announces an image of at least one full packet; its
    // acknowledgement sends packet 0. It has no resend.
    write(ControllerProtocol::request(Message::RightStart), [this](const QByteArray& reply) {
        if (ControllerProtocol::answerTo(Message::RightStart, reply) != Answer::Accepted)
            return;
        touch();
        sendPacket(false);
    });
}

void RightImageWriter::sendNext()
{
    if (m_state.nextIsFull()) {
        sendPacket(false);
    } else if (m_state.nextIsLast()) {
        if (!reportProgress(m_state.sentFraction()))
            return;
        sendPacket(true);
    }
}

void RightImageWriter::sendPacket(bool last)
{
    const QByteArray packet = m_state.buildPacket(Message::RightData, last, image());
    for (qsizetype i = qsizetype(TransferState::kPacketHeaderSize); i < packet.size(); ++i)
        m_state.kSendedDataSum += uint8_t(packet.at(i));
    ReplyHandler handler = [this, last](const QByteArray& reply) {
        TransferState& t = m_state;
        // The echo is compared with the packet most recently built, so a late
        // acknowledgement of an earlier packet does not count.
        if (!ControllerProtocol::acknowledgesRightData(reply, t.packet))
            return;
        touch();
        ++t.kSendedIndex;
        if (last) {
            sendChecksum();
            return;
        }
        t.kSendedBytes = t.kSendedIndex * TransferState::kPayloadSize;
        if (!reportProgress(t.sentFraction()))
            return;
        if (t.kSendedIndex + 1 < t.kPackageCount || t.nextIsLast())
            sendNext();
        else
            sendChecksum();
    };
    write(packet, handler);
    armResend(packet, handler);
}

void RightImageWriter::sendChecksum()
{
    m_state.kSendedDataSum &= 0xFFFFFFFFu;
    const QByteArray command = ControllerProtocol::rightChecksum(m_state.kSendedDataSum, m_state.kBytesCount);
    auto handle = [this](const QByteArray& reply, bool resent) {
        const Answer answer = ControllerProtocol::answerTo(Message::RightChecksum, reply);
        if (answer == Answer::Other)
            return;
        if (answer == Answer::Refused) {
            // The controller refuses the sum. The first refusal counts as no
            // answer: the resend check sends the command once more, as after
            // silence. A refusal of that copy means the image did not arrive
            // intact, and waiting longer cannot change it.
            if (resent)
                fail(UpgradeReason(UpgradeReason::Code::ChecksumRejected));
            return;
        }
        touch();
        ++m_state.kSendedIndex;
        sendEnd();
    };
    write(command, [handle](const QByteArray& reply) { handle(reply, false); });
    armResend(command, [handle](const QByteArray& reply) { handle(reply, true); });
}

void RightImageWriter::sendEnd()
{
    ReplyHandler handler = [this](const QByteArray& reply) {
        if (ControllerProtocol::answerTo(Message::RightEnd, reply) != Answer::Accepted)
            return;
        ++m_state.kSendedIndex;
        if (m_resend)
            m_resend->invalidate(); // the image is done: nothing of it may be resent
        acknowledgeEnd();
    };
    const QByteArray command = ControllerProtocol::request(Message::RightEnd);
    write(command, handler);
    armResend(command, handler);
}

void RightImageWriter::armResend(const QByteArray& message, ReplyHandler resendHandler)
{
    const quint64 index = m_state.kSendedIndex;
    // One message is in flight at a time: a newer one's resend replaces
    // this one's, moving the waiting timer rather than making one a message.
    auto resend = [this, message, resendHandler, index] {
        if (m_state.kSendedIndex == index)
            write(message, resendHandler); // once: the resend arms nothing further
    };
    if (m_resend && m_resend->rearm(kResendDelay, resend))
        return;
    if (m_resend)
        m_resend->invalidate();
    m_resend = Timer::scheduledTimer(kResendDelay, false, std::move(resend));
}
