#pragma once

#include <QStringList>

#include <array>
#include <optional>

// The outer range of a stick rotated along its gate: the largest radius seen
// in each of kBins angle bins, bin 0 starting at "right" and counting
// anticlockwise (y grows upward). From it: the circularity error against
// the unit circle, per quadrant too, the share of bins filled and the
// directions where the range falls short.
class StickRangeMeasurement {
public:
    static constexpr int kBins = 64;
    static constexpr int kQuadrants = 4;
    // Samples nearer the centre say nothing about the range and fill no bin.
    static constexpr double kLeastRadius = 0.3;
    // A bin whose radius stays below this falls short.
    static constexpr double kShortRadius = 0.9;
    // The errors count only once this share of the bins (percent) is filled.
    static constexpr double kCoverageNeeded = 90.0;

    void add(double x, double y);
    void clear() { m_radius.fill(0.0); }

    // The bin an angle (radians, anticlockwise from "right") falls in.
    static int binOf(double angle);
    // The largest radius seen in a bin; 0 when none was.
    double radius(int bin) const { return m_radius[size_t(bin)]; }
    bool filled(int bin) const { return m_radius[size_t(bin)] > 0.0; }
    // Percent of the bins filled.
    double coverage() const;
    bool covered() const { return coverage() >= kCoverageNeeded; }

    // The mean over filled bins of |1 - r|, in percent; none below the
    // coverage needed.
    std::optional<double> circularityError() const;
    // The same for each quadrant: up-right, up-left, down-left, down-right
    // (anticlockwise from "right"); none below the coverage needed or for a
    // quadrant without a filled bin.
    std::array<std::optional<double>, kQuadrants> quadrantErrors() const;

    // The direction a bin points in: "right", "up-right", "up", "up-left",
    // "left", "down-left", "down", "down-right".
    static const char* directionOf(int bin);
    // The directions with a filled bin that falls short, each once,
    // anticlockwise from "right".
    QStringList shortDirections() const;

private:
    std::optional<double> meanError(int firstBin, int bins) const;

    std::array<double, kBins> m_radius {};
};
