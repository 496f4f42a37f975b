// Latency from an input event to its key slot: through the virtual source
// (the library's own cost) and through SDL's virtual joystick driver (the
// path real controllers take, including the event-loop polling).
//
//   input_bench [--events N]
#include "input/KestGameControllerManager.h"
#include "platform/GameControllerService.h"
#include "platform/MainQueue.h"
#include "platform/VirtualGameController.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <vector>

namespace {

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

} // namespace

int main(int argc, char** argv)
{
    qputenv("SDL_VIDEODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    int events = 200;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2)
        if (args[i] == QLatin1String("--events"))
            events = std::max(2, args[i + 1].toInt());

    KestGameControllerManager& manager = KestGameControllerManager::sharedInstance();
    QElapsedTimer clock;
    clock.start();
    qint64 arrived = -1;
    manager.setKeyPressed(KestGameControllerManager::Key::A, [&](bool) { arrived = clock.nsecsElapsed(); });

    // Virtual source: the cost of the element, wrapper and slot chain.
    {
        VirtualGameController pad;
        pad.plugIn();
        MainQueue::runUntil([] { return !GCController::controllers().empty(); }, 2000);
        std::vector<double> us;
        for (int i = 0; i < events; ++i) {
            arrived = -1;
            const qint64 sent = clock.nsecsElapsed();
            pad.setButton(VirtualGameController::Button::A, i % 2 ? 0.0f : 1.0f);
            if (arrived >= 0)
                us.push_back((arrived - sent) / 1000.0);
        }
        report("virtual controller event to slot", us);
        pad.unplug();
    }

    // SDL: a virtual joystick mapped as a game controller, polled from the event loop.
    GameControllerService& service = GameControllerService::sharedService();
    if (!service.startHardwareControllers()) {
        std::printf("SDL event to slot: not measured (%s)\n", qPrintable(service.hardwareError()));
        return 0;
    }
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
        return 0;
    }
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    MainQueue::runUntil([] { return !GCController::controllers().empty(); }, 5000);
    std::vector<double> us;
    for (int i = 0; i < events; ++i) {
        arrived = -1;
        const qint64 sent = clock.nsecsElapsed();
        SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(id), SDL_CONTROLLER_BUTTON_A, i % 2 ? 0 : 1);
        SDL_JoystickUpdate();
        MainQueue::runUntil([&] { return arrived >= 0; }, 1000);
        if (arrived >= 0)
            us.push_back((arrived - sent) / 1000.0);
    }
    report("SDL event to slot", us);
    return 0;
}
