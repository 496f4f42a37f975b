#pragma once

#include "views/ZelBaseView.h"

#include <QUrl>

#include <functional>

class WebPage;

// The tutorial page in an embedded web page, in the user's language, loaded
// once when the screen is created.
class ZelTutorialView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelTutorialView(QWidget* parent = nullptr);

    // Lives as long as the screen; nullptr when the web module could not be
    // loaded and the screen shows a message instead.
    WebPage* webPage = nullptr;
    std::function<void()> closeBlock;

    void closeAction();
    // The page address for the current language.
    static QUrl pageUrl();

private:
    void commonInit();
};
