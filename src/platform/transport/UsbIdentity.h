#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A USB device's identity: its vendor and product id, written "VID:PID" in
// hexadecimal ("2341:0043"). The controller's own identities are declared in
// the information dictionary beside its accessory protocols; only USB serial
// devices with one of them, or with one the user added, are ever opened
// when no device is named.
struct UsbIdentity {
    quint16 vendor = 0;
    quint16 product = 0;

    // "VID:PID", one to four hexadecimal digits each; none for anything else.
    static std::optional<UsbIdentity> parse(const QString& text);
    // Four lower-case digits each, as the kernel lists them: "2341:0043".
    QString text() const;
    bool operator==(const UsbIdentity&) const = default;

    // The information dictionary's key for the declared identities.
    static inline const QString kInfoKey = QStringLiteral("Q3ControllerUSBIdentities");
    // The declared identities, in order (entries that do not parse are left out).
    static QList<UsbIdentity> declared();
    // The identities a configuration file adds: its "ids" entry in the
    // [usb] group, separated by commas or spaces. Entries that do not parse
    // are put into *invalid; an absent file adds none.
    static QList<UsbIdentity> fromConfiguration(const QString& path, QStringList* invalid = nullptr);
    // The user's configuration file: q3dart.conf in the configuration folder
    // (~/.config/q3dart/, or under $XDG_CONFIG_HOME).
    static QString userConfigurationFile();
};
