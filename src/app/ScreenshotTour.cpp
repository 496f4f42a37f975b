#include "app/ScreenshotTour.h"

#include "app/EmbeddedDefault.h"
#include "app/LayoutAudit.h"
#include "app/MainWindow.h"
#include "app/ToastOverlay.h"
#include "app/ViewController.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "input/ControllerCheck.h"
#include "input/MappingEditor.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/gamepad/VirtualGameController.h"
#include "platform/runtime/WebHosts.h"
#include "sim/DemoReleases.h"
#include "sim/SimulatedController.h"
#include "views/ScreenScaler.h"
#include "views/WebPage.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelHomeView.h"
#include "views/ZelKeyTestView.h"
#include "views/ZelMFiGameView.h"
#include "views/ZelMotionView.h"
#include "views/ZelTouchpadView.h"
#include "views/ZelStickCheckView.h"
#include "views/ZelTutorialView.h"
#include "views/ZelUpgradeHistoryView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string_view>

namespace {
// Where the tour photographs a run under way.
constexpr double kUpgradingShotPercent = 30.0;
// Nobody listens on port 1 of the loopback: the connection is refused at once.
constexpr char kUnreachableServer[] = "http://127.0.0.1:1";
// Where the tour shows the first screens grown.
constexpr QSize kLargeWindow(1920, 1080);
// Each reply of the run the steps' picture catches leaves this much later.
constexpr int kSlowReplyMs = 4;
// The controller's restart, slowed so that the wait can be photographed.
constexpr int kSlowRestartMs = 4000;
// The stick check as a user goes through it: where the left stick settles
// at rest, how it wanders there, how fast the sticks turn and how often.
constexpr double kCheckTickSeconds = 0.02;
constexpr float kRestX = 0.03f;
constexpr float kRestY = -0.02f;
constexpr float kRestWander = 0.004f;
constexpr double kTurnPerStep = 3.0 * std::numbers::pi / 180.0;
constexpr int kStepsPerTick = 4;
constexpr double kTurns = 1.2;
// The left stick's gate is worn short down and to the left; the right one's
// is a rounded square.
constexpr double kWornReach = 0.84;
constexpr double kSquareCorner = 1.1;

double leftGate(double angle)
{
    const bool downLeft = std::cos(angle) < 0 && std::sin(angle) < 0;
    return downLeft ? kWornReach : 1.0 - 0.03 * std::pow(std::sin(2 * angle), 2);
}

double rightGate(double angle)
{
    return std::min(kSquareCorner, 1.0 / std::max(std::abs(std::cos(angle)), std::abs(std::sin(angle))));
}

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

// The connected screen shows the controller's versions and the newest release's.
bool versionsShown(ViewController* root)
{
    ZelConnectedView* connected = root->existingConnectedView();
    return shown(connected) && !connected->currentVersionLabel->text().isEmpty()
        && !connected->latestVersionLabel->text().isEmpty();
}

// The local list's file dialog, while it is open.
QFileDialog* importDialog(ViewController* root)
{
    ZelUpgradeView* upgrade = root->existingUpgradeView();
    return upgrade && upgrade->firmwareList()
        ? upgrade->firmwareList()->findChild<QFileDialog*>(QStringLiteral("importDialog"))
        : nullptr;
}

// The question before an older release is installed, while it is open.
QMessageBox* olderReleaseAlert(ViewController* root)
{
    ZelUpgradeView* upgrade = root->existingUpgradeView();
    return upgrade ? upgrade->findChild<QMessageBox*>(QStringLiteral("olderReleaseAlert")) : nullptr;
}

// The window's picture with its open dialogs on it, in the middle as a
// window-modal dialog sits: a grab holds one window only.
QPixmap pictureOf(QWidget* window, const QList<QWidget*>& dialogs)
{
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    for (QWidget* dialog : dialogs) {
        const QPixmap inner = dialog->grab();
        const QSize size = inner.size() / inner.devicePixelRatio();
        const QRect frame(QPoint((window->width() - size.width()) / 2, (window->height() - size.height()) / 2), size);
        // The dialog's own background is the platform's to paint, not the grab's.
        painter.fillRect(frame, dialog->palette().window());
        painter.setPen(dialog->palette().mid().color());
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.drawPixmap(frame.topLeft(), inner);
    }
    return picture;
}

// The dialogs open over the window.
QList<QWidget*> openDialogs(QWidget* window)
{
    QList<QWidget*> dialogs;
    for (QDialog* dialog : window->findChildren<QDialog*>())
        if (dialog->isVisible() && dialog->isWindow())
            dialogs.append(dialog);
    return dialogs;
}
}

ScreenshotTour::ScreenshotTour(
    MainWindow* window, EmbeddedDefault* embedded, ToastOverlay* toasts, const QString& folder, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_root(window->rootViewController())
    , m_embedded(embedded)
    , m_toasts(toasts)
    , m_folder(folder)
    , m_size(window->size())
{
    // Its pictures show the demo's web pages and releases from the first one on.
    m_embedded->startServers();
    m_embedded->environment().serveWebPages();
    m_poll.setInterval(50);
    connect(&m_poll, &QTimer::timeout, this, &ScreenshotTour::poll);
    buildSteps();
}

ScreenshotTour::~ScreenshotTour() = default;

QStringList ScreenshotTour::fileNames()
{
    return { QStringLiteral("home.png"), QStringLiteral("home-large.png"), QStringLiteral("connected-large.png"),
        QStringLiteral("connected-newer.png"), QStringLiteral("upgrade-choosing.png"),
        QStringLiteral("firmware-list-empty.png"), QStringLiteral("firmware-list-import.png"),
        QStringLiteral("firmware-list-local.png"), QStringLiteral("firmware-list-online.png"),
        QStringLiteral("upgrade-ready.png"), QStringLiteral("upgrade-plan.png"),
        QStringLiteral("upgrade-restarting.png"), QStringLiteral("upgrade-failed.png"),
        QStringLiteral("upgrade-cancelled.png"), QStringLiteral("upgrade-upgrading.png"),
        QStringLiteral("upgrade-steps.png"), QStringLiteral("upgrade-completed.png"),
        QStringLiteral("upgrade-history.png"), QStringLiteral("toast.png"), QStringLiteral("upgrade-older-confirm.png"),
        QStringLiteral("connected-latest.png"), QStringLiteral("server-unreachable.png"),
        QStringLiteral("keytest-rest.png"), QStringLiteral("keytest-active.png"), QStringLiteral("keytest-motion.png"),
        QStringLiteral("keytest-touchpad.png"), QStringLiteral("keytest-motors.png"),
        QStringLiteral("keytest-check-rest.png"), QStringLiteral("keytest-check-result.png"),
        QStringLiteral("keytest-check-countdown.png"), QStringLiteral("keytest-unmapped.png"),
        QStringLiteral("keytest-mapping.png"), QStringLiteral("games.png"), QStringLiteral("tutorial-offline.png") };
}

void ScreenshotTour::buildSteps()
{
    ViewController* root = m_root;
    EmbeddedDefault* embedded = m_embedded;
    const QString newest = DemoReleases::versions().last();
    auto rows = [root] {
        ZelUpgradeView* upgrade = root->existingUpgradeView();
        return upgrade && upgrade->firmwareList() ? upgrade->firmwareList()->tableView->count() : -1;
    };

    m_steps = {
        { QStringLiteral("home.png"), [] {}, [root] { return shown(root->existingHomeView()); } },
        // The first screens on a large window: grown, not lost in empty space.
        { QStringLiteral("home-large.png"), [this] { m_window->resize(kLargeWindow); },
            [this, root] {
                const ZelHomeView* home = root->existingHomeView();
                return m_window->size() == kLargeWindow
                    && home->scaler().scale() == ScreenScaler::scaleFor(home->size());
            } },
        { QStringLiteral("connected-large.png"), [embedded] { embedded->plugIn(); },
            [this, root] { return versionsShown(root) && root->existingConnectedView()->size() == kLargeWindow; } },
        { QStringLiteral("connected-newer.png"), [this] { m_window->resize(m_size); },
            [this, root] { return versionsShown(root) && root->existingConnectedView()->size() == m_size; } },
        { QStringLiteral("upgrade-choosing.png"), [root] { root->connectedView()->upgradeAction(); },
            [root] {
                ZelUpgradeView* upgrade = root->existingUpgradeView();
                return arrived(upgrade) && !upgrade->model().currentVersionText().isEmpty()
                    && !upgrade->model().latestVersionText().isEmpty();
            } },
        { QStringLiteral("firmware-list-empty.png"), [root] { root->upgradeView()->localFileAction(); },
            [root] { return shown(root->upgradeView()->firmwareList()); } },
        // Its import: the file dialog, a release archive chosen in it.
        { QStringLiteral("firmware-list-import.png"),
            [root] { root->upgradeView()->firmwareList()->importButton->click(); },
            [root] {
                QFileDialog* dialog = importDialog(root);
                if (!dialog || !dialog->isVisible())
                    return false;
                // Its folder, and the name typed as a user does (selectFile()
                // leaves alone the name box that has the focus).
                const QString name = DemoReleases::versions().value(1) + QStringLiteral(".zip");
                const QFileInfo archive(QDir(DemoReleases::folder()).absoluteFilePath(name));
                if (dialog->directory().canonicalPath() != archive.canonicalPath())
                    dialog->setDirectory(archive.absolutePath());
                if (auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    box->setText(name);
                return QFileInfo(dialog->selectedFiles().value(0)).canonicalFilePath() == archive.canonicalFilePath();
            } },
        { QStringLiteral("firmware-list-local.png"),
            [root] {
                auto* buttons = importDialog(root)->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
                buttons->button(QDialogButtonBox::Open)->click();
            },
            [rows] { return rows() > 0; } },
        { QStringLiteral("firmware-list-online.png"), [root] { root->upgradeView()->otherVersionAction(); },
            [rows] { return rows() == DemoReleases::versions().size(); } },
        { QStringLiteral("upgrade-ready.png"), [root] { root->upgradeView()->firmwareList()->didSelectRow(0); },
            [root] { return root->upgradeView()->model().offersUpgrade(); } },
        // The plan of the picked release, with the ready state's button.
        { QStringLiteral("upgrade-plan.png"), [] {},
            [root] { return root->upgradeView()->state() == ZelUpgradeView::State::Ready; } },
        // A real run against the simulated controller: one that waits for the
        // controller's slow restart and then fails on a refused checksum, and
        // its second try, caught on its way and at its outcome.
        { QStringLiteral("upgrade-restarting.png"),
            [root, embedded] {
                embedded->controller()->faults().restartDelayMs = kSlowRestartMs;
                embedded->controller()->faults().refuseChecksum = true;
                root->upgradeView()->upgradeAction();
            },
            [root] {
                const UpgradeRun* run = root->upgradeView()->run();
                return run && run->isRunning() && run->phase() == UpgradeRun::Phase::WaitingForRestart;
            } },
        { QStringLiteral("upgrade-failed.png"), [] {},
            [root] {
                const UpgradeRun* run = root->upgradeView()->run();
                return run && run->outcome() == UpgradeRun::Outcome::Failed;
            } },
        // Tried again and stopped during its download.
        { QStringLiteral("upgrade-cancelled.png"),
            [root, embedded] {
                embedded->controller()->faults() = SimFaults();
                root->upgradeView()->upgradeAction();
                root->upgradeView()->cancelAction();
            },
            [root] { return root->upgradeView()->state() == ZelUpgradeView::State::Cancelled; } },
        { QStringLiteral("upgrade-upgrading.png"),
            [root, embedded] {
                // Replies a little slower, so that the steps' picture finds the image under way.
                embedded->controller()->faults().replyDelayMs = kSlowReplyMs;
                root->upgradeView()->upgradeAction(); // try again
            },
            [root] {
                const UpgradeRun* run = root->upgradeView()->run();
                return run && run->isRunning() && run->progress() >= kUpgradingShotPercent;
            } },
        // Later in the same run: the steps done so far, the one under way, the time left.
        { QStringLiteral("upgrade-steps.png"), [] {},
            [root] {
                const UpgradeRun* run = root->upgradeView()->run();
                return run && run->isRunning() && run->phase() == UpgradeRun::Phase::Right && run->stepFraction() > 0.5;
            } },
        { QStringLiteral("upgrade-completed.png"), [embedded] { embedded->controller()->faults() = SimFaults(); },
            [root] {
                const UpgradeRun* run = root->upgradeView()->run();
                return run && run->outcome() == UpgradeRun::Outcome::Completed;
            } },
        { QStringLiteral("upgrade-history.png"), [root] { root->upgradeView()->historyAction(); },
            [root] { return shown(root->upgradeView()->history()); } },
        // Picking the release the controller already has: the toast says so.
        { QStringLiteral("toast.png"),
            [root] {
                root->upgradeView()->history()->setHidden(true);
                root->upgradeView()->otherVersionAction();
                root->upgradeView()->firmwareList()->didSelectRow(0);
            },
            [this] { return m_toasts->currentToast() && m_toasts->currentToast()->isVisible(); }, true },
        // An older release than the controller's asks first.
        { QString(), [root] { root->upgradeView()->otherVersionAction(); },
            [rows] { return rows() == DemoReleases::versions().size(); } },
        { QStringLiteral("upgrade-older-confirm.png"),
            [root] {
                ZelUpgradeView* upgrade = root->upgradeView();
                upgrade->firmwareList()->didSelectRow(int(DemoReleases::versions().size()) - 1); // the oldest
                upgrade->upgradeAction();
            },
            [root] { return olderReleaseAlert(root) && olderReleaseAlert(root)->isVisible(); } },
        { QStringLiteral("connected-latest.png"),
            [root, embedded, newest] {
                if (QMessageBox* alert = olderReleaseAlert(root))
                    alert->reject();
                // The controller as the upgrade leaves it.
                embedded->controller()->setVersions(newest);
                root->upgradeView()->closeAction();
            },
            [root, newest] {
                ZelConnectedView* connected = root->existingConnectedView();
                return shown(connected) && connected->currentVersionLabel->text() == newest
                    && connected->latestVersionLabel->text() == newest;
            } },
        // The firmware server gone: said so, with the reason and a retry.
        { QStringLiteral("server-unreachable.png"),
            [this, root] {
                m_server = ZelFirmwareDataTool::serverBaseUrl();
                ZelFirmwareDataTool::setServerOverride(QString::fromLatin1(kUnreachableServer));
                ZelFirmwareDataTool::sharedInstance().firmwares.reset();
                ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime();
                root->connectedView()->retryAction();
            },
            [root] {
                ZelConnectedView* connected = root->existingConnectedView();
                return shown(connected) && connected->latestVersionLabel->text() == localized("ServerUnreachable");
            } },
        { QStringLiteral("keytest-rest.png"),
            [this, root] {
                ZelFirmwareDataTool::setServerOverride(m_server);
                root->connectedView()->keyTestAction();
            },
            [root] { return arrived(root->existingKeyTestView()); } },
        { QStringLiteral("keytest-active.png"),
            [embedded] {
                using B = VirtualGameController::Button;
                VirtualGameController* pad = embedded->gamepad();
                for (B held : { B::A, B::Y, B::L1, B::R2, B::Up })
                    pad->press(held);
                // A few positions on the way, for the trail.
                for (float t : { 0.15f, 0.3f, 0.45f, 0.6f }) {
                    pad->moveStick(VirtualGameController::Stick::Left, t, 0.75f * t);
                    pad->moveStick(VirtualGameController::Stick::Right, -0.8f * t, -0.6f * t);
                }
                pad->setButton(B::L2, 0.35f);
            },
            [root] { return shown(root->existingKeyTestView()->buttonUp); } },
        // The motion sensors, the controller turning about two axes as the
        // keyboard turns it; the rates measured beside those it states.
        { QStringLiteral("keytest-motion.png"),
            [root, embedded] {
                using B = VirtualGameController::Button;
                VirtualGameController* pad = embedded->gamepad();
                for (B held : { B::A, B::Y, B::L1, B::R2, B::Up })
                    pad->release(held);
                pad->setButton(B::L2, 0.0f);
                pad->handleKey('R', true);
                pad->handleKey('U', true);
                root->existingKeyTestView()->showPage(ZelKeyTestView::Page::Motion);
            },
            [root] {
                const ZelMotionView* motion = root->existingKeyTestView()->motionView;
                return shown(motion) && motion->rate(GCControllerSensor::Gyroscope).intervals() > 20
                    && std::abs(motion->controller()->motion().rotation[0]) > 45.0f;
            } },
        // Two fingers on the touchpad, the second pressing harder, and the pad pressed in.
        { QStringLiteral("keytest-touchpad.png"),
            [root, embedded] {
                VirtualGameController* pad = embedded->gamepad();
                pad->handleKey('R', false);
                pad->handleKey('U', false);
                pad->touch(0, 0, 0.28f, 0.6f, 0.35f);
                pad->touch(0, 1, 0.72f, 0.35f, 0.85f);
                pad->pressTouchpad(0, true);
                root->existingKeyTestView()->showPage(ZelKeyTestView::Page::Touchpad);
            },
            [root] { return shown(root->existingKeyTestView()->touchpadView); } },
        // Each motor on its own, at a strength of its own, and the light's colours.
        { QStringLiteral("keytest-motors.png"),
            [root, embedded] {
                VirtualGameController* pad = embedded->gamepad();
                pad->lift(0, 0);
                pad->lift(0, 1);
                pad->pressTouchpad(0, false);
                ZelKeyTestView* keyTest = root->existingKeyTestView();
                keyTest->showPage(ZelKeyTestView::Page::Motors);
                keyTest->lowMotorSlider->setValue(60);
                keyTest->rightTriggerMotorSlider->setValue(35);
                keyTest->lowMotorButton->click();
            },
            [root, embedded] {
                return shown(root->existingKeyTestView()->lowMotorButton) && embedded->gamepad()->haptics().low > 0.5f;
            } },
        // The stick check: an earlier report of this controller in the
        // documents, the keys let go and the left stick settled a little off
        // centre; then the user turns each stick and presses the triggers.
        { QStringLiteral("keytest-check-rest.png"),
            [root, embedded] {
                using B = VirtualGameController::Button;
                VirtualGameController* pad = embedded->gamepad();
                for (B held : { B::A, B::Y, B::L1, B::R2, B::Up, B::L2 })
                    pad->release(held);
                pad->moveStick(VirtualGameController::Stick::Left, kRestX, kRestY);
                pad->moveStick(VirtualGameController::Stick::Right, 0.0f, 0.0f);
                root->existingKeyTestView()->showPage(ZelKeyTestView::Page::Values);
                ControllerCheckReport earlier;
                earlier.name = pad->controller()->vendorName();
                earlier.type = pad->controller()->identity().type;
                earlier.time = QDateTime::currentDateTimeUtc().addDays(-30);
                earlier.left = { 0.012, 0.004, 0.04, 4.1, { 3.8, 4.0, 4.4, 4.2 }, 100, {}, 125.0, 0.4,
                    QStringLiteral("device") };
                earlier.right = { 0.009, 0.003, 0.03, 9.6, { 9.5, 9.8, 9.4, 9.7 }, 100, {}, 125.0, 0.5,
                    QStringLiteral("device") };
                earlier.leftTrigger = { true, 0, 1, 256 };
                earlier.rightTrigger = { true, 0, 1, 256 };
                earlier.motion.present = earlier.motion.gyroscope = earlier.motion.accelerometer = true;
                earlier.motion.calibration
                    = ControllerCheckReport::Calibration { { 0.21, -0.12, 0.05 }, 0.25, 0.041, 9.79, 0 };
                earlier.save();
                root->existingKeyTestView()->checkAction();
            },
            [root] {
                const ZelKeyTestView* keyTest = root->existingKeyTestView();
                return shown(keyTest->checkPanel) && keyTest->stickCheck() && keyTest->stickCheck()->isRunning();
            } },
        { QStringLiteral("keytest-check-result.png"),
            [this] {
                m_checkStep = -1;
                m_checkDriver = Timer::scheduledTimer(kCheckTickSeconds, true, [this] { driveCheck(); });
            },
            [root] {
                const ZelKeyTestView* keyTest = root->existingKeyTestView();
                return keyTest->stickCheckView->report().has_value();
            } },
        // Checked again with the sticks left alone: the left stick's turn is
        // under way with its seconds left, and nothing of either range is
        // measured yet.
        { QStringLiteral("keytest-check-countdown.png"),
            [this] {
                m_checkDriver.reset();
                m_root->existingKeyTestView()->checkAction();
            },
            [root] {
                const ZelKeyTestView* keyTest = root->existingKeyTestView();
                const ControllerCheck* check = keyTest->stickCheck();
                return check && check->isRunning() && check->step() == ControllerCheck::Step::RotateLeft
                    && check->secondsLeft() < ControllerCheck::kStepSeconds - 1
                    && !keyTest->stickCheckView->countdownLabel->isHidden();
            } },
        // A joystick without mapping beside the controller, chosen in the panel.
        { QStringLiteral("keytest-unmapped.png"),
            [this] {
                m_checkDriver.reset();
                m_root->existingKeyTestView()->closeCheckAction();
                m_joystick = VirtualGameController::joystick(
                    GameControllerService::sharedService(), QStringLiteral("USB Flight Stick"), 8, 4, 1);
                m_joystick->plugIn();
                for (auto [index, value] :
                    { std::pair { 1, 1 }, { 4, 1 }, { 8, 21000 }, { 9, -12000 }, { 10, 32767 }, { 12, 3 } })
                    m_joystick->setRawInput(size_t(index), value);
                ZelKeyTestView* keyTest = m_root->existingKeyTestView();
                keyTest->padChooser->setCurrentIndex(keyTest->padChooser->count() - 1);
                emit keyTest->padChooser->activated(keyTest->padChooser->count() - 1);
            },
            [root] {
                const ZelKeyTestView* keyTest = root->existingKeyTestView();
                return keyTest->shownController() && !keyTest->shownController()->identity().mapped;
            } },
        // A mapping made for it: the user has given it its buttons, triggers
        // and pad, left X out, and is asked for the left stick's second axis.
        { QStringLiteral("keytest-mapping.png"),
            [this] {
                VirtualGameController* stick = m_joystick.get();
                for (size_t i = 0; i < stick->controller()->rawInputs().size(); ++i)
                    stick->setRawInput(i, 0);
                ZelKeyTestView* keyTest = m_root->existingKeyTestView();
                keyTest->mapAction();
                MappingEditor* editor = keyTest->mappingEditor();
                // Button b N, hat h0 in a direction, axis a N: moved, then let go.
                auto move = [stick](size_t raw, int value) {
                    stick->setRawInput(raw, value);
                    stick->setRawInput(raw, 0);
                };
                move(0, 1); // A
                move(1, 1); // B
                editor->skip(); // X
                move(3, 1); // Y
                move(4, 1); // L1
                move(5, 1); // R1
                move(10, 32767); // L2
                move(11, 32767); // R2
                for (int direction : { 1, 4, 8, 2 })
                    move(12, direction); // the pad
                move(8, 32767); // left stick to the right
            },
            [root] {
                const MappingEditor* editor = root->existingKeyTestView()->mappingEditor();
                return shown(root->existingKeyTestView()->mappingPanel) && editor
                    && MappingEditor::targets()[size_t(editor->index())].element == std::string_view("lefty");
            } },
        { QStringLiteral("games.png"),
            [this, root] {
                root->keyTestView()->closeMappingAction();
                m_joystick.reset();
                root->keyTestView()->closeAction();
                root->connectedView()->MFiAction();
            },
            [root] { return pageShown(root->existingMFiGameView(), root->existingMFiGameView()->webPage); } },
        // The tutorial's site out of reach: the copy that ships, with its note.
        { QStringLiteral("tutorial-offline.png"),
            [root] {
                root->MFiGameView()->closeAction();
                root->connectedView()->closeAction();
                WebHosts::setBaseOverride(QString::fromLatin1(kUnreachableServer));
                root->homeView()->tutorialBlock();
            },
            [root] {
                const ZelTutorialView* tutorial = root->existingTutorialView();
                return pageShown(tutorial, tutorial->webPage) && tutorial->webPage->isOffline();
            } },
    };
}

void ScreenshotTour::driveCheck()
{
    using Step = ControllerCheck::Step;
    using Stick = VirtualGameController::Stick;
    const ControllerCheck* check = m_root->existingKeyTestView()->stickCheck();
    VirtualGameController* pad = m_embedded->gamepad();
    if (!check || !check->isRunning())
        return;
    if (int(check->step()) != m_checkStep) {
        m_checkStep = int(check->step());
        m_checkAngle = 0;
    }
    switch (check->step()) {
    case Step::Rest: {
        const float wander = (int(m_checkAngle++) % 2 ? 1.0f : -1.0f) * kRestWander;
        pad->moveStick(Stick::Left, kRestX + wander, kRestY - wander);
        break;
    }
    case Step::RotateLeft:
    case Step::RotateRight: {
        const bool left = check->step() == Step::RotateLeft;
        const Stick stick = left ? Stick::Left : Stick::Right;
        if (m_checkAngle > kTurns * 2 * std::numbers::pi) {
            pad->moveStick(stick, 0.0f, 0.0f); // let go: the step ends once it has rested
            break;
        }
        for (int i = 0; i < kStepsPerTick; ++i) {
            const double r = left ? leftGate(m_checkAngle) : rightGate(m_checkAngle);
            pad->moveStick(stick, float(r * std::cos(m_checkAngle)), float(r * std::sin(m_checkAngle)));
            m_checkAngle += kTurnPerStep;
        }
        break;
    }
    case Step::Triggers: {
        // Both pressed fully in a few steps, then let go.
        const float level = check->trigger(true) && check->trigger(true)->highest() >= 1.0f
            ? 0.0f
            : std::min(1.0f, pad->controller()->extendedGamepad()->leftTrigger()->value() + 0.25f);
        pad->setButton(VirtualGameController::Button::L2, level);
        pad->setButton(VirtualGameController::Button::R2, level);
        break;
    }
    case Step::Motion:
        break; // the controller lies still: its sensors sample by themselves
    case Step::Done:
        break;
    }
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
            const QList<QWidget*> dialogs = openDialogs(m_window);
            const QPixmap picture = pictureOf(m_window, dialogs);
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
            for (QWidget* dialog : dialogs)
                for (const QString& fault : LayoutAudit::check(dialog))
                    m_faults.append(current.fileName + QStringLiteral(" (dialog): ") + fault);
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
