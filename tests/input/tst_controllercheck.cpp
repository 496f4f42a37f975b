// The controller check: its measurements fed with shapes whose answers are
// known from geometry, the guided steps driven through a virtual controller
// on a test clock, and the reports it keeps in the documents folder.
#include "input/ButtonTimingMeasurement.h"
#include "input/ControllerCheck.h"
#include "input/ControllerCheckReport.h"
#include "input/GyroCalibration.h"
#include "input/ReportRateMeasurement.h"
#include "input/StickCentreMeasurement.h"
#include "input/StickRangeMeasurement.h"
#include "input/TriggerRangeMeasurement.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/gamepad/VirtualGameController.h"
#include "support/StickShapes.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace {

using Step = ControllerCheck::Step;
using Button = VirtualGameController::Button;
using Stick = VirtualGameController::Stick;

constexpr double kTolerance = 0.5; // percentage points

StickRangeMeasurement rangeOf(const std::vector<QPointF>& points)
{
    StickRangeMeasurement range;
    for (const QPointF& p : points)
        range.add(p.x(), p.y());
    return range;
}

// Samples on a ring of `noise` about `offset`, as a stick at rest that
// wanders evenly about the point where it settled.
StickCentreMeasurement restingAt(QPointF offset, double noise, int samples = 400)
{
    StickCentreMeasurement centre;
    for (int i = 0; i < samples; ++i) {
        const double a = 2 * std::numbers::pi * i / samples;
        centre.add(offset.x() + noise * std::cos(a), offset.y() + noise * std::sin(a));
    }
    return centre;
}

// A virtual controller whose changes are timed by a clock the test moves.
struct Rig {
    VirtualGameController pad { testsupport::controllerService() };
    qint64 now = 0;
    ControllerCheck check;

    explicit Rig(const ControllerCheck::Options& options = {})
        : check(pad.controller(), options, [this] { return now; })
    {
        pad.setInputTime(now);
    }
    void wait(double ms)
    {
        now += qint64(std::llround(ms * 1000));
        pad.setInputTime(now);
        check.advance();
    }
    void traceStick(Stick stick, const std::vector<QPointF>& points, double msEach)
    {
        for (const QPointF& p : points) {
            pad.moveStick(stick, float(p.x()), float(p.y()));
            wait(msEach);
        }
    }
};

// A gyroscope lying still: a bias about each axis and normal noise of a
// spread about it, sampled at 200 Hz, with gravity along z.
struct RestingGyro {
    std::array<double, 3> bias;
    double noise;
    std::mt19937 random { 39 };
    std::array<float, 3> sample()
    {
        std::normal_distribution<double> spread(0.0, noise);
        return { float(bias[0] + spread(random)), float(bias[1] + spread(random)), float(bias[2] + spread(random)) };
    }
};
constexpr qint64 kSampleUs = 5000;
constexpr std::array<float, 3> kFlat { 0.0f, 0.0f, 9.80665f };

// Feeds a calibration samples for some seconds from a time on; the time after.
qint64 feed(GyroCalibration& calibration, RestingGyro& gyro, qint64 from, double seconds)
{
    qint64 at = from;
    for (; at < from + qint64(seconds * 1e6); at += kSampleUs) {
        calibration.addRotation(at, gyro.sample());
        calibration.addAcceleration(at, kFlat);
    }
    return at;
}
} // namespace

class TestControllerCheck : public QObject {
    Q_OBJECT

private slots:
    void theCentreGivesDriftNoiseAndTheDeadZone()
    {
        const StickCentreMeasurement worn = restingAt({ 0.06, -0.03 }, 0.01);
        const double drift = std::hypot(0.06, -0.03);
        QVERIFY(std::abs(worn.drift() - drift) < 1e-6);
        QVERIFY(std::abs(worn.noise() - 0.01) < 1e-6);
        // The stick reads as far as drift and noise together; the dead zone
        // holds that, rounded up to a hundredth, and the margin.
        const double expected = std::ceil((drift + 0.01) * 100) / 100 + 0.02;
        QVERIFY2(std::abs(worn.recommendedDeadZone() - expected) < 1e-9,
            qPrintable(QString::number(worn.recommendedDeadZone())));
        QVERIFY(worn.recommendedDeadZone() >= worn.drift());

        // A figure on a step stays there: 0.03 needs 0.03 + 0.02, not 0.04 + 0.02.
        StickCentreMeasurement onStep;
        onStep.add(0.03, 0.0);
        QVERIFY(std::abs(onStep.recommendedDeadZone() - 0.05) < 1e-9);

        // One stray sample in a hundred and fifty is beyond the 99 % the noise holds.
        StickCentreMeasurement stray = restingAt({ 0, 0 }, 0.004, 149);
        stray.add(0.5, 0.5);
        QVERIFY2(stray.noise() < 0.01, qPrintable(QString::number(stray.noise())));

        const StickCentreMeasurement none;
        QCOMPARE(none.drift(), 0.0);
        QCOMPARE(none.noise(), 0.0);
        QVERIFY(std::abs(none.recommendedDeadZone() - StickCentreMeasurement::kDeadZoneMargin) < 1e-9);
    }

    void aPerfectCircleIsRound()
    {
        const StickRangeMeasurement range = rangeOf(testsupport::trace(testsupport::circleOutline, 4, 0.25));
        QCOMPARE(range.coverage(), 100.0);
        QVERIFY(range.circularityError());
        QVERIFY2(*range.circularityError() <= kTolerance, qPrintable(QString::number(*range.circularityError())));
        QVERIFY(range.shortDirections().isEmpty());
    }

    void aSquareGateHasTheSquaresKnownError()
    {
        const double known = testsupport::squareGateError(StickRangeMeasurement::kBins);
        const StickRangeMeasurement range = rangeOf(testsupport::trace(testsupport::squareOutline, 4, 0.25));
        QVERIFY(range.circularityError());
        QVERIFY2(std::abs(*range.circularityError() - known) <= kTolerance,
            qPrintable(QStringLiteral("%1 against %2").arg(*range.circularityError()).arg(known)));
        for (const auto& quadrant : range.quadrantErrors())
            QVERIFY(quadrant && std::abs(*quadrant - known) <= kTolerance);
        QCOMPARE(range.coverage(), 100.0);
        QVERIFY(range.shortDirections().isEmpty());
        QCOMPARE(ControllerCheckReport::circularityVerdict(range.circularityError()), QStringLiteral("high"));
    }

    void aSquashedQuadrantIsNamedShort()
    {
        const StickRangeMeasurement range
            = rangeOf(testsupport::trace(testsupport::squashedOutline(1, 0.8), 4, 0.25, 0.125));
        const auto quadrants = range.quadrantErrors();
        QVERIFY(quadrants[1] && std::abs(*quadrants[1] - 20.0) <= kTolerance);
        for (int q : { 0, 2, 3 })
            QVERIFY(quadrants[size_t(q)] && *quadrants[size_t(q)] <= kTolerance);
        // The up-left quadrant runs from straight up to straight left.
        QCOMPARE(range.shortDirections(),
            (QStringList { QStringLiteral("up"), QStringLiteral("up-left"), QStringLiteral("left") }));
        QVERIFY(std::abs(*range.circularityError() - 5.0) <= kTolerance);
    }

    void tooLittleCoverageGivesNoResult()
    {
        // Half a turn, and the way out from the centre and back.
        std::vector<QPointF> half = testsupport::trace(testsupport::circleOutline, 0.5, 1);
        StickRangeMeasurement range = rangeOf(half);
        range.add(0.1, 0.0);
        QVERIFY(range.coverage() > 49 && range.coverage() < 53);
        QVERIFY(!range.circularityError());
        for (const auto& q : range.quadrantErrors())
            QVERIFY(!q);
        QCOMPARE(ControllerCheckReport::circularityVerdict(range.circularityError()), QStringLiteral("unknown"));
        // The directions are named by the bins' middles: the bin just past "right" is "right".
        QCOMPARE(StickRangeMeasurement::directionOf(0), "right");
        QCOMPARE(StickRangeMeasurement::directionOf(63), "right");
        QCOMPARE(StickRangeMeasurement::directionOf(4), "up-right");
        QCOMPARE(StickRangeMeasurement::binOf(-0.01), 63);
    }

    void theReportRateComesFromTheEventTimes()
    {
        ReportRateMeasurement steady;
        for (int i = 0; i < 100; ++i) {
            steady.add(i * 2000, GCControllerInputClock::Device);
            steady.add(i * 2000, GCControllerInputClock::Device); // y of the same report
        }
        QVERIFY(std::abs(*steady.rateHz() - 500.0) < 1e-6);
        QVERIFY(*steady.jitterMs() < 1e-6);

        // Intervals of 1 and 3 ms: the same rate, a spread of 1 ms; a pause
        // of the stick is no interval.
        ReportRateMeasurement uneven;
        qint64 t = 0;
        for (int i = 0; i < 100; ++i) {
            uneven.add(t, GCControllerInputClock::Poll);
            t += i % 2 ? 3000 : 1000;
        }
        uneven.add(t + 5'000'000, GCControllerInputClock::Poll);
        QCOMPARE(uneven.intervals(), 99);
        QVERIFY(std::abs(*uneven.rateHz() - 1e6 / (197000.0 / 99)) < 1e-6);
        QVERIFY(std::abs(*uneven.jitterMs() - 1.0) < 0.02);
        QCOMPARE(uneven.clock(), GCControllerInputClock::Poll);

        QVERIFY(!ReportRateMeasurement().rateHz());
    }

    void triggersAndButtons()
    {
        TriggerRangeMeasurement trigger;
        for (int i = 0; i <= 70; ++i)
            trigger.add(float(i) / 100.0f);
        trigger.add(0.7f);
        QCOMPARE(trigger.lowest(), 0.0f);
        QCOMPARE(trigger.highest(), 0.7f);
        QCOMPARE(trigger.levels(), 71);
        ControllerCheckReport::Trigger stopsShort { true, 0.0, 0.7, 71 };
        QCOMPARE(ControllerCheckReport::triggerVerdict(stopsShort), QStringLiteral("short"));

        // A contact bouncing every 2 ms as it closes and opens.
        ButtonTimingMeasurement bouncing;
        bouncing.begin(false);
        for (qint64 t : { 0, 2000, 4000 })
            bouncing.add(t * 1, (t / 2000) % 2 == 0);
        bouncing.add(100000, false);
        bouncing.add(100000, false); // repeats of the same state are no change
        bouncing.finish();
        QCOMPARE(bouncing.presses(), 2);
        QCOMPARE(bouncing.chatter(), 2);
        QVERIFY(!bouncing.stuck());

        ButtonTimingMeasurement clean;
        clean.begin(false);
        for (int i = 0; i < 10; ++i)
            clean.add(i * 50000, i % 2 == 0);
        clean.finish();
        QCOMPARE(clean.presses(), 5);
        QCOMPARE(clean.chatter(), 0);

        ButtonTimingMeasurement held;
        held.begin(true);
        QVERIFY(!held.stuck()); // not until the check ends
        held.finish();
        QVERIFY(held.stuck());
        ButtonTimingMeasurement pressedAtStart;
        pressedAtStart.begin(false);
        pressedAtStart.add(0, true, true);
        pressedAtStart.finish();
        QVERIFY(pressedAtStart.stuck());
        ButtonTimingMeasurement let;
        let.begin(true);
        let.add(90000, false);
        let.finish();
        QVERIFY(!let.stuck());
    }

    void theGuidedStepsFollowTheTestClock()
    {
        Rig rig;
        QSignalSpy steps(&rig.check, &ControllerCheck::stepChanged);
        QSignalSpy finished(&rig.check, &ControllerCheck::finished);
        rig.pad.press(Button::B); // held when the check starts: stuck if never let go
        rig.check.start();
        QCOMPARE(rig.check.step(), Step::Rest);

        // Rest: a pad settled off centre, wandering a little.
        for (int i = 0; i < 300; ++i) {
            const double a = 2 * std::numbers::pi * i / 300;
            rig.pad.moveStick(Stick::Left, float(0.06 + 0.01 * std::cos(a)), float(-0.03 + 0.01 * std::sin(a)));
            rig.wait(9.9);
        }
        QCOMPARE(rig.check.step(), Step::Rest);
        rig.wait(30);
        QCOMPARE(rig.check.step(), Step::RotateLeft);

        // The left stick traced along a square gate; the rotation ends only
        // once the stick has rested half a second near the centre.
        rig.traceStick(Stick::Left, testsupport::trace(testsupport::squareOutline, 4, 0.25), 1);
        rig.pad.moveStick(Stick::Left, 0.05f, 0.0f);
        rig.wait(400);
        QCOMPARE(rig.check.step(), Step::RotateLeft);
        rig.wait(100);
        QCOMPARE(rig.check.step(), Step::RotateRight);

        // The right stick is never moved: the step ends after its 10 s.
        rig.wait(9990);
        QCOMPARE(rig.check.step(), Step::RotateRight);
        rig.wait(10);
        QCOMPARE(rig.check.step(), Step::Triggers);

        // The left trigger pressed fully and let go; the right one stops at 0.7.
        for (int i = 0; i <= 100; ++i) {
            rig.pad.setButton(Button::L2, float(i) / 100.0f);
            rig.pad.setButton(Button::R2, std::min(0.7f, float(i) / 100.0f));
            rig.wait(2);
        }
        rig.pad.setButton(Button::L2, 0.0f);
        QCOMPARE(rig.check.step(), Step::Triggers); // the right trigger never went the whole way
        // A bouncing A meanwhile.
        for (bool down : { true, false, true, false }) {
            rig.pad.setButton(Button::A, down ? 1.0f : 0.0f);
            rig.wait(2);
        }
        rig.wait(10000);
        QCOMPARE(rig.check.step(), Step::Done);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(steps.count(), 5);

        const ControllerCheckReport r = rig.check.report();
        QVERIFY(std::abs(r.left.drift - std::hypot(0.06, -0.03)) < 0.001);
        QVERIFY(r.left.deadZone >= r.left.drift);
        QCOMPARE(ControllerCheckReport::driftVerdict(r.left.drift), QStringLiteral("worn"));
        QVERIFY(r.left.circularity);
        QVERIFY(
            std::abs(*r.left.circularity - testsupport::squareGateError(StickRangeMeasurement::kBins)) <= kTolerance);
        QVERIFY(r.left.shortDirections.isEmpty());
        QVERIFY(r.left.rateHz && std::abs(*r.left.rateHz - 1000.0) < 1.0);
        QCOMPARE(r.left.clock, QStringLiteral("device"));
        QVERIFY(!r.right.circularity);
        QCOMPARE(r.right.drift, 0.0);
        QVERIFY(!r.right.rateHz);
        QCOMPARE(r.leftTrigger.max, 1.0);
        QVERIFY(std::abs(r.rightTrigger.max - 0.7) < 1e-6);
        QCOMPARE(ControllerCheckReport::triggerVerdict(r.rightTrigger), QStringLiteral("short"));
        QCOMPARE(ControllerCheckReport::triggerVerdict(r.leftTrigger), QStringLiteral("good"));
        auto button = [&r](const char* name) {
            for (const ControllerCheckReport::Button& b : r.buttons)
                if (b.name == QLatin1String(name))
                    return b;
            return ControllerCheckReport::Button {};
        };
        QCOMPARE(button("A").presses, 2);
        QVERIFY(button("A").chatter >= 1);
        QVERIFY(button("B").stuck);
        QCOMPARE(ControllerCheckReport::buttonVerdict(button("B")), QStringLiteral("stuck"));
        QVERIFY(!button("L2").stuck && !button("X").stuck);
    }

    // With the keyboard playing the controller, Shift and a stick's key
    // sweep the stick around its edge: the rotation reaches every direction,
    // round, and ends once the keys are let go.
    void theKeyboardSweepsAStickAroundItsEdge()
    {
        Rig rig;
        rig.check.start();
        rig.wait(ControllerCheck::kRestSeconds * 1000);
        QCOMPARE(rig.check.step(), Step::RotateLeft);
        const GCControllerDirectionPad* left = rig.pad.controller()->extendedGamepad()->leftThumbstick();
        const GCControllerDirectionPad* right = rig.pad.controller()->extendedGamepad()->rightThumbstick();

        const testsupport::TimeScale fast(0.2); // the sweep's own timer
        QVERIFY(rig.pad.handleKey(Qt::Key_Shift, true));
        QCOMPARE(QPointF(left->xAxis(), left->yAxis()), QPointF(0, 0)); // Shift alone moves nothing
        QVERIFY(rig.pad.handleKey('W', true));
        // It starts where the key points, at the edge.
        QVERIFY(std::abs(left->yAxis() - 1.0f) < 1e-6f && std::abs(left->xAxis()) < 1e-6f);
        QVERIFY(testsupport::waitUntil([&] { return rig.check.range(true).coverage() >= 100.0; }));
        QCOMPARE(QPointF(right->xAxis(), right->yAxis()), QPointF(0, 0)); // the other stick stays

        QVERIFY(rig.pad.handleKey('W', false));
        QCOMPARE(QPointF(left->xAxis(), left->yAxis()), QPointF(0, 0));
        QVERIFY(rig.pad.handleKey(Qt::Key_Shift, false));
        rig.wait(ControllerCheck::kSettleSeconds * 1000);
        QCOMPARE(rig.check.step(), Step::RotateRight);
        const ControllerCheckReport r = rig.check.report();
        QVERIFY(r.left.circularity && *r.left.circularity < 0.1);
        QVERIFY(r.left.shortDirections.isEmpty());

        // Without Shift a key moves its stick to the edge and stays there.
        QVERIFY(rig.pad.handleKey('L', true));
        QCOMPARE(QPointF(right->xAxis(), right->yAxis()), QPointF(1, 0));
        QVERIFY(rig.pad.handleKey('L', false));
    }

    void theGyroscopeAtRestGivesItsBiasAndNoise()
    {
        // A bias of 0.5 degrees per second (0.3 and -0.4 about x and y) and a
        // noise of 0.05 about each axis.
        RestingGyro gyro { { 0.3, -0.4, 0.0 }, 0.05 };
        GyroCalibration calibration;
        QCOMPARE(calibration.secondsLeft(), 9.5);
        // A sample belongs to the phase its time falls in: the first at 0.5 s begins the noise.
        qint64 at = feed(calibration, gyro, 0, 0.5);
        QCOMPARE(calibration.phase(), GyroCalibration::Phase::Settle);
        at = feed(calibration, gyro, at, 0.005);
        QCOMPARE(calibration.phase(), GyroCalibration::Phase::Noise);
        at = feed(calibration, gyro, at, 4.0);
        QCOMPARE(calibration.phase(), GyroCalibration::Phase::Drift);
        QVERIFY(std::abs(calibration.secondsLeft() - 5.0) < 0.01);
        at = feed(calibration, gyro, at, 5.01);
        QVERIFY(calibration.isDone());
        const GyroCalibration::Result r = *calibration.result();
        QVERIFY2(std::abs(r.drift - 0.5) <= 0.05, qPrintable(QString::number(r.drift)));
        QVERIFY(std::abs(r.bias[0] - 0.3) <= 0.05 && std::abs(r.bias[1] + 0.4) <= 0.05 && std::abs(r.bias[2]) <= 0.05);
        QVERIFY2(std::abs(r.noise - 0.05) <= 0.25 * 0.05, qPrintable(QString::number(r.noise)));
        QVERIFY(r.gravity && std::abs(*r.gravity - 9.80665) < 1e-3);
        QCOMPARE(calibration.restarts(), 0);
        QVERIFY(r.samples >= 1790 && r.samples <= 1802);

        // Picked up during the drift: it starts over, and the result is the rest's after.
        GyroCalibration moved;
        at = feed(moved, gyro, 0, 6.0);
        QCOMPARE(moved.phase(), GyroCalibration::Phase::Drift);
        moved.addRotation(at, { 3.0f, 0.0f, 0.0f }); // beyond the noise, within a resting turn
        QCOMPARE(moved.phase(), GyroCalibration::Phase::Settle);
        QCOMPARE(moved.restarts(), 1);
        at = feed(moved, gyro, at + kSampleUs, 1.0);
        moved.addRotation(at, { 0.0f, 45.0f, 0.0f }); // turned again
        QCOMPARE(moved.restarts(), 2);
        // Tilted: the acceleration changes.
        at = feed(moved, gyro, at + kSampleUs, 1.0);
        moved.addAcceleration(at, { 3.0f, 0.0f, 9.3f });
        QCOMPARE(moved.restarts(), 3);
        // A pause of the sensor is not a movement, but the rest starts over.
        at = feed(moved, gyro, at + 2 * 1000000, 2.0);
        QCOMPARE(moved.restarts(), 3);
        QCOMPARE(moved.phase(), GyroCalibration::Phase::Noise);
        at = feed(moved, gyro, at, 8.0);
        QVERIFY(moved.isDone());
        QVERIFY(std::abs(moved.result()->drift - 0.5) <= 0.05);
        QVERIFY(std::abs(*moved.result()->gravity - 9.80665) < 1e-3);

        // Verdicts against the named thresholds.
        ControllerCheckReport::Calibration c;
        c.drift = 0.5;
        c.noise = 0.05;
        c.gravity = 9.5;
        QCOMPARE(ControllerCheckReport::gyroDriftVerdict(c), QStringLiteral("good"));
        QCOMPARE(ControllerCheckReport::gyroNoiseVerdict(c), QStringLiteral("good"));
        QCOMPARE(ControllerCheckReport::gravityVerdict(c), QStringLiteral("good"));
        c.drift = 2.0;
        c.noise = 1.0;
        c.gravity = 9.0;
        QCOMPARE(ControllerCheckReport::gyroDriftVerdict(c), QStringLiteral("typical"));
        QCOMPARE(ControllerCheckReport::gyroNoiseVerdict(c), QStringLiteral("typical"));
        QCOMPARE(ControllerCheckReport::gravityVerdict(c), QStringLiteral("off"));
        c.drift = 3.5;
        c.noise = 2.0;
        QCOMPARE(ControllerCheckReport::gyroDriftVerdict(c), QStringLiteral("high"));
        QCOMPARE(ControllerCheckReport::gyroNoiseVerdict(c), QStringLiteral("high"));
        QCOMPARE(ControllerCheckReport::gyroDriftVerdict(std::nullopt), QStringLiteral("unknown"));
    }

    void aControllerWithAGyroscopeIsCalibratedLast()
    {
        ControllerCheck::Options options;
        options.left = options.right = false;
        Rig rig(options);
        rig.pad.offerMotion(200);
        rig.check.start();
        rig.wait(3000);
        QCOMPARE(rig.check.step(), Step::Triggers);
        rig.wait(10000);
        QCOMPARE(rig.check.step(), Step::Motion);
        // Laid down: its gyroscope off by 0.5 degrees per second, noisy by 0.05.
        RestingGyro gyro { { 0.0, 0.0, 0.5 }, 0.05 };
        QSignalSpy finished(&rig.check, &ControllerCheck::finished);
        for (int i = 0; i < 2000 && rig.check.isRunning(); ++i) {
            const std::array<float, 3> v = gyro.sample();
            rig.pad.setRotation(v[0], v[1], v[2]);
            rig.pad.setAcceleration(kFlat[0], kFlat[1], kFlat[2]);
            rig.wait(5);
        }
        QCOMPARE(rig.check.step(), Step::Done);
        QCOMPARE(finished.count(), 1);
        const ControllerCheckReport r = rig.check.report();
        QVERIFY(r.motion.present && r.motion.gyroscope && r.motion.accelerometer);
        QVERIFY(r.motion.calibration);
        QVERIFY(std::abs(r.motion.calibration->drift - 0.5) <= 0.05);
        QVERIFY(std::abs(r.motion.calibration->noise - 0.05) <= 0.0125);
        QVERIFY(r.motion.gyroscopeRateHz && std::abs(*r.motion.gyroscopeRateHz - 200.0) < 1.0);
        QCOMPARE(r.motion.statedGyroscopeRateHz, 200.0);
        const QJsonObject json = r.toJson();
        const QJsonObject motion = json[QLatin1String("motion")].toObject();
        QVERIFY(std::abs(motion[QLatin1String("calibration")][QLatin1String("drift")].toDouble() - 0.5) <= 0.05);
        QCOMPARE(motion[QLatin1String("gyroscope")][QLatin1String("stated_rate_hz")].toDouble(), 200.0);
        QCOMPARE(json[QLatin1String("verdicts")][QLatin1String("motion")][QLatin1String("drift")].toString(),
            QStringLiteral("good"));
        QCOMPARE(json[QLatin1String("verdicts")][QLatin1String("motion")][QLatin1String("gravity")].toString(),
            QStringLiteral("good"));
        // Read back as it was written.
        const std::optional<ControllerCheckReport> back = ControllerCheckReport::fromJson(json);
        QVERIFY(back && back->motion.calibration);
        QVERIFY(std::abs(back->motion.calibration->noise - r.motion.calibration->noise) < 0.001);
        QCOMPARE(back->toJson()[QLatin1String("motion")], json[QLatin1String("motion")]);
        const QString text = r.textLines().join(QLatin1Char('\n'));
        QVERIFY2(text.contains(QLatin1String("Gyroscope at rest: drift 0.5")) && text.contains(QLatin1String("(good)")),
            qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Accelerometer at rest: 9.81 m/s² (good)")));

        // A controller that is never laid down is not calibrated: the step ends on its clock.
        Rig restless(options);
        restless.pad.offerMotion();
        restless.check.start();
        restless.wait(3000);
        restless.wait(10000);
        QCOMPARE(restless.check.step(), Step::Motion);
        for (int i = 0; i < 100; ++i) {
            restless.pad.setRotation(float(40 * std::sin(i)), 0.0f, 0.0f);
            restless.wait(300);
        }
        QCOMPARE(restless.check.step(), Step::Done);
        const ControllerCheckReport none = restless.check.report();
        QVERIFY(none.motion.present && !none.motion.calibration);
        QCOMPARE(none.toJson()[QLatin1String("verdicts")][QLatin1String("motion")][QLatin1String("drift")].toString(),
            QStringLiteral("unknown"));
        QVERIFY(none.textLines().join(QLatin1Char('\n')).contains(QLatin1String("Gyroscope: not calibrated")));
        // Without motion sensors there is no such step, and nothing of it in the report.
        Rig plain(options);
        plain.check.start();
        plain.wait(3000);
        plain.wait(10000);
        QCOMPARE(plain.check.step(), Step::Done);
        QVERIFY(!plain.check.report().toJson().contains(QLatin1String("motion")));
    }

    // Where the kernel's event device times a controller's reports, those
    // times give the rate, not the events of its source.
    void theDeviceReportsTimeTheRotationWhereThereAreAny()
    {
        ControllerCheck::Options options;
        options.right = false;
        Rig rig(options);
        GCControllerReportClock clock;
        clock.node = QStringLiteral("/dev/input/event5");
        rig.pad.controller()->setReportClock(clock);
        rig.check.start();
        rig.wait(3000);
        QCOMPARE(rig.check.step(), Step::RotateLeft);
        qint64 kernel = 77000000;
        for (int i = 0; i < 500; ++i) {
            // The stick's own events on a clock of 8 ms steps: no part of the rate.
            if (i % 8 == 0)
                rig.pad.moveStick(Stick::Left, float(std::cos(i / 80.0)), float(std::sin(i / 80.0)));
            kernel += i % 2 ? 900 : 1100;
            // Reports lost in between: that interval is no interval.
            rig.pad.controller()->deviceReported(i == 250 ? kernel + 40000 : kernel, i == 250);
            if (i == 250)
                kernel += 40000;
            rig.wait(1);
        }
        const ControllerCheckReport r = rig.check.report();
        QCOMPARE(rig.check.rate(true).intervals(), 498);
        QVERIFY2(std::abs(*r.left.rateHz - 1000.0) < 0.5, qPrintable(QString::number(*r.left.rateHz)));
        QVERIFY(std::abs(*r.left.jitterMs - 0.1) < 1e-6);
        QCOMPARE(r.left.clock, QStringLiteral("device"));
        QCOMPARE(r.eventNode, QStringLiteral("/dev/input/event5"));

        // The poll's clock, and why: in the report and its words.
        ControllerCheckReport polled = r;
        polled.clock = QStringLiteral("poll");
        polled.clockReason = QStringLiteral("no-permission");
        const QJsonObject controller = polled.toJson()[QLatin1String("controller")].toObject();
        QCOMPARE(controller[QLatin1String("clock_reason")].toString(), QStringLiteral("no-permission"));
        QCOMPARE(ControllerCheckReport::fromJson(polled.toJson())->clockText(),
            QStringLiteral(
                "Report times: our poll's, at most 125 per second: no permission to read /dev/input/event5"));
        QVERIFY(polled.textLines().contains(QStringLiteral(
            "Report times: our poll's, at most 125 per second: no permission to read /dev/input/event5")));
    }

    void aCheckEndsEarlyWithWhatItMeasured()
    {
        // Only the left stick is rotated; the check is ended during the rotation.
        ControllerCheck::Options options;
        options.right = false;
        Rig rig(options);
        rig.check.start();
        rig.wait(3000);
        QCOMPARE(rig.check.step(), Step::RotateLeft);
        rig.traceStick(Stick::Left, testsupport::trace(testsupport::circleOutline, 1.2, 1), 2);
        rig.check.finish();
        QCOMPARE(rig.check.step(), Step::Done);
        const ControllerCheckReport r = rig.check.report();
        QVERIFY(r.left.circularity && *r.left.circularity <= kTolerance);
        QVERIFY(r.left.rateHz && std::abs(*r.left.rateHz - 500.0) < 1.0);

        // A step starts when the one before it ends, however late the clock
        // looked: a long silence ends the rest but not the rotation after it.
        Rig late(options);
        late.check.start();
        late.wait(60000);
        QCOMPARE(late.check.step(), Step::RotateLeft);
        late.wait(10000);
        QCOMPARE(late.check.step(), Step::Triggers);

        // The controller unplugged during the check ends it.
        Rig unplugged;
        QSignalSpy finished(&unplugged.check, &ControllerCheck::finished);
        unplugged.pad.plugIn();
        unplugged.check.start();
        unplugged.wait(100);
        unplugged.pad.unplug();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(unplugged.check.step(), Step::Done);

        // A controller without sticks is not checked.
        VirtualGameController basic(testsupport::controllerService(), GCControllerProfile::Basic);
        ControllerCheck none(basic.controller(), {}, [] { return qint64(0); });
        none.start();
        QVERIFY(!none.isRunning());
    }

    void reportsAreKeptAndTheLastOneForTheSameControllerIsFound()
    {
        QTemporaryDir documents;
        DocumentsDirectory::setPath(documents.path());
        ControllerCheckReport before;
        before.name = QStringLiteral("Pad");
        before.guid = QStringLiteral("03000000c82d00000000000000000000");
        before.time = QDateTime(QDate(2026, 12, 1), QTime(10, 0), Qt::UTC);
        before.left.drift = 0.02;
        before.left.circularity = 3.5;
        before.left.quadrants = { 3.0, 4.0, std::nullopt, 3.5 };
        before.left.shortDirections = { QStringLiteral("up-left") };
        before.left.rateHz = 250.0;
        before.left.clock = QStringLiteral("poll");
        before.leftTrigger = { true, 0.0, 0.7, 71 };
        before.buttons.push_back({ QStringLiteral("A"), 3, 1, false });
        QString error;
        const QString beforePath = before.save(&error);
        QVERIFY2(!beforePath.isEmpty(), qPrintable(error));

        // The contract's fields and units.
        const QJsonObject json = before.toJson();
        const QJsonObject left = json[QLatin1String("sticks")][QLatin1String("left")].toObject();
        for (const char* field :
            { "drift", "noise", "deadzone", "circularity", "quadrants", "coverage", "short", "rate_hz", "jitter_ms" })
            QVERIFY2(left.contains(QLatin1String(field)), field);
        QCOMPARE(left[QLatin1String("quadrants")].toArray().size(), 4);
        QVERIFY(left[QLatin1String("quadrants")].toArray()[2].isNull());
        QVERIFY(left[QLatin1String("jitter_ms")].isNull());
        QCOMPARE(json[QLatin1String("triggers")][QLatin1String("left")][QLatin1String("levels")].toInt(), 71);
        QVERIFY(!json[QLatin1String("triggers")].toObject().contains(QLatin1String("right")));
        QCOMPARE(json[QLatin1String("buttons")][QLatin1String("A")][QLatin1String("chatter")].toInt(), 1);
        QCOMPARE(json[QLatin1String("verdicts")][QLatin1String("left")][QLatin1String("range")].toString(),
            QStringLiteral("short"));
        QCOMPARE(json[QLatin1String("verdicts")][QLatin1String("buttons")][QLatin1String("A")].toString(),
            QStringLiteral("chatter"));

        // Another controller's report, a newer one of this controller, a damaged file.
        ControllerCheckReport other = before;
        other.guid = QStringLiteral("050000005e0400000000000000000000");
        other.time = before.time.addDays(2);
        QVERIFY(!other.save().isEmpty());
        QFile damaged(QDir(ControllerCheckReport::folder()).filePath(QStringLiteral("check-damaged.json")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"controller\": {\"name\": ");
        damaged.close();
        ControllerCheckReport after = before;
        after.time = before.time.addDays(3);
        after.left.drift = 0.07;
        const QString afterPath = after.save();
        QVERIFY(!afterPath.isEmpty() && afterPath != beforePath);
        ControllerCheckReport again = after; // the same moment: a file of its own
        QVERIFY(!again.save().isEmpty());

        ControllerCheckReport now = before;
        now.time = before.time.addDays(4);
        const auto found = now.previous();
        QVERIFY(found);
        QCOMPARE(found->time, after.time);
        QCOMPARE(found->left.drift, 0.07);
        QCOMPARE(found->left.circularity, std::optional<double>(3.5));
        QCOMPARE(found->left.quadrants[2], std::optional<double>());
        QCOMPARE(found->left.shortDirections, QStringList { QStringLiteral("up-left") });
        QCOMPARE(found->leftTrigger.levels, 71);
        QVERIFY(!found->rightTrigger.present);
        QCOMPARE(found->buttons.size(), size_t(1));
        QVERIFY(!before.previous()); // nothing older
        QVERIFY2(damaged.exists() && damaged.size() > 0, "a damaged file is left as it is");

        // A folder that cannot be made: a clear message, no file.
        QFile blocker(documents.filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        DocumentsDirectory::setPath(blocker.fileName());
        QString refused;
        QVERIFY(now.save(&refused).isEmpty());
        QVERIFY(refused.contains(QLatin1String("blocked")));
        DocumentsDirectory::setPath(documents.path());
    }
};

QTEST_GUILESS_MAIN(TestControllerCheck)
#include "tst_controllercheck.moc"
