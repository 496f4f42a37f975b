#pragma once

class QUrl;
class QWebEngineView;

// How the web page screens load their page, once, when they are created: from
// the server rather than from any cached copy, and stopped when it has not
// finished within timeoutMs. A failed or stopped load is left showing
// whatever it shows; nothing is reported and nothing is retried.
class PageLoader {
public:
    static void load(QWebEngineView* view, const QUrl& url, int timeoutMs);
};
