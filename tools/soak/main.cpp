// q3dart-soak [--runs N] [--seed S]: complete upgrades against the simulated
// controller under seeded random faults, with the invariants checked after
// every run. Prints a table and ends with "invariant violations: N".
#include "platform/runtime/Localization.h"
#include "SoakRunner.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Localization::shared().setLanguage(QStringLiteral("en"));
    int runs = 100;
    quint32 seed = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = args[++i].toInt();
        } else if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args[++i].toUInt();
        } else {
            std::fprintf(stderr, "usage: q3dart-soak [--runs N] [--seed S]\n");
            return 2;
        }
    }
    SoakRunner soak(seed);
    soak.run(runs);
    std::printf("runs: %d (seed %u)\n", runs, seed);
    std::printf("completed: %d\n", soak.completed());
    std::printf("failed: %d\n", runs - soak.completed());
    for (auto it = soak.failures().begin(); it != soak.failures().end(); ++it)
        std::printf("  %5d  %s\n", it.value(), qPrintable(it.key()));
    for (const QString& v : soak.violations())
        std::printf("violation: %s\n", qPrintable(v));
    std::printf("invariant violations: %d\n", int(soak.violations().size()));
    return soak.violations().isEmpty() ? 0 : 1;
}
