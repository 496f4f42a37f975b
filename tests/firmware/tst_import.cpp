// Importing firmware packages opened into the application, with real zip
// archives in a private documents directory.
#include "firmware/ZelDataTool.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "sim/ZipWriter.h"
#include "support/ArchiveFixtures.h"
#include "support/TestSupport.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <QUrl>

#include <cerrno>
#include <memory>

using namespace testsupport;

namespace {

const QByteArray kBoot = randomBytes(2048, 11);
const QByteArray kLeft = randomBytes(40000, 12);
const QByteArray kRight = randomBytes(30000, 13);

struct Entry {
    QString name;
    QByteArray data;
    bool link = false;
};

QList<Entry> releaseEntries()
{
    return { { QStringLiteral("V7E_IAP.bin"), kBoot }, { QStringLiteral("V7E_ISP.bin"), kLeft },
        { QStringLiteral("Q3_RIGHT.bin"), kRight } };
}

bool writeArchive(const QString& path, const QList<Entry>& entries)
{
    ZipWriter writer(path);
    for (const Entry& entry : entries) {
        if (!(entry.link ? writer.addSymlink(entry.name, QString::fromUtf8(entry.data))
                         : writer.addFile(entry.name, entry.data)))
            return false;
    }
    return writer.close();
}

QList<QPair<QString, double>> toastsOf(const ToastRecorder& recorder)
{
    QList<QPair<QString, double>> list;
    for (const auto& toast : recorder.toasts())
        list.append({ toast.text, toast.seconds });
    return list;
}

QPair<QString, double> unzippingToast(const QString& fileName)
{
    return { localized("UnzippingFile").arg(fileName), 2.0 };
}

} // namespace

Q_DECLARE_METATYPE(QList<Entry>)

class TestImport : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root;

    QString root() const { return m_root->path(); }
    QString incoming(const QString& name) const { return root() + QStringLiteral("/incoming/") + name; }
    QString release(const QString& version) const
    {
        return ZelDataTool::localProductFolder() + QLatin1Char('/') + version;
    }

private slots:
    void initTestCase()
    {
        Localization::shared().setLanguage(QStringLiteral("en"));
        QLoggingCategory::setFilterRules(QStringLiteral("q3dart.import.warning=false")); // refusals are expected here
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        DocumentsDirectory::setPath(root() + QStringLiteral("/docs"));
        QVERIFY(QDir().mkpath(root() + QStringLiteral("/incoming")));
    }

    void cleanup()
    {
        DocumentsDirectory::setPath(QString());
        m_root.reset();
    }

    void aReleaseArchiveIsUnpackedIntoTheFolderOfItsVersion()
    {
        const QString archive = incoming(QStringLiteral("V1.2-1.3-1.4.zip"));
        QVERIFY(writeArchive(archive, releaseEntries()));
        const QByteArray original = fileContents(archive);
        ToastRecorder recorder;

        QVERIFY(ZelDataTool::handleFile(QUrl::fromLocalFile(archive)));

        QCOMPARE(treeSnapshot(ZelDataTool::localProductFolder()),
            (QMap<QString, QByteArray> { { QStringLiteral("1.2-1.3-1.4"), "folder" },
                { QStringLiteral("1.2-1.3-1.4/V7E_IAP.bin"), kBoot },
                { QStringLiteral("1.2-1.3-1.4/V7E_ISP.bin"), kLeft },
                { QStringLiteral("1.2-1.3-1.4/Q3_RIGHT.bin"), kRight } })); // the copy is gone
        QCOMPARE(ZelDataTool::localProductFolder(),
            DocumentsDirectory::path() + QStringLiteral("/LocalBinFiles/zelmar-q3-dart"));
        QCOMPARE(fileContents(archive), original); // the user's file stays
        QCOMPARE(toastsOf(recorder),
            (QList<QPair<QString, double>> { unzippingToast(QStringLiteral("V1.2-1.3-1.4.zip")),
                { localized("ReleaseImported").arg(QStringLiteral("1.2-1.3-1.4")), 2.0 } }));
        QCOMPARE(recorder.texts().front(), QStringLiteral("Unzipping V1.2-1.3-1.4.zip\u2026"));
        // The release is named, with the version its folder got.
        QCOMPARE(recorder.texts().back(), QStringLiteral("Release 1.2-1.3-1.4 imported"));
    }

    // The application's import: the progress toast at once, the unpacking on
    // a worker, the result's toast on the main thread; a refused archive the
    // same way, and anything but a file not at all.
    void anImportInTheBackgroundEndsWithItsToast()
    {
        const QString archive = incoming(QStringLiteral("1.2-1.3-1.4.zip"));
        QVERIFY(writeArchive(archive, releaseEntries()));
        const QString unsafe = incoming(QStringLiteral("2.0-2.0-2.0.zip"));
        QVERIFY(writeArchive(unsafe, { { QStringLiteral("../V7E_IAP.bin"), kBoot } }));
        ToastRecorder recorder;
        QList<bool> results;
        ZelDataTool::handleFileInBackground(
            QUrl::fromLocalFile(archive), [&](bool imported) { results.append(imported); });
        QCOMPARE(
            toastsOf(recorder), (QList<QPair<QString, double>> { unzippingToast(QStringLiteral("1.2-1.3-1.4.zip")) }));
        ZelDataTool::handleFileInBackground(
            QUrl::fromLocalFile(unsafe), [&](bool imported) { results.append(imported); });
        ZelDataTool::handleFileInBackground(QUrl(QStringLiteral("https://firmware.example/3.0-3.0-3.0.zip")),
            [&](bool imported) { results.append(imported); });
        QVERIFY(waitUntil([&] { return results.size() == 2; }));
        QCOMPARE(results, (QList<bool> { true, false }));
        QCOMPARE(toastsOf(recorder),
            (QList<QPair<QString, double>> { unzippingToast(QStringLiteral("1.2-1.3-1.4.zip")),
                unzippingToast(QStringLiteral("2.0-2.0-2.0.zip")),
                { localized("ReleaseImported").arg(QStringLiteral("1.2-1.3-1.4")), 2.0 },
                { localized("ArchiveUnsafePaths"), 3.0 } }));
        QCOMPARE(fileContents(ZelDataTool::localProductFolder() + QStringLiteral("/1.2-1.3-1.4/Q3_RIGHT.bin")), kRight);
        QVERIFY(!QFileInfo::exists(ZelDataTool::localProductFolder() + QStringLiteral("/2.0-2.0-2.0/V7E_IAP.bin")));
    }

    void anExistingReleaseIsUnpackedOver()
    {
        const QString folder = release(QStringLiteral("1.0-2.0-3.0"));
        QVERIFY(writeFile(folder + QStringLiteral("/V7E_IAP.bin"), "old boot loader"));
        QVERIFY(writeFile(folder + QStringLiteral("/notes.txt"), "mine"));
        const QString archive = incoming(QStringLiteral("1.0-2.0-3.0.zip"));
        QVERIFY(writeArchive(archive, releaseEntries()));
        QStringList messages;
        ToastRecorder recorder;

        QVERIFY(ZelDataTool::importArchive(archive, &messages));

        QCOMPARE(fileContents(folder + QStringLiteral("/V7E_IAP.bin")), kBoot);
        QCOMPARE(fileContents(folder + QStringLiteral("/Q3_RIGHT.bin")), kRight);
        QCOMPARE(fileContents(folder + QStringLiteral("/notes.txt")), QByteArray("mine"));
        QCOMPARE(messages, recorder.texts());
        QCOMPARE(messages.size(), 2);
    }

    void refusedPackagesLeaveEveryFileAsItWas_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QList<Entry>>("entries"); // empty: the file is text
        QTest::addColumn<QString>("patch");
        QTest::addColumn<QString>("message");

        const QList<Entry> good = releaseEntries();
        const QString none;
        QTest::newRow("upper-case extension") << "1.2-1.3-1.4.ZIP" << good << none << "CannotUnzipPrompt";
        QTest::newRow("text file") << "notes-1.0.txt" << QList<Entry>() << none << "CannotUnzipPrompt";
        QTest::newRow("no extension") << "1.2-1.3-1.4" << good << none << "CannotUnzipPrompt";
        QTest::newRow("no version") << "firmware.zip" << good << none << "ArchiveNameNoVersion";
        QTest::newRow("dots only") << "...zip" << good << none << "ArchiveNameNoVersion";
        QTest::newRow("only a duplicate's number") << "firmware (2).zip" << good << none << "ArchiveNameNoVersion";
        QTest::newRow("not a zip archive") << "1.0-1.0-1.0.zip" << QList<Entry>() << none << "UnzipFailed";
        QTest::newRow("crc mismatch") << "1.0-1.0-1.0.zip" << good << "crc"
                                      << "UnzipFailed";
        const QList<QString> unsafe { QStringLiteral("../x.bin"), QStringLiteral("../../../../x.bin"),
            QStringLiteral("<root>/victim.bin"), QStringLiteral("a/../../x.bin"), QStringLiteral("..\\..\\x.bin"),
            QStringLiteral("a\\..\\..\\x.bin") };
        for (const QString& name : unsafe) {
            QList<Entry> entries = good;
            entries.append({ name, "payload" });
            QTest::addRow("entry %s", qPrintable(name)) << "1.0-1.0-1.0.zip" << entries << none << "ArchiveUnsafePaths";
        }
        QList<Entry> withLink = good;
        withLink.prepend({ QStringLiteral("V7E_ISP.bin"), "/etc/passwd", true });
        QTest::newRow("symbolic link") << "1.0-1.0-1.0.zip" << withLink << none << "ArchiveUnsafePaths";
    }

    void refusedPackagesLeaveEveryFileAsItWas()
    {
        QFETCH(QString, fileName);
        QFETCH(QList<Entry>, entries);
        QFETCH(QString, patch);
        QFETCH(QString, message);

        const QString archive = incoming(fileName);
        for (Entry& entry : entries)
            entry.name.replace(QStringLiteral("<root>"), root());
        if (entries.isEmpty())
            QVERIFY(writeFile(archive, "This is not an archive.\n"));
        else
            QVERIFY(writeArchive(archive, entries));
        QByteArray bytes = fileContents(archive);
        if (patch == QLatin1String("crc"))
            bytes[ZipLayout::local(bytes, 2) + ZipLayout::kLocalHeaderSize + 12 + 500] ^= 0x01;
        QVERIFY(writeFile(archive, bytes));
        // An earlier import of the same version, and the folders of the first import.
        QVERIFY(writeFile(release(QStringLiteral("1.0-1.0-1.0")) + QStringLiteral("/V7E_ISP.bin"), "earlier"));
        const auto before = treeSnapshot(root());
        ToastRecorder recorder;
        QStringList messages;

        QVERIFY(!ZelDataTool::importArchive(archive, &messages));

        QCOMPARE(treeSnapshot(root()), before);
        const QByteArray key = message.toLatin1();
        QVERIFY(!localized(key.constData()).isEmpty());
        const bool named = message == QLatin1String("ArchiveNameNoVersion");
        QList<QPair<QString, double>> expected {
            { named ? localized(key.constData()).arg(fileName) : localized(key.constData()), 3.0 }
        };
        if (message != QLatin1String("CannotUnzipPrompt") && !named)
            expected.prepend(unzippingToast(fileName));
        QCOMPARE(toastsOf(recorder), expected);
        QCOMPARE(messages, recorder.texts());
    }

    void anArchiveThatCannotBeCopiedIsNotImported()
    {
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), incoming(QStringLiteral("2.0.zip")))); // reads fail
        QVERIFY(writeFile(root() + QStringLiteral("/docs/LocalBinFiles"), "a file in the way"));
        QVERIFY(writeArchive(incoming(QStringLiteral("3.0.zip")), releaseEntries()));
        const auto before = treeSnapshot(root());
        ToastRecorder recorder;

        QVERIFY(!ZelDataTool::handleFile(QUrl::fromLocalFile(incoming(QStringLiteral("3.0.zip")))));
        QCOMPARE(treeSnapshot(root()), before);
        QVERIFY(QFile::remove(root() + QStringLiteral("/docs/LocalBinFiles")));
        QVERIFY(!ZelDataTool::handleFile(QUrl::fromLocalFile(incoming(QStringLiteral("1.0.zip"))))); // missing
        QVERIFY(!ZelDataTool::handleFile(QUrl::fromLocalFile(incoming(QStringLiteral("2.0.zip")))));

        // Each says which side failed: our copy (with the system's reason), or the user's file.
        const QStringList texts = recorder.texts();
        QCOMPARE(texts.size(), 3);
        QVERIFY(texts.at(0).startsWith(localized("ImportCopyFailed").section(QStringLiteral("%1"), 0, 0)));
        QVERIFY(!texts.at(0).contains(QStringLiteral("%1")));
        QVERIFY(texts.at(1).startsWith(localized("ImportReadFailed").section(QStringLiteral("%1"), 0, 0)));
        QVERIFY(texts.at(2).startsWith(localized("ImportReadFailed").section(QStringLiteral("%1"), 0, 0)));
        QCOMPARE(treeSnapshot(ZelDataTool::localProductFolder()), (QMap<QString, QByteArray> {})); // no copy left
        QCOMPARE(treeSnapshot(root() + QStringLiteral("/incoming")).keys(),
            (QStringList { QStringLiteral("2.0.zip"), QStringLiteral("3.0.zip") }));
    }

    // A browser's " (1)" for a second download of one name is not part of the version.
    void aDuplicatesNumberIsNotReadAsPartOfTheVersion()
    {
        const QString archive = incoming(QStringLiteral("1.2-1.3-1.4 (1).zip"));
        QVERIFY(writeArchive(archive, releaseEntries()));
        ToastRecorder recorder;
        QVERIFY(ZelDataTool::importArchive(archive));
        QCOMPARE(fileContents(release(QStringLiteral("1.2-1.3-1.4")) + QStringLiteral("/V7E_ISP.bin")), kLeft);
        QVERIFY(!QFileInfo::exists(release(QStringLiteral("1.2-1.3-1.41"))));
    }

    // A sound package on a disk that cannot take it (a file in the way of
    // its release folder; a full disk ends the same way) is not "damaged".
    void aPackageThatCannotBeUnpackedForTheDisk()
    {
        const QString archive = incoming(QStringLiteral("4.0-4.0-4.0.zip"));
        QVERIFY(writeArchive(archive, releaseEntries()));
        QVERIFY(writeFile(release(QStringLiteral("4.0-4.0-4.0")), "a file in the way"));
        ToastRecorder recorder;
        QStringList messages;
        QVERIFY(!ZelDataTool::importArchive(archive, &messages));
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages.last().startsWith(localized("ImportCopyFailed").section(QStringLiteral("%1"), 0, 0)),
            qPrintable(messages.last()));
        QCOMPARE(fileContents(release(QStringLiteral("4.0-4.0-4.0"))), QByteArray("a file in the way"));
    }

    // A disk that is really full (a 64 KiB tmpfs as the documents folder,
    // when this process may mount one; skipped otherwise, as in a container
    // without the right): the system's own words reach the message.
    void aFullDiskSaysSo()
    {
        const QString documents = root() + QStringLiteral("/small");
        QVERIFY(QDir().mkpath(documents));
        QProcess mount;
        mount.start(QStringLiteral("mount"),
            { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=64k"),
                QStringLiteral("tmpfs"), documents });
        if (!mount.waitForFinished(kPatienceMs) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0)
            QSKIP("cannot mount a tmpfs here");
        const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), { documents }); });
        DocumentsDirectory::setPath(documents);
        const QString archive = incoming(QStringLiteral("5.0-5.0-5.0.zip"));
        QList<Entry> large = releaseEntries();
        large.append({ QStringLiteral("padding.bin"), randomBytes(200000, 14) });
        QVERIFY(writeArchive(archive, large));
        ToastRecorder recorder;
        QStringList messages;
        QVERIFY(!ZelDataTool::importArchive(archive, &messages));
        QVERIFY2(messages.last().startsWith(localized("ImportCopyFailed").section(QStringLiteral("%1"), 0, 0)),
            qPrintable(messages.last()));
        QVERIFY2(messages.last().contains(qt_error_string(ENOSPC)), qPrintable(messages.last()));
        QVERIFY(!QFileInfo::exists(release(QStringLiteral("5.0-5.0-5.0")) + QStringLiteral("/V7E_IAP.bin")));
    }

    // Several archives opened at once: every one imported, and one toast at
    // the end with each file's result, since toasts replace each other.
    void severalArchivesAreAllImportedEachWithItsResult()
    {
        const QString first = incoming(QStringLiteral("1.2-1.3-1.4.zip"));
        const QString second = incoming(QStringLiteral("2.0-2.0-2.0.zip"));
        const QString nameless = incoming(QStringLiteral("firmware.zip"));
        for (const QString& path : { first, second, nameless })
            QVERIFY(writeArchive(path, releaseEntries()));
        ToastRecorder recorder;
        QList<bool> results;
        bool done = false;
        ZelDataTool::handleFilesInBackground(
            { QUrl::fromLocalFile(first), QUrl(QStringLiteral("https://x.example/a.zip")), QUrl::fromLocalFile(second),
                QUrl::fromLocalFile(nameless) },
            [&](const QList<bool>& imported) {
                results = imported;
                done = true;
            });
        QVERIFY(waitUntil([&] { return done; }));
        QCOMPARE(results, (QList<bool> { true, true, false }));
        QCOMPARE(fileContents(release(QStringLiteral("1.2-1.3-1.4")) + QStringLiteral("/Q3_RIGHT.bin")), kRight);
        QCOMPARE(fileContents(release(QStringLiteral("2.0-2.0-2.0")) + QStringLiteral("/Q3_RIGHT.bin")), kRight);
        const auto toasts = toastsOf(recorder);
        QCOMPARE(toasts.size(), 2);
        QCOMPARE(toasts.first().first,
            localized("UnzippingFile").arg(QStringLiteral("1.2-1.3-1.4.zip, 2.0-2.0-2.0.zip, firmware.zip")));
        const QString colon = localized(":");
        QCOMPARE(toasts.last().first,
            QStringList({ QStringLiteral("1.2-1.3-1.4.zip") + colon
                                + localized("ReleaseImported").arg(QStringLiteral("1.2-1.3-1.4")),
                            QStringLiteral("2.0-2.0-2.0.zip") + colon
                                + localized("ReleaseImported").arg(QStringLiteral("2.0-2.0-2.0")),
                            QStringLiteral("firmware.zip") + colon
                                + localized("ArchiveNameNoVersion").arg(QStringLiteral("firmware.zip")) })
                .join(QLatin1Char('\n')));
        QVERIFY(toasts.last().second > ZelDataTool::kRefusedSeconds);
    }

    void onlyFileUrlsAreImported()
    {
        ToastRecorder recorder;
        QVERIFY(!ZelDataTool::handleFile(QUrl(QStringLiteral("https://firmware.example/1.0-1.0-1.0.zip"))));
        QVERIFY(recorder.texts().isEmpty());
    }

    void theImportMessagesExistInEveryLanguage()
    {
        QMap<QString, QStringList> seen;
        for (const char* language : { "en", "zh-Hans", "ja" }) {
            Localization::shared().setLanguage(QString::fromLatin1(language));
            for (const char* key : { "ArchiveUnsafePaths", "UnzipFailed", "CannotUnzipPrompt", "ReleaseImported",
                     "UnzippingFile", "ArchiveNameNoVersion", "ImportCopyFailed", "ImportReadFailed" }) {
                const QString text = localized(key);
                QVERIFY2(!text.isEmpty(), key);
                QVERIFY2(!seen[QString::fromLatin1(key)].contains(text), key);
                seen[QString::fromLatin1(key)].append(text);
            }
        }
        Localization::shared().setLanguage(QStringLiteral("en"));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
