#pragma once

#include "platform/transport/DeviceAddress.h"

#include <QCommandLineOption>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>

// The application's command line.
struct AppOptions {
    enum ExitCode { Ok = 0, Usage = 2 };

    bool simulate = false;
    QString screenshots; // folder for the screenshot set; empty: run normally
    QSize size; // the window's size; invalid: the default
    DeviceAddress device; // how to reach a real controller
    QString documents; // overrides the documents directory
    QString server; // overrides the firmware server
    QString language; // overrides the preferred language
    QStringList trustKeys; // release keys trusted for the run (base64), checked
    QStringList trustRoots; // root keys trusted for the run (base64), checked
    QString caFile; // certificate authorities added for https
    bool measureStartup = false; // report start-up time and memory, then exit
    bool measureUpgrade = false; // time one upgrade from the press to its verified outcome, then exit
    QList<QUrl> files; // release archives to import

    // A bound on either side of the window's size.
    static constexpr int kMaximumSide = 8192;
    // "WxH" from the window's minimum size up to that bound; false otherwise.
    static bool parseSize(const QString& text, QSize* out);

    // The help of these options, whose descriptions are the keys of their
    // texts in the localisation tables.
    static QString helpText(const QList<QCommandLineOption>& options);

    // False when the program must end at once with *exitCode (help, version, usage error).
    static bool parse(const QStringList& arguments, AppOptions* options, int* exitCode);
    // Whether the command line asks for the help or the version, which are
    // printed and end the program.
    static bool asksOnlyForText(int argc, const char* const* argv);
};
