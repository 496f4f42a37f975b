#include "app/SignalShutdown.h"

#include "platform/runtime/InterruptNotifier.h"
#include "upgrade/UpgradeRun.h"

#include <QCoreApplication>

SignalShutdown::SignalShutdown(QObject* parent)
    : QObject(parent)
{
    connect(&InterruptNotifier::shared(), &InterruptNotifier::interrupted, this, &SignalShutdown::interrupted);
}

void SignalShutdown::interrupted()
{
    UpgradeRun* run = UpgradeRun::current();
    if (!run || !run->isRunning()) {
        QCoreApplication::quit();
        return;
    }
    // A second signal changes nothing: the image under way still ends.
    if (std::exchange(m_waiting, true))
        return;
    // The run's outcome (cancelled, or whatever ended it first) is in the
    // history by the time it says it finished.
    connect(run, &UpgradeRun::finished, this, [] { QCoreApplication::quit(); });
    run->requestCancel();
}
