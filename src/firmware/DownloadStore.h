#pragma once

#include <QHash>
#include <QString>

// The record of unpacked downloads, "downloads.plist" in the documents
// directory: "gamepads" lists the products that have records, and each
// product's dictionary maps a release's version text to the folder of its
// unpacked download. Every change rewrites the whole file atomically and keeps
// the keys and entries it does not know.
class DownloadStore {
public:
    static inline const QString kFileName = QStringLiteral("downloads.plist");
    static inline const QString kGamepadsKey = QStringLiteral("gamepads");

    explicit DownloadStore(const QString& filePath, const QString& product);

    // The folder recorded for version, or a null text when there is none (no
    // file, an unreadable file, no product, no such version).
    QString folderForVersion(const QString& version) const;
    // Every version recorded for the product, with its folder (empty when
    // there is no record).
    QHash<QString, QString> records() const;
    // Records version -> folder; an existing record for version is kept.
    bool recordDownload(const QString& version, const QString& folder);
    // Removes the record of version.
    bool removeVersion(const QString& version);

private:
    QString m_path;
    QString m_product;
};
