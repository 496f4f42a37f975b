#include "app/UpgradeProbe.h"

#include "app/EmbeddedDefault.h"
#include "app/ViewController.h"
#include "sim/SimulatedController.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMetaEnum>

#include <cstdio>

namespace {
bool shown(const QWidget* widget)
{
    return widget && !widget->isHidden();
}
}

UpgradeProbe::UpgradeProbe(ViewController* root, EmbeddedDefault* embedded, QObject* parent)
    : QObject(parent)
    , m_root(root)
    , m_embedded(embedded)
{
    m_poll.setInterval(20);
    connect(&m_poll, &QTimer::timeout, this, &UpgradeProbe::poll);
}

void UpgradeProbe::start()
{
    m_walk.start();
    m_embedded->plugIn();
    m_poll.start();
}

// One step of the walk a user takes before the press, each waiting for what
// the screen shows.
void UpgradeProbe::poll()
{
    if (m_walk.elapsed() > kWalkTimeoutMs)
        return fail(QStringLiteral("the screens did not reach step %1").arg(m_step));
    ZelConnectedView* connected = m_root->existingConnectedView();
    ZelUpgradeView* upgrade = m_root->existingUpgradeView();
    switch (m_step) {
    case 0: // the connected screen with the controller's versions
        if (!shown(connected) || connected->currentVersionLabel->text().isEmpty())
            return;
        connected->upgradeButton->click();
        break;
    case 1: // the upgrade screen with the newest release named
        if (!shown(upgrade) || upgrade->model().latestVersionText().isEmpty()
            || upgrade->model().currentVersionText().isEmpty())
            return;
        m_release = upgrade->model().latestVersionText();
        upgrade->otherVersionAction();
        break;
    case 2: { // the online list, with the newest release in it
        ZelFirmwareListView* list = upgrade->firmwareList();
        if (!shown(list))
            return;
        for (int row = 0; row < list->firmwares.size(); ++row)
            if (list->firmwares[row].version == m_release) {
                list->didSelectRow(row);
                ++m_step;
                return;
            }
        return;
    }
    case 3:
        if (!upgrade->model().offersUpgrade() || !upgrade->model().canPick())
            return;
        m_poll.stop();
        return press();
    }
    ++m_step;
}

void UpgradeProbe::press()
{
    ZelUpgradeView* upgrade = m_root->existingUpgradeView();
    SimulatedController* controller = m_embedded->controller();
    m_messagesBefore = int(controller->receivedMessages().size());
    m_restartsBefore = controller->restartCount();
    m_clock.start();
    upgrade->upgradeAction();
    UpgradeRun* run = upgrade->run();
    if (!run)
        return fail(QStringLiteral("the press started no run"));
    m_estimateMs = run->estimatedSeconds() * 1000.0;
    // Where the time goes: each step's start, from the press.
    connect(run, &UpgradeRun::phaseChanged, this, [this](UpgradeRun::Phase phase) {
        const QString name = QString::fromLatin1(QMetaEnum::fromType<UpgradeRun::Phase>().valueToKey(int(phase)));
        m_phases += QStringLiteral(" %1@%2").arg(name).arg(m_clock.nsecsElapsed() / 1e6, 0, 'f', 0);
        // As it happens, for whoever watches the run from outside.
        std::printf("phase: %s\n", qPrintable(name));
        std::fflush(stdout);
    });
    // The step the press began with, already under way.
    std::printf("phase: %s\n", QMetaEnum::fromType<UpgradeRun::Phase>().valueToKey(int(run->phase())));
    std::fflush(stdout);
    // After the screen has shown the outcome: the screen connected first.
    connect(run, &UpgradeRun::finished, this, &UpgradeProbe::report);
    if (!run->isRunning())
        report();
}

void UpgradeProbe::report()
{
    const double elapsedMs = m_clock.nsecsElapsed() / 1e6;
    ZelUpgradeView* upgrade = m_root->existingUpgradeView();
    const UpgradeRun* run = upgrade->run();
    if (!run || run->outcome() != UpgradeRun::Outcome::Completed)
        return fail(QStringLiteral("the run did not complete: %1").arg(run ? run->reason() : QString()));
    if (upgrade->model().currentVersionText() != run->versionsAfter())
        return fail(QStringLiteral("the screen shows %1, the controller reported %2")
                        .arg(upgrade->model().currentVersionText(), run->versionsAfter()));
    SimulatedController* controller = m_embedded->controller();
    const int messages = int(controller->receivedMessages().size()) - m_messagesBefore;
    const int restarts = controller->restartCount() - m_restartsBefore;
    // The version read-back's pause between its two requests is the protocol's too.
    const double floorMs = messages * double(controller->faults().replyDelayMs)
        + restarts * (controller->faults().restartDelayMs + ZelFirmwareUpgradeManager::kReconnectDelay * 1000.0)
        + ZelFirmwareUpgradeManager::kLeftRequestDelay * 1000.0;
    std::printf("release: %s\nmessages: %d\nrestarts: %d\nclick-to-verified-ms: %.1f\nfloor-ms: %.1f\n"
                "over-floor-ms: %.1f\nestimate-ms: %.1f\nestimate-ratio: %.2f\nphases-ms:%s\n",
        qPrintable(m_release), messages, restarts, elapsedMs, floorMs, elapsedMs - floorMs, m_estimateMs,
        m_estimateMs / elapsedMs, qPrintable(m_phases));
    std::fflush(stdout);
    QCoreApplication::exit(0);
}

void UpgradeProbe::fail(const QString& why)
{
    m_poll.stop();
    std::fprintf(stderr, "measure-upgrade: %s\n", qPrintable(why));
    QCoreApplication::exit(1);
}
