#include "input/TriggerRangeMeasurement.h"

void TriggerRangeMeasurement::add(float level)
{
    if (level != level) // not a number
        return;
    if (int(m_levels.size()) < kMostLevels || m_levels.count(level))
        m_levels.insert(level);
}
