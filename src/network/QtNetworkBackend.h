#pragma once

#include "lib/NetworkBackend.h"

#include <QNetworkAccessManager>
#include <QPointer>

// The network backend on Qt Network and Qt HTTP Server: the whole of the
// network module, and linked into the tools and the tests.
class QtNetworkBackend : public NetworkBackend {
public:
    static QtNetworkBackend& shared();

    HttpTransfer* get(const QUrl& url, int timeoutMs, HttpTransfer::Events events) override;
    bool addCaCertificates(const QString& file) override;
    std::unique_ptr<HttpServing> createServer(HttpServing::Handler handler) override;

private:
    QtNetworkBackend() = default;
    QNetworkAccessManager& network();

    QPointer<QNetworkAccessManager> m_network; // goes with the application
};

extern "C" Q_DECL_EXPORT NetworkBackend* Q3DART_NETWORK_BACKEND_ENTRY();
