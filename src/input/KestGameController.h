#pragma once

#include "platform/gamepad/GCController.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

class KestGameControllerManager;

// Wraps one connected controller: picks its input profile and installs a
// handler on every element of that profile. The handlers report to the
// manager's slots as they are at each event, never to this object. The
// manager outlives every controller it wires.
//
// Nobody keeps a wrapper but the pause handler that it installs on its own
// controller; it lives as long as the controller keeps that handler.
class KestGameController : public std::enable_shared_from_this<KestGameController> {
public:
    using PauseButtonBlock = std::function<void(const GCControllerPtr& controller)>;

    // What gamePadType() reads.
    enum GamePadType : qint64 { BasicGamepad = 0, ExtendedGamepad = 1, NoGamepad = 2 };

    static std::shared_ptr<KestGameController> create(KestGameControllerManager& manager);
    KestGameController(const KestGameController&) = delete;
    KestGameController& operator=(const KestGameController&) = delete;

    GCControllerPtr controller() const { return m_controller; }
    // Holds the controller and wires it; the same controller again changes
    // nothing. Handlers installed on a controller held before stay in place.
    void setController(const GCControllerPtr& controller);

    // Which profile the controller offers, read anew each time.
    qint64 gamePadType() const;

    std::shared_ptr<GCGamepad> gamepad() const { return m_gamepad; }
    void setGamepad(std::shared_ptr<GCGamepad> gamepad) { m_gamepad = std::move(gamepad); }
    std::shared_ptr<GCExtendedGamepad> extendedGamepad() const { return m_extendedGamepad; }
    void setExtendedGamepad(std::shared_ptr<GCExtendedGamepad> pad) { m_extendedGamepad = std::move(pad); }

    // Called with the controller on each press of its pause button. Safe to
    // read and set from any thread.
    PauseButtonBlock pauseButtonBlock() const;
    void setPauseButtonBlock(PauseButtonBlock block);

    // The last position any controller reported for the left (true) or the
    // right stick: what the stick slots' movements are measured from.
    static std::pair<float, float> lastJoystickPosition(bool left);

    // Wire the elements of the extended or the basic profile.
    void _setupExtendedGamepad();
    void _setupGamepad();

private:
    explicit KestGameController(KestGameControllerManager& manager)
        : m_manager(&manager)
    {
    }

    KestGameControllerManager* m_manager;
    mutable std::mutex m_pauseMutex;
    PauseButtonBlock m_pauseButtonBlock;
    GCControllerPtr m_controller;
    std::shared_ptr<GCGamepad> m_gamepad;
    std::shared_ptr<GCExtendedGamepad> m_extendedGamepad;
};
