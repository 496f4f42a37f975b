#pragma once

#include <QString>

// The application's documents directory. Tests and demos point it elsewhere
// (setPath, or the Q3DART_DOCUMENTS environment variable) so that they never
// touch the user's real data.
class DocumentsDirectory {
public:
    static QString path();
    static void setPath(const QString& path);
};
