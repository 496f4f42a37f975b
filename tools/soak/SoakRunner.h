#pragma once

#include <QMap>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class ControllerRegistry;
class EAAccessoryManager;
class EADSessionController;
class QTemporaryDir;
class SimAccessoryTransport;
class ToastPresenter;
class ZelFirmwareUpgradeManager;

// Runs complete upgrade runs against the simulated controller with seeded
// random faults and checks, after every run, that a run never completes
// without the controller holding and reporting the release, never ends
// without a reason, never leaves the controller's flash or the user's files
// damaged, and sends nothing once it has ended; and that another controller
// plugged in during a run, or coming back in its controller's place, is sent
// nothing but queries.
//
// With several controllers each round runs on all of them at once, each
// with its own engine, faults and other controller, and the invariants hold
// for each; and no message of one controller's run reaches another.
class SoakRunner : public QObject {
    Q_OBJECT
public:
    // What one controller's rounds drive: the process's engine over its
    // session, as the application does; main() hands them over, made on
    // first use.
    struct Shared {
        std::function<ZelFirmwareUpgradeManager&()> engine;
        std::function<EADSessionController&()> session;
        std::function<EAAccessoryManager&()> accessories;
        std::function<ControllerRegistry&()> registry;
    };

    SoakRunner(quint32 seed, int controllers, Shared shared, QObject* parent = nullptr);
    ~SoakRunner() override;

    // Runs `runs` rounds (one upgrade on each controller); the first ones
    // send all three images, later ones mixes.
    void run(int runs);
    int controllers() const { return int(m_lanes.size()); }

    int completed() const { return m_completed; }
    // Runs that did not complete, by reason code.
    const QMap<QString, int>& failures() const { return m_failures; }
    const QStringList& violations() const { return m_violations; }

private:
    struct Plan;
    struct Lane;
    struct Round;
    Plan planRun(int index);
    void runOnce(int index);
    // A clean start on the lane's controller and its run started; false
    // (with the violation said) when the controller could not be prepared.
    bool startRun(Lane& lane, int index, Round& round, const QStringList& takenVersions);
    void checkRun(Lane& lane, int index, Round& round);
    // No data message of one lane's run reached another lane's controller.
    void checkCrossTalk(int index, const std::vector<std::unique_ptr<Round>>& rounds);
    void violation(int index, const QString& what);

    EAAccessoryManager& m_accessories;
    quint32 m_seed;
    QRandomGenerator m_random;
    std::unique_ptr<QTemporaryDir> m_documents;
    // One controller each, its engine, and another controller (another
    // Bluetooth address) that is plugged in and out at the same attachment
    // during runs, and sometimes comes back in place of the first.
    std::vector<std::unique_ptr<Lane>> m_lanes;
    std::unique_ptr<ToastPresenter> m_toasts;
    QStringList m_toastTexts;
    int m_completed = 0;
    QMap<QString, int> m_failures;
    QStringList m_violations;
};
