#include "framework/platform/FNPointerLatch.h"

namespace {

bool samePosition(const FNPointerState& a, const FNPointerState& b)
{
    return a.screenX == b.screenX && a.screenY == b.screenY;
}

} // namespace

const FNPointerState& FNPointerLatch::Latest() const
{
    return m_waiting.empty() ? m_lastSampled : m_waiting.back();
}

void FNPointerLatch::Press(const FNPointerState& at)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_held = at.buttons;
    m_waiting.push_back(at);
}

void FNPointerLatch::Release(const FNPointerState& at)
{
    std::lock_guard<std::mutex> guard(m_lock);
    ReleaseLocked(at);
}

void FNPointerLatch::ReleaseLocked(const FNPointerState& at)
{
    if ((m_held & ~at.buttons) == 0)
        return; // nothing held went up (a release already reconciled)
    if (!samePosition(Latest(), at)) {
        FNPointerState moved = at;
        moved.buttons = m_held;
        m_waiting.push_back(moved);
    }
    m_held &= at.buttons;
    FNPointerState released = at;
    released.buttons = m_held;
    m_waiting.push_back(released);
}

FNPointerState FNPointerLatch::Sample(const FNPointerState& live)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_waiting.empty() && (m_held & ~live.buttons)) {
        FNPointerState at = live;
        at.buttons = m_held & live.buttons;
        ReleaseLocked(at);
    }
    if (m_waiting.empty()) {
        m_lastSampled = live;
        m_lastSampled.buttons = m_held;
    } else {
        m_lastSampled = m_waiting.front();
        m_waiting.pop_front();
    }
    return m_lastSampled;
}

int FNPointerLatch::Held() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_held;
}

bool FNPointerLatch::Waiting() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_waiting.empty();
}

void FNPointerLatch::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_waiting.clear();
    m_held = 0;
}
