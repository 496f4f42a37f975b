#include "platform/runtime/SleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

QDBusMessage screenSaverCall(const QString& method)
{
    return QDBusMessage::createMethodCall(SleepInhibitor::kScreenSaverService, SleepInhibitor::kScreenSaverPath,
        SleepInhibitor::kScreenSaverInterface, method);
}

// Gives a cookie back; nobody waits for the answer.
void unInhibit(uint cookie)
{
    QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
    call << cookie;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}

} // namespace

SleepInhibitor::SleepInhibitor(QObject* parent)
    : QObject(parent)
{
}

SleepInhibitor::~SleepInhibitor()
{
    release();
}

void SleepInhibitor::hold(const QString& who, const QString& why)
{
    if (m_holding)
        return;
    m_holding = true;
    ++m_generation;
    askLogind(who, why);
    askScreenSaver(who, why);
}

void SleepInhibitor::release()
{
    if (!m_holding)
        return;
    m_holding = false;
    ++m_generation; // answers still on their way are given back as they come
    m_descriptor = QDBusUnixFileDescriptor(); // closing it ends logind's lock
    if (m_cookie)
        unInhibit(*m_cookie);
    m_cookie.reset();
}

void SleepInhibitor::askLogind(const QString& who, const QString& why)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        const QString reason = bus.lastError().message();
        emit unavailable(reason.isEmpty() ? QStringLiteral("no system bus") : reason);
        return;
    }
    QDBusMessage call
        = QDBusMessage::createMethodCall(kLogindService, kLogindPath, kLogindInterface, QStringLiteral("Inhibit"));
    call << kWhat << who << why << kMode;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    const quint64 generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
        if (reply.isError()) {
            if (generation == m_generation)
                emit unavailable(reply.error().message());
            return;
        }
        // A lock for a hold already released is closed with the reply.
        if (generation != m_generation)
            return;
        m_descriptor = reply.value();
        emit held();
    });
}

void SleepInhibitor::askScreenSaver(const QString& who, const QString& why)
{
    // Without a desktop there is no screen saver to ask; logind's lock is the one that matters.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << who << why;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    const quint64 generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError())
            return;
        if (generation != m_generation) {
            unInhibit(reply.value());
            return;
        }
        m_cookie = reply.value();
    });
}
