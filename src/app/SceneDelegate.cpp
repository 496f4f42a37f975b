#include "app/SceneDelegate.h"

#include "app/MainWindow.h"
#include "firmware/ZelDataTool.h"

SceneDelegate::SceneDelegate() = default;
SceneDelegate::~SceneDelegate() = default;

void SceneDelegate::sceneWillConnectToSession(const QList<QUrl>& urlContexts)
{
    m_window = std::make_unique<MainWindow>();
    m_window->filesDropped = [](const QList<QUrl>& urls) { handleAll(urls); };
    m_window->show();
    handleAll(urlContexts);
}

void SceneDelegate::sceneOpenURLContexts(const QList<QUrl>& urlContexts)
{
    handleAll(urlContexts);
    if (m_window) {
        m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    }
}

void SceneDelegate::handleAll(const QList<QUrl>& urlContexts)
{
    ZelDataTool::handleFilesInBackground(urlContexts);
}
