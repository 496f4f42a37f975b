#include "views/ZelTutorialView.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/WebHosts.h"
#include "ui_ZelTutorialContentView.h"
#include "views/ZelTool.h"

ZelTutorialView::ZelTutorialView(QWidget* parent)
    : WebPageScreen(parent)
{
    commonInit();
}

void ZelTutorialView::commonInit()
{
    auto* content = new QWidget(this);
    Ui::ZelTutorialContentView ui;
    ui.setupUi(content);
    pinContentView(content);

    ui.titleLabel->setText(localized("GettingStarted"));
    connect(ui.closeButton, &QPushButton::clicked, this, &ZelTutorialView::closeAction);

    // Loaded here only: reopening the screen shows the page as it is.
    WebPage::Settings settings;
    settings.url = pageUrl();
    settings.offlineUrl = offlineUrl();
    showPage(ui.rootLayout, ui.pageArea, settings);
    if (webPage)
        webPage->widget()->setAccessibleName(localized("GettingStarted"));
}

QUrl ZelTutorialView::pageUrl()
{
    return QUrl(WebHosts::helpBaseUrl()
        + QStringLiteral("/single.html?lang=%1&device=q3dart&platform=iosglide&type=1")
              .arg(ZelTool::getSystemLanguageShorthand()));
}

QUrl ZelTutorialView::offlineUrl()
{
    return offlineCopy(QStringLiteral("single_%1.html").arg(ZelTool::getSystemLanguageShorthand()));
}
