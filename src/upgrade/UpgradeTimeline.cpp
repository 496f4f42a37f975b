#include "upgrade/UpgradeTimeline.h"

#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <algorithm>

namespace {

// The version query: the right side's answer, the delay before the device
// information request, and its answer.
double versionQuerySeconds(double reply)
{
    return 2 * reply + ZelFirmwareUpgradeManager::kLeftRequestDelay;
}

} // namespace

UpgradeTimeline UpgradeTimeline::make(const UpgradePlan& plan, bool download, double replySeconds)
{
    UpgradeTimeline timeline;
    timeline.m_reply = std::max(replySeconds, kMinimumReplySeconds);
    if (download) {
        for (Kind kind : { Kind::Download, Kind::DigestCheck, Kind::Unpack }) {
            Step step;
            step.kind = kind;
            timeline.m_steps.append(step);
        }
    }
    for (const UpgradePlan::Step& image : plan.steps()) {
        Step step;
        step.kind = Kind::Image;
        step.image = image.image;
        step.bytes = image.bytes;
        step.messages = image.messages;
        timeline.m_steps.append(step);
        if (image.restartsAfter) {
            Step restart;
            restart.kind = Kind::Restart;
            restart.image = image.image;
            timeline.m_steps.append(restart);
        }
    }
    Step readBack;
    readBack.kind = Kind::ReadBack;
    timeline.m_steps.append(readBack);
    return timeline;
}

void UpgradeTimeline::setPlan(const UpgradePlan& plan)
{
    for (Step& step : m_steps) {
        if (step.kind != Kind::Image)
            continue;
        const int index = plan.indexOf(step.image);
        if (index < 0)
            continue;
        step.bytes = plan.steps().at(index).bytes;
        step.messages = plan.steps().at(index).messages;
    }
}

void UpgradeTimeline::setDownloadSize(qint64 bytes)
{
    for (Step& step : m_steps)
        if (step.kind == Kind::Download)
            step.bytes = bytes;
}

bool UpgradeTimeline::enter(Kind kind, UpgradePlan::Image image)
{
    for (int i = std::max(m_current, 0); i < m_steps.size(); ++i) {
        const Step& step = m_steps.at(i);
        const bool imageMatters = kind == Kind::Image || kind == Kind::Restart;
        if (step.kind != kind || (imageMatters && step.image != image))
            continue;
        for (int j = 0; j < i; ++j)
            m_steps[j].state = State::Done;
        m_steps[i].state = State::UnderWay;
        m_current = i;
        return true;
    }
    return false;
}

void UpgradeTimeline::complete()
{
    for (Step& step : m_steps)
        step.state = State::Done;
    m_current = -1;
}

void UpgradeTimeline::measuredRestart(double seconds)
{
    if (seconds > 0)
        m_restart = seconds;
}

double UpgradeTimeline::restartSeconds() const
{
    if (m_restart > 0)
        return m_restart;
    return kAssumedRestartSeconds + ZelFirmwareUpgradeManager::kReconnectDelay + versionQuerySeconds(m_reply);
}

double UpgradeTimeline::stepSeconds(const Step& step) const
{
    switch (step.kind) {
    case Kind::Download:
    case Kind::DigestCheck:
    case Kind::Unpack:
        return 0.0; // a local server's or disk's pace: not known before it starts
    case Kind::Image:
        return step.messages > 0 ? step.messages * m_reply : 0.0;
    case Kind::Restart:
        return restartSeconds();
    case Kind::ReadBack:
        return versionQuerySeconds(m_reply);
    }
    return 0.0;
}

double UpgradeTimeline::estimatedSeconds(bool* complete) const
{
    double total = 0;
    bool known = true;
    for (const Step& step : m_steps) {
        if (step.kind == Kind::Image && step.messages < 0)
            known = false;
        total += stepSeconds(step);
    }
    if (complete)
        *complete = known;
    return total;
}

double UpgradeTimeline::secondsLeft(double elapsed, double fraction) const
{
    double left = 0;
    for (int i = std::max(m_current + 1, 0); i < m_steps.size(); ++i)
        left += stepSeconds(m_steps.at(i));
    if (m_current < 0)
        return m_current == -1 && m_steps.value(0).state == State::Done ? 0.0 : left;
    const Step& step = m_steps.at(m_current);
    double current = std::max(0.0, stepSeconds(step) - elapsed);
    // A download has no foretold length: its own rate speaks from its first bytes.
    const double share = step.kind == Kind::Download ? 0.0 : kPaceShare;
    if (fraction > share && fraction >= 0.0 && fraction < 1.0 && elapsed > 0)
        current = elapsed * (1.0 - fraction) / fraction;
    return left + current;
}
