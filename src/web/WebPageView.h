#pragma once

#include "views/WebPage.h"

#include <QWebEngineView>

// The web engine's view behind a web page screen, with the page's rules
// from its settings; made by the module's factory. When the page cannot be
// loaded it shows the offline copy the settings name.
class WebPageView : public QWebEngineView, public WebPage {
public:
    WebPageView(QWidget* parent, const WebPage::Settings& settings);

    QWidget* widget() override { return this; }
    QUrl url() const override { return QWebEngineView::url(); }
    QString title() const override { return QWebEngineView::title(); }
    bool isLoading() const override { return page()->isLoading(); }
    bool isOffline() const override { return m_offline; }
    void retry() override;

private:
    void loadPage();
    void setOffline(bool offline);

    WebPage::Settings m_settings;
    bool m_offline = false;
};
