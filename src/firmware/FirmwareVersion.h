#pragma once

#include <QString>

#include <compare>
#include <optional>

// One side's firmware version as the controller reports it: major and minor
// as integers, written "major.minor" ("1.10" is minor version 10, newer than
// "1.9"). Every decision between versions is made on these pairs, never on
// their texts.
struct FirmwareVersion {
    int major = 0;
    int minor = 0;

    // The largest part a text may give; the controller reports each part in a byte.
    static constexpr int kPartMaximum = 255;

    // "major.minor": decimal digits, one dot, decimal digits, each part at
    // most kPartMaximum; anything else ("1.0.5", "abc", "1.", " 1.2") is no version.
    static std::optional<FirmwareVersion> parse(const QString& text);
    QString text() const;

    auto operator<=>(const FirmwareVersion&) const = default;
};

// A release's or a controller's three versions, written "boot-left-right".
struct ReleaseVersion {
    FirmwareVersion boot;
    FirmwareVersion left;
    FirmwareVersion right;

    // Three FirmwareVersion texts joined by '-'; anything else is no version.
    static std::optional<ReleaseVersion> parse(const QString& text);
    QString text() const;

    bool operator==(const ReleaseVersion&) const = default;
    // Whether two texts are both versions and equal part by part.
    static bool same(const QString& a, const QString& b);
    // Whether any part is newer, or older, than the same part of other.
    bool anyNewerThan(const ReleaseVersion& other) const;
    bool anyOlderThan(const ReleaseVersion& other) const { return other.anyNewerThan(*this); }
    // The newest-first order of release lists: boot, then left, then right.
    bool newerInOrderThan(const ReleaseVersion& other) const;
};
