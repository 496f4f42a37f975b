#pragma once

#include <QString>
#include <QWebEnginePage>

#include <functional>

// The game list's page: addresses on the App Store do not open inside the
// application; they go to the handler, which asks the user whether to leave
// for the store. Every other address opens as usual.
class ZelMFiGamePage : public QWebEnginePage {
    Q_OBJECT
public:
    // An empty prefix sends nothing to the store.
    ZelMFiGamePage(const QString& appStorePrefix, std::function<void(const QUrl&)> storeLinkRequested,
                   QObject* parent = nullptr);

    bool isAppStoreUrl(const QUrl& url) const;

    // A link or script that opens a new window (target="_blank",
    // window.open) gets a page that only catches its address: a store
    // address goes to the handler, any other opens here.
    void openFromNewWindow(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    QString m_appStorePrefix;
    std::function<void(const QUrl&)> m_storeLinkRequested;
};
