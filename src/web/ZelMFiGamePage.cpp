#include "web/ZelMFiGamePage.h"

namespace {

// The page a new window would show: it hands the window's first real
// address back to the game list and goes away.
class NewWindowCatcher : public QWebEnginePage {
public:
    NewWindowCatcher(ZelMFiGamePage* owner)
        : QWebEnginePage(owner->profile(), owner)
        , m_owner(owner)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        // window.open() without an address starts on a blank page first.
        if (!isMainFrame || url.isEmpty() || url.scheme() == QLatin1String("about"))
            return true;
        if (!m_handed) {
            m_handed = true;
            m_owner->openFromNewWindow(url);
            deleteLater();
        }
        return false;
    }

private:
    ZelMFiGamePage* m_owner;
    bool m_handed = false;
};

} // namespace

ZelMFiGamePage::ZelMFiGamePage(const QString& appStorePrefix, std::function<void(const QUrl&)> storeLinkRequested,
                               QObject* parent)
    : QWebEnginePage(parent)
    , m_appStorePrefix(appStorePrefix)
    , m_storeLinkRequested(std::move(storeLinkRequested))
{
}

bool ZelMFiGamePage::isAppStoreUrl(const QUrl& url) const
{
    // An empty prefix would begin every address.
    return !m_appStorePrefix.isEmpty() && QString::fromUtf8(url.toEncoded()).startsWith(m_appStorePrefix);
}

bool ZelMFiGamePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (!isAppStoreUrl(url))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    // The handler returns at once: the web engine waits for the answer to this navigation.
    m_storeLinkRequested(url);
    return false;
}

QWebEnginePage* ZelMFiGamePage::createWindow(WebWindowType)
{
    return new NewWindowCatcher(this);
}

void ZelMFiGamePage::openFromNewWindow(const QUrl& url)
{
    if (isAppStoreUrl(url))
        m_storeLinkRequested(url);
    else
        setUrl(url);
}
