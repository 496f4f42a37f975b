// Choosing a release and bringing it onto the simulated controller: local
// releases, downloads from a real HTTP server on 127.0.0.1, the download
// record, and every refusal on the way.
#include "accessory/EADSessionController.h"
#include "firmware/FirmwareVersion.h"
#include "firmware/DownloadStore.h"
#include "firmware/FileHash.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelDataTool.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SimAccessoryTransport.h"
#include "sim/SimulatedController.h"
#include "sim/ZipWriter.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

using namespace testsupport;

namespace {
const QString kNewest = QStringLiteral("1.1-2.5-1.8");
const QString kMiddle = QStringLiteral("1.0-2.4-1.6");
// A whole run with its restarts, in real time.
constexpr int kRunMs = 2 * testsupport::kPatienceMs;
} // namespace

class TestSelection : public QObject {
    Q_OBJECT

    SimulatedAttachment* m_sim = nullptr;
    ToastRecorder* m_toasts = nullptr;
    QTemporaryDir m_dir;
    QString m_releases;
    ReleaseServer* m_server = nullptr;

    ZelFirmwareUpgradeManager& engine() { return ZelFirmwareUpgradeManager::sharedInstance(); }
    SimulatedController& sim() { return m_sim->controller(); }
    QString documents() const { return m_dir.filePath(QStringLiteral("documents")); }

    // The controller's versions as the engine last read them.
    static QString readVersions() { return readControllerVersions(); }

    QList<ZelFirmware> online()
    {
        ZelFirmwareDataTool::sharedInstance().firmwaresDate = QDateTime(); // always ask the server
        QList<ZelFirmware> list;
        bool done = false;
        ZelFirmwareDataTool::sharedInstance().getRemoteFirmwares([&](const QList<ZelFirmware>& l, const QString&) {
            list = l;
            done = true;
        });
        (void)waitUntil([&] { return done; });
        return list;
    }

    // The three images of a demo release, unpacked into folder.
    static bool writeImages(const QString& folder, const QString& version)
    {
        for (const auto& [name, bytes] :
            { std::pair { QStringLiteral("V7E_IAP.bin"), DemoReleases::bootImage(version) },
                std::pair { QStringLiteral("V7E_ISP.bin"), DemoReleases::leftImage(version) },
                std::pair { QStringLiteral("Q3_RIGHT.bin"), DemoReleases::rightImage(version) } }) {
            QFile f(folder + QLatin1Char('/') + name);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                return false;
        }
        return true;
    }

    ZelFirmware onlineRelease(const QString& version)
    {
        for (const ZelFirmware& f : online())
            if (f.version == version)
                return f;
        return {};
    }

    // Selects a release and runs the upgrade to its end; true when every needed image was sent.
    bool upgrade(const ZelFirmware& release)
    {
        engine().setSelectedFirmware(&release);
        if (engine().checkFirmware() != ZelFirmwareCheckNeedUpgrade)
            return false;
        engine().startUpgrade();
        (void)waitUntil([&] { return !engine().isUpgradingFirmware(); }, kRunMs);
        return (!engine().bootNeedUpgrade() || engine().bootUpgradeDone())
            && (!engine().leftNeedUpgrade() || engine().leftUpgradeDone())
            && (!engine().rightNeedUpgrade() || engine().rightUpgradeDone());
    }

    // The controller back from a restart that a run's last left-side image
    // made, and the engine's session open on it.
    bool settled() { return !engine().isGamepadDisconnectByUpgradingFirmware() && m_sim->sessionIsOpen(); }

    // Waits for the controller to come back after a restart and reads its versions.
    QString versionsAfterRestart()
    {
        (void)waitUntil([&] { return settled(); });
        return readVersions();
    }

    // A release of version whose archive the server serves, with its
    // digests and its signature with key.
    static ZelFirmware signedRelease(
        TestHttpServer& server, const QString& version, const QString& archive, const ReleaseSignature& key)
    {
        QFile body(archive);
        if (body.open(QIODevice::ReadOnly))
            server.body = body.readAll();
        server.contentType = "application/zip";
        server.extraHeaders = "Content-Disposition: attachment; filename=\"" + version.toUtf8() + ".zip\"\r\n";
        ZelFirmware release;
        release.version = version;
        release.path = server.baseUrl() + QStringLiteral("/file.zip");
        release.md5 = FileHash::md5HashOfFileAtPath(archive);
        release.sha256 = FileHash::sha256HashOfFileAtPath(archive);
        release.signature = key.sign(version, release.sha256);
        return release;
    }

    // Writes an archive at path holding the three images of a demo release; its bytes.
    static QByteArray releaseArchive(const QString& path, const QString& imagesOf)
    {
        {
            ZipWriter zip(path);
            zip.addFile(QStringLiteral("V7E_IAP.bin"), DemoReleases::bootImage(imagesOf));
            zip.addFile(QStringLiteral("V7E_ISP.bin"), DemoReleases::leftImage(imagesOf));
            zip.addFile(QStringLiteral("Q3_RIGHT.bin"), DemoReleases::rightImage(imagesOf));
            if (!zip.close())
                return QByteArray();
        }
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void expectInstalled(const QString& version, bool bootSent)
    {
        QCOMPARE(sim().versionsText(), version);
        QCOMPARE(sim().rightFlash(), DemoReleases::rightImage(version));
        QCOMPARE(sim().leftApplicationFlash(), DemoReleases::leftImage(version));
        const QByteArray boot = DemoReleases::bootImage(version);
        if (bootSent)
            QCOMPARE(sim().bootLoaderFlash(), boot.left(4) + boot.mid(0xE804));
    }

private slots:
    void initTestCase()
    {
        // No timer is examined here: the engine's delays, limits and prompts
        // and the download's time limit all keep their real lengths.
        Localization::shared().setLanguage(QStringLiteral("en"));
        DocumentsDirectory::setPath(documents());
        m_releases = m_dir.filePath(QStringLiteral("releases"));
        QVERIFY(DemoReleases::generate(m_releases));
        m_server = new ReleaseServer(m_releases);
        QVERIFY(m_server->listen());
        ZelFirmwareDataTool::setServerOverride(m_server->baseUrl());
        m_sim = new SimulatedAttachment;
        QVERIFY(m_sim->configureSession());
        engine();
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.5"));
    }

    void cleanupTestCase()
    {
        delete m_sim;
        delete m_server;
    }

    void init() { m_toasts = new ToastRecorder; }

    void cleanup()
    {
        ReleaseSignature::forgetAddedKeys();
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware() && settled(); }, kRunMs));
        delete m_toasts;
    }

    void versionsAreIntegerPairs()
    {
        const auto v = [](const char* text) { return FirmwareVersion::parse(QString::fromLatin1(text)); };
        QCOMPARE(v("1.10"), (FirmwareVersion { 1, 10 }));
        QVERIFY(*v("1.10") > *v("1.9"));
        QVERIFY(*v("1.10") != *v("1.1"));
        QCOMPARE(v("0.0"), (FirmwareVersion { 0, 0 }));
        QCOMPARE(v("255.255"), (FirmwareVersion { 255, 255 }));
        QCOMPARE(v("2.05"), (FirmwareVersion { 2, 5 }));
        for (const char* bad : { "1.0.5", "abc", "1.", ".5", "", " 1.2", "1.2 ", "+1.2", "-1.2", "1,2", "0x10", "1e1",
                 "256.0", "1.1000", "v2" })
            QVERIFY2(!v(bad), bad);
        QCOMPARE(FirmwareVersion({ 1, 10 }).text(), QStringLiteral("1.10"));

        const auto r = [](const char* text) { return ReleaseVersion::parse(QString::fromLatin1(text)); };
        QVERIFY(r("1.0-1.0-1.10"));
        QVERIFY(!r("1.0-1.0"));
        QVERIFY(!r("1.0-1.0-1.0-1.0"));
        QVERIFY(!r("1.0-abc-1.0"));
        QVERIFY(*r("1.0-1.0-1.10") != *r("1.0-1.0-1.1"));
        QVERIFY(r("1.0-1.0-1.10")->anyNewerThan(*r("1.0-1.0-1.9")));
        QVERIFY(!r("1.0-1.0-1.9")->anyNewerThan(*r("1.0-1.0-1.10")));
        QVERIFY(r("1.0-2.0-1.0")->anyOlderThan(*r("1.0-1.0-2.0")));
        QVERIFY(r("1.0-2.0-1.0")->anyNewerThan(*r("1.0-1.0-2.0")));
        QVERIFY(r("1.0-1.0-1.10")->newerInOrderThan(*r("1.0-1.0-1.9")));
        QVERIFY(r("1.1-0.0-0.0")->newerInOrderThan(*r("1.0-9.9-9.9")));
    }

    void checkFirmwareRefusesInItsOrder()
    {
        // Engines of the test's own: one where nothing is attached, and one
        // for a second simulated controller, not asked its versions yet.
        const QString location = QStringLiteral("sim:checks");
        auto* transport = new SimAccessoryTransport(
            new SimulatedController, InfoDictionary::mainBundle().supportedAccessoryProtocols());
        transport->setDescription(location);
        const auto dropTransport = qScopeGuard([&] {
            delete transport;
            engine().followAccessory(m_sim->waitForAccessory());
            // Its departure is announced a few turns of the event loop later:
            // before anything else is sent.
            (void)waitUntil([&] {
                const auto connected = EAAccessoryManager::sharedAccessoryManager().connectedAccessories();
                return std::none_of(connected.begin(), connected.end(),
                    [&](const EAAccessoryPtr& a) { return a->location() == location; });
            });
        });
        transport->start();
        QVERIFY(waitUntil([&] { return transport->link(); }));
        // The application's engine stays with its controller.
        engine().followAccessory(m_sim->waitForAccessory());
        ZelFirmwareUpgradeManager nowhere(QStringLiteral("sim:nowhere"));
        ZelFirmwareUpgradeManager checks(location);
        QVERIFY(waitUntil([&] { return bool(checks.sessionController().session()); }));
        SimulatedController& second = *transport->controller();

        ZelFirmware twoParts;
        twoParts.version = QStringLiteral("1.2-1.3");
        twoParts.path = QStringLiteral("/nowhere");
        checks.setSelectedFirmware(&twoParts);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckSelectedFirmwareDamaged);
        nowhere.setSelectedFirmware(&twoParts);
        QCOMPARE(nowhere.checkFirmware(), ZelFirmwareCheckNoGamepad); // the controller first
        checks.setSelectedFirmware(nullptr);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckSelectedFirmwareDamaged);
        ZelFirmware empty;
        checks.setSelectedFirmware(&empty);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckSelectedFirmwareDamaged);

        // The controller's versions are not known yet.
        checks.setSelectedFirmware(&twoParts);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckSelectedFirmwareDamaged); // 16 before 8
        ZelFirmware three;
        three.version = QStringLiteral("1.2-1.3-1.4");
        three.path = QStringLiteral("/nowhere");
        checks.setSelectedFirmware(&three);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckGamepadFirmwareDamaged);

        QVERIFY(second.setVersions(QStringLiteral("1.2-1.3-1.4")));
        QCOMPARE(readControllerVersions(checks), QStringLiteral("1.2-1.3-1.4"));
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckVersionSame);
        three.version = QStringLiteral("1.2-1.2-1.4");
        checks.setSelectedFirmware(&three);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckNeedUpgrade);
        QVERIFY(!checks.bootNeedUpgrade() && checks.leftNeedUpgrade() && !checks.rightNeedUpgrade());
        three.version = QStringLiteral("1.1-1.3-1.4"); // a lower version is installed too
        checks.setSelectedFirmware(&three);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckNeedUpgrade);
        QVERIFY(checks.bootNeedUpgrade() && !checks.leftNeedUpgrade() && !checks.rightNeedUpgrade());
        three.version = QStringLiteral("1.10-1.3-1.4"); // reads 1.1
        checks.setSelectedFirmware(&three);
        QVERIFY(second.setVersions(QStringLiteral("1.9-1.3-1.4")));
        QCOMPARE(readControllerVersions(checks), QStringLiteral("1.9-1.3-1.4"));
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckNeedUpgrade);

        // An online release nobody picked is installed only where it is
        // newer; picked, wherever it differs.
        three.version = QStringLiteral("1.1-1.4-1.4");
        three.path = QStringLiteral("http://h/x.zip");
        checks.offerRelease(&three);
        QVERIFY(!checks.hasSelectedFirmware());
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckNeedUpgrade);
        QVERIFY(!checks.bootNeedUpgrade() && checks.leftNeedUpgrade() && !checks.rightNeedUpgrade());
        checks.setSelectedFirmware(&three);
        QCOMPARE(checks.checkFirmware(), ZelFirmwareCheckNeedUpgrade);
        QVERIFY(checks.bootNeedUpgrade() && checks.leftNeedUpgrade() && !checks.rightNeedUpgrade());
        // The application's engine heard none of it.
        QCOMPARE(engine().bootVersion(), QStringLiteral("1.0"));
    }

    void aLocalReleaseIsInstalled()
    {
        QVERIFY(ZelDataTool::importArchive(m_releases + QLatin1Char('/') + kMiddle + QStringLiteral(".zip")));
        const QList<ZelFirmware> local = ZelFirmwareDataTool::sharedInstance().getLocalFirmwares();
        QCOMPARE(local.size(), 1);
        QVERIFY(upgrade(local.first()));
        QCOMPARE(versionsAfterRestart(), kMiddle);
        expectInstalled(kMiddle, false); // the boot loader was already 1.0
    }

    void aLocalReleaseLackingAnImageIsRefused()
    {
        const QString folder = ZelDataTool::localProductFolder() + QStringLiteral("/9.0-9.0-9.0");
        QDir().mkpath(folder + QStringLiteral("/nested"));
        for (const QString& name :
            { QStringLiteral("V7E_IAP.bin"), QStringLiteral("V7E_ISP.bin"), QStringLiteral("nested/Q3_RIGHT.bin") }) {
            QFile f(folder + QLatin1Char('/') + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        ZelFirmware release;
        release.version = QStringLiteral("9.0-9.0-9.0");
        release.path = folder;
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList { localized("UpgradeFailedNeedNewFirmware") });
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(!engine().checkIfExitLocalFileWithPath(folder));
    }

    void anOnlineReleaseIsDownloadedCheckedRecordedAndInstalled()
    {
        // A record file with entries of its own, which must survive.
        QFile plist(documents() + QStringLiteral("/downloads.plist"));
        QVERIFY(plist.open(QIODevice::WriteOnly));
        plist.write("<?xml version=\"1.0\"?><plist "
                    "version=\"1.0\"><dict><key>gamepads</key><array><string>other-pad</string></array>"
                    "<key>other-pad</key><dict><key>3.0-3.0-3.0</key><string>x</string></dict>"
                    "<key>note</key><data>AAEC</data></dict></plist>");
        plist.close();

        ZelFirmware release = onlineRelease(kNewest);
        QVERIFY(release.isOnline());
        release.md5 = release.md5.toUpper(); // digests match without regard to case
        const int requests = m_server->requestCount();
        QVERIFY(upgrade(release));
        QCOMPARE(m_server->requestCount(), requests + 1); // the archive
        QVERIFY(QFile::exists(documents() + QLatin1Char('/') + kNewest + QStringLiteral(".zip")));
        const QString unpacked = documents() + QStringLiteral("/RemoteBinFiles/zelmar-q3-dart/") + kNewest;
        QVERIFY(engine().checkIfExitLocalFileWithPath(unpacked));
        DownloadStore store(documents() + QStringLiteral("/downloads.plist"), QStringLiteral("zelmar-q3-dart"));
        QCOMPARE(store.folderForVersion(kNewest), kNewest);
        QCOMPARE(DownloadStore(documents() + QStringLiteral("/downloads.plist"), QStringLiteral("other-pad"))
                     .folderForVersion(QStringLiteral("3.0-3.0-3.0")),
            QStringLiteral("x"));
        QVERIFY(plist.open(QIODevice::ReadOnly));
        QVERIFY(plist.readAll().contains("AAEC"));
        plist.close();
        QCOMPARE(versionsAfterRestart(), kNewest);
        expectInstalled(kNewest, true);

        // The same release again: from the record, without a request.
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        QCOMPARE(readVersions(), QStringLiteral("1.0-2.3-1.5"));
        const int before = m_server->requestCount();
        QVERIFY(upgrade(release));
        QCOMPARE(m_server->requestCount(), before);
        QCOMPARE(versionsAfterRestart(), kNewest);

        // The record's folder lost an image: the record goes, and the next start downloads again.
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        readVersions();
        QVERIFY(QFile::remove(unpacked + QStringLiteral("/Q3_RIGHT.bin")));
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts().last(), localized("ReleaseLacksImage").arg(QStringLiteral("Q3_RIGHT.bin")));
        QVERIFY(store.folderForVersion(kNewest).isNull());
        QVERIFY(!engine().isUpgradingFirmware());
        QVERIFY(upgrade(release));
        QCOMPARE(m_server->requestCount(), before + 1);
        QCOMPARE(versionsAfterRestart(), kNewest);
    }

    void aSecondStartDuringARunIsIgnored()
    {
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        readVersions();
        const ZelFirmware release = onlineRelease(kMiddle);
        engine().setSelectedFirmware(&release);
        const int requests = m_server->requestCount();
        engine().startUpgrade();
        engine().startUpgrade();
        QVERIFY(waitUntil([&] { return !engine().isUpgradingFirmware(); }, kRunMs));
        QVERIFY(engine().rightUpgradeDone());
        QCOMPARE(m_server->requestCount(), requests + 1);
        QCOMPARE(versionsAfterRestart(), kMiddle);
    }

    void downloadFailuresEndTheRunWithTheirMessage_data()
    {
        QTest::addColumn<QString>("archive"); // served as this file name; empty: nothing is served
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("rightDigest");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("recorded");
        QByteArray twoImages;
        {
            const QString path = m_dir.filePath(QStringLiteral("two.zip"));
            ZipWriter zip(path);
            zip.addFile(QStringLiteral("V7E_IAP.bin"), DemoReleases::bootImage(kNewest));
            zip.addFile(QStringLiteral("V7E_ISP.bin"), DemoReleases::leftImage(kNewest));
            zip.close();
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            twoImages = f.readAll();
        }
        const QString lacking = localized("ReleaseLacksImage").arg(QStringLiteral("Q3_RIGHT.bin"));
        QTest::newRow("server error") << QString() << QByteArray() << true << localized("DownloadFirmwareFailed")
                                      << false;
        QTest::newRow("wrong digest") << "5.0-5.0-5.0.zip" << twoImages << false << localized("DownloadDigestMismatch")
                                      << false;
        QTest::newRow("damaged archive") << "5.1-5.0-5.0.zip" << QByteArray("PK\x03\x04 broken beyond repair") << true
                                         << localized("UnzipFailed") << true;
        // A release that lacks an image is forgotten at once: the next try downloads it again.
        QTest::newRow("release lacking an image") << "5.2-5.0-5.0.zip" << twoImages << true << lacking << false;
        QTest::newRow("name climbing out") << "../../5.3-5.0-5.0.zip" << twoImages << true << lacking << false;
        // The server's name is not used: the release's version names the download.
        QTest::newRow("name that is no name") << ".." << twoImages << true << lacking << false;
    }

    void downloadFailuresEndTheRunWithTheirMessage()
    {
        QFETCH(QString, archive);
        QFETCH(QByteArray, body);
        QFETCH(bool, rightDigest);
        QFETCH(QString, message);
        QFETCH(bool, recorded);
        TestHttpServer server;
        if (archive.isEmpty()) {
            server.status = 500;
        } else {
            server.contentType = "application/zip";
            server.body = body;
            server.extraHeaders = "Content-Disposition: attachment; filename=\"" + archive.toUtf8() + "\"\r\n";
        }
        const QString fileName = QFileInfo(archive).fileName();
        const QString version = QString(fileName).remove(QStringLiteral(".zip"));
        QTemporaryDir scratch;
        QFile bodyFile(scratch.filePath(QStringLiteral("body")));
        QVERIFY(bodyFile.open(QIODevice::WriteOnly));
        bodyFile.write(body);
        bodyFile.close();
        ZelFirmware release;
        release.version = archive.isEmpty() || version == QLatin1String("..") ? QStringLiteral("5.9-5.0-5.0") : version;
        release.path = server.baseUrl() + QStringLiteral("/file.zip");
        release.md5 = rightDigest ? FileHash::md5HashOfFileAtPath(bodyFile.fileName())
                                  : QStringLiteral("0123456789abcdef0123456789abcdef");
        const QStringList before = QDir(documents()).entryList(QDir::Files);
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList { message });
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(server.targets.size(), 1);
        DownloadStore store(documents() + QStringLiteral("/downloads.plist"), QStringLiteral("zelmar-q3-dart"));
        QCOMPARE(!store.folderForVersion(release.version).isNull(), recorded);
        // Nothing outside the documents directory, and no mismatched download kept.
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("5.3-5.0-5.0.zip"))));
        QVERIFY(!QFile::exists(QDir(documents()).filePath(QStringLiteral("../5.3-5.0-5.0.zip"))));
        if (message == localized("DownloadDigestMismatch"))
            QCOMPARE(QDir(documents()).entryList(QDir::Files), before);
    }

    // A documents folder that cannot take the archive or its images (a full
    // disk; here, without a mount, a folder or a file in the way) is said to
    // be that, not the network. Nothing is sent, and what was in the way stays.
    void aDownloadThatCannotBeStoredSaysSo_data()
    {
        QTest::addColumn<QString>("inTheWay");
        QTest::newRow("the archive's name") << QStringLiteral("5.4-5.0-5.0.zip/kept");
        QTest::newRow("the release's folder") << QStringLiteral("RemoteBinFiles/zelmar-q3-dart/5.4-5.0-5.0");
    }

    void aDownloadThatCannotBeStoredSaysSo()
    {
        QFETCH(QString, inTheWay);
        // The aborted reply is never read.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("device not open")));
        const QString zipPath = m_dir.filePath(QStringLiteral("whole.zip"));
        TestHttpServer server;
        server.contentType = "application/zip";
        server.body = releaseArchive(zipPath, kNewest);
        QVERIFY(!server.body.isEmpty());
        server.extraHeaders = "Content-Disposition: attachment; filename=\"5.4-5.0-5.0.zip\"\r\n";
        const QString blocker = documents() + QLatin1Char('/') + inTheWay;
        QVERIFY(QDir().mkpath(QFileInfo(blocker).path()));
        QFile blockerFile(blocker);
        QVERIFY(blockerFile.open(QIODevice::WriteOnly));
        blockerFile.write("mine");
        blockerFile.close();
        ZelFirmware release;
        release.version = QStringLiteral("5.4-5.0-5.0");
        release.path = server.baseUrl() + QStringLiteral("/file.zip");
        release.md5 = FileHash::md5HashOfFileAtPath(zipPath);
        const int messages = int(sim().receivedMessages().size());

        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts().size(), 1);
        const QString text = m_toasts->texts().first();
        QVERIFY2(
            text.startsWith(localized("DownloadWriteFailed").section(QStringLiteral("%1"), 0, 0)), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("5.4-5.0-5.0")), qPrintable(text)); // the reason names what failed
        QCOMPARE(sim().receivedMessages().size(), messages);
        QVERIFY(blockerFile.open(QIODevice::ReadOnly));
        QCOMPARE(blockerFile.readAll(), QByteArray("mine"));
    }

    // The same on a documents folder that is really full (a tmpfs, where
    // this process may mount one; skipped otherwise): the system's words.
    void aDownloadOnAFullDiskSaysSo()
    {
        const QString small = m_dir.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(small));
        QProcess mount;
        mount.start(QStringLiteral("mount"),
            { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=64k"),
                QStringLiteral("tmpfs"), small });
        if (!mount.waitForFinished(kPatienceMs) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
            QSKIP("cannot mount a tmpfs here");
        const QString documentsBefore = DocumentsDirectory::path();
        const auto restore = qScopeGuard([&] {
            DocumentsDirectory::setPath(documentsBefore);
            QProcess::execute(QStringLiteral("umount"), { small });
        });
        DocumentsDirectory::setPath(small);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("device not open")));
        TestHttpServer server;
        server.contentType = "application/zip";
        server.body = QByteArray(200000, 'x');
        server.extraHeaders = "Content-Disposition: attachment; filename=\"5.5-5.0-5.0.zip\"\r\n";
        ZelFirmware release;
        release.version = QStringLiteral("5.5-5.0-5.0");
        release.path = server.baseUrl() + QStringLiteral("/file.zip");
        release.md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts().size(), 1);
        const QString text = m_toasts->texts().first();
        QVERIFY2(
            text.startsWith(localized("DownloadWriteFailed").section(QStringLiteral("%1"), 0, 0)), qPrintable(text));
        QVERIFY2(text.contains(qt_error_string(ENOSPC)), qPrintable(text));
        QVERIFY(!QFileInfo::exists(small + QStringLiteral("/5.5-5.0-5.0.zip"))); // no partial file
    }

    // Release hosts and CDNs redirect: once on the same host, once to
    // another; the archive installs either way.
    void aRedirectedArchiveIsInstalled_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("version");
        QTest::newRow("the same host") << QStringLiteral("127.0.0.1") << "7.1-7.0-7.0";
        QTest::newRow("another host") << QStringLiteral("localhost") << "7.2-7.0-7.0";
    }

    void aRedirectedArchiveIsInstalled()
    {
        QFETCH(QString, host);
        QFETCH(QString, version);
        const QString zipPath = m_dir.filePath(QStringLiteral("redirected.zip"));
        TestHttpServer cdn;
        cdn.contentType = "application/zip";
        cdn.body = releaseArchive(zipPath, kNewest);
        QVERIFY(!cdn.body.isEmpty());
        TestHttpServer origin;
        origin.redirects.insert(
            "/file.zip", QStringLiteral("http://%1:%2/real.zip").arg(host).arg(cdn.port()).toUtf8());
        ZelFirmware release;
        release.version = version;
        release.path = origin.baseUrl() + QStringLiteral("/file.zip");
        release.md5 = FileHash::md5HashOfFileAtPath(zipPath);
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        readVersions();
        QVERIFY(upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList {});
        QCOMPARE(origin.targets, QList<QByteArray> { "/file.zip" });
        QCOMPARE(cdn.targets, QList<QByteArray> { "/real.zip" });
        QCOMPARE(versionsAfterRestart(), kNewest);
    }

    // An archive that never ends is refused at the download limit, without
    // holding it in memory; one that trickles, never silent for long, ends
    // once its rate has stayed below the floor long enough. Nothing is sent.
    void anEndlessOrTricklingArchiveEndsWithItsOwnMessage()
    {
        const ZelFirmwareUpgradeManager::Settings before = engine().settings();
        const auto restore = qScopeGuard([&] { engine().setSettings(before); });
        ZelFirmwareUpgradeManager::Settings settings = before;
        settings.maxDownloadBytes = 1024 * 1024;
        settings.slowDownloadSeconds = 1.0;
        engine().setSettings(settings);
        const int messages = int(sim().receivedMessages().size());
        TestHttpServer server;
        server.contentType = "application/zip";
        server.endless = true;
        ZelFirmware release;
        release.version = QStringLiteral("7.3-7.0-7.0");
        release.path = server.baseUrl() + QStringLiteral("/file.zip");
        release.md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList { localized("DownloadTooLarge").arg(QStringLiteral("1")) });

        m_toasts->clear();
        server.endless = false;
        server.trickleMs = 100;
        server.body = QByteArray(100000, 'x');
        release.version = QStringLiteral("7.4-7.0-7.0");
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(),
            QStringList { localized("DownloadTooSlow").arg(QStringLiteral("1"), QStringLiteral("1")) });
        QVERIFY(clock.elapsed() < 30 * 1000);
        QVERIFY(!QFileInfo::exists(documents() + QStringLiteral("/7.4-7.0-7.0.zip")));
        QCOMPARE(sim().receivedMessages().size(), messages);
    }

    void aLocalRecordWithADigestIsTreatedAsOnline()
    {
        ZelFirmware release = ZelFirmwareDataTool::sharedInstance().getLocalFirmwares().first();
        release.version = QStringLiteral("7.0-7.0-7.0");
        release.md5 = QStringLiteral("abc");
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(),
            QStringList { localized("DownloadFirmwareFailed") }); // a folder path is no download address
    }

    // A download's suggested name never replaces a file of our own: the
    // downloads record, the upgrade history, or the archive of another
    // recorded version, whose unpacked folder would then hold this release.
    // A server names the archive after one of our records (or climbs out of
    // the folder): the name is not ours to take from it. The download is
    // stored under the release's own version, installs, and every record
    // stays as it was.
    void aDownloadLandsOnlyUnderItsOwnVersion_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("version"); // one a row: the rows leave no trace in each other
        QTest::newRow("downloads record") << QStringLiteral("downloads.plist") << "6.2-6.0-6.0";
        QTest::newRow("downloads record, other case") << QStringLiteral("Downloads.PLIST") << "6.3-6.0-6.0";
        QTest::newRow("damaged record kept aside") << QStringLiteral("downloads.plist.damaged") << "6.4-6.0-6.0";
        QTest::newRow("upgrade history") << QStringLiteral("upgrade-history.json") << "6.5-6.0-6.0";
        QTest::newRow("trust record") << QStringLiteral("release-trust.json") << "6.6-6.0-6.0";
        QTest::newRow("trust record, climbing out")
            << QStringLiteral("../documents/release-trust.json") << "6.7-6.0-6.0";
        QTest::newRow("a release folder") << QStringLiteral("LocalBinFiles") << "6.8-6.0-6.0";
        QTest::newRow("archive of another version") << QStringLiteral("6.1-archive.zip") << "6.9-6.0-6.0";
        QTest::newRow("outside the documents") << QStringLiteral("/tmp/escaped.zip") << "6.10-6.0-6.0";
    }

    void aDownloadLandsOnlyUnderItsOwnVersion()
    {
        QFETCH(QString, name);
        QFETCH(QString, version);
        QVERIFY(QDir().mkpath(documents()));
        const QString plistPath = documents() + QStringLiteral("/downloads.plist");
        DownloadStore store(plistPath, QStringLiteral("zelmar-q3-dart"));
        QVERIFY(store.recordDownload(QStringLiteral("6.0-6.0-6.0"), QStringLiteral("6.1-archive")));
        const QHash<QString, QByteArray> own {
            { QStringLiteral("upgrade-history.json"), QByteArray("[{\"run\":1}]") },
            { QStringLiteral("downloads.plist.damaged"), QByteArray("kept aside") },
            { QStringLiteral("release-trust.json"), QByteArray("{\"servers\":{}}") },
            { QStringLiteral("6.1-archive.zip"), QByteArray("the archive of 6.0-6.0-6.0") },
        };
        auto read = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const auto restore = qScopeGuard([&] {
            for (auto it = own.cbegin(); it != own.cend(); ++it)
                QFile::remove(documents() + QLatin1Char('/') + it.key());
        });
        for (auto it = own.cbegin(); it != own.cend(); ++it) {
            QFile f(documents() + QLatin1Char('/') + it.key());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(it.value());
        }
        const QString product = documents() + QStringLiteral("/RemoteBinFiles/zelmar-q3-dart");
        const QStringList unpackedBefore = QDir(product).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        const QString zipPath = m_dir.filePath(QStringLiteral("own-name.zip"));
        TestHttpServer server;
        server.contentType = "application/zip";
        server.body = releaseArchive(zipPath, kNewest);
        server.extraHeaders = "Content-Disposition: attachment; filename=\"" + name.toUtf8() + "\"\r\n";
        ZelFirmware release;
        release.version = version;
        release.path = server.baseUrl() + QStringLiteral("/") + name;
        release.md5 = FileHash::md5HashOfFileAtPath(zipPath);
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        readVersions();
        QVERIFY(upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList {});
        QCOMPARE(versionsAfterRestart(), kNewest); // the images carry the versions they are
        // Stored under the version's name, beside every record unchanged.
        QCOMPARE(read(documents() + QLatin1Char('/') + version + QStringLiteral(".zip")), server.body);
        for (auto it = own.cbegin(); it != own.cend(); ++it)
            QCOMPARE(read(documents() + QLatin1Char('/') + it.key()), it.value());
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/escaped.zip")));
        QCOMPARE(store.folderForVersion(QStringLiteral("6.0-6.0-6.0")), QStringLiteral("6.1-archive"));
        QCOMPARE(store.folderForVersion(version), version);
        const QStringList unpacked = QDir(product).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(QSet<QString>(unpacked.cbegin(), unpacked.cend()),
            QSet<QString>(unpackedBefore.cbegin(), unpackedBefore.cend()) + QSet<QString> { version });
    }

    // With a trusted key: the signed release installs, fetched afresh rather
    // than taken from an earlier download that nothing vouches for, here one
    // holding other images under the release's version.
    void aSignedReleaseInstallsWhenItsKeyIsTrusted()
    {
        const ReleaseSignature key = ReleaseSignature::generate();
        m_server->setSigningKey(key);
        // The list as the development server gives it (unsigned as a whole),
        // read before the key is trusted; the release's own signature decides.
        const ZelFirmware release = onlineRelease(kNewest);
        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        readVersions();
        const QString planted = documents() + QStringLiteral("/RemoteBinFiles/zelmar-q3-dart/planted");
        QVERIFY(QDir().mkpath(planted));
        QVERIFY(writeImages(planted, kMiddle));
        DownloadStore store(documents() + QStringLiteral("/downloads.plist"), QStringLiteral("zelmar-q3-dart"));
        QVERIFY(store.removeVersion(kNewest) || store.folderForVersion(kNewest).isNull());
        QVERIFY(store.recordDownload(kNewest, QStringLiteral("planted")));

        QCOMPARE(ReleaseSignature::status(release), ReleaseSignature::Status::Verified);
        const int requests = m_server->requestCount();
        QVERIFY(upgrade(release));
        QCOMPARE(m_server->requestCount(), requests + 1); // the archive, fetched again
        QCOMPARE(versionsAfterRestart(), kNewest);
        expectInstalled(kNewest, true);
        m_server->setSigningKey(ReleaseSignature());
    }

    void aReleaseItsSignatureDoesNotVouchForIsRefused_data()
    {
        QTest::addColumn<QString>("tamper");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("fetched");
        QTest::addColumn<QString>("version"); // one a row: the rows leave no trace in each other
        QTest::newRow("no signature") << "unsigned"
                                      << "ReleaseNotSigned" << false << "8.0-8.0-8.0";
        QTest::newRow("no digest") << "no sha256"
                                   << "ReleaseNotSigned" << false << "8.1-8.0-8.0";
        QTest::newRow("signed with another key") << "other key"
                                                 << "ReleaseSignatureInvalid" << false << "8.2-8.0-8.0";
        QTest::newRow("an older release's signature") << "relabelled"
                                                      << "ReleaseSignatureInvalid" << false << "8.3-8.0-8.0";
        QTest::newRow("archive replaced, both digests rewritten")
            << "digests rewritten"
            << "ReleaseSignatureInvalid" << false << "8.4-8.0-8.0";
        QTest::newRow("archive replaced, MD5 rewritten") << "md5 rewritten"
                                                         << "DownloadNotSignedArchive" << true << "8.5-8.0-8.0";
        QTest::newRow("archive replaced on the way") << "swapped"
                                                     << "DownloadNotSignedArchive" << true << "8.6-8.0-8.0";
    }

    // Nothing is unpacked, recorded or sent; a download made is removed.
    void aReleaseItsSignatureDoesNotVouchForIsRefused()
    {
        QFETCH(QString, tamper);
        QFETCH(QString, message);
        QFETCH(bool, fetched);
        QFETCH(QString, version);
        const ReleaseSignature key = ReleaseSignature::generate();
        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        auto read = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        // A replacement archive with the three images of another release.
        const QString genuine = m_dir.filePath(QStringLiteral("genuine.zip"));
        const QString forged = m_dir.filePath(QStringLiteral("forged.zip"));
        for (const QString& path : { genuine, forged }) {
            const QString images = path == genuine ? kNewest : kMiddle;
            ZipWriter zip(path);
            zip.addFile(QStringLiteral("V7E_IAP.bin"), DemoReleases::bootImage(images));
            zip.addFile(QStringLiteral("V7E_ISP.bin"), DemoReleases::leftImage(images));
            zip.addFile(QStringLiteral("Q3_RIGHT.bin"), DemoReleases::rightImage(images));
            QVERIFY(zip.close());
        }
        TestHttpServer server;
        ZelFirmware release = signedRelease(server, version, genuine, key);
        server.body = read(forged);
        QCOMPARE(ReleaseSignature::status(release), ReleaseSignature::Status::Verified);
        if (tamper == QLatin1String("unsigned"))
            release.signature.clear();
        else if (tamper == QLatin1String("no sha256"))
            release.sha256.clear();
        else if (tamper == QLatin1String("other key"))
            release.signature = ReleaseSignature::generate().sign(version, release.sha256);
        else if (tamper == QLatin1String("relabelled"))
            release.signature = key.sign(kMiddle, release.sha256);
        if (tamper.contains(QLatin1String("rewritten")))
            release.md5 = FileHash::md5HashOfFileAtPath(forged);
        if (tamper == QLatin1String("digests rewritten"))
            release.sha256 = FileHash::sha256HashOfFileAtPath(forged);

        const QString plistPath = documents() + QStringLiteral("/downloads.plist");
        const QByteArray plistBefore = read(plistPath);
        const QStringList documentsBefore = QDir(documents()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString product = documents() + QStringLiteral("/RemoteBinFiles/zelmar-q3-dart");
        const QStringList unpackedBefore = QDir(product).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const int messages = int(sim().receivedMessages().size());
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList { localized(message.toUtf8().constData()) });
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(server.targets.size(), fetched ? 1 : 0);
        QCOMPARE(read(plistPath), plistBefore);
        QCOMPARE(QDir(documents()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), documentsBefore);
        QCOMPARE(QDir(product).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), unpackedBefore);
        QCOMPARE(sim().receivedMessages().size(), messages);

        // The same release with no key trusted: today's checks alone decide.
        ReleaseSignature::forgetAddedKeys();
        if (tamper == QLatin1String("unsigned")) {
            server.body = read(genuine);
            sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
            readVersions();
            QVERIFY(upgrade(release));
            QCOMPARE(versionsAfterRestart(), kNewest); // the images carry the versions they are
        }
    }

    // An entry of the online list naming a folder (an old unpacked download)
    // instead of an address, with nothing signed: refused while a key is
    // trusted, whatever its fields; installed as a folder when none is.
    void aListedEntryNamingAFolderNeedsItsSignature()
    {
        const QString folder = m_dir.filePath(QStringLiteral("unpacked-earlier"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeImages(folder, kNewest));
        ZelFirmware forged;
        forged.version = QStringLiteral("9.9-9.9-9.9");
        forged.path = folder;
        forged.listed = true;
        QVERIFY(forged.isOnline());
        sim().setVersions(QStringLiteral("1.0-2.3-1.5"));
        readVersions();
        QVERIFY(ReleaseSignature::addTrustedKey(ReleaseSignature::generate().publicKeyBase64()));
        const int messages = int(sim().receivedMessages().size());
        QVERIFY(!upgrade(forged));
        QCOMPARE(m_toasts->texts(), QStringList { localized("ReleaseNotSigned") });
        QVERIFY(!engine().isUpgradingFirmware());
        QCOMPARE(sim().receivedMessages().size(), messages);
        ReleaseSignature::forgetAddedKeys();
        QVERIFY(upgrade(forged));
    }

    // A signed archive lacking an image is not completed by one an earlier,
    // unchecked download left in its folder.
    void aCheckedArchiveIsUnpackedAlone()
    {
        const ReleaseSignature key = ReleaseSignature::generate();
        QVERIFY(ReleaseSignature::addTrustedKey(key.publicKeyBase64()));
        const QString version = QStringLiteral("9.0-9.0-9.0");
        const QString folder = documents() + QStringLiteral("/RemoteBinFiles/zelmar-q3-dart/") + version;
        QVERIFY(QDir().mkpath(folder));
        QFile planted(folder + QStringLiteral("/Q3_RIGHT.bin"));
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write(DemoReleases::rightImage(kMiddle));
        planted.close();
        const QString archive = m_dir.filePath(QStringLiteral("two-signed.zip"));
        {
            ZipWriter zip(archive);
            zip.addFile(QStringLiteral("V7E_IAP.bin"), DemoReleases::bootImage(kNewest));
            zip.addFile(QStringLiteral("V7E_ISP.bin"), DemoReleases::leftImage(kNewest));
            QVERIFY(zip.close());
        }
        TestHttpServer server;
        const ZelFirmware release = signedRelease(server, version, archive, key);
        const int messages = int(sim().receivedMessages().size());
        QVERIFY(!upgrade(release));
        QCOMPARE(m_toasts->texts(), QStringList { localized("ReleaseLacksImage").arg(QStringLiteral("Q3_RIGHT.bin")) });
        QCOMPARE(server.targets.size(), 1);
        QVERIFY(!QFile::exists(planted.fileName()));
        QCOMPARE(sim().receivedMessages().size(), messages);
    }
};

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
