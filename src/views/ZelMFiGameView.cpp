#include "views/ZelMFiGameView.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/WebHosts.h"
#include "ui_ZelMFiGameContentView.h"
#include "views/ZelTool.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

ZelMFiGameView::ZelMFiGameView(QWidget* parent)
    : WebPageScreen(parent)
{
    commonInit();
}

void ZelMFiGameView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelMFiGameContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    ui.titleLabel->setText(localized("MFiGame"));
    connect(ui.closeButton, &QPushButton::clicked, this, &ZelMFiGameView::closeAction);

    // Loaded here only: reopening the screen shows the page as it is.
    WebPage::Settings settings;
    settings.url = pageUrl();
    settings.offlineUrl = offlineUrl();
    settings.storePrefix = WebHosts::appStorePrefix();
    settings.storeLinkRequested = [this](const QUrl& url) { askToOpenInAppStore(url); };
    showPage(ui.rootLayout, ui.pageArea, settings);
    if (webPage) {
        webPage->widget()->setAccessibleName(localized("MFiGame"));
        webPage->widget()->setAccessibleDescription(localized("MFiGameDescription"));
    }
}

// Japanese is tested before Chinese; every other language gets the default list.
static QString pageName()
{
    const unsigned language = ZelTool::getSystemLanguage();
    return language == ZelTool::Japanese ? QStringLiteral("mfi2_ja.html")
        : language == ZelTool::Chinese   ? QStringLiteral("mfi2_zh.html")
                                         : QStringLiteral("mfi2.html");
}

QUrl ZelMFiGameView::pageUrl()
{
    return QUrl(WebHosts::makerBaseUrl() + QLatin1Char('/') + pageName());
}

QUrl ZelMFiGameView::offlineUrl()
{
    return offlineCopy(pageName());
}

void ZelMFiGameView::askToOpenInAppStore(const QUrl& url)
{
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
