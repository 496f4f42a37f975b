#include "sim/SimAccessoryTransport.h"

#include "accessory/EADSessionController.h"
#include "platform/transport/DeviceAddress.h"
#include "platform/transport/EAAccessory.h"
#include "platform/transport/EASession.h"
#include "platform/transport/LocalLink.h"
#include "platform/transport/TransportRegistry.h"
#include "sim/SimulatedController.h"

#include <QTimer>

SimAccessoryTransport::SimAccessoryTransport(
    EAAccessoryManager& accessories, SimulatedController* controller, const QStringList& protocols, QObject* parent)
    : AccessoryTransport(accessories, protocols, parent)
    , m_controller(controller)
{
    controller->setParent(this);
    controller->detachRequested = [this] { detach(); };
    controller->attachRequested = [this] { attach(); };
    controller->replySink = [this](const QByteArray& bytes) {
        if (m_link)
            m_link->deliverToHost(bytes);
    };
}

void SimAccessoryTransport::registerAddressScheme()
{
    TransportRegistry::add(
        QStringLiteral("sim"), [](EAAccessoryManager& accessories, const DeviceAddress&, const QStringList& protocols) {
            return new SimAccessoryTransport(accessories, new SimulatedController, protocols);
        });
}

SimAccessoryTransport::~SimAccessoryTransport()
{
    m_controller->detachRequested = nullptr;
    m_controller->attachRequested = nullptr;
    m_controller->replySink = nullptr;
    detach(); // the controller is gone with its transport
}

void SimAccessoryTransport::start()
{
    QTimer::singleShot(m_plugInDelayMs, this, [this] { m_controller->plugIn(); });
}

QString SimAccessoryTransport::description() const
{
    return m_description;
}

void SimAccessoryTransport::attach()
{
    if (hasAccessory())
        return;
    m_link = new LocalLink(this);
    m_link->deviceReceive = [this](const QByteArray& bytes) { m_controller->receive(bytes); };
    attachAccessory(m_link);
}

void SimAccessoryTransport::detach()
{
    detachAccessory();
    if (LocalLink* link = std::exchange(m_link, nullptr))
        link->deleteLater();
}

LocalLink* SimAccessoryTransport::link() const
{
    return m_link;
}

bool SimAccessoryTransport::hasOpenSession(const EADSessionController& controller) const
{
    return link() && controller.session() && controller.session()->accessory()
        && controller.session()->accessory()->link() == link();
}
