#include "input/ControllerCheck.h"

#include "platform/runtime/NotificationCenter.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMicrosecondsPerSecond = 1e6;

qint64 microseconds(double seconds)
{
    return qint64(std::llround(seconds * kMicrosecondsPerSecond));
}

QString clockName(GCControllerInputClock clock)
{
    return clock == GCControllerInputClock::Poll ? QStringLiteral("poll") : QStringLiteral("device");
}
} // namespace

ControllerCheck::ControllerCheck(
    const GCControllerPtr& controller, const Options& options, Clock clock, QObject* parent)
    : QObject(parent)
    , m_controller(controller)
    , m_options(options)
    , m_clock(std::move(clock))
{
}

ControllerCheck::~ControllerCheck()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

GCControllerDirectionPad* ControllerCheck::stick(bool left) const
{
    const auto pad = m_controller ? m_controller->extendedGamepad() : nullptr;
    if (!pad)
        return nullptr;
    return left ? pad->leftThumbstick() : pad->rightThumbstick();
}

GCControllerButtonInput* ControllerCheck::triggerElement(bool left) const
{
    const auto pad = m_controller ? m_controller->extendedGamepad() : nullptr;
    return pad ? GameControllerKeys::element(*pad, left ? GameControllerKeys::Key::L2 : GameControllerKeys::Key::R2)
               : nullptr;
}

const TriggerRangeMeasurement* ControllerCheck::trigger(bool left) const
{
    const auto& state = m_triggers[left ? 0 : 1];
    return state ? &state->range : nullptr;
}

double ControllerCheck::stepSeconds() const
{
    return m_clock ? double(m_clock() - m_stepStartedAt) / kMicrosecondsPerSecond : 0.0;
}

double ControllerCheck::secondsLeft() const
{
    if (m_step == Step::Motion)
        return std::min(m_calibration.secondsLeft(), std::max(0.0, m_options.motionSeconds - stepSeconds()));
    const double length = m_step == Step::Rest ? m_options.restSeconds : m_options.stepSeconds;
    return m_step == Step::Done ? 0.0 : std::max(0.0, length - stepSeconds());
}

bool ControllerCheck::timesDeviceReports() const
{
    const GCControllerReportClock clock = m_controller->reportClock();
    return clock.clock == GCControllerInputClock::Device && !clock.node.isEmpty();
}

void ControllerCheck::start()
{
    if (m_started || !m_clock || !stick(true))
        return;
    m_started = true;
    m_startedAt = m_clock();
    for (bool left : { true, false }) {
        if (const GCControllerButtonInput* t = triggerElement(left)) {
            TriggerState state;
            state.last = t->value();
            state.range.add(t->value());
            m_triggers[left ? 0 : 1] = state;
        }
        const GCControllerDirectionPad* s = stick(left);
        m_sticks[left ? 0 : 1].last = QPointF(s->xAxis(), s->yAxis());
    }
    for (const GameControllerKeys::Entry& e : GameControllerKeys::entries())
        if (const GCControllerButtonInput* element = GameControllerKeys::element(*m_controller, e.key))
            m_buttons[e.key].begin(element->isPressed());
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, GCControllerValuesDidChangeNotification, [this](const Notification& n) {
        if (n.object.value<GCControllerPtr>() == m_controller)
            valuesChanged();
    });
    center.addObserver(this, GCControllerDidReportNotification, [this](const Notification& n) {
        if (n.object.value<GCControllerPtr>() == m_controller)
            deviceReported();
    });
    center.addObserver(this, GCControllerMotionDidChangeNotification, [this](const Notification& n) {
        if (n.object.value<GCControllerPtr>() == m_controller)
            motionChanged();
    });
    // A controller that leaves ends its check with what was measured.
    center.addObserver(this, GCControllerDidDisconnectNotification, [this](const Notification& n) {
        if (n.object.value<GCControllerPtr>() == m_controller)
            finish();
    });
    enter(Step::Rest);
}

void ControllerCheck::valuesChanged()
{
    if (!isRunning())
        return;
    const qint64 now = m_clock();
    const qint64 at = m_controller->inputTime();
    const GCControllerInputClock clock = m_controller->inputClock();
    for (bool left : { true, false }) {
        StickState& state = m_sticks[left ? 0 : 1];
        const GCControllerDirectionPad* s = stick(left);
        const QPointF position(s->xAxis(), s->yAxis());
        if (state.last && *state.last == position)
            continue;
        state.last = position;
        const bool rotating = m_step == (left ? Step::RotateLeft : Step::RotateRight);
        if (m_step == Step::Rest) {
            state.centre.add(position.x(), position.y());
        } else if (rotating) {
            state.range.add(position.x(), position.y());
            if (!timesDeviceReports())
                state.rate.add(at, clock);
            const bool near = std::hypot(position.x(), position.y()) <= kNearCentre;
            if (!near || !state.range.covered())
                state.nearSince.reset();
            else if (!state.nearSince)
                state.nearSince = now;
        }
    }
    for (bool left : { true, false }) {
        std::optional<TriggerState>& state = m_triggers[left ? 0 : 1];
        const GCControllerButtonInput* t = triggerElement(left);
        if (!state || !t || t->value() == state->last)
            continue;
        state->last = t->value();
        state->range.add(t->value());
        if (t->value() >= ControllerCheckReport::kTriggerFull)
            state->reachedFull = true;
        else if (state->reachedFull && t->value() <= ControllerCheckReport::kTriggerReleased)
            state->done = true;
    }
    for (auto& [key, button] : m_buttons)
        if (const GCControllerButtonInput* element = GameControllerKeys::element(*m_controller, key))
            button.add(at, element->isPressed(), now == m_startedAt);
    emit measured();
    advance();
}

void ControllerCheck::deviceReported()
{
    if (!isRunning() || !timesDeviceReports() || (m_step != Step::RotateLeft && m_step != Step::RotateRight))
        return;
    ReportRateMeasurement& rate = m_sticks[m_step == Step::RotateLeft ? 0 : 1].rate;
    if (m_controller->reportFollowsGap())
        rate.gap();
    rate.add(m_controller->reportTime(), GCControllerInputClock::Device);
}

void ControllerCheck::motionChanged()
{
    if (!isRunning())
        return;
    const GCControllerSensor sensor = m_controller->lastSensor();
    const qint64 at = m_controller->sensorTime();
    const GCControllerMotion& motion = m_controller->motion();
    (sensor == GCControllerSensor::Gyroscope ? m_gyroscopeRate : m_accelerometerRate)
        .add(at, GCControllerInputClock::Device);
    if (m_step != Step::Motion)
        return;
    if (sensor == GCControllerSensor::Gyroscope)
        m_calibration.addRotation(at, motion.rotation);
    else
        m_calibration.addAcceleration(at, motion.acceleration);
    emit measured();
    if (m_calibration.isDone())
        advance();
}

bool ControllerCheck::stepOver(qint64 now) const
{
    const qint64 elapsed = now - m_stepStartedAt;
    switch (m_step) {
    case Step::Rest:
        return elapsed >= microseconds(m_options.restSeconds);
    case Step::RotateLeft:
    case Step::RotateRight: {
        const StickState& state = m_sticks[m_step == Step::RotateLeft ? 0 : 1];
        const bool settled = state.nearSince && now - *state.nearSince >= microseconds(kSettleSeconds);
        return settled || elapsed >= microseconds(m_options.stepSeconds);
    }
    case Step::Triggers: {
        const bool done = std::all_of(
            m_triggers.begin(), m_triggers.end(), [](const std::optional<TriggerState>& t) { return !t || t->done; });
        return done || elapsed >= microseconds(m_options.stepSeconds);
    }
    case Step::Motion:
        return m_calibration.isDone() || elapsed >= microseconds(m_options.motionSeconds);
    case Step::Done:
        break;
    }
    return false;
}

ControllerCheck::Step ControllerCheck::nextStep(Step after) const
{
    switch (after) {
    case Step::Rest:
        if (m_options.left)
            return Step::RotateLeft;
        [[fallthrough]];
    case Step::RotateLeft:
        if (m_options.right)
            return Step::RotateRight;
        [[fallthrough]];
    case Step::RotateRight:
        if (m_triggers[0] || m_triggers[1])
            return Step::Triggers;
        [[fallthrough]];
    case Step::Triggers:
        if (m_options.motion && m_controller->motion().hasGyroscope)
            return Step::Motion;
        [[fallthrough]];
    case Step::Motion:
    case Step::Done:
        break;
    }
    return Step::Done;
}

void ControllerCheck::advance()
{
    // Each step starts when it is entered, so one look ends one step at most.
    if (isRunning() && stepOver(m_clock()))
        enter(nextStep(m_step));
}

void ControllerCheck::enter(Step step)
{
    if (m_step == Step::Rest && step != Step::Rest) {
        // A stick still at rest sends nothing: its position is its one sample.
        for (StickState& state : m_sticks)
            if (state.centre.samples() == 0 && state.last)
                state.centre.add(state.last->x(), state.last->y());
    }
    m_step = step;
    m_stepStartedAt = m_clock();
    if (step == Step::RotateLeft || step == Step::RotateRight) {
        StickState& state = m_sticks[step == Step::RotateLeft ? 0 : 1];
        state.nearSince.reset();
    }
    if (step == Step::Motion)
        m_calibration = {};
    if (step == Step::Done) {
        for (auto& [key, button] : m_buttons)
            button.finish();
        NotificationCenter::defaultCenter().removeObserver(this);
    }
    emit stepChanged(step);
    if (step == Step::Done)
        emit finished();
}

void ControllerCheck::finish()
{
    if (isRunning())
        enter(Step::Done);
}

ControllerCheckReport ControllerCheck::report(const QString& firmware) const
{
    ControllerCheckReport r;
    const GCControllerIdentity id = m_controller->identity();
    r.name = m_controller->vendorName();
    r.type = id.type;
    r.vendorProduct = id.vendorProductText();
    r.guid = id.guid;
    r.firmware = firmware;
    r.time = QDateTime::currentDateTimeUtc();
    const GCControllerReportClock clock = m_controller->reportClock();
    r.clock = clockName(clock.clock);
    r.eventNode = clock.node;
    r.clockReason = clock.reasonName();
    r.clockError = clock.error;
    const GCControllerMotion& motion = m_controller->motion();
    r.motion.present = motion.hasGyroscope || motion.hasAccelerometer;
    r.motion.gyroscope = motion.hasGyroscope;
    r.motion.accelerometer = motion.hasAccelerometer;
    for (size_t a = 0; a < 3; ++a) {
        r.motion.rotation[a] = motion.rotation[a];
        r.motion.acceleration[a] = motion.acceleration[a];
    }
    r.motion.gyroscopeRateHz = m_gyroscopeRate.rateHz();
    r.motion.accelerometerRateHz = m_accelerometerRate.rateHz();
    r.motion.statedGyroscopeRateHz = motion.gyroscopeRateHz;
    r.motion.statedAccelerometerRateHz = motion.accelerometerRateHz;
    if (const std::optional<GyroCalibration::Result> calibration = m_calibration.result()) {
        ControllerCheckReport::Calibration c;
        c.bias = calibration->bias;
        c.drift = calibration->drift;
        c.noise = calibration->noise;
        c.gravity = calibration->gravity;
        c.restarts = m_calibration.restarts();
        r.motion.calibration = c;
    }
    for (bool left : { true, false }) {
        const StickState& state = m_sticks[left ? 0 : 1];
        ControllerCheckReport::Stick& s = left ? r.left : r.right;
        StickCentreMeasurement centre = state.centre;
        if (centre.samples() == 0 && state.last)
            centre.add(state.last->x(), state.last->y());
        s.drift = centre.drift();
        s.noise = centre.noise();
        s.deadZone = centre.recommendedDeadZone();
        s.circularity = state.range.circularityError();
        s.quadrants = state.range.quadrantErrors();
        s.coverage = state.range.coverage();
        s.shortDirections = s.circularity ? state.range.shortDirections() : QStringList();
        s.rateHz = state.rate.rateHz();
        s.jitterMs = state.rate.jitterMs();
        s.clock = clockName(state.rate.clock());
        const std::optional<TriggerState>& t = m_triggers[left ? 0 : 1];
        ControllerCheckReport::Trigger& trigger = left ? r.leftTrigger : r.rightTrigger;
        trigger.present = t.has_value();
        if (t) {
            trigger.min = t->range.lowest();
            trigger.max = t->range.highest();
            trigger.levels = t->range.levels();
        }
    }
    // The triggers are pressed when the check asks for it: a held trigger
    // shows in its travel, not as a stuck button.
    for (const auto& [key, button] : m_buttons) {
        const bool asked = key == GameControllerKeys::Key::L2 || key == GameControllerKeys::Key::R2;
        r.buttons.push_back({ QString::fromLatin1(GameControllerKeys::name(key)), button.presses(), button.chatter(),
            button.stuck() && !asked });
    }
    return r;
}
