#include "views/ZelMFiGamePage.h"

#include "platform/Localization.h"
#include "platform/WebHosts.h"
#include "views/ZelTool.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

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
