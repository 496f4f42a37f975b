#pragma once

#include "cli/GameControllerCommand.h"
#include "input/ControllerCheck.h"
#include "input/KestGameControllerManager.h"

#include <QByteArray>

#include <map>
#include <memory>
#include <utility>

class QSocketNotifier;
class Timer;

// `keytest` prints every key and stick event until it is interrupted (with
// --values also the sticks' positions and the triggers' levels); `keytest
// --check` runs the guided stick check and prints its report. With
// --simulate the virtual controller moves by the commands it reads from
// standard input.
class KeytestCommand : public GameControllerCommand, public KestGameControllerManagerDelegate {
    Q_OBJECT
public:
    // Longer lines of the --simulate script are refused, not buffered.
    static constexpr int kMaxScriptLine = 1024;
    // The longest step `wait MS` takes at once, and the longest step limit
    // --seconds may set.
    static constexpr double kMaxWaitMs = 3600.0 * 1000.0;
    static constexpr double kMaxCheckStepSeconds = 600.0;
    // How often a check on the machine's own controllers looks at its clock.
    static constexpr double kCheckTickSeconds = 0.05;

    explicit KeytestCommand(CliOptions& options, QObject* parent = nullptr);
    ~KeytestCommand() override;

    QString name() const override { return QStringLiteral("keytest"); }
    QString synopsis() const override
    {
        return QStringLiteral("[--values] | --check [--json] [--stick left|right|both] [--seconds S]");
    }
    QString description() const override;
    QList<QCommandLineOption> options() const override
    {
        return { m_valuesOption, m_checkOption, m_jsonOption, m_stickOption, m_secondsOption };
    }
    int run(const QCommandLineParser& parser) override;

    void gameControllerManager(KestGameControllerManager* manager,
        const std::shared_ptr<KestGameController>& gameControllerConnected) override;
    void gameControllerManagerGameControllerDisconnected(KestGameControllerManager* manager) override;

private:
    void fillSlots(bool values);
    void printTriggers(const GCControllerPtr& controller);
    void readScript();
    void runScriptLine(const QString& line);
    static void refuseLine(const QString& line);
    void stopOnSignals();
    bool parseCheckOptions(const QCommandLineParser& parser, QString* error);
    void startCheck(const GCControllerPtr& controller);
    void checkStepChanged(ControllerCheck::Step step);
    void endCheck();
    qint64 checkClock() const;

    const QCommandLineOption m_valuesOption;
    const QCommandLineOption m_checkOption;
    const QCommandLineOption m_jsonOption;
    const QCommandLineOption m_stickOption;
    const QCommandLineOption m_secondsOption;
    bool m_values = false;
    bool m_started = false;
    QSocketNotifier* m_script = nullptr;
    QByteArray m_scriptBuffer;
    bool m_skippingLongLine = false;
    // keytest --check: its options, the check under way, the script's test
    // clock (microseconds, moved by `wait MS`) and the tick that has a check
    // on real controllers look at the steady clock.
    bool m_checking = false;
    bool m_json = false;
    ControllerCheck::Options m_checkOptions;
    ControllerCheck* m_check = nullptr;
    qint64 m_testClock = 0;
    std::shared_ptr<Timer> m_checkTick;
    // The trigger levels printed last, by controller.
    std::map<const GCController*, std::pair<float, float>> m_triggers;
};
