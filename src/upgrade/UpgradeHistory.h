#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// One upgrade run as the history keeps it.
struct UpgradeRecord {
    QDateTime started; // UTC
    QString controller; // the controller's Bluetooth address, as the device information gives it
    QString before; // versions before the run (boot-left-right), empty when unknown
    QString release; // the release's version, or "files"
    QString source; // local, online or files
    QString outcome; // completed, failed or cancelled
    QString reason; // why the run did not complete, in the language of its end; empty when it did
    // The reason as a code (UpgradeReason::name) and the values its text
    // shows; empty in records written before codes were kept.
    QString code;
    QStringList arguments;
    QString after; // versions read back after the run, empty when none were
    // The images the controller holds of the run (boot, left, right), when known.
    QStringList installed;
    bool installedKnown = true;
    double seconds = 0;
    qint64 bytes = 0; // image bytes the controller acknowledged

    // The reason in the current language when the code is known, else as stored.
    QString reasonText() const;

    QJsonObject toJson() const;
    static UpgradeRecord fromJson(const QJsonObject& object);
};

// The record of every upgrade run in the documents directory: a JSON array,
// oldest first, rewritten whole for each run so that it is either the old or
// the new file. A file that cannot be read is kept aside under a new name and
// never overwritten.
class UpgradeHistory {
public:
    // The history in the current documents folder (DocumentStore::current).
    UpgradeHistory();
    explicit UpgradeHistory(const QString& path);

    const QString& path() const { return m_path; }
    // The runs, oldest first; ok (when given) is false for a file that exists
    // but cannot be read as a history.
    QList<UpgradeRecord> records(bool* ok = nullptr) const;
    // Appends one run; false when the file could not be written, which then
    // stays as it was, with *reason saying why for the user.
    bool append(const UpgradeRecord& record, QString* reason = nullptr) const;

private:
    QString m_path;
};
