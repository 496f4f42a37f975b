#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <vector>

// A named broadcast with an optional object and user info.
struct Notification {
    QString name;
    QVariant object;
    QVariantMap userInfo;
};

// The default notification center: observers register for a name and are
// called synchronously, on the posting thread, in registration order.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    // observer identifies the registration for removeObserver; it is never dereferenced.
    void addObserver(const void* observer, const QString& name, Handler handler);
    // Removes every registration of observer.
    void removeObserver(const void* observer);
    void postNotification(const QString& name, const QVariant& object = {}, const QVariantMap& userInfo = {});
    // Whether anyone observes name: a poster of a notification per message
    // need not build one that nobody hears.
    bool hasObservers(const QString& name) const;

private:
    struct Entry {
        const void* observer;
        QString name;
        Handler handler;
        quint64 id;
    };
    std::vector<Entry> m_entries;
    quint64 m_nextId = 1;
};
