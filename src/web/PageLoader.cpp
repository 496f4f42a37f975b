#include "web/PageLoader.h"

#include <QTimer>
#include <QUrl>
#include <QWebEngineHttpRequest>
#include <QWebEngineView>

#include <memory>

void PageLoader::load(QWebEngineView* view, const QUrl& url, int timeoutMs, std::function<void(bool ok)> done)
{
    QWebEngineHttpRequest request(url);
    // Both headers make the network stack fetch the page itself from the
    // server; what the page loads afterwards is cached as usual.
    request.setHeader("Cache-Control", "no-cache");
    request.setHeader("Pragma", "no-cache");

    // The time limit is for this load only: pages the user opens afterwards
    // from links load for as long as they take.
    auto finished = std::make_shared<bool>(false);
    QObject::connect(
        view, &QWebEngineView::loadFinished, view,
        [finished, done](bool ok) {
            *finished = true;
            if (done)
                done(ok);
        },
        Qt::SingleShotConnection);
    view->load(request);
    if (timeoutMs <= 0)
        return;
    // Precise: Qt lets a coarse timer of this length be off by a second.
    // Stopping ends the load as a failed one.
    QTimer::singleShot(timeoutMs, Qt::PreciseTimer, view, [view, finished] {
        if (!*finished)
            view->stop();
    });
}
