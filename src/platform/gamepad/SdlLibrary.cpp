#include "platform/gamepad/SdlLibrary.h"

#include "platform/runtime/RuntimeLibrary.h"

namespace {

const SdlLibrary* g_loaded = nullptr;
QString g_error;

} // namespace

const SdlLibrary* SdlLibrary::load()
{
    if (g_loaded)
        return g_loaded;
    SdlLibrary resolved;
#define Q3DART_SDL_SYMBOL(name)                                                                                        \
    RuntimeLibrary::Symbol { #name,                                                                                    \
        [&resolved](void* address) { resolved.name = reinterpret_cast<decltype(&::name)>(address); } },
    if (!RuntimeLibrary::open(kFileName, kPathVariable, { Q3DART_SDL_FUNCTIONS(Q3DART_SDL_SYMBOL) }, &g_error))
        return nullptr;
#undef Q3DART_SDL_SYMBOL
    // Never closed: SDL's threads and devices live until the process ends.
    static SdlLibrary library;
    library = resolved;
    g_loaded = &library;
    return g_loaded;
}

QString SdlLibrary::error()
{
    return g_error;
}
