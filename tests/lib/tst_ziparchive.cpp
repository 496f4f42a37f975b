// Zip archive extraction: real archives written by ZipWriter, damaged on
// purpose where a test needs it.
#include "lib/ZipArchive.h"
#include "sim/ZipWriter.h"
#include "support/ArchiveFixtures.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <unistd.h>

using namespace testsupport;

namespace {

using Result = ZipArchive::Result;
using Patch = std::function<void(QByteArray&)>;

const QByteArray kOldImage = "old boot loader";
const QByteArray kNewImage = randomBytes(1000, 1);
const QByteArray kRightImage = randomBytes(64 * 1024, 2);

// Two entries: a good one, then the one that tests damage.
QString twoEntryArchive(const QString& path, const Patch& patch = {})
{
    {
        ZipWriter writer(path);
        writer.addFile(QStringLiteral("V7E_IAP.bin"), kNewImage);
        writer.addFile(QStringLiteral("Q3_RIGHT.bin"), kRightImage);
        if (!writer.close())
            return QString();
    }
    if (patch) {
        QByteArray bytes = fileContents(path);
        patch(bytes);
        writeFile(path, bytes);
    }
    return path;
}

Patch centralField(int entry, int field, quint32 value, int width = 4)
{
    return [=](QByteArray& zip) {
        const qsizetype at = ZipLayout::central(zip, entry) + field;
        width == 2 ? ZipLayout::put16(zip, at, quint16(value)) : ZipLayout::put32(zip, at, value);
    };
}

Patch localAndCentralField(int entry, int localField, int centralField, quint32 value)
{
    return [=](QByteArray& zip) {
        ZipLayout::put32(zip, ZipLayout::local(zip, entry) + localField, value);
        ZipLayout::put32(zip, ZipLayout::central(zip, entry) + centralField, value);
    };
}

} // namespace

Q_DECLARE_METATYPE(Patch)
Q_DECLARE_METATYPE(ZipArchive::Result)

class TestZipArchive : public QObject {
    Q_OBJECT

private slots:
    void entriesAreUnpackedWithTheirPathsOverwritingFilesOfTheSameName()
    {
        QTemporaryDir dir;
        const QString zip = dir.filePath(QStringLiteral("release.zip"));
        const QString dest = dir.filePath(QStringLiteral("out/1.0-1.0-1.0"));
        QVERIFY(writeFile(dest + QStringLiteral("/V7E_IAP.bin"), kOldImage));
        QVERIFY(writeFile(dest + QStringLiteral("/notes.txt"), "kept"));
        const QByteArray large = randomBytes(3 << 20, 3);
        {
            ZipWriter writer(zip);
            QVERIFY(writer.isOpen());
            QVERIFY(writer.addFile(QStringLiteral("V7E_IAP.bin"), kNewImage));
            QVERIFY(writer.addFile(QStringLiteral("Q3_RIGHT.bin"), kRightImage, true));
            QVERIFY(writer.addFile(QStringLiteral("docs/a/readme.txt"), "read me"));
            QVERIFY(writer.addFile(QStringLiteral("./docs//./large.bin"), large));
            QVERIFY(writer.addFile(QStringLiteral("docs\\windows.txt"), "backslash"));
            QVERIFY(writer.addFile(QStringLiteral("x/../empty.bin"), QByteArray()));
            QVERIFY(writer.addDirectory(QStringLiteral("empty")));
            QVERIFY(writer.addDirectory(QStringLiteral("./")));
            QVERIFY(writer.close());
        }
        QString error = QStringLiteral("stale");
        QVERIFY(ZipArchive::unzipFileAtPath(zip, dest, &error));
        QVERIFY(error.isEmpty());

        QMap<QString, QByteArray> expected {
            { QStringLiteral("V7E_IAP.bin"), kNewImage },
            { QStringLiteral("Q3_RIGHT.bin"), kRightImage },
            { QStringLiteral("notes.txt"), "kept" },
            { QStringLiteral("docs"), "folder" },
            { QStringLiteral("docs/a"), "folder" },
            { QStringLiteral("docs/a/readme.txt"), "read me" },
            { QStringLiteral("docs/large.bin"), large },
            { QStringLiteral("docs/windows.txt"), "backslash" },
            { QStringLiteral("empty.bin"), QByteArray() },
            { QStringLiteral("empty"), "folder" },
        };
        QCOMPARE(treeSnapshot(dest), expected); // no temporaries left either
        QVERIFY(QFileInfo(dest + QStringLiteral("/V7E_IAP.bin")).isReadable());

        // Unpacking again changes nothing.
        QVERIFY(ZipArchive::unzipFileAtPath(zip, dest));
        QCOMPARE(treeSnapshot(dest), expected);
    }

    void entryNamesResolveInsideTheDestinationOrNotAtAll()
    {
        const QList<QPair<QByteArray, QString>> accepted {
            { "a/b.bin", QStringLiteral("a/b.bin") }, { "a/./b.bin", QStringLiteral("a/b.bin") },
            { "a//b.bin", QStringLiteral("a/b.bin") }, { "a/../b.bin", QStringLiteral("b.bin") },
            { "a\\b.bin", QStringLiteral("a/b.bin") }, { "folder/", QStringLiteral("folder") }, { "./", QString() },
            { "..a/b..", QStringLiteral("..a/b..") }, { "\xc3\xa9.bin", QStringLiteral("\u00e9.bin") },
            { "\xe9.bin", QStringLiteral("\u00e9.bin") }, // not UTF-8: read byte for byte
            { "\xc0\xae\xc0\xae/x", QStringLiteral("\u00c0\u00ae\u00c0\u00ae/x") }, // an overlong ".." is no ".."
        };
        for (const auto& [name, relative] : accepted) {
            const std::optional<QString> resolved = ZipArchive::safeRelativePath(name);
            QVERIFY2(resolved, name.constData());
            QCOMPARE(*resolved, relative);
        }
        const QList<QByteArray> refused {
            "../x",
            "/abs/x",
            "a/../../x",
            "..\\x",
            "a\\..\\..\\x",
            "C:\\x",
            "C:x",
            "c:/x",
            "\\\\server\\share\\x",
            "./../x",
            "a/b/../../../x",
            "..",
            QByteArray("ok\0/../../x", 12),
            QByteArray(),
        };
        for (const QByteArray& name : refused)
            QVERIFY2(!ZipArchive::safeRelativePath(name), name.constData());
    }

    void unsafeEntriesRefuseTheWholeArchiveWritingNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind"); // 0 file, 1 symbolic link, 2 device
        // The other names are in the import's tests; all are in the table above.
        QTest::newRow("parent") << QStringLiteral("../x") << 0;
        QTest::newRow("drive") << QStringLiteral("C:\\x") << 0;
        QTest::newRow("deep climb") << QStringLiteral("a/b/../../../../x") << 0;
        QTest::newRow("the destination itself") << QStringLiteral("a/..") << 0;
        QTest::newRow("symbolic link") << QStringLiteral("link") << 1;
        QTest::newRow("fifo") << QStringLiteral("pipe") << 2;
    }

    void unsafeEntriesRefuseTheWholeArchiveWritingNothing()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QTemporaryDir root;
        const QString zip = root.filePath(QStringLiteral("evil.zip"));
        {
            ZipWriter writer(zip);
            QVERIFY(writer.addFile(QStringLiteral("V7E_IAP.bin"), kNewImage));
            QVERIFY(kind == 1 ? writer.addSymlink(name, root.path()) : writer.addFile(name, "payload"));
            QVERIFY(writer.close());
        }
        if (kind == 2) {
            QByteArray bytes = fileContents(zip);
            centralField(1, ZipLayout::kCentralExternalAttributes, 0010644u << 16)(bytes);
            QVERIFY(writeFile(zip, bytes));
        }
        QVERIFY(writeFile(root.filePath(QStringLiteral("docs/1.0/V7E_IAP.bin")), kOldImage));
        const auto before = treeSnapshot(root.path());

        QString error;
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("docs/1.0/deeper")), &error), Result::UnsafeEntry);
        QVERIFY(!error.isEmpty());
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("docs/1.0")), &error), Result::UnsafeEntry);
        QCOMPARE(treeSnapshot(root.path()), before);
    }

    void linksAlreadyInTheDestinationAreNotFollowedOutOfIt()
    {
        QTemporaryDir root;
        const QString dest = root.filePath(QStringLiteral("dest"));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("outside"))));
        QVERIFY(QDir().mkpath(dest + QStringLiteral("/real")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("outside")), dest + QStringLiteral("/out")));
        QVERIFY(QFile::link(dest + QStringLiteral("/real"), dest + QStringLiteral("/in")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("outside/target.bin")), dest + QStringLiteral("/file-link")));
        const QString zip = root.filePath(QStringLiteral("a.zip"));
        {
            ZipWriter writer(zip);
            writer.addFile(QStringLiteral("first.bin"), "first");
            writer.addFile(QStringLiteral("out/x.bin"), "escaped");
            QVERIFY(writer.close());
        }
        const auto before = treeSnapshot(root.path());
        QCOMPARE(ZipArchive::unzip(zip, dest), Result::UnsafeEntry);
        QCOMPARE(treeSnapshot(root.path()), before);

        // A link that stays inside is followed; a file link is replaced, not written through.
        {
            ZipWriter writer(zip);
            writer.addFile(QStringLiteral("in/x.bin"), "inside");
            writer.addFile(QStringLiteral("file-link"), "replaced");
            QVERIFY(writer.close());
        }
        QCOMPARE(ZipArchive::unzip(zip, dest), Result::Ok);
        QCOMPARE(fileContents(dest + QStringLiteral("/real/x.bin")), QByteArray("inside"));
        QVERIFY(!QFileInfo(dest + QStringLiteral("/file-link")).isSymLink());
        QCOMPARE(fileContents(dest + QStringLiteral("/file-link")), QByteArray("replaced"));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("outside/target.bin"))));
    }

    void damagedArchivesLeaveTheDestinationAsItWas_data()
    {
        QTest::addColumn<Patch>("patch");
        QTest::addColumn<QByteArray>("replacement"); // whole file contents instead of an archive
        QTest::addColumn<Result>("result");
        const Patch none;
        QTest::newRow("not a zip archive") << none << QByteArray("just some text\n") << Result::NotAnArchive;
        QTest::newRow("empty file") << none << QByteArray("") << Result::NotAnArchive;
        QTest::newRow("truncated") << Patch([](QByteArray& zip) { zip.truncate(zip.size() / 2); }) << QByteArray()
                                   << Result::NotAnArchive;
        QTest::newRow("broken directory entry")
            << centralField(1, ZipLayout::kCentralSignature, 0x03014b50) << QByteArray() << Result::NotAnArchive;
        QTest::newRow("broken local header")
            << Patch([](QByteArray& zip) { ZipLayout::put32(zip, ZipLayout::local(zip, 1), 0x05034b50); })
            << QByteArray() << Result::Damaged;
        QTest::newRow("corrupt data") << Patch([](QByteArray& zip) {
            const qsizetype data = ZipLayout::local(zip, 1) + ZipLayout::kLocalHeaderSize + 12 + 100;
            for (int i = 0; i < 64; ++i)
                zip[data + i] = char(zip[data + i] ^ 0x5a);
        }) << QByteArray() << Result::Damaged;
        QTest::newRow("crc mismatch") << Patch([](QByteArray& zip) {
            const quint32 crc = ZipLayout::get32(zip, ZipLayout::central(zip, 1) + ZipLayout::kCentralCrc) ^ 1;
            localAndCentralField(1, ZipLayout::kLocalCrc, ZipLayout::kCentralCrc, crc)(zip);
        }) << QByteArray() << Result::Damaged;
        QTest::newRow("shorter than declared") << localAndCentralField(
            1, ZipLayout::kLocalUncompressedSize, ZipLayout::kCentralUncompressedSize, quint32(kRightImage.size() + 1))
                                               << QByteArray() << Result::Damaged;
        QTest::newRow("encrypted") << centralField(1, ZipLayout::kCentralFlags, 0x0801, 2) << QByteArray()
                                   << Result::Unsupported;
        QTest::newRow("unknown method") << centralField(1, ZipLayout::kCentralMethod, 12, 2) << QByteArray()
                                        << Result::Unsupported;
        QTest::newRow("absurd size") << centralField(1, ZipLayout::kCentralUncompressedSize, 0x7FFFFFF0u)
                                     << QByteArray() << Result::TooLarge;
    }

    void damagedArchivesLeaveTheDestinationAsItWas()
    {
        QFETCH(Patch, patch);
        QFETCH(QByteArray, replacement);
        QFETCH(Result, result);
        QTemporaryDir root;
        const QString zip = root.filePath(QStringLiteral("damaged.zip"));
        if (patch || replacement.isNull())
            QVERIFY(!twoEntryArchive(zip, patch).isEmpty());
        else
            QVERIFY(writeFile(zip, replacement));
        const QString dest = root.filePath(QStringLiteral("release"));
        QVERIFY(writeFile(dest + QStringLiteral("/V7E_IAP.bin"), kOldImage));
        const auto before = treeSnapshot(root.path());

        QString error;
        QCOMPARE(ZipArchive::unzip(zip, dest, &error), result);
        QVERIFY(!error.isEmpty());
        QVERIFY(!ZipArchive::unzipFileAtPath(zip, root.filePath(QStringLiteral("fresh/release"))));
        QCOMPARE(treeSnapshot(root.path()), before); // no half-written file, no temporaries, no new folders
    }

    void totalSizeAndEntryCountAreLimited()
    {
        QTemporaryDir root;
        const QString zip = root.filePath(QStringLiteral("bomb.zip"));
        {
            ZipWriter writer(zip);
            for (int i = 0; i < 5; ++i)
                writer.addFile(QStringLiteral("part%1.bin").arg(i), "x");
            QVERIFY(writer.close());
        }
        QByteArray bytes = fileContents(zip);
        for (int i = 0; i < 5; ++i)
            centralField(i, ZipLayout::kCentralUncompressedSize, quint32(ZipArchive::kMaxEntrySize))(bytes);
        QVERIFY(writeFile(zip, bytes));
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("out"))), Result::TooLarge);

        {
            ZipWriter writer(zip);
            for (uint64_t i = 0; i <= ZipArchive::kMaxEntryCount; ++i)
                writer.addDirectory(QStringLiteral("d%1").arg(i));
            QVERIFY(writer.close());
        }
        QString error;
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("out")), &error), Result::TooLarge);
        QVERIFY2(error.contains(QStringLiteral("entries")), qPrintable(error));
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("out"))));
    }

    // One name given twice, also only in another case (one file on a disk
    // that ignores case), refuses the archive; so does one entry too many or
    // one byte above the entry limit, whatever the rest holds.
    void namesGivenTwiceAndEntriesBeyondTheLimitsAreRefused_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("extraBytes");
        QTest::addColumn<Result>("result");
        QTest::newRow("distinct names") << QStringList { QStringLiteral("V7E_IAP.bin"),
            QStringLiteral("a/V7E_IAP.bin") }
                                        << 0 << Result::Ok;
        QTest::newRow("same name twice") << QStringList { QStringLiteral("V7E_IAP.bin"), QStringLiteral("V7E_IAP.bin") }
                                         << 0 << Result::UnsafeEntry;
        QTest::newRow("same name through ./")
            << QStringList { QStringLiteral("Q3_RIGHT.bin"), QStringLiteral("./Q3_RIGHT.bin") } << 0
            << Result::UnsafeEntry;
        QTest::newRow("names differing in case") << QStringList { QStringLiteral("Q3_RIGHT.bin"),
            QStringLiteral("q3_right.BIN") } << 0 << Result::UnsafeEntry;
        QTest::newRow("folders differing in case")
            << QStringList { QStringLiteral("Rel/a.bin"), QStringLiteral("rel/b.bin") } << 0 << Result::UnsafeEntry;
        QTest::newRow("largest entry") << QStringList { QStringLiteral("big.bin") } << 0 << Result::Ok;
        QTest::newRow("one byte above the entry limit")
            << QStringList { QStringLiteral("big.bin") } << 1 << Result::TooLarge;
        QStringList most;
        for (uint64_t i = 0; i < ZipArchive::kMaxEntryCount; ++i)
            most << QStringLiteral("f%1.bin").arg(i);
        QTest::newRow("most entries") << most << 0 << Result::Ok;
        QTest::newRow("one entry too many") << (most << QStringLiteral("last.bin")) << 0 << Result::TooLarge;
    }

    void namesGivenTwiceAndEntriesBeyondTheLimitsAreRefused()
    {
        QFETCH(QStringList, names);
        QFETCH(int, extraBytes);
        QFETCH(Result, result);
        QTemporaryDir root;
        const QString zip = root.filePath(QStringLiteral("names.zip"));
        {
            ZipWriter writer(zip);
            for (const QString& name : names)
                writer.addFile(name,
                    name == QLatin1String("big.bin")
                        ? QByteArray(qsizetype(ZipArchive::kMaxEntrySize) + extraBytes, 'x')
                        : name.toUtf8());
            QVERIFY(writer.close());
        }
        const QString dest = root.filePath(QStringLiteral("out"));
        QString error;
        QCOMPARE(ZipArchive::unzip(zip, dest, &error), result);
        QCOMPARE(QFileInfo::exists(dest), result == Result::Ok);
        QCOMPARE(error.isEmpty(), result == Result::Ok);
    }

    void missingSourcesAndBlockedDestinationsFail()
    {
        QTemporaryDir root;
        const QString zip = twoEntryArchive(root.filePath(QStringLiteral("good.zip")));
        QCOMPARE(ZipArchive::unzip(root.filePath(QStringLiteral("missing.zip")), root.filePath(QStringLiteral("o"))),
            Result::Unreadable);
        QCOMPARE(ZipArchive::unzip(root.path(), root.filePath(QStringLiteral("o"))), Result::Unreadable);

        QVERIFY(writeFile(root.filePath(QStringLiteral("plain")), "a file"));
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("plain"))), Result::WriteFailed);
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("plain/below"))), Result::WriteFailed);

        // A folder where the archive has a file, and a file where it has a folder.
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("d1/Q3_RIGHT.bin"))));
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("d1"))), Result::WriteFailed);
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("d1/V7E_IAP.bin")))); // found before any rename
        const QString nested = root.filePath(QStringLiteral("nested.zip"));
        {
            ZipWriter writer(nested);
            writer.addFile(QStringLiteral("a.bin"), "a");
            writer.addFile(QStringLiteral("sub/b.bin"), "b");
            QVERIFY(writer.close());
        }
        QVERIFY(writeFile(root.filePath(QStringLiteral("d2/sub")), "in the way"));
        QCOMPARE(ZipArchive::unzip(nested, root.filePath(QStringLiteral("d2"))), Result::WriteFailed);
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("d2/a.bin"))));

        // One name as a file and as a folder in the same archive.
        {
            ZipWriter writer(nested);
            writer.addFile(QStringLiteral("a"), "a");
            writer.addFile(QStringLiteral("a/b.bin"), "b");
            QVERIFY(writer.close());
        }
        QCOMPARE(ZipArchive::unzip(nested, root.filePath(QStringLiteral("d3"))), Result::Damaged);
        QVERIFY(!QFileInfo::exists(root.filePath(QStringLiteral("d3"))));
    }

    void unreadableSourcesAndDestinationsFail()
    {
        if (geteuid() == 0)
            QSKIP("file permissions do not apply to root");
        QTemporaryDir root;
        const QString zip = twoEntryArchive(root.filePath(QStringLiteral("good.zip")));
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("locked"))));
        QVERIFY(QFile::setPermissions(
            root.filePath(QStringLiteral("locked")), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("locked"))), Result::WriteFailed);
        QVERIFY(QFile::setPermissions(zip, QFileDevice::WriteOwner));
        QCOMPARE(ZipArchive::unzip(zip, root.filePath(QStringLiteral("o"))), Result::Unreadable);
    }

    void theWriterReportsWhatItCannotDo()
    {
        ZipWriter writer(QStringLiteral("/nonexistent-folder/x.zip"));
        QVERIFY(!writer.isOpen());
        QVERIFY(!writer.addFile(QStringLiteral("a"), "a"));
        QVERIFY(!writer.close());
        QVERIFY(!writer.errorString().isEmpty());

        QTemporaryDir root;
        ZipWriter other(root.filePath(QStringLiteral("y.zip")));
        QVERIFY(!other.addFileFromPath(QStringLiteral("a"), root.filePath(QStringLiteral("missing"))));
        QVERIFY(!other.close()); // the archive is written, but an entry is missing
    }
};

QTEST_GUILESS_MAIN(TestZipArchive)
#include "tst_ziparchive.moc"
