#include "app/EmbeddedDefault.h"

#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/MainQueue.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/gamepad/VirtualGameController.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"

EmbeddedDefault::EmbeddedDefault(const QString& documents, const QString& server, QObject* parent)
    : QObject(parent)
    // The web pages from their site, as without the demo: the offline copies
    // show where it cannot be reached, as it cannot without a network.
    , m_environment(documents, server, DemoEnvironment::Servers::Later, DemoEnvironment::WebPages::FromTheSite)
    , m_gamepad(std::make_unique<VirtualGameController>(GameControllerService::sharedService()))
{
    // The demo's controller has motors and a light, motion sensors that
    // sample by themselves while it is measured (a gyroscope a little off,
    // as real ones are), and a touchpad, so that the key test offers them all.
    m_gamepad->offerHaptics(true, true, true);
    m_gamepad->offerMotion(kMotionRateHz);
    m_gamepad->streamMotion(kMotionRateHz, { kGyroBias[0], kGyroBias[1], kGyroBias[2] }, kGyroNoise);
    m_gamepad->offerTouchpads(1, 2);
    // The controller offers the first declared protocol, as the real one does.
    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
    auto* controller = new SimulatedController;
    // A slower controller, to watch (or test) a run as a real link paces it.
    controller->faults().replyDelayMs = qEnvironmentVariableIntValue("Q3DART_SIM_REPLY_DELAY_MS");
    m_transport = new SimAccessoryTransport(EAAccessoryManager::sharedAccessoryManager(), controller, protocols);
    EAAccessoryManager::sharedAccessoryManager().addTransport(m_transport);
}

EmbeddedDefault::~EmbeddedDefault() = default;

SimulatedController* EmbeddedDefault::controller() const
{
    return m_transport->controller();
}

void EmbeddedDefault::startServers()
{
    m_environment.startServers();
}

void EmbeddedDefault::plugIn()
{
    startServers();
    // The game controller follows the accessory: the accessory check that a
    // game controller's arrival runs needs the accessory attached.
    auto plugInGamepad = [this] {
        if (!m_gamepad->isPluggedIn())
            m_gamepad->plugIn();
    };
    if (m_started && controller()->isAttached()) {
        plugInGamepad();
        return;
    }
    auto* once = new QObject(this);
    connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryAttached, once,
        [once, plugInGamepad] {
            once->deleteLater();
            plugInGamepad();
        });
    if (!m_started) {
        m_started = true;
        m_transport->start();
    } else {
        controller()->plugIn();
    }
}

void EmbeddedDefault::plugInLater(double seconds)
{
    MainQueue::dispatchAfter(
        seconds, [this] { plugIn(); }, this);
}

bool EmbeddedDefault::handleKey(int key, bool down)
{
    return m_gamepad->isPluggedIn() && m_gamepad->handleKey(key, down);
}
