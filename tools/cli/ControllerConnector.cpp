#include "cli/ControllerConnector.h"

#include "accessory/EADSessionController.h"
#include "platform/transport/AccessoryTransport.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "upgrade/ControllerProbe.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>
#include <QLocale>

#include <cstdio>

QString ControllerConnector::secondsText(double seconds)
{
    return QLocale().toString(seconds, 'g', 6);
}

ControllerConnector::ControllerConnector(const CliOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
{
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
    // Accessories offer the first declared protocol, as the controller does.
    m_transport = options.device.createTransport(options.services.accessories(), protocols.mid(0, 1));
    m_options.services.accessories().addTransport(m_transport);
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, this, &ControllerConnector::deadlinePassed);
    if (options.device.scheme() == QLatin1String("auto"))
        m_probe = new ControllerProbe(options.services.engine(), this);
}

EAAccessoryPtr ControllerConnector::matchingAccessory() const
{
    const QList<ControllerRegistry::ControllerPtr>& attached = m_options.services.registry().controllers();
    return attached.isEmpty() ? nullptr : attached.first()->accessory();
}

void ControllerConnector::connect(double waitSeconds, std::function<void()> found)
{
    m_found = std::move(found);
    m_waitSeconds = waitSeconds;
    if (m_probe) {
        QObject::connect(m_probe, &ControllerProbe::found, this, [this] { finish(true); });
        m_transport->start();
        m_probe->start();
        m_deadline.start(MainQueue::realMilliseconds(waitSeconds));
        return;
    }
    QObject::connect(&m_options.services.accessories(), &EAAccessoryManager::accessoryAttached, this, [this] {
        if (m_found && matchingAccessory())
            finish(true);
    });
    m_transport->start();
    // Real seconds, as given: the time scale of tests shortens the engine's
    // timers, not how long a transport may take to reach the controller.
    m_deadline.start(MainQueue::realMilliseconds(waitSeconds));
}

void ControllerConnector::deadlinePassed()
{
    // A question put before the deadline may still be answered.
    if (m_probe && m_probe->isAsking() && !std::exchange(m_graceGiven, true)) {
        m_deadline.start(MainQueue::realMilliseconds(
            ZelFirmwareUpgradeManager::kCheckVersionTimeout + ControllerProbe::kAnswerGrace));
        return;
    }
    finish(false);
}

void ControllerConnector::finish(bool found)
{
    if (!m_found)
        return;
    m_deadline.stop();
    auto onFound = std::exchange(m_found, nullptr);
    if (found && m_probe) {
        // The probe left the engine following the accessory that answered.
    } else if (m_probe && !m_probe->tried().isEmpty()) {
        std::fprintf(stderr, "%s\n",
            localized("NoControllerAnswered")
                .arg(m_transport->description(), m_probe->triedText(), secondsText(m_waitSeconds))
                .toUtf8()
                .constData());
    } else if (found) {
        const QStringList declared = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        m_options.services.session().setupControllerForAccessory(matchingAccessory(), declared.value(0));
    } else {
        std::fprintf(stderr, "%s\n",
            localized("NoControllerAttached")
                .arg(m_transport->description(), m_transport->lastError(), secondsText(m_waitSeconds))
                .trimmed()
                .toUtf8()
                .constData());
    }
    if (found)
        onFound();
    else
        QCoreApplication::exit(CliOptions::NoController);
}
