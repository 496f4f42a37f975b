#include "app/SceneDelegate.h"

#include "app/MainWindow.h"
#include "firmware/ZelDataTool.h"

SceneDelegate::SceneDelegate() = default;
SceneDelegate::~SceneDelegate() = default;

void SceneDelegate::sceneWillConnectToSession(const QList<QUrl>& urlContexts)
{
    m_window = std::make_unique<MainWindow>();
    m_window->fileDropped = [](const QUrl& url) { handleFirst({ url }); };
    m_window->show();
    handleFirst(urlContexts);
}

void SceneDelegate::sceneOpenURLContexts(const QList<QUrl>& urlContexts)
{
    handleFirst(urlContexts);
    if (m_window) {
        m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    }
}

void SceneDelegate::handleFirst(const QList<QUrl>& urlContexts)
{
    if (!urlContexts.isEmpty() && urlContexts.first().scheme() == QLatin1String("file"))
        ZelDataTool::handleFileInBackground(urlContexts.first());
}
