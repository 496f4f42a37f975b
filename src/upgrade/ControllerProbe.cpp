#include "upgrade/ControllerProbe.h"

#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/MainQueue.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QPointer>
#include <QStringList>

ControllerProbe::ControllerProbe(ZelFirmwareUpgradeManager& engine, EAAccessoryManager& accessories, QObject* parent)
    : QObject(parent)
    , m_engine(engine)
    , m_accessories(accessories)
{
}

void ControllerProbe::start()
{
    if (std::exchange(m_started, true))
        return;
    EAAccessoryManager& manager = m_accessories;
    connect(&manager, &EAAccessoryManager::accessoryAttached, this, &ControllerProbe::enqueue);
    connect(&manager, &EAAccessoryManager::accessoryDetached, this, [this](const EAAccessoryPtr& gone) {
        m_queue.removeIf([&gone](const EAAccessoryPtr& a) { return a == gone; });
        // The one being asked left before it answered.
        if (gone && m_asking == gone)
            settle(false, QString());
    });
    for (const EAAccessoryPtr& accessory : manager.connectedAccessories())
        enqueue(accessory);
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
    const QStringList declared = InfoDictionary::mainBundle().supportedAccessoryProtocols();
    bool offers = false;
    for (const QString& p : accessory->protocolStrings())
        offers = offers || declared.contains(p);
    if (!offers)
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
