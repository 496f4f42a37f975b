#pragma once

#include <QString>

class QUrl;

// The application delegate: the start-up object the application begins with,
// and where files opened with the application arrive.
class AppDelegate {
public:
    bool applicationDidFinishLaunchingWithOptions() { return true; }
    // The scene configuration that brings the window and its root controller.
    QString configurationForConnectingSceneSession() const { return QStringLiteral("Default Configuration"); }
    // A file address goes to the release import; any address is taken.
    bool openURL(const QUrl& url);
};
