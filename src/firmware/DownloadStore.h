#pragma once

#include <QHash>
#include <QString>

class DocumentStore;

// The record of unpacked downloads, "downloads.plist" in the documents
// directory: "gamepads" lists the products that have records, and each
// product's dictionary maps a release's version text to the folder of its
// unpacked download. Every change rewrites the whole file atomically and keeps
// the keys and entries it does not know.
class DownloadStore {
public:
    static inline const QString kGamepadsKey = QStringLiteral("gamepads");

    explicit DownloadStore(const QString& filePath, const QString& product);
    // The record of documents, for the product's releases; the folder they
    // are unpacked into is documents.remoteProductFolder().
    static DownloadStore in(const DocumentStore& documents);
    // The record of the current documents folder (DocumentStore::current).
    static DownloadStore inDocuments();

    // The folder recorded for version, or a null text when there is none (no
    // file, an unreadable file, no product, no such version).
    QString folderForVersion(const QString& version) const;
    // Every version recorded for the product, with its folder (empty when
    // there is no record).
    QHash<QString, QString> records() const;
    // Records version -> folder; an existing record for version is kept.
    // False when the record could not be saved, with *reason saying why for
    // the user; the file then stays as it was.
    bool recordDownload(const QString& version, const QString& folder, QString* reason = nullptr);
    // Removes the record of version.
    bool removeVersion(const QString& version, QString* reason = nullptr);

private:
    QString m_path;
    QString m_product;
};
