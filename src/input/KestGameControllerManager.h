#pragma once

#include "platform/gamepad/GameControllerKeys.h"
#include "platform/gamepad/GCController.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

struct Notification;
class GameControllerService;
class KestGameController;
class KestGameControllerManager;

// Told of game controllers as they come and go.
class KestGameControllerManagerDelegate {
public:
    virtual ~KestGameControllerManagerDelegate() = default;
    // A controller connected; gameControllerConnected has wired it already.
    virtual void gameControllerManager(
        KestGameControllerManager* manager, const std::shared_ptr<KestGameController>& gameControllerConnected)
    {
        (void)manager;
        (void)gameControllerConnected;
    }
    // A controller disconnected; which one is not told.
    virtual void gameControllerManagerGameControllerDisconnected(KestGameControllerManager* manager) { (void)manager; }
};

// Follows game controllers as they connect, wires each one's elements to the
// key and stick slots below, and tells its delegate. One slot per key and per
// stick, shared by every controller: a slot receives the events of all of them.
class KestGameControllerManager {
public:
    using KeyPressedBlock = std::function<void(bool pressed)>;
    // Movement since the previous report of any controller's same stick.
    using JoystickChangedBlock = std::function<void(float dx, float dy)>;

    // The key slots in declaration order, the keys of the key table. Pause
    // and Turbo exist in the interface only; no controller element feeds them.
    using Key = GameControllerKeys::Key;
    static constexpr int kKeyCount = GameControllerKeys::kKeyCount;
    enum class Stick { Left, Right };
    // The key's short name: "A", "L1", "Home", "Up", ...
    static const char* keyName(Key key) { return GameControllerKeys::name(key); }

    // The first call subscribes the manager to the connect and disconnect
    // notifications for good; controllers connected before that are not looked for.
    static KestGameControllerManager& sharedInstance();

    // The service's list of connected controllers, unchanged.
    std::vector<GCControllerPtr> connectedGameControllers() const;

    KestGameControllerManagerDelegate* delegate() const { return m_delegate; }
    void setDelegate(KestGameControllerManagerDelegate* delegate) { m_delegate = delegate; }

    // The slots by key; the named accessors below reach the same slots.
    KeyPressedBlock keyPressed(Key key) const { return m_keys[size_t(key)]; }
    void setKeyPressed(Key key, KeyPressedBlock block) { m_keys[size_t(key)] = std::move(block); }
    JoystickChangedBlock joystickChanged(Stick stick) const { return m_sticks[size_t(stick)]; }
    void setJoystickChanged(Stick stick, JoystickChangedBlock block) { m_sticks[size_t(stick)] = std::move(block); }

    KeyPressedBlock keyAPressed() const { return keyPressed(Key::A); }
    void setKeyAPressed(KeyPressedBlock block) { setKeyPressed(Key::A, std::move(block)); }
    KeyPressedBlock keyBPressed() const { return keyPressed(Key::B); }
    void setKeyBPressed(KeyPressedBlock block) { setKeyPressed(Key::B, std::move(block)); }
    KeyPressedBlock keyXPressed() const { return keyPressed(Key::X); }
    void setKeyXPressed(KeyPressedBlock block) { setKeyPressed(Key::X, std::move(block)); }
    KeyPressedBlock keyYPressed() const { return keyPressed(Key::Y); }
    void setKeyYPressed(KeyPressedBlock block) { setKeyPressed(Key::Y, std::move(block)); }
    KeyPressedBlock keyL1Pressed() const { return keyPressed(Key::L1); }
    void setKeyL1Pressed(KeyPressedBlock block) { setKeyPressed(Key::L1, std::move(block)); }
    KeyPressedBlock keyL2Pressed() const { return keyPressed(Key::L2); }
    void setKeyL2Pressed(KeyPressedBlock block) { setKeyPressed(Key::L2, std::move(block)); }
    KeyPressedBlock keyL3Pressed() const { return keyPressed(Key::L3); }
    void setKeyL3Pressed(KeyPressedBlock block) { setKeyPressed(Key::L3, std::move(block)); }
    KeyPressedBlock keyR1Pressed() const { return keyPressed(Key::R1); }
    void setKeyR1Pressed(KeyPressedBlock block) { setKeyPressed(Key::R1, std::move(block)); }
    KeyPressedBlock keyR2Pressed() const { return keyPressed(Key::R2); }
    void setKeyR2Pressed(KeyPressedBlock block) { setKeyPressed(Key::R2, std::move(block)); }
    KeyPressedBlock keyR3Pressed() const { return keyPressed(Key::R3); }
    void setKeyR3Pressed(KeyPressedBlock block) { setKeyPressed(Key::R3, std::move(block)); }
    KeyPressedBlock keyHomePressed() const { return keyPressed(Key::Home); }
    void setKeyHomePressed(KeyPressedBlock block) { setKeyPressed(Key::Home, std::move(block)); }
    KeyPressedBlock keyMenuPressed() const { return keyPressed(Key::Menu); }
    void setKeyMenuPressed(KeyPressedBlock block) { setKeyPressed(Key::Menu, std::move(block)); }
    KeyPressedBlock keyOptionsPressed() const { return keyPressed(Key::Options); }
    void setKeyOptionsPressed(KeyPressedBlock block) { setKeyPressed(Key::Options, std::move(block)); }
    KeyPressedBlock keyPausePressed() const { return keyPressed(Key::Pause); }
    void setKeyPausePressed(KeyPressedBlock block) { setKeyPressed(Key::Pause, std::move(block)); }
    KeyPressedBlock keyTurboPressed() const { return keyPressed(Key::Turbo); }
    void setKeyTurboPressed(KeyPressedBlock block) { setKeyPressed(Key::Turbo, std::move(block)); }
    KeyPressedBlock keyUpPressed() const { return keyPressed(Key::Up); }
    void setKeyUpPressed(KeyPressedBlock block) { setKeyPressed(Key::Up, std::move(block)); }
    KeyPressedBlock keyDownPressed() const { return keyPressed(Key::Down); }
    void setKeyDownPressed(KeyPressedBlock block) { setKeyPressed(Key::Down, std::move(block)); }
    KeyPressedBlock keyLeftPressed() const { return keyPressed(Key::Left); }
    void setKeyLeftPressed(KeyPressedBlock block) { setKeyPressed(Key::Left, std::move(block)); }
    KeyPressedBlock keyRightPressed() const { return keyPressed(Key::Right); }
    void setKeyRightPressed(KeyPressedBlock block) { setKeyPressed(Key::Right, std::move(block)); }
    JoystickChangedBlock leftJoystickChanged() const { return joystickChanged(Stick::Left); }
    void setLeftJoystickChanged(JoystickChangedBlock block) { setJoystickChanged(Stick::Left, std::move(block)); }
    JoystickChangedBlock rightJoystickChanged() const { return joystickChanged(Stick::Right); }
    void setRightJoystickChanged(JoystickChangedBlock block) { setJoystickChanged(Stick::Right, std::move(block)); }

    // The notification handlers.
    void _gameControllerConnected(const Notification& notification);
    void _gameControllerDisconnected(const Notification& notification);

private:
    // Follows the controllers of service, which outlives it.
    explicit KestGameControllerManager(GameControllerService& service);

    GameControllerService& m_service;
    KestGameControllerManagerDelegate* m_delegate = nullptr;
    std::array<KeyPressedBlock, kKeyCount> m_keys;
    std::array<JoystickChangedBlock, 2> m_sticks;
};
