#include "platform/runtime/DocumentFiles.h"

#include "platform/runtime/DocumentsDirectory.h"

QStringList DocumentFiles::ownNames()
{
    return { kDownloadsRecord, kUpgradeHistory, kTrustRecord, kCheckReports, kLocalReleases, kRemoteReleases };
}

bool DocumentFiles::isOwnName(const QString& name)
{
    for (const QString& own : ownNames()) {
        if (name.compare(own, Qt::CaseInsensitive) == 0)
            return true;
        if (name.startsWith(own + QLatin1Char('.'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString DocumentFiles::path(const QString& name)
{
    return DocumentsDirectory::path() + QLatin1Char('/') + name;
}
