#pragma once

#include <QString>

#include <SDL.h>

// Every SDL function the program calls, with SDL's own prototype.
#define Q3DART_SDL_FUNCTIONS(X)                                                                                        \
    X(SDL_ClearError)                                                                                                  \
    X(SDL_free)                                                                                                        \
    X(SDL_GetError)                                                                                                    \
    X(SDL_GetPlatform)                                                                                                 \
    X(SDL_SetHint)                                                                                                     \
    X(SDL_InitSubSystem)                                                                                               \
    X(SDL_QuitSubSystem)                                                                                               \
    X(SDL_PollEvent)                                                                                                   \
    X(SDL_AddEventWatch)                                                                                               \
    X(SDL_DelEventWatch)                                                                                               \
    X(SDL_NumJoysticks)                                                                                                \
    X(SDL_IsGameController)                                                                                            \
    X(SDL_GameControllerAddMapping)                                                                                    \
    X(SDL_GameControllerOpen)                                                                                          \
    X(SDL_GameControllerClose)                                                                                         \
    X(SDL_GameControllerName)                                                                                          \
    X(SDL_GameControllerGetType)                                                                                       \
    X(SDL_GameControllerTypeForIndex)                                                                                  \
    X(SDL_GameControllerGetJoystick)                                                                                   \
    X(SDL_GameControllerGetAxis)                                                                                       \
    X(SDL_GameControllerGetButton)                                                                                     \
    X(SDL_GameControllerHasAxis)                                                                                       \
    X(SDL_GameControllerHasButton)                                                                                     \
    X(SDL_GameControllerGetStringForButton)                                                                            \
    X(SDL_GameControllerHasLED)                                                                                        \
    X(SDL_GameControllerHasRumble)                                                                                     \
    X(SDL_GameControllerHasRumbleTriggers)                                                                             \
    X(SDL_GameControllerMapping)                                                                                       \
    X(SDL_GameControllerHasSensor)                                                                                     \
    X(SDL_GameControllerSetSensorEnabled)                                                                              \
    X(SDL_GameControllerGetSensorDataRate)                                                                             \
    X(SDL_GameControllerGetNumTouchpads)                                                                               \
    X(SDL_GameControllerGetNumTouchpadFingers)                                                                         \
    X(SDL_JoystickOpen)                                                                                                \
    X(SDL_JoystickClose)                                                                                               \
    X(SDL_JoystickFromInstanceID)                                                                                      \
    X(SDL_JoystickGetDeviceInstanceID)                                                                                 \
    X(SDL_JoystickName)                                                                                                \
    X(SDL_JoystickPath)                                                                                                \
    X(SDL_JoystickGetVendor)                                                                                           \
    X(SDL_JoystickGetProduct)                                                                                          \
    X(SDL_JoystickGetSerial)                                                                                           \
    X(SDL_JoystickGetGUID)                                                                                             \
    X(SDL_JoystickGetGUIDString)                                                                                       \
    X(SDL_JoystickNumAxes)                                                                                             \
    X(SDL_JoystickNumButtons)                                                                                          \
    X(SDL_JoystickNumHats)                                                                                             \
    X(SDL_JoystickGetAxis)                                                                                             \
    X(SDL_JoystickGetButton)                                                                                           \
    X(SDL_JoystickGetHat)                                                                                              \
    X(SDL_JoystickCurrentPowerLevel)                                                                                   \
    X(SDL_JoystickHasLED)                                                                                              \
    X(SDL_JoystickHasRumble)                                                                                           \
    X(SDL_JoystickHasRumbleTriggers)                                                                                   \
    X(SDL_JoystickRumble)                                                                                              \
    X(SDL_JoystickRumbleTriggers)                                                                                      \
    X(SDL_JoystickSetLED)                                                                                              \
    X(SDL_JoystickSetPlayerIndex)

// SDL, loaded when game controllers are first started rather than with the
// program: SDL and the libraries it needs (display servers, sound) would
// otherwise cost every start, even of commands that never read a controller.
// The headers are only used for the prototypes. Once loaded SDL stays for the
// life of the process; a load that failed is tried again by the next call.
class SdlLibrary {
public:
    static constexpr const char* kFileName = "libSDL2-2.0.so.0";
    // Names the file to load instead of kFileName.
    static constexpr const char* kPathVariable = "Q3DART_SDL_LIBRARY";

    // The library with all its functions; nullptr, with error() saying which
    // file or function failed, when it cannot be loaded.
    static const SdlLibrary* load();
    // Why the last load failed: the loader's own text, in English.
    static QString error();

#define Q3DART_SDL_POINTER(name) decltype(&::name) name = nullptr;
    Q3DART_SDL_FUNCTIONS(Q3DART_SDL_POINTER)
#undef Q3DART_SDL_POINTER

private:
    SdlLibrary() = default;
};
