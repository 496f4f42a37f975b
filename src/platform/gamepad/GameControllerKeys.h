#pragma once

#include <QString>

#include <array>
#include <optional>

class GCController;
class GCControllerButtonInput;
class GCControllerDirectionPad;
class GCExtendedGamepad;
class GCGamepad;

// The one table of a game controller's keys. For each key: its name, the
// element that reports it in the extended and in the basic profile and how
// that element is followed there, the SDL game-controller button or axis that
// drives it, and the keyboard keys that press it on the virtual controller.
// The SDL source, the virtual controller and the input manager's wiring all
// read their mapping from here.
class GameControllerKeys {
public:
    // In the order of the input manager's key slots. Pause and Turbo have a
    // slot and a name, but no element, button or keyboard key.
    enum class Key { A, B, X, Y, L1, L2, L3, R1, R2, R3, Home, Menu, Options, Pause, Turbo, Up, Down, Left, Right };
    static constexpr int kKeyCount = int(Key::Right) + 1;

    // How a profile's element for a key is followed: every change of its
    // analogue value, or only the changes of its pressed flag. None: the
    // profile has no element for the key.
    enum class Report { None, EveryValue, PressedChanges };

    // Pressing this key is also a press of the controller's pause button.
    static constexpr Key kPauseButtonKey = Key::Menu;
    // SDL's "invalid" button and axis: the key is not driven that way.
    static constexpr int kNoSdlInput = -1;

    using ExtendedElement = GCControllerButtonInput* (GCExtendedGamepad::*)() const;
    using BasicElement = GCControllerButtonInput* (GCGamepad::*)() const;
    using PadDirection = GCControllerButtonInput* (GCControllerDirectionPad::*)() const;

    struct Entry {
        Key key;
        const char* name;
        // The profile's own element; null for the pad's directions, which
        // are a direction of the profile's pad.
        ExtendedElement extended;
        BasicElement basic;
        PadDirection direction;
        Report extendedReport;
        Report basicReport;
        int sdlButton; // SDL_GameControllerButton, or kNoSdlInput
        int sdlAxis; // SDL_GameControllerAxis, or kNoSdlInput
        std::array<int, 2> keyboard; // Qt::Key codes; 0 for none
    };

    // Every key, in Key order.
    static const std::array<Entry, kKeyCount>& entries();
    static const Entry& entry(Key key) { return entries()[size_t(key)]; }

    // "A", "L1", "Home", "Up", ...
    static const char* name(Key key) { return entry(key).name; }
    // The key of that name, in any letter case.
    static std::optional<Key> keyNamed(const QString& name);
    static std::optional<Key> keyOfSdlButton(int button);
    static std::optional<Key> keyOfSdlAxis(int axis);
    static std::optional<Key> keyOfKeyboardKey(int key);

    // The name a mapped controller's SDL axis has among its raw inputs:
    // "LX", "LY", "RX", "RY", "L2", "R2"; empty for another number.
    static const char* sdlAxisName(int axis);
    // The raw input of that name; -1 when the controller has none.
    static int rawInputIndex(const GCController& controller, const char* name);

    static bool isPadDirection(Key key) { return entry(key).direction != nullptr; }
    // Whether either profile has an element for the key.
    static bool hasElement(Key key)
    {
        return entry(key).extendedReport != Report::None || entry(key).basicReport != Report::None;
    }

    // The element that reports the key on the profile the controller offers;
    // null when there is none (also an optional element the controller lacks).
    static GCControllerButtonInput* element(const GCController& controller, Key key);
    static GCControllerButtonInput* element(const GCExtendedGamepad& pad, Key key);
    static GCControllerButtonInput* element(const GCGamepad& pad, Key key);
};
