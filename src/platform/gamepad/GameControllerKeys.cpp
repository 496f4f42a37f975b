#include "platform/gamepad/GameControllerKeys.h"

#include "platform/gamepad/GCController.h"

#include <Qt>

#include <SDL.h>

namespace {

using Key = GameControllerKeys::Key;
using Entry = GameControllerKeys::Entry;
constexpr auto kEveryValue = GameControllerKeys::Report::EveryValue;
constexpr auto kPressed = GameControllerKeys::Report::PressedChanges;
constexpr auto kNone = GameControllerKeys::Report::None;
constexpr int kNoSdl = GameControllerKeys::kNoSdlInput;
using Ext = GCExtendedGamepad;
using Basic = GCGamepad;
using Pad = GCControllerDirectionPad;

// In the extended profile the shoulders, triggers and stick clicks report
// only pressed changes; every other element reports each analogue change.
// The triggers are SDL axes; Return and Enter are both the menu key.
constexpr std::array<Entry, GameControllerKeys::kKeyCount> kEntries { {
    // key, name, extended element, basic element, pad direction, extended report, basic report,
    // SDL button, SDL axis, keyboard keys
    { Key::A, "A", &Ext::buttonA, &Basic::buttonA, nullptr, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_A, kNoSdl,
        { Qt::Key_Z } },
    { Key::B, "B", &Ext::buttonB, &Basic::buttonB, nullptr, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_B, kNoSdl,
        { Qt::Key_X } },
    { Key::X, "X", &Ext::buttonX, &Basic::buttonX, nullptr, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_X, kNoSdl,
        { Qt::Key_C } },
    { Key::Y, "Y", &Ext::buttonY, &Basic::buttonY, nullptr, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_Y, kNoSdl,
        { Qt::Key_V } },
    { Key::L1, "L1", &Ext::leftShoulder, &Basic::leftShoulder, nullptr, kPressed, kEveryValue,
        SDL_CONTROLLER_BUTTON_LEFTSHOULDER, kNoSdl, { Qt::Key_Q } },
    { Key::L2, "L2", &Ext::leftTrigger, nullptr, nullptr, kPressed, kNone, kNoSdl, SDL_CONTROLLER_AXIS_TRIGGERLEFT,
        { Qt::Key_1 } },
    { Key::L3, "L3", &Ext::leftThumbstickButton, nullptr, nullptr, kPressed, kNone, SDL_CONTROLLER_BUTTON_LEFTSTICK,
        kNoSdl, { Qt::Key_F } },
    { Key::R1, "R1", &Ext::rightShoulder, &Basic::rightShoulder, nullptr, kPressed, kEveryValue,
        SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, kNoSdl, { Qt::Key_E } },
    { Key::R2, "R2", &Ext::rightTrigger, nullptr, nullptr, kPressed, kNone, kNoSdl, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
        { Qt::Key_3 } },
    { Key::R3, "R3", &Ext::rightThumbstickButton, nullptr, nullptr, kPressed, kNone, SDL_CONTROLLER_BUTTON_RIGHTSTICK,
        kNoSdl, { Qt::Key_G } },
    { Key::Home, "Home", &Ext::buttonHome, nullptr, nullptr, kEveryValue, kNone, SDL_CONTROLLER_BUTTON_GUIDE, kNoSdl,
        { Qt::Key_Home } },
    { Key::Menu, "Menu", &Ext::buttonMenu, nullptr, nullptr, kEveryValue, kNone, SDL_CONTROLLER_BUTTON_START, kNoSdl,
        { Qt::Key_Return, Qt::Key_Enter } },
    { Key::Options, "Options", &Ext::buttonOptions, nullptr, nullptr, kEveryValue, kNone, SDL_CONTROLLER_BUTTON_BACK,
        kNoSdl, { Qt::Key_Tab } },
    { Key::Pause, "Pause", nullptr, nullptr, nullptr, kNone, kNone, kNoSdl, kNoSdl, {} },
    { Key::Turbo, "Turbo", nullptr, nullptr, nullptr, kNone, kNone, kNoSdl, kNoSdl, {} },
    { Key::Up, "Up", nullptr, nullptr, &Pad::up, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_DPAD_UP, kNoSdl,
        { Qt::Key_Up } },
    { Key::Down, "Down", nullptr, nullptr, &Pad::down, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
        kNoSdl, { Qt::Key_Down } },
    { Key::Left, "Left", nullptr, nullptr, &Pad::left, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
        kNoSdl, { Qt::Key_Left } },
    { Key::Right, "Right", nullptr, nullptr, &Pad::right, kEveryValue, kEveryValue, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
        kNoSdl, { Qt::Key_Right } },
} };

constexpr bool inKeyOrder()
{
    for (int i = 0; i < GameControllerKeys::kKeyCount; ++i)
        if (int(kEntries[size_t(i)].key) != i)
            return false;
    return true;
}
static_assert(inKeyOrder(), "entry(key) indexes the table by key");

template <class Match> std::optional<Key> find(Match match)
{
    for (const Entry& e : kEntries)
        if (match(e))
            return e.key;
    return std::nullopt;
}

} // namespace

const std::array<Entry, GameControllerKeys::kKeyCount>& GameControllerKeys::entries()
{
    return kEntries;
}

std::optional<Key> GameControllerKeys::keyNamed(const QString& name)
{
    return find([&](const Entry& e) { return name.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0; });
}

std::optional<Key> GameControllerKeys::keyOfSdlButton(int button)
{
    if (button == kNoSdlInput)
        return std::nullopt;
    return find([button](const Entry& e) { return e.sdlButton == button; });
}

std::optional<Key> GameControllerKeys::keyOfSdlAxis(int axis)
{
    if (axis == kNoSdlInput)
        return std::nullopt;
    return find([axis](const Entry& e) { return e.sdlAxis == axis; });
}

std::optional<Key> GameControllerKeys::keyOfKeyboardKey(int key)
{
    if (key == 0)
        return std::nullopt;
    return find([key](const Entry& e) { return e.keyboard[0] == key || e.keyboard[1] == key; });
}

GCControllerButtonInput* GameControllerKeys::element(const GCController& controller, Key key)
{
    if (const auto pad = controller.extendedGamepad())
        return element(*pad, key);
    if (const auto pad = controller.gamepad())
        return element(*pad, key);
    return nullptr;
}

GCControllerButtonInput* GameControllerKeys::element(const GCExtendedGamepad& pad, Key key)
{
    const Entry& e = entry(key);
    if (e.direction)
        return (pad.dpad()->*e.direction)();
    return e.extended ? (pad.*e.extended)() : nullptr;
}

GCControllerButtonInput* GameControllerKeys::element(const GCGamepad& pad, Key key)
{
    const Entry& e = entry(key);
    if (e.direction)
        return (pad.dpad()->*e.direction)();
    return e.basic ? (pad.*e.basic)() : nullptr;
}

const char* GameControllerKeys::sdlAxisName(int axis)
{
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        return "LX";
    case SDL_CONTROLLER_AXIS_LEFTY:
        return "LY";
    case SDL_CONTROLLER_AXIS_RIGHTX:
        return "RX";
    case SDL_CONTROLLER_AXIS_RIGHTY:
        return "RY";
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        return "L2";
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        return "R2";
    default:
        return "";
    }
}

int GameControllerKeys::rawInputIndex(const GCController& controller, const char* name)
{
    const std::vector<GCControllerRawInput>& inputs = controller.rawInputs();
    for (size_t i = 0; i < inputs.size(); ++i)
        if (inputs[i].kind == GCControllerRawInput::Kind::Axis && inputs[i].name == QLatin1String(name))
            return int(i);
    return -1;
}
