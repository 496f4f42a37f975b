// https server addresses against a local TLS server whose certificates are
// made for the test: the release list comes only from a server whose
// certificate verifies for its host name, and the request is never sent to
// any other.
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/HttpClient.h"
#include "network/ThreadsByName.h"
#include "support/TestCertificates.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"

#include <QSslSocket>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>

using namespace testsupport;

namespace {

const QByteArray kList
    = R"({"data":[{"ver":"1.1-2.5-1.8","path":"https://127.0.0.1/releases/1.1-2.5-1.8.zip","md5file":"00"}]})";

} // namespace

class TestTls : public QObject {
    Q_OBJECT

    TestCertificates m_certificates;

    // The release list asked of the server; the error, or an empty text with the list.
    QString askForTheList(TestHttpServer& server, QList<ZelFirmware>* list = nullptr)
    {
        server.body = kList;
        ZelFirmwareDataTool::setServerOverride(server.baseUrl());
        ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime(); // always ask
        bool done = false;
        QString error;
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares([&](const QList<ZelFirmware>& l, const QString& e) {
            if (list)
                *list = l;
            error = e;
            done = true;
        });
        if (!waitUntil([&] { return done; }))
            return QStringLiteral("no answer");
        return error;
    }

private slots:
    void initTestCase()
    {
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend");
        if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
            QSKIP("no openssl command to make the certificates with");
        QVERIFY(m_certificates.make());
    }

    // Before any authority is added, the test's own is a stranger too.
    void aServerNoAuthorityVouchesForIsRefused()
    {
        TestHttpServer server(m_certificates.serverConfiguration(QStringLiteral("good")));
        QVERIFY(!askForTheList(server).isEmpty());
        QVERIFY(server.targets.isEmpty());
    }

    void aCaFileMustHoldACertificate()
    {
        QString error;
        QVERIFY(!HttpClient::addCaCertificates(
            m_certificates.key(QStringLiteral("good")), &error)); // a key, not a certificate
        QVERIFY(!error.isEmpty());
        QVERIFY(!HttpClient::addCaCertificates(m_certificates.pem(QStringLiteral("missing")), &error));
    }

    void theListComesOverVerifiedTls()
    {
        QVERIFY(HttpClient::addCaCertificates(m_certificates.pem(QStringLiteral("test-ca"))));
        TestHttpServer server(m_certificates.serverConfiguration(QStringLiteral("good")));
        QList<ZelFirmware> list;
        const QString error = askForTheList(server, &list);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(list.size(), 1);
        QCOMPARE(server.targets.size(), 1);
    }

    // With the test's authority trusted, each of these still fails before the
    // request goes out.
    void aCertificateThatDoesNotVerifyFailsTheListAndSendsNothing_data()
    {
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("why");
        QTest::newRow("for another host") << "other-host"
                                          << "host";
        QTest::newRow("expired") << "expired"
                                 << "expired";
        QTest::newRow("from an untrusted authority") << "untrusted"
                                                     << "issuer";
    }

    void aCertificateThatDoesNotVerifyFailsTheListAndSendsNothing()
    {
        QFETCH(QString, certificate);
        QFETCH(QString, why);
        TestHttpServer server(m_certificates.serverConfiguration(certificate));
        QList<ZelFirmware> list;
        const QString error = askForTheList(server, &list);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(why, Qt::CaseInsensitive), qPrintable(error));
        QVERIFY(list.isEmpty());
        QVERIFY(server.targets.isEmpty());
    }

    // A thread is counted by its name while it runs and no longer once it
    // has ended.
    void threadsAreFoundByName()
    {
        QCOMPARE(ThreadsByName::count("q3dart-no-such"), 0);
        QThread worker;
        worker.setObjectName(QStringLiteral("q3dart-waited"));
        worker.start();
        QVERIFY(waitUntil([] { return ThreadsByName::count("q3dart-waited") == 1; }));
        QVERIFY(!ThreadsByName::awaitNone("q3dart-waited", 20));
        worker.quit();
        QVERIFY(worker.wait());
        QVERIFY(ThreadsByName::awaitNone("q3dart-waited", kPatienceMs));
    }

    // On the way out the access manager's thread, with its OpenSSL state, is
    // gone before the application; a request after that still goes out.
    void theNetworkThreadIsGoneWhenTheApplicationQuits()
    {
        QVERIFY(ThreadsByName::count("QNetworkAccessM") >= 1); // made by the requests above
        QVERIFY(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"));
        QCOMPARE(ThreadsByName::count("QNetworkAccessM"), 0);
        TestHttpServer server(m_certificates.serverConfiguration(QStringLiteral("good")));
        QList<ZelFirmware> list;
        const QString error = askForTheList(server, &list);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(list.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTls)
#include "tst_tls.moc"
