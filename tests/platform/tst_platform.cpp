// The stand-ins for the phone platform's services.
#include "lib/MessageToast.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "support/TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace testsupport;

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void notificationsReachObserversInOrderAndSurviveRemovalDuringDelivery()
    {
        NotificationCenter& center = NotificationCenter::defaultCenter();
        QStringList seen;
        int a = 0, b = 0, c = 0;
        center.addObserver(&a, QStringLiteral("N"), [&](const Notification& n) {
            seen << QStringLiteral("a:") + n.object.toString();
            center.removeObserver(&b); // b must not be called any more
        });
        center.addObserver(&b, QStringLiteral("N"), [&](const Notification&) { seen << QStringLiteral("b"); });
        center.addObserver(&c, QStringLiteral("N"), [&](const Notification& n) {
            seen << QStringLiteral("c:") + n.userInfo.value(QStringLiteral("k")).toString();
            center.removeObserver(&c); // removing itself while running
        });
        center.addObserver(&c, QStringLiteral("Other"), [&](const Notification&) { seen << QStringLiteral("other"); });
        center.postNotification(QStringLiteral("N"), QStringLiteral("x"), { { QStringLiteral("k"), 1 } });
        QCOMPARE(seen, (QStringList { QStringLiteral("a:x"), QStringLiteral("c:1") }));
        seen.clear();
        center.postNotification(QStringLiteral("N"));
        center.postNotification(QStringLiteral("Other"));
        QCOMPARE(seen, QStringList { QStringLiteral("a:") });
        QVERIFY(center.hasObservers(QStringLiteral("N")));
        QVERIFY(!center.hasObservers(QStringLiteral("Other"))); // c removed all of its own
        center.removeObserver(&a);
        QVERIFY(!center.hasObservers(QStringLiteral("N")));
    }

    void timersAndDelaysFollowTheTimeScale()
    {
        TimeScale fast(0.01);
        QElapsedTimer clock;
        clock.start();
        bool fired = false;
        MainQueue::dispatchAfter(8.0, [&] { fired = true; });
        QVERIFY(waitUntil([&] { return fired; }));
        QVERIFY(clock.elapsed() < 8000); // sooner than the unscaled 8 s

        int ticks = 0;
        auto timer = Timer::scheduledTimer(1.0, true, [&] { ++ticks; });
        QVERIFY(waitUntil([&] { return ticks >= 3; }));
        timer->invalidate();
        const int stopped = ticks;
        // Two periods: a timer still running would have ticked before this delay ran.
        QVERIFY(waitForMainQueueDelay(2.0));
        QCOMPARE(ticks, stopped);
        QVERIFY(!timer->isValid());

        // Delays and timers of one length run in the order they were armed.
        QStringList order;
        QObject scope; // the delays go with the test
        MainQueue::dispatchAfter(
            0.3, [&] { order << QStringLiteral("delay"); }, &scope);
        const auto timed = Timer::scheduledTimer(0.3, false, [&] { order << QStringLiteral("timer"); });
        MainQueue::dispatchAfter(
            0.3, [&] { order << QStringLiteral("delay armed later"); }, &scope);
        QVERIFY(waitUntil([&] { return order.size() == 3; }));
        QCOMPARE(order,
            (QStringList { QStringLiteral("delay"), QStringLiteral("timer"), QStringLiteral("delay armed later") }));

        // A one-shot timer is invalid after it fired, and may drop itself from its block.
        std::shared_ptr<Timer> once;
        bool onceFired = false;
        once = Timer::scheduledTimer(0.5, false, [&] {
            onceFired = true;
            once.reset();
        });
        QTRY_VERIFY(onceFired);
        QVERIFY(!once);

        // A delayed block with a context is dropped when the context goes first.
        bool ran = false;
        auto* context = new QObject;
        MainQueue::dispatchAfter(
            0.5, [&] { ran = true; }, context);
        delete context;
        QVERIFY(waitForMainQueueDelay(0.5));
        QVERIFY(!ran);
    }

    // A deadline moved at every message: the newest block runs once, never
    // before its own deadline, whether that is later or sooner than the one
    // it replaced; a timer that fired or repeats is not moved.
    void aRearmedTimerRunsItsNewBlockAtItsNewDeadline()
    {
        QStringList ran;
        QElapsedTimer clock;
        clock.start();
        auto timer = Timer::scheduledTimer(0.05, false, [&] { ran << QStringLiteral("first"); });
        QVERIFY(timer->rearm(0.3, [&] { ran << QStringLiteral("later"); }));
        QVERIFY(waitUntil([&] { return !ran.isEmpty(); }));
        QVERIFY2(clock.elapsed() >= 300, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(ran, QStringList { QStringLiteral("later") });
        QVERIFY(!timer->isValid());
        std::function<void()> kept = [&] { ran << QStringLiteral("kept"); };
        QVERIFY(!timer->rearm(0.1, std::move(kept)));
        QVERIFY(kept); // left for the caller's new timer
        QVERIFY(waitForMainQueueDelay(0.2));
        QCOMPARE(ran.size(), 1);

        ran.clear();
        clock.restart();
        timer = Timer::scheduledTimer(5.0, false, [&] { ran << QStringLiteral("far"); });
        QVERIFY(timer->rearm(0.1, [&] { ran << QStringLiteral("sooner"); }));
        QVERIFY(waitUntil([&] { return !ran.isEmpty(); }));
        QVERIFY(clock.elapsed() >= 100 && clock.elapsed() < 5000);
        QCOMPARE(ran, QStringList { QStringLiteral("sooner") });

        // Moved many times, as a watchdog is: one run, after the last deadline.
        ran.clear();
        timer = Timer::scheduledTimer(0.02, false, [&] { ran << QStringLiteral("stale"); });
        for (int i = 0; i < 10; ++i) {
            clock.restart();
            QVERIFY(timer->rearm(0.5, [&] { ran << QStringLiteral("moved"); }));
            QVERIFY(waitForMainQueueDelay(0.01));
        }
        QVERIFY(waitUntil([&] { return !ran.isEmpty(); }));
        QVERIFY(clock.elapsed() >= 500);
        QVERIFY(waitForMainQueueDelay(0.1));
        QCOMPARE(ran, QStringList { QStringLiteral("moved") });

        auto repeating = Timer::scheduledTimer(1.0, true, [] {});
        QVERIFY(!repeating->rearm(0.5, [] {}));
        repeating->invalidate();
    }

    void localisedTextsComeFromTheTablesAndMissingKeysAreEmpty()
    {
        Localization& l10n = Localization::shared();
        l10n.setLanguage(QStringLiteral("en"));
        const QString english = l10n.text("UnplugDevicePrompt");
        QVERIFY(!english.isEmpty());
        QCOMPARE(l10n.text("Cancel"), QStringLiteral("Cancel")); // text equal to its key is still found
        QCOMPARE(l10n.text("NoSuchKeyAnywhere"), QString());
        QVERIFY(l10n.text("NoSuchKeyAnywhere").isEmpty());

        l10n.setLanguage(QStringLiteral("zh-Hans-CN"));
        QCOMPARE(l10n.language(), QStringLiteral("zh_CN"));
        const QString chinese = l10n.text("UnplugDevicePrompt");
        QVERIFY(!chinese.isEmpty() && chinese != english);

        l10n.setLanguage(QStringLiteral("ja-JP"));
        QCOMPARE(l10n.language(), QStringLiteral("ja"));
        const QString japanese = l10n.text("UnplugDevicePrompt");
        QVERIFY(!japanese.isEmpty() && japanese != english && japanese != chinese);

        l10n.setLanguage(QStringLiteral("de-DE"));
        QCOMPARE(l10n.language(), QStringLiteral("en"));
        QCOMPARE(l10n.text("UnplugDevicePrompt"), english);
        l10n.setLanguage(QStringLiteral("en"));
    }

    // Counts take the table's plural form: one press, two presses; Chinese
    // and Japanese have one form.
    void countedTextsTakeThePluralFormOfTheirCount()
    {
        Localization& l10n = Localization::shared();
        l10n.setLanguage(QStringLiteral("en"));
        QCOMPARE(l10n.text("CheckButtonLine", 1).arg(QStringLiteral("A")).arg(0).arg(QStringLiteral("good")),
            QStringLiteral("A: 1 press, 0 chatter (good)"));
        QCOMPARE(localizedCount("CheckButtonLine", 2).arg(QStringLiteral("A")).arg(0).arg(QStringLiteral("good")),
            QStringLiteral("A: 2 presses, 0 chatter (good)"));
        QVERIFY(localizedCount("CheckTriggerLine", 1).contains(QStringLiteral(", 1 level (")));
        l10n.setLanguage(QStringLiteral("ja"));
        QVERIFY(localizedCount("CheckButtonLine", 1).contains(QStringLiteral("1 \u56DE")));
        QVERIFY(localizedCount("CheckButtonLine", 7).contains(QStringLiteral("7 \u56DE")));
        l10n.setLanguage(QStringLiteral("en"));
    }

    // An explicit language is one with a table of its own, in any region,
    // script or encoding; any other would silently be English.
    void onlyLanguagesWithTablesAreTakenAsChoices()
    {
        for (const char* tag :
            { "en", "zh", "ja", "zh-Hans", "zh-Hant-TW", "ja-JP", "en_GB.UTF-8", "ZH_cn", "ja_JP@x" })
            QVERIFY2(Localization::hasTableFor(QString::fromLatin1(tag)), tag);
        for (const char* tag : { "xx", "de", "de-DE", "", "e", "english", "zh--", "ja JP", "en-", "-en", "zhx" })
            QVERIFY2(!Localization::hasTableFor(QString::fromLatin1(tag)), tag);
        QCOMPARE(Localization::languagesWithTables(),
            (QStringList { QStringLiteral("en"), QStringLiteral("zh"), QStringLiteral("ja") }));
    }

    // The games list has a desktop name in every language; its key stays.
    void theGamesListHasADesktopName()
    {
        Localization& l10n = Localization::shared();
        for (const char* language : { "en", "zh-Hans", "ja" }) {
            l10n.setLanguage(QString::fromLatin1(language));
            QVERIFY2(!localized("MFiGame").isEmpty() && !localized("MFiGame").contains(QLatin1String("MFi")), language);
        }
        l10n.setLanguage(QStringLiteral("en"));
        QCOMPARE(localized("MFiGame"), QStringLiteral("Supported Games"));
    }

    // Chinese and Japanese texts use their own punctuation: full-width
    // colons, commas and brackets after their characters, no spaces inside
    // full-width brackets or around full-width marks, and an ellipsis that is
    // one, not three full stops.
    void chineseAndJapaneseTextsUseTheirOwnPunctuation()
    {
        const QString cjk = QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}]");
        const QList<std::pair<QString, QRegularExpression>> rules {
            { QStringLiteral("a Latin mark after a character"),
                QRegularExpression(cjk + QStringLiteral("[,:;!?](?!/)")) },
            { QStringLiteral("three full stops"), QRegularExpression(cjk + QStringLiteral("\\.\\.\\.")) },
            { QStringLiteral("Latin brackets around characters"),
                QRegularExpression(QStringLiteral("\\(") + cjk + QStringLiteral("|") + cjk + QStringLiteral("\\)")) },
            { QStringLiteral("a space inside brackets or before a mark"),
                QRegularExpression(QStringLiteral("[（「『【] | [）」』】、。，：；！？]")) },
        };
        for (const char* table : { "q3dart_zh_CN.ts", "q3dart_ja.ts" }) {
            QFile file(QStringLiteral(Q3DART_TRANSLATIONS_DIR "/") + QString::fromLatin1(table));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            QString key;
            int texts = 0;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == QLatin1String("message")) {
                    key = xml.attributes().value(QStringLiteral("id")).toString();
                } else if (xml.name() == QLatin1String("translation")) {
                    const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    ++texts;
                    for (const auto& [fault, rule] : rules)
                        QVERIFY2(!rule.match(text).hasMatch(),
                            qPrintable(
                                QStringLiteral("%1 %2: %3: %4").arg(QString::fromLatin1(table), key, fault, text)));
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(texts > 100);
        }
    }

    // Two messages were once fixed Chinese texts shown to everyone. The
    // refusal keeps that wording in Chinese; the connect prompt asked to insert
    // a phone into the controller, which a desktop has no use for: it asks, as
    // in English, to connect the controller to the computer. The other
    // languages have their own.
    void theOnceFixedMessagesKeepTheirChineseWording()
    {
        Localization& l10n = Localization::shared();
        const QString refused = QString::fromUtf8("\u8BBE\u5907\u4E0D\u53EF\u5347\u7EA7");
        const QString plugIn = QString::fromUtf8("\u8BF7\u5C06\u82F9\u679C\u8BBE\u5907\u63D2\u5165Q3 Dart\u624B\u67C4");
        const QString connect
            = QString::fromUtf8("\u8BF7\u5C06 Q3 Dart \u624B\u67C4\u8FDE\u63A5\u5230\u8FD9\u53F0\u7535\u8111");
        l10n.setLanguage(QStringLiteral("zh-Hans"));
        QCOMPARE(l10n.text("DeviceCannotUpgrade"), refused);
        QCOMPARE(l10n.text("ConnectControllerToComputerPrompt"), connect);
        l10n.setLanguage(QStringLiteral("en"));
        QCOMPARE(l10n.text("ConnectControllerToComputerPrompt"),
            QStringLiteral("Connect the Q3 Dart controller to this computer"));
        QVERIFY(!l10n.text("DeviceCannotUpgrade").isEmpty() && l10n.text("DeviceCannotUpgrade") != refused);
        l10n.setLanguage(QStringLiteral("ja"));
        for (const char* key : { "DeviceCannotUpgrade", "ConnectControllerToComputerPrompt" }) {
            QVERIFY(!l10n.text(key).isEmpty());
            QVERIFY(l10n.text(key) != refused && l10n.text(key) != plugIn);
        }
        l10n.setLanguage(QStringLiteral("en"));
    }

    void theInformationDictionaryDeclaresTheAccessoryProtocol()
    {
        const InfoDictionary& info = InfoDictionary::mainBundle();
        QVERIFY(!info.supportedAccessoryProtocols().isEmpty());
        QVERIFY(!info.string(QStringLiteral("CFBundleShortVersionString")).isEmpty());
        QVERIFY(info.string(QStringLiteral("Q3FirmwareServerHost")).endsWith(QLatin1String(".example")));

        QVariantMap out;
        QVERIFY(!InfoDictionary::parse("not a property list", &out));
        QVERIFY(!InfoDictionary::parse(QByteArray(), &out));
        QVERIFY(!InfoDictionary::parse("<plist><array><string>x</string></array></plist>", &out));
        QVERIFY(!InfoDictionary::parse(QByteArray("bplist00\xff\xff\xff", 11), &out));
        QVERIFY(InfoDictionary::parse(
            "<plist><dict><key>a</key><array><string>x</string><true/></array></dict></plist>", &out));
        QCOMPARE(out.value(QStringLiteral("a")).toList().size(), 2);
    }

    void theDocumentsDirectoryCanBeMovedForTestsAndDemos()
    {
        QTemporaryDir dir;
        DocumentsDirectory::setPath(dir.path() + QStringLiteral("/docs"));
        QCOMPARE(DocumentsDirectory::path(), dir.path() + QStringLiteral("/docs"));
        QVERIFY(QFileInfo(DocumentsDirectory::path()).isDir()); // created on demand
        DocumentsDirectory::setPath(QString());
    }

    void toastsGoToTheInstalledPresenterOnly()
    {
        MessageToast::showMsgWithtext(QStringLiteral("nobody listens")); // no presenter: nothing happens
        {
            ToastRecorder recorder;
            MessageToast::showMsgWithtext(QStringLiteral("short"));
            MessageToast::showMsgWithtext(QStringLiteral("long"), 4.0);
            QCOMPARE(recorder.texts(), (QStringList { QStringLiteral("short"), QStringLiteral("long") }));
            QCOMPARE(recorder.toasts().front().seconds, MessageToast::kDefaultSeconds);
            QCOMPARE(recorder.toasts().back().seconds, 4.0);
        }
        QVERIFY(!MessageToast::presenter());
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
