#pragma once

#include <cstdio>

// Shows upgrade progress on standard error: a bar redrawn in place on a
// terminal, plain percentage lines otherwise (one per whole percent).
class ProgressPrinter {
public:
    // label names the work in the plain lines, e.g. "progress" or "download".
    explicit ProgressPrinter(const char* label = "progress", std::FILE* out = stderr);
    void update(double percent);
    // Ends the bar's line, if one is drawn.
    void finish();

private:
    const char* m_label;
    std::FILE* m_out;
    bool m_terminal;
    int m_lastShown = -1;
    bool m_drawn = false;
};
