#include "upgrade/LeftImageWriter.h"

#include <utility>

namespace {
using Message = ControllerProtocol::Message;
using Answer = ControllerProtocol::Answer;
}

LeftImageWriter::LeftImageWriter(UpgradePlan::Image image, std::optional<QByteArray> file, Link link)
    : ImageWriter(image, std::move(file), std::move(link))
{
}

void LeftImageWriter::start()
{
    if (!load())
        return;
    // A region of at least one full packet begins with the start command,
    // upon which the controller erases its flash.
    touch(m_state.nextIsFull());
    if (!m_state.nextIsFull()) {
        // A region shorter than one packet goes out without start and length commands.
        sendNext(Message::LeftProgram, false);
        return;
    }
    const uint8_t target
        = isBootLoader() ? ControllerProtocol::kTargetBootLoader : ControllerProtocol::kTargetLeftApplication;
    write(ControllerProtocol::leftStart(target), [this, target](const QByteArray& reply) {
        const Answer answer = ControllerProtocol::answerToLeftStart(reply, target);
        if (answer == Answer::Other)
            return; // no start reply at all (a late reply of an earlier query)
        if (answer == Answer::Refused) {
            // Each refusal is told; the handler stays current, so a matching
            // reply that follows still starts the image, and the silence limit
            // ends the run when none does.
            refuseStart();
            return;
        }
        touch();
        write(ControllerProtocol::leftLength(m_state.kBytesCount), [this](const QByteArray& r) {
            if (ControllerProtocol::answerTo(Message::LeftLength, r) != Answer::Accepted)
                return;
            touch();
            sendNext(Message::LeftProgram, false);
        });
    });
}

void LeftImageWriter::startVerifying()
{
    // The verifying pass sends the whole image again from its first byte.
    if (!load())
        return;
    sendNext(Message::LeftVerify, true);
}

void LeftImageWriter::sendNext(ControllerProtocol::Message kind, bool verifying)
{
    if (m_state.nextIsFull())
        sendPacket(kind, false, verifying);
    else if (m_state.nextIsLast())
        sendPacket(kind, true, verifying);
}

void LeftImageWriter::sendPacket(ControllerProtocol::Message kind, bool last, bool verifying)
{
    const QByteArray& packet = m_state.buildPacket(kind, last, image());
    write(packet, [this, kind, last, verifying](const QByteArray& reply) {
        TransferState& t = m_state;
        // No echo on this side: any acknowledgement of the kind is the packet's in flight.
        if (ControllerProtocol::answerTo(kind, reply) != Answer::Accepted)
            return;
        touch();
        ++t.kSendedIndex;
        t.kSendedBytes = t.kSendedIndex * TransferState::kPayloadSize;
        // Each pass fills half of the image's band. g is exact in double: f
        // has a single-precision mantissa.
        const double fraction = t.sentFraction() / 2.0;
        if (!reportProgress(verifying ? fraction + 0.5 : fraction))
            return;
        const bool more = !last && (t.kSendedIndex + 1 < t.kPackageCount || t.nextIsLast());
        if (more)
            sendNext(kind, verifying);
        else if (verifying)
            sendEnd();
        else
            startVerifying();
    });
}

void LeftImageWriter::sendEnd()
{
    // The controller commits the image to flash before it acknowledges.
    touch(true);
    write(ControllerProtocol::request(Message::LeftEnd), [this](const QByteArray& reply) {
        if (ControllerProtocol::answerTo(Message::LeftEnd, reply) != Answer::Accepted)
            return;
        acknowledgeEnd();
    });
}
