#pragma once

#include "upgrade/TransferState.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeReason.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <optional>

// Writes one image to the controller, from its first message to the
// acknowledgement of its end; RightImageWriter and LeftImageWriter hold the
// two exchanges. A writer reaches the controller and its owner only through
// what it is given, and dropping it is its cancellation: every reply handler
// it installed answers nothing more and nothing it scheduled fires.
class ImageWriter {
public:
    using ReplyHandler = std::function<void(const QByteArray& reply)>;

    // What a writer is given.
    struct Link {
        // Writes a request; each reply framed whole from the stream goes to
        // the handler until a later request installs another.
        std::function<void(const QByteArray& request, ReplyHandler handler)> write;
        // The share of the image's own band sent so far, from 0 to 1 (the
        // left side's two passes each fill half of it).
        std::function<void(double fraction)> progress;
        // The controller answered: its silence counts again from now, with
        // the longer limit while it erases or commits its flash.
        std::function<void(bool flashPhase)> touch;
        // The controller acknowledged the end of the image.
        std::function<void()> endAcknowledged;
        // The image cannot be written; nothing more is sent.
        std::function<void(const UpgradeReason& reason)> failed;
        // The controller refused a start command (the writer goes on waiting).
        std::function<void()> startRefused;
    };

    virtual ~ImageWriter();
    ImageWriter(const ImageWriter&) = delete;
    ImageWriter& operator=(const ImageWriter&) = delete;

    UpgradePlan::Image image() const { return m_image; }
    // Sends the image's first message; the replies drive the rest.
    virtual void start() = 0;

protected:
    // file: the image file as TransferState::readFile read it.
    ImageWriter(UpgradePlan::Image image, std::optional<QByteArray> file, Link link);

    // Loads the image and resets the counters (each pass starts so); false
    // when it cannot be sent, after the failure was reported.
    bool load();
    // Writes a request whose replies go to handler while this writer lives.
    void write(const QByteArray& request, ReplyHandler handler);
    void touch(bool flashPhase = false);
    // The image is done or failed: no handler answers and nothing is written
    // any more. A hook that may drop the writer comes last, and nothing of
    // the writer is touched after it.
    void finish();
    // Whether the writer still lives and goes on.
    [[nodiscard]] bool reportProgress(double fraction);
    void acknowledgeEnd();
    void fail(const UpgradeReason& reason);
    void refuseStart();

    bool isBootLoader() const { return m_image == UpgradePlan::Image::BootLoader; }

    TransferState m_state;

private:
    UpgradePlan::Image m_image;
    std::optional<QByteArray> m_file;
    Link m_link;
    // Handlers hold it weakly: they answer only while it lives.
    std::shared_ptr<const bool> m_live;
};
