#pragma once

#include <set>

// The travel of an analogue trigger: the lowest and highest level reached
// and how many distinct levels it reported (its resolution).
class TriggerRangeMeasurement {
public:
    // More distinct levels than this are not told apart (SDL has 32768).
    static constexpr int kMostLevels = 1 << 16;

    void add(float level);
    bool seen() const { return !m_levels.empty(); }
    float lowest() const { return seen() ? *m_levels.begin() : 0.0f; }
    float highest() const { return seen() ? *m_levels.rbegin() : 0.0f; }
    int levels() const { return int(m_levels.size()); }

private:
    std::set<float> m_levels;
};
