#include "upgrade/ImageTransfer.h"

#include "platform/runtime/MainQueue.h"

#include <utility>

ImageTransfer::ImageTransfer(UpgradePlan::Image image)
    : m_image(image)
{
}

ImageTransfer::~ImageTransfer()
{
    if (m_resend)
        m_resend->invalidate();
}

void ImageTransfer::scheduleResend(double seconds, std::function<void()> action)
{
    // One a message: the waiting resend is moved to the new message.
    if (m_resend && m_resend->rearm(seconds, std::move(action)))
        return;
    if (m_resend)
        m_resend->invalidate();
    m_resend = Timer::scheduledTimer(seconds, false, std::move(action));
}
