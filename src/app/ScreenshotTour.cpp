#include "app/ScreenshotTour.h"

#include "app/EmbeddedDefault.h"
#include "app/LayoutAudit.h"
#include "app/MainWindow.h"
#include "app/ToastOverlay.h"
#include "app/ViewController.h"
#include "firmware/ZelDataTool.h"
#include "platform/VirtualGameController.h"
#include "sim/DemoReleases.h"
#include "sim/SimulatedController.h"
#include "views/WebPage.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelHomeView.h"
#include "views/ZelKeyTestView.h"
#include "views/ZelMFiGameView.h"
#include "views/ZelTutorialView.h"
#include "views/ZelUpgradeHistoryView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>

#include <cstdio>

namespace {
// Where the tour photographs a run under way.
constexpr double kUpgradingShotPercent = 30.0;
// The controller's restart, slowed so that the wait can be photographed.
constexpr int kSlowRestartMs = 4000;

bool shown(const QWidget* widget)
{
    return widget && !widget->isHidden();
}

// A web page screen is up with its page loaded.
bool pageShown(const QWidget* screen, const WebPage* page)
{
    return shown(screen) && page && !page->isLoading() && !page->title().isEmpty();
}

// A sliding screen has arrived once it sits at the top of the root view.
bool arrived(const QWidget* screen)
{
    return shown(screen) && screen->pos() == QPoint(0, 0);
}
}

ScreenshotTour::ScreenshotTour(MainWindow* window, EmbeddedDefault* embedded, ToastOverlay* toasts,
                               const QString& folder, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_root(window->rootViewController())
    , m_embedded(embedded)
    , m_toasts(toasts)
    , m_folder(folder)
{
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &ScreenshotTour::poll);
    buildSteps();
}

ScreenshotTour::~ScreenshotTour() = default;

QStringList ScreenshotTour::fileNames()
{
    return {QStringLiteral("home.png"),
            QStringLiteral("connected-newer.png"),
            QStringLiteral("upgrade-choosing.png"),
            QStringLiteral("firmware-list-empty.png"),
            QStringLiteral("firmware-list-local.png"),
            QStringLiteral("firmware-list-online.png"),
            QStringLiteral("upgrade-ready.png"),
            QStringLiteral("upgrade-restarting.png"),
            QStringLiteral("upgrade-failed.png"),
            QStringLiteral("upgrade-upgrading.png"),
            QStringLiteral("upgrade-completed.png"),
            QStringLiteral("upgrade-history.png"),
            QStringLiteral("toast.png"),
            QStringLiteral("connected-latest.png"),
            QStringLiteral("keytest-rest.png"),
            QStringLiteral("keytest-active.png"),
            QStringLiteral("keytest-unmapped.png"),
            QStringLiteral("games.png"),
            QStringLiteral("tutorial.png")};
}

void ScreenshotTour::buildSteps()
{
    ViewController* root = m_root;
    EmbeddedDefault* embedded = m_embedded;
    const QString newest = DemoReleases::versions().last();
    auto rows = [root] {
        ZelUpgradeView* upgrade = root->existingUpgradeView();
        return upgrade && upgrade->firmwareListView ? upgrade->firmwareListView->tableView->count() : -1;
    };

    m_steps = {
        {QStringLiteral("home.png"), [] {}, [root] { return shown(root->existingHomeView()); }},
        {QStringLiteral("connected-newer.png"), [embedded] { embedded->plugIn(); },
         [root] {
             ZelConnectedView* connected = root->existingConnectedView();
             return shown(connected) && !connected->currentVersionLabel->text().isEmpty()
                 && !connected->latestVersionLabel->text().isEmpty();
         }},
        {QStringLiteral("upgrade-choosing.png"), [root] { root->connectedView()->upgradeAction(); },
         [root] {
             ZelUpgradeView* upgrade = root->existingUpgradeView();
             return arrived(upgrade) && !upgrade->currentVersionLabel->text().isEmpty()
                 && !upgrade->latestVersionLabel->text().isEmpty();
         }},
        {QStringLiteral("firmware-list-empty.png"), [root] { root->upgradeView()->localFileAction(); },
         [root] { return shown(root->upgradeView()->firmwareListView); }},
        {QStringLiteral("firmware-list-local.png"),
         [root] {
             ZelUpgradeView* upgrade = root->upgradeView();
             upgrade->hideFirmwareListView();
             // A release opened into the application, as from the file manager.
             ZelDataTool::importArchive(DemoReleases::folder() + QLatin1Char('/') + DemoReleases::versions().value(1)
                                        + QStringLiteral(".zip"));
             upgrade->localFileAction();
         },
         [rows] { return rows() > 0; }},
        {QStringLiteral("firmware-list-online.png"), [root] { root->upgradeView()->otherVersionAction(); },
         [rows] { return rows() == DemoReleases::versions().size(); }},
        {QStringLiteral("upgrade-ready.png"), [root] { root->upgradeView()->firmwareListView->didSelectRow(0); },
         [root] { return shown(root->upgradeView()->upgradeButton); }},
        // A real run against the simulated controller: one that waits for the
        // controller's slow restart and then fails on a refused checksum, and
        // its second try, caught on its way and at its outcome.
        {QStringLiteral("upgrade-restarting.png"),
         [root, embedded] {
             embedded->controller()->faults().restartDelayMs = kSlowRestartMs;
             embedded->controller()->faults().refuseChecksum = true;
             root->upgradeView()->upgradeAction();
         },
         [root] {
             const UpgradeRun* run = root->upgradeView()->run();
             return run && run->isRunning() && run->phase() == UpgradeRun::Phase::WaitingForRestart;
         }},
        {QStringLiteral("upgrade-failed.png"), [] {},
         [root] {
             const UpgradeRun* run = root->upgradeView()->run();
             return run && run->outcome() == UpgradeRun::Outcome::Failed;
         }},
        {QStringLiteral("upgrade-upgrading.png"),
         [root, embedded] {
             embedded->controller()->faults() = SimFaults();
             root->upgradeView()->upgradeAction(); // try again
         },
         [root] {
             const UpgradeRun* run = root->upgradeView()->run();
             return run && run->isRunning() && run->progress() >= kUpgradingShotPercent;
         }},
        {QStringLiteral("upgrade-completed.png"), [] {},
         [root] {
             const UpgradeRun* run = root->upgradeView()->run();
             return run && run->outcome() == UpgradeRun::Outcome::Completed;
         }},
        {QStringLiteral("upgrade-history.png"), [root] { root->upgradeView()->historyAction(); },
         [root] { return shown(root->upgradeView()->historyView); }},
        // Picking the release the controller already has: the toast says so.
        {QStringLiteral("toast.png"),
         [root] {
             root->upgradeView()->historyView->setHidden(true);
             root->upgradeView()->otherVersionAction();
             root->upgradeView()->firmwareListView->didSelectRow(0);
         },
         [this] { return m_toasts->currentToast() && m_toasts->currentToast()->isVisible(); }, true},
        {QStringLiteral("connected-latest.png"),
         [root, embedded, newest] {
             // The controller as the upgrade leaves it.
             embedded->controller()->setVersions(newest);
             root->upgradeView()->closeAction();
         },
         [root, newest] {
             ZelConnectedView* connected = root->existingConnectedView();
             return shown(connected) && connected->currentVersionLabel->text() == newest
                 && connected->latestVersionLabel->text() == newest;
         }},
        {QStringLiteral("keytest-rest.png"), [root] { root->connectedView()->keyTestAction(); },
         [root] { return arrived(root->existingKeyTestView()); }},
        {QStringLiteral("keytest-active.png"),
         [embedded] {
             using B = VirtualGameController::Button;
             VirtualGameController* pad = embedded->gamepad();
             for (B held : {B::A, B::Y, B::L1, B::R2, B::Up})
                 pad->press(held);
             // A few positions on the way, for the trail.
             for (float t : {0.15f, 0.3f, 0.45f, 0.6f}) {
                 pad->moveStick(VirtualGameController::Stick::Left, t, 0.75f * t);
                 pad->moveStick(VirtualGameController::Stick::Right, -0.8f * t, -0.6f * t);
             }
             pad->setButton(B::L2, 0.35f);
         },
         [root] { return shown(root->existingKeyTestView()->buttonUp); }},
        // A joystick without mapping beside the controller, chosen in the panel.
        {QStringLiteral("keytest-unmapped.png"),
         [this] {
             m_joystick = VirtualGameController::joystick(QStringLiteral("USB Flight Stick"), 8, 4, 1);
             m_joystick->plugIn();
             for (auto [index, value] : {std::pair{1, 1}, {4, 1}, {8, 21000}, {9, -12000}, {10, 32767}, {12, 3}})
                 m_joystick->setRawInput(size_t(index), value);
             ZelKeyTestView* keyTest = m_root->existingKeyTestView();
             keyTest->padChooser->setCurrentIndex(keyTest->padChooser->count() - 1);
             emit keyTest->padChooser->activated(keyTest->padChooser->count() - 1);
         },
         [root] {
             const ZelKeyTestView* keyTest = root->existingKeyTestView();
             return keyTest->shownController() && !keyTest->shownController()->identity().mapped;
         }},
        {QStringLiteral("games.png"),
         [this, root] {
             m_joystick.reset();
             root->keyTestView()->closeAction();
             root->connectedView()->MFiAction();
         },
         [root] { return pageShown(root->existingMFiGameView(), root->existingMFiGameView()->webPage); }},
        {QStringLiteral("tutorial.png"),
         [root] {
             root->MFiGameView()->closeAction();
             root->connectedView()->closeAction();
             root->homeView()->tutorialBlock();
         },
         [root] { return pageShown(root->existingTutorialView(), root->existingTutorialView()->webPage); }},
    };
}

void ScreenshotTour::start()
{
    // From inside the event loop, so that finishing can end it.
    QTimer::singleShot(0, this, [this] {
        if (!QDir().mkpath(m_folder)) {
            finish(1, QStringLiteral("cannot create %1").arg(m_folder));
            return;
        }
        runStep();
    });
}

void ScreenshotTour::runStep()
{
    if (m_index >= m_steps.size()) {
        for (const QString& fault : std::as_const(m_faults))
            std::fprintf(stderr, "layout: %s\n", qPrintable(fault));
        finish(m_faults.isEmpty() ? 0 : 1,
               m_faults.isEmpty() ? QString() : QStringLiteral("%1 layout faults").arg(m_faults.size()));
        return;
    }
    m_settling = false;
    m_elapsed.start();
    m_steps[m_index].action();
    m_poll.start();
}

void ScreenshotTour::poll()
{
    const Step& step = m_steps[m_index];
    if (m_settling)
        return;
    if (!step.ready()) {
        if (m_elapsed.elapsed() > kStepTimeoutSeconds * 1000)
            finish(1, QStringLiteral("%1: the screen did not reach its state").arg(step.fileName));
        return;
    }
    m_settling = true;
    QTimer::singleShot(kSettleMs, this, [this] {
        const Step& current = m_steps[m_index];
        m_poll.stop();
        // Toasts come and go with their own timing; the pictures show the
        // screens, but for the one that shows a toast.
        if (!current.keepsToast)
            m_toasts->dismiss();
        if (!current.fileName.isEmpty()) {
            const QString path = QDir(m_folder).filePath(current.fileName);
            const QPixmap picture = m_window->grab();
            if (!picture.save(path)) {
                finish(1, QStringLiteral("cannot write %1").arg(path));
                return;
            }
            if (picture.size() != m_window->size() * m_window->devicePixelRatio())
                m_faults.append(QStringLiteral("%1: %2x%3 instead of the window's size")
                                    .arg(current.fileName)
                                    .arg(picture.width())
                                    .arg(picture.height()));
            for (const QString& fault : LayoutAudit::check(m_window))
                m_faults.append(current.fileName + QStringLiteral(": ") + fault);
            std::printf("%s\n", qPrintable(path));
            std::fflush(stdout);
        }
        ++m_index;
        runStep();
    });
}

void ScreenshotTour::finish(int exitCode, const QString& message)
{
    m_poll.stop();
    if (!message.isEmpty())
        std::fprintf(stderr, "screenshots: %s\n", qPrintable(message));
    QCoreApplication::exit(exitCode);
}
