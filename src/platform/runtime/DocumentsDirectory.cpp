#include "platform/runtime/DocumentsDirectory.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString g_override;
}

QString DocumentsDirectory::path()
{
    QString dir = g_override;
    if (dir.isEmpty())
        dir = qEnvironmentVariable("Q3DART_DOCUMENTS");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/q3dart-companion");
    QDir().mkpath(dir);
    return QDir(dir).absolutePath();
}

void DocumentsDirectory::setPath(const QString& path)
{
    g_override = path;
}
