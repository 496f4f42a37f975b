// The network module as the application loads it: this test, like the
// application, has no Qt network stack of its own, and reaches its servers
// only through the module it loads (or fails to).
#include "lib/HttpClient.h"
#include "lib/NetworkBackend.h"
#include "lib/NetworkModule.h"
#include "platform/runtime/MainQueue.h"
#include "sim/DemoEnvironment.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kPatienceMs = 30000;
constexpr double kTimeoutSeconds = 10.0;
}

class TestNetworkModule : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QVERIFY(!NetworkModule::isLoaded()); }

    // Without the module every request completes once, later, with a
    // message that names the file; a download leaves no file; a server
    // listens nowhere; nothing crashes.
    void aMissingModuleFailsEveryRequestWithItsName()
    {
        const QString missing = m_dir.filePath(QStringLiteral("gone/libq3dart_network.so"));
        qputenv(NetworkModule::kPathVariable, missing.toUtf8());
        QCOMPARE(NetworkModule::candidates(), QStringList { missing });

        int calls = 0;
        bool returned = false;
        HttpClient::Response response;
        HttpClient::get(
            QUrl(QStringLiteral("http://127.0.0.1:1/")), kTimeoutSeconds, [&](const HttpClient::Response& r) {
                QVERIFY(returned); // never from inside the call
                ++calls;
                response = r;
            });
        returned = true;
        QVERIFY(MainQueue::runUntil([&] { return calls > 0; }, kPatienceMs));
        QCOMPARE(calls, 1);
        QCOMPARE(response.status, 0);
        QVERIFY2(response.error.contains(QLatin1String("libq3dart_network.so")), qPrintable(response.error));
        QVERIFY2(response.error.contains(missing), qPrintable(response.error));

        const QString file = m_dir.filePath(QStringLiteral("download.zip"));
        int downloads = 0;
        QString downloadError;
        const HttpClient::Abort abort = HttpClient::download(QUrl(QStringLiteral("http://127.0.0.1:1/x.zip")), file,
            kTimeoutSeconds, [&](const HttpClient::Response& r) {
                ++downloads;
                downloadError = r.error;
            });
        QVERIFY(MainQueue::runUntil([&] { return downloads > 0; }, kPatienceMs));
        abort(); // after the end: nothing
        QCOMPARE(downloads, 1);
        QVERIFY(downloadError.contains(missing));
        QVERIFY(!QFileInfo::exists(file));

        QString caError;
        QVERIFY(!HttpClient::addCaCertificates(file, &caError));
        QVERIFY(caError.contains(missing));

        ReleaseServer server(m_dir.path());
        QCOMPARE(server.listen(), quint16(0));
        QVERIFY(!NetworkModule::isLoaded());
    }

    // A file that is no module, or a library without the entry point, is
    // named with the loader's reason.
    void aDamagedModuleIsNamedWithTheReason()
    {
        const QString damaged = m_dir.filePath(QStringLiteral("libq3dart_network.so"));
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a library");
        file.close();
        qputenv(NetworkModule::kPathVariable, damaged.toUtf8());
        QString error;
        QVERIFY(!NetworkModule::backend(&error));
        QVERIFY2(error.contains(damaged) && error.contains(QLatin1String("cannot be loaded")), qPrintable(error));

        // A real library, but not the module.
        qputenv(NetworkModule::kPathVariable, Q3DART_OTHER_LIBRARY);
        QVERIFY(!NetworkModule::backend(&error));
        QVERIFY2(error.contains(QLatin1String(Q3DART_OTHER_LIBRARY))
                && error.contains(QLatin1String(Q3DART_NETWORK_BACKEND_ENTRY_NAME)),
            qPrintable(error));
        QVERIFY(!NetworkModule::isLoaded());
    }

    // Once it is there, the next request loads it: the release list and an
    // archive come from a release server that runs on the module too, and
    // the demo's servers start on it.
    void theModuleServesRequestsOnceFound()
    {
        qputenv(NetworkModule::kPathVariable, Q3DART_NETWORK_MODULE_PATH);
        const QString releases = m_dir.filePath(QStringLiteral("releases"));
        QString error;
        QVERIFY2(DemoReleases::generate(releases, &error), qPrintable(error));
        ReleaseServer server(releases);
        QVERIFY(server.listen() != 0);
        QVERIFY(NetworkModule::isLoaded());

        bool listed = false;
        QJsonValue list;
        HttpClient::getJSON(QUrl(server.baseUrl() + ReleaseServer::kListPath), kTimeoutSeconds,
            [&](const HttpClient::Response& r, const QJsonValue& reply) {
                QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
                list = reply;
                listed = true;
            });
        QVERIFY(MainQueue::runUntil([&] { return listed; }, kPatienceMs));
        QVERIFY(list.isObject() || list.isArray());
        QCOMPARE(server.requestCount(), 1);

        const QString version = DemoReleases::versions().first();
        const QString file = m_dir.filePath(QStringLiteral("fetched.zip"));
        bool fetched = false;
        HttpClient::Response response;
        HttpClient::download(QUrl(server.baseUrl() + ReleaseServer::kReleasesPath + version + QStringLiteral(".zip")),
            file, kTimeoutSeconds, [&](const HttpClient::Response& r) {
                response = r;
                fetched = true;
            });
        QVERIFY(MainQueue::runUntil([&] { return fetched; }, kPatienceMs));
        QVERIFY2(response.error.isEmpty(), qPrintable(response.error));
        QCOMPARE(response.suggestedFileName, version + QStringLiteral(".zip"));
        QCOMPARE(
            QFileInfo(file).size(), QFileInfo(releases + QLatin1Char('/') + version + QStringLiteral(".zip")).size());

        // Not found stays not found through the module.
        bool missed = false;
        HttpClient::get(QUrl(server.baseUrl() + ReleaseServer::kReleasesPath + QStringLiteral("../x.zip")),
            kTimeoutSeconds, [&](const HttpClient::Response& r) {
                QCOMPARE(r.status, HttpServing::kNotFound);
                missed = true;
            });
        QVERIFY(MainQueue::runUntil([&] { return missed; }, kPatienceMs));

        DemoEnvironment demo(m_dir.filePath(QStringLiteral("documents")), QString(), DemoEnvironment::Servers::Now);
        QVERIFY(!demo.webUrl().isEmpty());
        bool paged = false;
        HttpClient::get(QUrl(demo.webUrl() + QStringLiteral("/single.html?lang=ja")), kTimeoutSeconds,
            [&](const HttpClient::Response& r) {
                QCOMPARE(r.status, 200);
                QCOMPARE(r.contentType, QByteArray("text/html"));
                QVERIFY(!r.body.isEmpty());
                paged = true;
            });
        QVERIFY(MainQueue::runUntil([&] { return paged; }, kPatienceMs));
    }
};

QTEST_GUILESS_MAIN(TestNetworkModule)
#include "tst_networkmodule.moc"
