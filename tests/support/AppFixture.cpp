#include "support/AppFixture.h"

#include "app/MainWindow.h"
#include "app/SceneDelegate.h"
#include "app/ViewController.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/runtime/Localization.h"
#include "sim/DemoEnvironment.h"
#include "sim/DemoReleases.h"
#include "sim/ReleaseServer.h"
#include "sim/SimTcpServer.h"
#include "sim/SimulatedController.h"
#include "views/ZelConnectedView.h"
#include "views/ZelFirmwareListView.h"
#include "views/ZelUpgradeView.h"

#include <QAbstractButton>
#include <QDebug>
#include <QDir>
#include <QHostAddress>
#include <QLabel>
#include <QListWidget>
#include <QWidget>

using namespace testsupport;

AppFixture::AppFixture()
    : m_toasts(std::make_unique<ToastRecorder>())
{
    Localization::shared().setPreferredLanguages({ QStringLiteral("en") });
}

AppFixture::~AppFixture() = default;

DemoEnvironment& AppFixture::startDemo()
{
    if (!m_demo)
        m_demo = std::make_unique<DemoEnvironment>(QString(), QString());
    return *m_demo;
}

bool AppFixture::serveDemoReleases()
{
    m_releases = std::make_unique<ReleaseServer>(DemoReleases::folder());
    if (!m_releases->listen())
        return false;
    ZelFirmwareDataTool::setServerOverride(m_releases->baseUrl());
    return true;
}

QString AppFixture::useNewDocumentsFolder()
{
    const QString documents = m_folders.filePath(QStringLiteral("documents-%1").arg(++m_documents));
    if (!QDir().mkpath(documents))
        return QString();
    DocumentsDirectory::setPath(documents);
    return documents;
}

MainWindow* AppFixture::showWindow(bool followAccessories)
{
    m_scene = std::make_unique<SceneDelegate>();
    m_scene->sceneWillConnectToSession({});
    if (followAccessories)
        root()->followAccessoriesFromStart();
    return window();
}

MainWindow* AppFixture::window() const
{
    return m_scene ? m_scene->window() : nullptr;
}

ViewController* AppFixture::root() const
{
    return m_scene ? m_scene->window()->rootViewController() : nullptr;
}

SimulatedAttachment& AppFixture::attachSimulatedController()
{
    m_sim = std::make_unique<SimulatedAttachment>();
    return *m_sim;
}

void AppFixture::detachSimulatedController()
{
    m_sim.reset();
}

bool AppFixture::serveControllerOverTcp()
{
    m_tcp = std::make_unique<SimTcpServer>(new SimulatedController);
    return m_tcp->listen(QHostAddress::LocalHost, 0);
}

bool AppFixture::onScreen(const QWidget* screen) const
{
    const bool shown = waitUntil([&] { return screen && root() && root()->visibleScreen() == screen; });
    if (!shown)
        qWarning() << "on screen:" << (root() ? root()->visibleScreen() : nullptr) << "not" << screen;
    return shown;
}

bool AppFixture::versionsShown(const QString& current, const QString& latest) const
{
    const auto shows = [&] {
        const ZelConnectedView* c = root() ? root()->existingConnectedView() : nullptr;
        return c && c->currentVersionLabel->text() == current && c->latestVersionLabel->text() == latest;
    };
    const bool shown = waitUntil(shows);
    if (!shown) {
        const ZelConnectedView* c = root() ? root()->existingConnectedView() : nullptr;
        qWarning() << "connected screen shows" << (c ? c->currentVersionLabel->text() : QString())
                   << (c ? c->latestVersionLabel->text() : QString()) << "toasts" << m_toasts->texts();
    }
    return shown;
}

bool AppFixture::pickNewestOnline(ZelUpgradeView* upgrade) const
{
    QAbstractButton* online = widgetNamed<QAbstractButton>(upgrade, "remoteFileButton");
    QAbstractButton* press = widgetNamed<QAbstractButton>(upgrade, "upgradeButton");
    if (!online || !press)
        return false;
    QTest::mouseClick(online, Qt::LeftButton);
    if (!waitUntil([&] { return upgrade->firmwareList() && upgrade->firmwareList()->tableView->count() > 0; }))
        return false;
    upgrade->firmwareList()->didSelectRow(0);
    return waitUntil([&] { return press->isVisible() && press->isEnabled(); });
}
