#pragma once

#include "upgrade/UpgradePlan.h"

#include <functional>
#include <memory>

class Timer;

// One image on its way to the controller, from its start command to the
// acknowledgement of its end. The engine holds the one transfer under way;
// every reply handler and resend of the transfer holds only a weak reference
// to it, so dropping the transfer is its cancellation: its handlers answer
// nothing more and its resend never fires.
class ImageTransfer {
public:
    explicit ImageTransfer(UpgradePlan::Image image);
    ~ImageTransfer();
    ImageTransfer(const ImageTransfer&) = delete;
    ImageTransfer& operator=(const ImageTransfer&) = delete;

    UpgradePlan::Image image() const { return m_image; }

    // Runs action after seconds unless the transfer is dropped first or
    // another resend is scheduled (one message is in flight at a time).
    void scheduleResend(double seconds, std::function<void()> action);

    // Whether a handler's transfer is still the one under way.
    static bool isLive(const std::weak_ptr<ImageTransfer>& transfer) { return !transfer.expired(); }

private:
    UpgradePlan::Image m_image;
    std::shared_ptr<Timer> m_resend;
};
