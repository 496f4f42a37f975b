#pragma once

#include "platform/gamepad/GCExtendedGamepad.h"
#include "platform/gamepad/GCGamepad.h"

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

// Posted with the controller as object after any of its input values or its
// battery level changed: for whoever shows values rather than key presses.
extern const QString GCControllerValuesDidChangeNotification;

// The player index of a controller that nobody has numbered yet.
inline constexpr int GCControllerPlayerIndexUnset = -1;

// Which input profile a controller offers.
enum class GCControllerProfile { Extended, Basic, None };

// What a controller says about itself. Unknown numbers are -1, unknown texts empty.
struct GCControllerIdentity {
    QString type; // "xbox360", "ps4", "virtual", ...: the kind of device its source recognises
    int vendorId = -1;
    int productId = -1;
    QString guid;
    QString serial;
    // False for a device its source knows only as a joystick: no profile, raw inputs only.
    bool mapped = true;

    // "045e:028e": vendor and product id as four lower-case hex digits each;
    // empty when either is unknown.
    QString vendorProductText() const;
};

enum class GCControllerBatteryLevel { Unknown, Empty, Low, Medium, Full, Wired };

// Whose clock timed an input event: the device's (or its driver's) own time
// of the change, or the moment our poll read it, which is all that SDL 2
// gives (its event timestamps are taken when SDL reads the device during our
// poll, in whole milliseconds), so that intervals are rounded to the poll.
enum class GCControllerInputClock { Device, Poll };

// One button, axis or hat of a device, named as its source names it, with
// the raw value the source reports: a button 0 or 1, an axis -32768..32767,
// a hat a bit set of up 1, right 2, down 4, left 8.
struct GCControllerRawInput {
    enum class Kind { Button, Axis, Hat };
    Kind kind = Kind::Button;
    QString name;
    int value = 0;
};

// What the source can make the device do; an empty closure is a capability
// the device lacks. Each returns whether the device accepted the request.
struct GCControllerHaptics {
    // Strengths 0..1, for the given time.
    std::function<bool(float low, float high, int milliseconds)> rumble;
    std::function<bool(float left, float right, int milliseconds)> rumbleTriggers;
    std::function<bool(int red, int green, int blue)> setLight;
};

// A connected game controller, made by an input source (real hardware or a
// virtual controller). It offers at most one input profile; the other is null.
class GCController : public std::enable_shared_from_this<GCController> {
public:
    using PausedHandler = std::function<void(const GCControllerPtr& controller)>;

    static GCControllerPtr create(
        const QString& vendorName, GCControllerProfile profile, const GCExtendedGamepadOptionalElements& offered = {});
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

    GCControllerIdentity identity() const { return m_identity; }
    void setIdentity(const GCControllerIdentity& identity) { m_identity = identity; }

    GCControllerBatteryLevel batteryLevel() const { return m_batteryLevel; }
    // For input sources; announces a change like an input value.
    void setBatteryLevel(GCControllerBatteryLevel level);

    // Every input of the device beside the profile's elements, including
    // those no element reports (paddles, a misc button, an unmapped
    // device's buttons, axes and hats).
    const std::vector<GCControllerRawInput>& rawInputs() const { return m_rawInputs; }
    // For input sources: the list, once, when the controller is made.
    void setRawInputs(std::vector<GCControllerRawInput> inputs) { m_rawInputs = std::move(inputs); }
    // For input sources: a new raw value; false when it is unchanged or out of range.
    bool setRawValue(size_t index, int value);
    // For input sources: posts GCControllerValuesDidChangeNotification.
    void valuesChanged();

    // The time of the input event being delivered now, in microseconds of
    // the source's clock (only differences between two events mean anything),
    // and whose clock that is. Sources set it before they change an element.
    qint64 inputTime() const { return m_inputTime; }
    GCControllerInputClock inputClock() const { return m_inputClock; }
    void setInputTime(qint64 microseconds, GCControllerInputClock clock)
    {
        m_inputTime = microseconds;
        m_inputClock = clock;
    }

    bool hasRumble() const { return bool(m_haptics.rumble); }
    bool hasTriggerRumble() const { return bool(m_haptics.rumbleTriggers); }
    bool hasLight() const { return bool(m_haptics.setLight); }
    // False when the device lacks the capability or refused the request.
    bool rumble(float low, float high, int milliseconds) const;
    bool rumbleTriggers(float left, float right, int milliseconds) const;
    bool setLightColor(int red, int green, int blue) const;
    // For input sources.
    void setHaptics(GCControllerHaptics haptics) { m_haptics = std::move(haptics); }

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
    GCControllerIdentity m_identity;
    GCControllerBatteryLevel m_batteryLevel = GCControllerBatteryLevel::Unknown;
    qint64 m_inputTime = 0;
    GCControllerInputClock m_inputClock = GCControllerInputClock::Device;
    std::vector<GCControllerRawInput> m_rawInputs;
    GCControllerHaptics m_haptics;
};
