#pragma once

#include "views/WebPageScreen.h"

#include <QUrl>

// The tutorial page in an embedded web page, in the user's language, loaded
// once when the screen is created; its offline copy when the site cannot be
// reached.
class ZelTutorialView : public WebPageScreen {
    Q_OBJECT
public:
    explicit ZelTutorialView(QWidget* parent = nullptr);

    // The page address for the current language.
    static QUrl pageUrl();
    // Its copy that ships with the application, in the same language.
    static QUrl offlineUrl();

private:
    void commonInit();
};
