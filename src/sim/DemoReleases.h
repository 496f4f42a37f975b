#pragma once

#include <QString>
#include <QStringList>

// The demo releases that the embedded default serves: release archives with
// valid images for the simulated controller (each image carries the version
// trailer by which the simulated controller learns what it holds), with
// release notes and dates beside them.
class DemoReleases {
public:
    // The version texts of the demo releases, newest last.
    static QStringList versions();
    // Writes "<version>.zip", "<version>.txt" and "<version>.date" for every
    // demo release into folder. False with *error set on failure.
    static bool generate(const QString& folder, QString* error = nullptr);
    // The images of one release as the archive holds them.
    static QByteArray bootImage(const QString& version);
    static QByteArray leftImage(const QString& version);
    static QByteArray rightImage(const QString& version);
    // A folder holding the demo releases, generated on first use into a
    // temporary folder that lives as long as the process; empty when it could
    // not be written.
    static QString folder();
};
