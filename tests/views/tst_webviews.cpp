// The game list and tutorial screens in a real web engine, against pages
// served on 127.0.0.1 by the test.
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/WebHosts.h"
#include "sim/DemoEnvironment.h"
#include "support/TestHttpServer.h"
#include "support/TestSupport.h"
#include "views/WebPage.h"
#include "views/WebPageModule.h"
#include "views/ZelMFiGameView.h"
#include "views/ZelTool.h"
#include "views/ZelTutorialView.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QtTest>
#include <QWebEngineView>

#include <algorithm>
#include <memory>

using namespace testsupport;

namespace {

constexpr int kWebTimeoutMs = 30000; // the engine's first start is slow on a loaded machine

const QString kStoreItem = QStringLiteral("game/id42");

// Serves a game list with a store link and an ordinary link, and a second
// page; records every request with its cache headers.
class PageServer {
public:
    struct Request {
        QString path;
        QString query;
        QByteArray cacheControl;
        QByteArray pragma;
    };

    PageServer()
    {
        m_server.route(QStringLiteral("/<arg>"), [this](const QString& name, const QHttpServerRequest& request) {
            requests.append({ request.url().path(), request.url().query(), request.value("Cache-Control"),
                request.value("Pragma") });
            if (name == QLatin1String("favicon.ico"))
                return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
            return QHttpServerResponse("text/html; charset=utf-8", page(name));
        });
        m_port = quint16(m_server.listen(QHostAddress::LocalHost, 0));
    }

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }
    int count(const QString& path) const
    {
        return int(std::count_if(requests.begin(), requests.end(), [&](const Request& r) { return r.path == path; }));
    }

    QList<Request> requests;

    // The same server under another host name: another origin.
    QString elsewhereUrl() const { return QStringLiteral("http://localhost:%1/elsewhere.html").arg(m_port); }

private:
    QByteArray page(const QString& name) const
    {
        const QByteArray store = (WebHosts::appStorePrefix() + kStoreItem).toUtf8();
        return "<!DOCTYPE html><html><head><title>" + name.toUtf8() + "</title></head><body>"
            + "<a id=\"store\" href=\"" + store + "\">Get</a> <a id=\"other\" href=\"/other.html\">More</a>"
            + " <a id=\"storeNewWindow\" target=\"_blank\" href=\"" + store + "\">Get (new window)</a>"
            + " <a id=\"otherNewWindow\" target=\"_blank\" href=\"/other.html\">More (new window)</a>"
            + " <a id=\"storeInQuery\" href=\"/go?to=" + QUrl::toPercentEncoding(QString::fromUtf8(store))
            + "\">Via</a>" + " <a id=\"elsewhere\" href=\"" + elsewhereUrl().toUtf8() + "\">Elsewhere</a>"
            + " <a id=\"elsewhereNewWindow\" target=\"_blank\" href=\"" + elsewhereUrl().toUtf8()
            + "\">Elsewhere (new window)</a>" + " <a id=\"file\" href=\"file:///etc/hostname\">File</a>"
            + " <a id=\"data\" href=\"data:text/html,&lt;title&gt;data&lt;/title&gt;\">Data</a>" + "</body></html>";
    }

    QHttpServer m_server;
    quint16 m_port = 0;
};

QMessageBox* visibleAlert()
{
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->objectName() == QLatin1String("appStoreAlert") && widget->isVisible())
            return qobject_cast<QMessageBox*>(widget);
    return nullptr;
}

// The engine's view behind a screen's page.
QWebEngineView* engineView(WebPage* page)
{
    return page ? qobject_cast<QWebEngineView*>(page->widget()) : nullptr;
}

bool waitForLoad(QWebEngineView* view, bool* ok = nullptr)
{
    if (!view)
        return false;
    QSignalSpy finished(view, &QWebEngineView::loadFinished);
    if (!waitUntil([&] { return !finished.isEmpty(); }, kWebTimeoutMs))
        return false;
    if (ok)
        *ok = finished.first().first().toBool();
    return true;
}

// Runs a script in the page and waits for it to have run: whatever the page
// asked of the engine before it has been asked by then.
QVariant runScript(QWebEngineView* view, const QString& script)
{
    bool done = false;
    QVariant result;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    waitUntil([&] { return done; }, kWebTimeoutMs);
    return result;
}

void clickLink(QWebEngineView* view, const QString& id)
{
    runScript(view, QStringLiteral("document.getElementById('%1').click(); true").arg(id));
}

// The screen shows the copy of its page that ships, named fileName, with the note and Retry over it.
bool showsOfflineCopy(const WebPageScreen& screen, const QString& fileName)
{
    QWebEngineView* web = engineView(screen.webPage);
    return web
        && waitUntil(
            [&] {
                return screen.webPage->isOffline() && !screen.webPage->isLoading()
                    && web->url() == WebPageScreen::offlineCopy(fileName) && !screen.offlineBar->isHidden()
                    && screen.retryButton->isEnabled() && !web->title().isEmpty();
            },
            kWebTimeoutMs);
}

} // namespace

// Stands in for the desktop's URL opener.
class UrlOpener : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void openUrl(const QUrl& url) { opened.append(url); }
};

class TestWebViews : public QObject {
    Q_OBJECT

    PageServer m_pages;
    UrlOpener m_opener;

public:
    static void initMain() { WebPageModule::prepareApplication(); }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_opener, "openUrl");
        QVERIFY(!WebHosts::appStorePrefix().isEmpty());
    }

    void init()
    {
        WebHosts::setBaseOverride(m_pages.baseUrl());
        Localization::shared().setPreferredLanguages({ QStringLiteral("en-US") });
        m_pages.requests.clear();
        m_opener.opened.clear();
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    // First of the tests: once loaded, the module stays for the life of the process.
    void unloadableModuleShowsAMessageAndTheNextScreenLoadsIt()
    {
        QVERIFY(!WebPageModule::isLoaded());
        const auto showsTheMessage = [](const char* why) {
            ZelTutorialView view;
            view.resize(800, 500);
            view.show();
            QVERIFY2(!view.webPage, why);
            auto* message = view.findChild<QLabel*>(QStringLiteral("pageUnavailableLabel"));
            QVERIFY2(message && message->isVisible(), why);
            QCOMPARE(message->text(), localized("WebPageUnavailable"));
            QVERIFY(!message->text().isEmpty());
        };
        const QString qtCore = QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6");
        QVERIFY(QFileInfo::exists(qtCore));
        qputenv(
            WebPageModule::kPathVariable, QDir::temp().filePath(QStringLiteral("no-such-web-module.so")).toLocal8Bit());
        showsTheMessage("no such file");
        QTemporaryFile notALibrary(QDir::temp().filePath(QStringLiteral("XXXXXX.so")));
        QVERIFY(notALibrary.open() && notALibrary.write("not a library") > 0 && notALibrary.flush());
        qputenv(WebPageModule::kPathVariable, notALibrary.fileName().toLocal8Bit());
        showsTheMessage("a file that does not load");
        qputenv(WebPageModule::kPathVariable, qtCore.toLocal8Bit());
        showsTheMessage("a library without the module's entry point");
        qunsetenv(WebPageModule::kPathVariable);
        // The engine would crash in an application not prepared for it.
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
        showsTheMessage("application not prepared");
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, true);
        QVERIFY(!WebPageModule::isLoaded());

        ZelMFiGameView view;
        view.show();
        QVERIFY(waitForLoad(engineView(view.webPage)));
        QVERIFY(WebPageModule::isLoaded());
        QVERIFY(!view.findChild<QLabel*>(QStringLiteral("pageUnavailableLabel")));
    }

    void addressesFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("gameList");
        QTest::newRow("traditional Chinese") << "zh-Hant-TW"
                                             << "zh"
                                             << "/mfi2_zh.html";
        QTest::newRow("simplified Chinese") << "zh-Hans"
                                            << "zh"
                                            << "/mfi2_zh.html";
        QTest::newRow("Japanese") << "ja-JP"
                                  << "ja"
                                  << "/mfi2_ja.html";
        QTest::newRow("German") << "de-DE"
                                << "en"
                                << "/mfi2.html";
    }
    void addressesFollowTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, lang);
        QFETCH(QString, gameList);
        Localization::shared().setPreferredLanguages({ language });
        WebHosts::setBaseOverride(QString());
        const InfoDictionary& info = InfoDictionary::mainBundle();
        QCOMPARE(ZelTutorialView::pageUrl(),
            QUrl(QStringLiteral("https://") + info.string(QStringLiteral("Q3HelpWebHost"))
                + QStringLiteral("/single.html?lang=") + lang
                + QStringLiteral("&device=q3dart&platform=iosglide&type=1")));
        QCOMPARE(ZelMFiGameView::pageUrl(),
            QUrl(QStringLiteral("http://") + info.string(QStringLiteral("Q3MakerWebHost")) + gameList));

        // The demo's override replaces scheme and host of both.
        WebHosts::setBaseOverride(m_pages.baseUrl() + QStringLiteral("/"));
        QCOMPARE(ZelMFiGameView::pageUrl(), QUrl(m_pages.baseUrl() + gameList));
        QVERIFY(ZelTutorialView::pageUrl().toString().startsWith(
            m_pages.baseUrl() + QStringLiteral("/single.html?lang=") + lang));
    }

    void pageLoadsOnceFromTheServerNotTheCache()
    {
        Localization::shared().setPreferredLanguages({ QStringLiteral("ja-JP") });
        ZelTutorialView view;
        view.resize(800, 500);
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        bool ok = false;
        QVERIFY(waitForLoad(web, &ok));
        QVERIFY(ok);
        QCOMPARE(m_pages.count(QStringLiteral("/single.html")), 1);
        // The engine may still be asking for an earlier page's icon.
        const PageServer::Request first = *std::find_if(m_pages.requests.begin(), m_pages.requests.end(),
            [](const PageServer::Request& r) { return r.path == QLatin1String("/single.html"); });
        QCOMPARE(first.query, QStringLiteral("lang=ja&device=q3dart&platform=iosglide&type=1"));
        QCOMPARE(first.cacheControl, QByteArray("no-cache"));
        QCOMPARE(first.pragma, QByteArray("no-cache"));

        // Closing and reopening shows the page as it is.
        const QUrl shown = web->url();
        view.setHidden(true);
        view.setHidden(false);
        QCOMPARE(runScript(web, QStringLiteral("document.title")).toString(), QStringLiteral("single.html"));
        QCOMPARE(m_pages.count(QStringLiteral("/single.html")), 1);
        QCOMPARE(web->url(), shown);
    }

    // No flash before the first page: its area wears the screen's colour
    // until the page paints. Windows are composed with OpenGL only where it
    // can work, never on the offscreen platform, and a choice already made
    // in the environment stands.
    void theFirstPageAppearsWithoutAFlash()
    {
        ZelMFiGameView view;
        view.resize(800, 500);
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        QVERIFY(web);
        QCOMPARE(web->page()->backgroundColor(), view.palette().color(QPalette::Window));
        QVERIFY(web->page()->backgroundColor() != QColor(Qt::white));

        const QByteArray before = qgetenv("QT_WIDGETS_RHI");
        qunsetenv("QT_WIDGETS_RHI");
        QVERIFY(!WebPageModule::prepareWindows());
        QVERIFY(!qEnvironmentVariableIsSet("QT_WIDGETS_RHI"));
        qputenv("QT_WIDGETS_RHI", "1");
        QVERIFY(WebPageModule::prepareWindows());
        qputenv("QT_WIDGETS_RHI", "0");
        QVERIFY(!WebPageModule::prepareWindows());
        if (before.isNull())
            qunsetenv("QT_WIDGETS_RHI");
        else
            qputenv("QT_WIDGETS_RHI", before);
    }

    void storeLinkAsksBeforeLeavingAndKeepsThePage()
    {
        ZelMFiGameView view;
        view.resize(800, 500);
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        QVERIFY(waitForLoad(web));
        const QUrl list = web->url();
        QCOMPARE(list.path(), QStringLiteral("/mfi2.html"));
        const QUrl store(WebHosts::appStorePrefix() + kStoreItem);

        // Cancel: nothing leaves.
        QWidget* presenter = ZelTool::getCurrentViewController();
        clickLink(web, QStringLiteral("store"));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        QMessageBox* alert = visibleAlert();
        QCOMPARE(alert->parentWidget(), presenter);
        // A desktop question: what opens, where, and Cancel unless the user chooses.
        QCOMPARE(alert->text(), localized("OpenStoreItemPrompt").arg(QStringLiteral("Game")));
        QVERIFY(alert->text().contains(QStringLiteral("Game")));
        QVERIFY(alert->informativeText().contains(store.toString()));
        auto* confirm = alert->findChild<QPushButton*>(QStringLiteral("confirmButton"));
        auto* cancel = alert->findChild<QPushButton*>(QStringLiteral("cancelButton"));
        QVERIFY(confirm && cancel);
        QCOMPARE(confirm->text(), localized("OpenInBrowser"));
        QCOMPARE(cancel->text(), localized("Cancel"));
        QCOMPARE(alert->defaultButton(), cancel);
        QTest::keyClick(alert, Qt::Key_Return); // Enter answers with the default
        QVERIFY(waitUntil([] { return visibleAlert() == nullptr; }));
        QVERIFY(m_opener.opened.isEmpty());
        clickLink(web, QStringLiteral("store"));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        visibleAlert()->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(waitUntil([] { return visibleAlert() == nullptr; }));
        QVERIFY(m_opener.opened.isEmpty());

        // Confirm: the address goes to the desktop, the page stays.
        clickLink(web, QStringLiteral("store"));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        visibleAlert()->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
        QCOMPARE(m_opener.opened, QList<QUrl> { store });
        QCOMPARE(runScript(web, QStringLiteral("document.title")).toString(), QStringLiteral("mfi2.html"));
        QCOMPARE(web->url(), list);
        QCOMPARE(m_pages.count(QStringLiteral("/mfi2.html")), 1);
    }

    // Links and scripts that open a new window follow the same rule: the
    // store only after the question, anything else in the page itself.
    void newWindowsFollowTheStoreRule()
    {
        ZelMFiGameView view;
        view.resize(800, 500);
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        QVERIFY(waitForLoad(web));
        const QUrl list = web->url();
        const QUrl store(WebHosts::appStorePrefix() + kStoreItem);

        clickLink(web, QStringLiteral("storeNewWindow"));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        visibleAlert()->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(waitUntil([] { return visibleAlert() == nullptr; }));
        QVERIFY(m_opener.opened.isEmpty());

        runScript(web, QStringLiteral("window.open('%1'); true").arg(store.toString()));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        visibleAlert()->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
        QCOMPARE(m_opener.opened, QList<QUrl> { store });
        QCOMPARE(web->url(), list);

        clickLink(web, QStringLiteral("otherNewWindow"));
        // Loaded, not only asked for: no request of this test reaches the next.
        QVERIFY(waitUntil([&] { return web->title() == QLatin1String("other.html"); }, kWebTimeoutMs));
        QCOMPARE(web->url().path(), QStringLiteral("/other.html"));
        QCOMPARE(m_opener.opened.size(), 1);
    }

    void otherLinksOpenInsideThePage()
    {
        Localization::shared().setPreferredLanguages({ QStringLiteral("zh-Hans") });
        ZelMFiGameView view;
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        QVERIFY(waitForLoad(web));
        QCOMPARE(web->url().path(), QStringLiteral("/mfi2_zh.html"));
        // The store's address later in an address does not count.
        clickLink(web, QStringLiteral("storeInQuery"));
        QVERIFY(waitUntil([&] { return web->title() == QLatin1String("go"); }, kWebTimeoutMs));
        QCOMPARE(m_pages.count(QStringLiteral("/go")), 1);
        clickLink(web, QStringLiteral("other"));
        QVERIFY(waitUntil([&] { return web->title() == QLatin1String("other.html"); }, kWebTimeoutMs));
        QCOMPARE(web->url().path(), QStringLiteral("/other.html"));
        QCOMPARE(m_pages.count(QStringLiteral("/other.html")), 1);
        QVERIFY(!visibleAlert());
        QVERIFY(m_opener.opened.isEmpty());
    }

    // Links off the configured web hosts go to the desktop's browser, also
    // from a new window, and never load in the page; file: and data: go
    // nowhere. A link on the host still opens inside.
    void linksOffTheWebHostsLeaveForTheBrowser()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_opener, "openUrl");
        ZelMFiGameView view;
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        QVERIFY(waitForLoad(web));
        clickLink(web, QStringLiteral("elsewhere"));
        QVERIFY(waitUntil([&] { return m_opener.opened.size() == 1; }, kWebTimeoutMs));
        QCOMPARE(m_opener.opened.first(), QUrl(m_pages.elsewhereUrl()));
        clickLink(web, QStringLiteral("elsewhereNewWindow"));
        QVERIFY(waitUntil([&] { return m_opener.opened.size() == 2; }, kWebTimeoutMs));
        clickLink(web, QStringLiteral("file"));
        clickLink(web, QStringLiteral("data"));
        clickLink(web, QStringLiteral("other"));
        QVERIFY(waitUntil([&] { return web->title() == QLatin1String("other.html"); }, kWebTimeoutMs));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(m_opener.opened.size(), 2);
        QCOMPARE(m_pages.count(QStringLiteral("/elsewhere.html")), 0);
        QVERIFY(!visibleAlert());
    }

    // A page made through the module as the screen makes it, without a
    // prefix: an empty prefix would otherwise begin every address.
    void withoutAPrefixNothingGoesToTheStore()
    {
        QList<QUrl> asked;
        QWidget area;
        WebPage::Settings settings;
        settings.url = QUrl(m_pages.baseUrl() + QStringLiteral("/list.html"));
        settings.allowedOrigins = { m_pages.baseUrl() };
        settings.storeLinkRequested = [&asked](const QUrl& url) { asked.append(url); };
        WebPage* page = WebPageModule::show(&area, settings);
        area.show();
        QWebEngineView* web = engineView(page);
        QVERIFY(waitForLoad(web));
        clickLink(web, QStringLiteral("other"));
        QVERIFY(waitUntil([&] { return page->title() == QLatin1String("other.html"); }, kWebTimeoutMs));
        QVERIFY(asked.isEmpty());
    }

    // A server that never answers: the load stops at the time limit and the
    // offline copy shows, with its note; nothing asks again until Retry.
    void silentServerIsStoppedAtTheTimeLimitAndRetriedOnlyOnRequest()
    {
        ToastRecorder toasts;
        TestHttpServer silent;
        silent.answer = false;
        WebHosts::setBaseOverride(silent.baseUrl());
        std::unique_ptr<ZelTutorialView> view;
        {
            TimeScale fast(0.05); // the 20-second limit in one second, armed with the screen
            view = std::make_unique<ZelTutorialView>();
            view->show();
            QVERIFY(waitUntil([&] { return view->webPage->isOffline(); }, kWebTimeoutMs));
        }
        QVERIFY(showsOfflineCopy(*view, QStringLiteral("single_en.html")));
        QVERIFY(toasts.toasts().empty()); // said on the screen, not in a toast
        const qsizetype asked = silent.targets.size();
        QVERIFY(asked <= 1);

        view->setHidden(true);
        view->setHidden(false);
        runScript(engineView(view->webPage), QStringLiteral("1"));
        QCOMPARE(silent.targets.size(), asked);

        // Retry asks the site again; while it does, the copy stays and the
        // button waits; the site answers at last.
        silent.answer = true;
        QTest::mouseClick(view->retryButton, Qt::LeftButton);
        QVERIFY(!view->retryButton->isEnabled());
        QVERIFY(waitUntil([&] { return !view->webPage->isOffline() && view->offlineBar->isHidden(); }, kWebTimeoutMs));
        QCOMPARE(engineView(view->webPage)->url().path(), QStringLiteral("/single.html"));
    }

    // Nobody listening, or a server that fails: the copy that ships, in the
    // user's language, for both pages; and a Retry that still finds nobody
    // keeps it.
    void anUnreachableSiteShowsTheOfflineCopyInEveryLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("tutorial");
        QTest::addColumn<QString>("games");
        QTest::addColumn<int>("status"); // 0: nobody listening
        QTest::newRow("en, refused") << "en-US"
                                     << "single_en.html"
                                     << "mfi2.html" << 0;
        QTest::newRow("zh, server error") << "zh-Hans"
                                          << "single_zh.html"
                                          << "mfi2_zh.html" << 500;
        QTest::newRow("ja, refused") << "ja-JP"
                                     << "single_ja.html"
                                     << "mfi2_ja.html" << 0;
    }
    void anUnreachableSiteShowsTheOfflineCopyInEveryLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, tutorial);
        QFETCH(QString, games);
        QFETCH(int, status);
        Localization::shared().setPreferredLanguages({ language });
        TestHttpServer failing;
        failing.status = 500;
        WebHosts::setBaseOverride(status ? failing.baseUrl() : QStringLiteral("http://127.0.0.1:%1").arg(unusedPort()));
        ZelTutorialView tutorialView;
        tutorialView.resize(800, 500);
        tutorialView.show();
        ZelMFiGameView gamesView;
        gamesView.resize(800, 500);
        gamesView.show();
        QVERIFY(showsOfflineCopy(tutorialView, tutorial));
        QVERIFY(showsOfflineCopy(gamesView, games));
        QCOMPARE(tutorialView.offlineLabel->text(), localized("WebPageOfflineNote"));
        QVERIFY(!tutorialView.offlineLabel->text().isEmpty());
        QCOMPARE(runScript(engineView(tutorialView.webPage), QStringLiteral("document.documentElement.lang"))
                     .toString()
                     .left(2),
            language.left(2));

        QTest::mouseClick(gamesView.retryButton, Qt::LeftButton);
        QVERIFY(waitUntil([&] { return gamesView.retryButton->isEnabled(); }, kWebTimeoutMs));
        QVERIFY(showsOfflineCopy(gamesView, games));

        // The copy's store links ask as the site's do.
        runScript(engineView(gamesView.webPage), QStringLiteral("document.querySelector('a.get').click(); true"));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        QCOMPARE(visibleAlert()->text(), localized("OpenStoreItemPrompt").arg(QStringLiteral("Neon Drift")));
        visibleAlert()->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(waitUntil([] { return visibleAlert() == nullptr; }));
    }

    // Without a browser the link is shown, to be copied.
    void withoutABrowserTheLinkIsShownToCopy()
    {
        // The offscreen platform starts no browser: as a desktop without one.
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        ZelMFiGameView view;
        view.show();
        QWebEngineView* web = engineView(view.webPage);
        QVERIFY(waitForLoad(web));
        const QUrl store(WebHosts::appStorePrefix() + kStoreItem);
        clickLink(web, QStringLiteral("store"));
        QVERIFY(waitUntil([] { return visibleAlert() != nullptr; }, kWebTimeoutMs));
        visibleAlert()->findChild<QPushButton*>(QStringLiteral("confirmButton"))->click();
        QMessageBox* dialog = nullptr;
        QVERIFY(waitUntil([&] {
            dialog = view.findChild<QMessageBox*>(QStringLiteral("linkDialog"));
            return dialog && dialog->isVisible();
        }));
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_opener, "openUrl");
        QCOMPARE(dialog->text(), localized("NoBrowserPrompt"));
        QCOMPARE(dialog->informativeText(), store.toString(QUrl::FullyEncoded));
        QGuiApplication::clipboard()->clear();
        dialog->findChild<QPushButton*>(QStringLiteral("copyLinkButton"))->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), store.toString(QUrl::FullyEncoded));
        QVERIFY(waitUntil([&] { return !view.findChild<QMessageBox*>(QStringLiteral("linkDialog")); }));
        QVERIFY(m_opener.opened.isEmpty());
    }

    void storeAddressesNameTheirGame()
    {
        QCOMPARE(ZelMFiGameView::storeItemName(QUrl(QStringLiteral("https://s.example/app/neon-drift/id1000000001"))),
            QStringLiteral("Neon Drift"));
        QCOMPARE(ZelMFiGameView::storeItemName(QUrl(QStringLiteral("https://s.example/jp/app/2048/id7/"))),
            QStringLiteral("2048"));
        for (const char* nameless :
            { "https://s.example/app/id1", "https://s.example/app/Neon_Drift/id1", "https://s.example/app/neon-drift",
                "https://s.example/app/neon--drift/id1", "https://s.example/app/%3Cb%3Ex%3C%2Fb%3E/id1" })
            QVERIFY2(ZelMFiGameView::storeItemName(QUrl(QString::fromLatin1(nameless))).isEmpty(), nameless);
    }

    // --simulate takes the pages from their configured hosts, which a run
    // cannot reach (placeholders, or no network): both screens show their
    // copies. The demo's web server starts only when asked.
    void theSimulatedRunShowsTheOfflineCopies()
    {
        WebHosts::setBaseOverride(QString());
        DemoEnvironment demo(QDir::tempPath(), QStringLiteral("http://127.0.0.1:1"), DemoEnvironment::Servers::Later,
            DemoEnvironment::WebPages::FromTheSite);
        demo.startServers();
        QVERIFY(demo.webUrl().isEmpty());
        QVERIFY(ZelTutorialView::pageUrl().host().endsWith(QLatin1String(".example")));
        ZelTutorialView tutorial;
        tutorial.resize(800, 500);
        tutorial.show();
        ZelMFiGameView games;
        games.resize(800, 500);
        games.show();
        QVERIFY(showsOfflineCopy(tutorial, QStringLiteral("single_en.html")));
        QVERIFY(showsOfflineCopy(games, QStringLiteral("mfi2.html")));
        demo.serveWebPages();
        QVERIFY(!demo.webUrl().isEmpty());
        QCOMPARE(WebHosts::makerBaseUrl(), demo.webUrl());
    }

    void demoServesThePagesInEveryLanguage()
    {
        // The application starts the servers once its first screen is up.
        DemoEnvironment demo(QDir::tempPath(), QStringLiteral("http://127.0.0.1:1"), DemoEnvironment::Servers::Later);
        QVERIFY(demo.webUrl().isEmpty());
        demo.startServers();
        const QString started = demo.webUrl();
        demo.startServers(); // once only: the same server
        QCOMPARE(demo.webUrl(), started);
        QVERIFY(!demo.webUrl().isEmpty());
        QCOMPARE(WebHosts::makerBaseUrl(), demo.webUrl());
        QNetworkAccessManager network;
        const auto get = [&](const QString& path) {
            QNetworkReply* reply = network.get(QNetworkRequest(QUrl(demo.webUrl() + path)));
            waitUntil([reply] { return reply->isFinished(); });
            const QByteArray body = reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
            reply->deleteLater();
            return QString::fromUtf8(body);
        };
        for (const QString& language : { QStringLiteral("en"), QStringLiteral("zh-Hans"), QStringLiteral("ja-JP") }) {
            Localization::shared().setPreferredLanguages({ language });
            const QString list = get(ZelMFiGameView::pageUrl().path());
            QVERIFY2(list.contains(WebHosts::appStorePrefix()), qPrintable(language));
            const QUrl tutorial = ZelTutorialView::pageUrl();
            QVERIFY(get(tutorial.path() + QStringLiteral("?") + tutorial.query())
                        .contains(QStringLiteral("<html lang=\"") + language.left(2)));
        }
        QVERIFY(get(QStringLiteral("/mfi2_zh.html")).contains(QStringLiteral("适用于")));
        QVERIFY(get(QStringLiteral("/mfi2_ja.html")).contains(QStringLiteral("対応ゲーム")));
        // Only the pages that ship: nothing else of the resources, no other language.
        QVERIFY(get(QStringLiteral("/single.html?lang=xx")).contains(QStringLiteral("<html lang=\"en\"")));
        QVERIFY(get(QStringLiteral("/Info.plist")).isEmpty());
        QVERIFY(get(QStringLiteral("/..%2FInfo.plist")).isEmpty());
    }
};

QTEST_MAIN(TestWebViews)
#include "tst_webviews.moc"
