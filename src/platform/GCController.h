#pragma once

#include "platform/GCExtendedGamepad.h"
#include "platform/GCGamepad.h"

#include <QMetaType>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class GCController;
using GCControllerPtr = std::shared_ptr<GCController>;
Q_DECLARE_METATYPE(GCControllerPtr)

// Posted on the default notification center, with the controller as the
// notification's object.
extern const QString GCControllerDidConnectNotification;
extern const QString GCControllerDidDisconnectNotification;

// The player index of a controller that nobody has numbered yet.
inline constexpr int GCControllerPlayerIndexUnset = -1;

// Which input profile a controller offers.
enum class GCControllerProfile { Extended, Basic, None };

// A connected game controller, made by an input source (real hardware or a
// virtual controller). It offers at most one input profile; the other is null.
class GCController : public std::enable_shared_from_this<GCController> {
public:
    using PausedHandler = std::function<void(const GCControllerPtr& controller)>;

    static GCControllerPtr create(const QString& vendorName, GCControllerProfile profile,
                                  const GCExtendedGamepadOptionalElements& offered = {});
    GCController(const GCController&) = delete;
    GCController& operator=(const GCController&) = delete;

    // The controllers connected now; during a connect notification the list
    // already holds the controller that connected.
    static std::vector<GCControllerPtr> controllers();

    QString vendorName() const { return m_vendorName; }
    GCControllerProfile profile() const;

    int playerIndex() const { return m_playerIndex; }
    void setPlayerIndex(int playerIndex);

    std::shared_ptr<GCExtendedGamepad> extendedGamepad() const { return m_extendedGamepad; }
    std::shared_ptr<GCGamepad> gamepad() const { return m_gamepad; }

    // Called with the controller on every press of its pause (menu) button.
    PausedHandler controllerPausedHandler() const { return m_pausedHandler; }
    void setControllerPausedHandler(PausedHandler handler) { m_pausedHandler = std::move(handler); }

    // For input sources: the pause button went down.
    void pause();
    // For input sources: shows a new player index on the device, for example
    // on its player lights. Empty for devices that cannot show it.
    void setPlayerIndexDisplay(std::function<void(int)> display) { m_playerIndexDisplay = std::move(display); }

private:
    GCController() = default;

    QString m_vendorName;
    int m_playerIndex = GCControllerPlayerIndexUnset;
    std::shared_ptr<GCExtendedGamepad> m_extendedGamepad;
    std::shared_ptr<GCGamepad> m_gamepad;
    PausedHandler m_pausedHandler;
    std::function<void(int)> m_playerIndexDisplay;
};
