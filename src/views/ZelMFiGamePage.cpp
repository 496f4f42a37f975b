#include "views/ZelMFiGamePage.h"

#include "platform/Localization.h"
#include "platform/WebHosts.h"
#include "views/ZelTool.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

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

ZelMFiGamePage::ZelMFiGamePage(QObject* parent)
    : QWebEnginePage(parent)
    , m_appStorePrefix(WebHosts::appStorePrefix())
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
    askToOpenInAppStore(url);
    return false;
}

QWebEnginePage* ZelMFiGamePage::createWindow(WebWindowType)
{
    return new NewWindowCatcher(this);
}

void ZelMFiGamePage::openFromNewWindow(const QUrl& url)
{
    if (isAppStoreUrl(url))
        askToOpenInAppStore(url);
    else
        setUrl(url);
}

void ZelMFiGamePage::askToOpenInAppStore(const QUrl& url)
{
    // Not blocking: the web engine is waiting for the answer to this navigation.
    auto* alert = new QMessageBox(ZelTool::getCurrentViewController());
    alert->setObjectName(QStringLiteral("appStoreAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setText(localized("JumpToAppStorePrompt"));
    QPushButton* confirm = alert->addButton(localized("Confirm"), QMessageBox::AcceptRole);
    QPushButton* cancel = alert->addButton(localized("Cancel"), QMessageBox::RejectRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    alert->setDefaultButton(confirm);
    alert->setEscapeButton(cancel);
    connect(confirm, &QPushButton::clicked, confirm, [url] { QDesktopServices::openUrl(url); });
    alert->open();
}
