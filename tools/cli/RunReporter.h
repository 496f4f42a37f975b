#pragma once

#include "upgrade/UpgradeRun.h"

#include <QObject>
#include <QString>

#include <functional>

class ProgressPrinter;
class QTimer;

// Shows an upgrade run on the command line: progress on standard error, or
// with --json one event object a line on standard output, and its outcome.
// An interruption (SIGINT, SIGTERM) cancels the run as safely as it can.
class RunReporter : public QObject {
    Q_OBJECT
public:
    // Called with the run once it has ended, after its outcome was shown.
    using Ended = std::function<void(const UpgradeRun& run)>;

    RunReporter(UpgradeRun* run, bool json, Ended ended, QObject* parent = nullptr);
    ~RunReporter() override;
    // For one controller of several (a station): every event line names the
    // device, and the reason of a failure is left to the caller, who names
    // the device with it.
    void setDevice(const QString& device) { m_device = device; }

private:
    void event(const QJsonObject& object);
    void ended(UpgradeRun::Outcome outcome);
    void showPhase(UpgradeRun::Phase phase);

    UpgradeRun* m_run;
    bool m_json;
    Ended m_ended;
    ProgressPrinter* m_progress;
    ProgressPrinter* m_download;
    QTimer* m_countdown = nullptr;
    int m_lastTenths = -1;
    bool m_interruptNoted = false;
    QString m_device;
};
