// The upgrade screen and the firmware list overlay, offscreen, driving the
// real engine against the simulated controller and a release server on
// 127.0.0.1, in real time but for the screen timer a test examines.
#include "accessory/EADSessionController.h"
#include "firmware/FileHash.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/transport/EAAccessoryManager.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"
#include "sim/SimulatedController.h"
#include "support/AppFixture.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeTimeline.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/UpgradeScreenModel.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelUpgradeHistoryView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

    // Shows the screen and waits until it shows the controller's versions and the newest release.
    bool showScreen()
    {
        bool answered = false;
        const QMetaObject::Connection c
            = connect(&m_view->model(), &UpgradeScreenModel::latestShown, this, [&] { answered = true; });
        m_view->setHidden(false);
        const bool shown = waitUntil([&] { return answered; });
        disconnect(c);
        return shown && m_view->currentVersionLabel->text() == sim().versionsText()
            && !m_view->latestVersionLabel->text().isEmpty();
    }

    // Opens the local or online list through its button and clicks the row of version.
    bool pick(QAbstractButton* source, const QString& version)
    {
        QTest::mouseClick(source, Qt::LeftButton);
        ZelFirmwareListView* list = m_view->firmwareListView;
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
        QTest::mouseClick(m_view->upgradeButton, Qt::LeftButton);
        if (auto* box = m_view->findChild<QMessageBox*>(QStringLiteral("olderReleaseAlert")); box && box->isVisible())
            box->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
    }

    bool isChoosing() const
    {
        return m_view->state() == ZelUpgradeView::State::Choosing
            && m_view->progressTextLabel->text() == localized("SelectAFirmware");
    }

    // Every widget the model speaks of shows what the model says.
    bool drawsModel() const
    {
        const UpgradeScreenModel& m = m_view->model();
        const auto same = [](const QLabel* label, const QString& text) {
            return label->text() == text && label->isHidden() == text.isEmpty();
        };
        return m_view->currentVersionLabel->text() == m.currentVersionText()
            && m_view->latestVersionLabel->text() == m.latestVersionText()
            && m_view->controllerLabel->text() == m.controllerText()
            && m_view->upgradePromptRedDot->isHidden() == !m.marksNewerRelease()
            && m_view->detailLabel->text() == m.detailText() && m_view->detailLabel->isHidden() == !m.showsDetail()
            && m_view->detailTitleLabel->isHidden() == !m.showsDetailCaption()
            && m_view->upgradeButton->text() == m.upgradeButtonText()
            && m_view->upgradeButton->isHidden() == !m.offersUpgrade()
            && m_view->upgradeButton->isEnabled() == m.canPick()
            && m_view->localFileButton->isHidden() == !m.offersPick()
            && m_view->remoteFileButton->isEnabled() == m.canPick()
            && m_view->cancelButton->isHidden() == !m.offersCancel()
            && (!m.offersCancel()
                || (m_view->cancelButton->text() == m.cancelButtonText()
                    && m_view->cancelButton->isEnabled() == m.canCancel()))
            // The run's figures may wait for the frame's end (figuresPending).
            && (m_view->figuresPending()
                || (m_view->progressTextLabel->text() == m.progressText() && same(m_view->stepsLabel, m.stepsText())))
            && m_view->progressTextLabel->isHidden() == !m.showsProgressText()
            && m_view->selectedFirmwareLabel->isHidden() == !m.showsSelected() && same(m_view->planLabel, m.planText())
            && same(m_view->upgradePromptLabel, m.promptText()) && same(m_view->phaseLabel, m.phaseText())
            && m_view->retryButton->isHidden() == !m.offersListRetry();
    }

    bool isReady() const { return m_view->state() == ZelUpgradeView::State::Ready; }

    bool isUpgrading() const { return m_view->state() == ZelUpgradeView::State::Running; }

    int barTarget(double percent) const { return qRound(percent * m_view->progressTextLabel->width() / 100.0); }

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
        m_view->closeBlock = [this] { ++m_closes; };
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

    void showingStartsOverInTheChoosingState()
    {
        QVERIFY(showScreen());
        QVERIFY(isChoosing());
        QVERIFY(pick(m_view->remoteFileButton, kMiddle));
        QVERIFY(m_view->firmwareListView->isHidden());
        QVERIFY(isReady());
        QCOMPARE(m_view->selectedFirmwareLabel->text(), localized("SelectedFirmware") + localized(":") + kMiddle);

        m_view->setHidden(true);
        QVERIFY(showScreen());
        QVERIFY(isChoosing());
        QVERIFY(m_view->selectedFirmwareLabel->isHidden());
        QVERIFY(engine().latestFirmwareVersion().isEmpty()); // the earlier pick is gone from the engine too

        // Without a controller a pick changes nothing, nor does showing again.
        QVERIFY(unplugController());
        QVERIFY(pick(m_view->remoteFileButton, kMiddle));
        QVERIFY(isChoosing());
        m_view->setHidden(true);
        m_view->setHidden(false);
        QVERIFY(isChoosing());
        QVERIFY(m_view->selectedFirmwareLabel->isHidden());
        QVERIFY(m_toasts->texts().isEmpty());
        QVERIFY(plugControllerIn());

        // Unplugging hides an open list.
        QTest::mouseClick(m_view->localFileButton, Qt::LeftButton);
        QVERIFY(!m_view->firmwareListView->isHidden());
        m_view->hideFirmwareListView();
        QVERIFY(m_view->firmwareListView->isHidden());

        QTest::mouseClick(m_view->closeButton, Qt::LeftButton);
        QCOMPARE(m_closes, 1);
    }

    void progressShowsAsTextAndBar()
    {
        QVERIFY(showScreen());
        m_view->showProgress(37.5);
        QCOMPARE(m_view->progressTextLabel->text(), localized("Upgrading...") + QStringLiteral("37.50%"));
        QVERIFY(isUpgrading());
        QCOMPARE(m_view->upgradePromptLabel->text(), localized("UpgradeWarning"));
        QVERIFY(m_view->progressTextLabel->width() > 100);
        QVERIFY(waitUntil([&] { return m_view->progressBgLabel->width() == barTarget(37.5); }));
        const QRect track = m_view->progressTextLabel->geometry();
        const QRect bar = m_view->progressBgLabel->geometry();
        QCOMPARE(bar.topLeft(), track.topLeft());
        QCOMPARE(bar.height(), track.height());
        QCOMPARE(
            m_view->contentView->childAt(bar.center()), m_view->progressTextLabel.data()); // the text stays in front
        // Figures faster than a frame: the last of them is what stays drawn.
        m_view->showProgress(40.0);
        m_view->showProgress(45.25);
        QVERIFY(waitUntil(
            [&] { return m_view->progressTextLabel->text() == localized("Upgrading...") + QStringLiteral("45.25%"); }));
        QVERIFY(drawsModel());

        // A notice about the controller means nothing without a run of this screen's.
        NotificationCenter::defaultCenter().postNotification(
            ZelGamepadDisconnectByUpgradingFirmwareNotification, false);
        drainPostedEvents(); // where the notice would arrive
        QCOMPARE(m_view->upgradePromptLabel->text(), localized("UpgradeWarning"));

        m_view->setHidden(true);
        m_view->setHidden(false);
        QVERIFY(isChoosing());
        QCOMPARE(m_view->progressBgLabel->width(), 0);
    }

    void aDestroyedScreenCancelsItsRun()
    {
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kMiddle));
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

    void aCompleteUpgradeFromTheOnlineList()
    {
        QVERIFY(showScreen());
        QVERIFY(!m_view->upgradePromptRedDot->isHidden());
        QVERIFY(pick(m_view->remoteFileButton, kNewest));
        QVERIFY(isReady());
        clickUpgrade();
        QVERIFY(m_view->run() && m_view->run()->isRunning());
        // Downloading: nothing that would start or replace the run can be pressed.
        QVERIFY(isUpgrading());
        QVERIFY(!m_view->upgradeButton->isEnabled());
        QVERIFY(!m_view->localFileButton->isEnabled());
        QVERIFY(!m_view->remoteFileButton->isEnabled());
        QVERIFY(drawsModel());
        // What the screen says before the outcome never claims completion.
        QStringList beforeOutcome;
        bool ended = false;
        connect(m_view->run(), &UpgradeRun::finished, this, [&] { ended = true; });
        connect(m_view->run(), &UpgradeRun::progressChanged, this, [&] {
            if (!ended)
                beforeOutcome << m_view->progressTextLabel->text();
        });
        // The step line beside the choice, as the run moves on.
        QStringList steps;
        const auto recordStep = [&] {
            if (!m_view->phaseLabel->isHidden() && (steps.isEmpty() || steps.last() != m_view->phaseLabel->text()))
                steps << m_view->phaseLabel->text();
        };
        connect(m_view->run(), &UpgradeRun::phaseChanged, this, recordStep);
        connect(m_view->run(), &UpgradeRun::downloadProgress, this, recordStep);

        QTest::mouseClick(m_view->closeButton, Qt::LeftButton);
        expectToast("CloseUpgradeViewAlertMessage", 1.5);
        QCOMPARE(m_closes, 0);
        QVERIFY(!m_view->isHidden());

        QVERIFY(waitUntil([&] {
            return m_view->upgradePromptLabel->text() == localized("GamepadDisconnectByUpgradingFirmwarePrompt");
        }));
        QVERIFY(waitUntil([&] { return ended; }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Completed);
        QCOMPARE(m_view->progressTextLabel->text(), localized("UpgradeCompleted"));
        QCOMPARE(m_view->upgradePromptLabel->text(), localized("UpgradeSucceeded").arg(kNewest));
        QCOMPARE(m_view->currentVersionLabel->text(), kNewest); // as read back
        QVERIFY(drawsModel());
        QVERIFY(m_view->phaseLabel->isHidden());
        const QString downloaded = localized("PhaseDownloadSize").section(QStringLiteral("%1"), 0, 0);
        QVERIFY2(std::any_of(steps.begin(), steps.end(), [&](const QString& s) { return s.startsWith(downloaded); }),
            qPrintable(steps.join(u'|')));
        for (const QString& step : { localized("PhaseDigestCheck"), localized("PhaseUnpack"),
                 localized("PhaseBootLoader"), localized("PhaseLeft"), localized("PhaseRight"),
                 localized("PhaseVersions"), localized("PhaseRestart") })
            QVERIFY2(steps.contains(step), qPrintable(step + QStringLiteral(" not in ") + steps.join(u'|')));
        QVERIFY(!beforeOutcome.isEmpty());
        for (const QString& text : std::as_const(beforeOutcome)) {
            QVERIFY2(
                text != localized("UpgradeCompleted") && !text.contains(QStringLiteral("100.00")), qPrintable(text));
        }
        QVERIFY(m_view->selectedFirmwareLabel->isHidden());
        QVERIFY(m_view->localFileButton->isHidden());
        QVERIFY(waitUntil([&] { return m_view->progressBgLabel->width() == m_view->progressTextLabel->width(); }));

        // The outcome stays until the user moves on; the dot agrees with the
        // versions read back.
        QVERIFY(waitForMainQueueDelay(1.0));
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Completed);
        QCOMPARE(m_view->upgradePromptLabel->text(), localized("UpgradeSucceeded").arg(kNewest));
        QVERIFY(m_view->upgradePromptRedDot->isHidden());
        QCOMPARE(sim().versionsText(), kNewest);
        QCOMPARE(sim().rightFlash(), DemoReleases::rightImage(kNewest));
        QCOMPARE(sim().leftApplicationFlash(), DemoReleases::leftImage(kNewest));
        QVERIFY(m_toasts->texts().isEmpty());
        const UpgradeRecord record = UpgradeHistory().records().value(0);
        QCOMPARE(record.outcome, QStringLiteral("completed"));
        QCOMPARE(record.after, kNewest);
        QCOMPARE(record.before, kInstalled);
        QTest::mouseClick(m_view->closeButton, Qt::LeftButton);
        QCOMPARE(m_closes, 1);
    }

    // While the controller restarts the step line says so without a second
    // count beside the run's one time left; a restart that takes clearly
    // longer than foretold is said to.
    void theRestartSaysWhenItTakesLonger()
    {
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kNewest));
        QVERIFY(isReady());
        // Longer than the restart foretold and its grace, well within the engine's limit.
        sim().faults().restartDelayMs = 8000;
        clickUpgrade();
        const bool restarting
            = waitUntil([&] { return m_view->phaseLabel->text() == localized("PhaseRestart"); }, 2 * kPatienceMs);
        const bool longer = restarting
            && waitUntil(
                [&] { return m_view->phaseLabel->text() == localized("PhaseRestartLonger"); }, 2 * kPatienceMs);
        const QString steps = m_view->stepsLabel->text();
        sim().faults().restartDelayMs = SimFaults().restartDelayMs;
        QVERIFY(restarting);
        QVERIFY(longer);
        QCOMPARE(steps.count(localized("StepsTimeLeft").section(QStringLiteral("%1"), 0, 0)), 1);
        QVERIFY(!steps.contains(QLatin1Char('%')));
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Completed);
        QVERIFY(m_view->phaseLabel->isHidden());
    }

    // Picked, a release shows its plan and its own notes instead of the
    // newest one's; a refused pick draws the choice again, with the reason
    // said once.
    void thePlanAndTheRefusalsAsDrawn()
    {
        QVERIFY(sim().setVersions(kMiddle));
        QVERIFY(showScreen());
        QVERIFY(drawsModel());
        QVERIFY(pick(m_view->remoteFileButton, kMiddle));
        expectToast("FirmwareVersionSamePropmt", ZelUpgradeView::kMessageSeconds);
        QVERIFY(isChoosing());
        QVERIFY(m_view->upgradeButton->isHidden());
        QVERIFY(!m_view->progressTextLabel->isHidden());
        QVERIFY(!m_view->selectedFirmwareLabel->isHidden());
        QVERIFY(drawsModel());

        QVERIFY(pick(m_view->remoteFileButton, kNewest));
        QVERIFY(isReady());
        QVERIFY(!m_view->planLabel->isHidden());
        QVERIFY(m_view->planLabel->text().contains(localized("PlanSendsSizesLater")));
        QVERIFY(!m_view->upgradeButton->isHidden() && m_view->upgradeButton->isEnabled());
        QVERIFY(m_view->progressTextLabel->isHidden());
        const ZelFirmware newest = *std::find_if(catalogue().firmwares->cbegin(), catalogue().firmwares->cend(),
            [](const ZelFirmware& f) { return f.version == kNewest; });
        QCOMPARE(m_view->detailLabel->text(), newest.updateInfo);
        QVERIFY(!m_view->detailLabel->isHidden() && !m_view->detailTitleLabel->isHidden());
        QVERIFY(drawsModel());

        // A refused press leaves the screen as drawn.
        QVERIFY(unplugController());
        clickUpgrade();
        expectToast("ConnectGamepadPropmt", ZelUpgradeView::kMessageSeconds);
        QVERIFY(isReady());
        QVERIFY(drawsModel());
        QVERIFY(plugControllerIn());
        QVERIFY(readVersions());
    }

    // The step list during the run: each step done, under way or to come,
    // the time left; the estimate at the press of the demo run's order of
    // length.
    void theStepsDuringTheRunAndTheEstimate()
    {
        QVERIFY(importLocal(kNewest));
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->localFileButton, kNewest));
        // The demo controller's restart, not the shortened one of the tests.
        const int restartMs = sim().faults().restartDelayMs;
        sim().faults().restartDelayMs = SimFaults().restartDelayMs;
        QElapsedTimer clock;
        clock.start();
        clickUpgrade();
        UpgradeRun* run = m_view->run();
        QVERIFY(run && run->isRunning());
        const double estimate = run->estimatedSeconds();
        // Step states seen at each phase: never more than one under way, and the done ones only grow.
        int mostDone = 0;
        bool oneUnderWay = true;
        QString mid; // the left image under way: two steps done
        connect(run, &UpgradeRun::phaseChanged, this, [&](UpgradeRun::Phase phase) {
            int done = 0, underWay = 0;
            for (const UpgradeTimeline::Step& step : run->timeline().steps()) {
                done += step.state == UpgradeTimeline::State::Done;
                underWay += step.state == UpgradeTimeline::State::UnderWay;
            }
            oneUnderWay = oneUnderWay && underWay == 1 && done >= mostDone;
            mostDone = done;
            if (phase == UpgradeRun::Phase::Left)
                mid = m_view->stepsLabel->text();
        });
        QVERIFY(waitUntil([&] { return !run->isRunning(); }, 2 * kPatienceMs));
        const double actual = double(clock.elapsed()) / 1000.0;
        sim().faults().restartDelayMs = restartMs;
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Completed);
        QVERIFY(oneUnderWay);
        // Boot loader, restart, left, restart, right, read-back.
        QCOMPARE(run->timeline().steps().size(), 6);
        QCOMPARE(mostDone, 5);
        // How close the estimate comes is a figure of the machine's load: a
        // busy or instrumented build runs slower than its version query
        // foretold, three times slower in a sanitizer build beside two other
        // tests. A test only catches an estimate of the wrong kind, such as
        // seconds read as milliseconds or none at all; load only ever makes
        // the run longer, so the upper bound stays close.
        QVERIFY2(estimate >= actual / 10.0 && estimate <= actual * 3.0,
            qPrintable(QStringLiteral("estimated %1 s, took %2 s").arg(estimate).arg(actual)));
        // A line a stage: the boot loader with its restart done, the left side under way.
        QVERIFY2(mid.count(QStringLiteral("\u2713")) == 1 && mid.contains(QStringLiteral("\u25B6"))
                && mid.contains(localized("StepsTimeLeft").section(QStringLiteral("%1"), 0, 0)),
            qPrintable(QString(mid).replace(QLatin1Char(0x0a), QLatin1Char(0x7c))));
        const QString after = m_view->stepsLabel->text();
        QCOMPARE(after.count(QStringLiteral("\u2713")), 4);
        QVERIFY(!after.contains(localized("StepsTimeLeft").section(QStringLiteral("%1"), 0, 0)));
    }

    // Stopped during a download that has stalled: nothing unpacked or sent,
    // the partial file gone, the outcome cancelled in the history.
    void cancelDuringAStalledDownload()
    {
        QTemporaryDir site;
        TestHttpServer host;
        host.root = site.path();
        host.stallAfterBodyBytes = 48 * 1024;
        ReleaseServer releases(DemoReleases::folder());
        QString error;
        QVERIFY2(SitePublisher::publish(releases, site.path(), host.baseUrl(), nullptr, &error), qPrintable(error));
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());
        catalogue().firmwaresDate = QDateTime();
        host.stallAfterBodyBytes = -1; // the list comes whole
        QVERIFY(showScreen());
        host.stallAfterBodyBytes = 48 * 1024;
        QVERIFY(pick(m_view->remoteFileButton, kNewest));
        const QByteArray left = sim().leftApplicationFlash();
        const QByteArray right = sim().rightFlash();
        clickUpgrade();
        UpgradeRun* run = m_view->run();
        // The archive's request is out; its answer stalls after its headers and a part of the body.
        QVERIFY(waitUntil([&] {
            return run->phase() == UpgradeRun::Phase::Download
                && std::any_of(
                    host.targets.cbegin(), host.targets.cend(), [](const QByteArray& t) { return t.endsWith(".zip"); });
        }));
        QCOMPARE(run->bytesSent(), 0);
        const QString documents = DocumentsDirectory::path();
        const auto zips
            = [&] { return QDir(documents).entryList({ QStringLiteral("*.zip*") }, QDir::Files | QDir::Hidden); };
        QVERIFY(!m_view->cancelButton->isHidden() && m_view->cancelButton->isEnabled());
        QCOMPARE(m_view->cancelButton->text(), localized("Cancel"));
        QVERIFY(drawsModel());
        QTest::mouseClick(m_view->cancelButton, Qt::LeftButton);
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Cancelled);
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Cancelled);
        QCOMPARE(m_view->upgradePromptLabel->text(),
            localized("UpgradeCancelled") + QLatin1Char(' ') + localized("OutcomeNothingInstalled"));
        QVERIFY(m_view->cancelButton->isHidden());
        QCOMPARE(m_view->upgradeButton->text(), localized("TryAgain"));
        QVERIFY(drawsModel());
        QVERIFY(waitUntil([&] { return zips().isEmpty(); })); // no partial file stays
        QVERIFY(!QDir(documents + QLatin1Char('/') + DocumentStore::kRemoteReleases + QLatin1Char('/')
            + ZelFirmwareDataTool::kProductFolder)
                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                     .contains(kNewest));
        drainPostedEvents();
        QCOMPARE(sim().leftApplicationFlash(), left);
        QCOMPARE(sim().rightFlash(), right);
        QCOMPARE(UpgradeHistory().records().value(0).outcome, QStringLiteral("cancelled"));
    }

    // While the controller restarts the button says "Stop waiting"; pressed,
    // the run ends cancelled and the controller is followed when it is back.
    void cancelDuringTheRestartWait()
    {
        QVERIFY(importLocal(kNewest));
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->localFileButton, kNewest));
        sim().faults().restartDelayMs = kSlowRestartMs;
        clickUpgrade();
        UpgradeRun* run = m_view->run();
        const bool waiting
            = waitUntil([&] { return run->phase() == UpgradeRun::Phase::WaitingForRestart; }, 2 * kPatienceMs);
        sim().faults().restartDelayMs = SimFaults().restartDelayMs;
        QVERIFY(waiting);
        QVERIFY(m_view->cancelButton->isEnabled());
        QCOMPARE(m_view->cancelButton->text(), localized("StopWaiting"));
        QVERIFY(drawsModel());
        QVERIFY(run->restartSecondsLeft() > 0 && run->restartSecondsLeft() <= engine().settings().restartWait);
        QTest::mouseClick(m_view->cancelButton, Qt::LeftButton);
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Cancelled);
        QCOMPARE(run->reason(), localized("RestartWaitStopped"));
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Cancelled);
        const UpgradeRecord record = UpgradeHistory().records().value(0);
        QCOMPARE(record.outcome, QStringLiteral("cancelled"));
        QCOMPARE(record.reason, localized("RestartWaitStopped"));
        // Back from its restart, the controller is followed and answers again; nothing more was sent.
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen() && !engine().isGamepadDisconnectByUpgradingFirmware(); },
            2 * kPatienceMs));
        QVERIFY(readVersions());
        QCOMPARE(sim().versionsText().section(QLatin1Char('-'), 1), kInstalled.section(QLatin1Char('-'), 1));
    }

    // From an image's first message to its end acknowledgement the button
    // is disabled and says why; a cancel asked for then waits for the end.
    void cancelIsDisabledWhileAnImageIsWritten()
    {
        QVERIFY(importLocal(kNewest));
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->localFileButton, kNewest));
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
                = disabledWhileWriting && !m_view->cancelButton->isEnabled() && !m_view->cancelButton->isHidden();
            if (!run->cancelPending())
                tooltip = m_view->cancelButton->toolTip();
        });
        bool enabledWaiting = true;
        connect(run, &UpgradeRun::phaseChanged, this, [&](UpgradeRun::Phase phase) {
            if (phase == UpgradeRun::Phase::WaitingForRestart && !run->cancelPending())
                enabledWaiting = enabledWaiting && m_view->cancelButton->isEnabled();
        });
        // Mid left image: a press does nothing, a cancel asked for waits for the image's end.
        QVERIFY(waitUntil(
            [&] { return run->phase() == UpgradeRun::Phase::Left && run->stepFraction() > 0.2; }, 2 * kPatienceMs));
        QTest::mouseClick(m_view->cancelButton, Qt::LeftButton);
        QVERIFY(run->isRunning());
        QCOMPARE(m_view->cancelButton->accessibleDescription(), localized("CancelUnavailableWhy"));
        QVERIFY(!run->requestCancel());
        QVERIFY(run->cancelPending());
        QCOMPARE(m_view->cancelButton->text(), localized("CancelPending"));
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

    void aFailedRunSaysWhyAndCanBeTriedAgain()
    {
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kMiddle));
        sim().faults().refuseChecksum = true;
        clickUpgrade();
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Failed);
        QCOMPARE(m_view->run()->reason(), localized("ChecksumRejected"));
        // The left side went in before the right one was refused: the
        // versions read back say so, and the screen shows them.
        QCOMPARE(m_view->run()->versionsAfter(), QStringLiteral("1.0-2.4-1.5"));
        QCOMPARE(m_view->upgradePromptLabel->text(),
            localized("ChecksumRejected") + QLatin1Char(' ')
                + localized("OutcomeInstalled").arg(localized("StepImageLeft") + QStringLiteral(" 2.4"))
                + QLatin1Char(' ') + localized("OutcomeNotInstalled").arg(localized("StepImageRight")));
        QCOMPARE(m_view->currentVersionLabel->text(), QStringLiteral("1.0-2.4-1.5"));
        QVERIFY(drawsModel());
        // The step list ticks only what the controller holds: the right
        // side went out whole and was refused.
        const QStringList steps = m_view->stepsLabel->text().split(QLatin1Char('\n'));
        const auto stepFor = [&steps](const char* image) {
            const QString name = localized(image);
            return *std::find_if(steps.cbegin(), steps.cend(), [&](const QString& l) { return l.contains(name); });
        };
        QVERIFY2(
            stepFor("StepImageLeft").startsWith(QStringLiteral("\u2713")), qPrintable(steps.join(QLatin1Char('|'))));
        QVERIFY2(
            stepFor("StepImageRight").startsWith(QStringLiteral("\u2717")), qPrintable(steps.join(QLatin1Char('|'))));
        QVERIFY2(
            stepFor("StepReadBack").startsWith(QStringLiteral("\u2713")), qPrintable(steps.join(QLatin1Char('|'))));
        QVERIFY(!m_view->upgradePromptRedDot->isHidden()); // the release is still newer than what the controller runs
        QVERIFY(!m_view->upgradePromptLabel->isHidden());
        QCOMPARE(m_view->progressBgLabel->width(), 0);
        // The left side went in; the right one is still needed, so the run can start again.
        QVERIFY(!m_view->upgradeButton->isHidden());
        QVERIFY(m_view->upgradeButton->isEnabled());
        QCOMPARE(m_view->upgradeButton->text(), localized("TryAgain"));
        QVERIFY(m_view->localFileButton->isEnabled() && !m_view->localFileButton->isHidden());
        m_toasts->clear();

        sim().faults() = SimFaults();
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen(); }));
        clickUpgrade();
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(m_view->progressTextLabel->text(), localized("UpgradeCompleted"));
        QCOMPARE(sim().versionsText(), kMiddle);

        // Unplugged during a run: what the controller now runs cannot be
        // read, and the screen says so; it names no controller, and a new
        // try says what stands in the way.
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kOldest));
        sim().faults().unplugAtPacket = 3;
        sim().faults().unplugReturnMs = -1;
        clickUpgrade();
        QVERIFY(waitUntil([&] { return !m_view->run()->isRunning(); }, 2 * kPatienceMs));
        QCOMPARE(m_view->run()->outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(m_view->upgradePromptLabel->text(),
            localized("GamepadDisconnectManuallyPrompt") + QLatin1Char(' ') + localized("OutcomeUnknown"));
        QVERIFY2(
            m_view->stepsLabel->text().contains(QStringLiteral("?\u00A0")), qPrintable(m_view->stepsLabel->text()));
        QVERIFY(!m_view->stepsLabel->text().contains(QStringLiteral("\u2717")));
        QVERIFY(waitUntil([&] { return m_view->controllerLabel->text() == localized("ControllerNotAttached"); }));
        QVERIFY(!m_view->upgradeButton->isHidden());
        QCOMPARE(m_view->upgradeButton->text(), localized("TryAgain"));
        clickUpgrade();
        QVERIFY(m_toasts->texts().contains(localized("ConnectGamepadPropmt")));
        QCOMPARE(m_view->state(), ZelUpgradeView::State::Failed);
        sim().faults() = SimFaults();
        sim().plugIn();
        QVERIFY(m_sim->waitForSession());
        m_toasts->clear();
    }

    // After another controller came back from the restart in place of the
    // run's own, and stays attached: the screen names it, and "Try again"
    // sends it nothing but the questions of who it is until the user
    // confirms; cancelled, nothing at all.
    void tryAgainNeverChangesControllerUnasked()
    {
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kNewest));
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
        QVERIFY(waitUntil([&] { return m_view->controllerLabel->text().contains(QLatin1String("AA:BB:CC:DD:EE:FF")); },
            2 * kPatienceMs));
        const auto onlyQueries = [&] {
            for (const QByteArray& m : other->controller().receivedMessages())
                if (m != QByteArray("\x20\x9F", 2) && m != QByteArray("\x01\x01", 2))
                    return false;
            return true;
        };
        QCOMPARE(m_view->upgradeButton->text(), localized("TryAgain"));
        QTest::mouseClick(m_view->upgradeButton, Qt::LeftButton);
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
        QVERIFY(pick(m_view->remoteFileButton, kNewest));
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
                    const auto m = percent.match(m_view->progressTextLabel->text());
                    const double bar
                        = 100.0 * m_view->progressBgLabel->width() / std::max(1, m_view->progressTextLabel->width());
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
        QTest::mouseClick(m_view->historyButton, Qt::LeftButton);
        ZelUpgradeHistoryView* history = m_view->historyView;
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
        QTest::mouseClick(m_view->historyButton, Qt::LeftButton);
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
        QTest::mouseClick(m_view->historyButton, Qt::LeftButton);
        QVERIFY(history->tableView->isHidden());
        QCOMPARE(history->emptyContentPropmtLabel->text(), localized("HistoryUnreadable").arg(UpgradeHistory().path()));
    }

    void theRedDotMarksANewerRelease()
    {
        QVERIFY(showScreen());
        QCOMPARE(m_view->latestVersionLabel->text(), kNewest);
        QVERIFY(!m_view->upgradePromptRedDot->isHidden());
        QVERIFY(!m_view->detailLabel->isHidden() && !m_view->detailTitleLabel->isHidden());
        QCOMPARE(m_view->detailLabel->text(), catalogue().firmwares->first().updateInfo);
        QVERIFY(!m_view->detailLabel->text().isEmpty());

        QVERIFY(sim().setVersions(kNewest));
        m_view->setHidden(true);
        QVERIFY(showScreen());
        QVERIFY(m_view->upgradePromptRedDot->isHidden());
    }

    // An older release asks first, naming both versions: cancelled, nothing
    // changes; confirmed, it installs.
    void anOlderReleaseIsInstalledOnlyWhenConfirmed()
    {
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kOldest));
        QVERIFY(isReady());
        auto alert = [&] {
            QMessageBox* box = m_view->findChild<QMessageBox*>(QStringLiteral("olderReleaseAlert"));
            return box && box->isVisible() ? box : nullptr;
        };
        QTest::mouseClick(m_view->upgradeButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return alert() != nullptr; }));
        QCOMPARE(alert()->text(), localized("OlderReleaseConfirm").arg(kOldest, kInstalled));
        QVERIFY(!engine().isUpgradingFirmware());
        alert()->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(waitUntil([&] { return alert() == nullptr; }));
        QVERIFY(isReady());
        QVERIFY(!engine().isUpgradingFirmware());

        QTest::mouseClick(m_view->upgradeButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return alert() != nullptr; }));
        alert()->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
        QVERIFY(waitUntil([&] { return engine().isUpgradingFirmware(); }));
        QVERIFY(waitUntil(
            [&] { return sim().versionsText() == kOldest && !engine().isUpgradingFirmware(); }, 4 * kPatienceMs));

        // A newer release asks nothing.
        QVERIFY(showScreen());
        QVERIFY(pick(m_view->remoteFileButton, kMiddle));
        QTest::mouseClick(m_view->upgradeButton, Qt::LeftButton);
        QVERIFY(engine().isUpgradingFirmware());
        QVERIFY(alert() == nullptr);
        QVERIFY(waitUntil(
            [&] { return sim().versionsText() == kMiddle && !engine().isUpgradingFirmware(); }, 4 * kPatienceMs));
    }

    // With a key trusted: a refused list shows as refused, with its reason,
    // never as "No newer version"; a release whose signature fails is neither
    // the latest version nor marked with the dot.
    void aRefusedListOrReleaseIsNeverOfferedAsTheLatest()
    {
        QVERIFY(readVersions()); // the controller answers again after the last test's runs
        const ReleaseSignature key = ReleaseSignature::generate();
        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        QVERIFY(showScreen()); // the development server signs no list
        QCOMPARE(m_view->latestVersionLabel->text(), localized("ReleaseListRefused"));
        QCOMPARE(m_view->detailLabel->text(), localized("ReleaseListSignatureInvalid"));
        QVERIFY(!m_view->detailLabel->isHidden());
        QVERIFY(m_view->upgradePromptRedDot->isHidden());
        QTest::mouseClick(m_view->remoteFileButton, Qt::LeftButton);
        ZelFirmwareListView* list = m_view->firmwareListView;
        QVERIFY(waitUntil([&] {
            return list->emptyContentPropmtLabel && !list->emptyContentPropmtLabel->isHidden()
                && list->emptyContentPropmtLabel->text() == localized("ReleaseListSignatureInvalid");
        }));
        m_view->hideFirmwareListView();

        // A signed site whose newest release carries another key's signature.
        QTemporaryDir site;
        TestHttpServer host;
        host.root = site.path();
        ReleaseServer releases(DemoReleases::folder());
        SitePublisher::ListSigning signing;
        signing.key = key;
        QString error;
        QVERIFY2(SitePublisher::publish(releases, site.path(), host.baseUrl(), &signing, &error), qPrintable(error));
        QFile r1(SitePublisher::listPath(site.path()));
        QVERIFY(r1.open(QIODevice::ReadOnly));
        QJsonObject published = QJsonDocument::fromJson(r1.readAll()).object();
        r1.close();
        QJsonArray data = published.value(QStringLiteral("data")).toArray();
        for (QJsonValueRef v : data) {
            QJsonObject release = v.toObject();
            if (release.value(QStringLiteral("ver")).toString() == kNewest)
                release.insert(QStringLiteral("sig"),
                    ReleaseSignature::generate().sign(kNewest, release.value(QStringLiteral("sha256")).toString()));
            v = release;
        }
        published.insert(QStringLiteral("data"), data);
        QVERIFY(r1.open(QIODevice::WriteOnly | QIODevice::Truncate));
        r1.write(QJsonDocument(published).toJson());
        r1.close();
        QVERIFY(SitePublisher::signList(site.path(), signing, &error));
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());
        catalogue().firmwaresDate = QDateTime();
        m_view->setHidden(true);
        QVERIFY(showScreen());
        QCOMPARE(m_view->latestVersionLabel->text(), kMiddle);
        QVERIFY(!m_view->upgradePromptRedDot->isHidden());
        QCOMPARE(catalogue().firmwares->first().version, kNewest); // listed, marked invalid, not offered
        QCOMPARE(ReleaseSignature::status(catalogue().firmwares->first()), ReleaseSignature::Status::Invalid);
    }

    // An empty list is "no newer version"; a server that answers badly, or
    // not at all, is not: it says so with the reason, and Retry asks again.
    void anEmptyOrFailedOnlineListSaysWhich_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("empty list") << 200 << true;
        QTest::newRow("server error") << 500 << true;
        QTest::newRow("nobody listening") << 0 << false;
    }

    void anEmptyOrFailedOnlineListSaysWhich()
    {
        QFETCH(int, status);
        QFETCH(bool, reachable);
        QVERIFY(showScreen());
        QVERIFY(!m_view->upgradePromptRedDot->isHidden());
        QVERIFY(m_view->retryButton->isHidden());

        TestHttpServer server;
        server.status = status;
        server.body = "{\"data\":[]}";
        ZelFirmwareDataTool::setServerOverride(
            reachable ? server.baseUrl() : QStringLiteral("http://127.0.0.1:1")); // no one listens on port 1
        catalogue().firmwaresDate = QDateTime();
        m_view->setHidden(true);
        QVERIFY(showScreen());
        QCOMPARE(server.targets.size(), reachable ? 1 : 0);
        QVERIFY(!m_view->upgradePromptRedDot->isHidden()); // keeps what it showed
        if (status == 200) {
            QCOMPARE(m_view->latestVersionLabel->text(), localized("NoNewerVersion"));
            QVERIFY(m_view->detailLabel->isHidden() && m_view->detailTitleLabel->isHidden());
            QVERIFY(m_view->retryButton->isHidden());
            return;
        }
        QCOMPARE(m_view->latestVersionLabel->text(), localized("ServerUnreachable"));
        QVERIFY(!m_view->detailLabel->isHidden() && m_view->detailTitleLabel->isHidden());
        const QString why = m_view->detailLabel->text();
        QVERIFY2(why.startsWith(localized("ServerUnreachableReason").section(QStringLiteral("%1"), 0, 0))
                && why.size() > localized("ServerUnreachableReason").size(),
            qPrintable(why));
        QVERIFY(!m_view->retryButton->isHidden());

        // The server is back: Retry shows its newest release.
        ZelFirmwareDataTool::setServerOverride(m_app->releaseServer().baseUrl());
        QTest::mouseClick(m_view->retryButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return m_view->latestVersionLabel->text() == kNewest; }));
        QVERIFY(m_view->retryButton->isHidden());
        QVERIFY(!m_view->detailLabel->text().startsWith(
            localized("ServerUnreachableReason").section(QStringLiteral("%1"), 0, 0)));
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
