#pragma once

#include <QString>

#include <memory>

class QHttpServer;
class QTemporaryDir;
class ReleaseServer;

// The embedded default: a throw-away documents directory, a release server on
// 127.0.0.1 serving the demo releases and a web server there serving the demo
// game list and tutorial pages, so that a complete upgrade can be watched with
// the simulated controller, no hardware and no network.
class DemoEnvironment {
public:
    // documents / server: the user's own choices, which win; empty for the demo ones.
    DemoEnvironment(const QString& documents, const QString& server);
    ~DemoEnvironment();

    QString documentsPath() const;
    QString serverUrl() const;
    // The demo web pages' server, e.g. http://127.0.0.1:8080; empty when it could not listen.
    QString webUrl() const { return m_webUrl; }

private:
    std::unique_ptr<QTemporaryDir> m_documents;
    std::unique_ptr<ReleaseServer> m_server;
    std::unique_ptr<QHttpServer> m_webServer;
    QString m_webUrl;
};
