#include "views/ZelMFiGameView.h"

#include "platform/Localization.h"
#include "platform/WebHosts.h"
#include "ui_ZelMFiGameContentView.h"
#include "views/PageLoader.h"
#include "views/ZelMFiGamePage.h"
#include "views/ZelTool.h"

ZelMFiGameView::ZelMFiGameView(QWidget* parent)
    : ZelBaseView(parent)
{
    commonInit();
}

void ZelMFiGameView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelMFiGameContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    webView = ui.webView;
    webView->setAccessibleName(localized("MFiGame"));
    webView->setAccessibleDescription(localized("MFiGameDescription"));
    // Before the first load, so that every navigation passes the store rule.
    webView->setPage(new ZelMFiGamePage(webView));
    ui.titleLabel->setText(localized("MFiGame"));
    connect(ui.closeButton, &QPushButton::clicked, this, &ZelMFiGameView::closeAction);

    // Loaded here only: reopening the screen shows the page as it is.
    PageLoader::load(webView, pageUrl());
}

void ZelMFiGameView::closeAction()
{
    if (closeBlock)
        closeBlock();
}

QUrl ZelMFiGameView::pageUrl()
{
    // Japanese is tested before Chinese; every other language gets the default list.
    const unsigned language = ZelTool::getSystemLanguage();
    const QString path = language == ZelTool::Japanese ? QStringLiteral("/mfi2_ja.html")
        : language == ZelTool::Chinese                  ? QStringLiteral("/mfi2_zh.html")
                                                        : QStringLiteral("/mfi2.html");
    return QUrl(WebHosts::makerBaseUrl() + path);
}
