#pragma once

#include "upgrade/ReplyFramer.h"

#include <QByteArray>

#include <functional>

class EADSessionController;
struct Notification;

// The requests and replies of one session. Requests are written to the
// session; the replies, cut whole from its byte stream by the reply table
// (ReplyFramer) however the link cut or glued them, go to whoever asked the
// request in flight, while it lives.
//
// Whoever asks holds an Asker. A reply reaches the handler of the last
// request written, and only while the Asker that wrote it lives and has not
// taken its answer: a question dropped (its query abandoned, its writer
// cancelled) takes its late replies and its copies with it, with no counter
// to compare.
class RequestChannel {
public:
    using ReplyHandler = std::function<void(const QByteArray& reply)>;
    // Observes every request written and every piece of bytes read, as they happen.
    using LinkTap = std::function<void(bool written, const QByteArray& bytes)>;

    class Asker {
    public:
        explicit Asker(RequestChannel& channel)
            : m_channel(channel)
        {
        }
        ~Asker() { answered(); }
        Asker(const Asker&) = delete;
        Asker& operator=(const Asker&) = delete;

        // Writes a request; its replies go to handler until another request
        // is written, this asker takes its answer, or it is dropped.
        void send(const QByteArray& request, ReplyHandler handler);
        // The request in flight took its answer: later replies to it (a
        // copy, a late one) reach no one.
        void answered();

    private:
        RequestChannel& m_channel;
    };

    // Listens to the session's arrivals from now until it is dropped.
    explicit RequestChannel(EADSessionController& session);
    ~RequestChannel();
    RequestChannel(const RequestChannel&) = delete;
    RequestChannel& operator=(const RequestChannel&) = delete;

    void setLinkTap(LinkTap tap) { m_linkTap = std::move(tap); }

private:
    void received(const Notification& notification);

    EADSessionController& m_session;
    ReplyFramer m_replies;
    // The attachment (connection) the bytes in the framer came from.
    quint64 m_framedAttachment = 0;
    // Who asked the request in flight, and its handler; null once nobody waits.
    Asker* m_asker = nullptr;
    ReplyHandler m_handler;
    LinkTap m_linkTap;
};
