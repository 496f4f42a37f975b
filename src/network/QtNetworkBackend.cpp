#include "network/QtNetworkBackend.h"

#include "network/QtHttpServing.h"
#include "network/QtHttpTransfer.h"
#include "network/ThreadsByName.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>

namespace {

// The thread Qt's access manager does its HTTP on, as the system names it.
const QByteArray kNetworkThreadName = QByteArrayLiteral("QNetworkAccessM");
// What the network thread may read ahead of the main thread: without a
// bound it reads a fast endless answer into memory faster than the main
// thread can refuse it.
constexpr qint64 kReadBufferBytes = 256 * 1024;
// Release hosts and CDNs redirect; a chain longer than this is refused.
constexpr int kMaxRedirects = 5;

} // namespace

QtNetworkBackend& QtNetworkBackend::shared()
{
    static QtNetworkBackend* backend = new QtNetworkBackend;
    return *backend;
}

QNetworkAccessManager& QtNetworkBackend::network()
{
    if (!m_network) {
        m_network = new QNetworkAccessManager(QCoreApplication::instance());
        // On the way out, while the application is still there: the
        // connections closed, since Qt warns of a TLS socket it closes after
        // the application; and the network thread stopped and gone. Qt's
        // threads are detached and run on a little after they are stopped,
        // freeing their own state and OpenSSL's, which OpenSSL's exit
        // handler would otherwise race with, leaking it now and then on a
        // loaded machine. The wait is bounded.
        QObject::connect(
            QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_network, [network = m_network.data()] {
                network->clearConnectionCache();
                ThreadsByName::awaitNone(kNetworkThreadName, 2000);
            });
    }
    return *m_network;
}

HttpTransfer* QtNetworkBackend::get(const QUrl& url, int timeoutMs, HttpTransfer::Events events)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply* reply = network().get(request);
    reply->setReadBufferSize(kReadBufferBytes);
    return new QtHttpTransfer(reply, std::move(events));
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
