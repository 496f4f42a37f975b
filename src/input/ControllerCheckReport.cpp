#include "input/ControllerCheckReport.h"

#include "lib/RecordFile.h"
#include "platform/gamepad/GCController.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/Localization.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace {

// How many decimals each kind of figure keeps in the file.
constexpr int kUnitDecimals = 4;
constexpr int kPercentDecimals = 2;
constexpr int kRateDecimals = 1;
constexpr int kJitterDecimals = 3;
constexpr int kMotionDecimals = 3;
// Two checks in the same millisecond still get files of their own.
constexpr int kMostNameTries = 100;

QJsonValue rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

QJsonValue rounded(const std::optional<double>& value, int decimals)
{
    return value ? rounded(*value, decimals) : QJsonValue(QJsonValue::Null);
}

std::optional<double> optionalNumber(const QJsonValue& value)
{
    return value.isDouble() ? std::optional<double>(value.toDouble()) : std::nullopt;
}

QString figure(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString figure(const std::optional<double>& value, int decimals)
{
    return value ? figure(*value, decimals) : QStringLiteral("-");
}

QJsonObject stickJson(const ControllerCheckReport::Stick& s)
{
    QJsonArray quadrants;
    for (const auto& q : s.quadrants)
        quadrants.append(rounded(q, kPercentDecimals));
    return { { QStringLiteral("drift"), rounded(s.drift, kUnitDecimals) },
        { QStringLiteral("noise"), rounded(s.noise, kUnitDecimals) },
        { QStringLiteral("deadzone"), rounded(s.deadZone, kUnitDecimals) },
        { QStringLiteral("circularity"), rounded(s.circularity, kPercentDecimals) },
        { QStringLiteral("quadrants"), quadrants },
        { QStringLiteral("coverage"), rounded(s.coverage, kPercentDecimals) },
        { QStringLiteral("short"), QJsonArray::fromStringList(s.shortDirections) },
        { QStringLiteral("rate_hz"), rounded(s.rateHz, kRateDecimals) },
        { QStringLiteral("jitter_ms"), rounded(s.jitterMs, kJitterDecimals) }, { QStringLiteral("clock"), s.clock } };
}

ControllerCheckReport::Stick stickFromJson(const QJsonObject& o)
{
    ControllerCheckReport::Stick s;
    s.drift = o.value(QLatin1String("drift")).toDouble();
    s.noise = o.value(QLatin1String("noise")).toDouble();
    s.deadZone = o.value(QLatin1String("deadzone")).toDouble();
    s.circularity = optionalNumber(o.value(QLatin1String("circularity")));
    const QJsonArray quadrants = o.value(QLatin1String("quadrants")).toArray();
    for (size_t q = 0; q < s.quadrants.size(); ++q)
        s.quadrants[q] = optionalNumber(quadrants.at(qsizetype(q)));
    s.coverage = o.value(QLatin1String("coverage")).toDouble();
    for (const QJsonValue& d : o.value(QLatin1String("short")).toArray())
        s.shortDirections << d.toString();
    s.rateHz = optionalNumber(o.value(QLatin1String("rate_hz")));
    s.jitterMs = optionalNumber(o.value(QLatin1String("jitter_ms")));
    s.clock = o.value(QLatin1String("clock")).toString();
    return s;
}

QJsonObject triggerJson(const ControllerCheckReport::Trigger& t)
{
    return { { QStringLiteral("min"), rounded(t.min, kUnitDecimals) },
        { QStringLiteral("max"), rounded(t.max, kUnitDecimals) }, { QStringLiteral("levels"), t.levels } };
}

ControllerCheckReport::Trigger triggerFromJson(const QJsonValue& value)
{
    ControllerCheckReport::Trigger t;
    const QJsonObject o = value.toObject();
    t.present = value.isObject();
    t.min = o.value(QLatin1String("min")).toDouble();
    t.max = o.value(QLatin1String("max")).toDouble();
    t.levels = o.value(QLatin1String("levels")).toInt();
    return t;
}

QJsonArray vectorJson(const std::array<double, 3>& v)
{
    return { rounded(v[0], kMotionDecimals), rounded(v[1], kMotionDecimals), rounded(v[2], kMotionDecimals) };
}

std::array<double, 3> vectorFromJson(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    return { a.at(0).toDouble(), a.at(1).toDouble(), a.at(2).toDouble() };
}

QJsonValue sensorJson(bool present, const std::array<double, 3>& last, const std::optional<double>& rate, double stated)
{
    if (!present)
        return QJsonValue::Null;
    return QJsonObject {
        { QStringLiteral("last"), vectorJson(last) }, { QStringLiteral("rate_hz"), rounded(rate, kRateDecimals) },
        { QStringLiteral("stated_rate_hz"), stated > 0 ? rounded(stated, kRateDecimals) : QJsonValue(QJsonValue::Null) }
    };
}

QJsonObject motionJson(const ControllerCheckReport::Motion& m)
{
    QJsonValue calibration = QJsonValue::Null;
    if (m.calibration)
        calibration = QJsonObject { { QStringLiteral("bias"), vectorJson(m.calibration->bias) },
            { QStringLiteral("drift"), rounded(m.calibration->drift, kMotionDecimals) },
            { QStringLiteral("noise"), rounded(m.calibration->noise, kMotionDecimals) },
            { QStringLiteral("gravity"), rounded(m.calibration->gravity, kMotionDecimals) },
            { QStringLiteral("restarts"), m.calibration->restarts } };
    return { { QStringLiteral("gyroscope"),
                 sensorJson(m.gyroscope, m.rotation, m.gyroscopeRateHz, m.statedGyroscopeRateHz) },
        { QStringLiteral("accelerometer"),
            sensorJson(m.accelerometer, m.acceleration, m.accelerometerRateHz, m.statedAccelerometerRateHz) },
        { QStringLiteral("calibration"), calibration } };
}

ControllerCheckReport::Motion motionFromJson(const QJsonValue& value)
{
    ControllerCheckReport::Motion m;
    const QJsonObject o = value.toObject();
    m.present = value.isObject();
    const QJsonObject gyroscope = o.value(QLatin1String("gyroscope")).toObject();
    const QJsonObject accelerometer = o.value(QLatin1String("accelerometer")).toObject();
    m.gyroscope = o.value(QLatin1String("gyroscope")).isObject();
    m.accelerometer = o.value(QLatin1String("accelerometer")).isObject();
    m.rotation = vectorFromJson(gyroscope.value(QLatin1String("last")));
    m.acceleration = vectorFromJson(accelerometer.value(QLatin1String("last")));
    m.gyroscopeRateHz = optionalNumber(gyroscope.value(QLatin1String("rate_hz")));
    m.accelerometerRateHz = optionalNumber(accelerometer.value(QLatin1String("rate_hz")));
    m.statedGyroscopeRateHz = gyroscope.value(QLatin1String("stated_rate_hz")).toDouble();
    m.statedAccelerometerRateHz = accelerometer.value(QLatin1String("stated_rate_hz")).toDouble();
    const QJsonValue calibration = o.value(QLatin1String("calibration"));
    if (calibration.isObject()) {
        const QJsonObject c = calibration.toObject();
        ControllerCheckReport::Calibration result;
        result.bias = vectorFromJson(c.value(QLatin1String("bias")));
        result.drift = c.value(QLatin1String("drift")).toDouble();
        result.noise = c.value(QLatin1String("noise")).toDouble();
        result.gravity = optionalNumber(c.value(QLatin1String("gravity")));
        result.restarts = c.value(QLatin1String("restarts")).toInt();
        m.calibration = result;
    }
    return m;
}

// A word of the JSON form in the user's language, by its key in a table;
// an unknown word stays as it is.
template <size_t N> QString localizedWord(const QString& word, const std::pair<const char*, const char*> (&keys)[N])
{
    for (const auto& [name, key] : keys)
        if (word == QLatin1String(name))
            return localized(key);
    return word;
}

} // namespace

QString ControllerCheckReport::circularityVerdict(const std::optional<double>& error)
{
    if (!error)
        return QStringLiteral("unknown");
    if (*error < kGoodCircularity)
        return QStringLiteral("good");
    if (*error <= kTypicalCircularity)
        return QStringLiteral("typical");
    if (*error <= kWornCircularity)
        return QStringLiteral("high");
    return QStringLiteral("worn");
}

QString ControllerCheckReport::driftVerdict(double drift)
{
    return drift > kNewPadDeadZone ? QStringLiteral("worn") : QStringLiteral("good");
}

QString ControllerCheckReport::rangeVerdict(const Stick& stick)
{
    if (!stick.circularity)
        return QStringLiteral("unknown");
    return stick.shortDirections.isEmpty() ? QStringLiteral("good") : QStringLiteral("short");
}

QString ControllerCheckReport::triggerVerdict(const Trigger& trigger)
{
    if (trigger.levels <= 1)
        return QStringLiteral("unknown"); // never moved
    return trigger.max >= kTriggerFull && trigger.min <= kTriggerReleased ? QStringLiteral("good")
                                                                          : QStringLiteral("short");
}

QString ControllerCheckReport::buttonVerdict(const Button& button)
{
    if (button.stuck)
        return QStringLiteral("stuck");
    return button.chatter > 0 ? QStringLiteral("chatter") : QStringLiteral("good");
}

QString ControllerCheckReport::gyroDriftVerdict(const std::optional<Calibration>& c)
{
    if (!c)
        return QStringLiteral("unknown");
    if (c->drift <= kGoodGyroDrift)
        return QStringLiteral("good");
    return c->drift <= kTypicalGyroDrift ? QStringLiteral("typical") : QStringLiteral("high");
}

QString ControllerCheckReport::gyroNoiseVerdict(const std::optional<Calibration>& c)
{
    if (!c)
        return QStringLiteral("unknown");
    if (c->noise <= kGoodGyroNoise)
        return QStringLiteral("good");
    return c->noise <= kTypicalGyroNoise ? QStringLiteral("typical") : QStringLiteral("high");
}

QString ControllerCheckReport::gravityVerdict(const std::optional<Calibration>& c)
{
    if (!c || !c->gravity)
        return QStringLiteral("unknown");
    return std::abs(*c->gravity - kStandardGravity) <= kGravityTolerance * kStandardGravity ? QStringLiteral("good")
                                                                                            : QStringLiteral("off");
}

QString ControllerCheckReport::clockText() const
{
    GCControllerReportClock c;
    c.clock = clock == QLatin1String("poll") ? GCControllerInputClock::Poll : GCControllerInputClock::Device;
    c.node = eventNode;
    c.reason = GCControllerReportClock::reasonNamed(clockReason);
    c.error = clockError;
    return c.localizedText();
}

QString ControllerCheckReport::localizedVerdict(const QString& verdict)
{
    static const std::pair<const char*, const char*> kKeys[] = {
        { "good", "VerdictGood" },
        { "typical", "VerdictTypical" },
        { "high", "VerdictHigh" },
        { "worn", "VerdictWorn" },
        { "short", "VerdictShort" },
        { "chatter", "VerdictChatter" },
        { "stuck", "VerdictStuck" },
        { "off", "VerdictOff" },
        { "unknown", "VerdictUnknown" },
    };
    return localizedWord(verdict, kKeys);
}

QString ControllerCheckReport::localizedDirection(const QString& direction)
{
    static const std::pair<const char*, const char*> kKeys[] = {
        { "right", "DirectionRight" },
        { "up-right", "DirectionUpRight" },
        { "up", "DirectionUp" },
        { "up-left", "DirectionUpLeft" },
        { "left", "DirectionLeft" },
        { "down-left", "DirectionDownLeft" },
        { "down", "DirectionDown" },
        { "down-right", "DirectionDownRight" },
    };
    return localizedWord(direction, kKeys);
}

QJsonObject ControllerCheckReport::toJson() const
{
    QJsonObject controller { { QStringLiteral("name"), name }, { QStringLiteral("type"), type },
        { QStringLiteral("vid_pid"), vendorProduct }, { QStringLiteral("guid"), guid } };
    if (!firmware.isEmpty())
        controller.insert(QStringLiteral("firmware"), firmware);
    if (!clock.isEmpty())
        controller.insert(QStringLiteral("clock"), clock);
    if (!eventNode.isEmpty())
        controller.insert(QStringLiteral("event_node"), eventNode);
    if (!clockReason.isEmpty())
        controller.insert(QStringLiteral("clock_reason"), clockReason);
    if (!clockError.isEmpty())
        controller.insert(QStringLiteral("clock_error"), clockError);
    QJsonObject triggers;
    if (leftTrigger.present)
        triggers.insert(QStringLiteral("left"), triggerJson(leftTrigger));
    if (rightTrigger.present)
        triggers.insert(QStringLiteral("right"), triggerJson(rightTrigger));
    QJsonObject buttonsJson;
    QJsonObject buttonVerdicts;
    for (const Button& b : buttons) {
        buttonsJson.insert(b.name,
            QJsonObject { { QStringLiteral("presses"), b.presses }, { QStringLiteral("chatter"), b.chatter },
                { QStringLiteral("stuck"), b.stuck } });
        buttonVerdicts.insert(b.name, buttonVerdict(b));
    }
    auto stickVerdicts = [](const Stick& s) {
        return QJsonObject { { QStringLiteral("drift"), driftVerdict(s.drift) },
            { QStringLiteral("circularity"), circularityVerdict(s.circularity) },
            { QStringLiteral("range"), rangeVerdict(s) } };
    };
    QJsonObject triggerVerdicts;
    if (leftTrigger.present)
        triggerVerdicts.insert(QStringLiteral("left"), triggerVerdict(leftTrigger));
    if (rightTrigger.present)
        triggerVerdicts.insert(QStringLiteral("right"), triggerVerdict(rightTrigger));
    QJsonObject verdicts { { QStringLiteral("left"), stickVerdicts(left) },
        { QStringLiteral("right"), stickVerdicts(right) }, { QStringLiteral("triggers"), triggerVerdicts },
        { QStringLiteral("buttons"), buttonVerdicts } };
    QJsonObject report { { QStringLiteral("controller"), controller },
        { QStringLiteral("time"), time.toUTC().toString(Qt::ISODateWithMs) },
        { QStringLiteral("sticks"),
            QJsonObject {
                { QStringLiteral("left"), stickJson(left) }, { QStringLiteral("right"), stickJson(right) } } },
        { QStringLiteral("triggers"), triggers }, { QStringLiteral("buttons"), buttonsJson } };
    // Only a controller with motion sensors has them in its report.
    if (motion.present) {
        report.insert(QStringLiteral("motion"), motionJson(motion));
        verdicts.insert(QStringLiteral("motion"),
            QJsonObject { { QStringLiteral("drift"), gyroDriftVerdict(motion.calibration) },
                { QStringLiteral("noise"), gyroNoiseVerdict(motion.calibration) },
                { QStringLiteral("gravity"), gravityVerdict(motion.calibration) } });
    }
    report.insert(QStringLiteral("verdicts"), verdicts);
    return report;
}

std::optional<ControllerCheckReport> ControllerCheckReport::fromJson(const QJsonObject& object)
{
    const QJsonObject controller = object.value(QLatin1String("controller")).toObject();
    const QJsonObject sticks = object.value(QLatin1String("sticks")).toObject();
    const QDateTime time = QDateTime::fromString(object.value(QLatin1String("time")).toString(), Qt::ISODateWithMs);
    if (controller.isEmpty() || !sticks.value(QLatin1String("left")).isObject()
        || !sticks.value(QLatin1String("right")).isObject() || !time.isValid())
        return std::nullopt;
    ControllerCheckReport r;
    r.name = controller.value(QLatin1String("name")).toString();
    r.type = controller.value(QLatin1String("type")).toString();
    r.vendorProduct = controller.value(QLatin1String("vid_pid")).toString();
    r.guid = controller.value(QLatin1String("guid")).toString();
    r.firmware = controller.value(QLatin1String("firmware")).toString();
    r.clock = controller.value(QLatin1String("clock")).toString();
    r.eventNode = controller.value(QLatin1String("event_node")).toString();
    r.clockReason = controller.value(QLatin1String("clock_reason")).toString();
    r.clockError = controller.value(QLatin1String("clock_error")).toString();
    r.time = time;
    r.left = stickFromJson(sticks.value(QLatin1String("left")).toObject());
    r.right = stickFromJson(sticks.value(QLatin1String("right")).toObject());
    const QJsonObject triggers = object.value(QLatin1String("triggers")).toObject();
    r.leftTrigger = triggerFromJson(triggers.value(QLatin1String("left")));
    r.rightTrigger = triggerFromJson(triggers.value(QLatin1String("right")));
    const QJsonObject buttons = object.value(QLatin1String("buttons")).toObject();
    for (auto it = buttons.begin(); it != buttons.end(); ++it) {
        const QJsonObject b = it.value().toObject();
        r.buttons.push_back({ it.key(), b.value(QLatin1String("presses")).toInt(),
            b.value(QLatin1String("chatter")).toInt(), b.value(QLatin1String("stuck")).toBool() });
    }
    if (object.value(QLatin1String("motion")).isObject())
        r.motion = motionFromJson(object.value(QLatin1String("motion")));
    return r;
}

QStringList ControllerCheckReport::textLines() const
{
    QStringList lines;
    QStringList who { name };
    for (const QString& part : { type, vendorProduct, guid })
        if (!part.isEmpty())
            who << part;
    lines << localized("CheckControllerLine").arg(who.join(QStringLiteral(", ")));
    if (!firmware.isEmpty())
        lines << localized("CheckFirmwareLine").arg(firmware);
    if (!clock.isEmpty())
        lines << clockText();
    for (const auto& [stick, title] :
        { std::pair { &left, "CheckLeftStick" }, std::pair { &right, "CheckRightStick" } }) {
        const QString label = localized(title);
        lines << localized("CheckCentreLine")
                     .arg(label, figure(stick->drift, 3), figure(stick->noise, 3), figure(stick->deadZone, 2),
                         localizedVerdict(driftVerdict(stick->drift)));
        if (stick->circularity) {
            QStringList quadrants;
            for (const auto& q : stick->quadrants)
                quadrants << figure(q, 1);
            lines << localized("CheckRangeLine")
                         .arg(label, figure(stick->circularity, 1), quadrants.join(QLatin1Char(' ')),
                             figure(stick->coverage, 0), localizedVerdict(circularityVerdict(stick->circularity)));
            if (!stick->shortDirections.isEmpty()) {
                QStringList names;
                for (const QString& d : stick->shortDirections)
                    names << localizedDirection(d);
                lines << localized("CheckShortLine").arg(label, names.join(QStringLiteral(", ")));
            }
        } else {
            lines << localized("CheckRangeNotCovered").arg(label, figure(stick->coverage, 0));
        }
        if (stick->rateHz)
            lines << localized("CheckRateLine")
                         .arg(label, figure(stick->rateHz, 0), figure(stick->jitterMs, 2),
                             localized(stick->clock == QLatin1String("poll") ? "CheckClockPoll" : "CheckClockDevice"));
    }
    for (const auto& [trigger, title] :
        { std::pair { &leftTrigger, "CheckLeftTrigger" }, std::pair { &rightTrigger, "CheckRightTrigger" } }) {
        if (trigger->present)
            lines << localizedCount("CheckTriggerLine", trigger->levels)
                         .arg(localized(title), figure(trigger->min, 3), figure(trigger->max, 3))
                         .arg(localizedVerdict(triggerVerdict(*trigger)));
    }
    if (motion.present) {
        if (const std::optional<Calibration>& c = motion.calibration) {
            lines << localized("CheckGyroLine")
                         .arg(figure(c->drift, 2), localizedVerdict(gyroDriftVerdict(c)), figure(c->noise, 3),
                             localizedVerdict(gyroNoiseVerdict(c)));
            lines << localized("CheckGyroBiasLine")
                         .arg(figure(c->bias[0], 3), figure(c->bias[1], 3), figure(c->bias[2], 3))
                         .arg(c->restarts);
            if (c->gravity)
                lines << localized("CheckGravityLine").arg(figure(*c->gravity, 2), localizedVerdict(gravityVerdict(c)));
        } else {
            lines << localized("CheckGyroNotCalibrated");
        }
        if (motion.gyroscopeRateHz || motion.accelerometerRateHz)
            lines << localized("CheckSensorRateLine")
                         .arg(figure(motion.gyroscopeRateHz, 0), figure(motion.accelerometerRateHz, 0));
    }
    for (const Button& b : buttons)
        if (b.presses > 0 || b.chatter > 0 || b.stuck)
            lines << localizedCount("CheckButtonLine", b.presses)
                         .arg(b.name)
                         .arg(b.chatter)
                         .arg(localizedVerdict(buttonVerdict(b)));
    return lines;
}

QString ControllerCheckReport::controllerKey() const
{
    if (!guid.isEmpty())
        return guid;
    return QStringList { name, type, vendorProduct }.join(QLatin1Char('|'));
}

QString ControllerCheckReport::folder()
{
    return DocumentStore::current().checkReports();
}

QString ControllerCheckReport::save(QString* error) const
{
    const QDir dir(folder());
    if (!QDir().mkpath(dir.path())) {
        if (error)
            *error = localized("CheckReportNotSaved").arg(dir.path());
        return QString();
    }
    const QString stem = QStringLiteral("check-") + time.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString path = dir.filePath(stem + QStringLiteral(".json"));
    for (int n = 1; QFile::exists(path) && n < kMostNameTries; ++n)
        path = dir.filePath(stem + QStringLiteral("-%1.json").arg(n));
    if (QFile::exists(path)) {
        if (error)
            *error = localized("CheckReportNotSaved").arg(path);
        return QString();
    }
    if (QString reason; !RecordFile::write(path, QJsonDocument(toJson()).toJson(QJsonDocument::Indented), &reason)) {
        if (error)
            *error = localized("CheckReportNotSavedBecause").arg(reason);
        return QString();
    }
    return path;
}

std::optional<ControllerCheckReport> ControllerCheckReport::previous() const
{
    std::optional<ControllerCheckReport> newest;
    const QDir dir(folder());
    const QString key = controllerKey();
    for (const QFileInfo& info : dir.entryInfoList({ QStringLiteral("*.json") }, QDir::Files)) {
        if (info.size() > kMaxReportBytes)
            continue;
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::optional<ControllerCheckReport> other = fromJson(QJsonDocument::fromJson(file.readAll()).object());
        if (other && other->controllerKey() == key && other->time < time && (!newest || other->time > newest->time))
            newest = other;
    }
    return newest;
}
