#include "views/WebPageScreen.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/WebHosts.h"
#include "views/ExternalLink.h"
#include "views/WebPageModule.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kBarMarginX = 20;
constexpr int kBarMarginY = 8;
constexpr int kBarSpacing = 14;
}

WebPageScreen::WebPageScreen(QWidget* parent)
    : ZelBaseView(parent)
{
}

QUrl WebPageScreen::offlineCopy(const QString& fileName)
{
    return QUrl(QStringLiteral("qrc:/offline-web/") + fileName);
}

void WebPageScreen::showPage(QVBoxLayout* layout, QWidget* pageArea, WebPage::Settings settings)
{
    offlineBar = new QWidget(this);
    offlineBar->setObjectName(QStringLiteral("offlineBar"));
    offlineBar->setProperty("role", QStringLiteral("offlineBar"));
    offlineBar->setAttribute(Qt::WA_StyledBackground, true);
    auto* bar = new QHBoxLayout(offlineBar);
    bar->setContentsMargins(kBarMarginX, kBarMarginY, kBarMarginX, kBarMarginY);
    bar->setSpacing(kBarSpacing);
    offlineLabel = new QLabel(localized("WebPageOfflineNote"), offlineBar);
    offlineLabel->setObjectName(QStringLiteral("offlineLabel"));
    offlineLabel->setProperty("role", QStringLiteral("warning"));
    offlineLabel->setWordWrap(true);
    bar->addWidget(offlineLabel, 1);
    retryButton = new QPushButton(localized("Retry"), offlineBar);
    retryButton->setObjectName(QStringLiteral("retryButton"));
    retryButton->setAccessibleDescription(localized("WebPageRetryDescription"));
    connect(retryButton, &QAbstractButton::clicked, this, &WebPageScreen::retryAction);
    bar->addWidget(retryButton);
    offlineBar->setHidden(true);
    layout->insertWidget(layout->indexOf(pageArea), offlineBar);

    settings.allowedOrigins = WebHosts::pageOrigins();
    settings.background = palette().color(QPalette::Window);
    QPointer<WebPageScreen> self(this);
    settings.externalLinkRequested = [self](const QUrl& url) { ExternalLink::open(url, self); };
    settings.offlineChanged = [self](bool offline) {
        if (self)
            self->offlineChanged(offline);
    };
    webPage = WebPageModule::show(pageArea, settings);
}

void WebPageScreen::offlineChanged(bool offline)
{
    offlineBar->setHidden(!offline);
    retryButton->setEnabled(true);
}

void WebPageScreen::retryAction()
{
    if (!webPage)
        return;
    // Disabled, not hidden, until the answer: the keyboard's focus stays on it.
    retryButton->setEnabled(false);
    webPage->retry();
}

void WebPageScreen::closeAction()
{
    if (closeBlock)
        closeBlock();
}
