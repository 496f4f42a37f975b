#include "accessory/EADSessionController.h"

#include "platform/transport/EAAccessoryManager.h"
#include "platform/transport/EASession.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/NotificationCenter.h"

const QString EADSessionDataReceivedNotification = QStringLiteral("EADSessionDataReceivedNotification");

EADSessionController& EADSessionController::sharedController()
{
    static EADSessionController* instance = new EADSessionController; // lives as long as the process
    return *instance;
}

EADSessionController* EADSessionController::sessionOf(const Notification& notification)
{
    if (notification.name != EADSessionDataReceivedNotification)
        return nullptr;
    return static_cast<EADSessionController*>(notification.object.value<void*>());
}

EADSessionController::~EADSessionController()
{
    closeSession();
    // The accessory outlives a controller made for one attachment.
    if (m_accessory && m_accessory->delegate() == this)
        m_accessory->setDelegate(nullptr);
    setupControllerForAccessory(nullptr, QString());
}

void EADSessionController::setupControllerForAccessory(const EAAccessoryPtr& accessory, const QString& protocolString)
{
    m_accessory = accessory;
    m_protocolString = protocolString;
}

bool EADSessionController::openSession()
{
    if (m_accessory)
        m_accessory->setDelegate(this);
    // A session that is still open holds the accessory: close its streams
    // before replacing it, so the new session can take the accessory. Queued
    // bytes stay queued for the new session.
    closeStreams();
    m_session = EASession::create(m_accessory, m_protocolString);
    if (!m_session)
        return false;
    for (ByteStream* stream :
        { static_cast<ByteStream*>(m_session->inputStream()), static_cast<ByteStream*>(m_session->outputStream()) }) {
        stream->setDelegate(this);
        stream->scheduleInRunLoop();
        stream->open();
    }
    return true;
}

void EADSessionController::closeStreams()
{
    if (!m_session)
        return;
    for (ByteStream* stream :
        { static_cast<ByteStream*>(m_session->inputStream()), static_cast<ByteStream*>(m_session->outputStream()) }) {
        stream->close();
        stream->removeFromRunLoop();
        stream->setDelegate(nullptr);
    }
    m_session.reset();
}

void EADSessionController::closeSession()
{
    closeStreams();
    m_writeData.reset();
    m_readData.reset();
    m_messageSizes.clear();
    m_headWritten = 0;
}

void EADSessionController::discardQueuedData()
{
    if (!m_writeData)
        return;
    // A message the stream has taken part of goes out whole: its tail alone
    // would be read by the controller as the start of the next message.
    qsizetype keep = 0;
    if (!m_messageSizes.empty() && m_headWritten > 0)
        keep = m_messageSizes.front() - m_headWritten;
    m_writeData->truncate(keep);
    while (m_messageSizes.size() > (keep > 0 ? 1 : 0))
        m_messageSizes.pop_back();
    if (keep == 0)
        m_headWritten = 0;
}

void EADSessionController::writeData(const QByteArray& data)
{
    if (!m_writeData)
        m_writeData = std::make_unique<QByteArray>();
    m_writeData->append(data);
    if (!data.isEmpty())
        m_messageSizes.push_back(data.size());
    _writeData();
}

quint64 EADSessionController::readBytesAvailable() const
{
    return m_readData ? quint64(m_readData->size()) : 0;
}

QByteArray EADSessionController::readData(quint64 n)
{
    if (!m_readData)
        return QByteArray();
    const qsizetype count = qsizetype(std::min<quint64>(n, quint64(m_readData->size())));
    QByteArray taken(m_readData->constData(), count);
    if (taken.isNull())
        taken = QByteArray(""); // empty, but not the "no buffer" answer
    m_readData->remove(0, count);
    if (m_session && m_session->inputStream()->hasBytesAvailable())
        readOnce();
    return taken;
}

void EADSessionController::streamHandleEvent(ByteStream*, StreamEvent event)
{
    switch (event) {
    case StreamEvent::HasBytesAvailable:
        _readData();
        break;
    case StreamEvent::HasSpaceAvailable:
        _writeData();
        break;
    default:
        break; // open, error and end events change nothing here
    }
}

void EADSessionController::accessoryDidDisconnect(EAAccessory*)
{
    // Loss of the accessory is learnt from the accessory manager's notifications.
}

void EADSessionController::_writeData()
{
    if (!m_session || !m_writeData)
        return;
    OutputStream* out = m_session->outputStream();
    while (out->hasSpaceAvailable()) {
        if (m_writeData->isEmpty())
            break;
        const qint64 written
            = out->write(reinterpret_cast<const uint8_t*>(m_writeData->constData()), m_writeData->size());
        // On an error, or a stream that took nothing although it claimed
        // space, the bytes stay queued for the next space event or write.
        if (written <= 0)
            break;
        m_writeData->remove(0, written);
        // Which messages have now left whole, and how much of the next one.
        qsizetype taken = qsizetype(written) + m_headWritten;
        while (!m_messageSizes.empty() && taken >= m_messageSizes.front()) {
            taken -= m_messageSizes.front();
            m_messageSizes.pop_front();
        }
        m_headWritten = m_messageSizes.empty() ? 0 : taken;
    }
}

void EADSessionController::readOnce()
{
    uint8_t buffer[kReadChunkSize];
    const qint64 n = m_session->inputStream()->read(buffer, kReadChunkSize);
    if (!m_readData)
        m_readData = std::make_unique<QByteArray>();
    if (n > 0)
        m_readData->append(reinterpret_cast<const char*>(buffer), n);
}

void EADSessionController::_readData()
{
    if (!m_session)
        return;
    while (m_session->inputStream()->hasBytesAvailable())
        readOnce();
    NotificationCenter::defaultCenter().postNotification(
        EADSessionDataReceivedNotification, QVariant::fromValue(static_cast<void*>(this)));
}
