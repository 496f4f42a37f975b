#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QLocalServer;

// One running application per user: a second launch hands the files it was
// given to the running one over a local socket and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kHandOverTimeoutMs = 3000;

    // key: tells separate kinds of instance apart (the demo runs beside the real one).
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance runs and took the files; false when this one
    // is the first and now listens for later launches.
    bool handOver(const QList<QUrl>& files);

    // Receives the files of each later launch (possibly none: then it only asks
    // to be brought to the front).
    std::function<void(const QList<QUrl>&)> filesReceived;

    QString serverName() const { return m_name; }

private:
    void readConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
};
