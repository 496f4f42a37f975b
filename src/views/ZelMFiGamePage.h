#pragma once

#include <QString>
#include <QWebEnginePage>

// The game list's page: addresses on the App Store do not open inside the
// application; the user is asked whether to leave for the store instead.
// Every other address opens as usual.
class ZelMFiGamePage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit ZelMFiGamePage(QObject* parent = nullptr);

    // The configured App Store address prefix unless replaced; an empty
    // prefix sends nothing to the store.
    QString appStorePrefix() const { return m_appStorePrefix; }
    void setAppStorePrefix(const QString& prefix) { m_appStorePrefix = prefix; }

    bool isAppStoreUrl(const QUrl& url) const;

    // Refuses store addresses, after putting up the question.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // A link or script that opens a new window (target="_blank",
    // window.open) gets a page that only catches its address: a store
    // address goes through the same question, any other opens here.
    QWebEnginePage* createWindow(WebWindowType type) override;
    void openFromNewWindow(const QUrl& url);

private:
    void askToOpenInAppStore(const QUrl& url);

    QString m_appStorePrefix;
};
