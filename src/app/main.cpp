#include "app/AppDelegate.h"
#include "app/AppOptions.h"
#include "app/AppStyle.h"
#include "app/EmbeddedDefault.h"
#include "app/FontWarmUp.h"
#include "app/MainWindow.h"
#include "app/SceneDelegate.h"
#include "app/SignalShutdown.h"
#include "app/ScreenshotTour.h"
#include "app/SingleInstance.h"
#include "app/StartupProbe.h"
#include "app/ToastOverlay.h"
#include "app/UpgradeProbe.h"
#include "app/ViewController.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "lib/HttpClient.h"
#include "lib/MessageToast.h"
#include "lib/NetworkModule.h"
#include "platform/transport/AccessoryTransport.h"
#include "platform/runtime/DocumentsDirectory.h"
#include "platform/transport/EAAccessoryManager.h"
#include "platform/gamepad/GameControllerService.h"
#include "platform/gamepad/VirtualGameController.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/transport/UsbIdentity.h"
#include "sim/SimAccessoryTransport.h"
#include "views/WebPageModule.h"
#include "views/ZelHomeView.h"
#include "views/ZelKeyTestView.h"

#include <QApplication>
#include <QScopeGuard>

#include <cstdio>
#include <memory>

namespace {

// Long enough to read a message that names a port and two ways to fix it.
constexpr double kPermissionToastSeconds = 12.0;

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("q3dart"));
    QCoreApplication::setApplicationVersion(
        InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString")));
}

} // namespace

int main(int argc, char** argv)
{
    // The screenshot set is rendered without a display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--screenshots") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    WebPageModule::prepareApplication();

    // The help and the version are text for a terminal: they need no
    // display, so they are answered before the window system is opened
    // (over ssh, or in a shell without a desktop).
    if (AppOptions::asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        nameApplication();
        AppOptions options;
        int exitCode = AppOptions::Ok;
        if (AppOptions::parse(QCoreApplication::arguments(), &options, &exitCode))
            exitCode = AppOptions::Ok;
        return exitCode;
    }

    FontWarmUp fonts;
    MainQueue::chooseEventDispatcher();
    QApplication app(argc, argv);
    // Whatever way main ends, the font library is left alone before the
    // window system goes.
    const auto fontsRead = qScopeGuard([&fonts] { fonts.wait(); });
    fonts.applicationStarted();
    WebPageModule::prepareWindows();
    nameApplication();
    QApplication::setApplicationDisplayName(QStringLiteral("Q3 Dart"));
    // The installed .desktop file is named by the bundle identifier, as the AppStream entry is.
    QApplication::setDesktopFileName(InfoDictionary::mainBundle().string(QStringLiteral("CFBundleIdentifier")));
    if (const double scale = qEnvironmentVariable("Q3DART_TIME_SCALE").toDouble(); scale > 0)
        MainQueue::setTimeScale(scale);

    SimAccessoryTransport::registerAddressScheme();
    AppOptions options;
    int exitCode = 0;
    if (!AppOptions::parse(QApplication::arguments(), &options, &exitCode))
        return exitCode;
    if (!options.language.isEmpty()) {
        Localization::shared().setPreferredLanguages({ options.language });
    }
    Localization::shared().installIntoApplication();

    // What this run trusts; a malformed trusted key in the information
    // dictionary or a CA file it cannot read ends it at once.
    if (QString error; !ReleaseSignature::checkInformation(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return AppOptions::Usage;
    }
    for (const QString& key : std::as_const(options.trustKeys))
        ReleaseSignature::addTrustedKey(key);
    for (const QString& key : std::as_const(options.trustRoots))
        ReleaseSignature::addTrustedRoot(key);
    // (The network module is loaded for it, before the first screen: only
    // when a CA file is given.)
    if (QString error; !options.caFile.isEmpty() && !HttpClient::addCaCertificates(options.caFile, &error)) {
        const QString message = NetworkModule::isLoaded() ? localized("CaFileInvalid").arg(options.caFile) : error;
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return AppOptions::Usage;
    }

    // A second launch hands its files to the running application and ends.
    std::unique_ptr<SingleInstance> instance;
    if (options.screenshots.isEmpty() && !options.measureStartup && !options.measureUpgrade) {
        instance = std::make_unique<SingleInstance>(
            options.simulate ? QStringLiteral("simulate") : QStringLiteral("device"));
        if (instance->handOver(options.files))
            return 0;
    }

    if (!options.documents.isEmpty())
        DocumentsDirectory::setPath(options.documents);
    if (!options.server.isEmpty())
        ZelFirmwareDataTool::setServerOverride(options.server);

    std::unique_ptr<EmbeddedDefault> embedded;
    // The scan for USB serial devices starts once the first screen is up; a
    // named device is reached for at once.
    AccessoryTransport* scanner = nullptr;
    if (options.simulate) {
        embedded = std::make_unique<EmbeddedDefault>(options.documents, options.server);
    } else {
        const QStringList protocols = InfoDictionary::mainBundle().supportedAccessoryProtocols();
        // The controller's identities the user added: the configuration's, then the line's.
        QStringList invalid;
        const QString configuration = UsbIdentity::userConfigurationFile();
        options.device.usbIdentities
            = UsbIdentity::fromConfiguration(configuration, &invalid) + options.device.usbIdentities;
        for (const QString& entry : invalid)
            std::fprintf(stderr, "%s\n", qPrintable(localized("ConfigurationUsbIdInvalid").arg(configuration, entry)));
        AccessoryTransport* transport
            = options.device.createTransport(EAAccessoryManager::sharedAccessoryManager(), protocols.mid(0, 1));
        EAAccessoryManager::sharedAccessoryManager().addTransport(transport);
        // A port the user may not open: said where the user looks, once the window can show it.
        QObject::connect(
            transport, &AccessoryTransport::permissionDenied, &app,
            [](const QString& message) {
                std::fprintf(stderr, "%s\n", qPrintable(message));
                MessageToast::showMsgWithtext(message, kPermissionToastSeconds);
            },
            Qt::QueuedConnection);
        if (options.device.kind == DeviceAddress::Kind::Auto)
            scanner = transport;
        else
            transport->start();
    }

    AppStyle::apply(app);
    // A logout or a shutdown ends the application as Ctrl+C ends the tools:
    // never in the middle of an image, and with the run recorded.
    SignalShutdown signalShutdown;
    ToastOverlay toasts;
    MessageToast::setPresenter(&toasts);
    AppDelegate appDelegate;
    appDelegate.applicationDidFinishLaunchingWithOptions();
    SceneDelegate scene;
    scene.sceneWillConnectToSession(options.files);
    MainWindow* window = scene.window();
    if (options.size.isValid())
        window->resize(options.size);
    // SDL is loaded and started only once the first screen is up: controllers
    // plugged in already are announced from the source's first poll either way.
    // So are the demo's HTTP servers (and with them the TLS back end Qt's HTTP server loads).
    window->firstPainted = [&embedded, scanner] {
        if (embedded)
            embedded->startServers();
        if (scanner)
            scanner->start();
        GameControllerService::sharedService().startHardwareControllers();
    };
    // Not only a controller that a game controller announces: any controller
    // link (sim, tcp:, serial:) leads home to the connected screen.
    window->rootViewController()->followAccessoriesFromStart();

    if (instance) {
        instance->filesReceived = [&scene](const QList<QUrl>& files) { scene.sceneOpenURLContexts(files); };
    }

    std::unique_ptr<StartupProbe> probe;
    if (options.measureStartup)
        probe = std::make_unique<StartupProbe>(window->rootViewController()->homeView());

    std::unique_ptr<ScreenshotTour> tour;
    std::unique_ptr<UpgradeProbe> upgradeProbe;
    if (embedded) {
        // The keyboard plays the controller on the key test; elsewhere it moves
        // through the screens (Tab, Enter, Escape).
        window->rootViewController()->keyboardController = embedded->gamepad()->controller();
        window->keyHandler = [&embedded, window](int key, bool down) {
            ViewController* root = window->rootViewController();
            const bool keyTest = root->existingKeyTestView() && root->visibleScreen() == root->existingKeyTestView();
            return keyTest && key != Qt::Key_Escape && embedded->handleKey(key, down);
        };
        if (!options.screenshots.isEmpty()) {
            tour = std::make_unique<ScreenshotTour>(window, embedded.get(), &toasts, options.screenshots);
            tour->start();
        } else if (options.measureUpgrade) {
            upgradeProbe = std::make_unique<UpgradeProbe>(window->rootViewController(), embedded.get());
            upgradeProbe->start();
        } else if (!options.measureStartup) {
            embedded->plugInLater();
        }
    }
    return app.exec();
}
