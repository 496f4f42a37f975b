#include "lib/NetworkModule.h"

#include "lib/NetworkBackend.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/ModuleFile.h"

#include <QLibrary>

// Defined only where the backend is linked in (the tools and the tests): the
// application itself has none and loads the module.
extern "C" __attribute__((weak)) NetworkBackend* Q3DART_NETWORK_BACKEND_ENTRY();

namespace {
NetworkBackend* loadedBackend = nullptr;
}

NetworkBackend* NetworkModule::backend(QString* error)
{
    if (loadedBackend)
        return loadedBackend;
    if (Q3DART_NETWORK_BACKEND_ENTRY) {
        loadedBackend = Q3DART_NETWORK_BACKEND_ENTRY();
        return loadedBackend;
    }
    const QStringList paths = candidates();
    const QString found = ModuleFile::find(paths);
    QString reason;
    if (found.isEmpty()) {
        reason = localized("NetworkModuleMissing")
                     .arg(QStringLiteral(Q3DART_NETWORK_MODULE_FILE_NAME), paths.join(QStringLiteral(", ")));
    } else {
        // Never unloaded: its replies and servers live as long as their callers want.
        QLibrary library(found);
        const bool loaded = library.load();
        auto entry = loaded ? reinterpret_cast<NetworkBackendEntry>(library.resolve(Q3DART_NETWORK_BACKEND_ENTRY_NAME))
                            : nullptr;
        loadedBackend = entry ? entry() : nullptr;
        if (!loadedBackend)
            reason
                = localized("NetworkModuleUnusable")
                      .arg(found,
                          loaded ? QStringLiteral("no %1 in it").arg(QLatin1String(Q3DART_NETWORK_BACKEND_ENTRY_NAME))
                                 : library.errorString());
    }
    if (!loadedBackend) {
        qWarning("%s", qPrintable(reason));
        if (error)
            *error = reason;
    }
    return loadedBackend;
}

bool NetworkModule::isLoaded()
{
    return loadedBackend != nullptr;
}

QStringList NetworkModule::candidates()
{
    return ModuleFile::candidates(kPathVariable, QStringLiteral(Q3DART_NETWORK_MODULE_FILE_NAME),
        QStringLiteral(Q3DART_NETWORK_MODULE_INSTALL_DIR), QStringLiteral(Q3DART_NETWORK_MODULE_BUILD_PATH));
}
