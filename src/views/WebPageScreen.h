#pragma once

#include "views/WebPage.h"
#include "views/ZelBaseView.h"

#include <QPointer>
#include <QUrl>

#include <functional>

class QAbstractButton;
class QLabel;
class QVBoxLayout;

// A screen that shows one web page under its title bar, loaded once when the
// screen is made. When the site cannot be reached it shows the copy of the
// page that ships with the application, says so above it and offers to try
// again; links that leave the site open in the desktop's browser.
class WebPageScreen : public ZelBaseView {
    Q_OBJECT
public:
    explicit WebPageScreen(QWidget* parent = nullptr);

    // Lives as long as the screen; nullptr when the web module could not be
    // loaded and the screen shows a message instead.
    WebPage* webPage = nullptr;
    std::function<void()> closeBlock;
    // Over the page while it is the offline copy.
    QPointer<QWidget> offlineBar;
    QPointer<QLabel> offlineLabel;
    QPointer<QAbstractButton> retryButton;

    void closeAction();
    // Asks the site for the page again; the offline copy stays until it comes.
    void retryAction();

    // The offline copy of a page: one of the files that ship in the resources.
    static QUrl offlineCopy(const QString& fileName);

protected:
    // Puts the page into pageArea, and the offline note into layout above it.
    void showPage(QVBoxLayout* layout, QWidget* pageArea, WebPage::Settings settings);

private:
    void offlineChanged(bool offline);
};
