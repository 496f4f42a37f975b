#include "lib/CryptoLibrary.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/RuntimeLibrary.h"

namespace {

const CryptoLibrary* g_loaded = nullptr;
QString g_error;
bool g_warned = false;

} // namespace

const CryptoLibrary* CryptoLibrary::load()
{
    if (g_loaded)
        return g_loaded;
    CryptoLibrary resolved;
#define Q3DART_CRYPTO_SYMBOL(name)                                                                                     \
    RuntimeLibrary::Symbol { #name, [&resolved](void* address) {                                                       \
                                resolved.name = reinterpret_cast<decltype(&::name)>(address);                          \
                            } },
    if (!RuntimeLibrary::open(kFileName, kPathVariable, { Q3DART_CRYPTO_FUNCTIONS(Q3DART_CRYPTO_SYMBOL) }, &g_error)) {
        if (!g_warned) {
            g_warned = true;
            qWarning("%s", qPrintable(localized("CryptoLibraryUnavailable").arg(g_error)));
        }
        return nullptr;
    }
#undef Q3DART_CRYPTO_SYMBOL
    // Never closed: keys and digest states made by it may live until the process ends.
    static CryptoLibrary library;
    library = resolved;
    g_loaded = &library;
    return g_loaded;
}

QString CryptoLibrary::error()
{
    return g_error;
}
