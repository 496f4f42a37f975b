#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The application's information dictionary: the bundled Info.plist, read once.
class InfoDictionary {
public:
    static InfoDictionary& mainBundle();

    // Parses an XML or binary property list holding a dictionary; false on
    // anything else. Exposed for reading other dictionaries the same way.
    static bool parse(const QByteArray& bytes, QVariantMap* out);

    QVariant value(const QString& key) const;
    QString string(const QString& key) const;
    QStringList stringList(const QString& key) const;

    // The declared accessory protocols, in order.
    QStringList supportedAccessoryProtocols() const;

private:
    InfoDictionary();
    QVariantMap m_values;
};
