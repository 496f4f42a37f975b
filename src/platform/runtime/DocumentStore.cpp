#include "platform/runtime/DocumentStore.h"

#include "platform/runtime/DocumentsDirectory.h"

#include <QDir>

DocumentStore::DocumentStore(const QString& folder)
    : m_folder(folder)
{
}

DocumentStore DocumentStore::current()
{
    return DocumentStore(DocumentsDirectory::path());
}

QString DocumentStore::folder() const
{
    QDir().mkpath(m_folder);
    return QDir(m_folder).absolutePath();
}

QString DocumentStore::path(const QString& name) const
{
    return folder() + QLatin1Char('/') + name;
}

QString DocumentStore::localProductFolder() const
{
    return path(kLocalReleases) + QLatin1Char('/') + kProductFolder;
}

QString DocumentStore::remoteProductFolder() const
{
    return path(kRemoteReleases) + QLatin1Char('/') + kProductFolder;
}

QStringList DocumentStore::ownNames()
{
    return { kDownloadsRecord, kUpgradeHistory, kTrustRecord, kCheckReports, kLocalReleases, kRemoteReleases };
}

bool DocumentStore::isOwnName(const QString& name)
{
    for (const QString& own : ownNames()) {
        if (name.compare(own, Qt::CaseInsensitive) == 0)
            return true;
        if (name.startsWith(own + QLatin1Char('.'), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
