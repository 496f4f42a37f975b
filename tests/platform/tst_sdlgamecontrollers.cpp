// The machine's own game controllers through SDL, end to end: devices on
// SDL's virtual joystick driver are plugged in and out while the program runs
// and their buttons and axes go all the way to the input manager's slots.
#include "input/ControllerCheck.h"
#include "input/KestGameController.h"
#include "input/KestGameControllerManager.h"
#include "platform/gamepad/EventDeviceFinder.h"
#include "platform/gamepad/GameControllerMappingFile.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/gamepad/InputEventReader.h"
#include "platform/runtime/DeviceHotplugMonitor.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/gamepad/SdlGameControllerSource.h"
#include "platform/gamepad/SdlLibrary.h"
#include "platform/gamepad/VirtualGameController.h"
#include "support/SdlVirtualPad.h"
#include "support/SlotRecorder.h"
#include "support/StickShapes.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <SDL.h>

#include <bit>
#include <cmath>
#include <fcntl.h>
#include <linux/input.h>
#include <memory>
#include <numbers>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;

namespace {

using Key = KestGameControllerManager::Key;

constexpr Uint32 kAllButtons = SdlVirtualPad::kAllButtons;
constexpr Uint32 kAllAxes = SdlVirtualPad::kAllAxes;

KestGameControllerManager& manager()
{
    return KestGameControllerManager::sharedInstance();
}

struct RecordingDelegate : KestGameControllerManagerDelegate {
    std::vector<std::shared_ptr<KestGameController>> connected;
    int disconnected = 0;

    RecordingDelegate() { manager().setDelegate(this); }
    ~RecordingDelegate() { manager().setDelegate(nullptr); }
    void gameControllerManager(KestGameControllerManager*, const std::shared_ptr<KestGameController>& c) override
    {
        connected.push_back(c);
    }
    void gameControllerManagerGameControllerDisconnected(KestGameControllerManager*) override { ++disconnected; }
};

bool waitForControllers(size_t n)
{
    return waitUntil([n] { return testsupport::controllerService().controllers().size() == n; });
}

// Counts the announcements of changed values while it lives.
struct ValueChanges {
    int count = 0;
    ValueChanges()
    {
        NotificationCenter::defaultCenter().addObserver(
            this, GCControllerValuesDidChangeNotification, [this](const Notification&) { ++count; });
    }
    ~ValueChanges() { NotificationCenter::defaultCenter().removeObserver(this); }
    ValueChanges(const ValueChanges&) = delete;
    ValueChanges& operator=(const ValueChanges&) = delete;
};

QStringList rawValues(const GCControllerPtr& controller)
{
    QStringList values;
    for (const GCControllerRawInput& input : controller->rawInputs())
        values << QStringLiteral("%1=%2").arg(input.name).arg(input.value);
    return values;
}

// The GUID a mapping names a device by: SDL's without the name's checksum
// (its third and fourth byte).
QString mappingGuid(const QString& guid)
{
    return guid.left(4) + QStringLiteral("0000") + guid.mid(8);
}

// A mapping that gives a two-stick joystick's first axes and buttons the
// names of a game controller's, for a device of that GUID and name.
QByteArray sticksMapping(const QString& guid, const char* name, const char* more = "")
{
    return QStringLiteral("%1,%2,a:b0,b:b1,x:b2,y:b3,leftx:a0,lefty:a1,rightx:a2,righty:a3,%3")
        .arg(mappingGuid(guid), QString::fromLatin1(name), QString::fromLatin1(more))
        .toUtf8();
}

// The GUID SDL gives an unmapped joystick of that shape, from a short-lived source.
QString joystickGuid(const char* name, int buttons, int axes, int hats)
{
    SdlGameControllerSource source(testsupport::controllerService());
    if (!source.start())
        return QString();
    const auto pad = SdlVirtualPad::joystick(name, buttons, axes, hats);
    return pad->isPlugged() ? pad->guid() : QString();
}

QString writeMappingFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return QString();
    return path;
}

Sint16 sdlAxis(double v)
{
    return Sint16(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
}

// Traces a shape with the pad's left stick, y turned to SDL's downward
// axis. SDL delivers the two axes of a position as two events, so between
// two positions the stick reads one axis new and the other old; of the two
// such corners the nearer the centre is taken, the one inside the gate (at
// the edge of a squashed quadrant the other lies beyond its wall).
void traceOnPad(const SdlVirtualPad& pad, const std::vector<QPointF>& points)
{
    QPointF at;
    for (const QPointF& p : points) {
        const bool xFirst = std::hypot(p.x(), at.y()) <= std::hypot(at.x(), p.y());
        for (int i = 0; i < 2; ++i) {
            if ((i == 0) == xFirst)
                pad.axis(SDL_CONTROLLER_AXIS_LEFTX, sdlAxis(p.x()));
            else
                pad.axis(SDL_CONTROLLER_AXIS_LEFTY, sdlAxis(-p.y()));
        }
        at = p;
    }
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
}

// The range a check measures of a shape traced on the pad.
std::optional<ControllerCheckReport::Stick> measuredOnPad(
    const SdlVirtualPad& pad, const GCControllerPtr& controller, const std::vector<QPointF>& points)
{
    qint64 now = 0;
    ControllerCheck::Options options;
    options.right = false;
    ControllerCheck check(controller, options, [&now] { return now; });
    check.start();
    now += qint64(options.restSeconds * 1e6);
    check.advance();
    if (check.step() != ControllerCheck::Step::RotateLeft)
        return std::nullopt;
    traceOnPad(pad, points);
    const GCControllerDirectionPad* stick = controller->extendedGamepad()->leftThumbstick();
    // Every event is in once the stick is back at rest after the trace.
    if (!waitUntil([&] { return check.range(true).covered() && stick->xAxis() == 0 && stick->yAxis() == 0; }))
        return std::nullopt;
    return check.report().left;
}

// One record of the kernel's input events, at a time in microseconds.
QByteArray kernelRecord(qint64 microseconds, int type, int code, int value)
{
    input_event e {};
    e.input_event_sec = decltype(e.input_event_sec)(microseconds / 1000000);
    e.input_event_usec = decltype(e.input_event_usec)(microseconds % 1000000);
    e.type = __u16(type);
    e.code = __u16(code);
    e.value = __s32(value);
    return QByteArray(reinterpret_cast<const char*>(&e), sizeof e);
}

// A report that moved a stick: its axis, then SYN_REPORT.
QByteArray axisReport(qint64 microseconds, int value)
{
    return kernelRecord(microseconds, EV_ABS, ABS_X, value) + kernelRecord(microseconds, EV_SYN, SYN_REPORT, 0);
}

// Report times of a 1000 Hz device whose intervals spread normally by
// `spread` microseconds, and the standard deviation of the intervals they make.
struct ReportTimes {
    std::vector<qint64> times;
    double jitterMs = 0;
};
ReportTimes reportTimes(int count, double spread)
{
    std::mt19937 random(39);
    std::normal_distribution<double> interval(1000.0, spread);
    ReportTimes r;
    qint64 at = 5000000;
    double sum = 0, squares = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            const qint64 step = std::max<qint64>(1, std::llround(interval(random)));
            at += step;
            sum += double(step);
            squares += double(step) * double(step);
        }
        r.times.push_back(at);
    }
    const double mean = sum / (count - 1);
    r.jitterMs = std::sqrt(squares / (count - 1) - mean * mean) / 1000.0;
    return r;
}

bool writeAll(int descriptor, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(descriptor, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The kernel's list of input devices as a test lays it out: eventN/device
// with its name, ids and properties.
void addClassEntry(const QDir& classes, const QString& event, int vendor, int product, const QByteArray& name,
    const QByteArray& properties = "0")
{
    const QDir device(classes.filePath(event + QStringLiteral("/device")));
    QDir().mkpath(device.filePath(QStringLiteral("id")));
    const std::pair<QString, QByteArray> files[] = {
        { QStringLiteral("name"), name + "\n" },
        { QStringLiteral("id/vendor"), QByteArray::number(vendor, 16).rightJustified(4, '0') + "\n" },
        { QStringLiteral("id/product"), QByteArray::number(product, 16).rightJustified(4, '0') + "\n" },
        { QStringLiteral("properties"), properties + "\n" },
    };
    for (const auto& [file, text] : files) {
        QFile f(device.filePath(file));
        if (f.open(QIODevice::WriteOnly))
            f.write(text);
    }
}

// The controller's check after its rest, rotating the left stick: what the tests time.
struct RotatingCheck {
    qint64 now = 0;
    std::unique_ptr<ControllerCheck> check;
    explicit RotatingCheck(const GCControllerPtr& controller)
    {
        ControllerCheck::Options options;
        options.right = false;
        options.motion = false;
        check = std::make_unique<ControllerCheck>(controller, options, [this] { return now; });
        check->start();
        now += qint64(options.restSeconds * 1e6);
        check->advance();
    }
};
} // namespace

class TestSdlGameControllers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("SDL_VIDEODRIVER", "dummy");
        manager();
    }

    void cleanup() { QVERIFY(waitForControllers(0)); }

    // First: once SDL is loaded it stays, whatever the variable says.
    void sdlThatCannotBeLoadedLeavesHardwareControllersUnavailable()
    {
        QTemporaryDir dir;
        const QString notElf = dir.filePath(QStringLiteral("libSDL2-2.0.so.0"));
        QFile text(notElf);
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a library\n") > 0);
        text.close();
        const QString missing = dir.filePath(QStringLiteral("missing.so"));
        // A real library, but not SDL: the first SDL function is what it lacks.
        const QString notSdl = QStringLiteral("libc.so.6");
        for (const auto& [file, detail] : { std::pair { missing, missing }, std::pair { notElf, notElf },
                 std::pair { notSdl, QStringLiteral("SDL_") } }) {
            qputenv(SdlLibrary::kPathVariable, file.toLocal8Bit());
            SdlGameControllerSource source(testsupport::controllerService());
            QVERIFY(!source.start());
            QVERIFY(!source.isRunning());
            QVERIFY2(source.errorString().startsWith(
                         QLatin1String("Game controllers cannot be used: the controller library could not be loaded")),
                qPrintable(source.errorString()));
            QVERIFY2(source.errorString().contains(detail), qPrintable(source.errorString()));
            QCOMPARE(source.addMappings("# none\n"), -1);
        }
        qunsetenv(SdlLibrary::kPathVariable);

        // The next start tries again and finds the real one.
        SdlGameControllerSource source(testsupport::controllerService());
        QVERIFY2(source.start(), qPrintable(source.errorString()));
        QVERIFY(SdlLibrary::error().isEmpty());
    }

    // Before anything asks the shared service for hardware controllers.
    void sdlThatCannotStartLeavesVirtualControllersWorking()
    {
        QVERIFY(GameControllerService::sharedService().hardwareError().isEmpty()); // nobody asked yet
        SdlGameControllerSource broken(testsupport::controllerService(), [](std::uint32_t) {
            SDL_SetError("no permission to read input devices");
            return -1;
        });
        QVERIFY(!broken.start());
        QVERIFY(!broken.isRunning());
        QVERIFY2(broken.errorString().contains(QLatin1String("no permission to read input devices")),
            qPrintable(broken.errorString()));
        QVERIFY(broken.errorString().startsWith(QLatin1String("Game controllers cannot be used")));

        SlotRecorder recorder;
        VirtualGameController pad(testsupport::controllerService());
        pad.plugIn();
        pad.press(VirtualGameController::Button::A);
        QCOMPARE(recorder.events, QStringList { QStringLiteral("A+") });
    }

    // Before the shared source takes SDL over for the rest of the process.
    void aSourceThatGoesAwayReportsItsControllersGone()
    {
        RecordingDelegate delegate;
        {
            SdlGameControllerSource source(testsupport::controllerService());
            if (!source.start())
                QSKIP(qPrintable(source.errorString()));
            SdlVirtualPad pad("Short Lived");
            if (!pad.isPlugged())
                QSKIP(qPrintable(QStringLiteral("SDL virtual joysticks are unavailable: ") + pad.error));
            QVERIFY(waitForControllers(1));
            QCOMPARE(delegate.connected.size(), size_t(1));
        }
        QVERIFY(testsupport::controllerService().controllers().empty());
        QCOMPARE(delegate.disconnected, 1);
    }

    // The kernel's device events through a folder of the test's own standing
    // in for the device folder: it does not exist at first, then comes, gets
    // devices, goes and comes back; each change is heard.
    void theDeviceFolderWatchHearsDevicesComeAndGo()
    {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("input"));
        const QString noUdev = root.filePath(QStringLiteral("no-udev-control"));
        DeviceHotplugMonitor monitor;
        QCOMPARE(monitor.start(DeviceHotplugMonitor::kInputSubsystem, folder, noUdev),
            DeviceHotplugMonitor::Method::DeviceFolder);
        int changes = 0;
        connect(&monitor, &DeviceHotplugMonitor::devicesChanged, this, [&changes] { ++changes; });
        auto heard = [&changes](const std::function<bool()>& change) {
            const int before = changes;
            return change() && waitUntil([&] { return changes > before; });
        };
        QVERIFY(heard([&] { return QDir().mkdir(folder); }));
        const QString device = QDir(folder).filePath(QStringLiteral("event0"));
        QVERIFY(heard([&] { return writeMappingFile(device, "").size() > 0; }));
        QVERIFY(heard([&] { return QFile::remove(device); }));
        QVERIFY(heard([&] { return QDir(folder).removeRecursively(); }));
        // Watched again once it is back.
        QVERIFY(heard([&] { return QDir().mkdir(folder); }));
        QVERIFY(heard([&] { return writeMappingFile(device, "").size() > 0; }));
        QCOMPARE(monitor.method(), DeviceHotplugMonitor::Method::DeviceFolder);

        // Neither the folder nor its parent: nothing to watch.
        DeviceHotplugMonitor orphan;
        QCOMPARE(
            orphan.start(DeviceHotplugMonitor::kInputSubsystem, root.filePath(QStringLiteral("none/input")), noUdev),
            DeviceHotplugMonitor::Method::None);
    }

    // With nothing open SDL is not polled; a device event, from the kernel or
    // from SDL's own queue (a virtual device), wakes it for a while. Where no
    // device events can be had, the slow poll never stops.
    void anIdleSourceSleepsUntilADeviceEvent()
    {
        TimeScale fast(0.1); // the settling time only: the poll is a sampling rate
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("input"));
        QVERIFY(QDir().mkdir(folder));
        {
            SdlGameControllerSource source(testsupport::controllerService());
            source.setDeviceFolders(folder, root.filePath(QStringLiteral("no-udev-control")));
            if (!source.start())
                QSKIP(qPrintable(source.errorString()));
            QCOMPARE(source.hotplugMethod(), DeviceHotplugMonitor::Method::DeviceFolder);
            QCOMPARE(source.pollInterval(), SdlGameControllerSource::kIdlePollIntervalMs); // the first look
            QVERIFY(waitUntil([&] { return source.pollInterval() == 0; }));

            QVERIFY(!writeMappingFile(QDir(folder).filePath(QStringLiteral("event3")), "").isEmpty());
            QVERIFY(waitUntil([&] { return source.pollInterval() == SdlGameControllerSource::kIdlePollIntervalMs; }));
            QVERIFY(waitUntil([&] { return source.pollInterval() == 0; }));

            SdlVirtualPad pad("Woken Up");
            if (!pad.isPlugged())
                QSKIP(qPrintable(pad.error));
            QVERIFY(waitForControllers(1));
            QCOMPARE(source.pollInterval(), SdlGameControllerSource::kPollIntervalMs);
            pad.unplug();
            QVERIFY(waitForControllers(0));
            QVERIFY(waitUntil([&] { return source.pollInterval() == 0; }));
        }
        {
            SdlGameControllerSource unwatched(testsupport::controllerService());
            unwatched.setDeviceFolders(root.filePath(QStringLiteral("none/input")), QString());
            QVERIFY(unwatched.start());
            QCOMPARE(unwatched.hotplugMethod(), DeviceHotplugMonitor::Method::None);
            QVERIFY(waitUntil([&] { return !unwatched.isSettling(); }));
            QCOMPARE(unwatched.pollInterval(), SdlGameControllerSource::kIdlePollIntervalMs);
        }
    }

    // Before the shared source: each of these starts SDL afresh, as a
    // program does, so that SDL reads its mappings at the start.
    void mappingsComeFromTheEnvironmentAndTheConfigurationFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(SdlGameControllerSource::mappingFilePath());
        const QString guid = joystickGuid("Mapped Later", 4, 4, 0);
        if (guid.isEmpty())
            QSKIP("SDL virtual joysticks are unavailable");
        QVERIFY(testsupport::controllerService().controllers().empty());

        // Three places, each tried alone: the variable with the mappings
        // themselves, the variable naming a file, and the configuration folder.
        QTemporaryDir dir;
        const QString elsewhere = writeMappingFile(dir.filePath(QStringLiteral("pads.txt")),
            "# comment\n" + sticksMapping(guid, "Mapped Later", "platform:Linux,") + "\n");
        QVERIFY(!elsewhere.isEmpty());
        for (int place = 0; place < 3; ++place) {
            if (place == 0)
                qputenv("SDL_GAMECONTROLLERCONFIG", sticksMapping(guid, "Mapped Later"));
            if (place == 1)
                qputenv("SDL_GAMECONTROLLERCONFIG_FILE", elsewhere.toUtf8());
            if (place == 2)
                QVERIFY(!writeMappingFile(SdlGameControllerSource::mappingFilePath(),
                    sticksMapping(guid, "Mapped Later")
                        + "\n"
                        // another platform's: skipped, or B would move
                        + sticksMapping(guid, "Elsewhere", "platform:Windows,").replace("b:b1", "b:b3"))
                             .isEmpty());
            RecordingDelegate delegate;
            SlotRecorder recorder;
            {
                SdlGameControllerSource source(testsupport::controllerService());
                QVERIFY(source.start());
                QVERIFY2(source.mappingError().isEmpty(), qPrintable(source.mappingError()));
                const auto pad = SdlVirtualPad::joystick("Mapped Later", 4, 4, 0);
                QVERIFY(waitForControllers(1));
                const GCControllerPtr controller = testsupport::controllerService().controllers().front();
                QVERIFY2(controller->identity().mapped, qPrintable(QString::number(place)));
                // Both sticks and no triggers: the extended profile, without trigger elements.
                QCOMPARE(delegate.connected.front()->gamePadType(), qint64(1));
                QVERIFY(!controller->extendedGamepad()->leftTrigger());
                QVERIFY(!controller->extendedGamepad()->buttonHome());
                pad->rawButton(1, true);
                pad->rawAxis(2, 32767);
                // Back to rest: the input manager keeps the last position of every stick.
                pad->rawAxis(2, 0);
                QCOMPARE(recorder.take(3),
                    (QStringList {
                        QStringLiteral("B+"), QStringLiteral("right(1,0)"), QStringLiteral("right(-1,0)") }));
            }
            QVERIFY(testsupport::controllerService().controllers().empty());
            qunsetenv("SDL_GAMECONTROLLERCONFIG");
            qunsetenv("SDL_GAMECONTROLLERCONFIG_FILE");
            QFile::remove(SdlGameControllerSource::mappingFilePath());
        }
    }

    void anUnusableMappingFileIsReportedAndControllersStillWork()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString path = SdlGameControllerSource::mappingFilePath();
        QFile::remove(path);
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        SdlGameControllerSource source(testsupport::controllerService());
        QVERIFY(source.start());
        QVERIFY2(source.mappingError().contains(path), qPrintable(source.mappingError()));
        SdlVirtualPad pad("Still Mapped");
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        QVERIFY(testsupport::controllerService().controllers().front()->identity().mapped);
        QVERIFY(QDir(path).removeRecursively());
    }

    // A pipe carries input_event records exactly as an event device gives
    // them out, cut anywhere: each report comes with the kernel's time.
    void theEventReaderTimesEachReportOfAStreamOfInputEvents()
    {
        int pipe[2];
        QVERIFY(::pipe2(pipe, O_CLOEXEC) == 0);
        InputEventReader reader;
        std::vector<InputEventReader::Report> reports;
        bool failed = false;
        reader.onReport = [&reports](const InputEventReader::Report& r) { reports.push_back(r); };
        reader.onFailure = [&failed] { failed = true; };
        QVERIFY(reader.adopt(pipe[0], QStringLiteral("pipe")));
        reader.setEnabled(true);

        const ReportTimes known = reportTimes(1000, 60.0);
        QByteArray stream;
        for (size_t i = 0; i < known.times.size(); ++i)
            stream += axisReport(known.times[i], int(i));
        // In pieces of odd sizes, so that records are cut in two.
        for (qsizetype at = 0, piece = 7; at < stream.size(); at += piece, piece = piece * 3 % 997 + 1) {
            QVERIFY(writeAll(pipe[1], stream.mid(at, piece)));
            if (at % 5 == 0)
                drainPostedEvents(1);
        }
        QVERIFY(waitUntil([&] { return reports.size() == known.times.size(); }));
        ReportRateMeasurement rate;
        for (size_t i = 0; i < reports.size(); ++i) {
            QCOMPARE(reports[i].microseconds, known.times[i]);
            QVERIFY(reports[i].axes && !reports[i].keys);
            QCOMPARE(reports[i].afterGap, i == 0);
            rate.add(reports[i].microseconds, GCControllerInputClock::Device);
        }
        QVERIFY2(std::abs(*rate.rateHz() - 1000.0) <= 5.0, qPrintable(QString::number(*rate.rateHz())));
        QVERIFY2(std::abs(*rate.jitterMs() - known.jitterMs) <= 0.001,
            qPrintable(QStringLiteral("%1 against %2").arg(*rate.jitterMs()).arg(known.jitterMs)));

        // The kernel's queue overflowed: the report under way and the next are
        // incomplete and dropped; the one after follows a gap. An empty
        // report tells nothing; a key's report moves no axis.
        reports.clear();
        QByteArray overflow = kernelRecord(9000000, EV_ABS, ABS_Y, 5) + kernelRecord(9000000, EV_SYN, SYN_DROPPED, 0)
            + kernelRecord(9001000, EV_ABS, ABS_Y, 6) + kernelRecord(9001000, EV_SYN, SYN_REPORT, 0)
            + axisReport(9002000, 7) + kernelRecord(9003000, EV_SYN, SYN_REPORT, 0)
            + kernelRecord(9004000, EV_KEY, BTN_SOUTH, 1) + kernelRecord(9004000, EV_SYN, SYN_REPORT, 0);
        QVERIFY(writeAll(pipe[1], overflow));
        QVERIFY(waitUntil([&] { return reports.size() == 2; }));
        QCOMPARE(reports[0].microseconds, qint64(9002000));
        QVERIFY(reports[0].afterGap && reports[0].axes);
        QVERIFY(!reports[1].axes && reports[1].keys && !reports[1].afterGap);

        // Off, nothing is read; on again, what queued meanwhile is passed over.
        reader.setEnabled(false);
        QVERIFY(writeAll(pipe[1], axisReport(9005000, 8)));
        QVERIFY(waitForMainQueueDelay(0.05));
        QCOMPARE(reports.size(), size_t(2));
        reader.setEnabled(true);
        QVERIFY(writeAll(pipe[1], axisReport(9006000, 9)));
        QVERIFY(waitUntil([&] { return reports.size() == 3; }));
        QCOMPARE(reports[2].microseconds, qint64(9006000));
        QVERIFY(reports[2].afterGap);

        // The stream ends: said once, and the descriptor is let go.
        ::close(pipe[1]);
        QVERIFY(waitUntil([&] { return failed; }));
        QCOMPARE(reader.failure(), InputEventReader::Failure::Closed);
        QVERIFY(!reader.isOpen());

        // Nodes that cannot be opened say why.
        QTemporaryDir dir;
        InputEventReader missing;
        QVERIFY(!missing.open(dir.filePath(QStringLiteral("event3"))));
        QCOMPARE(missing.failure(), InputEventReader::Failure::Missing);
        const QString locked = dir.filePath(QStringLiteral("event4"));
        QFile file(locked);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        // Whoever may read anything is let read no more for the moment.
        const bool superuser = ::geteuid() == 0;
        if (superuser && ::seteuid(65534) != 0)
            QSKIP("cannot give up the right to read anything");
        InputEventReader refused;
        const bool opened = refused.open(locked);
        if (superuser)
            QVERIFY(::seteuid(0) == 0);
        QVERIFY(!opened);
        QCOMPARE(refused.failure(), InputEventReader::Failure::NoPermission);
        QVERIFY(!refused.errorString().isEmpty());
    }

    void theControllersOwnEventDeviceIsFound()
    {
        QTemporaryDir dir;
        const QDir classes(dir.filePath(QStringLiteral("class")));
        const QString devices = dir.filePath(QStringLiteral("dev"));
        addClassEntry(classes, QStringLiteral("event3"), 0x54c, 0x9cc, "Wireless Controller");
        // The same pad's motion sensors have a node of their own.
        addClassEntry(classes, QStringLiteral("event4"), 0x54c, 0x9cc, "Wireless Controller Motion Sensors", "40");
        addClassEntry(classes, QStringLiteral("event5"), 0x45e, 0x28e, "Xbox 360 Pad");
        using Reason = GCControllerClockReason;
        // Where SDL reads an event device, that one.
        const QString sdlNode = QDir(devices).filePath(QStringLiteral("event9"));
        QCOMPARE(EventDeviceFinder::find(sdlNode, 0x54c, 0x9cc, QString(), devices, classes.path()).node, sdlNode);
        // Elsewhere (hidraw), the one with its ids; not the motion sensors'.
        const EventDeviceFinder::Result hid = EventDeviceFinder::find(
            QStringLiteral("/dev/hidraw2"), 0x54c, 0x9cc, QStringLiteral("PS4 Controller"), devices, classes.path());
        QCOMPARE(hid.node, QDir(devices).filePath(QStringLiteral("event3")));
        QCOMPARE(hid.reason, Reason::None);
        QCOMPARE(EventDeviceFinder::find(QString(), 0x54c, 0x1234, QString(), devices, classes.path()).reason,
            Reason::NoEventDevice);
        QCOMPARE(EventDeviceFinder::find(QString(), -1, -1, QString(), devices, classes.path()).reason,
            Reason::NoEventDevice);
        // Two such pads: only a name that tells them apart picks one.
        addClassEntry(classes, QStringLiteral("event6"), 0x45e, 0x28e, "Xbox 360 Wireless Receiver");
        QCOMPARE(EventDeviceFinder::find(QString(), 0x45e, 0x28e, QString(), devices, classes.path()).reason,
            Reason::SeveralEventDevices);
        QCOMPARE(
            EventDeviceFinder::find(QString(), 0x45e, 0x28e, QStringLiteral("Xbox 360 Pad"), devices, classes.path())
                .node,
            QDir(devices).filePath(QStringLiteral("event5")));
    }

    // Before the shared source: this one looks for event devices in the test's folders.
    void theKernelTimesTheReportsOfAControllerWhoseEventDeviceCanBeRead()
    {
        QTemporaryDir dir;
        const QDir classes(dir.filePath(QStringLiteral("class")));
        const QDir devices(dir.filePath(QStringLiteral("dev")));
        QVERIFY(QDir().mkpath(devices.path()));
        addClassEntry(classes, QStringLiteral("event7"), 0x1234, 0x5678, "Kernel Pad");
        addClassEntry(classes, QStringLiteral("event8"), 0x1234, 0x7777, "Vanished Pad");
        const QString node = devices.filePath(QStringLiteral("event7"));
        QVERIFY(::mkfifo(node.toLocal8Bit().constData(), 0600) == 0);
        // The test's end of the node, open for as long as the device is there.
        const int kernel = ::open(node.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(kernel >= 0);

        SdlGameControllerSource source(testsupport::controllerService());
        source.setDeviceFolders(devices.path(), dir.filePath(QStringLiteral("no-udev")));
        source.setClassFolder(classes.path());
        QVERIFY(source.start());
        SdlVirtualPad pad("Kernel Pad", kAllButtons, kAllAxes, { false, false, false }, 0x1234, 0x5678);
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const GCControllerPtr controller = testsupport::controllerService().controllers().front();
        QCOMPARE(controller->reportClock().clock, GCControllerInputClock::Device);
        QCOMPARE(controller->reportClock().node, node);
        QCOMPARE(controller->reportClock().localizedText(), QStringLiteral("Report times: the kernel's, from ") + node);

        // Measured, the left stick rotating: a 1000 Hz stream from the kernel times it.
        controller->setMeasuring(true);
        RotatingCheck rig(controller);
        QCOMPARE(rig.check->step(), ControllerCheck::Step::RotateLeft);
        const ReportTimes known = reportTimes(1000, 80.0);
        QByteArray stream;
        for (size_t i = 0; i < known.times.size(); ++i)
            stream += axisReport(known.times[i], int(i % 200) - 100);
        QVERIFY(writeAll(kernel, stream));
        // SDL's own events of the stick, on our poll's clock, do not count beside them.
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
        QVERIFY(waitUntil([&] { return rig.check->rate(true).intervals() == 999; }));
        QVERIFY(waitUntil([&] { return controller->extendedGamepad()->leftThumbstick()->xAxis() > 0.5f; }));
        QCOMPARE(rig.check->rate(true).intervals(), 999);
        const ControllerCheckReport report = rig.check->report();
        QVERIFY2(std::abs(*report.left.rateHz - 1000.0) <= 5.0, qPrintable(QString::number(*report.left.rateHz)));
        QVERIFY2(std::abs(*report.left.jitterMs - known.jitterMs) <= 0.001,
            qPrintable(QStringLiteral("%1 against %2").arg(*report.left.jitterMs).arg(known.jitterMs)));
        const QJsonObject json = report.toJson();
        QCOMPARE(json[QLatin1String("sticks")][QLatin1String("left")][QLatin1String("clock")].toString(),
            QStringLiteral("device"));
        QCOMPARE(json[QLatin1String("controller")][QLatin1String("clock")].toString(), QStringLiteral("device"));
        QCOMPARE(json[QLatin1String("controller")][QLatin1String("event_node")].toString(), node);
        QVERIFY(!json[QLatin1String("controller")].toObject().contains(QLatin1String("clock_reason")));

        // Controllers whose event device cannot be had keep our poll's clock, and say why.
        SdlVirtualPad unknown("Unlisted Pad", kAllButtons, kAllAxes, { false, false, false }, 0x1234, 0x9999);
        SdlVirtualPad vanished("Vanished Pad", kAllButtons, kAllAxes, { false, false, false }, 0x1234, 0x7777);
        QVERIFY(waitForControllers(3));
        for (const GCControllerPtr& c : testsupport::controllerService().controllers()) {
            if (c == controller)
                continue;
            const GCControllerReportClock clock = c->reportClock();
            QCOMPARE(clock.clock, GCControllerInputClock::Poll);
            const bool listed = c->vendorName() == QLatin1String("Vanished Pad");
            QCOMPARE(
                clock.reason, listed ? GCControllerClockReason::NodeMissing : GCControllerClockReason::NoEventDevice);
            QCOMPARE(clock.localizedText(),
                listed ? QStringLiteral("Report times: our poll's, at most 125 per second: %1 does not exist")
                             .arg(devices.filePath(QStringLiteral("event8")))
                       : QStringLiteral("Report times: our poll's, at most 125 per second: no event device of the "
                                        "kernel was found for this controller"));
            // The check says so too, and the sticks' rate is the poll's.
            RotatingCheck polled(c);
            (c->vendorName() == QLatin1String("Vanished Pad") ? vanished : unknown)
                .axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
            QVERIFY(waitUntil([&] { return polled.check->range(true).coverage() > 0; }));
            const QJsonObject polledJson = polled.check->report().toJson();
            QCOMPARE(
                polledJson[QLatin1String("controller")][QLatin1String("clock")].toString(), QStringLiteral("poll"));
            QCOMPARE(polledJson[QLatin1String("controller")][QLatin1String("clock_reason")].toString(),
                listed ? QStringLiteral("node-missing") : QStringLiteral("no-event-device"));
            QVERIFY(polled.check->report()
                        .textLines()
                        .join(QLatin1Char('\n'))
                        .contains(QLatin1String("Report times: our poll's")));
        }

        // Every stick back at rest: the input manager keeps the last position for the tests that follow.
        for (SdlVirtualPad* p : { &pad, &unknown, &vanished })
            p->axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        QVERIFY(waitUntil([] {
            for (const GCControllerPtr& c : testsupport::controllerService().controllers())
                if (c->extendedGamepad()->leftThumbstick()->xAxis() != 0.0f)
                    return false;
            return true;
        }));

        // The node stops delivering: from then on the poll times the reports.
        ::close(kernel);
        QVERIFY(waitUntil([&] { return controller->reportClock().clock == GCControllerInputClock::Poll; }));
        QCOMPARE(controller->reportClock().reason, GCControllerClockReason::Closed);
        QVERIFY(
            controller->reportClock().localizedText().contains(node + QStringLiteral(" stopped delivering events")));
    }

    void controllersArriveAndLeaveWhileTheProgramRuns()
    {
        GameControllerService& service = GameControllerService::sharedService();
        if (!service.startHardwareControllers())
            QSKIP(qPrintable(service.hardwareError()));
        QVERIFY(service.isFollowingHardware());
        QVERIFY(service.hardwareError().isEmpty());
        RecordingDelegate delegate;
        SlotRecorder recorder;

        auto pad = std::make_unique<SdlVirtualPad>("Test Pad");
        if (!pad->isPlugged())
            QSKIP(qPrintable(QStringLiteral("SDL virtual joysticks are unavailable: ") + pad->error));
        QVERIFY(waitForControllers(1));
        QCOMPARE(delegate.connected.size(), size_t(1));
        const GCControllerPtr controller = testsupport::controllerService().controllers().front();
        QCOMPARE(controller->vendorName(), QStringLiteral("Test Pad"));
        QCOMPARE(controller->playerIndex(), 0);
        QCOMPARE(delegate.connected.front()->gamePadType(), qint64(1));
        QCOMPARE(delegate.connected.front()->controller(), controller);
        const auto extended = controller->extendedGamepad();
        QVERIFY(extended->buttonHome() && extended->buttonMenu() && extended->buttonOptions());
        QVERIFY(extended->leftThumbstickButton() && extended->rightThumbstickButton());

        // Every button, with start as menu, back as options and guide as home.
        const std::pair<SDL_GameControllerButton, const char*> buttons[] = { { SDL_CONTROLLER_BUTTON_A, "A" },
            { SDL_CONTROLLER_BUTTON_B, "B" }, { SDL_CONTROLLER_BUTTON_X, "X" }, { SDL_CONTROLLER_BUTTON_Y, "Y" },
            { SDL_CONTROLLER_BUTTON_LEFTSHOULDER, "L1" }, { SDL_CONTROLLER_BUTTON_LEFTSTICK, "L3" },
            { SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, "R1" }, { SDL_CONTROLLER_BUTTON_RIGHTSTICK, "R3" },
            { SDL_CONTROLLER_BUTTON_START, "Menu" }, { SDL_CONTROLLER_BUTTON_BACK, "Options" },
            { SDL_CONTROLLER_BUTTON_GUIDE, "Home" } }; // last: SDL holds a guide release back a little
        int paused = 0;
        delegate.connected.front()->setPauseButtonBlock([&](const GCControllerPtr& c) { paused += c == controller; });
        QStringList expected;
        for (const auto& [button, name] : buttons) {
            pad->button(button, true);
            pad->button(button, false);
            expected << QString::fromLatin1(name) + QLatin1Char('+') << QString::fromLatin1(name) + QLatin1Char('-');
        }
        QCOMPARE(recorder.take(int(expected.size())), expected);
        QCOMPARE(paused, 1);

        // Triggers are analogue: pressed from half way, released below the
        // release threshold, one report each way however many steps between.
        for (double level : { 0.45, 0.6, 1.0, 0.42, 0.0 })
            pad->trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, level);
        QCOMPARE(recorder.take(2), (QStringList { QStringLiteral("R2+"), QStringLiteral("R2-") }));

        // Sticks in -1..1 with y growing upward; SDL's y grows downward.
        pad->axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
        pad->axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
        pad->axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
        pad->axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        QCOMPARE(recorder.take(4),
            (QStringList { QStringLiteral("left(1,0)"), QStringLiteral("left(0,1)"), QStringLiteral("right(0,-1)"),
                QStringLiteral("left(-1,0)") }));
        QCOMPARE(extended->leftThumbstick()->up()->isPressed(), true);

        pad->button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
        pad->button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
        QCOMPARE(recorder.take(8),
            (QStringList { QStringLiteral("Up-"), QStringLiteral("Down-"), QStringLiteral("Left+"),
                QStringLiteral("Right-"), QStringLiteral("Up-"), QStringLiteral("Down+"), QStringLiteral("Left+"),
                QStringLiteral("Right-") }));

        // The number we give a controller shows on the device.
        controller->setPlayerIndex(3);
        QCOMPARE(pad->playerIndex(), 3);

        // Unplugged: held sticks and buttons come back to rest first, then the
        // controller is gone and only the manager is passed to the delegate.
        pad->unplug();
        QVERIFY(waitForControllers(0));
        QCOMPARE(delegate.disconnected, 1);
        QVERIFY(waitUntil([&] { return recorder.events.contains(QStringLiteral("left(0,-1)")); }));
        recorder.events.clear();
        QVERIFY(!controller->controllerPausedHandler());

        // Plugged in again, and a second one besides: no restart needed.
        pad = std::make_unique<SdlVirtualPad>("Test Pad");
        SdlVirtualPad second("Second Pad");
        QVERIFY(waitForControllers(2));
        QCOMPARE(delegate.connected.size(), size_t(3));
        const GCControllerPtr again = delegate.connected.at(1)->controller();
        QVERIFY(again != controller); // a new attachment is a new controller
        QCOMPARE(again->playerIndex(), 0);
        QCOMPARE(delegate.connected.at(2)->controller()->playerIndex(), 1);
        pad->button(SDL_CONTROLLER_BUTTON_X, true);
        second.button(SDL_CONTROLLER_BUTTON_Y, true);
        QCOMPARE(recorder.take(2), (QStringList { QStringLiteral("X+"), QStringLiteral("Y+") }));
    }

    void theStickCheckMeasuresShapesTracedOnAPad()
    {
        GameControllerService& service = GameControllerService::sharedService();
        if (!service.startHardwareControllers())
            QSKIP(qPrintable(service.hardwareError()));
        SdlVirtualPad pad("Check Pad");
        if (!pad.isPlugged())
            QSKIP(qPrintable(QStringLiteral("SDL virtual joysticks are unavailable: ") + pad.error));
        QVERIFY(waitForControllers(1));
        const GCControllerPtr controller = testsupport::controllerService().controllers().front();

        const auto circle = measuredOnPad(pad, controller, trace(circleOutline, 1.25, 0.25));
        QVERIFY(circle && circle->circularity);
        QVERIFY2(*circle->circularity <= 0.5, qPrintable(QString::number(*circle->circularity)));
        QVERIFY(circle->shortDirections.isEmpty());
        // SDL stamps its events as it reads the device, in our poll.
        QCOMPARE(circle->clock, QStringLiteral("poll"));
        QCOMPARE(controller->inputClock(), GCControllerInputClock::Poll);

        const auto square = measuredOnPad(pad, controller, trace(squareOutline, 1.25, 0.25));
        QVERIFY(square && square->circularity);
        QVERIFY2(std::abs(*square->circularity - squareGateError(64)) <= 0.5,
            qPrintable(QStringLiteral("%1 against %2").arg(*square->circularity).arg(squareGateError(64))));
        QVERIFY(square->shortDirections.isEmpty());

        const auto squashed = measuredOnPad(pad, controller, trace(squashedOutline(1, 0.8), 1.25, 0.25, 0.125));
        QVERIFY(squashed && squashed->quadrants[1]);
        QVERIFY2(std::abs(*squashed->quadrants[1] - 20.0) <= 0.5, qPrintable(QString::number(*squashed->quadrants[1])));
        QVERIFY(squashed->shortDirections.contains(QStringLiteral("up-left")));
        QVERIFY(!squashed->shortDirections.contains(QStringLiteral("down-right")));

        // At rest off centre by (0.06, -0.03), wandering 0.01 about it.
        qint64 now = 0;
        ControllerCheck check(controller, {}, [&now] { return now; });
        check.start();
        std::vector<QPointF> wander;
        for (int i = 0; i < 200; ++i) {
            const double a = 2 * std::numbers::pi * i / 200;
            wander.emplace_back(0.06 + 0.01 * std::cos(a), -0.03 + 0.01 * std::sin(a));
        }
        for (const QPointF& p : wander) {
            pad.axis(SDL_CONTROLLER_AXIS_LEFTX, sdlAxis(p.x()));
            pad.axis(SDL_CONTROLLER_AXIS_LEFTY, sdlAxis(-p.y()));
        }
        const GCControllerDirectionPad* left = controller->extendedGamepad()->leftThumbstick();
        QVERIFY(waitUntil([&] {
            return std::abs(left->xAxis() - wander.back().x()) < 1e-4
                && std::abs(left->yAxis() - wander.back().y()) < 1e-4;
        }));
        now += qint64(ControllerCheck::kRestSeconds * 1e6);
        check.advance();
        QCOMPARE(check.step(), ControllerCheck::Step::RotateLeft);
        const ControllerCheckReport::Stick rest = check.report().left;
        QVERIFY2(std::abs(rest.drift - std::hypot(0.06, 0.03)) < 0.002, qPrintable(QString::number(rest.drift)));
        QVERIFY2(std::abs(rest.noise - 0.01) < 0.002, qPrintable(QString::number(rest.noise)));
        QVERIFY(rest.deadZone >= rest.drift + rest.noise);
        QCOMPARE(ControllerCheckReport::driftVerdict(rest.drift), QStringLiteral("worn"));

        // A contact that bounces: SDL times its events in whole milliseconds as
        // it queues them, so changes queued back to back are less than 5 ms apart.
        for (bool down : { true, false, true, false })
            pad.button(SDL_CONTROLLER_BUTTON_A, down);
        auto buttonA = [&check] {
            for (const ControllerCheckReport::Button& b : check.report().buttons)
                if (b.name == QLatin1String("A"))
                    return b;
            return ControllerCheckReport::Button {};
        };
        QVERIFY(waitUntil(
            [&] { return buttonA().presses == 2 && !controller->extendedGamepad()->buttonA()->isPressed(); }));
        QVERIFY(buttonA().chatter >= 1);

        // A trigger that stops at 0.7.
        for (int i = 0; i <= 70; ++i)
            pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, i / 100.0);
        QVERIFY(waitUntil([&] { return check.trigger(true) && check.trigger(true)->highest() >= 0.69f; }));
        QVERIFY(std::abs(check.report().leftTrigger.max - 0.7) < 0.001);
        QCOMPARE(ControllerCheckReport::triggerVerdict(check.report().leftTrigger), QStringLiteral("short"));
        pad.unplug();
        QVERIFY(waitUntil([&] { return !check.isRunning(); }));
    }

    void aPadWithoutSticksOrTriggersGetsTheBasicProfile()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        RecordingDelegate delegate;
        SlotRecorder recorder;
        const Uint32 buttons = kAllButtons & ~(1u << SDL_CONTROLLER_BUTTON_GUIDE);
        const Uint32 axes = (1u << SDL_CONTROLLER_AXIS_LEFTX) | (1u << SDL_CONTROLLER_AXIS_LEFTY);
        SdlVirtualPad pad("Small Pad", buttons, axes);
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const auto wrapper = delegate.connected.at(0);
        QCOMPARE(wrapper->gamePadType(), qint64(0));
        QVERIFY(wrapper->gamepad());
        int paused = 0;
        wrapper->setPauseButtonBlock([&](const GCControllerPtr&) { ++paused; });

        // Back, the stick clicks and the stick are not part of the basic profile.
        pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
        pad.button(SDL_CONTROLLER_BUTTON_LEFTSTICK, true);
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
        pad.button(SDL_CONTROLLER_BUTTON_START, true); // pause only
        pad.button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
        pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
        QCOMPARE(recorder.take(5),
            (QStringList { QStringLiteral("L1+"), QStringLiteral("Up-"), QStringLiteral("Down-"),
                QStringLiteral("Left-"), QStringLiteral("Right+") }));
        QCOMPARE(paused, 1);
    }

    void anExtendedPadWithoutAHomeButton()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SlotRecorder recorder;
        SdlVirtualPad pad("No Home", kAllButtons & ~(1u << SDL_CONTROLLER_BUTTON_GUIDE));
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const auto extended = testsupport::controllerService().controllers().front()->extendedGamepad();
        QVERIFY(extended);
        QVERIFY(!extended->buttonHome());
        QVERIFY(extended->buttonMenu());
        pad.button(SDL_CONTROLLER_BUTTON_START, true);
        QCOMPARE(recorder.take(1), QStringList { QStringLiteral("Menu+") });
    }

    void deviceNamesStayOnOneLine()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlVirtualPad pad(" Odd\tPad\nkey A pressed\x1b[2J ");
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        QCOMPARE(testsupport::controllerService().controllers().front()->vendorName(),
            QStringLiteral("Odd Pad key A pressed [2J"));
    }

    void onlyOneSourceFollowsSdl()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlGameControllerSource second(testsupport::controllerService());
        QVERIFY(!second.start());
        QVERIFY2(second.errorString().contains(QLatin1String("already reading")), qPrintable(second.errorString()));
        // The first one is undisturbed.
        SlotRecorder recorder;
        SdlVirtualPad pad("Still Here");
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        pad.button(SDL_CONTROLLER_BUTTON_B, true);
        QCOMPARE(recorder.take(1), QStringList { QStringLiteral("B+") });
    }
    void aJoystickWithoutMappingShowsRawInputsAndFeedsNoKey()
    {
        GameControllerService& service = GameControllerService::sharedService();
        QVERIFY(service.startHardwareControllers());
        SdlGameControllerSource* source = service.hardwareSource();
        // Nothing open: no fast poll.
        QVERIFY(waitUntil([source] { return source->pollInterval() != SdlGameControllerSource::kPollIntervalMs; }));
        RecordingDelegate delegate;
        SlotRecorder recorder;
        ValueChanges changes;
        auto pad = SdlVirtualPad::joystick("Flight Stick", 3, 2, 1);
        if (!pad->isPlugged())
            QSKIP(qPrintable(pad->error));
        QVERIFY(waitForControllers(1));
        QCOMPARE(source->pollInterval(), SdlGameControllerSource::kPollIntervalMs);
        const GCControllerPtr controller = testsupport::controllerService().controllers().front();
        QCOMPARE(controller->vendorName(), QStringLiteral("Flight Stick"));
        QVERIFY(!controller->identity().mapped);
        QCOMPARE(controller->identity().guid, pad->guid());
        QCOMPARE(controller->profile(), GCControllerProfile::None);
        QCOMPARE(delegate.connected.size(), size_t(1)); // told, like any controller
        QCOMPARE(delegate.connected.front()->gamePadType(), qint64(2));
        QCOMPARE(controller->playerIndex(), 0);
        QVERIFY(!controller->hasRumble() && !controller->hasTriggerRumble() && !controller->hasLight());

        pad->rawButton(2, true);
        pad->rawAxis(1, -20000);
        pad->rawHat(0, SDL_HAT_UP | SDL_HAT_RIGHT);
        QVERIFY(waitUntil([&] { return changes.count >= 3; }));
        QCOMPARE(rawValues(controller),
            (QStringList { QStringLiteral("b0=0"), QStringLiteral("b1=0"), QStringLiteral("b2=1"),
                QStringLiteral("a0=0"), QStringLiteral("a1=-20000"), QStringLiteral("h0=3") }));
        QVERIFY2(recorder.events.isEmpty(), qPrintable(recorder.events.join(QLatin1Char(' '))));

        // A mapping given at run time makes a game controller of it, under the same number.
        const int added = source->addMappings(QStringLiteral("%1,Flight Stick,a:b0,b:b1,leftx:a0,lefty:a1,dpup:h0.1,")
                                                  .arg(mappingGuid(pad->guid()))
                                                  .toUtf8());
        QCOMPARE(added, 1);
        QVERIFY(waitUntil([] {
            const auto list = testsupport::controllerService().controllers();
            return list.size() == 1 && list.front()->identity().mapped;
        }));
        QCOMPARE(delegate.disconnected, 1);
        const GCControllerPtr mapped = testsupport::controllerService().controllers().front();
        QCOMPARE(mapped->playerIndex(), 0);
        QCOMPARE(mapped->profile(), GCControllerProfile::Basic); // two axes: one stick only
        pad->rawButton(0, true);
        pad->rawHat(0, SDL_HAT_CENTERED);
        pad->rawHat(0, SDL_HAT_UP);
        QCOMPARE(recorder.take(5),
            (QStringList { QStringLiteral("A+"), QStringLiteral("Up+"), QStringLiteral("Down-"),
                QStringLiteral("Left-"), QStringLiteral("Right-") }));

        pad.reset();
        QVERIFY(waitForControllers(0));
        QVERIFY(waitUntil([source] { return source->pollInterval() != SdlGameControllerSource::kPollIntervalMs; }));

        // Mappings SDL cannot parse are not taken.
        QCOMPARE(source->addMappings("not a mapping\n"), 0);
    }

    void aRemappedControllerIsRewired()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlGameControllerSource* source = GameControllerService::sharedService().hardwareSource();
        RecordingDelegate delegate;
        SlotRecorder recorder;
        const auto pad = SdlVirtualPad::joystick("Remapped Pad", 4, 4, 0);
        if (!pad->isPlugged())
            QSKIP(qPrintable(pad->error));
        QVERIFY(waitForControllers(1));
        QCOMPARE(source->addMappings(sticksMapping(pad->guid(), "Remapped Pad")), 1);
        QVERIFY(waitUntil([&] { return delegate.connected.size() == 2; })); // unmapped, then mapped
        QCOMPARE(delegate.connected.back()->gamePadType(), qint64(1));
        const GCControllerPtr before = testsupport::controllerService().controllers().front();
        before->setPlayerIndex(2);
        // A second mapping for the same device replaces the first: no sticks, and A is now button 1.
        QCOMPARE(
            source->addMappings(QStringLiteral("%1,Remapped Pad,a:b1,b:b0,").arg(mappingGuid(pad->guid())).toUtf8()),
            1);
        QVERIFY(waitUntil([&] { return delegate.connected.size() == 3; }));
        const GCControllerPtr after = testsupport::controllerService().controllers().front();
        QVERIFY(after != before);
        QCOMPARE(testsupport::controllerService().controllers().size(), size_t(1));
        QCOMPARE(after->playerIndex(), 2);
        QCOMPARE(delegate.connected.back()->gamePadType(), qint64(0));
        pad->rawButton(1, true);
        QCOMPARE(recorder.take(1), QStringList { QStringLiteral("A+") });
    }

    void motorsAndLightOnlyWhereTheDeviceHasThem()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlVirtualPad plain("Plain Pad");
        SdlVirtualPad rumbling("Rumble Pad", kAllButtons, kAllAxes, { true, true, true });
        if (!plain.isPlugged() || !rumbling.isPlugged())
            QSKIP(qPrintable(plain.error + rumbling.error));
        QVERIFY(waitForControllers(2));
        GCControllerPtr withMotors, without;
        for (const GCControllerPtr& c : testsupport::controllerService().controllers())
            (c->vendorName() == QLatin1String("Rumble Pad") ? withMotors : without) = c;
        QVERIFY(withMotors && without);
        QVERIFY(!without->hasRumble() && !without->hasTriggerRumble() && !without->hasLight());
        QVERIFY(!without->rumble(1, 1, 500));
        QVERIFY(withMotors->hasRumble() && withMotors->hasTriggerRumble() && withMotors->hasLight());
        QVERIFY(withMotors->rumble(1.0f, 0.5f, 500));
        QVERIFY(withMotors->rumbleTriggers(1.0f, 1.0f, 500));
        QVERIFY(withMotors->setLightColor(255, 80, 300));
        QCOMPARE(rumbling.requests.rumbles, 1);
        QCOMPARE(rumbling.requests.low, Uint16(65535));
        QCOMPARE(rumbling.requests.high, Uint16(32768));
        QCOMPARE(rumbling.requests.triggerRumbles, 1);
        QCOMPARE(rumbling.requests.lights, 1);
        QCOMPARE(rumbling.requests.blue, Uint8(255));
        const GCControllerIdentity identity = withMotors->identity();
        QCOMPARE(identity.type, QStringLiteral("virtual"));
        QCOMPARE(identity.guid.size(), 32);
        QVERIFY(identity.mapped);
        QVERIFY(identity.vendorProductText().isEmpty()); // the driver's devices have no ids
        GCControllerIdentity known;
        known.vendorId = 0x45e;
        known.productId = 0x2e0;
        QCOMPARE(known.vendorProductText(), QStringLiteral("045e:02e0"));
        // The buttons beyond the seventeen keys are there with their values.
        const QStringList raw = rawValues(withMotors);
        QVERIFY2(raw.contains(QStringLiteral("Paddle 1=0")) && raw.contains(QStringLiteral("Misc=0"))
                && raw.contains(QStringLiteral("LX=0")),
            qPrintable(raw.join(QLatin1Char(' '))));
        rumbling.button(SDL_CONTROLLER_BUTTON_PADDLE2, true);
        QVERIFY(waitUntil([&] { return rawValues(withMotors).contains(QStringLiteral("Paddle 2=1")); }));

        // Gone: the controller object may be held on to, but asks nothing of a device that left.
        rumbling.unplug();
        QVERIFY(waitForControllers(1));
        QVERIFY(!withMotors->hasRumble() && !withMotors->rumble(1, 1, 100));
    }

    void eachMotorRunsOnItsOwn()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlVirtualPad pad("Four Motor Pad", kAllButtons, kAllAxes, { true, true, false });
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const GCControllerPtr controller = testsupport::controllerService().controllers().front();
        QVERIFY(controller->rumble(0.5f, 0.0f, 200));
        QCOMPARE(pad.requests.low, Uint16(32768));
        QCOMPARE(pad.requests.high, Uint16(0));
        QVERIFY(controller->rumble(0.0f, 0.25f, 200));
        QCOMPARE(pad.requests.low, Uint16(0));
        QCOMPARE(pad.requests.high, Uint16(16384));
        QVERIFY(controller->rumbleTriggers(0.0f, 1.0f, 200));
        QCOMPARE(pad.requests.leftTrigger, Uint16(0));
        QCOMPARE(pad.requests.rightTrigger, Uint16(65535));
        QVERIFY(controller->rumbleTriggers(0.75f, 0.0f, 200));
        QCOMPARE(pad.requests.leftTrigger, Uint16(49151));
        QCOMPARE(pad.requests.rightTrigger, Uint16(0));
    }

    // SDL 2's virtual devices have no sensors or touchpads of their own: its
    // events for them are queued as SDL queues a device's, and read as they are.
    void motionSensorsAndTouchpadsComeFromSdlsEvents()
    {
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlVirtualPad pad("Sensing Pad");
        if (!pad.isPlugged())
            QSKIP(qPrintable(pad.error));
        QVERIFY(waitForControllers(1));
        const GCControllerPtr controller = testsupport::controllerService().controllers().front();
        QVERIFY(!controller->motion().hasGyroscope && controller->touchpads().empty());
        controller->setMeasuring(true);
        int motion = 0;
        NotificationCenter::defaultCenter().addObserver(
            this, GCControllerMotionDidChangeNotification, [&motion](const Notification&) { ++motion; });
        SDL_Event event;
        SDL_zero(event);
        event.type = SDL_CONTROLLERSENSORUPDATE;
        event.csensor.which = pad.id();
        event.csensor.sensor = SDL_SENSOR_GYRO;
        event.csensor.data[0] = float(std::numbers::pi); // radians per second
        event.csensor.data[2] = -float(std::numbers::pi / 2);
        event.csensor.timestamp_us = 123456789;
        QCOMPARE(SDL_PushEvent(&event), 1);
        QVERIFY(waitUntil([&] { return motion == 1; }));
        QCOMPARE(controller->sensorTime(), qint64(123456789));
        event.csensor.sensor = SDL_SENSOR_ACCEL;
        event.csensor.data[0] = 0.0f;
        event.csensor.data[2] = 9.81f;
        event.csensor.timestamp_us = 0; // no time of the device's: SDL's, in milliseconds
        QCOMPARE(SDL_PushEvent(&event), 1);
        QVERIFY(waitUntil([&] { return motion == 2; }));
        QVERIFY(controller->sensorTime() > 0 && controller->sensorTime() % 1000 == 0);
        NotificationCenter::defaultCenter().removeObserver(this);
        const GCControllerMotion& m = controller->motion();
        QVERIFY(m.hasGyroscope && m.hasAccelerometer);
        QVERIFY(std::abs(m.rotation[0] - 180.0f) < 1e-3f && std::abs(m.rotation[2] + 90.0f) < 1e-3f);
        QCOMPARE(m.acceleration[2], 9.81f);

        SDL_zero(event);
        event.type = SDL_CONTROLLERTOUCHPADDOWN;
        event.ctouchpad.which = pad.id();
        event.ctouchpad.finger = 1;
        event.ctouchpad.x = 0.25f;
        event.ctouchpad.y = 0.75f;
        event.ctouchpad.pressure = 0.5f;
        QCOMPARE(SDL_PushEvent(&event), 1);
        event.type = SDL_CONTROLLERTOUCHPADMOTION;
        event.ctouchpad.x = 0.5f;
        QCOMPARE(SDL_PushEvent(&event), 1);
        QVERIFY(waitUntil([&] {
            return !controller->touchpads().empty() && controller->touchpads()[0].fingers.size() == 2
                && controller->touchpads()[0].fingers[1].x == 0.5f;
        }));
        const GCControllerTouch finger = controller->touchpads()[0].fingers[1];
        QVERIFY(finger.down && finger.y == 0.75f && finger.pressure == 0.5f);
        QVERIFY(controller->touchpads()[0].reportsPressure);
        event.type = SDL_CONTROLLERTOUCHPADUP;
        QCOMPARE(SDL_PushEvent(&event), 1);
        // A finger beyond any touchpad a controller may have is not taken.
        event.ctouchpad.touchpad = 100;
        QCOMPARE(SDL_PushEvent(&event), 1);
        QVERIFY(waitUntil([&] { return !controller->touchpads()[0].fingers[1].down; }));
        QCOMPARE(controller->touchpads().size(), size_t(1));
        // The touchpad's button is the first touchpad's (the virtual driver's
        // devices have none: it comes as SDL delivers a real one's).
        SDL_zero(event);
        event.type = SDL_CONTROLLERBUTTONDOWN;
        event.cbutton.which = pad.id();
        event.cbutton.button = SDL_CONTROLLER_BUTTON_TOUCHPAD;
        event.cbutton.state = SDL_PRESSED;
        QCOMPARE(SDL_PushEvent(&event), 1);
        QVERIFY(waitUntil([&] { return controller->touchpads()[0].pressed; }));
        controller->setMeasuring(false);
    }

    // A mapping made for a joystick is kept in the mapping file, after every
    // line there, and makes a game controller of it at once.
    void aMappingMadeForAJoystickIsKeptAndAppliesAtOnce()
    {
        QStandardPaths::setTestModeEnabled(false);
        QTemporaryDir config;
        const QByteArray before = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        const QString path = SdlGameControllerSource::mappingFilePath();
        QVERIFY(path.startsWith(config.path()));
        QVERIFY(GameControllerService::sharedService().startHardwareControllers());
        SdlGameControllerSource* source = GameControllerService::sharedService().hardwareSource();
        auto pad = SdlVirtualPad::joystick("Map Me", 4, 4, 1);
        if (!pad->isPlugged())
            QSKIP(qPrintable(pad->error));
        QVERIFY(waitForControllers(1));
        GCControllerPtr joystick = testsupport::controllerService().controllers().front();
        QVERIFY(!joystick->identity().mapped && joystick->canSaveMapping());
        QVERIFY(joystick->identity().mapping.isEmpty());

        // Lines already there, the last without its line end, stay byte for byte.
        const QByteArray kept = "# mine\r\n03000000aaaa00000000000000000000,Other Pad,a:b0,\n"
                                "# the end, no line end";
        QVERIFY(!writeMappingFile(path, kept).isEmpty());
        const QByteArray line = QStringLiteral("%1,Map Me,a:b0,b:b1,x:b2,y:b3,leftx:a0,lefty:a1,rightx:a2,righty:a3,")
                                    .arg(mappingGuid(pad->guid()))
                                    .toUtf8();
        QString error;
        QVERIFY2(joystick->saveMapping(line, &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kept + "\n" + line + "platform:Linux,\n");
        file.close();
        // At once: the same device, a game controller now, with both sticks.
        QCOMPARE(testsupport::controllerService().controllers().size(), size_t(1));
        const GCControllerPtr mapped = testsupport::controllerService().controllers().front();
        QVERIFY(mapped != joystick && mapped->identity().mapped);
        QCOMPARE(mapped->profile(), GCControllerProfile::Extended);
        QVERIFY(!mapped->canSaveMapping());
        QVERIFY2(mapped->identity().mapping.contains(QStringLiteral(",Map Me,a:b0,b:b1,")),
            qPrintable(mapped->identity().mapping));
        SlotRecorder recorder;
        pad->rawButton(1, true);
        QCOMPARE(recorder.take(1), QStringList { QStringLiteral("B+") });
        // The same line again adds nothing.
        QVERIFY(GameControllerMappingFile::append(path, line + "platform:Linux,", &error));
        QCOMPARE(QFileInfo(path).size(), qint64(kept.size() + 1 + line.size() + 16));

        // A file that cannot be read, or is too large, is never rewritten;
        // the mapping applies all the same until the program ends.
        pad.reset();
        QVERIFY(waitForControllers(0));
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        pad = SdlVirtualPad::joystick("Map Me Too", 4, 4, 1);
        QVERIFY(waitForControllers(1));
        joystick = testsupport::controllerService().controllers().front();
        const QByteArray second = QStringLiteral("%1,Map Me Too,a:b1,").arg(mappingGuid(pad->guid())).toUtf8();
        QVERIFY(!joystick->saveMapping(second, &error));
        QVERIFY2(error.startsWith(QStringLiteral("The mapping could not be added to %1: it is a folder").arg(path)),
            qPrintable(error));
        QVERIFY(error.endsWith(QLatin1String("It applies until the program ends.")));
        QVERIFY(QFileInfo(path).isDir() && QDir(path).isEmpty());
        QVERIFY(testsupport::controllerService().controllers().front()->identity().mapped);
        QVERIFY(QDir(path).removeRecursively());

        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.write("# a large file\n") > 0);
        QVERIFY(large.resize(GameControllerMappingFile::kMostBytes + 1));
        large.close();
        const QDateTime modified = QFileInfo(path).lastModified();
        QVERIFY(!GameControllerMappingFile::append(path, second, &error));
        QVERIFY2(error.contains(QLatin1String("larger than 16 MB")), qPrintable(error));
        QCOMPARE(QFileInfo(path).size(), GameControllerMappingFile::kMostBytes + 1);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QVERIFY(large.open(QIODevice::ReadOnly));
        QCOMPARE(large.read(15), QByteArray("# a large file\n"));
        large.close();
        QVERIFY(QFile::remove(path));

        // A folder that cannot be made: said so, nothing written.
        QVERIFY(writeMappingFile(config.filePath(QStringLiteral("blocked")), "x") != QString());
        const QString blocked = config.filePath(QStringLiteral("blocked/q3dart/gamecontrollerdb.txt"));
        QVERIFY(!GameControllerMappingFile::append(blocked, second, &error));
        QVERIFY2(error.contains(QLatin1String("could not be made")), qPrintable(error));
        // Refused by SDL: said so, and not kept.
        QVERIFY(!source->saveMapping("not a mapping", &error));
        QCOMPARE(error, QStringLiteral("The controller library refused the mapping."));
        QVERIFY(!QFile::exists(path));
        qputenv("XDG_CONFIG_HOME", before);
    }
};

QTEST_GUILESS_MAIN(TestSdlGameControllers)
#include "tst_sdlgamecontrollers.moc"
