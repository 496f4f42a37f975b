#pragma once

#include "views/WebPageScreen.h"

#include <QUrl>

// The list of games that work with the controller, in an embedded web page,
// or its offline copy when the site cannot be reached. Store links open in
// the desktop's browser, after asking the user.
class ZelMFiGameView : public WebPageScreen {
    Q_OBJECT
public:
    explicit ZelMFiGameView(QWidget* parent = nullptr);

    // Opened from the connected screen, so closing returns there.
    bool showFromConnectedView = false;

    // The page address for the current language.
    static QUrl pageUrl();
    // Its copy that ships with the application, in the same language.
    static QUrl offlineUrl();
    // The game a store address names ("/app/neon-drift/id123" gives "Neon
    // Drift"); empty when the address names none this way.
    static QString storeItemName(const QUrl& url);

private:
    void commonInit();
    // Without waiting for the answer: the web engine waits for the page's.
    void askToOpenInAppStore(const QUrl& url);
};
