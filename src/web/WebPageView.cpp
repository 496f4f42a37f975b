#include "web/WebPageView.h"

#include "web/PageLoader.h"
#include "web/ZelMFiGamePage.h"

WebPageView::WebPageView(QWidget* parent, const WebPage::Settings& settings)
    : QWebEngineView(parent)
{
    // Before the first load, so that every navigation passes the link rule.
    setPage(new ZelMFiGamePage(settings, this));
    PageLoader::load(this, settings.url, settings.timeoutMs);
}

extern "C" Q_DECL_EXPORT WebPage* q3dart_create_web_page_v2(QWidget* parent, const WebPage::Settings& settings)
{
    return new WebPageView(parent, settings);
}
