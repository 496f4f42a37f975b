#include "platform/transport/UsbIdentity.h"

#include "platform/runtime/InfoDictionary.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

std::optional<UsbIdentity> UsbIdentity::parse(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9A-Fa-f]{1,4}):([0-9A-Fa-f]{1,4})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return UsbIdentity { quint16(m.captured(1).toUInt(nullptr, 16)), quint16(m.captured(2).toUInt(nullptr, 16)) };
}

QString UsbIdentity::text() const
{
    return QStringLiteral("%1:%2").arg(vendor, 4, 16, QLatin1Char('0')).arg(product, 4, 16, QLatin1Char('0'));
}

QList<UsbIdentity> UsbIdentity::declared()
{
    QList<UsbIdentity> identities;
    for (const QString& text : InfoDictionary::mainBundle().stringList(kInfoKey))
        if (const std::optional<UsbIdentity> identity = parse(text))
            identities.append(*identity);
    return identities;
}

QList<UsbIdentity> UsbIdentity::fromConfiguration(const QString& path, QStringList* invalid)
{
    QList<UsbIdentity> identities;
    if (!QFileInfo(path).isFile())
        return identities;
    const QSettings settings(path, QSettings::IniFormat);
    // A list written with commas comes back as a list, one without as one text.
    const QString entry = settings.value(QStringLiteral("usb/ids")).toStringList().join(QLatin1Char(' '));
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& text : entry.split(separators, Qt::SkipEmptyParts)) {
        if (const std::optional<UsbIdentity> identity = parse(text))
            identities.append(*identity);
        else if (invalid)
            invalid->append(text);
    }
    return identities;
}

QString UsbIdentity::userConfigurationFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/q3dart/q3dart.conf");
}
