#include "sim/DemoEnvironment.h"

#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/NetworkBackend.h"
#include "lib/NetworkModule.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/WebHosts.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrlQuery>

namespace {

const QString kDemoPages = QStringLiteral(":/demo-web/");

HttpServing::Answer demoPage(const QString& name)
{
    // Only the pages that ship are served: no path of the client's making is opened.
    if (!QDir(kDemoPages).entryList(QDir::Files).contains(name))
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    QFile file(kDemoPages + name);
    if (!file.open(QIODevice::ReadOnly))
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    HttpServing::Answer page;
    page.contentType = name.endsWith(QLatin1String(".css")) ? "text/css; charset=utf-8" : "text/html; charset=utf-8";
    page.body = file.readAll();
    return page;
}

// The tutorial is one address whose lang query picks the language; the game
// list pages are served under their own names.
HttpServing::Answer answerDemoPage(const HttpServing::Request& request)
{
    const QString path = request.url.path();
    if (path == QLatin1String("/single.html")) {
        QString lang = QUrlQuery(request.url).queryItemValue(QStringLiteral("lang"));
        if (lang != QLatin1String("zh") && lang != QLatin1String("ja"))
            lang = QStringLiteral("en");
        return demoPage(QStringLiteral("single_%1.html").arg(lang));
    }
    const QString name = path.mid(1);
    if (!path.startsWith(QLatin1Char('/')) || name.isEmpty() || name.contains(QLatin1Char('/')))
        return HttpServing::Answer::withStatus(HttpServing::kNotFound);
    return demoPage(name);
}

} // namespace

DemoEnvironment::DemoEnvironment(const QString& documents, const QString& server, Servers servers, WebPages webPages)
    : m_serverChoice(server)
    , m_webPages(webPages)
{
    if (documents.isEmpty()) {
        m_documents = std::make_unique<QTemporaryDir>();
        DocumentsDirectory::setPath(m_documents->path());
    }
    if (servers == Servers::Now)
        startServers();
}

void DemoEnvironment::startServers()
{
    if (std::exchange(m_serversStarted, true))
        return;
    if (m_serverChoice.isEmpty()) {
        // A root and a release key of the run's own: the root is trusted and
        // certifies the key through the site's key set, so that every demo
        // and test run takes the whole signed path. The site is published on
        // the first request, not before the first screen.
        const ReleaseSignature root = ReleaseSignature::generate();
        const ReleaseSignature key = ReleaseSignature::generate();
        m_server = std::make_unique<ReleaseServer>(
            [this, root, key] { return publishSite(root, key); }, ReleaseServer::Mode::Site);
        if (m_server->listen()) {
            ZelFirmwareDataTool::setServerOverride(m_server->baseUrl());
            m_rootKey = root.publicKeyBase64();
            ReleaseSignature::addTrustedRoot(m_rootKey);
        }
    }
    if (m_webPages == WebPages::Served)
        serveWebPages();
}

void DemoEnvironment::serveWebPages()
{
    if (!m_webServer) {
        NetworkBackend* backend = NetworkModule::backend();
        m_webServer = backend ? backend->createServer(answerDemoPage) : nullptr;
        if (const quint16 port = m_webServer ? m_webServer->listen(ReleaseServer::kLocalHost, 0) : 0)
            m_webUrl = QStringLiteral("http://127.0.0.1:%1").arg(port);
    }
    // The configured web servers are placeholders: the demo shows its own pages.
    if (!m_webUrl.isEmpty())
        WebHosts::setBaseOverride(m_webUrl);
}

QString DemoEnvironment::publishSite(const ReleaseSignature& root, const ReleaseSignature& key)
{
    m_site = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/q3dart-demo-site-XXXXXX"));
    ReleaseServer releases(DemoReleases::folder());
    SitePublisher::ListSigning signing;
    signing.key = key;
    SitePublisher::KeySetChange keySet;
    keySet.root = root;
    keySet.add = { key.publicKey() };
    const bool ok = m_site->isValid() && SitePublisher::signKeys(m_site->path(), keySet, nullptr)
        && SitePublisher::publish(releases, m_site->path(), m_server->baseUrl(), &signing, nullptr);
    return ok ? m_site->path() : QString();
}

DemoEnvironment::~DemoEnvironment()
{
    if (!m_webUrl.isEmpty() && WebHosts::baseOverrideUrl() == m_webUrl)
        WebHosts::setBaseOverride(QString());
}

QString DemoEnvironment::documentsPath() const
{
    return DocumentStore::current().folder();
}

QString DemoEnvironment::serverUrl() const
{
    return ZelFirmwareDataTool::serverBaseUrl();
}
