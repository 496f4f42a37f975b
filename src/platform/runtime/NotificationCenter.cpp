#include "platform/runtime/NotificationCenter.h"

#include <algorithm>

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const void* observer, const QString& name, Handler handler)
{
    m_entries.push_back({ observer, name, std::move(handler), m_nextId++ });
}

void NotificationCenter::removeObserver(const void* observer)
{
    std::erase_if(m_entries, [observer](const Entry& e) { return e.observer == observer; });
}

bool NotificationCenter::hasObservers(const QString& name) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&name](const Entry& e) { return e.name == name; });
}

void NotificationCenter::postNotification(const QString& name, const QVariant& object, const QVariantMap& userInfo)
{
    // Handlers may add or remove observers while we deliver: take a snapshot
    // of the ids first, and skip entries that disappeared in the meantime.
    std::vector<quint64> ids;
    for (const Entry& e : m_entries)
        if (e.name == name)
            ids.push_back(e.id);
    if (ids.empty())
        return;
    const Notification note { name, object, userInfo };
    for (quint64 id : ids) {
        auto it = std::find_if(m_entries.begin(), m_entries.end(), [id](const Entry& e) { return e.id == id; });
        if (it == m_entries.end())
            continue;
        Handler handler = it->handler; // copy: the entry may go away during the call
        if (handler)
            handler(note);
    }
}
