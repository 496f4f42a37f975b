#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// Extraction of zip archives into a folder. Nothing is ever written outside
// the destination: every entry name is checked before the first byte is
// written, and one unsafe entry refuses the whole archive. Files are written
// through temporaries that are renamed into place only after every entry has
// been unpacked and checked, so a damaged archive leaves the destination as
// it was. Error texts are for logs; callers show their own localised message.
class ZipArchive {
public:
    // Why an archive was not unpacked.
    enum class Result {
        Ok,
        Unreadable, // missing, a folder, or cannot be opened
        NotAnArchive, // not a zip archive, or its directory is damaged
        UnsafeEntry, // a path that leaves the destination, a link, a device entry, or a name
                     // given twice (also when only its case differs: one file on some disks)
        Unsupported, // encrypted entries or an unknown compression method
        TooLarge, // entry count or sizes beyond the limits
        Damaged, // an entry's data does not decompress or fails its CRC
        WriteFailed, // the destination cannot be written, or a file or folder is in the way
    };

    // Limits against archives that would fill the disk. The firmware images
    // are a few tens of kilobytes; a release holds three of them.
    static constexpr uint64_t kMaxEntryCount = 64;
    static constexpr uint64_t kMaxEntrySize = uint64_t(16) << 20;
    static constexpr uint64_t kMaxTotalSize = 4 * kMaxEntrySize;

    // Unpacks every entry under destination with its relative path, creating
    // folders and overwriting files of the same name. The destination is
    // created when missing. True when every entry was unpacked.
    static bool unzipFileAtPath(const QString& path, const QString& destination, QString* error = nullptr);
    static Result unzip(const QString& path, const QString& destination, QString* error = nullptr);

    // The path relative to the destination that an entry name stands for,
    // with "/" separators, no trailing "/" and no "." or ".." parts (empty for
    // the destination itself); nothing when the name is absolute, names a
    // drive, holds a NUL or climbs above the destination. Backslashes count
    // as separators.
    static std::optional<QString> safeRelativePath(const QByteArray& entryName);
};
