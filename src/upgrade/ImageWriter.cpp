#include "upgrade/ImageWriter.h"

#include <utility>

ImageWriter::ImageWriter(UpgradePlan::Image image, std::optional<QByteArray> file, Link link)
    : m_image(image)
    , m_file(std::move(file))
    , m_link(std::move(link))
    , m_live(std::make_shared<const bool>(true))
{
}

ImageWriter::~ImageWriter() = default;

bool ImageWriter::load()
{
    if (m_state.load(m_file, m_image) == TransferState::LoadResult::Ok)
        return true;
    // Unreadable, empty, or too large for the 16-bit fields: nothing is sent.
    fail(UpgradeReason(UpgradeReason::Code::ImageInvalid));
    return false;
}

void ImageWriter::write(const QByteArray& request, ReplyHandler handler)
{
    if (!m_link.write || !m_live)
        return; // a finished writer sends nothing more
    const std::weak_ptr<const bool> live = m_live;
    m_link.write(request, [live, handler = std::move(handler)](const QByteArray& reply) {
        if (!live.expired() && handler)
            handler(reply);
    });
}

void ImageWriter::touch(bool flashPhase)
{
    if (m_link.touch)
        m_link.touch(flashPhase);
}

void ImageWriter::finish()
{
    m_live.reset();
}

// The hooks below may drop the writer: each is copied before it is called.

bool ImageWriter::reportProgress(double fraction)
{
    const std::weak_ptr<const bool> live = m_live;
    if (auto hook = m_link.progress; hook)
        hook(fraction);
    return !live.expired();
}

void ImageWriter::acknowledgeEnd()
{
    finish();
    if (auto hook = m_link.endAcknowledged; hook)
        hook();
}

void ImageWriter::fail(const UpgradeReason& reason)
{
    finish();
    if (auto hook = m_link.failed; hook)
        hook(reason);
}

void ImageWriter::refuseStart()
{
    if (auto hook = m_link.startRefused; hook)
        hook();
}
