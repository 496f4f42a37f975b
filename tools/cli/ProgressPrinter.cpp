#include "cli/ProgressPrinter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int kBarWidth = 30;
constexpr int kMinBarWidth = 10;

// Wide (CJK) characters take two columns.
int columnWidth(QChar c)
{
    return c.unicode() >= 0x1100 && !c.isSurrogate() ? 2 : 1;
}

int columnsOf(const QString& text)
{
    int used = 0;
    for (const QChar c : text)
        used += columnWidth(c);
    return used;
}

// The terminal's width in columns; 80 where it does not say.
int terminalColumns(std::FILE* out)
{
    winsize size {};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

// The text cut to a number of columns, so that the line never wraps and the
// next redraw stays on it.
QString clipped(const QString& text, int columns)
{
    QString out;
    int used = 0;
    for (const QChar c : text) {
        const int width = columnWidth(c);
        if (used + width > columns)
            return out.isEmpty() ? out : out.left(out.size() - 1) + QChar(0x2026);
        used += width;
        out += c;
    }
    return out;
}

} // namespace

ProgressPrinter::ProgressPrinter(const char* label, std::FILE* out)
    : m_label(label)
    , m_out(out)
    , m_terminal(isatty(fileno(out)) == 1)
{
}

void ProgressPrinter::update(double percent)
{
    const double p = std::clamp(percent, 0.0, 100.0);
    m_percent = p;
    if (m_terminal) {
        // Tenths of a percent are worth a redraw on a terminal.
        const int tenths = int(std::floor(p * 10.0));
        if (tenths == m_lastShown)
            return;
        m_lastShown = tenths;
        draw();
        return;
    }
    const int whole = int(std::floor(p));
    if (whole == m_lastShown)
        return;
    m_lastShown = whole;
    std::fprintf(m_out, "%s: %d%%\n", m_label, whole);
    std::fflush(m_out);
}

void ProgressPrinter::setStatus(const QString& status)
{
    if (!m_terminal || status == m_status)
        return;
    m_status = status;
    draw();
}

void ProgressPrinter::draw()
{
    // The bar gives way to what is under way: narrower, or gone, when the
    // line would not fit the terminal otherwise.
    const int columns = terminalColumns(m_out) - 1;
    const int statusWidth = m_status.isEmpty() ? 0 : columnsOf(m_status) + 2;
    const int fixed = 8 + 1 + 7; // the label, a space, the percentage
    int barWidth = std::min(kBarWidth, columns - fixed - 3 - statusWidth);
    if (barWidth < kMinBarWidth)
        barWidth = 0;
    std::string bar;
    if (barWidth > 0) {
        const int filled = int(m_percent / 100.0 * barWidth);
        bar = " [" + std::string(size_t(filled), '#') + std::string(size_t(barWidth - filled), ' ') + "]";
    }
    char head[128];
    const int headLength = std::snprintf(head, sizeof head, "%-8s%s %5.1f%%", m_label, bar.c_str(), m_percent);
    const QString status = clipped(m_status, columns - headLength - 2);
    // \033[K clears what a longer line left behind.
    std::fprintf(m_out, "\r%s%s%s\033[K", head, status.isEmpty() ? "" : "  ", status.toUtf8().constData());
    std::fflush(m_out);
    m_drawn = true;
}

void ProgressPrinter::finish()
{
    if (m_drawn) {
        std::fputc('\n', m_out);
        std::fflush(m_out);
        m_drawn = false;
    }
    m_status.clear();
}
