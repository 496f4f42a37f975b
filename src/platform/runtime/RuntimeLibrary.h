#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

// A system library opened when it is first needed rather than with the
// program, its functions resolved by name into the slots its caller keeps.
class RuntimeLibrary {
public:
    struct Symbol {
        const char* name;
        std::function<void(void*)> store;
    };

    // Opens `file`, or the file the environment variable `pathVariable`
    // names, and resolves every symbol. On failure the library is closed
    // again and `error` holds the loader's own text, naming the file or the
    // first symbol it lacks. An opened library stays for the life of the process.
    static bool open(const char* file, const char* pathVariable, std::initializer_list<Symbol> symbols, QString* error);
};
