#include "upgrade/RequestChannel.h"

#include "accessory/EADSessionController.h"
#include "platform/runtime/NotificationCenter.h"

#include <utility>

void RequestChannel::Asker::send(const QByteArray& request, ReplyHandler handler)
{
    RequestChannel& channel = m_channel;
    channel.m_session.writeData(request);
    // Bytes received before this request cannot answer it.
    channel.m_replies.requestWritten(request);
    if (channel.m_linkTap)
        channel.m_linkTap(true, request);
    channel.m_asker = this;
    channel.m_handler = std::move(handler);
}

void RequestChannel::Asker::answered()
{
    if (m_channel.m_asker != this)
        return;
    m_channel.m_asker = nullptr;
    m_channel.m_handler = nullptr;
}

RequestChannel::RequestChannel(EADSessionController& session)
    : m_session(session)
{
    NotificationCenter::defaultCenter().addObserver(
        this, EADSessionDataReceivedNotification, [this](const Notification& n) { received(n); });
}

RequestChannel::~RequestChannel()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void RequestChannel::received(const Notification& notification)
{
    // Another attachment's session: its bytes are not this channel's to take.
    if (EADSessionController::sessionOf(notification) != &m_session)
        return;
    // The bytes of an earlier attachment never join a reply of this one (a
    // session opened again on the same attachment goes on with its bytes).
    const quint64 attachment = m_session.accessory() ? m_session.accessory()->connectionID() : 0;
    if (attachment != m_framedAttachment) {
        m_replies.dropReceived();
        m_framedAttachment = attachment;
    }
    for (quint64 n = m_session.readBytesAvailable(); n > 0; n = m_session.readBytesAvailable()) {
        const QByteArray bytes = m_session.readData(n);
        if (bytes.isNull())
            break;
        if (m_linkTap)
            m_linkTap(false, bytes);
        m_replies.append(bytes);
    }
    // Each whole reply to the handler current when it is cut. A handler may
    // write the next request (which drops what arrived before it), take its
    // answer, or drop its asker: the handler called is a copy.
    while (const std::optional<QByteArray> reply = m_replies.next()) {
        if (!m_asker || !m_handler)
            continue;
        const ReplyHandler handler = m_handler;
        handler(*reply);
    }
}
