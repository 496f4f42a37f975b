#include "upgrade/VersionQuery.h"

#include "platform/runtime/MainQueue.h"
#include "upgrade/DeviceInformation.h"

#include <utility>

VersionQuery::VersionQuery(RequestChannel& channel, double pauseSeconds, Hooks hooks)
    : m_asker(channel)
    , m_pauseSeconds(pauseSeconds)
    , m_hooks(std::move(hooks))
    , m_context(std::make_unique<QObject>())
{
}

VersionQuery::~VersionQuery() = default;

void VersionQuery::start(Start from)
{
    if (from == Start::DeviceInformation) {
        askRecord();
        return;
    }
    m_clock.start();
    m_asker.send(
        ControllerProtocol::request(ControllerProtocol::Message::RightVersion), [this](const QByteArray& reply) {
            const std::optional<ControllerProtocol::Version> version = ControllerProtocol::rightVersion(reply);
            if (!version)
                return; // too short to hold a version: a stray reply
            m_asker.answered();
            const double seconds = double(m_clock.nsecsElapsed()) / 1e9;
            MainQueue::dispatchAfter(
                m_pauseSeconds, [this] { askRecord(); }, m_context.get());
            if (auto hook = m_hooks.right; hook)
                hook(*version, seconds);
        });
}

void VersionQuery::askRecord()
{
    m_clock.start();
    m_asker.send(
        ControllerProtocol::request(ControllerProtocol::Message::DeviceInformation), [this](const QByteArray& reply) {
            DeviceInformation record;
            if (!record.fill(reply))
                return;
            m_asker.answered();
            const double seconds = double(m_clock.nsecsElapsed()) / 1e9;
            // The hook may drop the query: nothing of it is touched after.
            if (auto hook = m_hooks.record; hook)
                hook(record, seconds);
        });
}
