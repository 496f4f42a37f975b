#pragma once

#include "views/ZelBaseView.h"

#include <QUrl>

#include <functional>

class WebPage;

// The list of games that work with the controller, in an embedded web page.
// Store links leave the application, after asking the user.
class ZelMFiGameView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelMFiGameView(QWidget* parent = nullptr);

    // Lives as long as the screen; nullptr when the web module could not be
    // loaded and the screen shows a message instead.
    WebPage* webPage = nullptr;
    std::function<void()> closeBlock;
    // Opened from the connected screen, so closing returns there.
    bool showFromConnectedView = false;

    void closeAction();
    // The page address for the current language.
    static QUrl pageUrl();

private:
    void commonInit();
    // Without waiting for the answer: the web engine waits for the page's.
    void askToOpenInAppStore(const QUrl& url);
};
