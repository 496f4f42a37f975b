#include "platform/runtime/RuntimeLibrary.h"

#include <QByteArray>

#include <dlfcn.h>

bool RuntimeLibrary::open(
    const char* file, const char* pathVariable, std::initializer_list<Symbol> symbols, QString* error)
{
    const QByteArray chosen = qgetenv(pathVariable);
    void* handle = ::dlopen(chosen.isEmpty() ? file : chosen.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        *error = QString::fromLocal8Bit(::dlerror());
        return false;
    }
    for (const Symbol& symbol : symbols) {
        void* address = ::dlsym(handle, symbol.name);
        if (!address) {
            *error = QString::fromLocal8Bit(::dlerror());
            ::dlclose(handle);
            return false;
        }
        symbol.store(address);
    }
    error->clear();
    return true;
}
