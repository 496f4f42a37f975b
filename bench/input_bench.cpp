// What a player feels of the input path, and what an idle program costs:
//
// - latency from an input event to its key slot through the virtual source
//   (the library's own cost);
// - the same through SDL's virtual joystick driver, the path real controllers
//   take: each change is made at a random moment, from another thread, as a
//   device changes whenever the player moves, and reaches the slot at the
//   next poll of the event loop;
// - the wake-ups per second of the application left idle with no controller
//   (voluntary and involuntary context switches of all its threads).
//
//   input_bench [--events N] [--idle-app PATH] [--idle-seconds S]
#include "input/KestGameControllerManager.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/runtime/MainQueue.h"
#include "platform/gamepad/SdlGameControllerSource.h"
#include "platform/gamepad/VirtualGameController.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

namespace {

// How long the idle application is left to start before it is measured.
constexpr int kIdleSettleSeconds = 3;

void report(const char* what, std::vector<double> us)
{
    if (us.empty()) {
        std::printf("%s: no events measured\n", what);
        return;
    }
    std::sort(us.begin(), us.end());
    std::printf("%s: %zu events, median %.1f us, p95 %.1f us, max %.1f us\n", what, us.size(), us[us.size() / 2],
        us[us.size() * 95 / 100], us.back());
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Voluntary and involuntary context switches of every thread of a process.
qint64 contextSwitches(qint64 pid)
{
    qint64 total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
    }
    return total;
}

void measureIdle(const QString& app, const QStringList& args, int seconds)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A folder of its own for the single-instance socket: another copy of
    // the application running on the machine must not take its files.
    QTemporaryDir tmp;
    env.insert(QStringLiteral("TMPDIR"), tmp.path());
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(app, args);
    if (!process.waitForStarted()) {
        std::printf("idle wake-ups: %s did not start\n", qPrintable(app));
        return;
    }
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSettleSeconds));
    const qint64 pid = process.processId();
    const qint64 before = contextSwitches(pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const qint64 after = contextSwitches(pid);
    const bool running = process.state() == QProcess::Running;
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
    if (!running) {
        std::printf("idle wake-ups: the application ended early\n");
        return;
    }
    // A line per configuration for scripts: idle-wakeups-per-s, idle-wakeups-per-s-simulate.
    const QString tag
        = args.join(QLatin1Char(' ')).remove(QLatin1String("--")).replace(QLatin1Char(' '), QLatin1Char('-'));
    std::printf(
        "idle-wakeups-per-s%s%s: %.2f\n", tag.isEmpty() ? "" : "-", qPrintable(tag), double(after - before) / seconds);
    std::printf("idle wake-ups of `%s%s%s`: %.1f per second over %d s (%lld context switches; target <= 10)\n",
        qPrintable(QFileInfo(app).fileName()), args.isEmpty() ? "" : " ", qPrintable(args.join(QLatin1Char(' '))),
        double(after - before) / seconds, seconds, after - before);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("SDL_VIDEODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    int events = 200;
    QString idleApp;
    int idleSeconds = 10;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--events"))
            events = std::max(2, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--idle-app"))
            idleApp = args[i + 1];
        else if (args[i] == QLatin1String("--idle-seconds"))
            idleSeconds = std::max(1, args[i + 1].toInt());
    }

    KestGameControllerManager& manager = KestGameControllerManager::sharedInstance();
    std::atomic<qint64> sent { -1 };
    std::atomic<int> arrivedCount { 0 };
    std::vector<double> us;
    manager.setKeyPressed(KestGameControllerManager::Key::A, [&](bool) {
        const qint64 at = sent.load();
        if (at >= 0)
            us.push_back((nowNs() - at) / 1000.0);
        sent = -1;
        ++arrivedCount;
    });

    GameControllerService& service = GameControllerService::sharedService();
    // Virtual source: the cost of the element, wrapper and slot chain.
    {
        VirtualGameController pad(service);
        pad.plugIn();
        MainQueue::runUntil([&] { return !service.controllers().empty(); }, 2000);
        for (int i = 0; i < events; ++i) {
            sent = nowNs();
            pad.setButton(VirtualGameController::Button::A, i % 2 ? 0.0f : 1.0f);
        }
        report("virtual controller event to slot", us);
        pad.unplug();
        us.clear();
    }

    // SDL: a virtual joystick mapped as a game controller, polled from the event loop.
    if (!service.startHardwareControllers()) {
        std::printf("SDL event to slot: not measured (%s)\n", qPrintable(service.hardwareError()));
    } else {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Bench Pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        if (index < 0) {
            std::printf("SDL event to slot: not measured (%s)\n", SDL_GetError());
        } else {
            const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
            MainQueue::runUntil([&] { return !service.controllers().empty(); }, 5000);
            const int period = service.hardwareSource()->pollInterval();
            arrivedCount = 0;
            QEventLoop loop;
            // The device changes at random moments, whatever the poll is doing.
            std::thread device([&] {
                std::mt19937 random(7);
                std::uniform_int_distribution<int> pause(0, 2 * period * 1000 - 1);
                auto waitFor = [&](int count) {
                    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
                    while (arrivedCount.load() < count && std::chrono::steady_clock::now() < deadline)
                        std::this_thread::sleep_for(std::chrono::microseconds(200));
                    return arrivedCount.load() >= count;
                };
                for (int i = 0; i < events; ++i) {
                    if (!waitFor(i))
                        break; // an event that never arrived: the figures say how many did
                    std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
                    sent = nowNs();
                    // SDL's lock makes this safe beside the poll; the event
                    // is made when the poll next reads the device.
                    SDL_JoystickSetVirtualButton(
                        SDL_JoystickFromInstanceID(id), SDL_CONTROLLER_BUTTON_A, i % 2 ? 0 : 1);
                }
                waitFor(events);
                QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
            });
            loop.exec();
            device.join();
            std::printf("SDL poll period while a controller is open: %d ms\n", period);
            report("SDL event at a random moment to slot", us);
        }
    }

    if (!idleApp.isEmpty()) {
        measureIdle(idleApp, {}, idleSeconds);
        measureIdle(idleApp, { QStringLiteral("--simulate") }, idleSeconds);
    }
    return 0;
}
