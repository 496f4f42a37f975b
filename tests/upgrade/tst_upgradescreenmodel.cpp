// The upgrade screen's model without a window: each state the screen can be
// in and what may be pressed in it, driving the real engine against the
// simulated controller and the demo releases served on 127.0.0.1.
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SimulatedController.h"
#include "sim/SitePublisher.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/UpgradeTimeline.h"
#include "upgrade/UpgradeScreenModel.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace testsupport;

namespace {
const QString kInstalled = QStringLiteral("1.0-2.3-1.5"); // not among the releases
const QString kOldest = QStringLiteral("1.0-2.2-1.4");
const QString kMiddle = QStringLiteral("1.0-2.4-1.6");
const QString kNewest = QStringLiteral("1.1-2.5-1.8");

using State = UpgradeScreenModel::State;
using Kind = UpgradeScreenModel::Question::Kind;

ZelFirmwareUpgradeManager& engine()
{
    return ZelFirmwareUpgradeManager::sharedInstance();
}

ZelFirmwareDataTool& catalogue()
{
    return ZelFirmwareDataTool::sharedInstance();
}

QStringList words(const char* text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

// The first part of a text of the tables, before its first value.
QString lead(const char* key)
{
    return localized(key).section(QStringLiteral("%1"), 0, 0);
}
} // namespace

class TestUpgradeScreenModel : public QObject {
    Q_OBJECT

    SimulatedAttachment* m_sim = nullptr;
    std::unique_ptr<ReleaseServer> m_releases;
    std::unique_ptr<ToastRecorder> m_toasts;
    std::unique_ptr<QTemporaryDir> m_documents;
    std::unique_ptr<UpgradeScreenModel> m_model;

    SimulatedController& sim() { return m_sim->controller(); }
    UpgradeScreenModel& model() { return *m_model; }

    // The screen comes up: the controller's versions and the newest release arrive.
    bool show()
    {
        bool answered = false;
        const QMetaObject::Connection c
            = connect(m_model.get(), &UpgradeScreenModel::latestShown, this, [&] { answered = true; });
        model().screenShown();
        const bool shown = waitUntil([&] { return answered; });
        disconnect(c);
        return shown && model().currentVersionText() == sim().versionsText() && !model().latestVersionText().isEmpty();
    }

    static ZelFirmware release(const QString& version)
    {
        for (const ZelFirmware& f : catalogue().firmwares.value_or(QList<ZelFirmware>()))
            if (f.version == version)
                return f;
        return ZelFirmware();
    }

    bool pick(const QString& version)
    {
        const ZelFirmware f = release(version);
        if (f.version.isEmpty())
            return false;
        model().select(f);
        return true;
    }

    bool readVersions() { return !readControllerVersions().isEmpty(); }

    bool importLocal(const QString& version)
    {
        const bool imported
            = ZelDataTool::importArchive(DemoReleases::folder() + QLatin1Char('/') + version + QStringLiteral(".zip"));
        m_toasts->clear();
        return imported;
    }

    // The pick of a release imported from a file.
    bool pickLocal(const QString& version)
    {
        const QList<ZelFirmware> local = catalogue().getLocalFirmwares();
        const auto found
            = std::find_if(local.cbegin(), local.cend(), [&](const ZelFirmware& f) { return f.version == version; });
        if (found == local.cend())
            return false;
        model().select(*found);
        return model().state() == State::Ready;
    }

    // The release list is asked for again, from the server the test set.
    bool showAgain()
    {
        catalogue().firmwaresDate = QDateTime();
        return show();
    }

    bool unplug()
    {
        sim().unplug(-1);
        return waitUntil([] { return !engine().accessory(); });
    }

    bool plugIn()
    {
        sim().plugIn();
        return m_sim->waitForSession() && engine().accessory();
    }

    bool runEnded()
    {
        return waitUntil([&] { return model().run() && !model().run()->isRunning(); }, 2 * kPatienceMs);
    }

    void expectToast(const QString& text, double seconds)
    {
        QCOMPARE(m_toasts->texts(), QStringList { text });
        QCOMPARE(m_toasts->toasts().back().seconds, seconds);
        m_toasts->clear();
    }

    // What may be pressed, as one word each: pick, upgrade, cancel, close, history.
    QStringList pressable()
    {
        QStringList out;
        if (model().canPick() && model().offersPick())
            out << QStringLiteral("pick");
        if (model().canPick() && model().offersUpgrade())
            out << QStringLiteral("upgrade");
        if (model().offersCancel() && model().canCancel())
            out << QStringLiteral("cancel");
        if (model().canClose())
            out << QStringLiteral("close");
        if (model().canShowHistory())
            out << QStringLiteral("history");
        return out;
    }

private slots:
    void initTestCase()
    {
        Localization::shared().setLanguage(QStringLiteral("en"));
        m_releases = std::make_unique<ReleaseServer>(DemoReleases::folder());
        QVERIFY(m_releases->listen());
        ZelFirmwareDataTool::setServerOverride(m_releases->baseUrl());
        m_sim = new SimulatedAttachment;
        QVERIFY(m_sim->configureSession());
        engine();
    }

    void cleanupTestCase()
    {
        delete m_sim;
        m_releases.reset();
    }

    void init()
    {
        m_documents = std::make_unique<QTemporaryDir>();
        DocumentsDirectory::setPath(m_documents->path());
        m_toasts = std::make_unique<ToastRecorder>();
        sim().faults() = SimFaults();
        sim().faults().restartDelayMs = 30;
        QVERIFY(sim().setVersions(kInstalled));
        QVERIFY(m_sim->waitForSession());
        QVERIFY(readVersions());
        m_model = std::make_unique<UpgradeScreenModel>(engine(), catalogue());
    }

    void cleanup()
    {
        // Before anything more arrives: a test's server and keys are gone with it.
        ZelFirmwareDataTool::setServerOverride(m_releases->baseUrl());
        ReleaseSignature::forgetAddedKeys();
        m_model.reset();
        QVERIFY(waitForEngineAtRest(engine(), *m_sim));
        m_toasts.reset();
        catalogue().firmwaresDate = QDateTime();
    }

    // Choosing: the versions and the newest release's notes, the dot; a
    // pick makes it ready, with the plan, the pick's notes and "Upgrade Now".
    void choosingAndReady()
    {
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(model().currentVersionText().isEmpty()); // nothing asked before the screen is up
        QVERIFY(show());
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(model().controllerText().contains(QLatin1String("12:34:56:78:9A:BC")));
        QCOMPARE(model().latestVersionText(), kNewest);
        QVERIFY(model().marksNewerRelease());
        QCOMPARE(model().detailText(), catalogue().firmwares->first().updateInfo);
        QVERIFY(model().showsDetail() && model().showsDetailCaption());
        QCOMPARE(model().progressText(), localized("SelectAFirmware"));
        QVERIFY(model().showsProgressText());
        QVERIFY(model().planText().isEmpty() && model().stepsText().isEmpty() && model().promptText().isEmpty());
        QVERIFY(!model().showsSelected());
        QCOMPARE(pressable(), words("pick close history"));

        QVERIFY(pick(kMiddle));
        QCOMPARE(model().state(), State::Ready);
        QCOMPARE(pressable(), words("pick upgrade close history"));
        QCOMPARE(model().upgradeButtonText(), localized("UpgradeNow"));
        QVERIFY(!model().showsProgressText());
        QCOMPARE(model().selectedText(), localized("SelectedFirmware") + localized(":") + kMiddle);
        QVERIFY(model().showsSelected());
        QCOMPARE(model().detailText(), release(kMiddle).updateInfo);
        QVERIFY(model().showsDetail() && model().showsDetailCaption());
        // Online, not downloaded yet: the boot loader already there is
        // skipped, the sizes come with the download, the server signs nothing.
        const QString plan = model().planText();
        for (const QString& line : { localized("PlanSkipped").arg(localized("StepImageBootLoader")),
                 localized("PlanSendsSizesLater"), localized("StepImageThenRestart").arg(localized("StepImageLeft")),
                 localized("PlanSignature").arg(localized("ReleaseMarkUnsigned")) })
            QVERIFY2(plan.contains(line), qPrintable(line + QStringLiteral(" not in ") + plan));
        QVERIFY(plan.contains(lead("PlanDurationAtLeast")));
        QCOMPARE(plan, model().planTextNow());
        QVERIFY(m_toasts->texts().isEmpty());

        // Shown again, the screen starts over, and the engine forgets the pick.
        model().screenShown();
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(!model().selected());
        QVERIFY(engine().latestFirmwareVersion().isEmpty());

        // A release without notes says so in the ready state.
        ZelFirmware bare = release(kMiddle);
        bare.updateInfo.clear();
        model().select(bare);
        QCOMPARE(model().state(), State::Ready);
        QCOMPARE(model().detailText(), localized("NoReleaseNotes"));
        // An empty pick is no pick.
        model().select(std::nullopt);
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(!model().selected());

        // A controller that runs the newest release gets no dot.
        QVERIFY(sim().setVersions(kNewest));
        QVERIFY(show());
        QVERIFY(!model().marksNewerRelease());
    }

    // A local release's plan before the press: the images sent with their
    // sizes, a size never broken from its unit, the restarts after the boot
    // loader and the left side, the estimate and the mark of a local file.
    void thePlanOfALocalRelease()
    {
        QVERIFY(
            ZelDataTool::importArchive(DemoReleases::folder() + QLatin1Char('/') + kNewest + QStringLiteral(".zip")));
        m_toasts->clear();
        QVERIFY(show());
        const QList<ZelFirmware> local = catalogue().getLocalFirmwares();
        const auto found
            = std::find_if(local.cbegin(), local.cend(), [](const ZelFirmware& f) { return f.version == kNewest; });
        QVERIFY(found != local.cend());
        model().select(*found);
        QCOMPARE(model().state(), State::Ready);
        const QString plan = model().planText();
        const QLocale locale;
        const auto image = [&](const char* name, qint64 bytes) {
            return localized("PlanImage")
                .arg(localized(name), locale.formattedDataSize(bytes).replace(QLatin1Char(' '), QChar(0x00A0)));
        };
        const qint64 boot
            = UpgradePlan::sentBytes(UpgradePlan::Image::BootLoader, DemoReleases::bootImage(kNewest).size());
        const auto restarting = [](const QString& item) { return localized("StepImageThenRestart").arg(item); };
        for (const QString& line : { restarting(image("StepImageBootLoader", boot)),
                 restarting(image("StepImageLeft", DemoReleases::leftImage(kNewest).size())),
                 image("StepImageRight", DemoReleases::rightImage(kNewest).size()),
                 localized("PlanSignature").arg(localized("ReleaseMarkLocalFile")) })
            QVERIFY2(plan.contains(line), qPrintable(line + QStringLiteral(" not in ") + plan));
        // A list, an item a line: each image on a line of its own.
        const QStringList lines = plan.split(QLatin1Char('\n'));
        QVERIFY(std::any_of(lines.cbegin(), lines.cend(), [&](const QString& l) {
            return l.endsWith(image("StepImageRight", DemoReleases::rightImage(kNewest).size()));
        }));
        QVERIFY2(lines.size() >= 5, qPrintable(plan));
        QVERIFY(plan.contains(lead("PlanDuration")));
        QVERIFY(!plan.contains(lead("PlanSkipped")));
    }

    // A pick is checked against the controller: the release it holds, or a
    // controller whose versions are unknown, or none at all, never gets ready.
    void aPickIsCheckedAgainstTheController()
    {
        QVERIFY(sim().setVersions(kMiddle));
        QVERIFY(show());
        QVERIFY(pick(kMiddle));
        expectToast(localized("FirmwareVersionSamePropmt"), UpgradeScreenModel::kMessageSeconds);
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(model().showsSelected()); // kept, but not offered

        // Versions not read since the controller came back: counted as damaged.
        QVERIFY(pick(kNewest));
        QCOMPARE(model().state(), State::Ready);
        QVERIFY(unplug());
        QCOMPARE(pressable(), words("pick upgrade close history")); // a press says why
        QVERIFY(plugIn());
        QVERIFY(pick(kOldest));
        expectToast(localized("GamepadFirmwareDamaged"), UpgradeScreenModel::kMessageSeconds);
        QCOMPARE(model().state(), State::Choosing);

        // No controller at all: the pick is not kept, and nothing is said.
        QVERIFY(unplug());
        QVERIFY(pick(kNewest));
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(!model().selected());
        model().screenShown();
        QCOMPARE(model().state(), State::Choosing);
        QVERIFY(!model().showsSelected());
        QVERIFY(m_toasts->texts().isEmpty());
        // While shown, the screen says no controller is attached.
        QVERIFY(waitUntil([&] { return model().controllerText() == localized("ControllerNotAttached"); }));
        QVERIFY(model().currentVersionText().isEmpty());
        QVERIFY(plugIn());
        QVERIFY(waitUntil([&] { return model().currentVersionText() == kMiddle; }));
    }

    // The press refuses what cannot run, says why, and leaves the state.
    void theUpgradePressRefusesWhatCannotRun()
    {
        QVERIFY(show());
        QVERIFY(pick(kMiddle));
        QCOMPARE(model().state(), State::Ready);

        QVERIFY(unplug());
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        expectToast(localized("ConnectGamepadPropmt"), UpgradeScreenModel::kMessageSeconds);
        QVERIFY(plugIn());

        QVERIFY(sim().setVersions(kMiddle));
        QVERIFY(readVersions());
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        expectToast(localized("FirmwareVersionSamePropmt"), UpgradeScreenModel::kMessageSeconds);

        QVERIFY(unplug());
        QVERIFY(plugIn());
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        expectToast(localized("GamepadFirmwareDamaged"), UpgradeScreenModel::kMessageSeconds);

        engine().setSelectedFirmware(nullptr);
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        expectToast(localized("SelectedDamagedFirmware"), UpgradeScreenModel::kMessageSeconds);

        QCOMPARE(model().state(), State::Ready);
        QVERIFY(!model().run());
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(readVersions());
    }

    // Running: nothing that would start or replace the run, nor closing;
    // the step, the steps and the warning. Completed: the versions read
    // back, nothing to press but close and the history.
    void runningToCompleted()
    {
        QVERIFY(show());
        QVERIFY(pick(kNewest));
        UpgradeRun* started = nullptr;
        connect(m_model.get(), &UpgradeScreenModel::runStarted, this, [&](UpgradeRun* run) { started = run; });
        QStringList phases;
        QStringList beforeOutcome;
        QStringList prompts;
        connect(m_model.get(), &UpgradeScreenModel::changed, this, [&] {
            if (!prompts.contains(model().promptText()))
                prompts << model().promptText();
            if (!model().phaseText().isEmpty() && (phases.isEmpty() || phases.last() != model().phaseText()))
                phases << model().phaseText();
            if (model().state() == State::Running)
                beforeOutcome << model().progressText();
        });
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        QVERIFY(started && started == model().run());
        QCOMPARE(model().state(), State::Running);
        QCOMPARE(model().promptText(), localized("UpgradeWarning"));
        QVERIFY(!model().marksNewerRelease());
        QVERIFY(!model().showsDetail() && !model().showsDetailCaption());
        QVERIFY(model().showsProgressText());
        QCOMPARE(pressable(), words("cancel history")); // downloading: cancel may
        QCOMPARE(model().cancelButtonText(), localized("Cancel"));
        // A second press, a pick or a close does nothing to the run.
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        QVERIFY(pick(kMiddle));
        QCOMPARE(model().selected()->version, kNewest);
        QVERIFY(!model().pressClose());
        expectToast(localized("CloseUpgradeViewAlertMessage"), 1.5);
        QCOMPARE(model().run(), started);

        QVERIFY(runEnded());
        QCOMPARE(model().run()->outcome(), UpgradeRun::Outcome::Completed);
        QCOMPARE(model().state(), State::Completed);
        QCOMPARE(model().progressText(), localized("UpgradeCompleted"));
        QCOMPARE(model().promptText(), localized("UpgradeSucceeded").arg(kNewest));
        QCOMPARE(model().currentVersionText(), kNewest);
        QVERIFY(!model().marksNewerRelease());
        QCOMPARE(model().barPercent(), 100.0);
        QVERIFY(model().phaseText().isEmpty());
        QVERIFY(!model().showsSelected());
        QCOMPARE(pressable(), words("close history"));
        // While the controller restarts, the warning says it is away on purpose.
        QVERIFY2(
            prompts.contains(localized("GamepadDisconnectByUpgradingFirmwarePrompt")), qPrintable(prompts.join(u'|')));
        const UpgradeRecord record = UpgradeHistory().records().value(0);
        QCOMPARE(record.outcome, QStringLiteral("completed"));
        QCOMPARE(record.after, kNewest);
        QCOMPARE(record.before, kInstalled);
        QCOMPARE(sim().rightFlash(), DemoReleases::rightImage(kNewest));
        QCOMPARE(sim().leftApplicationFlash(), DemoReleases::leftImage(kNewest));
        QVERIFY(model().pressClose());
        QVERIFY(model().stepsText().count(QStringLiteral("\u2713")) >= 4);
        QVERIFY(!model().stepsText().contains(lead("StepsTimeLeft")));
        for (const QString& step : { localized("PhaseDigestCheck"), localized("PhaseUnpack"),
                 localized("PhaseBootLoader"), localized("PhaseLeft"), localized("PhaseRight"),
                 localized("PhaseVersions"), localized("PhaseRestart") })
            QVERIFY2(phases.contains(step), qPrintable(step + QStringLiteral(" not in ") + phases.join(u'|')));
        QVERIFY(std::any_of(
            phases.cbegin(), phases.cend(), [](const QString& p) { return p.startsWith(lead("PhaseDownloadSize")); }));
        // Nothing before the outcome claims completion.
        QVERIFY(!beforeOutcome.isEmpty());
        for (const QString& text : std::as_const(beforeOutcome))
            QVERIFY2(
                text != localized("UpgradeCompleted") && !text.contains(QStringLiteral("100.00")), qPrintable(text));
        QVERIFY(m_toasts->texts().isEmpty());
        // The outcome stays until the user moves on.
        QVERIFY(waitForMainQueueDelay(1.0));
        QCOMPARE(model().state(), State::Completed);
        QCOMPARE(model().promptText(), localized("UpgradeSucceeded").arg(kNewest));
        QVERIFY(!model().marksNewerRelease());

        // Shown again after the outcome: choosing, the run's outcome gone.
        QVERIFY(show());
        QCOMPARE(model().state(), State::Choosing);
        QCOMPARE(model().barPercent(), 0.0);
        QVERIFY(model().stepsText().isEmpty());
    }

    // Failed: why and what was installed, the steps marked by what the
    // controller holds, "Try Again" on the same controller.
    void failedThenTriedAgain()
    {
        QVERIFY(show());
        QVERIFY(pick(kMiddle));
        sim().faults().refuseChecksum = true;
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        QVERIFY(runEnded());
        QCOMPARE(model().state(), State::Failed);
        QCOMPARE(model().progressText(), localized("UpgradeFailedTitle"));
        QCOMPARE(model().promptText(), model().run()->outcomeText());
        QCOMPARE(model().run()->reason(), localized("ChecksumRejected"));
        // The left side went in before the right one was refused: the
        // versions read back say so.
        QCOMPARE(model().promptText(),
            localized("ChecksumRejected") + QLatin1Char(' ')
                + localized("OutcomeInstalled").arg(localized("StepImageLeft") + QStringLiteral(" 2.4"))
                + QLatin1Char(' ') + localized("OutcomeNotInstalled").arg(localized("StepImageRight")));
        QVERIFY(model().marksNewerRelease()); // the release is still newer than what the controller runs
        QCOMPARE(model().currentVersionText(), QStringLiteral("1.0-2.4-1.5")); // as read back
        QCOMPARE(model().barPercent(), 0.0);
        QVERIFY(model().phaseText().isEmpty());
        QCOMPARE(model().upgradeButtonText(), localized("TryAgain"));
        QCOMPARE(pressable(), words("pick upgrade close history"));
        const QStringList steps = model().stepsText().split(QLatin1Char('\n'));
        const auto stepFor = [&steps](const char* image) {
            const QString name = localized(image);
            return *std::find_if(steps.cbegin(), steps.cend(), [&](const QString& l) { return l.contains(name); });
        };
        QVERIFY(stepFor("StepImageLeft").startsWith(QStringLiteral("\u2713")));
        QVERIFY(stepFor("StepImageRight").startsWith(QStringLiteral("\u2717")));
        QVERIFY(stepFor("StepReadBack").startsWith(QStringLiteral("\u2713")));

        // Tried again on the same controller: no question, a new run that completes.
        sim().faults().refuseChecksum = false;
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen(); }));
        QPointer<UpgradeRun> failed = model().run();
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        QVERIFY(!failed); // the run before gives way to the new one
        QCOMPARE(model().state(), State::Running);
        QVERIFY(runEnded());
        QCOMPARE(model().state(), State::Completed);
        QCOMPARE(model().currentVersionText(), kMiddle);
    }

    // Cancelled: a cancel is refused while an image is written, says why,
    // and waits for the image's end; while the controller restarts it stops
    // the wait at once. Either way "Try Again" follows.
    void cancelledThenOfferedAgain()
    {
        QVERIFY(show());
        QVERIFY(pick(kNewest));
        sim().faults().restartDelayMs = 2500;
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        UpgradeRun* run = model().run();
        bool refusedWhileWriting = true;
        int writing = 0;
        connect(run, &UpgradeRun::progressChanged, this, [&] {
            if (!run->isRunning() || run->phase() != UpgradeRun::Phase::BootLoader || run->stepFraction() <= 0)
                return;
            ++writing;
            refusedWhileWriting = refusedWhileWriting && !model().canCancel()
                && model().cancelUnavailableText() == localized("CancelUnavailableWhy");
        });
        const bool waiting
            = waitUntil([&] { return run->phase() == UpgradeRun::Phase::WaitingForRestart; }, 2 * kPatienceMs);
        sim().faults().restartDelayMs = 30;
        QVERIFY(waiting);
        QVERIFY(writing > 0);
        QVERIFY(refusedWhileWriting);
        QVERIFY(model().canCancel());
        QCOMPARE(model().cancelButtonText(), localized("StopWaiting"));
        QVERIFY(run->restartSecondsLeft() > 0 && run->restartSecondsLeft() <= engine().settings().restartWait);
        QVERIFY(model().cancelUnavailableText().isEmpty());
        model().pressCancel();
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Cancelled);
        QCOMPARE(model().state(), State::Cancelled);
        QCOMPARE(model().progressText(), localized("UpgradeCancelledTitle"));
        QCOMPARE(model().promptText(), run->outcomeText());
        QCOMPARE(model().upgradeButtonText(), localized("TryAgain"));
        QVERIFY(!model().canCancel());
        QCOMPARE(pressable(), words("pick upgrade close history"));
        QCOMPARE(run->reason(), localized("RestartWaitStopped"));
        const UpgradeRecord record = UpgradeHistory().records().value(0);
        QCOMPARE(record.outcome, QStringLiteral("cancelled"));
        QCOMPARE(record.reason, localized("RestartWaitStopped"));
        // A cancel press with no run going does nothing.
        model().pressCancel();
        QCOMPARE(model().state(), State::Cancelled);
        // Back from its restart, the controller is followed and answers
        // again; nothing but the boot loader was sent.
        QVERIFY(waitUntil([&] { return m_sim->sessionIsOpen() && !engine().isGamepadDisconnectByUpgradingFirmware(); },
            2 * kPatienceMs));
        QVERIFY(readVersions());
        QCOMPARE(sim().versionsText().section(QLatin1Char('-'), 1), kInstalled.section(QLatin1Char('-'), 1));
    }

    // An older release is named on the button and in the plan, and asks
    // first; the answer holds only for the release asked about.
    void anOlderReleaseAsksFirst()
    {
        QVERIFY(show());
        QVERIFY(pick(kOldest));
        QCOMPARE(model().state(), State::Ready);
        QCOMPARE(model().upgradeButtonText(), localized("InstallOlderVersion").arg(kOldest));
        QVERIFY(model().planText().startsWith(localized("PlanOlder").arg(kOldest, kInstalled)));
        const UpgradeScreenModel::Question question = model().pressUpgrade();
        QCOMPARE(question.kind, Kind::OlderRelease);
        QCOMPARE(question.text, localized("OlderReleaseConfirm").arg(kOldest, kInstalled));
        QCOMPARE(question.confirmText, localized("InstallOlderVersion").arg(kOldest));
        QVERIFY(!model().run());
        QCOMPARE(model().state(), State::Ready);

        // Confirmed after another pick: the question was not about it.
        QVERIFY(pick(kMiddle));
        QCOMPARE(model().confirm(question).kind, Kind::None);
        QVERIFY(!model().run());
        QVERIFY(pick(kOldest));
        QCOMPARE(model().confirm(question).kind, Kind::None);
        QVERIFY(model().run());
        QVERIFY(runEnded());
        QCOMPARE(model().state(), State::Completed);
        QCOMPARE(sim().versionsText(), kOldest);
    }

    // Progress told without a run shows as running; shown again, choosing.
    void progressWithoutARun()
    {
        QVERIFY(show());
        double bar = -1;
        connect(m_model.get(), &UpgradeScreenModel::barChanged, this, [&](double percent, bool) { bar = percent; });
        model().showProgress(37.5);
        QCOMPARE(model().state(), State::Running);
        QCOMPARE(model().progressText(), localized("Upgrading...") + QStringLiteral("37.50%"));
        QCOMPARE(model().promptText(), localized("UpgradeWarning"));
        QCOMPARE(bar, 37.5);
        // A notice about the controller means nothing without a run of this screen's.
        NotificationCenter::defaultCenter().postNotification(
            ZelGamepadDisconnectByUpgradingFirmwareNotification, false);
        drainPostedEvents(); // where the notice would arrive
        QCOMPARE(model().promptText(), localized("UpgradeWarning"));
        model().screenShown();
        QCOMPARE(model().state(), State::Choosing);
        QCOMPARE(bar, 0.0);
    }

    // A hidden screen asks nothing; a server that cannot be reached offers a retry.
    void aHiddenScreenAsksNothingAndTheListCanBeAskedAgain()
    {
        bool shown = false;
        model().isScreenShown = [&] { return shown; };
        model().refreshVersions();
        drainPostedEvents();
        QVERIFY(model().currentVersionText().isEmpty());
        shown = true;

        ZelFirmwareDataTool::setServerOverride(QStringLiteral("http://127.0.0.1:1"));
        const auto restore = qScopeGuard([&] { ZelFirmwareDataTool::setServerOverride(m_releases->baseUrl()); });
        catalogue().firmwaresDate = QDateTime();
        catalogue().firmwares.reset();
        model().screenShown();
        QVERIFY(waitUntil([&] { return model().offersListRetry(); }));
        QVERIFY(model().canRetryList());
        QVERIFY(!model().showsDetailCaption());
        model().retryList();
        QVERIFY(!model().canRetryList()); // until the answer
        QVERIFY(waitUntil([&] { return model().canRetryList(); }));
        QVERIFY(model().offersListRetry());
    }

    // While the controller restarts the step says so, without a second
    // count beside the run's one time left; a restart that takes clearly
    // longer than foretold is said to.
    void aLongRestartIsSaidToTakeLonger()
    {
        QVERIFY(show());
        QVERIFY(pick(kNewest));
        // Longer than the restart foretold and its grace, well within the engine's limit.
        sim().faults().restartDelayMs = 8000;
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        const bool restarting
            = waitUntil([&] { return model().phaseText() == localized("PhaseRestart"); }, 2 * kPatienceMs);
        const bool longer = restarting
            && waitUntil([&] { return model().phaseText() == localized("PhaseRestartLonger"); }, 2 * kPatienceMs);
        const QString steps = model().stepsText();
        sim().faults().restartDelayMs = 30;
        QVERIFY(restarting);
        QVERIFY(longer);
        QCOMPARE(steps.count(lead("StepsTimeLeft")), 1);
        QVERIFY(!steps.contains(QLatin1Char('%')));
        QVERIFY(runEnded());
        QCOMPARE(model().run()->outcome(), UpgradeRun::Outcome::Completed);
        QVERIFY(model().phaseText().isEmpty());
    }

    // The steps during the run: each done, under way or to come, the time
    // left; the estimate at the press of the demo run's order of length.
    void theStepsDuringTheRunAndTheEstimate()
    {
        QVERIFY(importLocal(kNewest));
        QVERIFY(show());
        QVERIFY(pickLocal(kNewest));
        // The demo controller's restart, not the shortened one of the tests.
        sim().faults().restartDelayMs = SimFaults().restartDelayMs;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        UpgradeRun* run = model().run();
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
                mid = model().stepsText();
        });
        QVERIFY(runEnded());
        const double actual = double(clock.elapsed()) / 1000.0;
        sim().faults().restartDelayMs = 30;
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
                && mid.contains(lead("StepsTimeLeft")),
            qPrintable(QString(mid).replace(QLatin1Char(0x0a), QLatin1Char(0x7c))));
        const QString after = model().stepsText();
        QCOMPARE(after.count(QStringLiteral("\u2713")), 4);
        QVERIFY(!after.contains(lead("StepsTimeLeft")));
    }

    // Stopped during a download that has stalled: nothing unpacked or sent,
    // the partial file gone, the outcome cancelled in the history.
    void cancelDuringAStalledDownload()
    {
        QTemporaryDir site;
        TestHttpServer host;
        host.root = site.path();
        ReleaseServer releases(DemoReleases::folder());
        QString error;
        QVERIFY2(SitePublisher::publish(releases, site.path(), host.baseUrl(), nullptr, &error), qPrintable(error));
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());
        QVERIFY(showAgain()); // the list comes whole
        host.stallAfterBodyBytes = 48 * 1024;
        QVERIFY(pick(kNewest));
        const QByteArray left = sim().leftApplicationFlash();
        const QByteArray right = sim().rightFlash();
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        UpgradeRun* run = model().run();
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
        QVERIFY(model().offersCancel() && model().canCancel());
        QCOMPARE(model().cancelButtonText(), localized("Cancel"));
        model().pressCancel();
        QCOMPARE(run->outcome(), UpgradeRun::Outcome::Cancelled);
        QCOMPARE(model().state(), State::Cancelled);
        QCOMPARE(model().promptText(),
            localized("UpgradeCancelled") + QLatin1Char(' ') + localized("OutcomeNothingInstalled"));
        QVERIFY(!model().offersCancel());
        QCOMPARE(model().upgradeButtonText(), localized("TryAgain"));
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

    // Unplugged during a run: what the controller now runs cannot be read,
    // and the screen says so; it names no controller, and a new try says
    // what stands in the way.
    void unpluggedDuringARun()
    {
        QVERIFY(show());
        QVERIFY(pick(kNewest));
        sim().faults().unplugAtPacket = 3;
        sim().faults().unplugReturnMs = -1;
        const auto restore = qScopeGuard([&] {
            sim().faults() = SimFaults();
            sim().faults().restartDelayMs = 30;
            if (!sim().isAttached())
                sim().plugIn();
            QVERIFY(m_sim->waitForSession());
            m_toasts->clear();
        });
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        QVERIFY(runEnded());
        QCOMPARE(model().run()->outcome(), UpgradeRun::Outcome::Failed);
        QCOMPARE(model().state(), State::Failed);
        QCOMPARE(model().promptText(),
            localized("GamepadDisconnectManuallyPrompt") + QLatin1Char(' ') + localized("OutcomeUnknown"));
        QVERIFY2(model().stepsText().contains(QStringLiteral("?\u00A0")), qPrintable(model().stepsText()));
        QVERIFY(!model().stepsText().contains(QStringLiteral("\u2717")));
        QVERIFY(waitUntil([&] { return model().controllerText() == localized("ControllerNotAttached"); }));
        QVERIFY(model().offersUpgrade());
        QCOMPARE(model().upgradeButtonText(), localized("TryAgain"));
        QCOMPARE(model().pressUpgrade().kind, Kind::None);
        QVERIFY(m_toasts->texts().contains(localized("ConnectGamepadPropmt")));
        QCOMPARE(model().state(), State::Failed);
    }

    // With a key trusted: a refused list shows as refused, with its reason,
    // never as "No newer version"; a release whose signature fails is neither
    // the latest version nor marked with the dot.
    void aRefusedListOrReleaseIsNeverOfferedAsTheLatest()
    {
        const ReleaseSignature key = ReleaseSignature::generate();
        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        QVERIFY(show()); // the development server signs no list
        QCOMPARE(model().latestVersionText(), localized("ReleaseListRefused"));
        QCOMPARE(model().detailText(), localized("ReleaseListSignatureInvalid"));
        QVERIFY(model().showsDetail());
        QVERIFY(!model().marksNewerRelease());

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
        QVERIFY(showAgain());
        QCOMPARE(model().latestVersionText(), kMiddle);
        QVERIFY(model().marksNewerRelease());
        QCOMPARE(catalogue().firmwares->first().version, kNewest); // listed, marked invalid, not offered
        QCOMPARE(ReleaseSignature::status(catalogue().firmwares->first()), ReleaseSignature::Status::Invalid);
    }

    // An empty list is "no newer version"; a server that answers badly, or
    // not at all, is not: it says so with the reason, and a retry asks again.
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
        QVERIFY(show());
        QVERIFY(model().marksNewerRelease());
        QVERIFY(!model().offersListRetry());

        TestHttpServer server;
        server.status = status;
        server.body = "{\"data\":[]}";
        ZelFirmwareDataTool::setServerOverride(
            reachable ? server.baseUrl() : QStringLiteral("http://127.0.0.1:1")); // no one listens on port 1
        QVERIFY(showAgain());
        QCOMPARE(server.targets.size(), reachable ? 1 : 0);
        QVERIFY(model().marksNewerRelease()); // keeps what it showed
        if (status == 200) {
            QCOMPARE(model().latestVersionText(), localized("NoNewerVersion"));
            QVERIFY(!model().showsDetail() && !model().showsDetailCaption());
            QVERIFY(!model().offersListRetry());
            return;
        }
        QCOMPARE(model().latestVersionText(), localized("ServerUnreachable"));
        QVERIFY(model().showsDetail() && !model().showsDetailCaption());
        const QString why = model().detailText();
        QVERIFY2(
            why.startsWith(lead("ServerUnreachableReason")) && why.size() > localized("ServerUnreachableReason").size(),
            qPrintable(why));
        QVERIFY(model().offersListRetry());

        // The server is back: a retry shows its newest release.
        ZelFirmwareDataTool::setServerOverride(m_releases->baseUrl());
        model().retryList();
        QVERIFY(waitUntil([&] { return model().latestVersionText() == kNewest; }));
        QVERIFY(!model().offersListRetry());
        QVERIFY(!model().detailText().startsWith(lead("ServerUnreachableReason")));
    }
};

QTEST_GUILESS_MAIN(TestUpgradeScreenModel)
#include "tst_upgradescreenmodel.moc"
