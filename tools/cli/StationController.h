#pragma once

#include "cli/UpgradeCommand.h"
#include "firmware/ZelFirmware.h"
#include "platform/transport/DeviceAddress.h"
#include "upgrade/UpgradeReason.h"
#include "upgrade/UpgradeRun.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class ControllerRegistry;
class EAAccessoryManager;
class AccessoryTransport;
class LinkRecorder;
class RunReporter;

// One controller of a station: its own transport, engine (with the limits
// of the command line), run and history record. It reaches the controller,
// then runs the station's job on it; what happens to it never touches
// another controller's.
class StationController : public QObject {
    Q_OBJECT
public:
    enum class State { Connecting, Reading, Waiting, Running, Completed, Failed };

    // What every controller of the station does.
    struct Job {
        bool upgrade = false;
        // flash: the images (empty: not sent).
        QString boot, left, right;
        // upgrade: the release, found once for the station.
        ZelFirmware release;
        UpgradeCommand::Source source = UpgradeCommand::Source::Local;
        bool allowOlder = false;
    };

    StationController(const QString& deviceText, const DeviceAddress& device,
        const ZelFirmwareUpgradeManager::Settings& settings, bool json, EAAccessoryManager& accessories,
        ControllerRegistry& controllers, QObject* parent = nullptr);
    ~StationController() override;

    // Before connectWithin: the session on this controller's link is
    // recorded into path (--record).
    void recordInto(const QString& path) { m_recordPath = path; }
    // Starts the transport; the controller must attach within waitSeconds
    // (real seconds), or it fails.
    void connectWithin(double waitSeconds);
    // The job runs once the controller is attached (at once if it is). An
    // upgrade first reads the versions, then asks mayStart whether its run
    // may begin now; a caller that says no calls proceed() later.
    void setJob(const Job& job) { m_job = job; }
    void begin();
    // Whether the run would fetch its release first (the station lets one
    // download at a time).
    bool downloadsFirst() const;
    // A run held back by the station begins.
    void proceed();
    std::function<bool(StationController*)> mayStart;

    // The user's cancel: a controller not yet running ends at once, a run
    // as UpgradeRun::requestCancel says. False while it waits for its image's end.
    bool cancel();

    QString device() const { return m_deviceText; }
    State state() const { return m_state; }
    bool isOver() const { return m_state == State::Completed || m_state == State::Failed; }
    // Why it failed, localised; empty otherwise.
    QString failureText() const { return m_failure; }
    // The run's code when the run failed; None for a failure before it.
    UpgradeReason::Code failureCode() const { return m_failureCode; }
    // The status line's text after the device: what it is doing (with the
    // run's percentage when asked), or how it ended.
    QString statusText(bool withProgress = true) const;
    const UpgradeRun* run() const { return m_run.get(); }

signals:
    // The status line changed.
    void changed();
    // Completed or failed.
    void over();

private:
    void attached();
    void readVersions();
    void versionsRead(const QString& versions);
    void startRun();
    void runFinished();
    void fail(const QString& why);
    void setState(State state);

    EAAccessoryManager& m_accessories;
    ControllerRegistry& m_controllers;
    QString m_deviceText;
    DeviceAddress m_device;
    ZelFirmwareUpgradeManager::Settings m_settings;
    bool m_json = false;
    Job m_job;
    State m_state = State::Connecting;
    AccessoryTransport* m_transport = nullptr; // owned by the accessory manager
    QString m_recordPath;
    LinkRecorder* m_recorder = nullptr;
    std::unique_ptr<ZelFirmwareUpgradeManager> m_engine;
    // Declared after the engine: it ends before the engine does.
    std::unique_ptr<UpgradeRun> m_run;
    RunReporter* m_reporter = nullptr;
    QTimer m_deadline;
    double m_waitSeconds = 0;
    bool m_begun = false;
    bool m_versionsRead = false;
    QString m_failure;
    UpgradeReason::Code m_failureCode = UpgradeReason::Code::None;
    // An outcome without a run: the controller needed nothing.
    QString m_note;
};
