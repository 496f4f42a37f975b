#pragma once

#include <QByteArray>
#include <QString>

// A record file (the upgrade history, the trust record, the downloads record,
// a check report) replaced whole or not at all: the new contents go to a
// temporary file beside it, are written and flushed, and only then take its
// place. A write that fails, on a full disk or in a read-only folder, leaves
// the previous file exactly as it was.
class RecordFile {
public:
    // Replaces path's contents with bytes; false, with *reason saying why in
    // the user's words (the system's reason and the folder), when it could not.
    static bool write(const QString& path, const QByteArray& bytes, QString* reason = nullptr);
};
