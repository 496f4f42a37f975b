#pragma once

#include <QPointF>

#include <vector>

// A stick left at rest: where it settles (its drift from the centre), how
// much it wanders about that point (its noise) and the dead zone a game
// needs so that the stick at rest reads as centred.
class StickCentreMeasurement {
public:
    // The share of the samples the noise radius holds.
    static constexpr double kNoiseShare = 0.99;
    // The dead zone is rounded up to this step, and this margin is added.
    static constexpr double kDeadZoneStep = 0.01;
    static constexpr double kDeadZoneMargin = 0.02;

    void add(double x, double y);
    void clear() { m_samples.clear(); }
    int samples() const { return int(m_samples.size()); }

    // The mean position; (0, 0) without samples.
    QPointF meanOffset() const;
    // The distance of the mean position from the centre.
    double drift() const;
    // The radius about the mean position that holds kNoiseShare of the samples.
    double noise() const;
    // The radius about the centre that holds kNoiseShare of the samples:
    // how far from the centre the resting stick reads.
    double reach() const;
    // The larger of drift, noise and reach, rounded up to the step, plus the
    // margin. The reach is among them because a stick that drifts and is
    // noisy reads beyond either figure alone.
    double recommendedDeadZone() const;

private:
    double shareRadius(QPointF about) const;

    std::vector<QPointF> m_samples;
};
