#include "platform/SdlGameControllerSource.h"

#include "platform/GameControllerKeys.h"
#include "platform/GameControllerService.h"
#include "platform/Localization.h"

#include <SDL.h>

#include <algorithm>

namespace {

using Key = GameControllerKeys::Key;

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS;
// SDL reports sticks from -32768 to 32767 and triggers from 0 to 32767.
constexpr float kAxisRange = 32767.0f;

// The source that polls SDL at the moment; SDL has a single event queue.
SdlGameControllerSource* g_active = nullptr;

float normalised(Sint16 value)
{
    return std::clamp(float(value) / kAxisRange, -1.0f, 1.0f);
}

bool hasAxes(SDL_GameController* handle, std::initializer_list<SDL_GameControllerAxis> axes)
{
    return std::all_of(axes.begin(), axes.end(), [handle](auto a) { return SDL_GameControllerHasAxis(handle, a); });
}

// The name a device gives itself, on one line and without control characters
// that would reach a terminal or break a line of output.
QString deviceName(SDL_GameController* handle)
{
    QString name = QString::fromUtf8(SDL_GameControllerName(handle));
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return name.simplified();
}

bool hasButton(SDL_GameController* handle, Key key)
{
    const int button = GameControllerKeys::entry(key).sdlButton;
    return button != GameControllerKeys::kNoSdlInput
        && SDL_GameControllerHasButton(handle, SDL_GameControllerButton(button));
}

// A controller with both sticks and both triggers offers the extended profile;
// any other mapped controller the basic one.
GCControllerPtr makeController(SDL_GameController* handle)
{
    const bool extended = hasAxes(handle, {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY,
                                           SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY,
                                           SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT});
    GCExtendedGamepadOptionalElements offered;
    offered.leftThumbstickButton = hasButton(handle, Key::L3);
    offered.rightThumbstickButton = hasButton(handle, Key::R3);
    offered.buttonHome = hasButton(handle, Key::Home);
    offered.buttonMenu = hasButton(handle, Key::Menu);
    offered.buttonOptions = hasButton(handle, Key::Options);
    return GCController::create(deviceName(handle), extended ? GCControllerProfile::Extended : GCControllerProfile::Basic,
                                offered);
}

} // namespace

SdlGameControllerSource::SdlGameControllerSource(QObject* parent)
    : SdlGameControllerSource(&SDL_InitSubSystem, parent)
{
}

SdlGameControllerSource::SdlGameControllerSource(SubsystemInit init, QObject* parent)
    : QObject(parent)
    , m_init(init)
{
    m_timer.setInterval(kPollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SdlGameControllerSource::poll);
}

SdlGameControllerSource::~SdlGameControllerSource()
{
    if (!m_running)
        return;
    m_timer.stop();
    while (!m_devices.empty())
        deviceRemoved(m_devices.begin()->first);
    SDL_QuitSubSystem(kSubsystems);
    g_active = nullptr;
}

bool SdlGameControllerSource::start()
{
    if (m_running)
        return true;
    if (g_active) {
        m_error = localized("GameControllersUnavailable").arg(localized("GameControllerSourceBusy"));
        return false;
    }
    // SDL would otherwise turn Ctrl+C into an event of its own and keep the
    // program running, and drop controller input while no window of ours has
    // the focus (we have no SDL window at all).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (!m_init || m_init(kSubsystems) != 0) {
        m_error = localized("GameControllersUnavailable").arg(QString::fromUtf8(SDL_GetError()));
        SDL_ClearError();
        return false;
    }
    g_active = this;
    m_running = true;
    m_error.clear();
    // Controllers plugged in already arrive as "added" events with the first
    // poll, from the event loop: whoever subscribes right after the start
    // still hears of them.
    m_timer.start();
    return true;
}

void SdlGameControllerSource::poll()
{
    if (!m_running)
        return;
    SDL_Event event;
    while (m_running && SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            deviceAdded(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            deviceRemoved(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (auto it = m_devices.find(event.cbutton.which); it != m_devices.end())
                buttonChanged(it->second, event.cbutton.button, event.cbutton.state == SDL_PRESSED);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (auto it = m_devices.find(event.caxis.which); it != m_devices.end())
                axisChanged(it->second, event.caxis.axis, event.caxis.value);
            break;
        default:
            break;
        }
    }
}

void SdlGameControllerSource::deviceAdded(int deviceIndex)
{
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    // SDL may announce a device twice, for example one that was present at start.
    if (id < 0 || m_devices.count(id))
        return;
    SDL_GameController* handle = SDL_GameControllerOpen(deviceIndex);
    if (!handle)
        return; // unplugged again before we got to it
    Device device;
    device.handle = handle;
    device.controller = makeController(handle);
    device.controller->setPlayerIndexDisplay([id](int index) {
        // Looked up by id: the controller object may outlive the device.
        if (SDL_GameController* open = SDL_GameControllerFromInstanceID(id))
            SDL_GameControllerSetPlayerIndex(open, index);
    });
    const GCControllerPtr controller = device.controller;
    m_devices.emplace(id, std::move(device));
    GameControllerService::sharedService().connectController(controller);
}

void SdlGameControllerSource::deviceRemoved(SDL_JoystickID instanceId)
{
    auto it = m_devices.find(instanceId);
    if (it == m_devices.end())
        return;
    const GCControllerPtr controller = it->second.controller;
    SDL_GameControllerClose(it->second.handle);
    m_devices.erase(it);
    controller->setPlayerIndexDisplay(nullptr);
    GameControllerService::sharedService().disconnectController(controller);
}

void SdlGameControllerSource::buttonChanged(Device& device, int button, bool pressed)
{
    const std::optional<Key> key = GameControllerKeys::keyOfSdlButton(button);
    if (!key)
        return;
    const GCControllerPtr controller = device.controller; // handlers may unplug the device
    if (!GameControllerKeys::isPadDirection(*key)) {
        if (GCControllerButtonInput* element = GameControllerKeys::element(*controller, *key))
            element->setValue(pressed ? 1.0f : 0.0f);
        if (*key == GameControllerKeys::kPauseButtonKey && pressed)
            controller->pause();
        return;
    }
    switch (*key) {
    case Key::Up: device.up = pressed; break;
    case Key::Down: device.down = pressed; break;
    case Key::Left: device.left = pressed; break;
    case Key::Right: device.right = pressed; break;
    default: break;
    }
    GCControllerDirectionPad* dpad = nullptr;
    if (const auto extended = controller->extendedGamepad())
        dpad = extended->dpad();
    else if (const auto basic = controller->gamepad())
        dpad = basic->dpad();
    if (dpad)
        dpad->setValue(float(device.right) - float(device.left), float(device.up) - float(device.down));
}

void SdlGameControllerSource::axisChanged(Device& device, int axis, Sint16 value)
{
    const auto pad = device.controller->extendedGamepad();
    if (!pad)
        return;
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        pad->leftThumbstick()->setValue(normalised(value), pad->leftThumbstick()->yAxis());
        break;
    case SDL_CONTROLLER_AXIS_LEFTY: // SDL's y grows downward
        pad->leftThumbstick()->setValue(pad->leftThumbstick()->xAxis(), -normalised(value));
        break;
    case SDL_CONTROLLER_AXIS_RIGHTX:
        pad->rightThumbstick()->setValue(normalised(value), pad->rightThumbstick()->yAxis());
        break;
    case SDL_CONTROLLER_AXIS_RIGHTY:
        pad->rightThumbstick()->setValue(pad->rightThumbstick()->xAxis(), -normalised(value));
        break;
    default:
        // The triggers.
        if (const std::optional<Key> key = GameControllerKeys::keyOfSdlAxis(axis))
            if (GCControllerButtonInput* element = GameControllerKeys::element(*pad, *key))
                element->setValue(normalised(value));
        break;
    }
}
