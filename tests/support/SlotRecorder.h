#pragma once

#include <QString>
#include <QStringList>

// Fills every slot of the input manager and records what reaches it: "A+" for
// a press, "A-" for a release, "left(0.5,-0.25)" for a stick movement. The
// slots are emptied again when the recorder goes.
struct SlotRecorder {
    QStringList events;

    SlotRecorder();
    ~SlotRecorder();

    static QString stick(const char* name, float dx, float dy);
    static void clearSlots();
    QStringList take();
    // Waits for n events and takes them.
    QStringList take(int n);
};
