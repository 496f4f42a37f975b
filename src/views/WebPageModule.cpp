#include "views/WebPageModule.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"
#include "platform/runtime/ModuleFile.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLibrary>
#include <QOpenGLContext>
#include <QVBoxLayout>

#include <unistd.h>

namespace {
WebPageFactory loadedFactory = nullptr;
// Keeps the message off the window's edges.
constexpr int kMessageMargin = 32;
}

void WebPageModule::prepareApplication()
{
    // The engine's sandbox cannot run as root; without this the first web
    // page would end the program.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The pages share the window's graphics context, which must exist from
    // the start: the engine, linked in, would have asked for it itself.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

bool WebPageModule::prepareWindows()
{
    static const char* const kComposeVariable = "QT_WIDGETS_RHI";
    if (qEnvironmentVariableIsSet(kComposeVariable))
        return qEnvironmentVariableIntValue(kComposeVariable) != 0;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    if (ModuleFile::find(candidates()).isEmpty())
        return false;
    QOpenGLContext probe;
    if (!probe.create())
        return false;
    qputenv(kComposeVariable, "1");
    return true;
}

WebPage* WebPageModule::show(QWidget* area, WebPage::Settings settings)
{
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    settings.timeoutMs = MainQueue::scaledMilliseconds(kTimeoutSeconds);
    if (WebPageFactory create = factory()) {
        WebPage* page = create(area, settings);
        layout->addWidget(page->widget());
        return page;
    }
    auto* message = new QLabel(localized("WebPageUnavailable"), area);
    message->setObjectName(QStringLiteral("pageUnavailableLabel"));
    message->setProperty("role", QStringLiteral("prompt"));
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setMargin(kMessageMargin);
    layout->addWidget(message);
    return nullptr;
}

bool WebPageModule::isLoaded()
{
    return loadedFactory != nullptr;
}

QStringList WebPageModule::candidates()
{
    return ModuleFile::candidates(kPathVariable, QStringLiteral(Q3DART_WEB_MODULE_FILE_NAME),
        QStringLiteral(Q3DART_WEB_MODULE_INSTALL_DIR), QStringLiteral(Q3DART_WEB_MODULE_BUILD_PATH));
}

WebPageFactory WebPageModule::factory()
{
    if (loadedFactory)
        return loadedFactory;
    if (!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts)) {
        qWarning("web module not loaded: WebPageModule::prepareApplication() was not called before the application");
        return nullptr;
    }
    const QStringList paths = candidates();
    const QString found = ModuleFile::find(paths);
    if (found.isEmpty()) {
        qWarning("web module not found: %s", qPrintable(paths.join(QStringLiteral(", "))));
        return nullptr;
    }
    // Never unloaded: the engine's threads and its objects outlive any screen.
    QLibrary library(found);
    if (!library.load()) {
        qWarning("web module not loaded: %s", qPrintable(library.errorString()));
        return nullptr;
    }
    loadedFactory = reinterpret_cast<WebPageFactory>(library.resolve(Q3DART_WEB_PAGE_FACTORY));
    if (!loadedFactory)
        qWarning("web module %s has no %s", qPrintable(found), Q3DART_WEB_PAGE_FACTORY);
    return loadedFactory;
}
