#pragma once

#include "support/TestSupport.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class DemoEnvironment;
class MainWindow;
class ReleaseServer;
class SceneDelegate;
class SimTcpServer;
class ViewController;
class ZelUpgradeView;
class QWidget;

// The application as its screen tests run it: the language, a documents
// folder of the test's own, a recorder for the messages shown, the demo's
// servers or a release server of the demo releases, the window with its
// scene, and the simulated controller, in-process or over TCP. A test asks
// for the parts it needs, in the order its story needs them; the fixture
// takes them down in the order that leaves nothing running behind a screen.
class AppFixture {
public:
    // Records every message from the start; the language is English.
    AppFixture();
    ~AppFixture();
    AppFixture(const AppFixture&) = delete;
    AppFixture& operator=(const AppFixture&) = delete;

    // The demo's documents folder, signed release site and web pages, as
    // the application starts them without a server of the user's.
    DemoEnvironment& startDemo();
    DemoEnvironment& demo() const { return *m_demo; }

    // A plain release server of the demo releases that the catalogue asks;
    // false when it could not listen.
    bool serveDemoReleases();
    ReleaseServer& releaseServer() const { return *m_releases; }

    // A fresh, empty documents folder for what follows (history, imports,
    // downloads); its path.
    QString useNewDocumentsFolder();

    // The window comes up as the application brings it up, its root
    // controller following accessories only when followAccessories is set.
    MainWindow* showWindow(bool followAccessories = false);
    MainWindow* window() const;
    ViewController* root() const;
    bool hasWindow() const { return static_cast<bool>(m_scene); }

    // The simulated controller attached in-process (plugged in now).
    testsupport::SimulatedAttachment& attachSimulatedController();
    testsupport::SimulatedAttachment& sim() const { return *m_sim; }
    void detachSimulatedController();

    // A simulated controller behind a TCP listener on 127.0.0.1; false when
    // it could not listen.
    bool serveControllerOverTcp();
    SimTcpServer& tcpServer() const { return *m_tcp; }

    testsupport::ToastRecorder& toasts() const { return *m_toasts; }

    // Waits until the screen is the one on top of the root controller.
    bool onScreen(const QWidget* screen) const;
    // Waits until the connected screen shows these versions of the
    // controller and of the newest release; says what it shows otherwise.
    bool versionsShown(const QString& current, const QString& latest) const;
    // Picks the newest release of the upgrade screen's online list, opened
    // through its button; true once "Upgrade Now" can be pressed.
    bool pickNewestOnline(ZelUpgradeView* upgrade) const;

private:
    QTemporaryDir m_folders;
    int m_documents = 0;
    std::unique_ptr<DemoEnvironment> m_demo;
    std::unique_ptr<ReleaseServer> m_releases;
    std::unique_ptr<testsupport::ToastRecorder> m_toasts;
    std::unique_ptr<SimTcpServer> m_tcp;
    std::unique_ptr<testsupport::SimulatedAttachment> m_sim;
    std::unique_ptr<SceneDelegate> m_scene;
};
