#pragma once

#include "cli/CliCommand.h"
#include "platform/gamepad/GCController.h"
#include "platform/gamepad/VirtualGameController.h"

#include <memory>

// What the game-controller commands share: they follow the machine's own
// controllers, or with --simulate only a virtual controller that is plugged
// in a moment after the start.
class GameControllerCommand : public CliCommand {
    Q_OBJECT
public:
    // "A moment after the start": late enough that the connection is seen as
    // an event, as a controller plugged in by hand would be.
    static constexpr double kSimulatedPlugInDelay = 0.1;
    // How long gamepads and rumble give controllers to be found.
    static constexpr double kSettleSeconds = 0.5;
    // The simulated controller's touchpad, with room for two fingers.
    static constexpr int kSimulatedTouchpads = 1;
    static constexpr int kSimulatedFingers = 2;

    using CliCommand::CliCommand;

protected:
    // Starts the controllers; false after printing why they cannot be used.
    bool startControllers();
    // extended, basic or unmapped (a joystick without a mapping).
    static QString profileName(const GCControllerPtr& controller);
    // A line on standard output, at once.
    static void printLine(const QString& line);

    std::unique_ptr<VirtualGameController> m_virtual;
};
