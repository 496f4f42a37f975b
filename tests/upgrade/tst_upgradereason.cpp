// Reasons as codes: every code has a stable name and a message in each
// language, and the history keeps code and text so that old files still load
// and new ones show the reason in the language of the moment.
#include "platform/runtime/Localization.h"
#include "upgrade/UpgradeHistory.h"
#include "upgrade/UpgradeReason.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Code = UpgradeReason::Code;

class TestUpgradeReason : public QObject {
    Q_OBJECT

    QList<Code> allCodes() const
    {
        QList<Code> codes;
        for (int i = int(Code::AlreadyRunning); i <= int(Code::UnzipFailed); ++i)
            codes.append(Code(i));
        return codes;
    }

private slots:
    void cleanup() { Localization::shared().setPreferredLanguages({ QStringLiteral("en") }); }

    void everyCodeHasANameAndAMessageInEachLanguage()
    {
        QSet<QString> names;
        for (const QString& language : { QStringLiteral("en"), QStringLiteral("zh-Hans"), QStringLiteral("ja") }) {
            Localization::shared().setPreferredLanguages({ language });
            for (Code code : allCodes()) {
                const UpgradeReason reason(code);
                QVERIFY2(!reason.name().isEmpty(), qPrintable(QString::number(int(code))));
                QCOMPARE(UpgradeReason::fromName(reason.name()), std::optional<Code>(code));
                QVERIFY2(!reason.text().isEmpty(), qPrintable(language + QLatin1Char(' ') + reason.name()));
                names.insert(reason.name());
            }
        }
        QCOMPARE(names.size(), allCodes().size());
        QVERIFY(UpgradeReason().isNone());
        QVERIFY(UpgradeReason().text().isNull());
        QVERIFY(UpgradeReason().name().isEmpty());
        QVERIFY(!UpgradeReason::fromName(QString()));
        QVERIFY(!UpgradeReason::fromName(QStringLiteral("checksumrejected")));
    }

    // The values go into the message at once: one that holds a marker is not read as one.
    void argumentsFillTheMessage()
    {
        const UpgradeReason mismatch(
            Code::VersionsMismatch, { QStringLiteral("1.0-%2-1.1"), QStringLiteral("1.0-2.3-1.10") });
        QCOMPARE(mismatch.text(),
            localized("VersionsMismatch").arg(QStringLiteral("1.0-%2-1.1"), QStringLiteral("1.0-2.3-1.10")));
        QVERIFY(mismatch.text().contains(QLatin1String("1.0-%2-1.1")));
        QVERIFY(mismatch != UpgradeReason(Code::VersionsMismatch));
    }

    void historyKeepsCodeAndText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("upgrade-history.json"));
        // A file written before codes were kept: its text is what is shown.
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(
                R"([{"started":"2026-01-02T03:04:05Z","outcome":"failed","reason":"old text","release":"1.0-2.3-1.5"}])");
        }
        const UpgradeHistory history(path);
        const UpgradeReason reason(Code::DownloadTooLarge, { QStringLiteral("64") });
        UpgradeRecord record;
        record.started = QDateTime::currentDateTimeUtc();
        record.outcome = QStringLiteral("failed");
        record.code = reason.name();
        record.arguments = reason.arguments();
        record.reason = reason.text();
        QVERIFY(history.append(record));

        bool ok = false;
        const QList<UpgradeRecord> records = history.records(&ok);
        QVERIFY(ok);
        QCOMPARE(records.size(), 2);
        QVERIFY(records[0].code.isEmpty());
        QCOMPARE(records[0].reasonText(), QStringLiteral("old text"));
        QCOMPARE(records[1].code, QStringLiteral("DownloadTooLarge"));
        QCOMPARE(records[1].arguments, QStringList { QStringLiteral("64") });
        QCOMPARE(records[1].reason, localized("DownloadTooLarge").arg(QStringLiteral("64")));
        // Shown later in another language: made from the code, not the stored sentence.
        Localization::shared().setPreferredLanguages({ QStringLiteral("ja") });
        QCOMPARE(records[1].reasonText(), localized("DownloadTooLarge").arg(QStringLiteral("64")));
        QVERIFY(records[1].reasonText() != records[1].reason);
        // A code this program does not know (a newer one's) shows the stored text.
        UpgradeRecord unknown = records[1];
        unknown.code = QStringLiteral("SomethingNew");
        QCOMPARE(unknown.reasonText(), records[1].reason);
    }
};

QTEST_GUILESS_MAIN(TestUpgradeReason)
#include "tst_upgradereason.moc"
