#include "platform/gamepad/SdlLibrary.h"

#include <QByteArray>

#include <dlfcn.h>

namespace {

const SdlLibrary* g_loaded = nullptr;
QString g_error;

} // namespace

const SdlLibrary* SdlLibrary::load()
{
    if (g_loaded)
        return g_loaded;
    const QByteArray chosen = qgetenv(kPathVariable);
    const char* file = chosen.isEmpty() ? kFileName : chosen.constData();
    void* handle = ::dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        g_error = QString::fromLocal8Bit(::dlerror());
        return nullptr;
    }
    SdlLibrary resolved;
    // The loader's text names the file and the first function it lacks.
    bool complete = true;
#define Q3DART_SDL_RESOLVE(name)                                                                                       \
    if (complete && !(resolved.name = reinterpret_cast<decltype(&::name)>(::dlsym(handle, #name)))) {                  \
        g_error = QString::fromLocal8Bit(::dlerror());                                                                 \
        complete = false;                                                                                              \
    }
    Q3DART_SDL_FUNCTIONS(Q3DART_SDL_RESOLVE)
#undef Q3DART_SDL_RESOLVE
    if (!complete) {
        ::dlclose(handle);
        return nullptr;
    }
    // Never closed: SDL's threads and devices live until the process ends.
    static SdlLibrary library;
    library = resolved;
    g_error.clear();
    g_loaded = &library;
    return g_loaded;
}

QString SdlLibrary::error()
{
    return g_error;
}
