#pragma once

#include "firmware/ZelFirmware.h"
#include "upgrade/UpgradeRun.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Timer;
class ZelFirmwareDataTool;
class ZelFirmwareUpgradeManager;

// What the upgrade screen shows and what may be pressed on it, as values:
// the versions of the controller and of the newest release, the release
// picked, its plan before the press, the run's steps, phase and outcome with
// its reason. The screen draws it after each change and forwards its
// presses here; nothing it shows is decided in its widgets.
//
// The screen is in one state at a time. A press of "Upgrade Now" (or "Try
// Again") either starts a run, is refused with a message, or needs a
// question answered first; the screen asks it and passes the answer back.
class UpgradeScreenModel : public QObject {
    Q_OBJECT
public:
    // The catalogue the screen asks for releases; it outlives the model.
    ZelFirmwareDataTool& catalogue() const { return m_catalogue; }
    enum class State {
        Choosing, // no release picked that the controller can take
        Ready, // a release picked, its plan shown, "Upgrade Now" offered
        Running,
        Completed,
        Failed,
        Cancelled
    };
    Q_ENUM(State)

    // What the upgrade press needs answered before a run starts.
    struct Question {
        enum class Kind {
            None, // nothing to ask: the run started, or the press was refused
            OtherController, // a new try would go to another controller than the last run's
            OlderRelease // the release is older than the controller's in some part
        };
        Kind kind = Kind::None;
        QString text;
        QString confirmText;
        // What was asked about; a confirmation holds for these only.
        QString release;
        QString controller;
    };

    static constexpr double kMessageSeconds = 3.0;
    // How often the time left and the restart countdown are brought up to date.
    static constexpr double kTickSeconds = 1.0;
    // Long enough to read a sentence naming a folder.
    static constexpr double kHistoryNotSavedSeconds = 6.0;

    // The engine the screen's runs drive and the catalogue it asks for the
    // newest release; both outlive the model.
    UpgradeScreenModel(ZelFirmwareUpgradeManager& engine, ZelFirmwareDataTool& catalogue, QObject* parent = nullptr);
    // A run still going ends with the model, cancelled.
    ~UpgradeScreenModel() override;

    static QString stateName(State state);

    // Whether the screen is up: versions are asked for only then. Unset, it
    // is from screenShown() until screenHidden().
    std::function<bool()> isScreenShown;

    State state() const { return m_state; }
    bool isRunning() const { return m_run && m_run->isRunning(); }
    // The run started by the upgrade press, while it lasts and after it ended.
    UpgradeRun* run() const { return m_run; }
    const std::optional<ZelFirmware>& selected() const { return m_selected; }

    // What may be pressed now.
    // Picking a release, local or online, and the upgrade press: never during a run.
    bool canPick() const { return m_state != State::Running; }
    // The pick buttons are there but while a run is shown or after it completed.
    bool offersPick() const { return m_state != State::Running && m_state != State::Completed; }
    // "Upgrade Now", "Install older version" or "Try Again".
    bool offersUpgrade() const;
    bool offersCancel() const { return m_state == State::Running; }
    bool canCancel() const { return offersCancel() && m_cancelEnabled; }
    // Closing the screen, refused with a message while an upgrade is under way.
    bool canClose() const;
    // The history can be looked at in every state.
    bool canShowHistory() const { return true; }
    // Asking for the release list again, after the server could not be reached.
    bool offersListRetry() const { return m_listRetry; }
    bool canRetryList() const { return m_listRetryEnabled; }

    // The texts, each empty when the screen shows none.
    QString currentVersionText() const { return m_currentVersion; }
    QString controllerText() const { return m_controller; }
    QString latestVersionText() const { return m_latest; }
    // The release notes' place: notes, or why there is no release; the
    // caption shows only over notes.
    QString detailText() const { return m_detail; }
    bool showsDetail() const { return m_detailShown; }
    bool showsDetailCaption() const { return m_detailCaptionShown; }
    // Whether a newer release than the controller's is offered (the red dot).
    bool marksNewerRelease() const { return m_newer; }
    QString upgradeButtonText() const { return m_upgradeText; }
    QString cancelButtonText() const { return m_cancelText; }
    // Why the cancel button is disabled; empty while it is not.
    QString cancelUnavailableText() const { return m_cancelWhy; }
    // The status line over the progress bar.
    QString progressText() const { return m_progressText; }
    bool showsProgressText() const { return !offersUpgrade(); }
    // The percentage the progress bar shows.
    double barPercent() const { return m_barPercent; }
    QString promptText() const { return m_prompt; }
    QString selectedText() const { return m_selectedText; }
    bool showsSelected() const { return m_selected && m_state != State::Completed; }
    // The run's step, shown while it runs.
    QString phaseText() const { return m_state == State::Running ? m_phaseText : QString(); }
    // Shown in the ready state.
    QString planText() const { return m_planText; }
    // Shown during the run and after its outcome.
    QString stepsText() const { return m_stepsText; }

    // The plan of the picked release, as the ready state shows it.
    QString planTextNow() const;
    // The steps of the run as they stand now.
    QString stepsTextNow() const;

    // The screen came up: a choice starts over, unless a run is under way,
    // and the versions are asked for.
    void screenShown();
    void screenHidden() { m_shown = false; }
    // Asks the controller's versions and then the newest release.
    void refreshVersions();
    void retryList();
    // A release picked in a list; none clears the pick.
    void select(const std::optional<ZelFirmware>& release);
    // Checks the pick against the controller again.
    void checkSelection();
    // Back to choosing, or ready with the pick kept: no run shown.
    void startOver();
    // The upgrade press: starts a run, or says why not, or returns the
    // question to ask first.
    Question pressUpgrade();
    // The question confirmed: starts the run, or returns the next question.
    Question confirm(const Question& question);
    void pressCancel();
    // The close press: true when the screen may close; a message says why not.
    bool pressClose();
    // The run's progress in percent, as the status line and bar show it.
    void showProgress(double percent);

signals:
    // Anything shown changed: the screen draws the model again.
    void changed();
    // The bar moves to barPercent(), gliding or at once.
    void barChanged(double percent, bool glide);
    // The newest release is shown against the controller's versions: the
    // end of refreshVersions(), or of a run that read the versions back.
    void latestShown();
    // A run began; the screen puts its lists away.
    void runStarted(UpgradeRun* run);

private:
    void setState(State state);
    bool shown() const { return isScreenShown ? isScreenShown() : m_shown; }
    // The controller's versions as the engine last read them, when they are
    // the attached controller's; empty otherwise.
    QString currentVersions() const;
    bool selectionIsOlder() const;
    Question askOther(const QString& attached, const QString& lastFor);
    Question askOlder();
    void startRun(const QString& expectedController);
    void controllerChanged();
    void showLatest(const QList<ZelFirmware>& firmwares, const QString& error, const QString& currentVersion);
    void showPhase(UpgradeRun::Phase phase);
    void showDownload(qint64 received, qint64 total);
    void showCancellable();
    void showSteps();
    void tick();
    void runFinished(UpgradeRun::Outcome outcome);
    void stopTicker();
    void moveBar(double percent, bool glide);

    ZelFirmwareUpgradeManager& m_engine;
    ZelFirmwareDataTool& m_catalogue;
    QPointer<UpgradeRun> m_run;
    std::optional<ZelFirmware> m_selected;
    std::shared_ptr<Timer> m_ticker;
    State m_state = State::Choosing;
    bool m_shown = false;

    QString m_currentVersion;
    QString m_controller;
    QString m_latest;
    bool m_listRetry = false;
    bool m_listRetryEnabled = true;
    QString m_detail;
    bool m_detailShown = true;
    bool m_detailCaptionShown = true;
    bool m_newer = false;
    QString m_upgradeText;
    QString m_cancelText;
    QString m_cancelWhy;
    bool m_cancelEnabled = true;
    QString m_progressText;
    double m_barPercent = 0.0;
    QString m_prompt;
    QString m_selectedText;
    QString m_phaseText;
    QString m_planText;
    QString m_stepsText;
};
