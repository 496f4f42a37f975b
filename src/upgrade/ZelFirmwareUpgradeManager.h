#pragma once

#include "platform/transport/EAAccessory.h"
#include "upgrade/ControllerProtocol.h"
#include "upgrade/ReleaseFetcher.h"
#include "upgrade/DeviceInformation.h"
#include "upgrade/RequestChannel.h"
#include "upgrade/RightImageWriter.h"
#include "upgrade/UpgradePlan.h"
#include "upgrade/UpgradeReason.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class ControllerRegistry;
class EADSessionController;
class QObject;
class Timer;
class UpgradeRun;
class VersionQuery;
struct Notification;

// What checkFirmware found.
enum ZelFirmwareCheckResult : quint64 {
    ZelFirmwareCheckNeedUpgrade = 1,
    ZelFirmwareCheckVersionSame = 2,
    ZelFirmwareCheckNoGamepad = 4,
    ZelFirmwareCheckGamepadFirmwareDamaged = 8,
    ZelFirmwareCheckSelectedFirmwareDamaged = 16,
};

extern const QString ZelGamepadDisconnectByUpgradingFirmwareNotification;
// The notification's user-info key for the connection that went away.
extern const QString ZelConnectionIDKey;
// Posted with every progress figure of the image being sent (the object, in
// percent, as upgradeProgressBlock receives it), with the connection the
// engine talks to under ZelConnectionIDKey: for whoever follows a run
// without driving it.
extern const QString ZelUpgradeProgressNotification;

// Where a run stands, as the engine reports it to the run object that drives it.
enum class ZelUpgradePhase { Download, DigestCheck, Unpack, BootLoader, Left, Right, WaitingForRestart };

// The firmware upgrade engine of one controller: the request and reply layer
// over its accessory session, the version query, the image transfers and the
// sequencing of a run across the controller's restarts. sharedInstance() is
// the application's, following the controller the screens show over the
// shared session controller; a station makes one engine per controller, each
// with a session controller of its own.
class ZelFirmwareUpgradeManager {
public:
    using VersionCallback = std::function<void(const QString&)>;
    using ProgressBlock = std::function<void(double)>;

    static constexpr double kCheckVersionTimeout = 8.0;
    static constexpr double kLeftRequestDelay = 0.1;
    static constexpr double kUnplugPromptSeconds = 4.0;

    static ZelFirmwareUpgradeManager& sharedInstance();
    // The engine if a screen has asked for it already, without creating it.
    static ZelFirmwareUpgradeManager* existingInstance();
    // An engine that talks through session to whichever of the registry's
    // controllers arrives last, and shows its failures and prompts as
    // messages: the application's.
    ZelFirmwareUpgradeManager(ControllerRegistry& controllers, EADSessionController& session);
    // An engine of its own for the registry's controller attached at
    // location (as EAAccessory::location gives it, e.g.
    // "tcp:127.0.0.1:6000"): its own session controller, versions, reply
    // handler and transfer; it follows only the controllers attached there,
    // and shows no messages itself (its run reports its reasons).
    ZelFirmwareUpgradeManager(ControllerRegistry& controllers, const QString& location);
    ~ZelFirmwareUpgradeManager();
    ZelFirmwareUpgradeManager(const ZelFirmwareUpgradeManager&) = delete;
    ZelFirmwareUpgradeManager& operator=(const ZelFirmwareUpgradeManager&) = delete;

    // The session controller this engine talks through: the shared one for
    // the shared engine.
    EADSessionController& sessionController() const { return *m_session; }
    // Where this engine finds its controllers.
    ControllerRegistry& controllers() const { return m_controllers; }
    // Where this engine's controller is attached; empty for the shared
    // engine, which follows whichever controller arrives.
    QString location() const { return m_location; }
    // Whether failures and prompts are shown as messages (the shared engine).
    bool showsMessages() const { return m_location.isEmpty(); }
    // The run driving this engine, if any.
    UpgradeRun* currentRun() const { return m_run; }

    // The requests and replies of this engine's session: whoever asks the
    // controller something holds an asker of it.
    RequestChannel& requests() const { return *m_channel; }
    // Observes every message written and every piece of bytes read on the
    // link, as they happen (a recording of the session); null for none.
    using LinkTap = RequestChannel::LinkTap;
    void setLinkTap(LinkTap tap) { m_channel->setLinkTap(std::move(tap)); }
    // The tap of the shared engine: at once if it exists, else when it is made.
    static void setSharedLinkTap(LinkTap tap);

    // Version query.
    void checkCurrentVersion(VersionCallback callback);
    void checkRightSideVersion();
    void checkLeftSideVersion();
    void checkVersionWithSide(unsigned side, VersionCallback callback);
    // The version query without its replug prompt: for a caller that asks
    // several accessories in turn and says itself which did not answer.
    void probeVersions(VersionCallback callback);

    // How long the controller took to answer a request of the last version
    // query (the faster of its two), in seconds; 0 before any answer. A run's
    // estimate starts from it.
    double replySeconds() const { return m_replySeconds; }

    // The device information record, formatted.
    QString hardwareVersion() const;
    QString bluetoothVersion() const;
    QString softwareVersion() const;
    QString gcmVersion() const;
    QString productDateString() const;
    // The production date as YYYY-MM-DD.
    QString productionDate() const { return deviceInformation().productionDate(); }
    QString macAddressWithoutColon() const;
    QString bootVer() const;
    QString updateTime() const;
    // Who the controller is, for the screens: its Bluetooth address, hardware
    // and protocol versions and production date, localised; empty before any
    // device information arrived.
    QString controllerIdentityText() const;
    // A Bluetooth address as macAddressWithoutColon gives it, with colons.
    static QString addressWithColons(const QString& address);

    // Image transfers: one writer object per image (RightImageWriter,
    // LeftImageWriter); the engine holds the one in progress.
    static constexpr double kResendDelay = RightImageWriter::kResendDelay;
    static constexpr double kReconnectDelay = 2.0;
    // A run ends when no reply is accepted for this long during a transfer,
    // or the controller does not come back this long after a restart. While
    // the left side erases its flash (start acknowledgement) or commits it
    // (end acknowledgement) the controller may be silent for longer than
    // between two packets, so those phases have their own limit.
    static constexpr double kDefaultTransferSilence = 10.0;
    static constexpr double kDefaultFlashSilence = 30.0;
    static constexpr double kDefaultRestartWait = 60.0;

    // Orchestration.
    void upgradeBoot();
    void upgradeLeftSide();
    void upgradeRightSide();
    void upgradeOtherSideAfterConnectingAgain();
    // The plan of the run under way, worked out when its first image started.
    const UpgradePlan& plan() const { return m_plan; }
    // The image being sent, or the last one sent.
    UpgradePlan::Image currentImage() const { return m_currentImage; }
    // Whether the controller acknowledged the end of the plan's last image.
    bool planCompleted() const;

    // Release selection and start.
    static constexpr double kFailureSeconds = 3.0;
    static inline const QString& kBootFileName = ReleaseFetcher::kBootFileName;
    static inline const QString& kLeftFileName = ReleaseFetcher::kLeftFileName;
    static inline const QString& kRightFileName = ReleaseFetcher::kRightFileName;

    void setSelectedFirmware(const ZelFirmware* firmware);
    // Selects a release nobody picked (the newest the online list offers):
    // an online one is then installed only where it is newer than the
    // controller's.
    void offerRelease(const ZelFirmware* firmware);
    ZelFirmwareCheckResult checkFirmware();
    void startUpgrade();
    bool checkIfExitLocalFileWithPath(const QString& folder);
    void upgradeWithLocalFile();
    void upgradeWithRemoteFile();
    // A release archive larger than this is refused while it downloads.
    static constexpr qint64 kDefaultMaxDownloadBytes = qint64(64) * 1024 * 1024;
    // A download ends after this long without a byte (the platform's default
    // request time-out), or when it stays slower than the rate floor for
    // kDefaultSlowDownload: a server that trickles a byte now and then is
    // never silent.
    static constexpr double kDefaultDownloadSilence = 60.0;
    static constexpr qint64 kMinDownloadBytesPerSecond = 1024;
    static constexpr double kDefaultSlowDownload = 30.0;

    // The limits a caller (the command line, a test) gives an engine, in
    // seconds on the engine's time scale.
    struct Settings {
        double transferSilence = kDefaultTransferSilence;
        double flashSilence = kDefaultFlashSilence;
        double restartWait = kDefaultRestartWait;
        qint64 maxDownloadBytes = kDefaultMaxDownloadBytes;
        double downloadSilence = kDefaultDownloadSilence;
        qint64 minDownloadBytesPerSecond = kMinDownloadBytesPerSecond;
        double slowDownloadSeconds = kDefaultSlowDownload;
        bool operator==(const Settings&) const = default;
    };
    const Settings& settings() const { return m_settings; }
    // Applies from the next limit armed on; a watchdog already running keeps its deadline.
    void setSettings(const Settings& settings) { m_settings = settings; }
    // The settings of the shared engine: at once if it exists, else when it is made.
    static void setSharedSettings(const Settings& settings);
    // What the run object driving the engine is told, as it happens; each
    // hook is tested before it is called.
    struct RunHooks {
        // The image's progress in percent, across the plan.
        std::function<void(double)> progress;
        // The download's bytes received and expected (-1 when unknown).
        std::function<void(qint64, qint64)> downloadProgress;
        std::function<void(ZelUpgradePhase)> phase;
        // failRun's reason, or the end of a download refused for the run.
        std::function<void(const UpgradeReason& reason)> failed;
        // A new release was chosen while the run's download was under way.
        std::function<void()> cancelled;
        // The controller acknowledged the end of this image.
        std::function<void(UpgradePlan::Image image)> endAcknowledged;
        std::function<void(quint64 connection, bool expected)> disconnected;
        // The run's controller came back from a restart on connection and
        // said who it is; versions are what it reports now. The engine goes
        // on with the next image afterwards, if the run still wants one.
        std::function<void(quint64 connection, const QString& versions)> returned;
    };
    // The run drives this engine from now on, and alone hears what happens
    // to it through hooks; false, and nothing changed, while another run
    // holds it or an image is being written.
    bool attachRun(UpgradeRun* run, RunHooks hooks);
    // The run lets go: its hooks are dropped. Does nothing for a run that
    // does not hold the engine.
    void detachRun(const UpgradeRun* run);
    // Ends the download under way, if any: its request is aborted, its partial
    // file goes, and its completion does nothing.
    void abortDownload() { m_fetcher.abort(); }
    bool isDownloading() const { return m_fetcher.isDownloading(); }
    // Ends the run where it stands without a message: nothing more is sent.
    void cancelRun();
    // A run belongs to the controller with this Bluetooth address (as
    // macAddressWithoutColon gives it): while it lasts, other accessories'
    // arrivals and departures never touch it, and after every restart the
    // returning controller is asked who it is before anything else is sent.
    // The first call of a run also forgets what an earlier run sent and
    // whether a restart was expected.
    void beginRun(const QString& controller, quint64 connection);
    // Sends the given image files (an empty path is left out) in the order
    // boot loader, left, right, none of them counted as sent yet; false, and
    // nothing sent, when none is given.
    bool sendFiles(const QString& boot, const QString& left, const QString& right);
    // The run is over: whatever it queued and the link has not taken is dropped.
    void endRun();
    bool isRunActive() const { return m_runActive; }
    // The connection whose controller answered the last device information query; 0 before any.
    quint64 identifiedConnection() const { return m_identifiedConnection; }
    // The connection of the accessory the engine follows; 0 without one.
    quint64 connectionID() const { return m_accessory ? m_accessory->connectionID() : 0; }
    // While a run holds the reply path, version queries wait: the run's own
    // read-back answers them, or they are asked when the run releases it
    // without versions.
    void holdVersionQueries();
    void releaseVersionQueries(const QString& versions);
    bool versionQueriesHeld() const { return m_queriesHeld; }
    // The run's read-back of the versions, which a held reply path lets through.
    void readBackVersions(VersionCallback callback);

    // Accessory following.
    void addNotificationObserver();
    void _accessoryDidConnect(const Notification& notification);
    void _accessoryDidDisconnect(const Notification& notification);
    // Talks to this accessory from now on, at once, and earlier arrivals no
    // longer move the session: for a caller that chose it among several
    // (by asking each). Nothing happens during a run.
    void followAccessory(const EAAccessoryPtr& chosen);

    // What the engine knows, read-only: it alone writes it, from the
    // controller's replies and the release chosen.
    const EAAccessoryPtr& accessory() const { return m_accessory; }
    const QStringList& supportedProtocols() const;
    const QString& latestFirmwareVersion() const { return m_selectedRelease.version; }
    bool hasSelectedFirmware() const { return m_hasSelectedFirmware; }
    // The selected release's unpacked images; empty where it has none.
    const QString& bootFilePath() const { return m_bootFilePath; }
    const QString& leftFilePath() const { return m_leftFilePath; }
    const QString& rightFilePath() const { return m_rightFilePath; }
    const QString& filePath(UpgradePlan::Image image) const;
    // The controller's versions as its last answer gave them; null before.
    const QString& bootVersion() const { return m_bootVersion; }
    const QString& leftVersion() const { return m_leftVersion; }
    const QString& rightVersion() const { return m_rightVersion; }
    bool bootNeedUpgrade() const { return m_bootNeedUpgrade; }
    bool leftNeedUpgrade() const { return m_leftNeedUpgrade; }
    bool rightNeedUpgrade() const { return m_rightNeedUpgrade; }
    bool bootUpgradeDone() const { return m_bootUpgradeDone; }
    bool leftUpgradeDone() const { return m_leftUpgradeDone; }
    bool rightUpgradeDone() const { return m_rightUpgradeDone; }
    bool isUpgradingFirmware() const { return m_isUpgradingFirmware; }
    bool isGamepadDisconnectByUpgradingFirmware() const { return m_isGamepadDisconnectByUpgradingFirmware; }
    // The versions as "boot-left-right", the form a release's version takes.
    QString versionsText() const;
    // versionsText() of the controller followed now; empty when there is
    // none, or the versions held are another connection's.
    QString followedVersionsText() const;
    // A version query waits for its answer (its replug prompt is armed).
    bool versionQueryPending() const;

private:
    // The device information of the controller that answered the last query
    // (m_identifiedConnection), also while it restarts; all zero before.
    const DeviceInformation& deviceInformation() const;
    // For a message shown to the user: only the shared engine shows them.
    void showMessage(const QString& text, double seconds) const;
    // A query's device information answered, seconds after its request: the
    // versions are whole once the right side's are known too.
    void deviceInformationReceived(
        const DeviceInformation& record, double seconds, const VersionCallback& callback, bool forRun);
    // Follows an accessory as the one to talk to: its session opens after the reconnection delay.
    void followConnection(const EAAccessoryPtr& connected);
    void stopIdentifying();
    // A returning candidate that is not the run's controller, or does not answer, is dropped.
    void setCandidateAside(quint64 connection);
    // Whether an accessory is one this engine follows: a controller of the
    // registry and, for an engine bound to a location, attached there.
    bool offersDeclaredProtocol(const EAAccessoryPtr& candidate) const;
    void stopCheckVersionTimer();
    // A run's own queries (its identification and read-back) pass the hold
    // and show no prompt: the run's limits speak for them.
    void askVersion(unsigned side, VersionCallback callback, bool forRun = false);
    // After a restart: the next connection that arrived, asked who it is.
    void tryNextReturnCandidate();
    void returnIdentified(quint64 connection, const QString& versions);
    void notifyPhase(ZelUpgradePhase phase);
    // The first image of a run: the plan is made, and the image sent.
    void startPlanAt(UpgradePlan::Image first);
    void sendImage(UpgradePlan::Image image);

    // The writer of one of the plan's images, reporting to this engine.
    std::unique_ptr<ImageWriter> makeWriter(UpgradePlan::Image image);
    // The controller acknowledged the end of the image being sent.
    void imageEnded(UpgradePlan::Image image);
    // Hands a progress figure to upgradeProgressBlock and its observers.
    void reportPercent(double percent);
    // Ends the run: clears isUpgradingFirmware and tells the user.
    void failRun(const UpgradeReason& reason, double seconds = 1.5);
    // What the release fetcher is given: the download limits of the
    // settings, and hooks that report to the run and send the images found.
    ReleaseFetcher::Limits downloadLimits() const;
    ReleaseFetcher::Hooks fetchHooks();
    // Restarts the silence limit of the phase that begins: the flash limit
    // while the controller erases or commits its flash, else the packet one.
    void touchWatchdog(bool flashPhase = false);
    void armRestartWatchdog();
    // Fails the run for this reason when nothing has reset it within seconds.
    void armWatchdog(double seconds, UpgradeReason::Code reason);
    void stopWatchdog();

    EAAccessoryPtr m_accessory;
    ControllerRegistry& m_controllers;
    // The selected release: its version, address, digests, signature and
    // whether it came from the online list.
    ZelFirmware m_selectedRelease;
    QString m_bootFilePath, m_leftFilePath, m_rightFilePath;
    QString m_leftVersion, m_bootVersion, m_rightVersion;
    bool m_bootNeedUpgrade = false, m_leftNeedUpgrade = false, m_rightNeedUpgrade = false;
    bool m_bootUpgradeDone = false, m_leftUpgradeDone = false, m_rightUpgradeDone = false;
    bool m_isUpgradingFirmware = false;
    bool m_isGamepadDisconnectByUpgradingFirmware = false;
    bool m_hasSelectedFirmware = false;
    std::shared_ptr<Timer> m_checkVersionTimer;
    RunHooks m_runHooks;
    QString m_location;
    // A located engine's own session controller; m_session points at it, or
    // at the shared one.
    std::unique_ptr<EADSessionController> m_ownSession;
    EADSessionController* m_session = nullptr;
    // Delayed work of this engine is dropped with it.
    std::unique_ptr<QObject> m_context;
    // The session's requests and replies; the queries and writers below ask through it.
    std::unique_ptr<RequestChannel> m_channel;
    // The screen's query and the run's own (its identification and read-back):
    // dropping one drops its replies and its pause.
    std::unique_ptr<VersionQuery> m_query;
    std::unique_ptr<VersionQuery> m_runQuery;
    Settings m_settings;
    UpgradeRun* m_run = nullptr;
    double m_replySeconds = 0.0;
    std::shared_ptr<Timer> m_watchdog;
    // The writer of the image under way; dropping it cancels it.
    std::unique_ptr<ImageWriter> m_transfer;
    UpgradePlan m_plan;
    // The plan's images as they were read when it was made: a run sends those,
    // whatever happens to the files meanwhile (a release unpacked again, or
    // imported again, while the run waits for a restart).
    std::array<std::optional<QByteArray>, 3> m_planImages;
    // The plan's step being sent; -1 for an image the plan does not hold.
    int m_step = -1;
    // The controller acknowledged the end of the current step's image.
    bool m_stepDone = false;
    UpgradePlan::Image m_currentImage = UpgradePlan::Image::Right;
    // A silence limit waiting for the session to open; 0 when none.
    double m_silenceLimitOnOpening = 0.0;
    // The run sent an image to the left side and waits for the controller to
    // come back; only a connection made while waiting continues it.
    bool m_awaitingReconnect = false;
    quint64 m_lastContinuedConnection = 0;
    // Finds the selected release's images; a run's end aborts its download.
    ReleaseFetcher m_fetcher;
    bool m_queriesHeld = false;
    bool m_runActive = false;
    QString m_runController;
    quint64 m_runConnection = 0;
    // How long past the query's own timer a returning candidate may take to answer.
    static constexpr double kIdentifyGrace = 0.25;
    std::shared_ptr<Timer> m_identifyTimer;
    quint64 m_identifiedConnection = 0;
    // Connections that arrived while the run waited for its controller's
    // return, in their order; each is asked who it is in turn.
    struct ReturnCandidate {
        EAAccessoryPtr accessory;
        bool ready = false; // its reconnection delay has passed
    };
    QList<ReturnCandidate> m_returnCandidates;
    VersionCallback m_queryInFlight;
    bool m_hasQueryInFlight = false;
    bool m_identifying = false;
    QList<std::pair<unsigned, VersionCallback>> m_heldQueries;
};
