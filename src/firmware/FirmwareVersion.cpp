#include "firmware/FirmwareVersion.h"

#include <QStringList>

#include <tuple>

namespace {

// Decimal digits only, no sign, no space, at most kPartMaximum.
std::optional<int> parsePart(QStringView text)
{
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > FirmwareVersion::kPartMaximum)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<FirmwareVersion> FirmwareVersion::parse(const QString& text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return std::nullopt;
    const std::optional<int> major = parsePart(QStringView(text).left(dot));
    const std::optional<int> minor = parsePart(QStringView(text).mid(dot + 1));
    if (!major || !minor)
        return std::nullopt;
    return FirmwareVersion { *major, *minor };
}

QString FirmwareVersion::text() const
{
    return QStringLiteral("%1.%2").arg(major).arg(minor);
}

std::optional<ReleaseVersion> ReleaseVersion::parse(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() != 3)
        return std::nullopt;
    const auto boot = FirmwareVersion::parse(parts[0]);
    const auto left = FirmwareVersion::parse(parts[1]);
    const auto right = FirmwareVersion::parse(parts[2]);
    if (!boot || !left || !right)
        return std::nullopt;
    return ReleaseVersion { *boot, *left, *right };
}

QString ReleaseVersion::text() const
{
    return QStringLiteral("%1-%2-%3").arg(boot.text(), left.text(), right.text());
}

bool ReleaseVersion::same(const QString& a, const QString& b)
{
    const std::optional<ReleaseVersion> x = parse(a);
    const std::optional<ReleaseVersion> y = parse(b);
    return x && y && *x == *y;
}

bool ReleaseVersion::anyNewerThan(const ReleaseVersion& other) const
{
    return boot > other.boot || left > other.left || right > other.right;
}

bool ReleaseVersion::newerInOrderThan(const ReleaseVersion& other) const
{
    return std::tie(boot, left, right) > std::tie(other.boot, other.left, other.right);
}
