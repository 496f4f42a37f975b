#include "sim/DemoEnvironment.h"

#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/DocumentsDirectory.h"
#include "platform/WebHosts.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"

#include <QDir>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QTemporaryDir>
#include <QUrlQuery>

namespace {

const QString kDemoPages = QStringLiteral(":/demo-web/");

QHttpServerResponse demoPage(const QString& name)
{
    // Only the pages that ship are served: no path of the client's making is opened.
    if (!QDir(kDemoPages).entryList(QDir::Files).contains(name))
        return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
    QFile file(kDemoPages + name);
    if (!file.open(QIODevice::ReadOnly))
        return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
    const QByteArray type = name.endsWith(QLatin1String(".css")) ? "text/css; charset=utf-8" : "text/html; charset=utf-8";
    return QHttpServerResponse(type, file.readAll());
}

// The tutorial is one address whose lang query picks the language; the game
// list pages are served under their own names.
void routeDemoPages(QHttpServer& server)
{
    server.route(QStringLiteral("/single.html"), [](const QHttpServerRequest& request) {
        QString lang = request.query().queryItemValue(QStringLiteral("lang"));
        if (lang != QLatin1String("zh") && lang != QLatin1String("ja"))
            lang = QStringLiteral("en");
        return demoPage(QStringLiteral("single_%1.html").arg(lang));
    });
    server.route(QStringLiteral("/<arg>"), [](const QString& name) { return demoPage(name); });
}

} // namespace

DemoEnvironment::DemoEnvironment(const QString& documents, const QString& server)
{
    if (documents.isEmpty()) {
        m_documents = std::make_unique<QTemporaryDir>();
        DocumentsDirectory::setPath(m_documents->path());
    }
    if (server.isEmpty()) {
        // The archives are made on the first request, not before the first screen.
        m_server = std::make_unique<ReleaseServer>(std::function<QString()>(&DemoReleases::folder));
        // A key of the run's own signs the demo releases and is trusted, so
        // that every demo and test run takes the signed path.
        const ReleaseSignature key = ReleaseSignature::generate();
        m_server->setSigningKey(key);
        if (m_server->listen(QHostAddress::LocalHost, 0)) {
            ZelFirmwareDataTool::setServerOverride(m_server->baseUrl());
            ReleaseSignature::addTrustedKey(key.publicKeyBase64());
        }
    }
    // The configured web servers are placeholders: the demo always shows its own pages.
    m_webServer = std::make_unique<QHttpServer>();
    routeDemoPages(*m_webServer);
    if (const int port = m_webServer->listen(QHostAddress::LocalHost, 0)) {
        m_webUrl = QStringLiteral("http://127.0.0.1:%1").arg(port);
        WebHosts::setBaseOverride(m_webUrl);
    }
}

DemoEnvironment::~DemoEnvironment()
{
    if (!m_webUrl.isEmpty() && WebHosts::baseOverrideUrl() == m_webUrl)
        WebHosts::setBaseOverride(QString());
}

QString DemoEnvironment::documentsPath() const
{
    return DocumentsDirectory::path();
}

QString DemoEnvironment::serverUrl() const
{
    return ZelFirmwareDataTool::serverBaseUrl();
}
