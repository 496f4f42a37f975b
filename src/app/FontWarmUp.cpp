#include "app/FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <atomic>
#include <dlfcn.h>

namespace {
std::atomic<bool> done { false };
// The warm-up of the running application; made and ended on the main thread.
FontWarmUp* current = nullptr;

// Looked up among the libraries already loaded (Qt's GUI library brings it):
// the program gains no library of its own for this.
using Initialise = int (*)();
Initialise fontConfigInit()
{
    return reinterpret_cast<Initialise>(dlsym(RTLD_DEFAULT, "FcInit"));
}
}

FontWarmUp::FontWarmUp()
{
    if (Initialise init = fontConfigInit())
        m_thread = std::thread(&FontWarmUp::run, this, init);
    current = this;
}

FontWarmUp::~FontWarmUp()
{
    wait();
    if (current == this)
        current = nullptr;
}

void FontWarmUp::awaitCurrent()
{
    if (current)
        current->wait();
}

void FontWarmUp::run(int (*initialise)())
{
    // The library makes one configuration current even when another thread
    // asks for it at the same time.
    initialise();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_application != Application::Awaited; });
    if (m_application == Application::Gone)
        return;
    lock.unlock();
    // The main thread's first font waits for this rather than reading it again.
    QFontDatabase::families();
    done = true;
}

void FontWarmUp::applicationStarted()
{
    const std::lock_guard lock(m_mutex);
    if (m_application == Application::Awaited)
        m_application = Application::Started;
    m_changed.notify_all();
}

void FontWarmUp::wait()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_application == Application::Awaited)
            m_application = Application::Gone;
        m_changed.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

bool FontWarmUp::finished()
{
    return done;
}
