// The catalogue: local releases from the documents directory, online releases
// from a real HTTP server on 127.0.0.1.
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <QUrlQuery>

using namespace testsupport;

namespace {

const QByteArray kTwoReleases = "{\"data\":[\n"
                                "  "
                                "{\"ver\":\"1.2-1.3-1.4\",\"upgrade_msg\":\"Fixes\",\"path\":\"http://h/"
                                "a.zip\",\"md5file\":\"ABC\",\"upgrade_time\":\"2024-01-02\"},\n"
                                "  "
                                "{\"ver\":\"1.1-1.0-1.0\",\"upgrade_msg\":\"Older\",\"path\":\"http://h/"
                                "b.zip\",\"md5file\":\"def\",\"upgrade_time\":\"2023-05-06\"}]}";

struct Answer {
    int calls = 0;
    QList<ZelFirmware> firmwares;
    QString error;
};

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

    QTemporaryDir m_documents;
    TestHttpServer* m_server = nullptr;
    QDateTime m_now;

    ZelFirmwareDataTool& catalogue() { return ZelFirmwareDataTool::sharedInstance(); }

    // Asks for the online list and waits for its one completion.
    Answer ask()
    {
        auto answer = std::make_shared<Answer>();
        catalogue().getRemoteFirmwares([answer](const QList<ZelFirmware>& list, const QString& error) {
            ++answer->calls;
            answer->firmwares = list;
            answer->error = error;
        });
        if (answer->calls == 0)
            (void)waitUntil([answer] { return answer->calls > 0; });
        drainPostedEvents(); // a second completion would show up here
        return *answer;
    }

    void makeFolder(const QString& relative)
    {
        QDir().mkpath(ZelFirmwareDataTool::localFirmwareFolder() + QLatin1Char('/') + relative);
    }

private slots:
    void initTestCase()
    {
        DocumentsDirectory::setPath(m_documents.path());
        m_now = QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC);
        catalogue().clock = [this] { return m_now; };
    }

    void init()
    {
        m_server = new TestHttpServer;
        ZelFirmwareDataTool::setServerOverride(m_server->baseUrl());
        catalogue().firmwares.reset();
        catalogue().firmwaresDate = QDateTime();
    }

    void cleanup() { delete m_server; }

    void theLocalListHoldsReleaseFoldersNewestFirst()
    {
        QCOMPARE(catalogue().getLocalFirmwares().size(), 0); // no folder at all
        makeFolder(QStringLiteral("1.10-1.0-1.0"));
        makeFolder(QStringLiteral("1.9-1.0-1.0"));
        makeFolder(QStringLiteral("__MACOSX"));
        makeFolder(QStringLiteral("1.0.5-1.0-1.0")); // no version: left out, and said so
        QFile plain(ZelFirmwareDataTool::localFirmwareFolder() + QStringLiteral("/2.0-2.0-2.0"));
        QVERIFY(plain.open(QIODevice::WriteOnly)); // a file, not a release
        plain.close();
        const QList<ZelFirmware> local = catalogue().getLocalFirmwares();
        QCOMPARE(local.size(), 2);
        // 1.10 is minor version 10: newer than 1.9.
        QCOMPARE(local[0].version, QStringLiteral("1.10-1.0-1.0"));
        QCOMPARE(local[1].version, QStringLiteral("1.9-1.0-1.0"));
        QCOMPARE(catalogue().refusedVersions, QStringList { QStringLiteral("1.0.5-1.0-1.0") });
        QCOMPARE(local[0].path, ZelFirmwareDataTool::localFirmwareFolder() + QStringLiteral("/1.10-1.0-1.0"));
        QVERIFY(!local[0].md5.isNull() && local[0].md5.isEmpty());
        QVERIFY(!local[0].isOnline());
        QVERIFY(!catalogue().firmwaresDate.isValid()); // the local list stores nothing
    }

    void theQueryIsSentFieldByField()
    {
        m_server->body = kTwoReleases;
        ask();
        QCOMPARE(m_server->targets.size(), 1);
        const QUrl url(QString::fromLatin1(m_server->targets.first()));
        QCOMPARE(url.path(), QStringLiteral("/firmware/update/r1"));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItems().size(), 5);
        QCOMPARE(query.queryItemValue(QStringLiteral("ver")), QStringLiteral("1.0-1.0-1.0"));
        QCOMPARE(query.queryItemValue(QStringLiteral("beta")), QStringLiteral("0"));
        QCOMPARE(query.queryItemValue(QStringLiteral("name")), QStringLiteral("zelmar-q3-dart"));
        QCOMPARE(query.queryItemValue(QStringLiteral("appver")),
            InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString")));
        QCOMPARE(query.queryItemValue(QStringLiteral("lang")), QStringLiteral("zh"));
        QCOMPARE(query.queryItems().first().first, QStringLiteral("ver")); // in this order

        QCOMPARE(ZelFirmwareDataTool::queryText(QStringLiteral("http://h"), QString()),
            QByteArray("http://h/firmware/update/r1?ver=1.0-1.0-1.0&beta=0&name=zelmar-q3-dart&appver=1.0&lang=zh"));
        QCOMPARE(ZelFirmwareDataTool::queryText(QStringLiteral("http://h"), QStringLiteral("2 beta")),
            QByteArray(
                "http://h/firmware/update/r1?ver=1.0-1.0-1.0&beta=0&name=zelmar-q3-dart&appver=2%20beta&lang=zh"));
    }

    void anAnswerIsMappedAndSortedNewestFirst()
    {
        m_server->body = kTwoReleases;
        const Answer a = ask();
        QCOMPARE(a.calls, 1);
        QVERIFY(a.error.isEmpty());
        QCOMPARE(a.firmwares.size(), 2);
        QCOMPARE(a.firmwares[0].version, QStringLiteral("1.2-1.3-1.4"));
        QCOMPARE(a.firmwares[0].updateInfo, QStringLiteral("Fixes"));
        QCOMPARE(a.firmwares[0].path, QStringLiteral("http://h/a.zip"));
        QCOMPARE(a.firmwares[0].md5, QStringLiteral("ABC"));
        QCOMPARE(a.firmwares[0].updateTime, QStringLiteral("2024-01-02"));
        QVERIFY(a.firmwares[0].isOnline());
        QCOMPARE(catalogue().firmwaresDate, m_now);
    }

    void contentTypesAndStatusCodes_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("application/json") << 200 << QByteArray("application/json") << true;
        QTest::newRow("text/json with charset") << 200 << QByteArray("text/json; charset=utf-8") << true;
        QTest::newRow("text/javascript") << 201 << QByteArray("text/javascript") << true;
        QTest::newRow("text/html") << 200 << QByteArray("text/html") << false;
        QTest::newRow("no content type") << 200 << QByteArray() << false;
        QTest::newRow("404") << 404 << QByteArray("application/json") << false;
        QTest::newRow("500") << 500 << QByteArray("application/json") << false;
        QTest::newRow("302 without location") << 302 << QByteArray("application/json") << false;
    }

    void contentTypesAndStatusCodes()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, contentType);
        QFETCH(bool, accepted);
        m_server->status = status;
        m_server->contentType = contentType;
        m_server->body = kTwoReleases;
        const Answer a = ask();
        QCOMPARE(a.calls, 1);
        QCOMPARE(a.error.isEmpty(), accepted);
        QCOMPARE(a.firmwares.size(), accepted ? 2 : 0);
        QCOMPARE(catalogue().firmwaresDate.isValid(), accepted);
    }

    void aSilentServerTimesOutOnce()
    {
        m_server->answer = false;
        QElapsedTimer clock;
        clock.start();
        Answer a;
        {
            TimeScale fast(0.01); // the request's 20-s limit, and only it
            a = ask();
        }
        QCOMPARE(a.calls, 1);
        QVERIFY(!a.error.isEmpty());
        QVERIFY(a.firmwares.isEmpty());
        QVERIFY(clock.elapsed() < 1000 * ZelFirmwareDataTool::kRequestTimeout); // scaled down

        // A failed request stores nothing: the next query asks again.
        m_server->answer = true;
        m_server->body = kTwoReleases;
        QCOMPARE(ask().firmwares.size(), 2);
        QCOMPARE(m_server->targets.size(), 2);
    }

    void anAnswerIsReusedForThreeHundredSeconds()
    {
        m_server->body = kTwoReleases;
        ask();
        m_now = m_now.addSecs(10);
        QCOMPARE(ask().firmwares.size(), 2);
        m_now = m_now.addSecs(290); // exactly 300 s after the answer
        QCOMPARE(ask().firmwares.size(), 2);
        QCOMPARE(m_server->targets.size(), 1);
        m_now = m_now.addSecs(1);
        m_server->body = "{\"data\":[{\"ver\":\"9.9-9.9-9.9\"}]}";
        const Answer fresh = ask();
        QCOMPARE(m_server->targets.size(), 2);
        QCOMPARE(fresh.firmwares.size(), 1);
        QCOMPARE(catalogue().firmwaresDate, m_now);
    }

    void anEmptyAnswerKeepsTheStoredList()
    {
        m_server->body = kTwoReleases;
        ask();
        const QDateTime stored = catalogue().firmwaresDate;
        m_now = m_now.addSecs(400);
        for (const QByteArray& body :
            { QByteArray("{\"data\":[]}"), QByteArray("{\"other\":1}"), QByteArray("not json"),
                QByteArray("[{\"ver\":\"1.0-1.0-1.0\"}]"), QByteArray("{\"data\":{\"ver\":\"x\"}}") }) {
            m_server->body = body;
            const Answer a = ask();
            QVERIFY2(a.firmwares.isEmpty() && a.error.isEmpty(), body.constData());
            QCOMPARE(catalogue().firmwaresDate, stored);
            QCOMPARE(catalogue().firmwares->size(), 2);
        }
        QCOMPARE(m_server->targets.size(), 6); // each empty answer was asked for anew
    }

    void listsAreOrderedByVersionsAsIntegerPairs()
    {
        m_server->body = "{\"data\":[{\"ver\":\"1.0-1.0-1.9\"},{\"ver\":\"1.0-1.0-1.10\"},{\"ver\":\"1.0-2.0-1.0\"},"
                         "{\"ver\":\"0.9-9.9-9.9\"},{\"ver\":\"abc\"},{\"ver\":\"1.0-1.0\"},{\"ver\":\"1.-1.0-1.0\"}]}";
        const Answer a = ask();
        QStringList order;
        for (const ZelFirmware& f : a.firmwares)
            order << f.version;
        QCOMPARE(order,
            (QStringList { QStringLiteral("1.0-2.0-1.0"), QStringLiteral("1.0-1.0-1.10"), QStringLiteral("1.0-1.0-1.9"),
                QStringLiteral("0.9-9.9-9.9") }));
        QCOMPARE(catalogue().refusedVersions,
            (QStringList { QStringLiteral("abc"), QStringLiteral("1.0-1.0"), QStringLiteral("1.-1.0-1.0") }));
    }

    void aReleaseListAboveItsLimitIsRefused()
    {
        m_server->body = kTwoReleases;
        ask();
        m_now = m_now.addSecs(400);
        QByteArray huge = "{\"data\":[{\"ver\":\"9.9-9.9-9.9\",\"upgrade_msg\":\"";
        huge += QByteArray(ZelFirmwareDataTool::kMaxReleaseListBytes, 'x') + "\"}]}";
        m_server->body = huge;
        const Answer a = ask();
        QVERIFY(a.firmwares.isEmpty());
        QCOMPARE(a.error, localized("ReleaseListTooLarge").arg(1));
        QCOMPARE(catalogue().firmwares->size(), 2); // the list stored before stays
    }

    // An answer that never ends is refused as soon as it passes the limit,
    // without holding more of it than that; one that trickles a byte now and
    // then, never silent for long, ends at the deadline.
    void anEndlessOrTricklingListEndsWithItsOwnMessage()
    {
        m_server->endless = true;
        m_server->body = QByteArray(64 * 1024, ' ');
        Answer a = ask();
        QVERIFY(a.firmwares.isEmpty());
        QCOMPARE(a.error, localized("ReleaseListTooLarge").arg(1));

        m_server->endless = false;
        m_server->trickleMs = 100;
        m_server->body = kTwoReleases;
        catalogue().listDeadline = 1.0;
        const auto restore = qScopeGuard([this] { catalogue().listDeadline = ZelFirmwareDataTool::kListDeadline; });
        QElapsedTimer clock;
        clock.start();
        a = ask();
        QVERIFY(a.firmwares.isEmpty());
        QCOMPARE(a.error, localized("ReleaseListDeadline").arg(1));
        QVERIFY(clock.elapsed() < 20 * 1000); // long before the list would have trickled in
    }

    void oddElementsAndValuesAreHandled()
    {
        m_server->body = "{\"data\":[\n"
                         "            5, \"text\", null, [1,2],\n"
                         "            {\"ver\":\"2.0-2.0-2.0\",\"path\":\"http://h/c.zip\"},\n"
                         "            "
                         "{\"ver\":3.5,\"upgrade_msg\":null,\"path\":{\"x\":1},\"md5file\":true,\"upgrade_time\":"
                         "20240101,\"extra\":\"ignored\"}]}";
        const Answer a = ask();
        // A number is no version: that release is left out of the list.
        QCOMPARE(a.firmwares.size(), 1);
        QCOMPARE(catalogue().refusedVersions, QStringList { QStringLiteral("3.5") });
        const QList<ZelFirmware> mapped = ZelFirmware::modelArrayWithJSON(
            QJsonDocument::fromJson(m_server->body).object().value(QStringLiteral("data")));
        QCOMPARE(mapped.size(), 2);
        const ZelFirmware& missing = mapped[0];
        const ZelFirmware& odd = mapped[1];
        QVERIFY(missing.md5.isNull());
        QVERIFY(missing.updateInfo.isNull());
        QCOMPARE(odd.version, QStringLiteral("3.5"));
        QVERIFY(odd.updateInfo.isNull());
        QVERIFY(odd.path.isNull());
        QCOMPARE(odd.md5, QStringLiteral("true"));
        QCOMPARE(odd.updateTime, QStringLiteral("20240101"));

        // Numbers beyond any integer print as numbers, not as garbage.
        const QList<ZelFirmware> huge = ZelFirmware::modelArrayWithJSON(
            QJsonDocument::fromJson("[{\"ver\":8.9e50,\"md5file\":-3,\"path\":1e15}]").array());
        QCOMPARE(huge.size(), 1);
        QCOMPARE(huge[0].version.toDouble(), 8.9e50);
        QCOMPARE(huge[0].md5, QStringLiteral("-3"));
        QCOMPARE(huge[0].path.toDouble(), 1e15);

        // "data" may also be a text holding the array.
        QCOMPARE(ZelFirmware::modelArrayWithJSON(QJsonValue(QStringLiteral("[{\"ver\":\"1.0-1.0-1.0\"}]"))).size(), 1);
        QCOMPARE(ZelFirmware::modelArrayWithJSON(QJsonValue(QStringLiteral("[broken"))).size(), 0);
    }

    // The release date comes from the network: only the forms servers write
    // give a date, and only a day that exists.
    void releaseDatesAreReadOnlyFromTheFormsServersWrite_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("hyphens") << "2021-03-09" << QDate(2021, 3, 9);
        QTest::newRow("digits") << "20210309" << QDate(2021, 3, 9);
        QTest::newRow("with a time") << "2021-03-09 12:34" << QDate(2021, 3, 9);
        QTest::newRow("ISO date and time") << "2021-03-09T12:34:56Z" << QDate(2021, 3, 9);
        QTest::newRow("spaces around") << " 2021-03-09 " << QDate(2021, 3, 9);
        QTest::newRow("one hyphen") << "2021-0309" << QDate();
        QTest::newRow("no such day") << "2021-02-30" << QDate();
        QTest::newRow("the engine's unknown") << "0000-00-00 00:00" << QDate();
        QTest::newRow("words") << "March 9, 2021" << QDate();
        QTest::newRow("trailing text") << "2021-03-09<b>" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void releaseDatesAreReadOnlyFromTheFormsServersWrite()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        ZelFirmware release;
        release.updateTime = text;
        QCOMPARE(release.releaseDate(), date);
    }

    void theServerAddressComesFromTheConfigurationUnlessOverridden()
    {
        ZelFirmwareDataTool::setServerOverride(QString());
        qunsetenv("Q3DART_SERVER");
        QCOMPARE(ZelFirmwareDataTool::serverBaseUrl(),
            QStringLiteral("http://") + InfoDictionary::mainBundle().string(QStringLiteral("Q3FirmwareServerHost")));
        qputenv("Q3DART_SERVER", "http://127.0.0.1:9/");
        QCOMPARE(ZelFirmwareDataTool::serverBaseUrl(), QStringLiteral("http://127.0.0.1:9"));
        ZelFirmwareDataTool::setServerOverride(QStringLiteral("http://example.test:8"));
        QCOMPARE(ZelFirmwareDataTool::serverBaseUrl(), QStringLiteral("http://example.test:8"));
        qunsetenv("Q3DART_SERVER");
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
