#pragma once

#include "input/ControllerCheck.h"
#include "input/KestGameControllerManager.h"

#include <QByteArray>
#include <QObject>

#include <map>
#include <memory>
#include <utility>

struct CliOptions;
class QSocketNotifier;
class Timer;
class VirtualGameController;

// The game-controller commands: `gamepads` lists the connected controllers,
// `keytest` prints every key and stick event until it is interrupted
// (with --values also the sticks' positions and the triggers' levels),
// `keytest --check` runs the guided stick check and prints its report,
// `rumble` runs the motors of the first controller that has them. All
// follow the machine's own controllers, or with --simulate only a virtual
// controller that is plugged in a moment after the start; `keytest
// --simulate` moves it by the commands it reads from standard input.
// Each returns its exit code, or -1 when it finishes later through the event loop.
class InputCommands : public QObject, public KestGameControllerManagerDelegate {
    Q_OBJECT
public:
    // "A moment after the start": late enough that the connection is seen as
    // an event, as a controller plugged in by hand would be.
    static constexpr double kSimulatedPlugInDelay = 0.1;
    // How long gamepads gives controllers to be found before listing them.
    static constexpr double kSettleSeconds = 0.5;
    // Longer lines of the --simulate script are refused, not buffered.
    static constexpr int kMaxScriptLine = 1024;
    // How long rumble runs the motors unless told otherwise, and at most
    // (what SDL allows for one request).
    static constexpr double kDefaultRumbleSeconds = 0.5;
    static constexpr double kMaxRumbleSeconds = 65.0;
    // The longest step `wait MS` takes at once, and the longest step limit
    // --seconds may set.
    static constexpr double kMaxWaitMs = 3600.0 * 1000.0;
    static constexpr double kMaxCheckStepSeconds = 600.0;
    // How often a check on the machine's own controllers looks at its clock.
    static constexpr double kCheckTickSeconds = 0.05;

    explicit InputCommands(const CliOptions& options, QObject* parent = nullptr);
    ~InputCommands() override;

    int gamepads();
    int keytest();
    int rumble();

    void gameControllerManager(KestGameControllerManager* manager,
                               const std::shared_ptr<KestGameController>& gameControllerConnected) override;
    void gameControllerManagerGameControllerDisconnected(KestGameControllerManager* manager) override;

private:
    bool startControllers();
    void fillSlots(bool values);
    void printTriggers(const GCControllerPtr& controller);
    void readScript();
    void runScriptLine(const QString& line);
    void stopOnSignals();
    bool parseCheckOptions(QString* error);
    void startCheck(const GCControllerPtr& controller);
    void checkStepChanged(ControllerCheck::Step step);
    void endCheck();
    qint64 checkClock() const;

    const CliOptions& m_options;
    std::unique_ptr<VirtualGameController> m_virtual;
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
