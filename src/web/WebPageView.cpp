#include "web/WebPageView.h"

#include "web/PageLoader.h"
#include "web/ZelMFiGamePage.h"

#include <QPointer>
#include <QWebEngineSettings>

WebPageView::WebPageView(QWidget* parent, const WebPage::Settings& settings)
    : QWebEngineView(parent)
    , m_settings(settings)
{
    // Before the first load, so that every navigation passes the link rule.
    auto* page = new ZelMFiGamePage(settings, this);
    // Until the page paints, the screen's own colour, not the engine's white;
    // and no page of the engine's own for a failure, which the offline copy replaces.
    if (settings.background.isValid())
        page->setBackgroundColor(settings.background);
    if (settings.offlineUrl.isValid())
        page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    setPage(page);
    loadPage();
}

void WebPageView::loadPage()
{
    QPointer<WebPageView> self(this);
    PageLoader::load(this, m_settings.url, m_settings.timeoutMs, [self](bool ok) {
        if (!self)
            return;
        if (!ok && self->m_settings.offlineUrl.isValid()) {
            // Said once the copy is there to be seen.
            QObject::connect(
                self, &QWebEngineView::loadFinished, self, [self] { self->setOffline(true); },
                Qt::SingleShotConnection);
            self->load(self->m_settings.offlineUrl);
        } else if (ok) {
            self->setOffline(false);
        }
    });
}

void WebPageView::retry()
{
    loadPage();
}

void WebPageView::setOffline(bool offline)
{
    m_offline = offline;
    if (m_settings.offlineChanged)
        m_settings.offlineChanged(offline);
}

extern "C" Q_DECL_EXPORT WebPage* q3dart_create_web_page_v3(QWidget* parent, const WebPage::Settings& settings)
{
    return new WebPageView(parent, settings);
}
