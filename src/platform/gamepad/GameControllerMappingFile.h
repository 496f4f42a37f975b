#pragma once

#include <QByteArray>
#include <QString>

// The file of game-controller mappings the user keeps (gamecontrollerdb.txt
// in SDL's text format, one mapping a line). Lines are only ever added: a
// new line goes at the end, every line already there stays as it was, and
// the file is replaced in one step by a complete new one, so that a failed
// write leaves the old file whole.
class GameControllerMappingFile {
public:
    // A larger file is refused rather than read, and never rewritten.
    static constexpr qint64 kMostBytes = 16 * 1024 * 1024;

    // The file's text. A file that does not exist reads as empty. False,
    // with why (in the user's words), when it cannot be read or is too large.
    static bool read(const QString& path, QByteArray* text, QString* why);
    // Adds one line at the end, unless the file holds it already. False,
    // with error saying which file and why, when the file cannot be read, is
    // too large or cannot be written; the file is then as it was.
    static bool append(const QString& path, const QByteArray& line, QString* error);
};
