#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

// A web page screen's page, made by the web module (WebPageModule loads it).
// Inline and without Q_OBJECT on purpose: the module then needs no symbol of
// the application, and the application none of the web engine.
class WebPage {
public:
    // Everything the page knows of the application; the module shares none of
    // its state (a copy of the core linked into it would diverge unseen).
    struct Settings {
        // Loaded once, from the server rather than any cached copy.
        QUrl url;
        // That load is stopped when it has not finished by then; 0 waits for ever.
        int timeoutMs = 0;
        // With a handler, addresses beginning with storePrefix (an empty
        // prefix begins none) go to it instead of opening in the page, also
        // from a new window; any other address a new window asks for opens
        // in the page. Without one, new windows are not opened.
        QString storePrefix;
        std::function<void(const QUrl&)> storeLinkRequested;
        // The page follows links only to these origins ("scheme://host[:port]",
        // http or https); another http or https address goes to
        // externalLinkRequested (the desktop's browser) from the main frame,
        // and nowhere from a frame inside; no other scheme ever loads.
        QStringList allowedOrigins;
        std::function<void(const QUrl&)> externalLinkRequested;
        // When url cannot be loaded (no network, an error from the server,
        // the time limit), this copy of it is shown instead, and
        // offlineChanged hears of it; it hears again when a retry brings
        // the page itself. Without an offline copy a failed load shows nothing.
        QUrl offlineUrl;
        std::function<void(bool offline)> offlineChanged;
        // What the page area shows before the page's first paint.
        QColor background;
    };

    virtual ~WebPage() = default;

    // The page's widget, owned by the parent it was made with; the page goes with it.
    virtual QWidget* widget() = 0;
    virtual QUrl url() const = 0;
    virtual QString title() const = 0;
    virtual bool isLoading() const = 0;
    // Whether the offline copy is shown in place of the page.
    virtual bool isOffline() const = 0;
    // Loads the page again from the server, within the same time limit.
    virtual void retry() = 0;
};

// The module's one entry point. The version in its name refuses a module
// built against another shape of this interface instead of misusing it.
using WebPageFactory = WebPage* (*)(QWidget* parent, const WebPage::Settings& settings);
#define Q3DART_WEB_PAGE_FACTORY "q3dart_create_web_page_v3"
