#include "platform/gamepad/GameControllerMappingFile.h"

#include "platform/runtime/Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool GameControllerMappingFile::read(const QString& path, QByteArray* text, QString* why)
{
    text->clear();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.size() > kMostBytes) {
        *why = localized("MappingFileTooLarge");
        return false;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        *why = info.isDir() ? localized("MappingFileIsAFolder") : file.errorString();
        return false;
    }
    // One byte more than allowed tells a file that grew since it was looked at.
    *text = file.read(kMostBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        text->clear();
        return false;
    }
    if (text->size() > kMostBytes) {
        *why = localized("MappingFileTooLarge");
        text->clear();
        return false;
    }
    return true;
}

bool GameControllerMappingFile::append(const QString& path, const QByteArray& line, QString* error)
{
    const QByteArray added = line.trimmed();
    QByteArray text;
    QString why;
    auto refuse = [&] {
        if (error)
            *error = localized("MappingNotSaved").arg(path, why);
        return false;
    };
    if (!read(path, &text, &why))
        return refuse();
    for (const QByteArray& existing : text.split('\n'))
        if (existing.trimmed() == added)
            return true;
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += '\n';
    text += added + '\n';
    if (text.size() > kMostBytes) {
        why = localized("MappingFileTooLarge");
        return refuse();
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        why = localized("MappingFolderNotMade").arg(QFileInfo(path).absolutePath());
        return refuse();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        why = file.errorString();
        return refuse();
    }
    return true;
}
