#pragma once

#include <QList>
#include <QString>

#include <cstdio>

class StationController;

// A station's status on standard output, one line per controller: redrawn
// in place on a terminal, and on other output a plain line whenever a
// controller's stage (not its percentage) changes.
class StationBoard {
public:
    explicit StationBoard(const QList<StationController*>& controllers, std::FILE* out = stdout);
    // Shows what changed.
    void update();

private:
    QString line(const StationController& controller, bool withProgress) const;

    QList<StationController*> m_controllers;
    std::FILE* m_out;
    bool m_terminal;
    bool m_drawn = false;
    QList<QString> m_shown;
};
