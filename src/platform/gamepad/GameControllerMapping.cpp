#include "platform/gamepad/GameControllerMapping.h"

#include <QStringList>

namespace {
constexpr int kGuidLength = 32;
constexpr int kChecksumStart = 4;
constexpr int kChecksumLength = 4;
} // namespace

QByteArray GameControllerMapping::line() const
{
    QStringList fields { mappingGuid(guid), lineName(name) };
    for (const Binding& b : bindings)
        fields << b.element + QLatin1Char(':') + b.input;
    if (!platform.isEmpty())
        fields << QStringLiteral("platform:") + platform;
    return (fields.join(QLatin1Char(',')) + QLatin1Char(',')).toUtf8();
}

QString GameControllerMapping::mappingGuid(const QString& guid)
{
    if (guid.size() != kGuidLength)
        return guid;
    return guid.left(kChecksumStart) + QString(kChecksumLength, QLatin1Char('0'))
        + guid.mid(kChecksumStart + kChecksumLength);
}

QString GameControllerMapping::lineName(const QString& name)
{
    QString text = name;
    text.replace(QLatin1Char(','), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text.simplified();
}
