#pragma once

#include <QList>
#include <QUrl>

#include <memory>

class MainWindow;

// The window's scene: creates the window with its root controller and hands
// files opened into the application to the release import.
class SceneDelegate {
public:
    SceneDelegate();
    ~SceneDelegate();

    MainWindow* window() const { return m_window.get(); }

    // The window comes up; the files it was opened with are imported.
    void sceneWillConnectToSession(const QList<QUrl>& urlContexts);
    // Files opened into the running application; every one is imported.
    void sceneOpenURLContexts(const QList<QUrl>& urlContexts);

private:
    static void handleAll(const QList<QUrl>& urlContexts);
    std::unique_ptr<MainWindow> m_window;
};
