#pragma once

#include <QString>
#include <QStringList>

class NetworkBackend;

// Qt's network stack, behind the network module: a library loaded on the
// first request or server rather than with the program, whose libraries
// (TLS, Kerberos, proxies) would otherwise cost every start of the
// application, though its first screen needs no network. A program that has
// the backend linked in (the tools, the tests) uses its own. Once loaded the
// module stays for the life of the process; one that failed to load is
// tried again by the next request.
class NetworkModule {
public:
    // Names the module file to load instead of looking in the usual places.
    static constexpr const char* kPathVariable = "Q3DART_NETWORK_MODULE";

    // The backend; nullptr when the module cannot be found or loaded, with
    // *error set to a message for the user that names the file.
    static NetworkBackend* backend(QString* error = nullptr);
    static bool isLoaded();
    // Where the module is looked for, in order (ModuleFile).
    static QStringList candidates();
};
