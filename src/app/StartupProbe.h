#pragma once

#include <QObject>

class QWidget;

// For the start-up benchmark: once the first screen has been painted, prints
// the process's age and resident memory on standard output and ends the program.
class StartupProbe : public QObject {
    Q_OBJECT
public:
    explicit StartupProbe(QWidget* firstScreen, QObject* parent = nullptr);

    // Set by a launcher to its CLOCK_REALTIME in nanoseconds just before it
    // starts the program (e.g. $(date +%s%N)), for a finer start than the kernel's.
    static constexpr const char* kLaunchedAtVariable = "Q3DART_LAUNCHED_AT_NS";

    // Milliseconds since the process started: from the launcher's reading when
    // given, else from the kernel's record of the start.
    static double processAgeMs();
    // Resident and peak resident memory in KiB, or -1 where unknown.
    static qint64 residentKiB();
    static qint64 peakResidentKiB();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool m_reported = false;
};
