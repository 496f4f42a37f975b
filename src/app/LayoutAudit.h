#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Checks what a user sees of a window's layout: every visible control whole
// inside its parent, its text whole inside it, and no two visible siblings
// on top of each other. The screenshot tour runs it on every picture.
//
// Deliberate exceptions carry the dynamic property "layoutAudit":
// "layer" for a widget meant to lie under or over its siblings (a progress
// bar under its status line, a stick's knob over its ring), "free" for one
// that may also leave its parent (a knob at the edge of its travel).
// Screens and overlays (full-size layers over the screen below) are layers
// by nature; web page contents and the rows inside scrolled areas belong to
// their scroll area and are not examined.
//
// Some texts must be read whole wherever they are: the labels named in
// wholeTextNames() (the upgrade plan, its steps, the stick check's
// instruction), the labels inside a widget of such a name, and those marked
// "whole" (on themselves or a widget around them). Such a label fails when
// its text is elided (an ElidedLabel short of its full text, or a text
// ending in "…" whose tooltip holds more), when it needs more room than it
// has, also inside a scrolled area, when a widget around it cuts it off, and
// when its layout leaves it no room at all.
class LayoutAudit {
public:
    // One line per fault, naming the widget by its object names from the window down.
    static QStringList check(const QWidget* window);

    // The property and its values.
    static constexpr const char* kProperty = "layoutAudit";
    static QString layer() { return QStringLiteral("layer"); }
    static QString free() { return QStringLiteral("free"); }
    static QString whole() { return QStringLiteral("whole"); }
    // The object names of the texts read whole, whatever the screens put in them.
    static QStringList wholeTextNames();
};
