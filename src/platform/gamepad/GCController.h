#pragma once

#include "platform/gamepad/GCExtendedGamepad.h"
#include "platform/gamepad/GCGamepad.h"

#include <QMetaType>
#include <QString>

#include <array>
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
// Posted with the controller as object for each sample of a motion sensor
// (lastSensor() says which), apart from the values: sensors report hundreds
// of times a second.
extern const QString GCControllerMotionDidChangeNotification;
// Posted with the controller as object for each report the device made, as
// its driver timed it (reportTime()), where the source can see them.
extern const QString GCControllerDidReportNotification;

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
    // The game-controller mapping its source applies, as one line in SDL's
    // text format; empty for an unmapped device or where there is no such line.
    QString mapping;

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

// Why the poll times a device's reports rather than its driver.
enum class GCControllerClockReason {
    None, // the driver's (or the device's own) clock times them
    NoEventDevice, // no event device of the kernel could be found for the controller
    SeveralEventDevices, // several match it, and which is its own cannot be told
    NodeMissing, // the kernel lists it, but its node does not exist
    NoPermission, // its node may not be read
    Unreadable, // its node could not be opened or read for another reason
    Closed, // its node stopped delivering events
};

// Whose clock times the reports of a device, and the kernel's event device
// read for them (/dev/input/eventN), or why none is.
struct GCControllerReportClock {
    GCControllerInputClock clock = GCControllerInputClock::Device;
    QString node;
    GCControllerClockReason reason = GCControllerClockReason::None;
    QString error; // the system's words for an Unreadable or Closed node

    // The reason as the reports name it ("no-permission", ...); empty for None.
    QString reasonName() const;
    // The reason of that name; None for an unknown one.
    static GCControllerClockReason reasonNamed(const QString& name);
    // What the screen and the report say: whose clock, and why.
    QString localizedText() const;
};

// The motion sensors of a controller and their last samples.
enum class GCControllerSensor { Gyroscope, Accelerometer };
struct GCControllerMotion {
    bool hasGyroscope = false;
    bool hasAccelerometer = false;
    // The rates the device states for its sensors, per second; 0 when unknown.
    double gyroscopeRateHz = 0;
    double accelerometerRateHz = 0;
    // Degrees per second about the controller's x, y and z axes.
    std::array<float, 3> rotation {};
    // Metres per second squared along them, gravity included.
    std::array<float, 3> acceleration {};
};

// One finger on a touchpad: where (0..1 from the left and from the top) and how hard (0..1).
struct GCControllerTouch {
    bool down = false;
    float x = 0, y = 0, pressure = 0;
};

// A touchpad with room for its fingers, and its button (the pad pressed in).
struct GCControllerTouchpad {
    std::vector<GCControllerTouch> fingers;
    bool pressed = false;
    // Whether the pad has ever reported a pressure other than none or full:
    // many pads report only 1 for a finger that is down.
    bool reportsPressure = false;
};

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

    // Whose clock times the device's reports, and why; for input sources to set.
    GCControllerReportClock reportClock() const { return m_reportClock; }
    void setReportClock(const GCControllerReportClock& clock) { m_reportClock = clock; }
    // The time of the device report being announced now, in microseconds of
    // the driver's clock, and whether reports were lost before it (the
    // interval since the one before means nothing then).
    qint64 reportTime() const { return m_reportTime; }
    bool reportFollowsGap() const { return m_reportFollowsGap; }
    // For input sources: posts GCControllerDidReportNotification.
    void deviceReported(qint64 microseconds, bool afterGap);

    // Whether someone measures the controller (the key test, a check): only
    // then does its source deliver motion samples and the device's report
    // times, which cost the device's battery and a wake-up per report.
    bool isMeasuring() const { return m_measuring; }
    void setMeasuring(bool measuring);
    // For input sources: turns the delivery on and off.
    void setMeasuringSwitch(std::function<void(bool)> turn);

    const GCControllerMotion& motion() const { return m_motion; }
    // For input sources, when the controller is made.
    void setMotionSensors(
        bool gyroscope, bool accelerometer, double gyroscopeRateHz = 0, double accelerometerRateHz = 0);
    // For input sources: a sample, at a time in microseconds of the sensor's
    // clock; a sample of a sensor not announced shows that it exists.
    void setSensorValues(GCControllerSensor sensor, const std::array<float, 3>& values, qint64 microseconds);
    // The sensor of the sample being announced now, and its time.
    GCControllerSensor lastSensor() const { return m_lastSensor; }
    qint64 sensorTime() const { return m_sensorTime; }

    // The most touchpads and fingers a pad is given, whatever its source says.
    static constexpr int kMostTouchpads = 4;
    static constexpr int kMostFingers = 10;
    const std::vector<GCControllerTouchpad>& touchpads() const { return m_touchpads; }
    // For input sources, when the controller is made.
    void setTouchpads(int count, int fingers);
    // For input sources: a finger's new state; a pad or finger beyond those
    // announced is added, within the limits. Announces the change like an
    // input value; false when out of the limits.
    bool setTouch(int touchpad, int finger, const GCControllerTouch& touch);
    bool setTouchpadPressed(int touchpad, bool pressed);

    // Whether the controller's source can take a mapping for it (an
    // unmapped device of a source that has a mapping file).
    bool canSaveMapping() const { return bool(m_mappingSaver); }
    // Keeps a mapping line (SDL's text format) for the device and applies it:
    // the device comes back as a mapped controller. False, with error in the
    // user's words, when the line could not be kept; it may apply all the
    // same until the program ends (the error says so).
    bool saveMapping(const QByteArray& line, QString* error) const;
    // For input sources.
    void setMappingSaver(std::function<bool(const QByteArray&, QString*)> saver) { m_mappingSaver = std::move(saver); }

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
    GCControllerReportClock m_reportClock;
    qint64 m_reportTime = 0;
    bool m_reportFollowsGap = false;
    bool m_measuring = false;
    std::function<void(bool)> m_measuringSwitch;
    GCControllerMotion m_motion;
    GCControllerSensor m_lastSensor = GCControllerSensor::Gyroscope;
    qint64 m_sensorTime = 0;
    std::vector<GCControllerTouchpad> m_touchpads;
    std::function<bool(const QByteArray&, QString*)> m_mappingSaver;
};
