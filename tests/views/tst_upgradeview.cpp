// The upgrade screen drawing its model and passing presses on, and the
// firmware list overlay, offscreen, driving the real engine against the
// simulated controller and a release server on 127.0.0.1, in real time but
// for the screen timer a test examines.
#include "accessory/EADSessionController.h"
#include "firmware/FileHash.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/transport/EAAccessoryManager.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SimulatedController.h"
#include "support/AppFixture.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradeTimeline.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/UpgradeScreenModel.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelUpgradeHistoryView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QNetworkReply>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QtTest>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace testsupport;

namespace {
const QString kInstalled = QStringLiteral("1.0-2.3-1.5"); // not among the releases
const QString kOldest = QStringLiteral("1.0-2.2-1.4");
const QString kMiddle = QStringLiteral("1.0-2.4-1.6");
const QString kNewest = QStringLiteral("1.1-2.5-1.8");
// A restart slow enough for the countdown to show a second go by.
constexpr int kSlowRestartMs = 2500;

ZelFirmwareUpgradeManager& engine()
{
    return ZelFirmwareUpgradeManager::sharedInstance();
}

ZelFirmwareDataTool& catalogue()
{
    return ZelFirmwareDataTool::sharedInstance();
}

// The versions of the rows, without the mark an online release's row carries.
QStringList rows(const QListWidget* table)
{
    QStringList out;
    for (int i = 0; i < table->count(); ++i)
        out << table->item(i)->text().section(QStringLiteral("  ("), 0, 0);
    return out;
}

void clickRow(QListWidget* table, int row)
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row)).center());
}
} // namespace

class TestUpgradeView : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFixture> m_app;
    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    QWidget* m_window = nullptr;
    ZelUpgradeView* m_view = nullptr;
    int m_closes = 0;

    SimulatedController& sim() { return m_sim->controller(); }
    const UpgradeScreenModel& model() const { return m_view->model(); }

    // The screen's widgets, reached by their object names in its content: a
    // question box over the screen has buttons of the same names.
    template <class T = QLabel> T* widget(const char* name) const
    {
        T* found = widgetNamed<T>(m_view->contentView, name);
        if (!found)
            qFatal("the upgrade screen has no widget %s", name);
        return found;
    }
    QAbstractButton* button(const char* name) const { return widget<QAbstractButton>(name); }

    // Shows the screen and waits until it shows the controller's versions and the newest release.
    bool showScreen()
    {
        bool answered = false;
        const QMetaObject::Connection c
            = connect(&m_view->model(), &UpgradeScreenModel::latestShown, this, [&] { answered = true; });
        m_view->setHidden(false);
        const bool shown = waitUntil([&] { return answered; });
        disconnect(c);
        return shown && drawsModel() && model().currentVersionText() == sim().versionsText()
            && !model().latestVersionText().isEmpty();
    }

    // Opens the local or online list through its button and clicks the row of version.
    bool pick(const char* source, const QString& version)
    {
        QTest::mouseClick(button(source), Qt::LeftButton);
        ZelFirmwareListView* list = m_view->firmwareList();
        if (!list || list->isHidden())
            return false;
        QListWidgetItem* row = nullptr;
        // An online row carries its signature's mark after the version.
        waitUntil([&] {
            for (QListWidgetItem* item : list->tableView->findItems(version, Qt::MatchStartsWith))
                if (item->text() == version || item->text().startsWith(version + QStringLiteral("  (")))
                    row = item;
            return row != nullptr;
        });
        if (!row)
            return false;
        clickRow(list->tableView, list->tableView->row(row));
        return true;
    }

    // Presses "Upgrade Now", and confirms when an older release asks first.
    void clickUpgrade()
    {
        QTest::mouseClick(button("upgradeButton"), Qt::LeftButton);
        if (auto* box = m_view->findChild<QMessageBox*>(QStringLiteral("olderReleaseAlert")); box && box->isVisible())
            box->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
    }

    // Every widget the model speaks of shows what the model says: its
    // texts, what is hidden and what may be pressed.
    bool drawsModel() const
    {
        const UpgradeScreenModel& m = model();
        const auto same = [this](const char* name, const QString& text) {
            const QLabel* label = widget(name);
            return label->text() == text && label->isHidden() == text.isEmpty();
        };
        const auto pressable = [this](const char* name, bool offered, bool enabled) {
            const QAbstractButton* b = button(name);
            return b->isHidden() == !offered && (!offered || b->isEnabled() == enabled);
        };
        return widget("currentVersionLabel")->text() == m.currentVersionText()
            && widget("latestVersionLabel")->text() == m.latestVersionText()
            && widget("controllerLabel")->text() == m.controllerText()
            && widget("upgradePromptRedDot")->isHidden() == !m.marksNewerRelease()
            && widget("detailLabel")->text() == m.detailText() && widget("detailLabel")->isHidden() == !m.showsDetail()
            && widget("detailTitleLabel")->isHidden() == !m.showsDetailCaption()
            && button("upgradeButton")->text() == m.upgradeButtonText()
            && pressable("upgradeButton", m.offersUpgrade(), m.canPick())
            && pressable("localFileButton", m.offersPick(), m.canPick())
            && pressable("remoteFileButton", m.offersPick(), m.canPick())
            && pressable("retryButton", m.offersListRetry(), m.canRetryList())
            && pressable("cancelButton", m.offersCancel(), m.canCancel())
            && (!m.offersCancel()
                || (button("cancelButton")->text() == m.cancelButtonText()
                    && button("cancelButton")->toolTip() == m.cancelUnavailableText()
                    && button("cancelButton")->accessibleDescription() == m.cancelUnavailableText()))
            // The run's figures may wait for the frame's end (figuresPending).
            && (m_view->figuresPending()
                || (widget("progressTextLabel")->text() == m.progressText() && same("stepsLabel", m.stepsText())))
            && widget("progressTextLabel")->isHidden() == !m.showsProgressText()
            && widget("selectedFirmwareLabel")->text() == m.selectedText()
            && widget("selectedFirmwareLabel")->isHidden() == !m.showsSelected() && same("planLabel", m.planText())
            && same("upgradePromptLabel", m.promptText()) && same("phaseLabel", m.phaseText());
    }

    bool isChoosing() const { return m_view->state() == ZelUpgradeView::State::Choosing && drawsModel(); }

    bool isReady() const { return m_view->state() == ZelUpgradeView::State::Ready && drawsModel(); }

    bool isUpgrading() const { return m_view->state() == ZelUpgradeView::State::Running && drawsModel(); }

    int barWidth() const { return widget("progressBgLabel")->width(); }

    int barTarget(double percent) const { return qRound(percent * widget("progressTextLabel")->width() / 100.0); }

    // The controller leaves: the engine follows no accessory and knows none
    // of its versions.
    bool unplugController()
    {
        sim().unplug(-1);
        return waitUntil([] { return !engine().accessory(); }) && engine().bootVersion().isNull()
            && engine().leftVersion().isNull() && engine().rightVersion().isNull();
    }

    // It comes back, and the engine's session is open on it; nobody has
    // asked for its versions yet.
    bool plugControllerIn()
    {
        sim().plugIn();
        return m_sim->waitForSession() && engine().accessory();
    }

    bool readVersions()
    {
        QString versions;
        engine().checkCurrentVersion([&](const QString& v) { versions = v; });
        return waitUntil([&] { return !versions.isEmpty(); });
    }

    bool importLocal(const QString& version)
    {
        const bool imported
            = ZelDataTool::importArchive(DemoReleases::folder() + QLatin1Char('/') + version + QStringLiteral(".zip"));
        m_toasts->clear();
        return imported;
    }

    void expectToast(const char* key, double seconds)
    {
        QCOMPARE(m_toasts->texts(), QStringList { localized(key) });
        QCOMPARE(m_toasts->toasts().back().seconds, seconds);
        m_toasts->clear();
    }

private slots:
    void initTestCase()
    {
        // The engine's delays, limits and prompts keep their real lengths; a test
        // shortens only the screen's timer it examines.
        m_app = std::make_unique<AppFixture>();
        m_toasts = &m_app->toasts();
        QVERIFY(m_app->serveDemoReleases());
        m_sim = &m_app->attachSimulatedController();
        QVERIFY(m_sim->configureSession());
        engine();
    }

    void cleanupTestCase() { m_app.reset(); }

    void init()
    {
        QVERIFY(!m_app->useNewDocumentsFolder().isEmpty());
        m_toasts->clear();
        QVERIFY(sim().setVersions(kInstalled));
        m_window = new QWidget;
        m_window->resize(1024, 576);
        auto* layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSizeConstraint(QLayout::SetNoConstraint); // the offscreen platform takes no size hints
        m_view = new ZelUpgradeView(engine(), catalogue());
        layout->addWidget(m_view);
        m_view->setHidden(true);
        m_closes = 0;
        connect(m_view, &ZelUpgradeView::closeRequested, this, [this] { ++m_closes; });
        m_window->show();
    }

    void cleanup()
    {
        // Before anything more arrives: a test's clock and server are gone with it.
        catalogue().clock = [] { return QDateTime::currentDateTimeUtc(); };
        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        ReleaseSignature::forgetAddedKeys();
        QVERIFY(waitForEngineAtRest(engine(), *m_sim));
        delete m_window;
        catalogue().firmwaresDate = QDateTime();
    }

    // Upgrade screen ---------------------------------------------------------
    // What the screen shows and what may be pressed is decided by its model
    // (tst_upgradescreenmodel); here the widgets draw it and pass presses on.

    // Showing forwards to the model, which starts over; the pick buttons
    // open the lists, whose pick reaches the model; the overlays close, and
    // the close button asks whoever shows the screen.
    void showingPickingAndClosing()
    {
        QVERIFY(showScreen());
        QVERIFY(isChoosing());
        QVERIFY(pick("remoteFileButton", kMiddle));
        QVERIFY(m_view->firmwareList()->isHidden());
        QVERIFY(isReady());
        QCOMPARE(model().selected()->version, kMiddle);

        m_view->setHidden(true);
        QVERIFY(showScreen());
        QVERIFY(isChoosing());

        // Unplugging hides an open list.
        QTest::mouseClick(button("localFileButton"), Qt::LeftButton);
        QVERIFY(!m_view->firmwareList()->isHidden());
        m_view->hideFirmwareListView();
        QVERIFY(m_view->firmwareList()->isHidden());
        // Escape puts away the list or the history first.
        QTest::mouseClick(button("historyButton"), Qt::LeftButton);
        QVERIFY(!m_view->history()->isHidden());
        QVERIFY(m_view->closeOverlay());
        QVERIFY(m_view->history()->isHidden());
        QVERIFY(!m_view->closeOverlay());

        QTest::mouseClick(button("closeButton"), Qt::LeftButton);
        QCOMPARE(m_closes, 1);
    }

    void progressShowsAsTextAndBar()
    {
        QVERIFY(showScreen());
        m_view->showProgress(37.5);
        QVERIFY(isUpgrading());
        QVERIFY(widget("progressTextLabel")->width() > 100);
        QVERIFY(waitUntil([&] { return barWidth() == barTarget(37.5); }));
        const QRect track = widget("progressTextLabel")->geometry();
        const QRect bar = widget("progressBgLabel")->geometry();
        QCOMPARE(bar.topLeft(), track.topLeft());
        QCOMPARE(bar.height(), track.height());
        QCOMPARE(m_view->contentView->childAt(bar.center()), widget("progressTextLabel")); // the text stays in front
        // Figures faster than a frame: the last of them is what stays drawn.
        m_view->showProgress(40.0);
        m_view->showProgress(45.25);
        QVERIFY(waitUntil([&] {
            return widget("progressTextLabel")->text() == localized("Upgrading...") + QStringLiteral("45.25%");
        }));
        QVERIFY(drawsModel());

        m_view->setHidden(true);
        m_view->setHidden(false);
        QVERIFY(isChoosing());
        QCOMPARE(barWidth(), 0);
    }

    void aDestroyedScreenCancelsItsRun()
    {
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kMiddle));
        QVERIFY(isReady());
        const QByteArray left = sim().leftApplicationFlash();
        clickUpgrade();
        QPointer<UpgradeRun> run = m_view->run();
        QVERIFY(run && run->isRunning());
        UpgradeRun::Outcome outcome = UpgradeRun::Outcome::None;
        connect(run, &UpgradeRun::finished, this, [&](UpgradeRun::Outcome o) { outcome = o; });
        delete m_view; // during the download
        QCOMPARE(outcome, UpgradeRun::Outcome::Cancelled);
        QVERIFY(!run);
        NotificationCenter::defaultCenter().postNotification(ZelGamepadDisconnectByUpgradingFirmwareNotification, true);
        QVERIFY(!engine().isUpgradingFirmware());
        // The answers on their way reach nobody: every request answered, and its answer handed on.
        QVERIFY(waitUntil([] {
            const auto replies = QCoreApplication::instance()->findChildren<QNetworkReply*>();
            return std::all_of(
                replies.cbegin(), replies.cend(), [](const QNetworkReply* r) { return r->isFinished(); });
        }));
        drainPostedEvents();
        QCOMPARE(sim().leftApplicationFlash(), left); // nothing was sent
        QCOMPARE(UpgradeHistory().records().value(0).outcome, QStringLiteral("cancelled"));
    }

    // The whole run through the screen's buttons: each change of the model
    // is drawn as it comes, the close press is refused during the run and
    // taken after it, and the bar fills the line at the end.
    void aCompleteUpgradeFromTheOnlineList()
    {
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kNewest));
        QVERIFY(isReady());
        int draws = 0;
        bool drawnEachTime = true;
        // After the screen's own connection: the screen has drawn the change.
        connect(&m_view->model(), &UpgradeScreenModel::changed, this, [&] {
            ++draws;
            drawnEachTime = drawnEachTime && drawsModel();
        });
        clickUpgrade();
        QVERIFY(m_view->run() && m_view->run()->isRunning());
        QVERIFY(isUpgrading());

        QTest::mouseClick(button("closeButton"), Qt::LeftButton);
        expectToast("CloseUpgradeViewAlertMessage", 1.5);
        QCOMPARE(m_closes, 0);
        QVERIFY(!m_view->isHidden());

        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Completed);
        QVERIFY(drawsModel());
        QVERIFY2(drawnEachTime && draws > 10, qPrintable(QString::number(draws)));
        QVERIFY(waitUntil([&] { return barWidth() == widget("progressTextLabel")->width(); }));
        QCOMPARE(sim().versionsText(), kNewest);
        QVERIFY(m_toasts->texts().isEmpty());
        QTest::mouseClick(button("closeButton"), Qt::LeftButton);
        QCOMPARE(m_closes, 1);
    }

    // A refused pick draws the choice again, with the reason said once; a
    // refused press leaves the screen as drawn.
    void thePlanAndTheRefusalsAsDrawn()
    {
        QVERIFY(sim().setVersions(kMiddle));
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kMiddle));
        expectToast("FirmwareVersionSamePropmt", ZelUpgradeView::kMessageSeconds);
        QVERIFY(isChoosing());

        QVERIFY(pick("remoteFileButton", kNewest));
        QVERIFY(isReady());

        QVERIFY(unplugController());
        clickUpgrade();
        expectToast("ConnectGamepadPropmt", ZelUpgradeView::kMessageSeconds);
        QVERIFY(isReady());
        QVERIFY(plugControllerIn());
        QVERIFY(readVersions());
    }

    // While the controller restarts the button says "Stop waiting";
    // pressed, the run ends cancelled.
    void cancelDuringTheRestartWait()
    {
        QVERIFY(importLocal(kNewest));
        QVERIFY(showScreen());
        QVERIFY(pick("localFileButton", kNewest));
        sim().faults().restartDelayMs = kSlowRestartMs;
        clickUpgrade();
        UpgradeRun* run = m_view->run();
        const bool waiting
            = waitUntil([&] { return run->phase() == UpgradeRun::Phase::WaitingForRestart; }, 2 * kPatienceMs);
        sim().faults().restartDelayMs = SimFaults().restartDelayMs;
        QVERIFY(waiting);
        QCOMPARE(model().cancelButtonText(), localized("StopWaiting"));
        QVERIFY(isUpgrading());
        QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Cancelled);
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Cancelled);
        QVERIFY(drawsModel());
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen() && !engine().isGamepadDisconnectByUpgradingFirmware(); },
            2 * kPatienceMs));
    }

    // From an image's first message to its end acknowledgement the button
    // is disabled and says why; a cancel asked for then waits for the end.
    void cancelIsDisabledWhileAnImageIsWritten()
    {
        QVERIFY(importLocal(kNewest));
        QVERIFY(showScreen());
        QVERIFY(pick("localFileButton", kNewest));
        const QByteArray right = sim().rightFlash();
        clickUpgrade();
        UpgradeRun* run = m_view->run();
        int samples = 0;
        bool disabledWhileWriting = true;
        QString tooltip;
        connect(run, &UpgradeRun::progressChanged, this, [&] {
            if (!run->isRunning())
                return;
            ++samples;
            disabledWhileWriting
                = disabledWhileWriting && !button("cancelButton")->isEnabled() && !button("cancelButton")->isHidden();
            if (!run->cancelPending())
                tooltip = button("cancelButton")->toolTip();
        });
        bool enabledWaiting = true;
        connect(run, &UpgradeRun::phaseChanged, this, [&](UpgradeRun::Phase phase) {
            if (phase == UpgradeRun::Phase::WaitingForRestart && !run->cancelPending())
                enabledWaiting = enabledWaiting && button("cancelButton")->isEnabled();
        });
        // Mid left image: a press does nothing, a cancel asked for waits for the image's end.
        QVERIFY(waitUntil(
            [&] { return run->phase() == UpgradeRun::Phase::Left && run->stepFraction() > 0.2; }, 2 * kPatienceMs));
        QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
        QVERIFY(run->isRunning());
        QCOMPARE(button("cancelButton")->accessibleDescription(), localized("CancelUnavailableWhy"));
        QVERIFY(!run->requestCancel());
        QVERIFY(run->cancelPending());
        QCOMPARE(model().cancelButtonText(), localized("CancelPending"));
        QVERIFY(drawsModel());
        QVERIFY(waitUntil([&] { return !run->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Cancelled);
        QCOMPARE(run->reason(), localized("UpgradeCancelledAfterImage"));
        QVERIFY(samples > 10);
        QVERIFY(disabledWhileWriting);
        QVERIFY(enabledWaiting);
        QCOMPARE(tooltip, localized("CancelUnavailableWhy"));
        // The left image went in whole; the right one was not begun.
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen() && !engine().isGamepadDisconnectByUpgradingFirmware(); },
            2 * kPatienceMs));
        QCOMPARE(sim().leftApplicationFlash(), DemoReleases::leftImage(kNewest));
        QCOMPARE(sim().rightFlash(), right);
    }

    // A failed run is drawn with its reason, and "Try Again" starts a new one.
    void aFailedRunIsDrawnAndCanBeTriedAgain()
    {
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kMiddle));
        sim().faults().refuseChecksum = true;
        clickUpgrade();
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Failed);
        QVERIFY(drawsModel());
        QCOMPARE(barWidth(), 0);
        m_toasts->clear();

        sim().faults() = SimFaults();
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen(); }));
        clickUpgrade();
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Completed);
        QVERIFY(drawsModel());
        QCOMPARE(sim().versionsText(), kMiddle);
    }

    // After another controller came back from the restart in place of the
    // run's own, and stays attached: the screen names it, and "Try again"
    // sends it nothing but the questions of who it is until the user
    // confirms; cancelled, nothing at all.
    void tryAgainNeverChangesControllerUnasked()
    {
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kNewest));
        sim().faults().restartDelayMs = -1; // the run's own never comes back
        std::unique_ptr<SimulatedAttachment> other;
        QObject context;
        const int restarts = sim().restartCount();
        connect(&EAAccessoryManager::sharedAccessoryManager(), &EAAccessoryManager::accessoryDetached, &context, [&] {
            if (!other && sim().restartCount() > restarts) {
                other = std::make_unique<SimulatedAttachment>();
                other->controller().deviceInfo().btAddress = { 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF };
                other->controller().setVersions(QStringLiteral("1.0-2.2-2.3"));
            }
        });
        // Whatever happens below, the run's own controller is back for the next test.
        const auto restore = qScopeGuard([&] {
            other.reset();
            sim().faults() = SimFaults();
            if (!sim().isAttached())
                sim().plugIn();
            // The engine last followed the other controller: back to the run's own.
            engine().followAccessory(m_sim->waitForAccessory());
            QVERIFY(m_sim->waitForSession());
        });
        clickUpgrade();
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->reasonCode(), UpgradeReason::Code::DifferentControllerReturned);
        QVERIFY(other);
        // The screen names the controller it would now write to.
        QVERIFY(waitUntil(
            [&] { return model().controllerText().contains(QLatin1String("AA:BB:CC:DD:EE:FF")); }, 2 * kPatienceMs));
        const auto onlyQueries = [&] {
            for (const QByteArray& m : other->controller().receivedMessages())
                if (m != QByteArray("\x20\x9F", 2) && m != QByteArray("\x01\x01", 2))
                    return false;
            return true;
        };
        QCOMPARE(model().upgradeButtonText(), localized("TryAgain"));
        QVERIFY(drawsModel());
        QTest::mouseClick(button("upgradeButton"), Qt::LeftButton);
        auto* box = m_view->findChild<QMessageBox*>(QStringLiteral("otherControllerAlert"));
        QVERIFY(box && box->isVisible());
        QVERIFY(box->text().contains(QLatin1String("AA:BB:CC:DD:EE:FF")));
        QVERIFY(box->text().contains(QLatin1String("12:34:56:78:9A:BC")));
        QVERIFY(box->defaultButton() == box->findChild<QPushButton*>(QStringLiteral("cancelButton")));
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay));
        QVERIFY(onlyQueries());
        box->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(waitForMainQueueDelay(ZelFirmwareUpgradeManager::kResendDelay));
        QVERIFY(onlyQueries());
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Failed);
    }

    // On a slow link the time left follows the download's own rate: it
    // shrinks as the download goes on and, from a fifth of it, stays within
    // 30 % of what the run really took from then on; the bar shows what
    // the label says.
    void theTimeLeftFollowsASlowDownload()
    {
        QTemporaryDir site;
        const QString archive = site.filePath(QStringLiteral("a.zip"));
        QVERIFY(QFile::copy(DemoReleases::folder() + QLatin1Char('/') + kNewest + QStringLiteral(".zip"), archive));
        TestHttpServer slow;
        slow.root = site.path();
        slow.trickleMs = 100;
        slow.trickleBytes = 800; // 8 KB/s
        QVERIFY(QDir().mkpath(site.filePath(QStringLiteral("firmware/update"))));
        QFile list(site.filePath(QStringLiteral("firmware/update/r1")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(QStringLiteral("{\"data\":[{\"ver\":\"%1\",\"path\":\"%2/a.zip\",\"md5file\":\"%3\"}]}")
                       .arg(kNewest, slow.baseUrl(), FileHash::md5HashOfFileAtPath(archive))
                       .toUtf8());
        list.close();
        ZelFirmwareDataTool::setServerOverride(slow.baseUrl());
        catalogue().firmwaresDate = QDateTime();
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kNewest));
        clickUpgrade();
        // The estimate is judged against the download's own end: what comes
        // after it is foretold from the controller's reply time, which a loaded
        // machine stretches at will.
        struct Sample {
            double at, fraction, downloadLeft;
        };
        QList<Sample> samples;
        QElapsedTimer clock;
        clock.start();
        bool barFollowed = false;
        const QRegularExpression percent(QStringLiteral("(\\d+)%"));
        double end = -1; // the download's end
        QVERIFY(waitUntil(
            [&] {
                // A sample a quarter of a second, while the download goes on.
                if (m_view->run()->phase() == UpgradeRun::Phase::Download
                    && (samples.isEmpty() || clock.elapsed() / 1000.0 - samples.last().at >= 0.25)) {
                    const auto m = percent.match(widget("progressTextLabel")->text());
                    const double bar = 100.0 * barWidth() / std::max(1, widget("progressTextLabel")->width());
                    if (m.hasMatch() && m.captured(1).toInt() >= 20 && std::abs(bar - m.captured(1).toDouble()) < 3)
                        barFollowed = true;
                    if (m.hasMatch()) {
                        const UpgradeTimeline& timeline = m_view->run()->timeline();
                        double after = 0;
                        for (int i = timeline.current() + 1; i < timeline.steps().size(); ++i)
                            after += timeline.stepSeconds(timeline.steps().at(i));
                        samples.append({ clock.elapsed() / 1000.0, m.captured(1).toDouble() / 100.0,
                            m_view->run()->secondsLeft() - after });
                    }
                }
                if (end < 0 && !samples.isEmpty() && m_view->run()->phase() != UpgradeRun::Phase::Download)
                    end = clock.elapsed() / 1000.0;
                return !m_view->run()->isRunning();
            },
            4 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Completed);
        QVERIFY(end > 0);
        QVERIFY(barFollowed);
        int judged = 0;
        double previous = -1;
        for (const Sample& s : std::as_const(samples)) {
            if (s.fraction < 0.2 || s.fraction > 0.8)
                continue;
            const double real = end - s.at;
            QVERIFY2(std::abs(s.downloadLeft - real) <= 0.3 * real,
                qPrintable(QStringLiteral("at %1 (%2 %): %3 s of download left foretold, %4 s real")
                               .arg(s.at)
                               .arg(s.fraction * 100)
                               .arg(s.downloadLeft)
                               .arg(real)));
            if (previous >= 0)
                QVERIFY(s.downloadLeft <= previous + 1.0); // shrinks, give or take a tick
            previous = s.downloadLeft;
            ++judged;
        }
        QVERIFY2(judged >= 5, qPrintable(QString::number(judged)));
    }

    void theHistoryListsEveryRunNewestFirst()
    {
        QVERIFY(showScreen());
        QTest::mouseClick(button("historyButton"), Qt::LeftButton);
        ZelUpgradeHistoryView* history = m_view->history();
        QVERIFY(history && !history->isHidden());
        QVERIFY(!history->emptyContentPropmtLabel->isHidden());
        QCOMPARE(history->emptyContentPropmtLabel->text(), localized("HistoryEmpty"));
        QTest::mouseClick(history->closeButton, Qt::LeftButton);
        QVERIFY(history->isHidden());

        UpgradeRecord failed;
        failed.started = QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
        failed.outcome = QStringLiteral("failed");
        failed.release = kMiddle;
        failed.source = QStringLiteral("online");
        failed.before = kInstalled;
        failed.reason = localized("ChecksumRejected");
        UpgradeRecord files = failed;
        files.started = failed.started.addDays(1);
        files.outcome = QStringLiteral("completed");
        files.release = QStringLiteral("files");
        files.source = QStringLiteral("files");
        files.after = kNewest;
        files.reason.clear();
        QVERIFY(UpgradeHistory().append(failed));
        QVERIFY(UpgradeHistory().append(files));
        QTest::mouseClick(button("historyButton"), Qt::LeftButton);
        QVERIFY(history->emptyContentPropmtLabel->isHidden());
        QCOMPARE(rows(history->tableView),
            (QStringList { ZelUpgradeHistoryView::rowText(files), ZelUpgradeHistoryView::rowText(failed) }));
        const QString row = ZelUpgradeHistoryView::rowText(failed);
        QVERIFY(row.contains(localized("OutcomeFailed")));
        QVERIFY(row.contains(localized("HistoryRelease").arg(kMiddle)));
        QVERIFY(row.contains(localized("HistoryVersions").arg(kInstalled, QStringLiteral("?"))));
        QVERIFY(row.endsWith(localized("ChecksumRejected")));
        QVERIFY(ZelUpgradeHistoryView::rowText(files).contains(localized("HistoryFiles")));
        Localization::shared().setLanguage(QStringLiteral("ja"));
        QVERIFY(ZelUpgradeHistoryView::rowText(files).contains(QStringLiteral("完了")));
        Localization::shared().setLanguage(QStringLiteral("en"));

        // A file that cannot be read is named, and left as it is.
        QFile file(UpgradeHistory().path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("not json");
        file.close();
        history->setHidden(true);
        QTest::mouseClick(button("historyButton"), Qt::LeftButton);
        QVERIFY(history->tableView->isHidden());
        QCOMPARE(history->emptyContentPropmtLabel->text(), localized("HistoryUnreadable").arg(UpgradeHistory().path()));
    }

    // An older release asks first, naming both versions: cancelled, nothing
    // changes; confirmed, it installs.
    void anOlderReleaseIsInstalledOnlyWhenConfirmed()
    {
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kOldest));
        QVERIFY(isReady());
        auto alert = [&] {
            QMessageBox* box = m_view->findChild<QMessageBox*>(QStringLiteral("olderReleaseAlert"));
            return box && box->isVisible() ? box : nullptr;
        };
        QTest::mouseClick(button("upgradeButton"), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return alert() != nullptr; }));
        QCOMPARE(alert()->text(), localized("OlderReleaseConfirm").arg(kOldest, kInstalled));
        QVERIFY(!engine().isUpgradingFirmware());
        alert()->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(waitUntil([&] { return alert() == nullptr; }));
        QVERIFY(isReady());
        QVERIFY(!engine().isUpgradingFirmware());

        QTest::mouseClick(button("upgradeButton"), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return alert() != nullptr; }));
        alert()->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
        QVERIFY(waitUntil([&] { return engine().isUpgradingFirmware(); }));
        QVERIFY(waitUntil(
            [&] { return sim().versionsText() == kOldest && !engine().isUpgradingFirmware(); }, 4 * kPatienceMs));

        // A newer release asks nothing.
        QVERIFY(showScreen());
        QVERIFY(pick("remoteFileButton", kMiddle));
        QTest::mouseClick(button("upgradeButton"), Qt::LeftButton);
        QVERIFY(engine().isUpgradingFirmware());
        QVERIFY(alert() == nullptr);
        QVERIFY(waitUntil(
            [&] { return sim().versionsText() == kMiddle && !engine().isUpgradingFirmware(); }, 4 * kPatienceMs));
    }

    // With a key trusted the development server's unsigned list is refused:
    // the list the button opens says why.
    void aRefusedListSaysWhyInTheList()
    {
        QVERIFY(readVersions()); // the controller answers again after the last test's runs
        const ReleaseSignature key = ReleaseSignature::generate();
        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        QVERIFY(showScreen());
        QCOMPARE(model().latestVersionText(), localized("ReleaseListRefused"));
        QTest::mouseClick(button("remoteFileButton"), Qt::LeftButton);
        ZelFirmwareListView* list = m_view->firmwareList();
        QVERIFY(waitUntil([&] {
            return list->emptyContentPropmtLabel && !list->emptyContentPropmtLabel->isHidden()
                && list->emptyContentPropmtLabel->text() == localized("ReleaseListSignatureInvalid");
        }));
        m_view->hideFirmwareListView();
    }

    // A server that cannot be reached offers Retry; pressed, it asks again.
    void retryAsksForTheListAgain()
    {
        ZelFirmwareDataTool::setServerOverride(QStringLiteral("http://127.0.0.1:1")); // no one listens on port 1
        QVERIFY(showScreen());
        QVERIFY(model().offersListRetry());
        QVERIFY(drawsModel());
        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        QTest::mouseClick(button("retryButton"), Qt::LeftButton);
        QVERIFY(waitUntil([&] { return model().latestVersionText() == kNewest; }));
        QVERIFY(!model().offersListRetry());
        QVERIFY(drawsModel());
    }

    // Firmware list overlay ---------------------------------------------------

    void anEmptyListSaysSoAndDoesNotScroll_data()
    {
        QTest::addColumn<quint64>("type");
        QTest::addColumn<int>("status"); // of the release server; 0: the demo server
        QTest::newRow("no local release") << quint64(ZelFirmwareListTypeLocal) << 0;
        QTest::newRow("empty online list") << quint64(ZelFirmwareListTypeOnline) << 200;
        QTest::newRow("failed online query") << quint64(ZelFirmwareListTypeOnline) << 500;
    }

    void anEmptyListSaysSoAndDoesNotScroll()
    {
        QFETCH(quint64, type);
        QFETCH(int, status);
        TestHttpServer server;
        server.status = status;
        server.body = "{\"data\":[]}";
        if (status)
            ZelFirmwareDataTool::setServerOverride(server.baseUrl());
        ZelFirmwareListView list(catalogue(), m_window);
        list.setGeometry(m_window->rect());
        list.type = type;
        list.setHidden(false);
        if (type == ZelFirmwareListTypeOnline)
            QVERIFY(waitUntil([&] {
                return server.targets.size() == 1
                    && list.emptyContentPropmtLabel->text() != localized("ReleaseListLoading");
            }));
        QCOMPARE(list.tableView->count(), 0);
        QVERIFY(list.emptyContentPropmtLabel && !list.emptyContentPropmtLabel->isHidden());
        // The local list says how to add a release; a failed query says why (its own test).
        if (type == ZelFirmwareListTypeLocal)
            QCOMPARE(list.emptyContentPropmtLabel->text(), localized("EmptyLocalFirmware"));
        else if (status == 200)
            QCOMPARE(list.emptyContentPropmtLabel->text(), localized("EmptyFirmware"));
        QVERIFY(!list.tableView->verticalScrollBar()->isEnabled());

        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        QVERIFY(importLocal(kMiddle));
        list.setHidden(false);
        QVERIFY(waitUntil([&] { return list.tableView->count() > 0; }));
        QVERIFY(list.emptyContentPropmtLabel->isHidden());
        QVERIFY(list.tableView->verticalScrollBar()->isEnabled());
    }

    void rowsComeNewestFirst()
    {
        QVERIFY(importLocal(kOldest));
        QVERIFY(importLocal(kNewest));
        QVERIFY(importLocal(kMiddle));
        ZelFirmwareListView list(catalogue(), m_window);
        list.setGeometry(m_window->rect());
        QCOMPARE(rows(list.tableView), (QStringList { kNewest, kMiddle, kOldest })); // loaded on creation
        const auto detail
            = [&](int row) { return list.tableView->item(row)->data(ZelFirmwareListView::DetailRole).toString(); };
        QVERIFY(detail(0).endsWith(localized("ReleaseMarkLocalFile")));
        QCOMPARE(list.tableView->visualItemRect(list.tableView->item(0)).height(), ZelFirmwareListView::kRowHeight);
        list.type = ZelFirmwareListTypeOnline;
        list.setHidden(false);
        // The server signs nothing: each online row says so.
        QVERIFY(waitUntil(
            [&] { return list.tableView->count() == 3 && detail(0).endsWith(localized("ReleaseMarkUnsigned")); }));
        QCOMPARE(rows(list.tableView), (QStringList { kNewest, kMiddle, kOldest }));
        QVERIFY(detail(2).endsWith(localized("ReleaseMarkUnsigned")));
    }

    void theOnlineListIsReusedForFiveMinutes()
    {
        QDateTime now = QDateTime::currentDateTimeUtc();
        catalogue().clock = [&] { return now; };
        ZelFirmwareListView list(catalogue(), m_window);
        list.setGeometry(m_window->rect());
        list.type = ZelFirmwareListTypeOnline;
        list.setHidden(false);
        QVERIFY(waitUntil([&] { return list.tableView->count() == 3; }));
        const int requests = m_app->releaseServer().requestCount();

        list.hideSelf();
        list.tableView->clear();
        now = now.addSecs(qint64(ZelFirmwareDataTool::kReuseSeconds));
        list.setHidden(false);
        QCOMPARE(list.tableView->count(), 3); // at once
        QCOMPARE(m_app->releaseServer().requestCount(), requests);

        list.hideSelf();
        now = now.addSecs(1);
        list.setHidden(false);
        QVERIFY(waitUntil([&] { return m_app->releaseServer().requestCount() == requests + 1; }));
    }

    void switchingToOnlineKeepsTheLocalRowsUntilTheAnswer()
    {
        QVERIFY(importLocal(kOldest));
        ZelFirmwareListView list(catalogue(), m_window);
        list.setGeometry(m_window->rect());
        list.setHidden(false);
        QCOMPARE(rows(list.tableView), QStringList { kOldest });
        list.type = ZelFirmwareListTypeOnline;
        list.setHidden(false);
        QCOMPARE(rows(list.tableView), QStringList { kOldest });
        QVERIFY(waitUntil([&] { return list.tableView->count() == 3; }));
    }

    void anOnlineAnswerForAnEarlierLoadIsDropped()
    {
        QVERIFY(importLocal(kOldest));
        ZelFirmwareListView list(catalogue(), m_window);
        list.setGeometry(m_window->rect());
        list.type = ZelFirmwareListTypeOnline;
        list.setHidden(false);
        list.hideSelf();
        list.type = ZelFirmwareListTypeLocal;
        list.setHidden(false);
        QVERIFY(waitUntil([] { return catalogue().firmwaresDate.isValid(); })); // the online answer came
        QCOMPARE(rows(list.tableView), QStringList { kOldest });
        QCOMPARE(list.firmwares.size(), 1);
    }

    void closingAndPickingInTheList()
    {
        QVERIFY(importLocal(kOldest));
        QVERIFY(importLocal(kMiddle));
        ZelFirmwareListView list(catalogue(), m_window);
        list.setGeometry(m_window->rect());
        QList<std::optional<ZelFirmware>> picks;
        list.selectFirmwareBlock = [&](std::optional<ZelFirmware> firmware) { picks << firmware; };
        list.setHidden(false);

        clickRow(list.tableView, 1);
        QCOMPARE(picks.size(), 1);
        QVERIFY(picks[0].has_value());
        QCOMPARE(picks[0]->version, kOldest);
        QCOMPARE(picks[0]->path, list.firmwares[1].path);
        QVERIFY(!list.isHidden()); // the screen hides it, not the list itself
        QVERIFY(list.tableView->selectedItems().isEmpty());

        list.didSelectRow(2);
        list.didSelectRow(-1);
        QCOMPARE(picks.size(), 3);
        QVERIFY(!picks[1].has_value() && !picks[2].has_value());

        QCOMPARE(list.closeButton->geometry().topRight(), list.cardView->geometry().topRight());
        QTest::mouseClick(list.closeButton, Qt::LeftButton);
        QVERIFY(list.isHidden());
        QCOMPARE(picks.size(), 3);
    }
};

QTEST_MAIN(TestUpgradeView)
#include "tst_upgradeview.moc"
