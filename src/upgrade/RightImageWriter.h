#pragma once

#include "upgrade/ImageWriter.h"

class Timer;

// Writes the right image: the start command, stop-and-wait data packets whose
// acknowledgements echo their length and offset, the checksum of every byte
// sent, and the end command. A data packet, the checksum or the end command
// that stays unanswered is written once more after kResendDelay.
class RightImageWriter : public ImageWriter {
public:
    static constexpr double kResendDelay = 2.0;

    RightImageWriter(std::optional<QByteArray> file, Link link);
    ~RightImageWriter() override;

    void start() override;

private:
    // The next data packet: a full one, or the short last one.
    void sendNext();
    void sendPacket(bool last);
    void sendChecksum();
    void sendEnd();
    // Writes the same bytes again once, with resendHandler, if no
    // acknowledgement moved the transfer on within kResendDelay.
    void armResend(const QByteArray& message, ReplyHandler resendHandler);

    std::shared_ptr<Timer> m_resend;
};
