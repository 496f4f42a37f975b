#pragma once

#include "firmware/ZelFirmware.h"
#include "upgrade/UpgradeRun.h"
#include "views/ZelBaseView.h"

#include <QList>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QLabel;
class QMessageBox;
class QVariantAnimation;
class Timer;
class ZelFirmwareListView;
class ZelUpgradeHistoryView;

// The screen on which the user picks a release, checks it against the
// controller, starts the upgrade and follows its run to one outcome: the
// versions read back when it completed, the reason and a new start when it
// failed or was cancelled.
//
// The screen is in one state at a time, and one function lays its widgets
// out for it. What it shows of a run it hears from the run alone.
class ZelUpgradeView : public ZelBaseView {
    Q_OBJECT
public:
    enum class State {
        Choosing, // no release picked that the controller can take
        Ready, // a release picked, its plan shown, "Upgrade Now" offered
        Running,
        Completed,
        Failed,
        Cancelled
    };
    Q_ENUM(State)

    static constexpr double kMessageSeconds = 3.0;
    static constexpr double kProgressAnimationSeconds = 0.1;

    explicit ZelUpgradeView(QWidget* parent = nullptr);
    ~ZelUpgradeView() override;

    std::function<void()> closeBlock;
    ZelFirmwareListView* firmwareListView = nullptr;
    ZelUpgradeHistoryView* historyView = nullptr;

    QPointer<QAbstractButton> upgradeButton;
    QPointer<QAbstractButton> closeButton;
    QPointer<QAbstractButton> localFileButton;
    QPointer<QAbstractButton> remoteFileButton;
    QPointer<QAbstractButton> historyButton;
    // Asks for the release list again after the server could not be reached.
    QPointer<QAbstractButton> retryButton;
    QPointer<QLabel> currentVersionTitleLabel;
    QPointer<QLabel> currentVersionLabel;
    // Which controller this is: address, hardware and protocol version, production date.
    QPointer<QLabel> controllerLabel;
    QPointer<QLabel> latestVersionTitleLabel;
    QPointer<QLabel> latestVersionLabel;
    QPointer<QLabel> detailTitleLabel;
    QPointer<QLabel> detailLabel;
    QPointer<QLabel> progressTextLabel;
    QPointer<QLabel> upgradePromptLabel;
    QPointer<QLabel> selectedFirmwareLabel;
    QPointer<QLabel> upgradePromptRedDot;
    // The run's step: what it downloads, which part it sends, how long the
    // controller has left to come back from a restart.
    QPointer<QLabel> phaseLabel;
    // Before the press, the plan: the images sent and skipped, the restarts,
    // the estimated duration and the release's signature.
    QPointer<QLabel> planLabel;
    // During and after the run its steps and the time left.
    QPointer<QLabel> stepsLabel;
    // Stops a run while nothing can be damaged; disabled, saying why, while an image is written.
    QPointer<QAbstractButton> cancelButton;
    QLabel* progressBgLabel = nullptr;

    void checkFirmwareVersion();
    void hideFirmwareListView();

    void switchToUpgradeState();
    void restoreToOriginalState();
    void checkCanUpgradeAfterChoosingFirmware();

    void closeAction();
    void upgradeAction();
    void localFileAction();
    void otherVersionAction();
    void historyAction();
    void cancelAction();
    void retryAction();

    State state() const { return m_state; }
    static QString stateName(State state);
    // The plan's text for the picked release, as the screen shows it in the ready state.
    QString planText() const;
    // The steps' text of the run, as shown while it runs and after its outcome.
    QString stepsText() const;

    // The run's progress, in percent.
    void showProgress(double percent);
    // The run started by the upgrade button, while it lasts and after it ended.
    UpgradeRun* run() const { return m_run; }

protected:
    // Showing starts the choice over and refreshes the versions.
    void didSetHidden(bool hidden) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Asks to install the selected release, older than the controller's current.
    void askToInstallOlder(const QString& current);
    // Opens a question over the screen, which steps back behind it.
    void openQuestion(QMessageBox* question);
    // Asks before a new try goes to another controller than the one the last run was for.
    void askToInstallOnOther(const QString& attached, const QString& lastFor);
    // Starts the run of the selected release; with an expected controller,
    // only on that one.
    void startRun(const QString& expectedController = QString());
    // The controller's versions as the engine last read them, when they are
    // the attached controller's; empty otherwise.
    QString currentVersions() const;
    // Whether the selected release is older than the controller's in any part.
    bool selectionIsOlder() const;
    // A controller came or went: the screen names the one it would write to.
    void controllerChanged();

    void showFirmwareList(quint64 type);
    void firmwareSelected(const std::optional<ZelFirmware>& firmware);
    void showLatestFirmware(const QList<ZelFirmware>& firmwares, const QString& error, const QString& currentVersion);
    bool isRunning() const;
    void setChoiceEnabled(bool enabled);
    void showPhase(UpgradeRun::Phase phase);
    void showDownload(qint64 received, qint64 total);
    void runFinished(UpgradeRun::Outcome outcome);
    void setProgressText(const QString& text);
    void fitProgressText();
    void animateProgressBar(double percent);
    void layoutProgressBar();
    void setPhaseText(const QString& text);
    void countRestartDown();
    void stopRestartCountdown();
    void setState(State state);
    // Lays the widgets out for the state: the one place that shows and hides them.
    void layoutForState();
    void showSteps();
    void showCancellable();

    QPointer<UpgradeRun> m_run;
    std::optional<ZelFirmware> m_selected;
    QVariantAnimation* m_progressAnimation = nullptr;
    double m_barPercent = 0.0; // what the bar shows, 0 to 100
    int m_progressFontPixels = 0; // the status line's font size in use
    State m_state = State::Choosing;
    std::shared_ptr<Timer> m_stepsTicker;
};
