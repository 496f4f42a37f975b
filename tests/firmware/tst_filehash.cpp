// File digests and the text helpers for firmware data.
#include "firmware/FileHash.h"
#include "firmware/ZelDataTool.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

// What the system's own tool prints for the file.
QString referenceDigest(const QString& tool, const QString& path)
{
    QProcess process;
    process.start(tool, { path });
    if (!process.waitForFinished(120000) || process.exitCode() != 0)
        return QStringLiteral("(%1 failed)").arg(tool);
    return QString::fromLatin1(process.readAllStandardOutput().split(' ').value(0));
}

void writeRandomFile(const QString& path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QRandomGenerator random { quint32(size) };
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 left = size; left > 0;) {
        const qint64 n = qMin<qint64>(left, chunk.size());
        random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        QCOMPARE(file.write(chunk.constData(), n), n);
        left -= n;
    }
}

// A digest table whose "digest" is the byte count, recording how the file
// was handed over; failAt makes one of its operations fail.
struct CountingDigest {
    enum Step { None, Init, Update, Final };
    Step failAt = None;
    uint64_t bytes = 0;
    uint32_t largestPiece = 0;
    int finals = 0;

    FileHashComputationContext table()
    {
        FileHashComputationContext context;
        context.init = [](void* c) {
            auto* self = static_cast<CountingDigest*>(c);
            self->bytes = 0;
            return self->failAt == Init ? 0 : 1;
        };
        context.update = [](void* c, const void*, uint32_t length) {
            auto* self = static_cast<CountingDigest*>(c);
            self->bytes += length;
            self->largestPiece = qMax(self->largestPiece, length);
            return self->failAt == Update ? 0 : 1;
        };
        context.final = [](unsigned char* digest, void* c) {
            auto* self = static_cast<CountingDigest*>(c);
            ++self->finals;
            for (int i = 0; i < 8; ++i)
                digest[i] = uint8_t(self->bytes >> (8 * (7 - i)));
            return self->failAt == Final ? 0 : 1;
        };
        context.digestLength = 8;
        context.context = this;
        return context;
    }
};

} // namespace

class TestFileHash : public QObject {
    Q_OBJECT

private slots:
    void digestsEqualTheSystemTools_data()
    {
        QTest::addColumn<qint64>("size");
        for (qint64 size : { 0, 1, 4095, 4096, 4097, 50 << 20 })
            QTest::addRow("%lld bytes", size) << size;
    }

    void digestsEqualTheSystemTools()
    {
        QFETCH(qint64, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("image.bin"));
        writeRandomFile(path, size);

        const QString md5 = FileHash::md5HashOfFileAtPath(path);
        QCOMPARE(md5, referenceDigest(QStringLiteral("md5sum"), path));
        QCOMPARE(md5.size(), 32);
        QCOMPARE(md5, md5.toLower());
        QCOMPARE(FileHash::sha1HashOfFileAtPath(path), referenceDigest(QStringLiteral("sha1sum"), path));
        QCOMPARE(FileHash::sha512HashOfFileAtPath(path), referenceDigest(QStringLiteral("sha512sum"), path));
        if (size == 0)
            QCOMPARE(md5, QStringLiteral("d41d8cd98f00b204e9800998ecf8427e"));
    }

    void theFileIsReadInPiecesOfAtMostTheBufferSize()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("image.bin"));
        writeRandomFile(path, 3 * FileHash::kReadBufferSize + 17);
        CountingDigest digest;
        FileHashComputationContext table = digest.table();
        QCOMPARE(FileHash::hashOfFileAtPath(path, table),
            QStringLiteral("%1").arg(3 * FileHash::kReadBufferSize + 17, 16, 16, QLatin1Char('0')));
        QCOMPARE(digest.largestPiece, uint32_t(FileHash::kReadBufferSize));
    }

    void noDigestForFoldersMissingFilesAndReadErrors()
    {
        QTemporaryDir dir;
        QVERIFY(FileHash::md5HashOfFileAtPath(dir.path()).isNull());
        QVERIFY(FileHash::sha1HashOfFileAtPath(dir.filePath(QStringLiteral("missing"))).isNull());
        QVERIFY(FileHash::sha512HashOfFileAtPath(QString()).isNull());
        // Opens, but every read fails (EIO at address 0).
        QVERIFY(FileHash::md5HashOfFileAtPath(QStringLiteral("/proc/self/mem")).isNull());

        // A failing digest operation gives null too, and the state is still finished.
        const QString path = dir.filePath(QStringLiteral("image.bin"));
        writeRandomFile(path, 100);
        for (auto step : { CountingDigest::Init, CountingDigest::Update, CountingDigest::Final }) {
            CountingDigest digest;
            digest.failAt = step;
            FileHashComputationContext table = digest.table();
            QVERIFY(FileHash::hashOfFileAtPath(path, table).isNull());
            QCOMPARE(digest.finals, 1);
        }
        FileHashComputationContext empty;
        QVERIFY(FileHash::hashOfFileAtPath(path, empty).isNull());
    }

    void noDigestForAFileThatCannotBeOpened()
    {
        if (geteuid() == 0)
            QSKIP("file permissions do not apply to root");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.bin"));
        writeRandomFile(path, 10);
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QVERIFY(FileHash::md5HashOfFileAtPath(path).isNull());
    }

    void bytesBecomeLowerCaseHexadecimalPairs()
    {
        QCOMPARE(ZelDataTool::transData2HexString(QByteArray()), QString());
        QCOMPARE(ZelDataTool::transData2HexString(QByteArray("\x05", 1)), QStringLiteral("05"));
        QCOMPARE(ZelDataTool::transData2HexString(QByteArray("\x0a\xff\x00", 3)), QStringLiteral("0aff00"));
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const QString hex = ZelDataTool::transData2HexString(all);
        QCOMPARE(hex.size(), 512);
        QCOMPARE(hex, hex.toLower());
        QCOMPARE(hex.mid(2 * 0xAB, 2), QStringLiteral("ab"));
    }

    void fileNamesReduceToTheirVersionCharacters()
    {
        QCOMPARE(ZelDataTool::w8FirmwareNameString(QStringLiteral("V1.2-1.3-1.4")), QStringLiteral("1.2-1.3-1.4"));
        QCOMPARE(ZelDataTool::w8FirmwareNameString(QStringLiteral("fw-ver1.2")), QStringLiteral("-1.2"));
        QCOMPARE(ZelDataTool::w8FirmwareNameString(QStringLiteral("firmware")), QString());
        QCOMPARE(ZelDataTool::w8FirmwareNameString(QStringLiteral("q3 (copy) 10.0_1,2")), QStringLiteral("310.012"));
        // Digits of other scripts are not ASCII digits.
        QCOMPARE(ZelDataTool::w8FirmwareNameString(QStringLiteral("\uFF11\u0662.7")), QStringLiteral(".7"));
    }
};

QTEST_GUILESS_MAIN(TestFileHash)
#include "tst_filehash.moc"
