#pragma once

#include <QString>

class QFileDevice;

// Why a write to a file failed, as the system said it. A file's own text can
// be "Unknown error" where the system said more (a full disk, say): errno,
// cleared before the write and read right after it, gives the system's words
// then.
class WriteFailure {
public:
    // systemError: errno after the failed call (0: none known).
    static QString reason(const QFileDevice& file, int systemError);
    // The same for the user, with the folder of path named: a folder that
    // cannot be written is called read-only, anything else (a full disk) in
    // the system's words.
    static QString describe(const QString& path, const QString& reason, int systemError);
};
