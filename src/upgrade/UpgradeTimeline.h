#pragma once

#include "upgrade/UpgradePlan.h"

#include <QList>

// The steps a run goes through, in order, each with the time it is expected
// to take: the download, digest check and unpacking of an online release,
// each image of the plan, the restart after a boot loader or left image, and
// the read-back of the versions. The estimate is worked out from the messages
// each image takes and the controller's reply time, and refined as the run
// goes: a measured restart stands for those still to come, and the current
// image's own pace for the rest of it.
class UpgradeTimeline {
public:
    enum class Kind { Download, DigestCheck, Unpack, Image, Restart, ReadBack };
    enum class State { ToCome, UnderWay, Done };

    struct Step {
        Kind kind = Kind::ReadBack;
        // For an image step: the image; for a restart: the image it follows.
        UpgradePlan::Image image = UpgradePlan::Image::Right;
        qint64 bytes = -1; // an image's sent bytes, or the download's size; -1 unknown
        int messages = -1;
        State state = State::ToCome;
    };

    // The controller's own restart, until it is attached again; the engine's
    // reconnection delay and the identity query follow. Replaced by the first
    // restart measured in a run.
    static constexpr double kAssumedRestartSeconds = 1.0;
    // A reply faster than this is counted as this: the event loop's own turn.
    static constexpr double kMinimumReplySeconds = 0.0002;
    // The current image's pace replaces the estimate once this share of it is sent.
    static constexpr double kPaceShare = 0.05;

    UpgradeTimeline() = default;
    // download: the release's archive is fetched, checked and unpacked first.
    static UpgradeTimeline make(const UpgradePlan& plan, bool download, double replySeconds);

    const QList<Step>& steps() const { return m_steps; }
    // The step under way; -1 before the first and after the last.
    int current() const { return m_current; }
    // The image sizes, once the release is unpacked.
    void setPlan(const UpgradePlan& plan);
    void setDownloadSize(qint64 bytes);
    // The run moves on to the next step of this kind (and image) after the
    // current one; the steps before it are done. False when there is none.
    bool enter(Kind kind, UpgradePlan::Image image = UpgradePlan::Image::Right);
    // Every step done.
    void complete();
    // A restart took this long, from the end acknowledgement to the versions of the return.
    void measuredRestart(double seconds);

    double replySeconds() const { return m_reply; }
    double restartSeconds() const;
    double stepSeconds(const Step& step) const;
    // The whole run, as estimated now; false in *complete when an image size
    // is not known yet (the estimate then leaves its messages out).
    double estimatedSeconds(bool* complete = nullptr) const;
    // What is left: the current step after `elapsed` seconds in it with
    // `fraction` of it done (negative: unknown), and every step after it.
    double secondsLeft(double elapsed, double fraction) const;

private:
    QList<Step> m_steps;
    int m_current = -1;
    double m_reply = kMinimumReplySeconds;
    double m_restart = -1; // measured; negative until a restart was
};
