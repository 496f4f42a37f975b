// Times complete three-image upgrade runs, from the start to the versions
// read back, against the in-process simulated controller and compares them
// with the protocol's own floor: one reply delay per message (stop-and-wait)
// plus, per restart, the controller's restart time and the engine's wait
// before it reopens the session. Also the process's CPU time per message.
//
//   transfer_bench [--reply-delay-ms D] [--restart-ms R] [--runs N] [--tools DIR] [--station C]
//
// With --tools, also q3dart-cli flash from DIR over TCP to q3dart-sim; with
// --station as well, q3dart-cli station on C simulated controllers at once
// beside a flash of one, interleaved, wall and CPU time each.
#include "accessory/EADSessionController.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/MainQueue.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kRunLimitMs = 600000;

QString writeImage(const QTemporaryDir& dir, const char* name, int size, SimVersion version)
{
    QByteArray bytes;
    for (int i = 0; i < size - SimulatedController::kTrailerSize; ++i)
        bytes.append(char((i * 13 + version.minor) & 0xFF));
    bytes += SimulatedController::versionTrailer(version);
    QFile f(dir.filePath(QString::fromLatin1(name)));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

struct RunResult {
    double seconds = 0;
    double cpuSeconds = 0;
    int messages = 0;
    bool ok = false;
};

double processCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// One run of the three images through the upgrade run, from its start to its
// verified outcome (the versions read back).
RunResult runOnce(SimAccessoryTransport& transport, const QStringList& paths)
{
    SimulatedController& sim = *transport.controller();
    // The controller attached and the session open on this attachment.
    MainQueue::runUntil(
        [&] {
            return transport.hasOpenSession(EADSessionController::sharedController())
                && ZelFirmwareUpgradeManager::sharedInstance().accessory();
        },
        10000);
    const int before = sim.receivedMessages().size();
    UpgradeRun run(ZelFirmwareUpgradeManager::sharedInstance());
    // A plain event loop: it sleeps between messages, so the process's CPU
    // time is the engine's and the controller's work, not a wait's spinning.
    QEventLoop loop;
    QObject::connect(&run, &UpgradeRun::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kRunLimitMs, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    const double cpu = processCpuSeconds();
    if (run.startFiles(paths[0], paths[1], paths[2]))
        loop.exec();
    RunResult r;
    r.seconds = clock.nsecsElapsed() / 1e9;
    r.cpuSeconds = processCpuSeconds() - cpu;
    r.messages = sim.receivedMessages().size() - before;
    r.ok = run.outcome() == UpgradeRun::Outcome::Completed;
    if (!r.ok)
        std::fprintf(stderr, "%s\n", qPrintable(run.reason()));
    return r;
}

double childrenCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The same images through the command-line tool over TCP to a simulated
// controller in its own process: the tool's CPU time (user and system, from
// the kernel's accounting of the finished child) per message.
bool measureTool(
    const QString& toolsDir, const QStringList& paths, int messages, int replyDelayMs, int restartMs, int runs)
{
    QProcess sim;
    sim.start(toolsDir + QStringLiteral("/q3dart-sim"),
        { QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--restart-delay"),
            QString::number(restartMs), QStringLiteral("--reply-delay"), QString::number(replyDelayMs) });
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "q3dart-sim did not start\n");
        return false;
    }
    const QString banner = QString::fromUtf8(sim.readLine());
    const QString address = banner.section(QLatin1Char(' '), 2, 2).remove(QLatin1Char(','));
    QTemporaryDir documents;
    // The tool's CPU time in seconds for one command; negative on failure.
    auto cpuOf = [&](const QStringList& command) {
        const double before = childrenCpuSeconds();
        QProcess cli;
        cli.start(toolsDir + QStringLiteral("/q3dart-cli"),
            QStringList { QStringLiteral("--device"), QStringLiteral("tcp:") + address, QStringLiteral("--documents"),
                documents.path() }
                + command);
        if (!cli.waitForFinished(kRunLimitMs) || cli.exitCode() != 0) {
            std::fprintf(stderr, "q3dart-cli %s failed: %s\n", qPrintable(command.first()),
                cli.readAllStandardError().constData());
            return -1.0;
        }
        return childrenCpuSeconds() - before;
    };
    std::vector<double> perMessage;
    for (int i = 0; i < runs; ++i) {
        const double flash = cpuOf({ QStringLiteral("flash"), QStringLiteral("--boot"), paths[0],
            QStringLiteral("--left"), paths[1], QStringLiteral("--right"), paths[2] });
        // The same start, connection and version query with no image: what
        // flash spends beyond it is its messages'.
        const double versions = flash < 0 ? -1.0 : cpuOf({ QStringLiteral("versions") });
        if (versions < 0)
            return false;
        perMessage.push_back(flash / messages * 1e6);
        std::printf("tool-cpu-us: %.2f\n", perMessage.back());
        std::printf("tool-start-cpu-ms: %.2f\n", versions * 1e3);
        std::printf("tool-net-cpu-us: %.2f\n", (flash - versions) / messages * 1e6);
    }
    sim.kill();
    sim.waitForFinished();
    std::sort(perMessage.begin(), perMessage.end());
    std::printf("  q3dart-cli flash over tcp to q3dart-sim, CPU time per message (the whole process, start-up"
                " included): min %.1f us  median %.1f us  max %.1f us\n",
        perMessage.front(), perMessage[perMessage.size() / 2], perMessage.back());
    return true;
}

// q3dart-cli station on `count` controllers of one q3dart-sim, each run
// beside a q3dart-cli flash of the same images to one of them: wall time and
// the tool's CPU time per message of each.
bool measureStation(const QString& toolsDir, const QStringList& paths, int messages, int replyDelayMs, int restartMs,
    int count, int runs)
{
    QProcess sim;
    sim.start(toolsDir + QStringLiteral("/q3dart-sim"),
        { QStringLiteral("--count"), QString::number(count), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
            QStringLiteral("--restart-delay"), QString::number(restartMs), QStringLiteral("--reply-delay"),
            QString::number(replyDelayMs) });
    QStringList devices;
    while (devices.size() < count) {
        if (!sim.canReadLine() && !sim.waitForReadyRead(10000)) {
            std::fprintf(stderr, "q3dart-sim did not start\n");
            return false;
        }
        const QString banner = QString::fromUtf8(sim.readLine());
        devices << QStringLiteral("tcp:") + banner.section(QLatin1Char(' '), 2, 2).remove(QLatin1Char(','));
    }
    const QStringList images { QStringLiteral("--boot"), paths[0], QStringLiteral("--left"), paths[1],
        QStringLiteral("--right"), paths[2] };
    QTemporaryDir documents;
    // Wall seconds and CPU microseconds per message of one tool run.
    auto timed = [&](const QStringList& args, int runMessages, const char* name) {
        const double before = childrenCpuSeconds();
        QElapsedTimer clock;
        clock.start();
        QProcess cli;
        cli.start(toolsDir + QStringLiteral("/q3dart-cli"),
            QStringList { QStringLiteral("--documents"), documents.path() } + args);
        if (!cli.waitForFinished(kRunLimitMs) || cli.exitCode() != 0) {
            std::fprintf(stderr, "q3dart-cli %s failed: %s\n", name, cli.readAllStandardError().constData());
            return false;
        }
        std::printf("%s-wall-s: %.3f\n", name, double(clock.nsecsElapsed()) / 1e9);
        std::printf("%s-cpu-us: %.2f\n", name, (childrenCpuSeconds() - before) / runMessages * 1e6);
        return true;
    };
    QStringList station { QStringLiteral("station") };
    for (const QString& device : std::as_const(devices))
        station << QStringLiteral("--device") << device;
    for (int i = 0; i < runs; ++i) {
        if (!timed(QStringList { QStringLiteral("--device"), devices.first(), QStringLiteral("flash") } + images,
                messages, "single")
            || !timed(station + QStringList { QStringLiteral("flash") } + images, messages * count, "station"))
            return false;
    }
    sim.kill();
    sim.waitForFinished();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // The simulated controller answers after its reply delay by a timer; the
    // kernel's default slack of 50 us on every sleep would add to each reply
    // what a real controller's would not.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    QCoreApplication app(argc, argv);
    int replyDelayMs = 1;
    int restartMs = 100;
    int runs = 3;
    QString toolsDir;
    int stationControllers = 0;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--reply-delay-ms"))
            replyDelayMs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--restart-ms"))
            restartMs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--tools"))
            toolsDir = args[i + 1];
        else if (args[i] == QLatin1String("--station"))
            stationControllers = std::max(0, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    const QStringList paths { writeImage(dir, "boot.bin", 0xE800 + 8 * 1024, { 9, 1 }),
        writeImage(dir, "left.bin", 48 * 1024, { 9, 2 }), writeImage(dir, "right.bin", 40 * 1024, { 9, 3 }) };

    const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols().mid(0, 1);
    auto* sim = new SimulatedController;
    sim->faults().replyDelayMs = replyDelayMs;
    sim->faults().restartDelayMs = restartMs;
    SimAccessoryTransport transport(EAAccessoryManager::sharedAccessoryManager(), sim, protocols);
    transport.start();
    MainQueue::runUntil([&] { return transport.link() != nullptr; }, 5000);
    // The engine follows the controller from here on (it opens the session).
    EADSessionController::sharedController().setupControllerForAccessory(
        EAAccessoryManager::sharedAccessoryManager().connectedAccessories().front(), protocols.value(0));
    ZelFirmwareUpgradeManager::sharedInstance();

    // The runs are recorded, as every run is, but not among the user's.
    QTemporaryDir documents;
    DocumentsDirectory::setPath(documents.path());

    std::vector<double> ratios, seconds, cpuPerMessage;
    int messages = 0;
    for (int i = 0; i < runs; ++i) {
        const RunResult r = runOnce(transport, paths);
        if (!r.ok) {
            std::fprintf(stderr, "run %d did not complete\n", i + 1);
            return 1;
        }
        // Two restarts: after the boot loader and after the left image.
        const double floor = r.messages * replyDelayMs / 1000.0
            + 2 * (restartMs / 1000.0 + ZelFirmwareUpgradeManager::kReconnectDelay);
        ratios.push_back(r.seconds / floor);
        seconds.push_back(r.seconds);
        cpuPerMessage.push_back(r.cpuSeconds / r.messages * 1e6);
        std::printf("inprocess-cpu-us: %.2f\n", cpuPerMessage.back());
        messages = r.messages;
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(seconds.begin(), seconds.end());
    std::sort(cpuPerMessage.begin(), cpuPerMessage.end());
    const double median = ratios[ratios.size() / 2];
    std::printf("three-image run: %d messages, reply delay %d ms, restart %d ms, %d runs\n", messages, replyDelayMs,
        restartMs, runs);
    std::printf("  time      min %.3f s  median %.3f s  max %.3f s\n", seconds.front(), seconds[seconds.size() / 2],
        seconds.back());
    std::printf(
        "  ratio to the protocol floor: min %.4f  median %.4f  max %.4f\n", ratios.front(), median, ratios.back());
    std::printf("  CPU time per message: min %.1f us  median %.1f us  max %.1f us"
                " (process CPU time / messages; the simulated controller runs in the same process)\n",
        cpuPerMessage.front(), cpuPerMessage[cpuPerMessage.size() / 2], cpuPerMessage.back());
    const double waits = 2 * (restartMs / 1000.0 + ZelFirmwareUpgradeManager::kReconnectDelay);
    std::printf("  per message beyond the floor: %.1f us\n",
        (seconds[seconds.size() / 2] - waits - messages * replyDelayMs / 1000.0) / messages * 1e6);
    if (!toolsDir.isEmpty() && stationControllers > 0)
        return measureStation(toolsDir, paths, messages, replyDelayMs, restartMs, stationControllers, runs) ? 0 : 1;
    if (!toolsDir.isEmpty() && !measureTool(toolsDir, paths, messages, replyDelayMs, restartMs, runs))
        return 1;
    return 0;
}
