#include "lib/CryptoLibrary.h"

#include "platform/runtime/Localization.h"
#include "platform/runtime/RuntimeLibrary.h"

#include <atomic>
#include <mutex>

namespace {

// Imports compute digests on a worker thread while the interface's thread may
// be verifying a release: the first use can come from two threads at once.
std::atomic<const CryptoLibrary*> g_loaded { nullptr };
std::mutex g_loading;
QString g_error;
bool g_warned = false;

} // namespace

const CryptoLibrary* CryptoLibrary::load()
{
    if (const CryptoLibrary* loaded = g_loaded.load(std::memory_order_acquire))
        return loaded;
    const std::lock_guard<std::mutex> lock(g_loading);
    if (const CryptoLibrary* loaded = g_loaded.load(std::memory_order_relaxed))
        return loaded;
    CryptoLibrary resolved;
#define Q3DART_CRYPTO_SYMBOL(name)                                                                                     \
    RuntimeLibrary::Symbol { #name,                                                                                    \
        [&resolved](void* address) { resolved.name = reinterpret_cast<decltype(&::name)>(address); } },
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
    g_loaded.store(&library, std::memory_order_release);
    return &library;
}

QString CryptoLibrary::error()
{
    const std::lock_guard<std::mutex> lock(g_loading);
    return g_error;
}
