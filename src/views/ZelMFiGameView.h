#pragma once

#include "views/ZelBaseView.h"

#include <QPointer>
#include <QUrl>

#include <functional>

class QWebEngineView;

// The list of games that work with the controller, in an embedded web view.
// Store links leave the application, after asking the user.
class ZelMFiGameView : public ZelBaseView {
    Q_OBJECT
public:
    explicit ZelMFiGameView(QWidget* parent = nullptr);

    QPointer<QWebEngineView> webView;
    std::function<void()> closeBlock;
    // Opened from the connected screen, so closing returns there.
    bool showFromConnectedView = false;

    void closeAction();
    // The page address for the current language.
    static QUrl pageUrl();

private:
    void commonInit();
};
