#include "framework/events/FNKeyLatch.h"

#include "framework/platform/FNVirtualKey.h"

#include <cstring>

void FNKeyLatch::Set(int virtualKey, bool down)
{
    m_down[virtualKey] = down ? 0x80 : 0;
    if (const int generic = FNGenericModifierKey(virtualKey)) {
        // The generic entry stays down while either side is held.
        const int other = virtualKey ^ 1;
        m_down[generic] = (down || (m_down[other] & 0x80)) ? 0x80 : 0;
    }
}

FNKeyEntry& FNKeyLatch::Push(FNKeyEntry::Kind kind, int virtualKey)
{
    FNKeyEntry& entry = m_waiting.emplace_back();
    entry.kind = kind;
    const int generic = FNGenericModifierKey(virtualKey);
    entry.key = static_cast<uint8_t>(generic ? generic : virtualKey);
    std::memcpy(entry.keys, m_down, sizeof m_down);
    return entry;
}

void FNKeyLatch::KeyDown(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey > 255)
        return;
    Set(virtualKey, true);
    Push(FNKeyEntry::Down, virtualKey);
}

void FNKeyLatch::KeyUp(int virtualKey)
{
    if (virtualKey <= 0 || virtualKey > 255)
        return;
    Set(virtualKey, false);
    Push(FNKeyEntry::Up, virtualKey);
}

void FNKeyLatch::Text(const FNString& text)
{
    if (text.empty())
        return;
    if (!m_waiting.empty() && TypesText(m_waiting.back())) {
        m_waiting.back().text = text;
        return;
    }
    FNKeyEntry& entry = m_waiting.emplace_back();
    entry.kind = FNKeyEntry::Text;
    entry.text = text;
    std::memcpy(entry.keys, m_down, sizeof m_down);
}

void FNKeyLatch::FocusLost()
{
    std::memset(m_down, 0, sizeof m_down);
}

bool FNKeyLatch::TypesText(const FNKeyEntry& entry)
{
    // A modifier types nothing: text after it came from elsewhere.
    const bool modifier = entry.key == FNKeyShift || entry.key == FNKeyControl || entry.key == FNKeyAlt;
    return entry.kind == FNKeyEntry::Down && entry.text.empty() && !modifier;
}

bool FNKeyLatch::Take(FNKeyEntry& entry)
{
    if (m_waiting.empty())
        return false;
    entry = m_waiting.front();
    m_waiting.pop_front();
    return true;
}
