#include "lib/RecordFile.h"

#include "lib/WriteFailure.h"

#include <QSaveFile>

#include <cerrno>

bool RecordFile::write(const QString& path, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(path);
    // Each step is checked: a write the file buffers fails only when it is
    // flushed, and a commit after a failed flush would still replace the
    // record, with an empty file.
    auto failed = [&](int systemError) {
        if (reason)
            *reason = WriteFailure::describe(path, WriteFailure::reason(file, systemError), systemError);
        file.cancelWriting();
        return false;
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failed(errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return failed(errno);
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failed(errno);
    errno = 0;
    if (!file.commit())
        return failed(errno);
    return true;
}
