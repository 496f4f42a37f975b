#include "views/ZelTutorialView.h"

#include "platform/Localization.h"
#include "platform/WebHosts.h"
#include "ui_ZelTutorialContentView.h"
#include "views/PageLoader.h"
#include "views/ZelTool.h"

ZelTutorialView::ZelTutorialView(QWidget* parent)
    : ZelBaseView(parent)
{
    commonInit();
}

void ZelTutorialView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelTutorialContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    webView = ui.webView;
    webView->setAccessibleName(localized("GettingStarted"));
    ui.titleLabel->setText(localized("GettingStarted"));
    connect(ui.closeButton, &QPushButton::clicked, this, &ZelTutorialView::closeAction);

    // Loaded here only: reopening the screen shows the page as it is.
    PageLoader::load(webView, pageUrl());
}

void ZelTutorialView::closeAction()
{
    if (closeBlock)
        closeBlock();
}

QUrl ZelTutorialView::pageUrl()
{
    return QUrl(WebHosts::helpBaseUrl()
                + QStringLiteral("/single.html?lang=%1&device=q3dart&platform=iosglide&type=1")
                      .arg(ZelTool::getSystemLanguageShorthand()));
}
