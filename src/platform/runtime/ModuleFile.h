#pragma once

#include <QString>
#include <QStringList>

// Where a module of the application (a library it loads when first needed)
// is looked for.
class ModuleFile {
public:
    // In order: the file the environment variable names, alone, when set;
    // else beside the executable, in the installed library folder
    // (installDir, relative to the executable's parent folder), in the build tree.
    static QStringList candidates(
        const char* pathVariable, const QString& fileName, const QString& installDir, const QString& buildPath);
    // The first of the candidates that exists; empty when none does.
    static QString find(const QStringList& candidates);
};
