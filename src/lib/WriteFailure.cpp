#include "lib/WriteFailure.h"

#include "platform/runtime/Localization.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

QString WriteFailure::reason(const QFileDevice& file, int systemError)
{
    return systemError != 0 ? qt_error_string(systemError) : file.errorString();
}

QString WriteFailure::describe(const QString& path, const QString& reason, int systemError)
{
    const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    if (systemError == EROFS || systemError == EACCES || systemError == EPERM)
        return localized("FolderNotWritable").arg(folder);
    return localized("WriteFailedInFolder").arg(reason, folder);
}
