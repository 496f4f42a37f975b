#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

// The main queue and run loop of the system: the Qt event loop of the main
// thread. Every delay and timer goes through here so that tests can scale time
// down instead of sleeping for real durations.
class MainQueue {
public:
    // Multiplies every delay and timer interval; 1.0 in production.
    // Called before the application object exists: the main loop then runs on
    // Qt's own dispatcher, which wakes once for any number of posted events
    // (the GLib one writes its wake-up descriptor for every event posted, and
    // every message of a transfer posts several). Unless the user chose.
    static void chooseEventDispatcher();

    static void setTimeScale(double scale);
    static double timeScale();
    static int scaledMilliseconds(double seconds);
    // The same length unscaled: for limits a person gives in seconds (a
    // command-line option), which the scale must not shrink.
    static int realMilliseconds(double seconds);

    // Runs block once, `seconds` later, on the main thread. With a context the
    // block is dropped when the context object is destroyed first. Delays and
    // timers fire in the order they are due; of two due at the same time, the
    // one armed first.
    static void dispatchAfter(double seconds, std::function<void()> block, QObject* context = nullptr);
    // Runs block on a later turn of the event loop (never inside the caller).
    static void dispatchAsync(std::function<void()> block, QObject* context = nullptr);
    // Runs the event loop until done() holds or timeoutMs (real time) passed;
    // whether it holds. It never sleeps between events, so byte exchanges run
    // at full speed while it waits. For tools, benchmarks and tests.
    static bool runUntil(const std::function<bool()>& done, int timeoutMs);
};

// A scheduled timer in the style of the platform: it fires its block after its
// interval (repeatedly when asked) until invalidated.
class Timer {
public:
    static std::shared_ptr<Timer> scheduledTimer(double seconds, bool repeats, std::function<void()> block);
    ~Timer();

    void invalidate();
    bool isValid() const;
    // A single-shot timer still waiting now fires block `seconds` from now
    // instead, as a new scheduledTimer would; false, and nothing changed,
    // when it already fired, was invalidated or repeats (block is then left
    // as it was, for the caller's new timer). For a deadline
    // moved at every message: a later deadline only takes note of the time
    // (the timer, when it comes, waits for the rest, to the next whole
    // millisecond), so moving it costs a clock reading, not a timer made and
    // destroyed. Never early; up to a millisecond later than a new timer.
    bool rearm(double seconds, std::function<void()>&& block);

private:
    Timer() = default;
    void timeout();

    std::unique_ptr<QTimer> m_timer;
    std::function<void()> m_block;
    // When the block is due, and when the QTimer is (never later).
    QDeadlineTimer m_due;
    QDeadlineTimer m_timerDue;
    bool m_repeats = false;
    bool m_fired = false;
};
