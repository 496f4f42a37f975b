#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Reads the system's font configuration, and then the application's font
// database, on a second core while the main thread opens the window system
// and builds the first screen. Reading them is the largest single step of
// showing a first window on Linux, and the first text laid out would otherwise
// wait for it on the main thread. The font library is the one Qt itself uses;
// where the process has none, nothing runs.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // The GUI application exists: its font database may be read now (its
    // functions may be called from any thread).
    void applicationStarted();
    // Returns once the warm-up has ended; it reads no database afterwards.
    void wait();

    // Waits for the warm-up under way, if there is one: called where text is
    // first laid out, so that the work before it runs beside the reading.
    static void awaitCurrent();

    // True once a warm-up in this process has read the font database.
    static bool finished();

private:
    void run(int (*initialise)());

    std::mutex m_mutex;
    std::condition_variable m_changed;
    enum class Application { Awaited, Started, Gone } m_application = Application::Awaited;
    std::thread m_thread;
};
