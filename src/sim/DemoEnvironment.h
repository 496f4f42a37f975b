#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;
class ReleaseServer;

// The embedded default: a throw-away documents directory and a release server
// on 127.0.0.1 serving the demo releases, so that a complete upgrade can be
// watched with the simulated controller, no hardware and no network.
class DemoEnvironment {
public:
    // documents / server: the user's own choices, which win; empty for the demo ones.
    DemoEnvironment(const QString& documents, const QString& server);
    ~DemoEnvironment();

    QString documentsPath() const;
    QString serverUrl() const;

private:
    std::unique_ptr<QTemporaryDir> m_documents;
    std::unique_ptr<ReleaseServer> m_server;
};
