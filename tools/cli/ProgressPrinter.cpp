#include "cli/ProgressPrinter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <unistd.h>

namespace {
constexpr int kBarWidth = 40;
}

ProgressPrinter::ProgressPrinter(const char* label, std::FILE* out)
    : m_label(label)
    , m_out(out)
    , m_terminal(isatty(fileno(out)) == 1)
{
}

void ProgressPrinter::update(double percent)
{
    const double p = std::clamp(percent, 0.0, 100.0);
    if (m_terminal) {
        // Tenths of a percent are worth a redraw on a terminal.
        const int tenths = int(std::floor(p * 10.0));
        if (tenths == m_lastShown)
            return;
        m_lastShown = tenths;
        const int filled = int(p / 100.0 * kBarWidth);
        std::fprintf(m_out, "\r%-8s [%s%s] %5.1f%%", m_label, std::string(size_t(filled), '#').c_str(),
            std::string(size_t(kBarWidth - filled), ' ').c_str(), p);
        m_drawn = true;
    } else {
        const int whole = int(std::floor(p));
        if (whole == m_lastShown)
            return;
        m_lastShown = whole;
        std::fprintf(m_out, "%s: %d%%\n", m_label, whole);
    }
    std::fflush(m_out);
}

void ProgressPrinter::finish()
{
    if (m_drawn) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
        m_drawn = false;
    }
}
