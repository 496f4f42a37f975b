#pragma once

#include <functional>

class QUrl;
class QWebEngineView;

// How the web page screens load their page: from the server rather than
// from any cached copy, and stopped when it has not finished within
// timeoutMs. Then done hears whether the page came.
class PageLoader {
public:
    static void load(QWebEngineView* view, const QUrl& url, int timeoutMs, std::function<void(bool ok)> done = nullptr);
};
