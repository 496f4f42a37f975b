#pragma once

#include "upgrade/ControllerProtocol.h"

#include <QByteArray>

#include <optional>

// Cuts the controller's replies out of the byte stream of one session. A
// byte stream keeps no message boundaries: a reply may arrive in pieces of
// any size, glued to another, twice, or behind bytes of noise. The framer
// knows the request in flight (the last one written) and cuts the reply to it
// by the reply table (ControllerProtocol::replySize):
// - a reply that begins with command bytes begins where the request's own
//   command bytes next appear; the bytes before them are dropped;
// - the device information record, which has none, is the first
//   kDeviceInformationSize bytes that arrive after its request, and bytes
//   after it are dropped until the next request;
// - a reply longer than its row is cut at the row; its further bytes are
//   dropped as they fit no reply.
// Bytes that arrived before a request was written cannot answer it: they are
// dropped when it is written (a copy glued to its original, the tail of a
// longer reply, a late answer to an earlier request). docs/protocol.md has
// the rules.
class ReplyFramer {
public:
    // More than a reply's worth that answers nothing is noise.
    static constexpr qsizetype kMaxBuffered = 4096;

    // The request that was just written: its reply is awaited from now on.
    void requestWritten(const QByteArray& request);
    // Bytes as the session read them.
    void append(const QByteArray& bytes);
    // The next whole reply to the request in flight; none until its last byte is there.
    std::optional<QByteArray> next();
    // Drops what has been received (a new attachment's bytes never join an
    // earlier one's); the request in flight stays awaited.
    void dropReceived();

    // The kind whose reply is awaited; none before any request, or after
    // bytes that name no request.
    std::optional<ControllerProtocol::Message> awaited() const { return m_awaited; }
    // How many bytes were dropped so far because they fit no awaited reply.
    quint64 droppedBytes() const { return m_dropped; }

private:
    void drop(qsizetype count);

    std::optional<ControllerProtocol::Message> m_awaited;
    // The awaited reply has no command bytes and has been cut: nothing more answers the request.
    bool m_answered = false;
    QByteArray m_buffer;
    quint64 m_dropped = 0;
};
