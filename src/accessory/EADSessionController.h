#pragma once

#include "platform/transport/ByteStream.h"
#include "platform/transport/EAAccessory.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <memory>

class EASession;
struct Notification;

extern const QString EADSessionDataReceivedNotification;

// A byte pipe between the application and a controller's accessory
// interface: queues outgoing bytes until the output stream takes them, gathers
// incoming bytes and announces every arrival with
// EADSessionDataReceivedNotification, whose object is the controller it came
// from (sessionOf reads it back). It knows nothing of packet formats.
// sharedController() is the one the application's screens follow; every other
// attachment may have its own.
class EADSessionController : public EAAccessoryDelegate, public StreamDelegate {
public:
    static constexpr int kReadChunkSize = 128;

    static EADSessionController& sharedController();
    EADSessionController() = default;
    ~EADSessionController() override;
    EADSessionController(const EADSessionController&) = delete;
    EADSessionController& operator=(const EADSessionController&) = delete;
    // The session controller a data notification came from; null for another notification.
    static EADSessionController* sessionOf(const Notification& notification);

    void setupControllerForAccessory(const EAAccessoryPtr& accessory, const QString& protocolString);
    bool openSession();
    void closeSession();

    void writeData(const QByteArray& data);
    // Drops the messages queued that the output stream has not begun to take;
    // one it has taken part of is finished.
    void discardQueuedData();
    quint64 queuedBytes() const { return m_writeData ? quint64(m_writeData->size()) : 0; }
    quint64 readBytesAvailable() const;
    // Removes and returns the first n bytes of the receive buffer; null while
    // no buffer exists. n is clamped to what is available.
    QByteArray readData(quint64 n);

    EAAccessoryPtr accessory() const { return m_accessory; }
    QString protocolString() const { return m_protocolString; }
    std::shared_ptr<EASession> session() const { return m_session; }
    void setSession(const std::shared_ptr<EASession>& session) { m_session = session; }

    void streamHandleEvent(ByteStream* stream, StreamEvent event) override;
    void accessoryDidDisconnect(EAAccessory* accessory) override;

private:
    void _writeData();
    void _readData();
    void readOnce();
    void closeStreams();

    EAAccessoryPtr m_accessory;
    QString m_protocolString;
    std::shared_ptr<EASession> m_session;
    // Transmit queue and receive buffer; null until first used, dropped by closeSession.
    std::unique_ptr<QByteArray> m_writeData;
    std::unique_ptr<QByteArray> m_readData;
    // The sizes of the messages in the transmit queue, oldest first, and how
    // many bytes of the oldest the stream has taken.
    std::deque<qsizetype> m_messageSizes;
    qsizetype m_headWritten = 0;
};
