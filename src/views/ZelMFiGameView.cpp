#include "views/ZelMFiGameView.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/WebHosts.h"
#include "ui_ZelMFiGameContentView.h"
#include "views/ExternalLink.h"
#include "views/ZelTool.h"

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>

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

QString ZelMFiGameView::storeItemName(const QUrl& url)
{
    // The words between "app" and the item's number, as stores write them.
    static const QRegularExpression item(QStringLiteral("/app/([a-z0-9]+(?:-[a-z0-9]+)*)/id\\d+/?$"));
    const QRegularExpressionMatch match = item.match(url.path());
    if (!match.hasMatch())
        return QString();
    QStringList words = match.captured(1).split(QLatin1Char('-'));
    for (QString& word : words)
        word[0] = word[0].toUpper();
    return words.join(QLatin1Char(' '));
}

void ZelMFiGameView::askToOpenInAppStore(const QUrl& url)
{
    auto* alert = new QMessageBox(ZelTool::getCurrentViewController());
    alert->setObjectName(QStringLiteral("appStoreAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setIcon(QMessageBox::Question);
    const QString name = storeItemName(url);
    alert->setText(name.isEmpty() ? localized("JumpToAppStorePrompt") : localized("OpenStoreItemPrompt").arg(name));
    // What opens, exactly: the address, encoded, never read as markup.
    alert->setInformativeText(localized("OpenStoreItemAddress").arg(url.toString(QUrl::FullyEncoded)));
    if (auto* label = alert->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
    QPushButton* confirm = alert->addButton(localized("OpenInBrowser"), QMessageBox::AcceptRole);
    QPushButton* cancel = alert->addButton(localized("Cancel"), QMessageBox::RejectRole);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    // Leaving the application is never the default, as no question's default is.
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    QPointer<ZelMFiGameView> self(this);
    connect(confirm, &QPushButton::clicked, confirm, [url, self] { ExternalLink::open(url, self); });
    alert->open();
}
