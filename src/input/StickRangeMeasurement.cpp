#include "input/StickRangeMeasurement.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kFullTurn = 2.0 * std::numbers::pi;
constexpr int kBinsPerQuadrant = StickRangeMeasurement::kBins / StickRangeMeasurement::kQuadrants;
constexpr int kDirections = 8;
const char* const kDirectionNames[kDirections]
    = { "right", "up-right", "up", "up-left", "left", "down-left", "down", "down-right" };
}

int StickRangeMeasurement::binOf(double angle)
{
    double turn = std::fmod(angle, kFullTurn) / kFullTurn;
    if (turn < 0)
        turn += 1.0;
    return std::min(int(turn * kBins), kBins - 1);
}

void StickRangeMeasurement::add(double x, double y)
{
    const double r = std::hypot(x, y);
    if (!(r >= kLeastRadius))
        return;
    double& bin = m_radius[size_t(binOf(std::atan2(y, x)))];
    bin = std::max(bin, r);
}

double StickRangeMeasurement::coverage() const
{
    int filledBins = 0;
    for (int b = 0; b < kBins; ++b)
        filledBins += filled(b);
    return 100.0 * filledBins / kBins;
}

std::optional<double> StickRangeMeasurement::meanError(int firstBin, int bins) const
{
    if (!covered())
        return std::nullopt;
    double sum = 0;
    int counted = 0;
    for (int b = firstBin; b < firstBin + bins; ++b) {
        if (!filled(b))
            continue;
        sum += std::abs(1.0 - radius(b));
        ++counted;
    }
    if (counted == 0)
        return std::nullopt;
    return 100.0 * sum / counted;
}

std::optional<double> StickRangeMeasurement::circularityError() const
{
    return meanError(0, kBins);
}

std::array<std::optional<double>, StickRangeMeasurement::kQuadrants> StickRangeMeasurement::quadrantErrors() const
{
    std::array<std::optional<double>, kQuadrants> errors;
    for (int q = 0; q < kQuadrants; ++q)
        errors[size_t(q)] = meanError(q * kBinsPerQuadrant, kBinsPerQuadrant);
    return errors;
}

const char* StickRangeMeasurement::directionOf(int bin)
{
    // Each direction holds the bins whose middle lies within half an eighth
    // of a turn of it.
    const double middle = (bin + 0.5) / kBins * kDirections + 0.5;
    return kDirectionNames[int(std::floor(middle)) % kDirections];
}

QStringList StickRangeMeasurement::shortDirections() const
{
    QStringList directions;
    for (int b = 0; b < kBins; ++b) {
        const QString name = QString::fromLatin1(directionOf(b));
        if (filled(b) && radius(b) < kShortRadius && !directions.contains(name))
            directions << name;
    }
    return directions;
}
