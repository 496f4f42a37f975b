#pragma once

#include <QString>

#include <memory>

class HttpServing;
class QTemporaryDir;
class ReleaseServer;
class ReleaseSignature;

// The embedded default: a throw-away documents directory, a static site on
// 127.0.0.1 serving the demo releases, signed at start by a root and a
// release key made for the run, and a web server there serving the demo
// game list and tutorial pages, so that a complete upgrade can be watched with
// the simulated controller, no hardware and no network.
class DemoEnvironment {
public:
    enum class Servers { Now, Later };
    // Where the web page screens' pages come from: the demo's own server, or
    // the configured web hosts, as in a run without the demo (where, without
    // a network or with the placeholder hosts, the application shows the
    // copies it ships).
    enum class WebPages { Served, FromTheSite };
    // documents / server: the user's own choices, which win; empty for the demo
    // ones. With Servers::Later the demo's servers start with startServers():
    // an application shows its first screen before it loads the HTTP stack.
    DemoEnvironment(const QString& documents, const QString& server, Servers servers = Servers::Now,
        WebPages webPages = WebPages::Served);
    ~DemoEnvironment();

    // Starts the release server, and with WebPages::Served the web server,
    // once; nothing happens the second time.
    void startServers();
    // Starts the web server (once) and points the web page screens at it.
    void serveWebPages();

    QString documentsPath() const;
    QString serverUrl() const;
    // The demo web pages' server, e.g. http://127.0.0.1:8080; empty when it could not listen.
    QString webUrl() const { return m_webUrl; }
    // The base64 public key of the root the demo site's key set is signed by,
    // trusted for the run; empty when the demo serves no site.
    QString rootKey() const { return m_rootKey; }

private:
    // Publishes the demo releases as a signed site; its folder, empty on failure.
    QString publishSite(const ReleaseSignature& root, const ReleaseSignature& key);

    QString m_serverChoice;
    WebPages m_webPages;
    bool m_serversStarted = false;
    std::unique_ptr<QTemporaryDir> m_documents;
    std::unique_ptr<QTemporaryDir> m_site;
    std::unique_ptr<ReleaseServer> m_server;
    std::unique_ptr<HttpServing> m_webServer;
    QString m_webUrl;
    QString m_rootKey;
};
