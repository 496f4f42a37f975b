// libcrypto is loaded when a digest or a signature is first needed. Without
// it (a missing file, or a library that is not libcrypto) every digest is
// null, no key is made and no signature holds, with one warning naming the
// file; once it can be loaded, the same calls work in the same process.
#include "firmware/FileHash.h"
#include "firmware/ReleaseSignature.h"
#include "lib/CryptoLibrary.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <future>
#include <vector>

class TestCryptoLibrary : public QObject {
    Q_OBJECT

    static constexpr int kThreads = 4;

private slots:
    // First: a library loaded once stays, so the failures come before any success.
    void withoutTheLibraryNothingIsTrusted()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("release.bin"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("abc");
        out.close();

        const QByteArray missing = dir.filePath(QStringLiteral("libcrypto-missing.so.3")).toLocal8Bit();
        qputenv(CryptoLibrary::kPathVariable, missing);
        QTest::ignoreMessage(QtWarningMsg,
            QRegularExpression(
                QStringLiteral("^The cryptography library could not be loaded \\(.*libcrypto-missing\\.so\\.3")));
        QVERIFY(!CryptoLibrary::load());
        QVERIFY(CryptoLibrary::error().contains(QString::fromLocal8Bit(missing)));
        // Said once, not at every digest.
        QVERIFY(FileHash::md5HashOfFileAtPath(file).isNull());
        QVERIFY(FileHash::sha256HashOfFileAtPath(file).isNull());
        QVERIFY(ReleaseSignature::generate().publicKey().isEmpty());
        QVERIFY(!ReleaseSignature::verifyBytes(QByteArray(ReleaseSignature::kPublicKeyLength, 'k'), "bytes",
            QByteArray(ReleaseSignature::kSignatureLength, 's').toBase64()));
        QString error;
        ReleaseSignature::fromPrivateKeyFile(file, &error);
        QVERIFY2(error.startsWith(QStringLiteral("The cryptography library could not be loaded")), qPrintable(error));

        // A real library that is not libcrypto: the first function it lacks is named.
        qputenv(CryptoLibrary::kPathVariable, "libz.so.1");
        QVERIFY(!CryptoLibrary::load());
        QVERIFY2(CryptoLibrary::error().contains(QStringLiteral("EVP_MD_CTX_new")), qPrintable(CryptoLibrary::error()));

        // Installed after all: the next call loads it, whichever threads make
        // that call at once (an import's digest beside a run's).
        qunsetenv(CryptoLibrary::kPathVariable);
        std::vector<std::future<QString>> digests;
        for (int i = 0; i < kThreads; ++i)
            digests.push_back(std::async(std::launch::async, [file] { return FileHash::md5HashOfFileAtPath(file); }));
        for (std::future<QString>& digest : digests)
            QCOMPARE(digest.get(), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
        const CryptoLibrary* crypto = CryptoLibrary::load();
        QVERIFY(crypto);
        QVERIFY(CryptoLibrary::error().isEmpty());
        QCOMPARE(CryptoLibrary::load(), crypto);
        QCOMPARE(FileHash::md5HashOfFileAtPath(file), QStringLiteral("900150983cd24fb0d6963f7d28e17f72"));
        QCOMPARE(FileHash::sha1HashOfFileAtPath(file), QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
    }

    // Through the loaded library: a key made, written, read back, its
    // signature holding for its bytes only.
    void keysAndSignaturesThroughTheLoadedLibrary()
    {
        const ReleaseSignature key = ReleaseSignature::generate();
        QCOMPARE(key.publicKey().size(), ReleaseSignature::kPublicKeyLength);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("key.pem"));
        QFile pem(path);
        QVERIFY(pem.open(QIODevice::WriteOnly));
        QVERIFY(pem.write(key.privateKeyPem()) > 0);
        pem.close();
        QString error;
        const ReleaseSignature read = ReleaseSignature::fromPrivateKeyFile(path, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(read.publicKey(), key.publicKey());
        const QByteArray signature = read.signBytes("release bytes");
        QVERIFY(ReleaseSignature::verifyBytes(key.publicKey(), "release bytes", signature));
        QVERIFY(!ReleaseSignature::verifyBytes(key.publicKey(), "other bytes", signature));
    }
};

QTEST_GUILESS_MAIN(TestCryptoLibrary)
#include "tst_cryptolibrary.moc"
