// The release server and the demo releases, through the catalogue and the
// HTTP client, over real sockets.
#include "firmware/FileHash.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/HttpClient.h"
#include "lib/ZipArchive.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"
#include "sim/SimulatedController.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

class TestReleaseServer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_releases;

private slots:
    void initTestCase()
    {
        m_releases = m_dir.filePath(QStringLiteral("releases"));
        QString error;
        QVERIFY2(DemoReleases::generate(m_releases, &error), qPrintable(error));
    }

    void demoImagesCarryTheirVersions()
    {
        for (const QString& version : DemoReleases::versions()) {
            const QStringList parts = version.split(QLatin1Char('-'));
            QCOMPARE(SimulatedController::versionFromTrailer(DemoReleases::bootImage(version))->text(), parts[0]);
            QCOMPARE(SimulatedController::versionFromTrailer(DemoReleases::leftImage(version))->text(), parts[1]);
            QCOMPARE(SimulatedController::versionFromTrailer(DemoReleases::rightImage(version))->text(), parts[2]);
            QVERIFY(DemoReleases::bootImage(version).size() > 0xE800);
        }
        QVERIFY(DemoReleases::leftImage(QStringLiteral("1.0-2.4-1.6"))
            != DemoReleases::leftImage(QStringLiteral("1.1-2.5-1.8")));
    }

    void theCatalogueListsTheServedReleases()
    {
        ReleaseServer server(m_releases);
        QVERIFY(server.listen());
        ZelFirmwareDataTool::setServerOverride(server.baseUrl());
        QList<ZelFirmware> list;
        bool done = false;
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares(
            [&](const QList<ZelFirmware>& l, const QString& error) {
                QVERIFY(error.isEmpty());
                list = l;
                done = true;
            });
        QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
        QCOMPARE(list.size(), DemoReleases::versions().size());
        QCOMPARE(list.first().version, DemoReleases::versions().last()); // newest first
        const ZelFirmware& newest = list.first();
        QCOMPARE(newest.md5,
            FileHash::md5HashOfFileAtPath(m_releases + QLatin1Char('/') + newest.version + QStringLiteral(".zip")));
        QVERIFY(newest.updateInfo.contains(QLatin1String("boot loader")));
        QCOMPARE(newest.updateTime, QStringLiteral("2026-02-14"));
        QVERIFY(newest.path.startsWith(server.baseUrl() + QStringLiteral("/releases/")));

        // The archive downloads under its own name and unpacks to the three images.
        HttpClient::Response response;
        done = false;
        const QString target = m_dir.filePath(QStringLiteral("download.zip"));
        HttpClient::download(QUrl(newest.path), target, 20, [&](const HttpClient::Response& r) {
            response = r;
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
        QVERIFY2(response.error.isEmpty(), qPrintable(response.error));
        QCOMPARE(response.suggestedFileName, newest.version + QStringLiteral(".zip"));
        QCOMPARE(FileHash::md5HashOfFileAtPath(target), newest.md5);
        const QString unpacked = m_dir.filePath(QStringLiteral("unpacked"));
        QVERIFY(ZipArchive::unzipFileAtPath(target, unpacked));
        QFile right(unpacked + QStringLiteral("/Q3_RIGHT.bin"));
        QVERIFY(right.open(QIODevice::ReadOnly));
        QCOMPARE(right.readAll(), DemoReleases::rightImage(newest.version));
        ZelFirmwareDataTool::setServerOverride(QString());
    }

    void onlyListedArchivesAreServed()
    {
        QFile secret(m_dir.filePath(QStringLiteral("secret.zip")));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("not for you");
        secret.close();
        ReleaseServer server(m_releases);
        QVERIFY(server.listen());
        for (const char* path : { "/releases/..%2Fsecret.zip", "/releases/%2E%2E%2Fsecret.zip", "/releases/missing.zip",
                 "/releases/1.1-2.5-1.8.txt", "/other" }) {
            HttpClient::Response response;
            bool done = false;
            HttpClient::get(QUrl(server.baseUrl() + QString::fromLatin1(path)), 20, [&](const HttpClient::Response& r) {
                response = r;
                done = true;
            });
            QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
            QVERIFY2(response.status == 404, path);
            QVERIFY(!response.body.contains("not for you"));
        }
    }

    void aFailedDownloadLeavesNoFile()
    {
        ReleaseServer server(m_releases);
        QVERIFY(server.listen());
        const QString target = m_dir.filePath(QStringLiteral("never.zip"));
        bool done = false;
        HttpClient::Response response;
        HttpClient::download(QUrl(server.baseUrl() + QStringLiteral("/releases/missing.zip")), target, 20,
            [&](const HttpClient::Response& r) {
                response = r;
                done = true;
            });
        QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
        QVERIFY(!response.error.isEmpty());
        QVERIFY(!QFile::exists(target));

        // An unwritable target is an error too, not a silent success.
        done = false;
        HttpClient::download(QUrl(server.baseUrl() + QStringLiteral("/releases/1.1-2.5-1.8.zip")),
            m_dir.filePath(QStringLiteral("no/such/folder/x.zip")), 20, [&](const HttpClient::Response& r) {
                response = r;
                done = true;
            });
        QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
        QVERIFY(!response.error.isEmpty());
    }

    // Every release carries its archive's SHA-256; with a key, its signature.
    void theListCarriesDigestsAndSignatures()
    {
        ReleaseServer server(m_releases);
        const QJsonArray unsigned_ = QJsonDocument::fromJson(server.releaseList(QStringLiteral("http://h")))
                                         .object()
                                         .value(QStringLiteral("data"))
                                         .toArray();
        QCOMPARE(unsigned_.size(), DemoReleases::versions().size());
        for (const QJsonValue& v : unsigned_) {
            const QJsonObject release = v.toObject();
            QCOMPARE(release.value(QStringLiteral("sha256")).toString(),
                FileHash::sha256HashOfFileAtPath(m_releases + QLatin1Char('/')
                    + release.value(QStringLiteral("ver")).toString() + QStringLiteral(".zip")));
            QVERIFY(!release.contains(QStringLiteral("sig")));
        }
        const ReleaseSignature key = ReleaseSignature::generate();
        server.setSigningKey(key);
        const QList<ZelFirmware> records
            = ZelFirmware::modelArrayWithJSON(QJsonDocument::fromJson(server.releaseList(QStringLiteral("http://h")))
                                                  .object()
                                                  .value(QStringLiteral("data")));
        QCOMPARE(records.size(), DemoReleases::versions().size());
        for (const ZelFirmware& f : records)
            QVERIFY(ReleaseSignature::verify(key.publicKey(), f.version, f.sha256, f.signature));
    }

    // The published site is the served list and archives, byte for byte, and
    // the catalogue reads it from a plain static web server.
    void aPublishedSiteIsWhatTheServerServes()
    {
        const ReleaseSignature key = ReleaseSignature::generate();
        TestHttpServer site;
        const QString out = m_dir.filePath(QStringLiteral("site"));
        site.root = out;
        ReleaseServer server(m_releases);
        SitePublisher::ListSigning signing;
        signing.key = key;
        QString error;
        QVERIFY2(SitePublisher::publish(server, out, site.baseUrl() + QStringLiteral("/"), &signing, &error),
            qPrintable(error));
        QFile list(out + QStringLiteral("/firmware/update/r1"));
        QVERIFY(list.open(QIODevice::ReadOnly));
        const QJsonObject published = QJsonDocument::fromJson(list.readAll()).object();
        QCOMPARE(published.value(QStringLiteral("data")),
            QJsonDocument::fromJson(server.releaseList(site.baseUrl())).object().value(QStringLiteral("data")));
        QCOMPARE(published.value(QStringLiteral("list_version")).toInt(), 1);
        for (const QString& version : DemoReleases::versions())
            QCOMPARE(
                FileHash::sha256HashOfFileAtPath(out + QStringLiteral("/releases/") + version + QStringLiteral(".zip")),
                FileHash::sha256HashOfFileAtPath(m_releases + QLatin1Char('/') + version + QStringLiteral(".zip")));

        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        ZelFirmwareDataTool::setServerOverride(site.baseUrl());
        ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime();
        QList<ZelFirmware> records;
        bool done = false;
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares([&](const QList<ZelFirmware>& l, const QString& e) {
            QVERIFY2(e.isEmpty(), qPrintable(e));
            records = l;
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
        ReleaseSignature::forgetAddedKeys();
        ZelFirmwareDataTool::setServerOverride(QString());
        QCOMPARE(records.size(), DemoReleases::versions().size());
        QVERIFY(site.targets.first().startsWith("/firmware/update/r1?ver="));
        for (const ZelFirmware& f : records)
            QCOMPARE(ReleaseSignature::status(f), ReleaseSignature::Status::Unchecked); // the key is no longer trusted
        const ZelFirmware& newest = records.first();
        QCOMPARE(newest.path, site.baseUrl() + QStringLiteral("/releases/") + newest.version + QStringLiteral(".zip"));
        const QString target = m_dir.filePath(QStringLiteral("from-site.zip"));
        HttpClient::Response response;
        done = false;
        HttpClient::download(QUrl(newest.path), target, 20, [&](const HttpClient::Response& r) {
            response = r;
            done = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(done, testsupport::kPatienceMs);
        QVERIFY2(response.error.isEmpty(), qPrintable(response.error));
        QCOMPARE(FileHash::sha256HashOfFileAtPath(target), newest.sha256);

        // Published again from its own archive folder: the archives stay.
        ReleaseServer again(out + QStringLiteral("/releases"));
        QVERIFY2(again.publish(out, site.baseUrl(), &error), qPrintable(error));
        for (const QString& version : DemoReleases::versions())
            QCOMPARE(
                FileHash::sha256HashOfFileAtPath(out + QStringLiteral("/releases/") + version + QStringLiteral(".zip")),
                FileHash::sha256HashOfFileAtPath(m_releases + QLatin1Char('/') + version + QStringLiteral(".zip")));

        // A site that cannot be written is an error, not a half success.
        QFile blocker(m_dir.filePath(QStringLiteral("a-file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(!server.publish(blocker.fileName(), site.baseUrl(), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReleaseServer)
#include "tst_releaseserver.moc"
