#pragma once

#include <QString>

#include <cstdio>

// Shows upgrade progress on standard error: a bar redrawn in place on a
// terminal, with what is under way beside it, or plain percentage lines
// otherwise (one per whole percent).
class ProgressPrinter {
public:
    // label names the work in the plain lines, e.g. "progress" or "download".
    explicit ProgressPrinter(const char* label = "progress", std::FILE* out = stderr);
    void update(double percent);
    // What is under way, shown beside the bar on a terminal; a pipe keeps
    // its lines as they are.
    void setStatus(const QString& status);
    // Ends the bar's line, if one is drawn.
    void finish();
    bool isTerminal() const { return m_terminal; }

private:
    void draw();

    const char* m_label;
    std::FILE* m_out;
    bool m_terminal;
    int m_lastShown = -1;
    double m_percent = 0;
    QString m_status;
    bool m_drawn = false;
};
