#pragma once

#include <QString>
#include <QStringList>

// The documents folder and every path the application keeps in it: the
// records, the folders of releases and of check reports. Whatever names or
// guards a path of the documents folder asks a store for it, so that nothing
// that comes from outside (a download, an imported archive) can land on one of
// our own files. A store is a value: whoever keeps files there is handed one.
class DocumentStore {
public:
    static inline const QString kDownloadsRecord = QStringLiteral("downloads.plist");
    static inline const QString kUpgradeHistory = QStringLiteral("upgrade-history.json");
    static inline const QString kTrustRecord = QStringLiteral("release-trust.json");
    static inline const QString kCheckReports = QStringLiteral("ControllerChecks");
    static inline const QString kLocalReleases = QStringLiteral("LocalBinFiles");
    static inline const QString kRemoteReleases = QStringLiteral("RemoteBinFiles");
    // The product's folder inside each folder of releases.
    static inline const QString kProductFolder = QStringLiteral("zelmar-q3-dart");
    // A record that cannot be read is kept aside under its name with this
    // suffix (and a number, where one was kept before).
    static inline const QString kDamagedSuffix = QStringLiteral(".damaged");

    // The store of folder, made when a path is first asked for.
    explicit DocumentStore(const QString& folder);
    // The store of the documents folder the application was pointed at
    // (DocumentsDirectory).
    static DocumentStore current();

    // The folder itself, made if it is missing, as an absolute path.
    QString folder() const;
    // Where name lies in the folder.
    QString path(const QString& name) const;
    QString downloadsRecord() const { return path(kDownloadsRecord); }
    QString upgradeHistory() const { return path(kUpgradeHistory); }
    QString trustRecord() const { return path(kTrustRecord); }
    QString checkReports() const { return path(kCheckReports); }
    // The product's imported releases, one folder each.
    QString localProductFolder() const;
    // The product's unpacked downloads, one folder each.
    QString remoteProductFolder() const;

    // Every file and folder name of ours above.
    static QStringList ownNames();
    // Whether a name of the documents folder's top level is one of ours, or
    // could be taken for one: equal to one without regard to case (a phone's
    // file system ignores it), or one of them with a suffix (a copy kept
    // aside, the temporary file of a record being replaced).
    static bool isOwnName(const QString& name);

private:
    QString m_folder;
};
