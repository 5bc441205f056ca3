#include "framework/platform/FNActivitySignal.h"

void FNActivitySignal::Note()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_count;
        if (!m_waiting)
            return;
    }
    m_changed.notify_all();
}

uint64_t FNActivitySignal::Count() const
{
    return m_count.load();
}

void FNActivitySignal::WaitForChange(uint64_t seen)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_waiting = true;
    m_changed.wait(guard, [&] { return m_count != seen; });
    m_waiting = false;
}

bool FNActivitySignal::Waiting() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_waiting;
}
