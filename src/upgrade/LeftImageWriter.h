#pragma once

#include "upgrade/ControllerProtocol.h"
#include "upgrade/ImageWriter.h"

// Writes the left image or the boot loader, both through the left side's
// exchange: the start command (upon which the controller erases its flash)
// and the length, a programming pass of data packets, a verifying pass of the
// whole image again, and the end command, upon which the controller commits
// its flash and restarts. Nothing is resent on this side.
class LeftImageWriter : public ImageWriter {
public:
    // image: the left image or the boot loader.
    LeftImageWriter(UpgradePlan::Image image, std::optional<QByteArray> file, Link link);

    void start() override;

private:
    void startVerifying();
    // The next data packet of the pass: a full one, or the short last one.
    void sendNext(ControllerProtocol::Message kind, bool verifying);
    void sendPacket(ControllerProtocol::Message kind, bool last, bool verifying);
    void sendEnd();
};
