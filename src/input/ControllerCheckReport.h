#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// What one check of a controller found: who the controller is, when, every
// measurement and a verdict on each against the named thresholds. It is
// kept as one JSON file a check in the documents folder, so that a check
// before and one after an upgrade can be compared.
struct ControllerCheckReport {
    // Circularity error (percent): below kGoodCircularity good, up to
    // kTypicalCircularity typical, up to kWornCircularity higher than
    // typical, above it worn.
    static constexpr double kGoodCircularity = 5.0;
    static constexpr double kTypicalCircularity = 10.0;
    static constexpr double kWornCircularity = 15.0;
    // The dead zone a new pad needs; a stick drifting further is worn.
    static constexpr double kNewPadDeadZone = 0.05;
    // A trigger's travel counts as full from here, and as released below that.
    static constexpr double kTriggerFull = 0.95;
    static constexpr double kTriggerReleased = 0.05;
    // The gyroscope at rest (degrees per second): a drift up to kGoodGyroDrift
    // good, up to kTypicalGyroDrift typical, above it high; the same for the
    // noise with kGoodGyroNoise and kTypicalGyroNoise.
    static constexpr double kGoodGyroDrift = 1.0;
    static constexpr double kTypicalGyroDrift = 3.0;
    static constexpr double kGoodGyroNoise = 0.5;
    static constexpr double kTypicalGyroNoise = 1.5;
    // The accelerometer at rest reads gravity within this share of it, or is off.
    static constexpr double kStandardGravity = 9.80665;
    static constexpr double kGravityTolerance = 0.05;
    // The folder in the documents directory that holds the reports.
    // Larger files in that folder are not reports and are not read.
    static constexpr qint64 kMaxReportBytes = 1024 * 1024;

    struct Stick {
        double drift = 0, noise = 0, deadZone = 0;
        std::optional<double> circularity; // percent
        std::array<std::optional<double>, 4> quadrants; // up-right, up-left, down-left, down-right
        double coverage = 0; // percent
        QStringList shortDirections;
        std::optional<double> rateHz, jitterMs;
        QString clock; // "device" or "poll": whose clock timed the events
    };
    struct Trigger {
        bool present = false;
        double min = 0, max = 0;
        int levels = 0;
    };
    struct Button {
        QString name;
        int presses = 0, chatter = 0;
        bool stuck = false;
    };
    struct Calibration {
        std::array<double, 3> bias {}; // degrees per second
        double drift = 0, noise = 0;
        std::optional<double> gravity; // m/s²
        int restarts = 0;
    };
    struct Motion {
        bool present = false; // the controller has a motion sensor
        bool gyroscope = false, accelerometer = false;
        // The last samples: degrees per second, m/s².
        std::array<double, 3> rotation {}, acceleration {};
        // Measured during the check, and as the device states them (0: not stated).
        std::optional<double> gyroscopeRateHz, accelerometerRateHz;
        double statedGyroscopeRateHz = 0, statedAccelerometerRateHz = 0;
        std::optional<Calibration> calibration;
    };

    QString name, type, vendorProduct, guid;
    QString firmware; // the controller's firmware versions; empty when unknown
    // Whose clock timed the controller's reports ("device" or "poll"), the
    // kernel's event device read for them, and why not, in the words of
    // GCControllerReportClock; empty where there is none.
    QString clock, eventNode, clockReason, clockError;
    QDateTime time;
    Stick left, right;
    Trigger leftTrigger, rightTrigger;
    std::vector<Button> buttons;
    Motion motion;

    // The verdicts, as the words the JSON form uses.
    static QString circularityVerdict(const std::optional<double>& error); // good, typical, high, worn, unknown
    static QString driftVerdict(double drift); // good, worn
    static QString rangeVerdict(const Stick& stick); // good, short, unknown
    static QString triggerVerdict(const Trigger& trigger); // good, short, unknown
    static QString buttonVerdict(const Button& button); // good, chatter, stuck
    static QString gyroDriftVerdict(const std::optional<Calibration>& c); // good, typical, high, unknown
    static QString gyroNoiseVerdict(const std::optional<Calibration>& c); // good, typical, high, unknown
    static QString gravityVerdict(const std::optional<Calibration>& c); // good, off, unknown
    // What the report says of the reports' clock, in the user's language.
    QString clockText() const;
    // A verdict word in the user's language.
    static QString localizedVerdict(const QString& verdict);
    // A direction ("up-left") in the user's language.
    static QString localizedDirection(const QString& direction);

    QJsonObject toJson() const;
    // None when the object is not a report.
    static std::optional<ControllerCheckReport> fromJson(const QJsonObject& object);
    // The report as lines of text, in the user's language.
    QStringList textLines() const;

    // Which controller this is, as far as it tells: its GUID when it has
    // one, else its name, type and vendor and product.
    QString controllerKey() const;

    // The folder the reports are kept in.
    static QString folder();
    // Writes the report as a new file there; its path, or empty with error set.
    QString save(QString* error = nullptr) const;
    // The newest report in the folder for the same controller, older than
    // this one. Files that cannot be read as a report are passed over and
    // left as they are.
    std::optional<ControllerCheckReport> previous() const;
};
