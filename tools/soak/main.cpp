// q3dart-soak [--runs N] [--seed S] [--controllers C]: complete upgrades
// against the simulated controller under seeded random faults, with the
// invariants checked after every run; with C controllers each round runs on
// all of them at once. Prints a table and ends with "invariant violations: N".
#include "accessory/EADSessionController.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/Localization.h"
#include "SoakRunner.h"
#include "upgrade/ControllerRegistry.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
// One simulated controller each, in one process.
constexpr int kMaxControllers = 16;
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Localization::shared().setLanguage(QStringLiteral("en"));
    int runs = 100;
    quint32 seed = 1;
    int controllers = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args[++i].toUInt();
        } else if (args[i] == QLatin1String("--controllers") && i + 1 < args.size()) {
            controllers = args[++i].toInt();
            if (controllers < 1 || controllers > kMaxControllers) {
                std::fprintf(stderr, "q3dart-soak: --controllers needs 1 to %d\n", kMaxControllers);
                return 2;
            }
        } else {
            std::fprintf(stderr, "usage: q3dart-soak [--runs N] [--seed S] [--controllers C]\n");
            return 2;
        }
    }
    // The one place the soak reaches the process's engine, session and accessories.
    SoakRunner::Shared shared;
    shared.engine = []() -> ZelFirmwareUpgradeManager& { return ZelFirmwareUpgradeManager::sharedInstance(); };
    shared.session = []() -> EADSessionController& { return EADSessionController::sharedController(); };
    shared.accessories = []() -> EAAccessoryManager& { return EAAccessoryManager::sharedAccessoryManager(); };
    shared.registry = []() -> ControllerRegistry& { return ControllerRegistry::sharedRegistry(); };
    SoakRunner soak(seed, controllers, std::move(shared));
    soak.run(runs);
    std::printf("runs: %d (seed %u)\n", runs * controllers, seed);
    if (controllers > 1)
        std::printf("rounds: %d, on %d controllers at once\n", runs, controllers);
    std::printf("completed: %d\n", soak.completed());
    std::printf("failed: %d\n", runs * controllers - soak.completed());
    for (auto it = soak.failures().begin(); it != soak.failures().end(); ++it)
        std::printf("  %5d  %s\n", it.value(), qPrintable(it.key()));
    for (const QString& v : soak.violations())
        std::printf("violation: %s\n", qPrintable(v));
    std::printf("invariant violations: %d\n", int(soak.violations().size()));
    return soak.violations().isEmpty() ? 0 : 1;
}
