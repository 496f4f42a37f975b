#include "input/StickCentreMeasurement.h"

#include <algorithm>
#include <cmath>

namespace {
// Figures that land on a step within rounding error stay on it.
constexpr double kRoundingSlack = 1e-9;
}

void StickCentreMeasurement::add(double x, double y)
{
    m_samples.emplace_back(x, y);
}

QPointF StickCentreMeasurement::meanOffset() const
{
    if (m_samples.empty())
        return {};
    QPointF sum;
    for (const QPointF& p : m_samples)
        sum += p;
    return sum / double(m_samples.size());
}

double StickCentreMeasurement::drift() const
{
    const QPointF mean = meanOffset();
    return std::hypot(mean.x(), mean.y());
}

double StickCentreMeasurement::shareRadius(QPointF about) const
{
    if (m_samples.empty())
        return 0.0;
    std::vector<double> distances;
    distances.reserve(m_samples.size());
    for (const QPointF& p : m_samples)
        distances.push_back(std::hypot(p.x() - about.x(), p.y() - about.y()));
    const size_t index = size_t(std::ceil(kNoiseShare * double(distances.size()))) - 1;
    std::nth_element(distances.begin(), distances.begin() + std::ptrdiff_t(index), distances.end());
    return distances[index];
}

double StickCentreMeasurement::noise() const
{
    return shareRadius(meanOffset());
}

double StickCentreMeasurement::reach() const
{
    return shareRadius(QPointF());
}

double StickCentreMeasurement::recommendedDeadZone() const
{
    const double largest = std::max({ drift(), noise(), reach() });
    const double rounded = std::ceil(largest / kDeadZoneStep - kRoundingSlack) * kDeadZoneStep;
    return rounded + kDeadZoneMargin;
}
