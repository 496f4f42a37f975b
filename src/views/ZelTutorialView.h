#pragma once

#include "views/ZelBaseView.h"

#include <QPointer>
#include <QUrl>

#include <functional>

class QWebEngineView;

// The tutorial page in an embedded web view, in the user's language, loaded
// once when the screen is created.
class ZelTutorialView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelTutorialView(QWidget* parent = nullptr);

    QPointer<QWebEngineView> webView;
    std::function<void()> closeBlock;

    void closeAction();
    // The page address for the current language.
    static QUrl pageUrl();

private:
    void commonInit();
};
