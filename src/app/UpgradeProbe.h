#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class EmbeddedDefault;
class ViewController;

// For the click-to-verified benchmark: plugs the simulated controller in,
// walks to the upgrade screen as a user would, picks the newest online
// release and presses "Upgrade Now". When the run ends it prints the time
// from the press to the verified outcome beside the protocol's floor (one
// reply delay per message, per restart the controller's restart time and the
// engine's wait before it reopens the session, and the pause within the
// version read-back), then ends the program.
class UpgradeProbe : public QObject {
    Q_OBJECT
public:
    // How long the walk to the press may take before the probe gives up.
    static constexpr int kWalkTimeoutMs = 30000;

    UpgradeProbe(ViewController* root, EmbeddedDefault* embedded, QObject* parent = nullptr);

    void start();

private:
    void poll();
    void press();
    void report();
    void fail(const QString& why);

    ViewController* m_root;
    EmbeddedDefault* m_embedded;
    QTimer m_poll;
    QElapsedTimer m_walk;
    QElapsedTimer m_clock;
    int m_step = 0;
    QString m_release;
    int m_messagesBefore = 0;
    int m_restartsBefore = 0;
    double m_estimateMs = 0.0; // what the screen foretold at the press
    QString m_phases;
};
