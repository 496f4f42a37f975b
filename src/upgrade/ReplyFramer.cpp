#include "upgrade/ReplyFramer.h"

#include <utility>

void ReplyFramer::requestWritten(const QByteArray& request)
{
    drop(m_buffer.size());
    m_answered = false;
    m_awaited = request.size() >= ControllerProtocol::kCommandSize
        ? ControllerProtocol::messageFor(uint8_t(request.at(0)), uint8_t(request.at(1)))
        : std::nullopt;
}

void ReplyFramer::append(const QByteArray& bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() > kMaxBuffered)
        drop(m_buffer.size() - kMaxBuffered);
}

void ReplyFramer::dropReceived()
{
    drop(m_buffer.size());
}

void ReplyFramer::drop(qsizetype count)
{
    m_dropped += quint64(count);
    m_buffer.remove(0, count);
}

std::optional<QByteArray> ReplyFramer::next()
{
    if (!m_awaited || m_answered) {
        drop(m_buffer.size()); // nothing asked that they could answer
        return std::nullopt;
    }
    const ControllerProtocol::Message kind = *m_awaited;
    const qsizetype size = ControllerProtocol::replySize(kind);
    if (ControllerProtocol::replyHasCommandBytes(kind)) {
        const char command[] = { char(ControllerProtocol::highByte(kind)), char(ControllerProtocol::lowByte(kind)) };
        const qsizetype at = m_buffer.indexOf(QByteArrayView(command, ControllerProtocol::kCommandSize));
        if (at < 0) {
            // Resynchronise: only a last byte that may begin the command bytes is kept.
            const bool keepLast = !m_buffer.isEmpty() && m_buffer.back() == command[0];
            drop(m_buffer.size() - (keepLast ? 1 : 0));
            return std::nullopt;
        }
        drop(at);
    } else {
        if (m_buffer.size() >= size)
            m_answered = true;
    }
    if (m_buffer.size() < size)
        return std::nullopt;
    // The usual case, a reply read whole and alone, is handed on as it is:
    // cutting it from a buffer it shares would copy what is left.
    if (m_buffer.size() == size)
        return std::exchange(m_buffer, QByteArray());
    QByteArray reply = m_buffer.left(size);
    m_buffer.remove(0, size);
    return reply;
}
