#include "network/QtNetworkBackend.h"

#include "network/QtHttpServing.h"
#include "network/QtHttpTransfer.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>

QtNetworkBackend& QtNetworkBackend::shared()
{
    static QtNetworkBackend* backend = new QtNetworkBackend;
    return *backend;
}

QNetworkAccessManager& QtNetworkBackend::network()
{
    if (!m_network)
        m_network = new QNetworkAccessManager(QCoreApplication::instance());
    return *m_network;
}

HttpTransfer* QtNetworkBackend::get(const QUrl& url, int timeoutMs, HttpTransfer::Events events)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    return new QtHttpTransfer(network().get(request), std::move(events));
}

bool QtNetworkBackend::addCaCertificates(const QString& file)
{
    const QList<QSslCertificate> certificates
        = QSslCertificate::fromPath(file, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
    if (certificates.isEmpty())
        return false;
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificates);
    QSslConfiguration::setDefaultConfiguration(configuration);
    return true;
}

std::unique_ptr<HttpServing> QtNetworkBackend::createServer(HttpServing::Handler handler)
{
    return std::make_unique<QtHttpServing>(std::move(handler));
}

NetworkBackend* Q3DART_NETWORK_BACKEND_ENTRY()
{
    return &QtNetworkBackend::shared();
}
