#include "views/PageLoader.h"

#include "platform/MainQueue.h"

#include <QUrl>
#include <QWebEngineHttpRequest>
#include <QWebEngineView>

#include <memory>

void PageLoader::load(QWebEngineView* view, const QUrl& url)
{
    QWebEngineHttpRequest request(url);
    // Both headers make the network stack fetch the page itself from the
    // server; what the page loads afterwards is cached as usual.
    request.setHeader("Cache-Control", "no-cache");
    request.setHeader("Pragma", "no-cache");

    // The time limit is for this load only: pages the user opens afterwards
    // from links load for as long as they take.
    auto finished = std::make_shared<bool>(false);
    QObject::connect(view, &QWebEngineView::loadFinished, view, [finished] { *finished = true; },
                     Qt::SingleShotConnection);
    view->load(request);
    MainQueue::dispatchAfter(
        kTimeoutSeconds,
        [view, finished] {
            if (!*finished)
                view->stop();
        },
        view);
}
