#pragma once

#include "firmware/ZelFirmware.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/UpgradeScreenModel.h"
#include "views/ZelBaseView.h"

#include <QElapsedTimer>

#include <memory>
#include <optional>

class QLabel;
class QMessageBox;
class QVariantAnimation;
class ZelFirmwareDataTool;
class ZelFirmwareUpgradeManager;
class ZelFirmwareListView;
class ZelUpgradeHistoryView;
namespace Ui {
class ZelUpgradeContentView;
}

// The screen on which the user picks a release, checks it against the
// controller, starts the upgrade and follows its run to one outcome: the
// versions read back when it completed, the reason and a new start when it
// failed or was cancelled.
//
// What it shows and what may be pressed is its model's; the screen draws the
// model after each change, forwards its presses, and asks the model's
// questions in boxes of its own.
class ZelUpgradeView : public ZelBaseView {
    Q_OBJECT
public:
    using State = UpgradeScreenModel::State;

    static constexpr double kMessageSeconds = UpgradeScreenModel::kMessageSeconds;
    static constexpr double kProgressAnimationSeconds = 0.1;

    // The engine the screen's runs drive and the catalogue it asks; both outlive the screen.
    ZelUpgradeView(ZelFirmwareUpgradeManager& engine, ZelFirmwareDataTool& catalogue, QWidget* parent = nullptr);
    ~ZelUpgradeView() override;

    // The list of releases, local or online, once it was first opened; null before.
    ZelFirmwareListView* firmwareList() const { return m_list; }
    // The history of runs, once it was first opened; null before.
    ZelUpgradeHistoryView* history() const { return m_history; }
    // Puts away the list or the history shown over the screen; false when neither was.
    bool closeOverlay();

    void checkFirmwareVersion();
    void hideFirmwareListView();

    void restoreToOriginalState();
    void checkCanUpgradeAfterChoosingFirmware();

    void closeAction();
    void upgradeAction();
    void localFileAction();
    void otherVersionAction();
    void historyAction();
    void cancelAction();
    void retryAction();

    const UpgradeScreenModel& model() const { return *m_model; }
    State state() const { return m_model->state(); }
    static QString stateName(State state) { return UpgradeScreenModel::stateName(state); }
    // The plan's text for the picked release, as the screen shows it in the ready state.
    QString planText() const { return m_model->planTextNow(); }
    // The steps' text of the run, as shown while it runs and after its outcome.
    QString stepsText() const { return m_model->stepsTextNow(); }
    // The run's newest figures wait for the end of the frame (drawFigures).
    bool figuresPending() const { return m_figuresPending; }

    // The run's progress, in percent.
    void showProgress(double percent) { m_model->showProgress(percent); }
    // The run started by the upgrade button, while it lasts and after it ended.
    UpgradeRun* run() const { return m_model->run(); }

signals:
    // The close press was accepted: whoever shows the screen takes it away.
    void closeRequested();

protected:
    // Showing starts the choice over and refreshes the versions.
    void didSetHidden(bool hidden) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Sets every widget from the model: the one place that shows and hides them.
    void draw();
    // The figures a run moves every few messages (its percentage and time
    // left): each new text lays the screen out again, so while the state
    // and the step stay they are drawn at most once a frame, the last of
    // them at the frame's end. A new state or step draws them at once.
    void drawFigures();
    // Asks the model's question over the screen; a confirmation goes back to the model.
    void ask(const UpgradeScreenModel::Question& question);
    // Opens a question over the screen, which steps back behind it.
    void openQuestion(QMessageBox* question);
    void showFirmwareList(quint64 type);
    void firmwareSelected(const std::optional<ZelFirmware>& firmware);
    void setProgressText(const QString& text);
    void fitProgressText();
    void moveProgressBar(double percent, bool glide);
    void layoutProgressBar();

    // The widgets are the screen's own: others see the model, and tests
    // reach a widget by its object name.
    std::unique_ptr<Ui::ZelUpgradeContentView> m_ui;
    // Under the status line, as wide as the run's progress.
    QLabel* m_progressBar = nullptr;
    ZelFirmwareListView* m_list = nullptr;
    ZelUpgradeHistoryView* m_history = nullptr;
    UpgradeScreenModel* m_model = nullptr;
    QVariantAnimation* m_progressAnimation = nullptr;
    double m_barPercent = 0.0; // what the bar shows, 0 to 100
    int m_progressFontPixels = 0; // the status line's font size in use
    static constexpr double kFrameSeconds = 0.016;
    bool m_figuresPending = false;
    QElapsedTimer m_figuresDrawn;
    // The state and step they were last drawn in.
    std::optional<State> m_figuresState;
    QString m_figuresPhase;
};
