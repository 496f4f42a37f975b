#pragma once

#include <QMap>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

class QTemporaryDir;
class SimAccessoryTransport;
class ToastPresenter;

// Runs complete upgrade runs against the simulated controller with seeded
// random faults and checks, after every run, that a run never completes
// without the controller holding and reporting the release, never ends
// without a reason, never leaves the controller's flash or the user's files
// damaged, and sends nothing once it has ended; and that another controller
// plugged in during a run, or coming back in its controller's place, is sent
// nothing but queries.
class SoakRunner : public QObject {
    Q_OBJECT
public:
    explicit SoakRunner(quint32 seed, QObject* parent = nullptr);
    ~SoakRunner() override;

    // Runs `runs` upgrades; the first ones send all three images, later ones mixes.
    void run(int runs);

    int completed() const { return m_completed; }
    // Runs that did not complete, by reason code.
    const QMap<QString, int>& failures() const { return m_failures; }
    const QStringList& violations() const { return m_violations; }

private:
    struct Plan;
    Plan planRun(int index);
    void runOnce(int index);
    void violation(int index, const QString& what);

    quint32 m_seed;
    QRandomGenerator m_random;
    std::unique_ptr<QTemporaryDir> m_documents;
    SimAccessoryTransport* m_transport = nullptr;
    // Another controller (another Bluetooth address) that is plugged in and
    // out during runs, and sometimes comes back in place of the first.
    SimAccessoryTransport* m_other = nullptr;
    std::unique_ptr<ToastPresenter> m_toasts;
    QStringList m_toastTexts;
    int m_completed = 0;
    QMap<QString, int> m_failures;
    QStringList m_violations;
};
