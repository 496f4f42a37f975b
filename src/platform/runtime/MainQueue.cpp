#include "platform/runtime/MainQueue.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cmath>

namespace {
double g_timeScale = 1.0;
}

void MainQueue::setTimeScale(double scale)
{
    g_timeScale = scale > 0 ? scale : 1.0;
}

double MainQueue::timeScale()
{
    return g_timeScale;
}

int MainQueue::scaledMilliseconds(double seconds)
{
    return realMilliseconds(seconds * g_timeScale);
}

int MainQueue::realMilliseconds(double seconds)
{
    const double ms = std::max(0.0, seconds * 1000.0);
    return static_cast<int>(std::lround(std::min(ms, 2.0e9)));
}

void MainQueue::dispatchAfter(double seconds, std::function<void()> block, QObject* context)
{
    QObject* receiver = context ? context : QCoreApplication::instance();
    // Precise, as Timer is: delays then run in the order of their due times,
    // and a later one of the same length never overtakes an earlier one. (Qt
    // makes delays of 2 s and more coarse, free to be off by 5 % either way.)
    QTimer::singleShot(scaledMilliseconds(seconds), Qt::PreciseTimer, receiver, [block = std::move(block)] {
        if (block)
            block();
    });
}

void MainQueue::dispatchAsync(std::function<void()> block, QObject* context)
{
    QObject* receiver = context ? context : QCoreApplication::instance();
    QMetaObject::invokeMethod(
        receiver,
        [block = std::move(block)] {
            if (block)
                block();
        },
        Qt::QueuedConnection);
}

void MainQueue::chooseEventDispatcher()
{
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
}

bool MainQueue::runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

std::shared_ptr<Timer> Timer::scheduledTimer(double seconds, bool repeats, std::function<void()> block)
{
    std::shared_ptr<Timer> timer(new Timer);
    timer->m_block = std::move(block);
    timer->m_repeats = repeats;
    timer->m_timer = std::make_unique<QTimer>();
    timer->m_timer->setSingleShot(!repeats);
    timer->m_timer->setTimerType(Qt::PreciseTimer);
    const int ms = MainQueue::scaledMilliseconds(seconds);
    timer->m_timer->setInterval(ms);
    Timer* raw = timer.get();
    QObject::connect(raw->m_timer.get(), &QTimer::timeout, raw->m_timer.get(), [raw] { raw->timeout(); });
    timer->m_due = QDeadlineTimer(ms, Qt::PreciseTimer);
    timer->m_timerDue = timer->m_due;
    timer->m_timer->start();
    return timer;
}

void Timer::timeout()
{
    // Moved to a later deadline since it was started: it waits for the rest.
    if (!m_repeats && m_due.deadlineNSecs() > m_timerDue.deadlineNSecs()) {
        const qint64 left = m_due.remainingTimeNSecs();
        if (left > 0) {
            m_timerDue = m_due;
            m_timer->start(int((left + 999999) / 1000000));
            return;
        }
    }
    m_fired = true;
    // The block may drop the last reference to the timer: keep a copy.
    std::function<void()> block = m_block;
    if (!m_repeats)
        invalidate();
    if (block)
        block();
}

bool Timer::rearm(double seconds, std::function<void()>&& block)
{
    if (m_repeats || !m_block || !isValid())
        return false;
    const int ms = MainQueue::scaledMilliseconds(seconds);
    m_block = std::move(block);
    m_due = QDeadlineTimer(ms, Qt::PreciseTimer);
    // Sooner than the QTimer would come: it is started again.
    if (m_due.deadlineNSecs() < m_timerDue.deadlineNSecs()) {
        m_timerDue = m_due;
        m_timer->start(ms);
    }
    return true;
}

Timer::~Timer()
{
    invalidate();
    // The timer may be dropped from inside its own block, while its QTimer is
    // still emitting: let the event loop delete the QTimer afterwards. One
    // that never fired (a deadline re-armed at every message) goes at once:
    // a deferred deletion would wake the event loop once more each time.
    if (m_timer && m_fired)
        m_timer.release()->deleteLater();
}

void Timer::invalidate()
{
    if (m_timer)
        m_timer->stop();
    m_block = nullptr;
}

bool Timer::isValid() const
{
    return m_timer && m_timer->isActive();
}
