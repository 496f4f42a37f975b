#pragma once

#include <QString>
#include <QStringList>

// The documents folder's own files and folders: the records the application
// keeps there and the folders of releases. Whatever names or guards a path of
// the documents folder takes the names from here, so that nothing that comes
// from outside (a download, an imported archive) can land on one of them.
class DocumentFiles {
public:
    static inline const QString kDownloadsRecord = QStringLiteral("downloads.plist");
    static inline const QString kUpgradeHistory = QStringLiteral("upgrade-history.json");
    static inline const QString kTrustRecord = QStringLiteral("release-trust.json");
    static inline const QString kCheckReports = QStringLiteral("ControllerChecks");
    static inline const QString kLocalReleases = QStringLiteral("LocalBinFiles");
    static inline const QString kRemoteReleases = QStringLiteral("RemoteBinFiles");
    // A record that cannot be read is kept aside under its name with this
    // suffix (and a number, where one was kept before).
    static inline const QString kDamagedSuffix = QStringLiteral(".damaged");

    // Every file and folder name above.
    static QStringList ownNames();
    // Whether a name of the documents folder's top level is one of ours, or
    // could be taken for one: equal to one without regard to case (a phone's
    // file system ignores it), or one of them with a suffix (a copy kept
    // aside, the temporary file of a record being replaced).
    static bool isOwnName(const QString& name);
    // Where name lies in the documents folder.
    static QString path(const QString& name);
};
