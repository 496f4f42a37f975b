#pragma once

#include "cli/CliServices.h"
#include "platform/transport/DeviceAddress.h"
#include "platform/transport/UsbIdentity.h"
#include "upgrade/ZelFirmwareUpgradeManager.h"

#include <QString>
#include <QStringList>

// What q3dart-cli's options before the command (and the trust options
// anywhere on the line) ask of the whole run.
struct CliOptions {
    DeviceAddress device;
    QString deviceText;
    // The controller's USB identities added with --usb-id.
    QList<UsbIdentity> usbIdentities;
    // Where --record writes the session on the link; empty for none.
    QString recordFile;
    QString documents;
    QString server;
    // Release keys to trust (base64) and a CA file for https, from anywhere on the line.
    QStringList trustKeys;
    QStringList trustRoots;
    QString caFile;
    bool simulate = false;
    double waitSeconds = 5.0;
    // The engine's limits in real seconds; negative: the engine's own.
    double restartWaitSeconds = -1.0;
    double silenceLimitSeconds = -1.0;
    // The largest archive download, in MiB; negative: the engine's own.
    double maxDownloadMiB = -1.0;
    // The release list's deadline, and how long a download may stay below
    // its rate floor, in real seconds; negative: the catalogue's and engine's own.
    double listDeadlineSeconds = -1.0;
    double slowDownloadSeconds = -1.0;
    // The process's objects, as main() hands them over.
    CliServices services;

    // Exit codes shared by every command.
    enum Exit { Ok = 0, Failed = 1, Usage = 2, NoController = 3 };

    // The engine settings the limits given on the command line make, in
    // real seconds whatever the time scale (Q3DART_TIME_SCALE) is; the
    // engine's own for a limit not given.
    ZelFirmwareUpgradeManager::Settings engineSettings() const;
    // Gives them to the shared engine (when it is made, if it is not yet).
    void applyEngineLimits() const;
    // Checks the information dictionary's trusted keys, then trusts the keys,
    // roots and CA file given; on a bad one prints why and returns false with
    // *exitCode set.
    bool applyTrust(int* exitCode) const;
};
