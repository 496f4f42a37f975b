#include "cli/StationBoard.h"

#include "cli/StationController.h"

#include <unistd.h>

StationBoard::StationBoard(const QList<StationController*>& controllers, std::FILE* out)
    : m_controllers(controllers)
    , m_out(out)
    , m_terminal(isatty(fileno(out)) == 1)
{
    for (qsizetype i = 0; i < m_controllers.size(); ++i)
        m_shown.append(QString());
}

QString StationBoard::line(const StationController& controller, bool withProgress) const
{
    return controller.device() + QStringLiteral("  ") + controller.statusText(withProgress);
}

void StationBoard::update()
{
    bool changed = false;
    QList<QString> now;
    for (qsizetype i = 0; i < m_controllers.size(); ++i) {
        now.append(line(*m_controllers.at(i), m_terminal));
        changed = changed || now.at(i) != m_shown.at(i);
    }
    if (!changed)
        return;
    if (m_terminal) {
        // Back to the first line, each line rewritten and cleared to its end.
        if (m_drawn)
            std::fprintf(m_out, "\033[%dA", int(m_controllers.size()));
        for (const QString& text : std::as_const(now))
            std::fprintf(m_out, "\r\033[K%s\n", text.toUtf8().constData());
        m_drawn = true;
    } else {
        for (qsizetype i = 0; i < now.size(); ++i)
            if (now.at(i) != m_shown.at(i))
                std::fprintf(m_out, "%s\n", now.at(i).toUtf8().constData());
    }
    std::fflush(m_out);
    m_shown = now;
}
