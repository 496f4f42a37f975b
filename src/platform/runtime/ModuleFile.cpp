#include "platform/runtime/ModuleFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

QStringList ModuleFile::candidates(
    const char* pathVariable, const QString& fileName, const QString& installDir, const QString& buildPath)
{
    const QString chosen = qEnvironmentVariable(pathVariable);
    if (!chosen.isEmpty())
        return { chosen };
    const QDir here(QCoreApplication::applicationDirPath());
    return { here.filePath(fileName),
        QDir::cleanPath(here.filePath(QStringLiteral("../%1/%2").arg(installDir, fileName))), buildPath };
}

QString ModuleFile::find(const QStringList& candidates)
{
    const auto found = std::find_if(
        candidates.begin(), candidates.end(), [](const QString& path) { return QFileInfo::exists(path); });
    return found == candidates.end() ? QString() : *found;
}
