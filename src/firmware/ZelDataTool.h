#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QUrl;

// Firmware packages handed to the application, and small text helpers for
// firmware data.
class ZelDataTool {
public:
    static constexpr double kProgressSeconds = 2.0;
    static constexpr double kFinishedSeconds = 2.0;
    static constexpr double kRefusedSeconds = 3.0;

    // Lower-case hexadecimal digits, two per byte.
    static QString transData2HexString(const QByteArray& data);
    // Keeps only the digits, full stops and hyphens of name, in order.
    static QString w8FirmwareNameString(const QString& name);

    // The folder that holds one folder per imported release.
    static QString localProductFolder();

    // Imports the zip archive that a file URL names as a local release; other
    // URLs are ignored. True when a release was imported.
    static bool handleFile(const QUrl& fileUrl);

    // Imports the zip archive at path into the local release folder named by
    // the version in its file name. The archive is copied first; the user's
    // file is only read, never moved or deleted. Every message is shown as a
    // toast and, when messages is given, appended to it. True when a release
    // was imported.
    static bool importArchive(const QString& path, QStringList* messages = nullptr);
    // What the import of one archive of several came to: whether a release
    // was imported, and its outcome, the last message its import gave.
    struct ImportResult {
        bool imported = false;
        QString outcome;
    };
    // Imports each archive in turn as importArchive does, showing nothing;
    // the results in order.
    static QList<ImportResult> importArchives(const QStringList& paths);
    // One archive's line among the results of several: its name and its outcome.
    static QString resultLine(const QString& name, const ImportResult& result);

    // The same off the interface thread, for the application: the progress
    // toast at once, the archive copied and unpacked on a worker (one import
    // at a time), and the result's toast on the main thread when it ends,
    // then done with whether a release was imported. Other URLs than files
    // are ignored.
    static void handleFileInBackground(const QUrl& fileUrl, std::function<void(bool imported)> done = nullptr);
    // Several files opened at once, every one imported in turn the same way.
    // Toasts replace each other, so with more than one file the results come
    // in one toast at the end, a line for each file with its name; done has
    // each file's result in order. Other URLs than files are left out.
    static void handleFilesInBackground(
        const QList<QUrl>& fileUrls, std::function<void(const QList<bool>& imported)> done = nullptr);
    // How much longer the toast of several imports stays for each line.
    static constexpr double kSecondsPerResultLine = 1.5;
};
