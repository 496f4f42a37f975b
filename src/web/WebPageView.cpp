#include "web/WebPageView.h"

#include "web/PageLoader.h"
#include "web/ZelMFiGamePage.h"

WebPageView::WebPageView(QWidget* parent, const WebPage::Settings& settings)
    : QWebEngineView(parent)
{
    // Before the first load, so that every navigation passes the store rule.
    if (settings.storeLinkRequested)
        setPage(new ZelMFiGamePage(settings.storePrefix, settings.storeLinkRequested, this));
    PageLoader::load(this, settings.url, settings.timeoutMs);
}

extern "C" Q_DECL_EXPORT WebPage* q3dart_create_web_page_v1(QWidget* parent, const WebPage::Settings& settings)
{
    return new WebPageView(parent, settings);
}
