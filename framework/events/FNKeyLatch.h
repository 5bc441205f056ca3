#pragma once

#include "imaging/FNString.h"

#include <cstdint>
#include <deque>

// One key change or typed text, as the window system reported it.
struct FNKeyEntry {
    enum Kind { Down, Up, Text };
    Kind kind = Down;
    // The key that went down or up; for a left or right Shift, Control or
    // Alt, the generic code (the key events carry the generic code, the key
    // table has both). 0 for text on its own.
    uint8_t key = 0;
    // Typed or committed text: with a key down, what that key typed.
    FNString text;
    // The keys down just after this change, as the key events tell it (bit
    // 7 set; sided modifiers also set their generic entry).
    uint8_t keys[256] = {};
};

// FNKeyLatch: the key changes and texts that arrived between two engine
// steps, in order, so that each step can take one of them and none is
// overwritten by a later one. A key tapped between two steps gives its down
// and then its up; Ctrl+A gives four entries, each with the keys down at
// that moment, so a handler of the A key sees Ctrl held even when both keys
// were already released when the step ran.
//
// Text that arrives right after the down of a key that types (not a
// modifier) and has no text yet joins it (a typed letter is one entry);
// other text (an input method's commit) is an entry of its own.
//
// Threads: none of its own; the engine guards it with its input lock.
class FNKeyLatch {
public:
    void KeyDown(int virtualKey);
    void KeyUp(int virtualKey);
    void Text(const FNString& text);
    // The keyboard focus left the window: the keys seen going down are held
    // no longer as far as the latch knows, since their releases now go to
    // another window (a modal window's own connection, another program).
    // Keys really held are still in the keyboard snapshot.
    void FocusLost();
    // Takes the oldest entry; false when none waits.
    bool Take(FNKeyEntry& entry);
    bool Empty() const { return m_waiting.empty(); }

private:
    void Set(int virtualKey, bool down);
    // A waiting key down that the text just after it was typed by.
    static bool TypesText(const FNKeyEntry& entry);
    FNKeyEntry& Push(FNKeyEntry::Kind kind, int virtualKey);

    std::deque<FNKeyEntry> m_waiting;
    uint8_t m_down[256] = {};
};
