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
};
