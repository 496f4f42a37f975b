#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

// The kernel's input events of one device, read from its event device node
// (/dev/input/eventN) or from any descriptor that carries the same records,
// such as a pipe. Each SYN_REPORT closes one report of the device, stamped by
// the kernel in microseconds as the driver received it: the report's time
// and what it held are handed on. A notifier on the descriptor drives the
// reading; there is no timer. The node is read beside whoever else reads it
// (SDL), never taken from them.
class InputEventReader : public QObject {
    Q_OBJECT
public:
    struct Report {
        qint64 microseconds = 0;
        bool axes = false; // an absolute axis moved
        bool keys = false; // a key or button changed
        // Reports were lost before this one (the kernel's queue overflowed,
        // or the reader was off): the time since the last one is no interval.
        bool afterGap = false;
    };
    enum class Failure { None, Missing, NoPermission, Unreadable, Closed };

    // The most records read at once; more wait for the next wake-up.
    static constexpr int kRecordsPerRead = 64;

    explicit InputEventReader(QObject* parent = nullptr);
    ~InputEventReader() override;

    // Opens a node for reading, and asks the kernel for its monotonic clock
    // (the wall clock, its default, may jump). False, with failure() and
    // errorString() saying why, when it cannot be opened.
    bool open(const QString& path);
    // Reads from a descriptor opened elsewhere, which the reader closes.
    bool adopt(int descriptor, const QString& name);
    bool isOpen() const { return m_descriptor >= 0; }
    QString path() const { return m_path; }
    Failure failure() const { return m_failure; }
    // The system's words for the failure; empty without one.
    QString errorString() const { return m_error; }

    // Off, nothing is read; on again, what the kernel queued meanwhile is
    // dropped and the next report follows a gap. Starts off.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }

    // Called for every whole report, and once when the descriptor fails
    // (it is closed then).
    std::function<void(const Report&)> onReport;
    std::function<void()> onFailure;

private:
    void readAvailable();
    // False when reading must stop: nothing more now, or a failure.
    bool readOnce(bool deliver);
    void take(const char* record, bool deliver);
    void fail(Failure failure, int error);
    void close();

    int m_descriptor = -1;
    QString m_path;
    QSocketNotifier* m_notifier = nullptr; // a child: it may go while it signals
    bool m_enabled = false;
    Failure m_failure = Failure::None;
    QString m_error;
    QByteArray m_partial; // the start of a record a read cut in two
    Report m_current;
    bool m_inReport = false;
    bool m_dropping = false; // until the report after a SYN_DROPPED ends
    bool m_gap = true;
};
