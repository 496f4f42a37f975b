#pragma once

#include "upgrade/ControllerProtocol.h"
#include "upgrade/RequestChannel.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <memory>

struct DeviceInformation;

// One question to the controller of what it runs and who it is: the right
// side's version, then, after a pause that lets the controller turn to its
// other side, the device information record (which holds the left side's
// and the boot loader's versions and the controller's address). Each half
// takes one answer; a stray reply too short to be one is passed over.
//
// The query owns its replies and its pause: dropped before its answer, it
// answers nothing, and a late reply or a copy of one finds no one.
class VersionQuery {
public:
    struct Hooks {
        // The right side answered, in seconds since its request.
        std::function<void(ControllerProtocol::Version version, double seconds)> right;
        // The device information answered; the query is over. The hook may drop the query.
        std::function<void(const DeviceInformation& record, double seconds)> record;
    };
    enum class Start { RightVersion, DeviceInformation };

    VersionQuery(RequestChannel& channel, double pauseSeconds, Hooks hooks);
    ~VersionQuery();
    VersionQuery(const VersionQuery&) = delete;
    VersionQuery& operator=(const VersionQuery&) = delete;

    // Asks from this half on: both halves, or the device information alone.
    void start(Start from = Start::RightVersion);

private:
    void askRecord();

    RequestChannel::Asker m_asker;
    double m_pauseSeconds;
    Hooks m_hooks;
    QElapsedTimer m_clock;
    // The pause between the halves is dropped with the query.
    std::unique_ptr<QObject> m_context;
};
