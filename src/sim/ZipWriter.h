#pragma once

#include <QByteArray>
#include <QString>

// Writes a zip archive: the tests' archives, the demo releases and the
// benchmarks' input. Names are stored exactly as given, "../x" included, so
// that tests can build the archives that extraction must refuse.
class ZipWriter {
public:
    // Creates (or replaces) the archive at path; see isOpen().
    explicit ZipWriter(const QString& path);
    ~ZipWriter(); // closes the archive
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    bool isOpen() const { return m_zip != nullptr; }
    QString errorString() const { return m_error; }

    // Adds a file entry, deflated unless `stored`.
    bool addFile(const QString& nameInArchive, const QByteArray& data, bool stored = false);
    // Adds a file entry with the contents of a file on disk, read in pieces.
    bool addFileFromPath(const QString& nameInArchive, const QString& sourcePath, bool stored = false);
    // Adds a folder entry; a "/" is appended to the name when missing.
    bool addDirectory(const QString& nameInArchive);
    // Adds a Unix symbolic link entry pointing at target.
    bool addSymlink(const QString& nameInArchive, const QString& target);

    // Writes the archive's directory. True when every entry was written.
    bool close();

private:
    bool begin(const QString& name, unsigned unixMode, bool stored, bool large);
    bool write(const char* data, qint64 size);
    bool end();
    bool failed(const QString& message);

    void* m_zip = nullptr;
    QString m_error;
};
