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

ZelMFiGamePage::ZelMFiGamePage(const WebPage::Settings& settings, QObject* parent)
    : QWebEnginePage(parent)
    , m_appStorePrefix(settings.storePrefix)
    , m_storeLinkRequested(settings.storeLinkRequested)
    , m_allowedOrigins(settings.allowedOrigins)
    , m_externalLinkRequested(settings.externalLinkRequested)
    , m_offlineUrl(settings.offlineUrl)
{
}

bool ZelMFiGamePage::isAllowedUrl(const QUrl& url) const
{
    // That one page exactly, wherever its links point.
    if (m_offlineUrl.isValid() && url.adjusted(QUrl::RemoveFragment) == m_offlineUrl)
        return true;
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return false;
    // The origin exactly: a host that only begins like an allowed one
    // ("h.example.evil" for "h.example") is another host.
    const QString origin
        = url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
              .toString(QUrl::StripTrailingSlash);
    for (const QString& allowed : m_allowedOrigins)
        if (QUrl(allowed).adjusted(QUrl::StripTrailingSlash).toString() == origin)
            return true;
    return false;
}

void ZelMFiGamePage::sendAway(const QUrl& url, bool isMainFrame)
{
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (web && isMainFrame && m_externalLinkRequested)
        m_externalLinkRequested(url);
}

bool ZelMFiGamePage::isAppStoreUrl(const QUrl& url) const
{
    // An empty prefix would begin every address.
    return !m_appStorePrefix.isEmpty() && QString::fromUtf8(url.toEncoded()).startsWith(m_appStorePrefix);
}

bool ZelMFiGamePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    // The handlers return at once: the web engine waits for the answer to this navigation.
    if (isAppStoreUrl(url) && m_storeLinkRequested) {
        m_storeLinkRequested(url);
        return false;
    }
    // A frame's blank start page holds nothing of anyone's.
    if (!isMainFrame && url.scheme() == QLatin1String("about"))
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    if (!isAllowedUrl(url)) {
        sendAway(url, isMainFrame);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage* ZelMFiGamePage::createWindow(WebWindowType)
{
    return m_storeLinkRequested ? new NewWindowCatcher(this) : nullptr;
}

void ZelMFiGamePage::openFromNewWindow(const QUrl& url)
{
    if (isAppStoreUrl(url) && m_storeLinkRequested)
        m_storeLinkRequested(url);
    else if (isAllowedUrl(url))
        setUrl(url);
    else
        sendAway(url, true);
}
