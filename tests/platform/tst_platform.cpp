// The stand-ins for the phone platform's services.
#include "lib/MessageToast.h"
#include "platform/DocumentsDirectory.h"
#include "platform/InfoDictionary.h"
#include "platform/Localization.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
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
        center.postNotification(QStringLiteral("N"), QStringLiteral("x"), {{QStringLiteral("k"), 1}});
        QCOMPARE(seen, (QStringList{QStringLiteral("a:x"), QStringLiteral("c:1")}));
        seen.clear();
        center.postNotification(QStringLiteral("N"));
        center.postNotification(QStringLiteral("Other"));
        QCOMPARE(seen, QStringList{QStringLiteral("a:")});
        center.removeObserver(&a);
    }

    void timersAndDelaysFollowTheTimeScale()
    {
        MainQueue::setTimeScale(0.01);
        QElapsedTimer clock;
        clock.start();
        bool fired = false;
        MainQueue::dispatchAfter(8.0, [&] { fired = true; });
        QTRY_VERIFY_WITH_TIMEOUT(fired, 2000);
        QVERIFY(clock.elapsed() < 2000);

        int ticks = 0;
        auto timer = Timer::scheduledTimer(1.0, true, [&] { ++ticks; });
        QTRY_VERIFY(ticks >= 3);
        timer->invalidate();
        const int stopped = ticks;
        spin(50);
        QCOMPARE(ticks, stopped);
        QVERIFY(!timer->isValid());

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
        MainQueue::dispatchAfter(0.5, [&] { ran = true; }, context);
        delete context;
        spin(30);
        QVERIFY(!ran);
        MainQueue::setTimeScale(1.0);
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
        QVERIFY(InfoDictionary::parse("<plist><dict><key>a</key><array><string>x</string><true/></array></dict></plist>", &out));
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
            QCOMPARE(recorder.texts(), (QStringList{QStringLiteral("short"), QStringLiteral("long")}));
            QCOMPARE(recorder.toasts().front().seconds, MessageToast::kDefaultSeconds);
            QCOMPARE(recorder.toasts().back().seconds, 4.0);
        }
        QVERIFY(!MessageToast::presenter());
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
