// The signed release list and the root's key set: the client's judgement of
// what a server answers, the record of versions it accepted, and the whole
// path through the catalogue from a plain static web server on 127.0.0.1.
#include "firmware/ReleaseSignature.h"
#include "firmware/ReleaseTrust.h"
#include "firmware/TrustState.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SitePublisher.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

namespace {

const QDateTime kNow = QDateTime(QDate(2026, 6, 1), QTime(12, 0), Qt::UTC);

QByteArray metadata(QLatin1String versionKey, qint64 version, const QDateTime& expires, const QJsonObject& more = {})
{
    QJsonObject o = more;
    o.insert(versionKey, double(version));
    o.insert(ReleaseTrust::kExpiresKey, ReleaseTrust::timeText(expires));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonObject keyEntries(const QList<QByteArray>& keys)
{
    QJsonArray entries;
    for (const QByteArray& key : keys)
        entries.append(QJsonObject { { ReleaseTrust::kKeyIdKey, ReleaseSignature::keyId(key) },
            { ReleaseTrust::kKeyKey, QString::fromLatin1(key.toBase64()) } });
    return QJsonObject { { ReleaseTrust::kKeysKey, entries } };
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestReleaseTrust : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_releases;
    ReleaseSignature m_root = ReleaseSignature::generate();
    ReleaseSignature m_a = ReleaseSignature::generate();
    ReleaseSignature m_b = ReleaseSignature::generate();

    // The catalogue's answer from the configured server, asked afresh.
    std::pair<QList<ZelFirmware>, QString> fetch()
    {
        ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime();
        std::pair<QList<ZelFirmware>, QString> result;
        bool done = false;
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares([&](const QList<ZelFirmware>& l, const QString& e) {
            result = { l, e };
            done = true;
        });
        [&] { QTRY_VERIFY(done); }();
        return result;
    }

    bool publish(const QString& site, const QString& baseUrl, const ReleaseSignature& key, qint64 version, double days)
    {
        ReleaseServer releases(m_releases);
        SitePublisher::ListSigning signing;
        signing.key = key;
        signing.listVersion = version;
        signing.expiresDays = days;
        QString error;
        const bool ok = SitePublisher::publish(releases, site, baseUrl, &signing, &error);
        if (!ok)
            qWarning() << error;
        return ok;
    }

private slots:
    void initTestCase()
    {
        m_releases = m_dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(m_releases));
        DocumentsDirectory::setPath(m_dir.filePath(QStringLiteral("documents")));
    }

    void cleanup()
    {
        ReleaseSignature::forgetAddedKeys();
        ZelFirmwareDataTool::setServerOverride(QString());
    }

    void theJudgementRefusesEachFault_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("refusal");
        using R = ReleaseTrust::Refusal;
        QTest::newRow("genuine") << "" << int(R::None);
        QTest::newRow("same list version again") << "equal" << int(R::None);
        QTest::newRow("list not signed") << "no list signature" << int(R::ListSignature);
        QTest::newRow("list signed by another key") << "list by other" << int(R::ListSignature);
        QTest::newRow("list changed after signing") << "list edited" << int(R::ListSignature);
        QTest::newRow("signed list without a version") << "no version" << int(R::ListMalformed);
        QTest::newRow("signed list with a local expiry") << "local time" << int(R::ListMalformed);
        QTest::newRow("signed list with a fractional version") << "fractional" << int(R::ListMalformed);
        QTest::newRow("older list") << "list rollback" << int(R::ListRollback);
        QTest::newRow("expired list") << "list expired" << int(R::ListExpired);
        QTest::newRow("key set not signed by the root") << "keys by other" << int(R::KeySetSignature);
        QTest::newRow("key set naming a wrong key id") << "wrong key id" << int(R::KeySetMalformed);
        QTest::newRow("older key set") << "keys rollback" << int(R::KeySetRollback);
        QTest::newRow("expired key set") << "keys expired" << int(R::KeySetExpired);
        QTest::newRow("list by a key outside the key set") << "list by root" << int(R::ListSignature);
    }

    void theJudgementRefusesEachFault()
    {
        QFETCH(QString, fault);
        QFETCH(int, refusal);
        const ReleaseSignature other = ReleaseSignature::generate();
        const QDateTime later = kNow.addDays(1);
        ReleaseTrust::Answer a;
        a.list = fault == QLatin1String("list expired") ? metadata(ReleaseTrust::kListVersionKey, 5, kNow)
            : fault == QLatin1String("list rollback")   ? metadata(ReleaseTrust::kListVersionKey, 3, later)
            : fault == QLatin1String("no version")      ? QByteArray(R"({"data":[],"expires":"2027-01-01T00:00:00Z"})")
            : fault == QLatin1String("local time")
            ? QByteArray(R"({"data":[],"list_version":5,"expires":"2027-01-01T00:00:00"})")
            : fault == QLatin1String("fractional")
            ? QByteArray(R"({"data":[],"list_version":6.5,"expires":"2027-01-01T00:00:00Z"})")
            : fault == QLatin1String("equal") ? metadata(ReleaseTrust::kListVersionKey, 4, later)
                                              : metadata(ReleaseTrust::kListVersionKey, 5, later);
        a.listSignature = (fault == QLatin1String("list by other") ? other
                : fault == QLatin1String("list by root")           ? m_root
                                                                   : m_a)
                              .signBytes(a.list);
        if (fault == QLatin1String("no list signature"))
            a.listSignature.clear();
        if (fault == QLatin1String("list edited"))
            a.list.replace("\"list_version\":5", "\"list_version\":6");
        QJsonObject entries = keyEntries({ m_a.publicKey() });
        if (fault == QLatin1String("wrong key id")) {
            QJsonArray list = entries.value(ReleaseTrust::kKeysKey).toArray();
            QJsonObject entry = list.first().toObject();
            entry.insert(ReleaseTrust::kKeyIdKey, m_b.keyId());
            list.replace(0, entry);
            entries.insert(ReleaseTrust::kKeysKey, list);
        }
        a.keySet = metadata(ReleaseTrust::kKeySetVersionKey, fault == QLatin1String("keys rollback") ? 1 : 2,
            fault == QLatin1String("keys expired") ? kNow.addSecs(-1) : later, entries);
        a.keySetSignature = (fault == QLatin1String("keys by other") ? other : m_root).signBytes(a.keySet);
        const TrustState::Seen seen { 4, 2 };

        const ReleaseTrust::Verdict withRoot = ReleaseTrust::judge(a, { m_root.publicKey() }, {}, seen, kNow);
        QCOMPARE(int(withRoot.refusal), refusal);
        if (refusal == int(ReleaseTrust::Refusal::None)) {
            QCOMPARE(withRoot.keySetKeys, QList<QByteArray> { m_a.publicKey() });
            QCOMPARE(withRoot.accepted.listVersion, fault == QLatin1String("equal") ? 4 : 5);
            QCOMPARE(withRoot.accepted.keySetVersion, 2);
        } else {
            QVERIFY(!ReleaseTrust::message(withRoot).isEmpty());
            QVERIFY(withRoot.list.isEmpty());
            // A key set that verified is worth keeping whatever the list is.
            QCOMPARE(withRoot.keySetAccepted,
                !fault.startsWith(QLatin1String("keys")) && fault != QLatin1String("wrong key id"));
        }
        // A signed but malformed list names its field.
        if (refusal == int(ReleaseTrust::Refusal::ListMalformed))
            QVERIFY2(
                ReleaseTrust::message(withRoot).contains(
                    fault == QLatin1String("local time") ? QLatin1String("expires") : QLatin1String("list_version")),
                qPrintable(ReleaseTrust::message(withRoot)));
        // Without a root the key set is not read: the list's own faults alone count.
        if (!fault.startsWith(QLatin1String("keys")) && fault != QLatin1String("wrong key id")
            && fault != QLatin1String("list by root"))
            QCOMPARE(int(ReleaseTrust::judge(a, {}, { m_a.publicKey() }, seen, kNow).refusal), refusal);
    }

    void eachRefusalHasItsOwnMessage()
    {
        ReleaseTrust::Verdict v;
        v.offered = 1;
        v.held = 2;
        v.expires = kNow;
        QSet<QString> texts;
        using R = ReleaseTrust::Refusal;
        const QList<R> refusals { R::ListSignature, R::ListMalformed, R::ListExpired, R::ListRollback,
            R::KeySetSignature, R::KeySetMalformed, R::KeySetExpired, R::KeySetRollback, R::RootSignature,
            R::StateDamaged, R::StateNotSaved };
        for (R r : refusals) {
            v.refusal = r;
            texts.insert(ReleaseTrust::message(v, QStringLiteral("/x")));
        }
        QCOMPARE(texts.size(), refusals.size());
        v.refusal = R::ListRollback;
        QVERIFY(ReleaseTrust::message(v).contains(QLatin1String("version 1")));
        v.refusal = R::ListExpired;
        QVERIFY(ReleaseTrust::message(v).contains(QLatin1String("2026-06-01T12:00:00Z")));
    }

    // Versions only rise, per server; a damaged record is reported, not reset.
    void theStateRecordsTheHighestVersionsPerServer()
    {
        const QString path = m_dir.filePath(QStringLiteral("state.json"));
        TrustState state(path);
        TrustState::Seen seen;
        QVERIFY(state.seen(QStringLiteral("http://a"), &seen));
        QCOMPARE(seen.listVersion, 0); // first contact
        QVERIFY(state.remember(QStringLiteral("http://a"), { 3, 2 }));
        QVERIFY(state.remember(QStringLiteral("http://a"), { 1, 5 }));
        QVERIFY(state.remember(QStringLiteral("http://b"), { 7, 0 }));
        QVERIFY(state.seen(QStringLiteral("http://a"), &seen));
        QCOMPARE(seen.listVersion, 3);
        QCOMPARE(seen.keySetVersion, 5);
        QVERIFY(TrustState(path).seen(QStringLiteral("http://b"), &seen));
        QCOMPARE(seen.listVersion, 7);

        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("{\"servers\": [");
        damaged.close();
        QVERIFY(!state.seen(QStringLiteral("http://a"), &seen));
        QVERIFY(!state.remember(QStringLiteral("http://a"), { 9, 9 }));
        QCOMPARE(readAll(path), QByteArray("{\"servers\": ["));
    }

    // A field of the wrong type or out of range is never read as 0: every
    // list from that server is refused, the file is kept as it is, and the
    // message names the field. Other servers' records are not its business.
    void aRecordFieldOfTheWrongKindRefusesItsServer_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("field");
        QTest::newRow("a text") << QByteArray(R"({"list_version":"5","keys_version":1})") << "list_version";
        QTest::newRow("an array") << QByteArray(R"({"list_version":5,"keys_version":[1]})") << "keys_version";
        QTest::newRow("out of range") << QByteArray(R"({"list_version":1e300})") << "list_version";
        QTest::newRow("negative") << QByteArray(R"({"list_version":-1})") << "list_version";
        QTest::newRow("a fraction") << QByteArray(R"({"keys_version":2.5})") << "keys_version";
        QTest::newRow("not an object") << QByteArray("7") << "127.0.0.1";
        QTest::newRow("a root without its keys") << QByteArray(R"({"root_version":2})") << "root_keys";
        QTest::newRow("a root key that is no key")
            << QByteArray(R"({"root_version":2,"root_keys":["AAAA"]})") << "root_keys";
    }

    void aRecordFieldOfTheWrongKindRefusesItsServer()
    {
        QFETCH(QByteArray, record);
        QFETCH(QString, field);
        TestHttpServer host;
        const QString site = m_dir.filePath(QStringLiteral("wrong-kind"));
        QVERIFY(publish(site, host.baseUrl(), m_a, 3, 30));
        host.root = site;
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());
        QVERIFY(ReleaseSignature::addTrustedKey(m_a.publicKeyBase64()));
        // Written as an earlier version wrote the key: the server's text as given.
        const QByteArray bytes = "{\"servers\":{\"" + host.baseUrl().toUtf8() + "/\":" + record
            + ",\"http://elsewhere\":{\"list_version\":4}}}";
        QFile file(TrustState::defaultPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        const auto restore = qScopeGuard([] { QFile::remove(TrustState::defaultPath()); });

        auto [list, error] = fetch();
        QVERIFY(list.isEmpty());
        QVERIFY2(
            error.startsWith(localized("ReleaseTrustStateDamaged").section(QLatin1Char('('), 0, 0)), qPrintable(error));
        QVERIFY2(error.contains(field), qPrintable(error));
        QCOMPARE(readAll(TrustState::defaultPath()), bytes);
        // Another server's record is still read.
        TrustState::Seen seen;
        QVERIFY(TrustState().seen(QStringLiteral("http://elsewhere"), &seen));
        QCOMPARE(seen.listVersion, 4);
    }

    // One server however it is written: scheme and host in any case, its
    // default port, a trailing dot, a path. Records written under another
    // spelling by earlier versions count for it too.
    void aServerWrittenSeveralWaysKeepsOneRecord()
    {
        QCOMPARE(
            TrustState::originOf(QStringLiteral("HTTP://LocalHost:8080/")), QStringLiteral("http://localhost:8080"));
        QCOMPARE(TrustState::originOf(QStringLiteral("http://localhost:80/./")), QStringLiteral("http://localhost"));
        QCOMPARE(
            TrustState::originOf(QStringLiteral("https://h.example.:443/x/..")), QStringLiteral("https://h.example"));
        QCOMPARE(TrustState::originOf(QStringLiteral("http://[::1]:9/")), QStringLiteral("http://[::1]:9"));
        QVERIFY(
            TrustState::originOf(QStringLiteral("http://a:1")) != TrustState::originOf(QStringLiteral("http://a:2")));
        QVERIFY(TrustState::originOf(QStringLiteral("http://a")) != TrustState::originOf(QStringLiteral("https://a")));

        const QString path = m_dir.filePath(QStringLiteral("origins.json"));
        QFile legacy(path);
        QVERIFY(legacy.open(QIODevice::WriteOnly));
        legacy.write("{\"servers\":{\"HTTP://LOCALHOST:1234/.\":{\"list_version\":5,\"keys_version\":1}}}");
        legacy.close();
        TrustState state(path);
        TrustState::Seen seen;
        QVERIFY(state.seen(QStringLiteral("http://localhost:1234"), &seen));
        QCOMPARE(seen.listVersion, 5);
        QVERIFY(state.remember(QStringLiteral("http://localhost:1234/"), { 3, 2 }));
        QVERIFY(state.seen(QStringLiteral("http://LOCALHOST:1234"), &seen));
        QCOMPARE(seen.listVersion, 5); // never lowered through another spelling
        QCOMPARE(seen.keySetVersion, 2);
        // List 3 after 5, asked through a third spelling: a rollback.
        ReleaseTrust::Answer a;
        a.list = metadata(ReleaseTrust::kListVersionKey, 3, kNow.addDays(1));
        a.listSignature = m_a.signBytes(a.list);
        QCOMPARE(
            ReleaseTrust::judge(a, {}, { m_a.publicKey() }, seen, kNow).refusal, ReleaseTrust::Refusal::ListRollback);
    }

    // A key set that verified is remembered even when the list beside it is
    // refused: key set 2 (without the revoked key A) with an expired list,
    // then key set 1 (naming A) with a list A signed. Both refused.
    void aVerifiedKeySetIsRememberedWhenItsListIsRefused()
    {
        TestHttpServer host;
        const QString older = m_dir.filePath(QStringLiteral("keys-v1"));
        const QString newer = m_dir.filePath(QStringLiteral("keys-v2"));
        SitePublisher::KeySetChange change;
        change.root = m_root;
        change.add = { m_a.publicKey() };
        QString error;
        QVERIFY(publish(older, host.baseUrl(), m_a, 1, 30));
        QVERIFY2(SitePublisher::signKeys(older, change, &error), qPrintable(error));
        QVERIFY(QDir().mkpath(newer));
        QVERIFY(publish(newer, host.baseUrl(), m_b, 1, 0)); // expired
        QVERIFY(QFile::copy(SitePublisher::keySetPath(older), SitePublisher::keySetPath(newer)));
        QVERIFY(QFile::copy(SitePublisher::keySetPath(older) + ReleaseTrust::kSignatureSuffix,
            SitePublisher::keySetPath(newer) + ReleaseTrust::kSignatureSuffix));
        change.add = { m_b.publicKey() };
        change.remove = { m_a.keyId() };
        QVERIFY2(SitePublisher::signKeys(newer, change, &error), qPrintable(error));
        QVERIFY(ReleaseSignature::addTrustedRoot(m_root.publicKeyBase64()));
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());
        QFile::remove(TrustState::defaultPath());

        host.root = newer;
        auto [list, fetchError] = fetch();
        QVERIFY2(fetchError.startsWith(localized("ReleaseListExpired").section(QLatin1Char('%'), 0, 0)),
            qPrintable(fetchError));
        TrustState::Seen seen;
        QVERIFY(TrustState().seen(host.baseUrl(), &seen));
        QCOMPARE(seen.keySetVersion, 2);
        QCOMPARE(seen.listVersion, 0);

        host.root = older;
        std::tie(list, fetchError) = fetch();
        QCOMPARE(fetchError, localized("ReleaseKeySetRollback").arg(1).arg(2));
        QVERIFY(list.isEmpty());
    }

    // A root rotated twice (1 → 2 → 3): a client pinned to 1 follows the
    // chain and accepts the key set 3 signed, and keeps 3. A document 2 that
    // 1 did not sign is refused; a key set signed by 1 after 3 is refused.
    void aRootHandsOverAlongItsChain()
    {
        TestHttpServer host;
        const ReleaseSignature root2 = ReleaseSignature::generate();
        const ReleaseSignature root3 = ReleaseSignature::generate();
        const QString site = m_dir.filePath(QStringLiteral("rotated-root"));
        QVERIFY(publish(site, host.baseUrl(), m_a, 1, 30));
        QString error;
        QString written;
        QVERIFY2(SitePublisher::signRoot(site, { m_root, root2 }, &written, &error), qPrintable(error));
        QCOMPARE(written, SitePublisher::rootPath(site, 2));
        QVERIFY(!SitePublisher::signRoot(site, { m_root, root3 }, &written, &error)); // 1 no longer holds the site
        QVERIFY2(SitePublisher::signRoot(site, { root2, root3 }, &written, &error), qPrintable(error));
        QCOMPARE(SitePublisher::currentRootVersion(site), 3);
        SitePublisher::KeySetChange byOldRoot;
        byOldRoot.root = m_root;
        byOldRoot.add = { m_a.publicKey() };
        QVERIFY2(SitePublisher::signKeys(site, byOldRoot, &error), qPrintable(error));
        const QByteArray keySetByOldRoot = readAll(SitePublisher::keySetPath(site));
        const QByteArray keySetByOldRootSignature
            = readAll(SitePublisher::keySetPath(site) + ReleaseTrust::kSignatureSuffix);
        SitePublisher::KeySetChange byNewRoot = byOldRoot;
        byNewRoot.root = root3;
        QVERIFY2(SitePublisher::signKeys(site, byNewRoot, &error), qPrintable(error));
        host.root = site;
        QVERIFY(ReleaseSignature::addTrustedRoot(m_root.publicKeyBase64()));
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());
        QFile::remove(TrustState::defaultPath());

        auto [list, fetchError] = fetch();
        QVERIFY2(fetchError.isEmpty(), qPrintable(fetchError));
        QCOMPARE(ReleaseSignature::status(list.first()), ReleaseSignature::Status::Verified);
        TrustState::Seen seen;
        QVERIFY(TrustState().seen(host.baseUrl(), &seen));
        QCOMPARE(seen.rootVersion, 3);
        QCOMPARE(seen.rootKeys, QList<QByteArray> { root3.publicKey() });
        QVERIFY(host.targets.contains("/firmware/update/root/4.json"));

        // Asked again, the chain starts at 3: documents 2 and 3 are not fetched again.
        host.targets.clear();
        std::tie(list, fetchError) = fetch();
        QVERIFY2(fetchError.isEmpty(), qPrintable(fetchError));
        QVERIFY(!host.targets.contains("/firmware/update/root/2.json"));

        // The old root's key set, genuine, replayed after the hand-over.
        QFile keys(SitePublisher::keySetPath(site));
        QVERIFY(keys.open(QIODevice::WriteOnly | QIODevice::Truncate));
        keys.write(keySetByOldRoot);
        keys.close();
        QFile keysSignature(SitePublisher::keySetPath(site) + ReleaseTrust::kSignatureSuffix);
        QVERIFY(keysSignature.open(QIODevice::WriteOnly | QIODevice::Truncate));
        keysSignature.write(keySetByOldRootSignature);
        keysSignature.close();
        std::tie(list, fetchError) = fetch();
        QCOMPARE(fetchError, localized("ReleaseKeySetInvalid"));

        // A fresh client meets a document 2 that root 1 did not sign.
        QFile::remove(TrustState::defaultPath());
        const ReleaseSignature stranger = ReleaseSignature::generate();
        const QByteArray document = readAll(SitePublisher::rootPath(site, 2));
        QFile forged(SitePublisher::rootPath(site, 2) + ReleaseTrust::kSignatureSuffix);
        QVERIFY(forged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        forged.write(stranger.signBytes(document) + '\n' + root2.signBytes(document) + '\n');
        forged.close();
        std::tie(list, fetchError) = fetch();
        QCOMPARE(fetchError, localized("ReleaseRootInvalid").arg(2));
        QVERIFY(TrustState().seen(host.baseUrl(), &seen));
        QCOMPARE(seen.rootVersion, 0);
    }

    // The root documents' own checks: the next version exactly, and both signatures.
    void aRootStepNeedsTheNextVersionAndBothSignatures()
    {
        const ReleaseSignature next = ReleaseSignature::generate();
        auto document = [&](qint64 version) {
            return QJsonDocument(
                QJsonObject { { ReleaseTrust::kRootVersionKey, double(version) },
                    { ReleaseTrust::kKeysKey, keyEntries({ next.publicKey() }).value(ReleaseTrust::kKeysKey) } })
                .toJson(QJsonDocument::Compact);
        };
        auto both = [&](const QByteArray& bytes) { return m_root.signBytes(bytes) + '\n' + next.signBytes(bytes); };
        const QList<QByteArray> held { m_root.publicKey() };
        const ReleaseTrust::RootStep good = ReleaseTrust::nextRoot(document(2), both(document(2)), held, 1);
        QCOMPARE(good.refusal, ReleaseTrust::Refusal::None);
        QCOMPARE(good.version, 2);
        QCOMPARE(good.keys, QList<QByteArray> { next.publicKey() });
        using R = ReleaseTrust::Refusal;
        QCOMPARE(ReleaseTrust::nextRoot(document(3), both(document(3)), held, 1).refusal, R::RootSignature);
        QCOMPARE(ReleaseTrust::nextRoot(document(1), both(document(1)), held, 1).refusal, R::RootSignature);
        QCOMPARE(ReleaseTrust::nextRoot(document(2), m_root.signBytes(document(2)), held, 1).refusal, R::RootSignature);
        QCOMPARE(ReleaseTrust::nextRoot(document(2), next.signBytes(document(2)), held, 1).refusal, R::RootSignature);
        QCOMPARE(ReleaseTrust::nextRoot(document(2) + ' ', both(document(2)), held, 1).refusal, R::RootSignature);
    }

    // A malformed trusted-key entry of the information dictionary is named,
    // and turns signatures on rather than off.
    void malformedDictionaryKeysAreRefused_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("wellFormed");
        const QString key = m_a.publicKeyBase64();
        QTest::newRow("absent") << QVariant() << true;
        QTest::newRow("empty array") << QVariant(QVariantList {}) << true;
        QTest::newRow("one key") << QVariant(QVariantList { key }) << true;
        QTest::newRow("a typo in the only key")
            << QVariant(QVariantList { key.left(10) + QLatin1Char('!') + key.mid(11) }) << false;
        QTest::newRow("a short key") << QVariant(QVariantList { QStringLiteral("c2hvcnQ=") }) << false;
        QTest::newRow("not an array") << QVariant(key) << false;
        QTest::newRow("a number in the array") << QVariant(QVariantList { key, 7 }) << false;
    }

    void malformedDictionaryKeysAreRefused()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, wellFormed);
        QString error;
        QCOMPARE(ReleaseSignature::checkKeyArray(value, ReleaseSignature::kRootKeysInfoKey, &error), wellFormed);
        QCOMPARE(error.isEmpty(), wellFormed);
        if (!wellFormed)
            QVERIFY(error.contains(ReleaseSignature::kRootKeysInfoKey));
        QVERIFY(ReleaseSignature::checkInformation(&error)); // the bundled dictionary is well formed
    }

    // A client that accepted list version 2 is served version 1, then an
    // expired list, then version 2 again; over a plain static web server.
    void aReplayedOrExpiredListIsRefusedFromTheServer()
    {
        TestHttpServer host;
        const QString v1 = m_dir.filePath(QStringLiteral("site-v1"));
        const QString v2 = m_dir.filePath(QStringLiteral("site-v2"));
        const QString expired = m_dir.filePath(QStringLiteral("site-expired"));
        QVERIFY(publish(v1, host.baseUrl(), m_a, 1, 30));
        QVERIFY(publish(v2, host.baseUrl(), m_a, 2, 30));
        QVERIFY(publish(expired, host.baseUrl(), m_a, 3, 0));
        QVERIFY(ReleaseSignature::addTrustedKey(m_a.publicKeyBase64()));
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());

        host.root = v2;
        auto [list, error] = fetch();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(list.size(), DemoReleases::versions().size());
        for (const ZelFirmware& f : list) {
            QVERIFY(f.listed);
            QCOMPARE(ReleaseSignature::status(f), ReleaseSignature::Status::Verified);
            QCOMPARE(f.keyId, m_a.keyId());
        }
        QVERIFY(host.targets.contains("/firmware/update/r1.sig"));

        host.root = v1;
        std::tie(list, error) = fetch();
        QVERIFY(list.isEmpty());
        QCOMPARE(error, localized("ReleaseListRollback").arg(1).arg(2));
        QCOMPARE(ZelFirmwareDataTool::sharedInstance().refusal, error);
        QVERIFY(!ZelFirmwareDataTool::sharedInstance().firmwares); // the older stored list is not offered

        host.root = expired;
        std::tie(list, error) = fetch();
        QVERIFY(list.isEmpty());
        QVERIFY2(error.startsWith(localized("ReleaseListExpired").section(QLatin1Char('%'), 0, 0)), qPrintable(error));

        host.root = v2;
        std::tie(list, error) = fetch();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(list.size(), DemoReleases::versions().size());
        QVERIFY(ZelFirmwareDataTool::sharedInstance().refusal.isEmpty());

        // The list's signature missing, or the list edited: refused as unsigned.
        QVERIFY(QFile::remove(SitePublisher::listPath(v2) + ReleaseTrust::kSignatureSuffix));
        std::tie(list, error) = fetch();
        QCOMPARE(error, localized("ReleaseListSignatureInvalid"));

        // A state file that cannot be read refuses rather than trusting afresh.
        host.root = v1;
        QFile state(TrustState::defaultPath());
        QVERIFY(state.open(QIODevice::WriteOnly | QIODevice::Truncate));
        state.write("not json");
        state.close();
        std::tie(list, error) = fetch();
        QCOMPARE(error,
            localized("ReleaseTrustStateDamaged").arg(TrustState::defaultPath(), localized("TrustRecordNotJson")));
        QVERIFY(QFile::remove(TrustState::defaultPath()));
        std::tie(list, error) = fetch(); // removed: the first contact again
        QVERIFY2(error.isEmpty(), qPrintable(error));

        // With nothing trusted, the unsigned behaviour of old: no signature asked for.
        ReleaseSignature::forgetAddedKeys();
        host.targets.clear();
        std::tie(list, error) = fetch();
        QVERIFY(error.isEmpty());
        QVERIFY(!host.targets.contains("/firmware/update/r1.sig"));
    }

    // A client trusting only the root: key A, then a key set that replaces A
    // by B. B's list and releases verify; A's are refused from then on, and
    // the older key set that still named A is not taken back.
    void aNewKeySetRotatesTheReleaseKeys()
    {
        TestHttpServer host;
        const QString site = m_dir.filePath(QStringLiteral("rotating"));
        QVERIFY(publish(site, host.baseUrl(), m_a, 0, 30));
        SitePublisher::KeySetChange change;
        change.root = m_root;
        change.add = { m_a.publicKey() };
        QString error;
        QVERIFY2(SitePublisher::signKeys(site, change, &error), qPrintable(error));
        const QByteArray keySetV1 = readAll(SitePublisher::keySetPath(site));
        const QByteArray keySetV1Signature = readAll(SitePublisher::keySetPath(site) + ReleaseTrust::kSignatureSuffix);
        const QByteArray listByA = readAll(SitePublisher::listPath(site));
        const QByteArray listByASignature = readAll(SitePublisher::listPath(site) + ReleaseTrust::kSignatureSuffix);
        host.root = site;
        QVERIFY(ReleaseSignature::addTrustedRoot(m_root.publicKeyBase64()));
        QVERIFY(ReleaseSignature::hasTrustedKeys());
        ZelFirmwareDataTool::setServerOverride(host.baseUrl());

        auto [list, fetchError] = fetch();
        QVERIFY2(fetchError.isEmpty(), qPrintable(fetchError));
        QCOMPARE(ReleaseSignature::status(list.first()), ReleaseSignature::Status::Verified);
        // A key trusted directly does not count beside a root.
        QVERIFY(ReleaseSignature::addTrustedKey(m_b.publicKeyBase64()));
        QCOMPARE(ReleaseSignature::trustedKeys(), QList<QByteArray> { m_a.publicKey() });
        const ZelFirmware signedByA = list.first();

        change.add = { m_b.publicKey() };
        change.remove = { m_a.keyId() };
        QVERIFY2(SitePublisher::signKeys(site, change, &error), qPrintable(error));
        QCOMPARE(ReleaseTrust::readMetadata(readAll(SitePublisher::keySetPath(site)), ReleaseTrust::kKeySetVersionKey)
                     ->version,
            2);
        // The list still signed by A: refused under the new key set.
        std::tie(list, fetchError) = fetch();
        QCOMPARE(fetchError, localized("ReleaseListSignatureInvalid"));
        QVERIFY(publish(site, host.baseUrl(), m_b, 0, 30));
        std::tie(list, fetchError) = fetch();
        QVERIFY2(fetchError.isEmpty(), qPrintable(fetchError));
        QCOMPARE(ReleaseSignature::status(list.first()), ReleaseSignature::Status::Verified);
        QCOMPARE(list.first().keyId, m_b.keyId());
        QCOMPARE(ReleaseSignature::status(signedByA), ReleaseSignature::Status::Invalid);

        // The old key set and A's old list, genuinely signed, replayed.
        auto write = [](const QString& path, const QByteArray& bytes) {
            QFile f(path);
            return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
        };
        QVERIFY(write(SitePublisher::keySetPath(site), keySetV1));
        QVERIFY(write(SitePublisher::keySetPath(site) + ReleaseTrust::kSignatureSuffix, keySetV1Signature));
        QVERIFY(write(SitePublisher::listPath(site), listByA));
        QVERIFY(write(SitePublisher::listPath(site) + ReleaseTrust::kSignatureSuffix, listByASignature));
        std::tie(list, fetchError) = fetch();
        QCOMPARE(fetchError, localized("ReleaseKeySetRollback").arg(1).arg(2));

        // No key set at all: refused as unsigned.
        QVERIFY(QFile::remove(SitePublisher::keySetPath(site)));
        std::tie(list, fetchError) = fetch();
        QCOMPARE(fetchError, localized("ReleaseKeySetInvalid"));
    }

    // The publisher's own refusals, and sign-list's default version.
    void thePublisherRefusesWhatItCannotSign()
    {
        const QString site = m_dir.filePath(QStringLiteral("publisher"));
        QVERIFY(publish(site, QStringLiteral("http://h"), m_a, 0, 30));
        SitePublisher::ListSigning signing;
        signing.key = m_a;
        QString error;
        QVERIFY(SitePublisher::signList(site, signing, &error));
        QCOMPARE(
            ReleaseTrust::readMetadata(readAll(SitePublisher::listPath(site)), ReleaseTrust::kListVersionKey)->version,
            2);
        QVERIFY(!SitePublisher::signList(m_dir.filePath(QStringLiteral("nothing")), signing, &error));
        QVERIFY(error.contains(QLatin1String("no published list")));
        SitePublisher::KeySetChange change;
        change.root = m_root;
        change.remove = { m_b.keyId() };
        QVERIFY(!SitePublisher::signKeys(site, change, &error)); // no key set yet, so no such key
        change.remove.clear();
        QVERIFY(!SitePublisher::signKeys(site, change, &error));
        QVERIFY(error.contains(QLatin1String("no key")));
        QVERIFY(!QFile::exists(SitePublisher::keySetPath(site)));
    }
};

QTEST_GUILESS_MAIN(TestReleaseTrust)
#include "tst_releasetrust.moc"
