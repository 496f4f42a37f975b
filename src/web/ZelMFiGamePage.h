#pragma once

#include "views/WebPage.h"

#include <QString>
#include <QWebEnginePage>

#include <functional>

// The web page screens' page: addresses on the App Store do not open inside
// the application; they go to the handler, which asks the user whether to
// leave for the store. Other addresses open inside only on the configured
// web hosts; elsewhere they go to the desktop's browser, and addresses of any
// other scheme (file:, data:, javascript: …) never load.
class ZelMFiGamePage : public QWebEnginePage {
    Q_OBJECT
public:
    // An empty store prefix sends nothing to the store; without a store
    // handler no new window opens.
    ZelMFiGamePage(const WebPage::Settings& settings, QObject* parent = nullptr);

    bool isAppStoreUrl(const QUrl& url) const;
    // Whether url may load inside the page: http or https on an allowed
    // origin, or the offline copy the application ships.
    bool isAllowedUrl(const QUrl& url) const;

    // A link or script that opens a new window (target="_blank",
    // window.open) gets a page that only catches its address: a store
    // address goes to the handler, any other opens here.
    void openFromNewWindow(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    // Where an address that may not load goes: the browser, or nowhere.
    void sendAway(const QUrl& url, bool isMainFrame);

    QString m_appStorePrefix;
    std::function<void(const QUrl&)> m_storeLinkRequested;
    QStringList m_allowedOrigins;
    std::function<void(const QUrl&)> m_externalLinkRequested;
    QUrl m_offlineUrl;
};
