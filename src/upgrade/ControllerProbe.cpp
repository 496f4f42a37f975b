#include "upgrade/ControllerProbe.h"

#include "platform/runtime/MainQueue.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QPointer>
#include <QStringList>

ControllerProbe::ControllerProbe(ZelFirmwareUpgradeManager& engine, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
{
}

void ControllerProbe::start()
{
    if (std::exchange(m_started, true))
        return;
    using ControllerPtr = ControllerRegistry::ControllerPtr;
    ControllerRegistry& registry = m_engine.controllers();
    connect(&registry, &ControllerRegistry::controllerAttached, this,
        [this](const ControllerPtr& controller) { enqueue(controller->accessory()); });
    connect(&registry, &ControllerRegistry::controllerLeft, this, [this](const ControllerPtr& controller) {
        const EAAccessoryPtr& gone = controller->accessory();
        m_queue.removeIf([&gone](const EAAccessoryPtr& a) { return a == gone; });
        // The one being asked left before it answered.
        if (m_asking == gone)
            settle(false, QString());
    });
    for (const ControllerPtr& controller : registry.controllers())
        enqueue(controller->accessory());
}

QString ControllerProbe::deviceOf(const EAAccessoryPtr& accessory)
{
    const QString location = accessory->location();
    return location.isEmpty() ? QStringLiteral("#%1").arg(accessory->connectionID()) : location;
}

QString ControllerProbe::triedText() const
{
    QStringList devices;
    for (const Tried& t : m_tried)
        devices << t.device;
    return devices.join(QStringLiteral(", "));
}

void ControllerProbe::enqueue(const EAAccessoryPtr& accessory)
{
    if (m_controller || !accessory || m_seen.contains(accessory->connectionID()))
        return;
    m_seen.append(accessory->connectionID());
    m_queue.append(accessory);
    if (m_asking) {
        // The engine follows every arrival; the question under way keeps the
        // session on the accessory it was put to.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_asking)
                    m_engine.followAccessory(m_asking);
            },
            Qt::QueuedConnection);
    }
    askNext();
}

void ControllerProbe::askNext()
{
    if (m_controller || m_asking || m_queue.isEmpty())
        return;
    m_asking = m_queue.takeFirst();
    const quint64 question = ++m_question;
    const quint64 connection = m_asking->connectionID();
    ZelFirmwareUpgradeManager& engine = m_engine;
    engine.followAccessory(m_asking);
    QPointer<ControllerProbe> self(this);
    engine.probeVersions([self, question, connection](const QString& versions) {
        // Only this question's answer, from the accessory it was put to.
        if (!self || self->m_question != question || !self->m_asking
            || self->m_engine.identifiedConnection() != connection)
            return;
        self->settle(true, versions);
    });
    MainQueue::dispatchAfter(
        ZelFirmwareUpgradeManager::kCheckVersionTimeout + kAnswerGrace,
        [this, question] {
            if (m_question == question && m_asking)
                settle(false, QString());
        },
        this);
}

void ControllerProbe::settle(bool answered, const QString& versions)
{
    const EAAccessoryPtr asked = std::exchange(m_asking, nullptr);
    ++m_question;
    m_tried.append({ deviceOf(asked), answered });
    if (answered) {
        m_controller = asked;
        m_versions = versions;
        m_queue.clear();
        emit found();
        return;
    }
    askNext();
}
