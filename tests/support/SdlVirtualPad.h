#pragma once

#include <QString>

#include <SDL.h>

#include <bit>
#include <cmath>
#include <memory>

namespace testsupport {

// A device on SDL's virtual joystick driver, mapped as a game controller.
// Buttons and axes left out of the masks don't exist on it at all.
class SdlVirtualPad {
public:
    static constexpr Uint32 kAllButtons = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    static constexpr Uint32 kAllAxes = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;

    struct Motors {
        bool rumble, triggers, light;
    };
    // What the device's motors and light were asked to do.
    struct Requests {
        int rumbles = 0, triggerRumbles = 0, lights = 0;
        Uint16 low = 0, high = 0, leftTrigger = 0, rightTrigger = 0;
        Uint8 red = 0, green = 0, blue = 0;
        // The device refuses every request, as a device can.
        bool refuse = false;
    };

    // vendor, product: the USB ids the device gives; 0 for none.
    explicit SdlVirtualPad(const char* name, Uint32 buttons = kAllButtons, Uint32 axes = kAllAxes,
        Motors motors = { false, false, false }, Uint16 vendor = 0, Uint16 product = 0)
        : m_buttons(buttons)
        , m_axes(axes)
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.nbuttons = Uint16(std::popcount(buttons));
        desc.naxes = Uint16(std::popcount(axes));
        desc.button_mask = buttons;
        desc.axis_mask = axes;
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.name = name;
        attach(desc, motors);
    }
    // A joystick SDL has no game-controller mapping for: numbered buttons,
    // axes and hats only.
    static std::unique_ptr<SdlVirtualPad> joystick(const char* name, int buttons, int axes, int hats)
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.nbuttons = Uint16(buttons);
        desc.naxes = Uint16(axes);
        desc.nhats = Uint16(hats);
        desc.name = name;
        auto pad = std::unique_ptr<SdlVirtualPad>(new SdlVirtualPad);
        pad->attach(desc, { false, false, false });
        return pad;
    }
    ~SdlVirtualPad() { unplug(); }

    QString error;
    Requests requests;
    bool isPlugged() const { return m_id >= 0; }
    SDL_JoystickID id() const { return m_id; }
    QString guid() const
    {
        char text[33] = {};
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id)
                SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(i), text, sizeof text);
        return QString::fromLatin1(text);
    }
    // By the device's own numbering, for a joystick without mapping.
    void rawButton(int b, bool down) const
    {
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(m_id), b, down);
        SDL_JoystickUpdate();
    }
    void rawAxis(int a, Sint16 value) const
    {
        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(m_id), a, value);
        SDL_JoystickUpdate();
    }
    void rawHat(int h, Uint8 value) const
    {
        SDL_JoystickSetVirtualHat(SDL_JoystickFromInstanceID(m_id), h, value);
        SDL_JoystickUpdate();
    }

private:
    SdlVirtualPad() = default;

    void attach(SDL_VirtualJoystickDesc& desc, Motors motors)
    {
        desc.userdata = &requests;
        if (motors.rumble)
            desc.Rumble = [](void* data, Uint16 low, Uint16 high) {
                auto* r = static_cast<Requests*>(data);
                ++r->rumbles;
                r->low = low;
                r->high = high;
                return r->refuse ? -1 : 0;
            };
        if (motors.triggers)
            desc.RumbleTriggers = [](void* data, Uint16 left, Uint16 right) {
                auto* r = static_cast<Requests*>(data);
                ++r->triggerRumbles;
                r->leftTrigger = left;
                r->rightTrigger = right;
                return r->refuse ? -1 : 0;
            };
        if (motors.light)
            desc.SetLED = [](void* data, Uint8 red, Uint8 green, Uint8 blue) {
                auto* r = static_cast<Requests*>(data);
                ++r->lights;
                r->red = red;
                r->green = green;
                r->blue = blue;
                return r->refuse ? -1 : 0;
            };
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0)
            error = QString::fromUtf8(SDL_GetError());
        else
            m_id = SDL_JoystickGetDeviceInstanceID(index);
    }

public:
    void unplug()
    {
        // Device indexes shift as devices come and go: look it up by its id.
        for (int i = 0; m_id >= 0 && i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id)
                SDL_JoystickDetachVirtual(i);
        m_id = -1;
    }
    // Each change is queued as an event at once: a press and release before
    // the next poll would otherwise never be seen, as on a real device.
    void button(SDL_GameControllerButton b, bool down) const
    {
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(m_id), slot(m_buttons, b), down);
        SDL_JoystickUpdate();
    }
    void axis(SDL_GameControllerAxis a, Sint16 value) const
    {
        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(m_id), slot(m_axes, a), value);
        SDL_JoystickUpdate();
    }
    // The driver's trigger axes span the whole axis range, at rest at its bottom.
    void trigger(SDL_GameControllerAxis a, double level) const
    {
        axis(a, Sint16(std::lround(level * 65535.0 - 32768.0)));
    }
    int playerIndex() const { return SDL_JoystickGetPlayerIndex(SDL_JoystickFromInstanceID(m_id)); }

private:
    // The driver numbers only the buttons and axes that the device has.
    static int slot(Uint32 mask, int which) { return std::popcount(mask & ((1u << which) - 1)); }

    Uint32 m_buttons = 0;
    Uint32 m_axes = 0;
    SDL_JoystickID m_id = -1;
};

} // namespace testsupport
