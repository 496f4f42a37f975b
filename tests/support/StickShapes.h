#pragma once

#include <QPointF>

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace testsupport {

// Stick traces with answers known from geometry: a point every stepDegrees
// along the outline, for the given number of turns, starting at "right" and
// running anticlockwise (from phaseDegrees past it, so that no point lies on
// the edge between two bins, whose side only rounding would choose).
// outline(angle) is the range's radius that way.
inline std::vector<QPointF> trace(
    const std::function<double(double)>& outline, double turns, double stepDegrees, double phaseDegrees = 0)
{
    std::vector<QPointF> points;
    const int count = int(std::lround(turns * 360.0 / stepDegrees));
    for (int i = 0; i <= count; ++i) {
        const double angle = (phaseDegrees + i * stepDegrees) * std::numbers::pi / 180.0;
        const double r = outline(angle);
        points.emplace_back(r * std::cos(angle), r * std::sin(angle));
    }
    return points;
}

inline double circleOutline(double)
{
    return 1.0;
}

// A square gate whose sides touch the unit circle: the stick reaches ±1 on
// each axis, and √2 in the corners.
inline double squareOutline(double angle)
{
    return 1.0 / std::max(std::abs(std::cos(angle)), std::abs(std::sin(angle)));
}

// The unit circle, squashed to `factor` in one quadrant (0 up-right, 1
// up-left, 2 down-left, 3 down-right; from its first edge up to, not
// including, the next).
inline std::function<double(double)> squashedOutline(int quadrant, double factor)
{
    return [quadrant, factor](double angle) {
        double turn = std::fmod(angle, 2 * std::numbers::pi) / (2 * std::numbers::pi);
        if (turn < 0)
            turn += 1;
        return int(turn * 4) == quadrant ? factor : 1.0;
    };
}

// The circularity error of a square gate measured as the largest radius in
// each of `bins` equal sectors against the unit circle, in percent. In a
// sector that holds no diagonal the square's radius grows towards the
// diagonal end, so the sector's largest radius lies on one of its edges, or
// on a diagonal inside it.
inline double squareGateError(int bins)
{
    const double sector = 2 * std::numbers::pi / bins;
    double sum = 0;
    for (int b = 0; b < bins; ++b) {
        const double from = b * sector;
        const double to = from + sector;
        double largest = std::max(squareOutline(from), squareOutline(to));
        for (int d = 0; d < 4; ++d) {
            const double diagonal = (2 * d + 1) * std::numbers::pi / 4;
            if (diagonal > from && diagonal < to)
                largest = std::sqrt(2.0);
        }
        sum += largest - 1.0;
    }
    return 100.0 * sum / bins;
}

} // namespace testsupport
