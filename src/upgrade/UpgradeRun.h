#pragma once

#include "firmware/ZelFirmware.h"
#include "platform/runtime/SleepInhibitor.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeReason.h"
#include "upgrade/UpgradeTimeline.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class Timer;

// One upgrade of the controller, from its start to exactly one outcome: the
// only way to start, follow and end an upgrade, for a release (local or
// online) or for loose image files. It drives the engine's operations and
// hears from them through the engine's run hooks; the engine keeps its
// fields and operations.
//
// A run completes only once the controller acknowledged the end of the last
// image, came back from the restart a left-side or boot loader image causes,
// and answered the version query; for a release, the versions read back must
// be the release's. A run that ends otherwise after an image began reads
// the versions back too, while its controller still answers, so that its
// outcome says exactly what was installed. Every run, whatever its outcome,
// is appended to the upgrade history.
class UpgradeRun : public QObject {
    Q_OBJECT
public:
    enum class Phase {
        Idle,
        Download,
        DigestCheck,
        Unpack,
        BootLoader,
        Left,
        Right,
        WaitingForRestart,
        ReadingVersions
    };
    Q_ENUM(Phase)
    enum class Outcome { None, Completed, Failed, Cancelled };
    Q_ENUM(Outcome)
    enum class Source { Local, Online, Files };

    // Progress shown before the run has completed never reaches 100.
    static constexpr double kProgressCeiling = 99.0;
    // How long past the engine's own version timer the read-back may take.
    static constexpr double kVersionGrace = 0.25;

    // A run of this engine; the engine outlives the run.
    explicit UpgradeRun(ZelFirmwareUpgradeManager& engine, QObject* parent = nullptr);
    // A run still going is cancelled.
    ~UpgradeRun() override;

    // Brings the controller to a release, which it must need (the engine's
    // checkFirmware, whose need flags the run keeps). False when the run
    // could not start; it has then failed with a reason.
    bool start(const ZelFirmware& release);
    // Sends the given images (empty paths are skipped) in the engine's order.
    bool startFiles(const QString& boot, const QString& left, const QString& right);
    // Ends a run still going with the cancelled outcome, now: nothing more
    // is sent, and nothing is read back.
    void cancel();
    // Whether cancelling now can damage nothing: before the first image, and
    // while the controller restarts between two images or after the last.
    // While an image is being written (from its start command to its end
    // acknowledgement) a half-written side would not start, so it cannot.
    bool canCancel() const;
    // The user's cancel: at once when canCancel, otherwise when the image
    // under way has ended (its end acknowledgement) or its silence limit
    // ended the run. True when the run ended at once.
    bool requestCancel();
    bool cancelPending() const { return m_cancelPending; }
    // A run that must go to one controller (a new try of a run that failed
    // on it): with another attached it fails before anything but the
    // questions of who it is reaches it. Its Bluetooth address, as
    // controller() gives it; empty: whichever is attached.
    void setExpectedController(const QString& address) { m_expected = address; }
    // Where the run is recorded; the documents directory's history otherwise.
    void setHistory(const UpgradeHistory& history) { m_history = history; }
    // Why the run's record could not be added to the history (a full disk, a
    // read-only folder), for the user; empty when it was, or before the end.
    QString historyNotSaved() const { return m_historyNotSaved; }

    bool isRunning() const { return m_running; }
    Phase phase() const { return m_phase; }
    Outcome outcome() const { return m_outcome; }
    // Why the run did not complete, in the current language; null when it did.
    QString reason() const { return m_reason.text(); }
    // The same as a code with its values; None when the run completed.
    const UpgradeReason& failure() const { return m_reason; }
    UpgradeReason::Code reasonCode() const { return m_reason.code(); }
    Source source() const { return m_source; }
    // The release's version; null for files.
    QString releaseVersion() const { return m_release.version; }
    QString versionsBefore() const { return m_before; }
    // The versions read back after the images; null when none were read.
    QString versionsAfter() const { return m_after; }
    // The images whose start command went out, in the order sent.
    const QList<UpgradePlan::Image>& imagesBegun() const { return m_begun; }
    // The images the controller holds of the run once it ended: for a
    // release, the sides whose version read back is the release's; for
    // files, the images whose end the controller acknowledged. Known only
    // when the versions were read back (or nothing was begun).
    const QList<UpgradePlan::Image>& installed() const { return m_installed; }
    bool installedKnown() const { return m_installedKnown; }
    // The outcome in the user's words: for a run that did not complete, the
    // reason and what was installed, or that it is unknown; null before the end.
    QString outcomeText() const;
    // An image as programs name it: boot, left or right.
    static QString imageKey(UpgradePlan::Image image);
    // The connection of the controller the run is for (it changes when the
    // controller comes back from a restart).
    quint64 connection() const { return m_connection; }
    // The Bluetooth address of the controller the run belongs to (empty until known).
    QString controller() const { return m_controller; }
    double progress() const { return m_progress; }
    qint64 bytesSent() const { return m_bytes; }
    bool needsBoot() const { return m_needBoot; }
    bool needsLeft() const { return m_needLeft; }
    bool needsRight() const { return m_needRight; }
    // The steps of the run with their states and estimates; empty before it started sending.
    const UpgradeTimeline& timeline() const { return m_timeline; }
    // The whole run's estimate when it started, in seconds.
    double estimatedSeconds() const { return m_estimate; }
    // What is left of the run as estimated now, refined by its own pace.
    double secondsLeft() const;
    // The share of the current step that is done, 0 to 1; negative when a
    // step has no measure of its own (a restart, the read-back).
    double stepFraction() const;
    // While the controller restarts: the seconds until the run gives up on it.
    double restartSecondsLeft() const;
    // While the controller restarts: whether it has taken clearly longer
    // than the restart the estimate counts on.
    bool restartOverdue() const;
    // How much longer than foretold a restart may take before it is overdue.
    static constexpr double kRestartGrace = 3.0;

    // What a run of this release would send, with the need flags of this
    // engine's last checkFirmware: the images of a local release, or of an
    // online one downloaded before, with their sizes; an online release not
    // at hand has them unknown.
    static UpgradePlan planFor(const ZelFirmware& release, const ZelFirmwareUpgradeManager& engine);
    // Whether a run of this release fetches its archive first.
    static bool downloadsFirst(const ZelFirmware& release);

    // Holds the system awake from the run's start to its outcome.
    const SleepInhibitor& sleepInhibitor() const { return m_sleepInhibitor; }

    // The shared engine's run now going, if any (the one the application's
    // screens show): an engine drives one run at a time.
    static UpgradeRun* current();
    // The engine this run drives.
    ZelFirmwareUpgradeManager& engine() const;

    static QString phaseName(Phase phase);
    // The phase in the user's words; null for Idle.
    static QString phaseText(Phase phase);
    static QString outcomeName(Outcome outcome);
    static QString sourceName(Source source);
    // Why a release check refuses a run; empty when the release is needed.
    static QString checkFailure(ZelFirmwareCheckResult result);
    static UpgradeReason checkFailureReason(ZelFirmwareCheckResult result);

signals:
    void phaseChanged(UpgradeRun::Phase phase);
    void downloadProgress(qint64 received, qint64 total);
    // The run's controller went away: restarting as the image asked, or not.
    void controllerLeft(bool restarting);
    // Whether canCancel holds changed.
    void cancellableChanged(bool cancellable);
    // Never decreasing within a run, said at most once per tenth of a
    // percent (progress() has the exact figure); 100 only when it completed.
    void progressChanged(double percent);
    void finished(UpgradeRun::Outcome outcome);

private:
    bool begin();
    void installHooks();
    void setPhase(Phase phase);
    void showProgress(double percent);
    void imageAcknowledged(UpgradePlan::Image image);
    void controllerGone(quint64 connection, bool expected);
    void controllerReturned(quint64 connection, const QString& versions);
    // Asks the controller who it is first when the engine does not know it for this connection.
    void identifyThen(std::function<void()> next);
    void startRelease();
    void startImages(const QString& boot, const QString& left, const QString& right);
    void readVersions();
    void versionsRead(const QString& versions);
    // Ends the run: at once, or, when an image began and the controller still
    // answers, once its versions are read back.
    void finish(Outcome outcome, const UpgradeReason& reason);
    // The read-back after a run that did not complete: versions are what the
    // controller said, null when it did not.
    void readBackThenConclude();
    void partialVersionsRead(const QString& versions);
    // Whether the run's own controller is attached, identified and not restarting.
    bool controllerAnswers() const;
    void conclude(Outcome outcome, const UpgradeReason& reason);
    void workOutInstalled(Outcome outcome);
    void buildTimeline(const UpgradePlan& plan, bool download);
    void enterStep(Phase phase);
    void emitCancellable();

    ZelFirmwareUpgradeManager& m_engine;
    bool m_running = false;
    bool m_started = false;
    Phase m_phase = Phase::Idle;
    Outcome m_outcome = Outcome::None;
    Source m_source = Source::Files;
    UpgradeReason m_reason;
    QString m_historyNotSaved;
    ZelFirmware m_release;
    QString m_before;
    QString m_after;
    // The Bluetooth address of the controller the run was started for.
    QString m_controller;
    QString m_expected;
    // Whether the controller identified is the one expected; the run has failed when not.
    bool isExpectedController();
    // The image the controller acknowledged last.
    std::optional<UpgradePlan::Image> m_lastImage;
    QList<UpgradePlan::Image> m_begun;
    QList<UpgradePlan::Image> m_acknowledged;
    QList<UpgradePlan::Image> m_installed;
    bool m_installedKnown = false;
    // An end decided, waiting for the read-back before it is concluded.
    std::optional<std::pair<Outcome, UpgradeReason>> m_ending;
    quint64 m_connection = 0;
    bool m_needBoot = false, m_needLeft = false, m_needRight = false;
    double m_progress = 0;
    qint64 m_bytes = 0;
    qint64 m_downloadReceived = 0;
    qint64 m_downloadTotal = -1;
    QDateTime m_startedAt;
    QElapsedTimer m_clock;
    // After the last image, a restart: the connection the controller had.
    std::optional<quint64> m_awaitingReturnFrom;
    std::shared_ptr<Timer> m_deadline;
    std::optional<UpgradeHistory> m_history;
    UpgradeTimeline m_timeline;
    double m_estimate = 0;
    // The engine's figure when the current image began, and where it ends.
    double m_imageFromPercent = 0, m_imageToPercent = 0, m_enginePercent = 0;
    QElapsedTimer m_stepClock;
    QElapsedTimer m_restartClock;
    bool m_cancelPending = false;
    bool m_cancellable = false;
    SleepInhibitor m_sleepInhibitor;
};
