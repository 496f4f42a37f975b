#include "platform/gamepad/SdlGameControllerSource.h"

#include "platform/gamepad/GameControllerKeys.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/gamepad/SdlLibrary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

using Key = GameControllerKeys::Key;
using RawKind = GCControllerRawInput::Kind;

constexpr Uint32 kSubsystems = SDL_INIT_GAMECONTROLLER | SDL_INIT_JOYSTICK | SDL_INIT_EVENTS;
// SDL reports sticks from -32768 to 32767 and triggers from 0 to 32767.
constexpr float kAxisRange = 32767.0f;
constexpr float kMotorRange = 65535.0f;
constexpr qint64 kMicrosecondsPerMs = 1000;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// The folder of the application's configuration, shared by all its programs.
constexpr const char* kConfigFolder = "q3dart";

constexpr const char* kPlatformField = "platform:";

// The source that polls SDL at the moment; SDL has a single event queue.
SdlGameControllerSource* g_active = nullptr;
// SDL's functions, from the first source that started; SDL stays loaded, so
// a controller's haptics may still call it after its source has gone.
const SdlLibrary* g_sdl = nullptr;
// A wake-up from SDL's event watch is on its way to the event loop: the
// watch, called for every event SDL queues, posts at most one at a time.
std::atomic<bool> g_wakePending { false };

int initSubsystems(std::uint32_t flags)
{
    return g_sdl->SDL_InitSubSystem(flags);
}

float normalised(Sint16 value)
{
    return std::clamp(float(value) / kAxisRange, -1.0f, 1.0f);
}

Uint16 motor(float strength)
{
    return Uint16(std::lround(std::clamp(strength == strength ? strength : 0.0f, 0.0f, 1.0f) * kMotorRange));
}

// A text a device gives about itself, on one line and without control
// characters that would reach a terminal or break a line of output.
QString oneLine(const char* text)
{
    QString line = QString::fromUtf8(text);
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return line.simplified();
}

bool hasButton(SDL_GameController* handle, Key key)
{
    const int button = GameControllerKeys::entry(key).sdlButton;
    return button != GameControllerKeys::kNoSdlInput
        && g_sdl->SDL_GameControllerHasButton(handle, SDL_GameControllerButton(button));
}

bool hasAxis(SDL_GameController* handle, Key key)
{
    const int axis = GameControllerKeys::entry(key).sdlAxis;
    return axis != GameControllerKeys::kNoSdlInput
        && g_sdl->SDL_GameControllerHasAxis(handle, SDL_GameControllerAxis(axis));
}

QString typeName(SDL_GameControllerType type)
{
    switch (type) {
    case SDL_CONTROLLER_TYPE_XBOX360:
        return QStringLiteral("xbox360");
    case SDL_CONTROLLER_TYPE_XBOXONE:
        return QStringLiteral("xboxone");
    case SDL_CONTROLLER_TYPE_PS3:
        return QStringLiteral("ps3");
    case SDL_CONTROLLER_TYPE_PS4:
        return QStringLiteral("ps4");
    case SDL_CONTROLLER_TYPE_PS5:
        return QStringLiteral("ps5");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
        return QStringLiteral("switchpro");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
        return QStringLiteral("joyconleft");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
        return QStringLiteral("joyconright");
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        return QStringLiteral("joyconpair");
    case SDL_CONTROLLER_TYPE_VIRTUAL:
        return QStringLiteral("virtual");
    case SDL_CONTROLLER_TYPE_AMAZON_LUNA:
        return QStringLiteral("luna");
    case SDL_CONTROLLER_TYPE_GOOGLE_STADIA:
        return QStringLiteral("stadia");
    case SDL_CONTROLLER_TYPE_NVIDIA_SHIELD:
        return QStringLiteral("shield");
    case SDL_CONTROLLER_TYPE_UNKNOWN:
        break;
    }
    return QString();
}

GCControllerBatteryLevel batteryLevel(SDL_JoystickPowerLevel level)
{
    switch (level) {
    case SDL_JOYSTICK_POWER_EMPTY:
        return GCControllerBatteryLevel::Empty;
    case SDL_JOYSTICK_POWER_LOW:
        return GCControllerBatteryLevel::Low;
    case SDL_JOYSTICK_POWER_MEDIUM:
        return GCControllerBatteryLevel::Medium;
    case SDL_JOYSTICK_POWER_FULL:
        return GCControllerBatteryLevel::Full;
    case SDL_JOYSTICK_POWER_WIRED:
        return GCControllerBatteryLevel::Wired;
    default:
        return GCControllerBatteryLevel::Unknown;
    }
}

// The buttons the seventeen keys do not cover, by the names a player knows them by.
QString extraButtonName(int button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_MISC1:
        return localized("ButtonMisc");
    case SDL_CONTROLLER_BUTTON_PADDLE1:
        return localized("ButtonPaddle").arg(1);
    case SDL_CONTROLLER_BUTTON_PADDLE2:
        return localized("ButtonPaddle").arg(2);
    case SDL_CONTROLLER_BUTTON_PADDLE3:
        return localized("ButtonPaddle").arg(3);
    case SDL_CONTROLLER_BUTTON_PADDLE4:
        return localized("ButtonPaddle").arg(4);
    case SDL_CONTROLLER_BUTTON_TOUCHPAD:
        return localized("ButtonTouchpad");
    default:
        return QString::fromUtf8(g_sdl->SDL_GameControllerGetStringForButton(SDL_GameControllerButton(button)));
    }
}

// A mapped controller: the extended profile when it has both sticks, the
// basic one otherwise; the triggers, stick clicks, home, menu and options
// are wired only where the controller has them.
GCControllerPtr makeController(SDL_GameController* handle)
{
    const bool extended = g_sdl->SDL_GameControllerHasAxis(handle, SDL_CONTROLLER_AXIS_LEFTX)
        && g_sdl->SDL_GameControllerHasAxis(handle, SDL_CONTROLLER_AXIS_LEFTY)
        && g_sdl->SDL_GameControllerHasAxis(handle, SDL_CONTROLLER_AXIS_RIGHTX)
        && g_sdl->SDL_GameControllerHasAxis(handle, SDL_CONTROLLER_AXIS_RIGHTY);
    GCExtendedGamepadOptionalElements offered;
    offered.leftTrigger = hasAxis(handle, Key::L2);
    offered.rightTrigger = hasAxis(handle, Key::R2);
    offered.leftThumbstickButton = hasButton(handle, Key::L3);
    offered.rightThumbstickButton = hasButton(handle, Key::R3);
    offered.buttonHome = hasButton(handle, Key::Home);
    offered.buttonMenu = hasButton(handle, Key::Menu);
    offered.buttonOptions = hasButton(handle, Key::Options);
    return GCController::create(oneLine(g_sdl->SDL_GameControllerName(handle)),
        extended ? GCControllerProfile::Extended : GCControllerProfile::Basic, offered);
}

// handle: null for a joystick without mapping.
GCControllerIdentity identityOf(SDL_Joystick* joystick, SDL_GameController* handle, int deviceIndex)
{
    GCControllerIdentity identity;
    identity.type = typeName(
        handle ? g_sdl->SDL_GameControllerGetType(handle) : g_sdl->SDL_GameControllerTypeForIndex(deviceIndex));
    if (const Uint16 vendor = g_sdl->SDL_JoystickGetVendor(joystick))
        identity.vendorId = vendor;
    if (const Uint16 product = g_sdl->SDL_JoystickGetProduct(joystick))
        identity.productId = product;
    char guid[33] = {};
    g_sdl->SDL_JoystickGetGUIDString(g_sdl->SDL_JoystickGetGUID(joystick), guid, sizeof guid);
    identity.guid = QString::fromLatin1(guid);
    identity.serial = oneLine(g_sdl->SDL_JoystickGetSerial(joystick));
    identity.mapped = handle != nullptr;
    if (handle) {
        if (char* mapping = g_sdl->SDL_GameControllerMapping(handle)) {
            identity.mapping = oneLine(mapping);
            g_sdl->SDL_free(mapping);
        }
    }
    return identity;
}

// What the device can do, looked up by its id at each request: the
// controller object may outlive the device.
GCControllerHaptics hapticsOf(SDL_Joystick* joystick, SDL_GameController* handle, SDL_JoystickID id)
{
    GCControllerHaptics haptics;
    const bool rumble = handle ? g_sdl->SDL_GameControllerHasRumble(handle) : g_sdl->SDL_JoystickHasRumble(joystick);
    const bool triggers
        = handle ? g_sdl->SDL_GameControllerHasRumbleTriggers(handle) : g_sdl->SDL_JoystickHasRumbleTriggers(joystick);
    const bool light = handle ? g_sdl->SDL_GameControllerHasLED(handle) : g_sdl->SDL_JoystickHasLED(joystick);
    if (rumble)
        haptics.rumble = [id](float low, float high, int ms) {
            SDL_Joystick* open = g_sdl->SDL_JoystickFromInstanceID(id);
            return open && g_sdl->SDL_JoystickRumble(open, motor(low), motor(high), Uint32(std::max(ms, 0))) == 0;
        };
    if (triggers)
        haptics.rumbleTriggers = [id](float left, float right, int ms) {
            SDL_Joystick* open = g_sdl->SDL_JoystickFromInstanceID(id);
            return open
                && g_sdl->SDL_JoystickRumbleTriggers(open, motor(left), motor(right), Uint32(std::max(ms, 0))) == 0;
        };
    if (light)
        haptics.setLight = [id](int red, int green, int blue) {
            SDL_Joystick* open = g_sdl->SDL_JoystickFromInstanceID(id);
            auto channel = [](int v) { return Uint8(std::clamp(v, 0, 255)); };
            return open && g_sdl->SDL_JoystickSetLED(open, channel(red), channel(green), channel(blue)) == 0;
        };
    return haptics;
}

} // namespace

SdlGameControllerSource::SdlGameControllerSource(GameControllerService& service, QObject* parent)
    : SdlGameControllerSource(service, &initSubsystems, parent)
{
}

SdlGameControllerSource::SdlGameControllerSource(GameControllerService& service, SubsystemInit init, QObject* parent)
    : QObject(parent)
    , m_service(service)
    , m_init(init)
{
    m_timer.setInterval(kIdlePollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SdlGameControllerSource::poll);
    connect(&m_hotplug, &DeviceHotplugMonitor::devicesChanged, this, &SdlGameControllerSource::deviceActivity);
}

void SdlGameControllerSource::setDeviceFolders(const QString& deviceFolder, const QString& udevControl)
{
    m_deviceFolder = deviceFolder;
    m_udevControl = udevControl;
}

SdlGameControllerSource::~SdlGameControllerSource()
{
    if (!m_running)
        return;
    m_timer.stop();
    m_hotplug.stop();
    m_settle.reset();
    // No watch runs once this returns: SDL calls them under its lock.
    g_sdl->SDL_DelEventWatch(&SdlGameControllerSource::watchDeviceEvents, this);
    g_wakePending = false;
    while (!m_devices.empty())
        deviceRemoved(m_devices.begin()->first);
    g_sdl->SDL_QuitSubSystem(kSubsystems);
    g_active = nullptr;
}

QString SdlGameControllerSource::mappingFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QLatin1String(kConfigFolder) + QLatin1Char('/') + QLatin1String(kMappingFileName));
}

bool SdlGameControllerSource::start()
{
    if (m_running)
        return true;
    if (g_active) {
        m_error = localized("GameControllersUnavailable").arg(localized("GameControllerSourceBusy"));
        return false;
    }
    if (!g_sdl)
        g_sdl = SdlLibrary::load();
    if (!g_sdl) {
        m_error = localized("GameControllersUnavailable")
                      .arg(localized("GameControllerLibraryMissing").arg(SdlLibrary::error()));
        return false;
    }
    // SDL would otherwise turn Ctrl+C into an event of its own and keep the
    // program running, and drop controller input while no window of ours has
    // the focus (we have no SDL window at all).
    g_sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    g_sdl->SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (!m_init || m_init(kSubsystems) != 0) {
        m_error = localized("GameControllersUnavailable").arg(QString::fromUtf8(g_sdl->SDL_GetError()));
        g_sdl->SDL_ClearError();
        return false;
    }
    g_active = this;
    m_running = true;
    m_error.clear();
    loadMappingFile();
    // A device attached to SDL's virtual driver makes no kernel event; SDL
    // queues its arrival, and the watch hears of that from whichever thread.
    g_sdl->SDL_AddEventWatch(&SdlGameControllerSource::watchDeviceEvents, this);
    m_hotplug.start(DeviceHotplugMonitor::kInputSubsystem, m_deviceFolder, m_udevControl);
    // Controllers plugged in already arrive as "added" events with the first
    // polls, from the event loop: whoever subscribes right after the start
    // still hears of them.
    deviceActivity();
    return true;
}

int SdlGameControllerSource::watchDeviceEvents(void* source, SDL_Event* event)
{
    switch (event->type) {
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
        // Called before SDL queues the event, maybe on another thread: the
        // polls of the settling time that follows find it queued.
        if (!g_wakePending.exchange(true)) {
            auto* self = static_cast<SdlGameControllerSource*>(source);
            QMetaObject::invokeMethod(
                self,
                [self] {
                    g_wakePending = false;
                    self->deviceActivity();
                },
                Qt::QueuedConnection);
        }
        break;
    default:
        break;
    }
    return 1; // a watch's answer is not used
}

void SdlGameControllerSource::deviceActivity()
{
    if (!m_running)
        return;
    if (m_settle)
        m_settle->invalidate();
    m_settle = Timer::scheduledTimer(kSettleSeconds, false, [this] { updatePollInterval(); });
    updatePollInterval();
    // Look at once rather than one interval later.
    MainQueue::dispatchAsync([this] { poll(); }, this);
}

void SdlGameControllerSource::loadMappingFile()
{
    m_mappingError.clear();
    QByteArray text;
    QString why;
    if (!GameControllerMappingFile::read(mappingFilePath(), &text, &why)) {
        m_mappingError = localized("GameControllerMappingsUnreadable").arg(mappingFilePath(), why);
        return;
    }
    addMappings(text);
}

bool SdlGameControllerSource::saveMapping(const QByteArray& line, QString* error)
{
    if (!m_running) {
        if (error)
            *error = m_error;
        return false;
    }
    QByteArray kept = line.trimmed();
    if (!kept.contains(kPlatformField)) {
        if (!kept.endsWith(','))
            kept += ',';
        kept += kPlatformField + QByteArray(g_sdl->SDL_GetPlatform()) + ',';
    }
    // A line SDL refuses is not kept; one it takes applies whether or not
    // the file can keep it, so that the user's work is not lost for this run.
    // SDL takes a line whose GUID is not one, for no device: we do not.
    static const QRegularExpression kMappingLine(QStringLiteral("^[0-9a-fA-F]{32},[^,]+,"));
    if (!kMappingLine.match(QString::fromUtf8(kept)).hasMatch() || addMappings(kept) < 1) {
        if (error)
            *error = localized("MappingRefused");
        return false;
    }
    return GameControllerMappingFile::append(mappingFilePath(), kept, error);
}

int SdlGameControllerSource::addMappings(const QByteArray& text)
{
    if (!m_running)
        return -1;
    // A line meant for another platform is skipped, as SDL skips it in a
    // file; a line naming no platform is the user's own and always taken.
    const QByteArray platform = QByteArray(g_sdl->SDL_GetPlatform()).toLower();
    int taken = 0;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (const qsizetype at = line.indexOf(kPlatformField); at >= 0) {
            const qsizetype start = at + qsizetype(qstrlen(kPlatformField));
            const qsizetype end = line.indexOf(',', start);
            if (line.mid(start, end < 0 ? -1 : end - start).toLower() != platform)
                continue;
        }
        if (g_sdl->SDL_GameControllerAddMapping(line.constData()) >= 0)
            ++taken;
    }
    g_sdl->SDL_ClearError();
    // A new mapping sends no event for a joystick open already; a changed
    // one sends "remapped" for the controllers it concerns.
    scanJoysticks();
    return taken;
}

bool SdlGameControllerSource::isSettling() const
{
    return m_settle && m_settle->isValid();
}

void SdlGameControllerSource::updatePollInterval()
{
    const bool settling = isSettling();
    const bool watched = m_hotplug.method() != DeviceHotplugMonitor::Method::None;
    if (!m_running || (m_devices.empty() && !settling && watched)) {
        m_timer.stop();
        return;
    }
    const int interval = m_devices.empty() ? kIdlePollIntervalMs : kPollIntervalMs;
    if (m_timer.interval() != interval)
        m_timer.setInterval(interval);
    if (!m_timer.isActive())
        m_timer.start();
}

void SdlGameControllerSource::poll()
{
    if (!m_running)
        return;
    SDL_Event event;
    while (m_running && g_sdl->SDL_PollEvent(&event)) {
        auto device = [this](SDL_JoystickID id) {
            auto it = m_devices.find(id);
            return it == m_devices.end() ? nullptr : &it->second;
        };
        switch (event.type) {
        case SDL_JOYDEVICEADDED:
        case SDL_CONTROLLERDEVICEADDED:
            // An event may be lost or come before its device can be opened:
            // each one is a reason to look at every joystick.
            scanJoysticks();
            break;
        case SDL_JOYDEVICEREMOVED:
            deviceRemoved(event.jdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            deviceRemoved(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMAPPED:
            rewire(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Device* d = device(event.cbutton.which); d && d->handle)
                buttonChanged(*d, event.cbutton.button, event.cbutton.state == SDL_PRESSED, event.cbutton.timestamp);
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (Device* d = device(event.caxis.which); d && d->handle)
                axisChanged(*d, event.caxis.axis, event.caxis.value, event.caxis.timestamp);
            break;
        // An unmapped joystick's own inputs; a mapped one reports through its mapping above.
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (Device* d = device(event.jbutton.which); d && !d->handle)
                if (d->controller->setRawValue(size_t(d->firstButton + event.jbutton.button), event.jbutton.state))
                    d->controller->valuesChanged();
            break;
        case SDL_JOYAXISMOTION:
            if (Device* d = device(event.jaxis.which); d && !d->handle)
                if (d->controller->setRawValue(size_t(d->firstAxis + event.jaxis.axis), event.jaxis.value))
                    d->controller->valuesChanged();
            break;
        case SDL_JOYHATMOTION:
            if (Device* d = device(event.jhat.which); d && !d->handle)
                if (d->controller->setRawValue(size_t(d->firstHat + event.jhat.hat), event.jhat.value))
                    d->controller->valuesChanged();
            break;
        case SDL_CONTROLLERSENSORUPDATE:
            if (Device* d = device(event.csensor.which); d && d->handle)
                sensorUpdated(*d, event.csensor);
            break;
        case SDL_CONTROLLERTOUCHPADDOWN:
        case SDL_CONTROLLERTOUCHPADMOTION:
        case SDL_CONTROLLERTOUCHPADUP:
            if (Device* d = device(event.ctouchpad.which); d && d->handle)
                touched(*d, event.ctouchpad, event.type != SDL_CONTROLLERTOUCHPADUP);
            break;
        case SDL_JOYBATTERYUPDATED:
            if (Device* d = device(event.jbattery.which))
                d->controller->setBatteryLevel(batteryLevel(event.jbattery.level));
            break;
        default:
            break;
        }
    }
}

void SdlGameControllerSource::scanJoysticks()
{
    for (int i = 0; m_running && i < g_sdl->SDL_NumJoysticks(); ++i) {
        const SDL_JoystickID id = g_sdl->SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0)
            continue;
        auto it = m_devices.find(id);
        if (it == m_devices.end()) {
            open(i);
        } else if (!it->second.handle && g_sdl->SDL_IsGameController(i)) {
            // A mapping has come for it: it becomes a game controller, under the same number.
            const int player = it->second.controller->playerIndex();
            deviceRemoved(id);
            open(i, player);
        }
    }
    updatePollInterval();
}

void SdlGameControllerSource::open(int deviceIndex, int playerIndex)
{
    const SDL_JoystickID id = g_sdl->SDL_JoystickGetDeviceInstanceID(deviceIndex);
    Device device;
    if (g_sdl->SDL_IsGameController(deviceIndex)) {
        device.handle = g_sdl->SDL_GameControllerOpen(deviceIndex);
        if (!device.handle)
            return; // unplugged again before we got to it
        device.joystick = g_sdl->SDL_GameControllerGetJoystick(device.handle);
        device.controller = makeController(device.handle);
        std::vector<GCControllerRawInput> raw;
        device.rawButton.assign(SDL_CONTROLLER_BUTTON_MAX, -1);
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
            if (!g_sdl->SDL_GameControllerHasButton(device.handle, SDL_GameControllerButton(b)))
                continue;
            const std::optional<Key> key = GameControllerKeys::keyOfSdlButton(b);
            device.rawButton[size_t(b)] = int(raw.size());
            raw.push_back(
                { RawKind::Button, key ? QString::fromLatin1(GameControllerKeys::name(*key)) : extraButtonName(b),
                    g_sdl->SDL_GameControllerGetButton(device.handle, SDL_GameControllerButton(b)) });
        }
        device.rawAxis.assign(SDL_CONTROLLER_AXIS_MAX, -1);
        for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a) {
            if (!g_sdl->SDL_GameControllerHasAxis(device.handle, SDL_GameControllerAxis(a)))
                continue;
            device.rawAxis[size_t(a)] = int(raw.size());
            raw.push_back({ RawKind::Axis, QString::fromLatin1(GameControllerKeys::sdlAxisName(a)),
                g_sdl->SDL_GameControllerGetAxis(device.handle, SDL_GameControllerAxis(a)) });
        }
        device.controller->setRawInputs(std::move(raw));
        const bool gyroscope = g_sdl->SDL_GameControllerHasSensor(device.handle, SDL_SENSOR_GYRO);
        const bool accelerometer = g_sdl->SDL_GameControllerHasSensor(device.handle, SDL_SENSOR_ACCEL);
        device.controller->setMotionSensors(gyroscope, accelerometer,
            gyroscope ? g_sdl->SDL_GameControllerGetSensorDataRate(device.handle, SDL_SENSOR_GYRO) : 0.0,
            accelerometer ? g_sdl->SDL_GameControllerGetSensorDataRate(device.handle, SDL_SENSOR_ACCEL) : 0.0);
        const int touchpads = g_sdl->SDL_GameControllerGetNumTouchpads(device.handle);
        int fingers = 0;
        for (int t = 0; t < touchpads; ++t)
            fingers = std::max(fingers, g_sdl->SDL_GameControllerGetNumTouchpadFingers(device.handle, t));
        device.controller->setTouchpads(touchpads, fingers);
    } else {
        device.joystick = g_sdl->SDL_JoystickOpen(deviceIndex);
        if (!device.joystick)
            return;
        device.controller
            = GCController::create(oneLine(g_sdl->SDL_JoystickName(device.joystick)), GCControllerProfile::None);
        std::vector<GCControllerRawInput> raw;
        device.firstButton = 0;
        for (int b = 0; b < g_sdl->SDL_JoystickNumButtons(device.joystick); ++b)
            raw.push_back(
                { RawKind::Button, QStringLiteral("b%1").arg(b), g_sdl->SDL_JoystickGetButton(device.joystick, b) });
        device.firstAxis = int(raw.size());
        for (int a = 0; a < g_sdl->SDL_JoystickNumAxes(device.joystick); ++a)
            raw.push_back(
                { RawKind::Axis, QStringLiteral("a%1").arg(a), g_sdl->SDL_JoystickGetAxis(device.joystick, a) });
        device.firstHat = int(raw.size());
        for (int h = 0; h < g_sdl->SDL_JoystickNumHats(device.joystick); ++h)
            raw.push_back(
                { RawKind::Hat, QStringLiteral("h%1").arg(h), g_sdl->SDL_JoystickGetHat(device.joystick, h) });
        device.controller->setRawInputs(std::move(raw));
    }
    const GCControllerPtr controller = device.controller;
    controller->setIdentity(identityOf(device.joystick, device.handle, deviceIndex));
    controller->setHaptics(hapticsOf(device.joystick, device.handle, id));
    if (!device.handle)
        controller->setMappingSaver(
            [this](const QByteArray& line, QString* error) { return saveMapping(line, error); });
    openEventDevice(device, id);
    controller->setMeasuringSwitch([this, id](bool measuring) { measure(id, measuring); });
    controller->setBatteryLevel(batteryLevel(g_sdl->SDL_JoystickCurrentPowerLevel(device.joystick)));
    controller->setPlayerIndexDisplay([id](int index) {
        if (SDL_Joystick* open = g_sdl->SDL_JoystickFromInstanceID(id))
            g_sdl->SDL_JoystickSetPlayerIndex(open, index);
    });
    if (playerIndex != GCControllerPlayerIndexUnset)
        controller->setPlayerIndex(playerIndex);
    m_devices.emplace(id, std::move(device));
    updatePollInterval();
    m_service.connectController(controller);
}

void SdlGameControllerSource::deviceRemoved(SDL_JoystickID instanceId)
{
    auto it = m_devices.find(instanceId);
    if (it == m_devices.end())
        return;
    const GCControllerPtr controller = it->second.controller;
    if (it->second.handle)
        g_sdl->SDL_GameControllerClose(it->second.handle);
    else
        g_sdl->SDL_JoystickClose(it->second.joystick);
    m_devices.erase(it);
    updatePollInterval();
    controller->setPlayerIndexDisplay(nullptr);
    controller->setHaptics({});
    controller->setMappingSaver(nullptr);
    controller->setMeasuringSwitch(nullptr);
    m_service.disconnectController(controller);
}

void SdlGameControllerSource::rewire(SDL_JoystickID instanceId)
{
    auto it = m_devices.find(instanceId);
    if (it == m_devices.end())
        return;
    // The new mapping may give the controller other elements, or another
    // profile: it is connected anew, under the same player number.
    const int player = it->second.controller->playerIndex();
    deviceRemoved(instanceId);
    for (int i = 0; i < g_sdl->SDL_NumJoysticks(); ++i)
        if (g_sdl->SDL_JoystickGetDeviceInstanceID(i) == instanceId)
            open(i, player);
}

// SDL 2 stamps each event with its millisecond clock as it queues it, which
// for a real device is when our poll has SDL read it: the poll's clock.
void SdlGameControllerSource::buttonChanged(Device& device, int button, bool pressed, Uint32 timestamp)
{
    const GCControllerPtr controller = device.controller; // handlers may unplug the device
    controller->setInputTime(qint64(timestamp) * kMicrosecondsPerMs, GCControllerInputClock::Poll);
    if (button >= 0 && size_t(button) < device.rawButton.size() && device.rawButton[size_t(button)] >= 0)
        controller->setRawValue(size_t(device.rawButton[size_t(button)]), pressed ? 1 : 0);
    // SDL 2 has one touchpad button, the first touchpad's.
    if (button == SDL_CONTROLLER_BUTTON_TOUCHPAD)
        controller->setTouchpadPressed(0, pressed);
    const std::optional<Key> key = GameControllerKeys::keyOfSdlButton(button);
    if (key && !GameControllerKeys::isPadDirection(*key)) {
        if (GCControllerButtonInput* element = GameControllerKeys::element(*controller, *key))
            element->setValue(pressed ? 1.0f : 0.0f);
        if (*key == GameControllerKeys::kPauseButtonKey && pressed)
            controller->pause();
    } else if (key) {
        switch (*key) {
        case Key::Up:
            device.up = pressed;
            break;
        case Key::Down:
            device.down = pressed;
            break;
        case Key::Left:
            device.left = pressed;
            break;
        case Key::Right:
            device.right = pressed;
            break;
        default:
            break;
        }
        GCControllerDirectionPad* dpad = nullptr;
        if (const auto extended = controller->extendedGamepad())
            dpad = extended->dpad();
        else if (const auto basic = controller->gamepad())
            dpad = basic->dpad();
        if (dpad)
            dpad->setValue(float(device.right) - float(device.left), float(device.up) - float(device.down));
    }
    controller->valuesChanged();
}

void SdlGameControllerSource::axisChanged(Device& device, int axis, Sint16 value, Uint32 timestamp)
{
    const GCControllerPtr controller = device.controller; // handlers may unplug the device
    controller->setInputTime(qint64(timestamp) * kMicrosecondsPerMs, GCControllerInputClock::Poll);
    if (axis >= 0 && size_t(axis) < device.rawAxis.size() && device.rawAxis[size_t(axis)] >= 0)
        controller->setRawValue(size_t(device.rawAxis[size_t(axis)]), value);
    if (const auto pad = controller->extendedGamepad()) {
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
            // The triggers, where the controller has them.
            if (const std::optional<Key> key = GameControllerKeys::keyOfSdlAxis(axis))
                if (GCControllerButtonInput* element = GameControllerKeys::element(*pad, *key))
                    element->setValue(normalised(value));
            break;
        }
    }
    controller->valuesChanged();
}

void SdlGameControllerSource::sensorUpdated(Device& device, const SDL_ControllerSensorEvent& event)
{
    const bool gyroscope = event.sensor == SDL_SENSOR_GYRO;
    if (!gyroscope && event.sensor != SDL_SENSOR_ACCEL)
        return; // a Joy-Con's own half of a pair: the pair reports as a whole
    // The device's own time where it gives one, else our poll's.
    const qint64 at = event.timestamp_us ? qint64(event.timestamp_us) : qint64(event.timestamp) * kMicrosecondsPerMs;
    std::array<float, 3> values { event.data[0], event.data[1], event.data[2] };
    if (gyroscope)
        for (float& v : values)
            v *= float(kDegreesPerRadian); // SDL gives radians per second
    const GCControllerPtr controller = device.controller; // observers may unplug the device
    controller->setSensorValues(
        gyroscope ? GCControllerSensor::Gyroscope : GCControllerSensor::Accelerometer, values, at);
}

void SdlGameControllerSource::touched(Device& device, const SDL_ControllerTouchpadEvent& event, bool down)
{
    const GCControllerPtr controller = device.controller; // observers may unplug the device
    controller->setTouch(event.touchpad, event.finger, { down, event.x, event.y, down ? event.pressure : 0.0f });
}

void SdlGameControllerSource::openEventDevice(Device& device, SDL_JoystickID instanceId)
{
    const GCControllerPtr controller = device.controller;
    const GCControllerIdentity id = controller->identity();
    const EventDeviceFinder::Result found
        = EventDeviceFinder::find(QString::fromUtf8(g_sdl->SDL_JoystickPath(device.joystick)), id.vendorId,
            id.productId, controller->vendorName(), m_deviceFolder, m_classFolder);
    GCControllerReportClock clock;
    clock.clock = GCControllerInputClock::Poll;
    clock.node = found.node;
    clock.reason = found.reason;
    if (!found.node.isEmpty()) {
        auto reader = std::make_unique<InputEventReader>();
        if (reader->open(found.node)) {
            clock.clock = GCControllerInputClock::Device;
            reader->onReport = [this, instanceId](const InputEventReader::Report& report) {
                auto it = m_devices.find(instanceId);
                if (it == m_devices.end())
                    return;
                Device& d = it->second;
                d.pendingGap = d.pendingGap || report.afterGap;
                // A report that moved no axis moved no stick: its time is no stick's report.
                if (report.axes) {
                    const GCControllerPtr c = d.controller;
                    c->deviceReported(report.microseconds, std::exchange(d.pendingGap, false));
                }
            };
            reader->onFailure = [this, instanceId] {
                auto it = m_devices.find(instanceId);
                if (it == m_devices.end())
                    return;
                const InputEventReader* r = it->second.reader.get();
                GCControllerReportClock failed = it->second.controller->reportClock();
                failed.clock = GCControllerInputClock::Poll;
                failed.reason = GCControllerClockReason::Closed;
                failed.error = r->errorString();
                const GCControllerPtr c = it->second.controller; // observers may unplug the device
                c->setReportClock(failed);
                c->valuesChanged(); // whoever shows the clock learns of it
            };
            device.reader = std::move(reader);
        } else {
            switch (reader->failure()) {
            case InputEventReader::Failure::Missing:
                clock.reason = GCControllerClockReason::NodeMissing;
                break;
            case InputEventReader::Failure::NoPermission:
                clock.reason = GCControllerClockReason::NoPermission;
                break;
            default:
                clock.reason = GCControllerClockReason::Unreadable;
                clock.error = reader->errorString();
                break;
            }
        }
    }
    controller->setReportClock(clock);
}

void SdlGameControllerSource::measure(SDL_JoystickID instanceId, bool measuring)
{
    auto it = m_devices.find(instanceId);
    if (it == m_devices.end())
        return;
    Device& device = it->second;
    if (device.reader)
        device.reader->setEnabled(measuring);
    if (device.handle) {
        const GCControllerMotion& motion = device.controller->motion();
        const SDL_bool on = measuring ? SDL_TRUE : SDL_FALSE;
        if (motion.hasGyroscope)
            g_sdl->SDL_GameControllerSetSensorEnabled(device.handle, SDL_SENSOR_GYRO, on);
        if (motion.hasAccelerometer)
            g_sdl->SDL_GameControllerSetSensorEnabled(device.handle, SDL_SENSOR_ACCEL, on);
    }
}
