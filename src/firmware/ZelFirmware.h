#pragma once

#include <QDate>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QString>

// One firmware release. Each field may be absent (a null text).
struct ZelFirmware {
    QString version; // boot-left-right, e.g. 1.0-1.0-1.0; a local release: its folder name
    QString updateInfo; // release notes
    QString path; // online: the download address (begins with "http"); local: the folder
    QString md5; // online: the archive's MD5 in hexadecimal
    QString updateTime; // release date, kept as given
    QString sha256; // online: the archive's SHA-256 in lower-case hexadecimal
    QString signature; // online: base64 Ed25519 signature of version and sha256 (ReleaseSignature)
    QString keyId; // online: the id of the key that made signature
    // The record came from the online list: with a key trusted it installs
    // only with a verified signature, whatever its path says. Not from JSON.
    bool listed = false;

    // Field name to JSON key.
    static QMap<QString, QString> modelCustomPropertyMapper();

    // Records from a JSON array of objects (or a text holding one). Elements
    // that are not objects are skipped; a missing key leaves its field null.
    // Numbers and booleans become their JSON text; null, arrays and objects
    // leave the field null.
    static QList<ZelFirmware> modelArrayWithJSON(const QJsonValue& json);
    static ZelFirmware modelWithJSON(const QJsonObject& object);

    bool isOnline() const { return listed || path.startsWith(QLatin1String("http")); }

    // The release date updateTime gives, in the forms servers write it:
    // "2021-03-09", "20210309" or a date and time beginning with the date.
    // Null for anything else: the text comes from the network and is shown
    // only as the date read from it.
    QDate releaseDate() const;
};
