#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

// One running application per user: a second launch hands the files it was
// given to the running one over a local stream socket and ends. A plain
// AF_UNIX socket: the launch that paints the first screen loads no network stack.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kHandOverTimeoutMs = 3000;
    // A launch sends a few paths; anything far larger is not a launch.
    static constexpr qsizetype kMaxMessageBytes = 1 << 20;
    static constexpr int kListenBacklog = 8;

    // key: tells separate kinds of instance apart (the demo runs beside the real one).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance of this user runs and took the files; false
    // when this one is the first and now listens for later launches (or, when
    // even that fails, runs on alone). A socket of another user's at the name
    // gets nothing.
    bool handOver(const QList<QUrl>& files);

    // Receives the files of each later launch (possibly none: then it only asks
    // to be brought to the front).
    std::function<void(const QList<QUrl>&)> filesReceived;

    QString serverName() const { return m_name; }
    // The socket file, in the temporary folder.
    QString socketPath() const;
    bool isListening() const { return m_listener >= 0; }

private:
    struct Connection;
    bool send(const QByteArray& message);
    void listen();
    void acceptConnections();
    void readConnection(Connection* connection);
    void dropConnection(Connection* connection);

    QString m_name;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_listenNotifier;
    std::vector<std::unique_ptr<Connection>> m_connections;
};
