#include "support/TestSupport.h"

#include "accessory/EADSessionController.h"
#include "platform/EAAccessoryManager.h"
#include "platform/InfoDictionary.h"
#include "platform/LocalLink.h"
#include "platform/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTest>

namespace testsupport {

void useFastTime(double scale)
{
    MainQueue::setTimeScale(scale);
}

ToastRecorder::ToastRecorder()
{
    MessageToast::setPresenter(this);
}

ToastRecorder::~ToastRecorder()
{
    if (MessageToast::presenter() == this)
        MessageToast::setPresenter(nullptr);
}

SimulatedAttachment::SimulatedAttachment()
{
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
    m_transport = new SimAccessoryTransport(new SimulatedController, protocols);
    m_transport->controller()->faults().restartDelayMs = 50;
    m_transport->start();
}

SimulatedAttachment::~SimulatedAttachment()
{
    m_transport->controller()->unplug(-1);
    delete m_transport;
}

SimulatedController& SimulatedAttachment::controller() const
{
    return *m_transport->controller();
}

EAAccessoryPtr SimulatedAttachment::waitForAccessory(int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        for (const EAAccessoryPtr& a : EAAccessoryManager::sharedAccessoryManager().connectedAccessories())
            if (m_transport->link() && a->link() == m_transport->link())
                return a;
        QTest::qWait(5);
    }
    return nullptr;
}

bool SimulatedAttachment::configureSession(int timeoutMs) const
{
    const EAAccessoryPtr accessory = waitForAccessory(timeoutMs);
    if (!accessory)
        return false;
    EADSessionController::sharedController().setupControllerForAccessory(
        accessory, InfoDictionary::mainBundle().supportedAccessoryProtocols().value(0));
    return true;
}

RecordingPeer::RecordingPeer(LocalLink* link)
    : m_link(link)
{
    link->deviceReceive = [this](const QByteArray& b) {
        received.append(b);
        if (onReceive)
            onReceive(b);
    };
}

void RecordingPeer::reply(const QByteArray& bytes) const
{
    m_link->deliverToHost(bytes);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    return MainQueue::runUntil(done, timeoutMs);
}

void spin(int ms)
{
    QTest::qWait(ms);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(uint8_t(v)));
    return out;
}

} // namespace testsupport
