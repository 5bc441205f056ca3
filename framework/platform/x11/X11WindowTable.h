#pragma once

// The records of one connection's windows, shared by every thread that uses
// the connection. Private to the X11 backend: only its .cpp files and tests
// include this header. Every member takes the table's own lock; records are
// handed out as copies, and changed only through Update.

#include "framework/platform/FNPlatform.h"
#include "framework/platform/x11/X11Handles.h"

#include <map>
#include <mutex>

struct X11WindowRecord {
    bool child = false;
    X11Window parent = 0; // child windows only
    // Last known position (screen for top-level windows, parent client for
    // children) and size.
    int x = 0, y = 0, width = 1, height = 1;
    FNWindowState state = FNWindowState::Normal;
    // Where a top-level window goes back to when it leaves Maximised.
    FNPlatformRect normalRect;
    _XIC* inputContext = nullptr; // Xlib's XIC
};

class X11WindowTable {
public:
    void Add(X11Window window, const X11WindowRecord& record);
    bool Owns(X11Window window);
    // A copy of the window's record; false for windows not in the table.
    bool Find(X11Window window, X11WindowRecord& record);
    // Calls change(record) under the lock; false (and no call) for windows
    // not in the table.
    template <typename Change> bool Update(X11Window window, Change change)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto found = m_windows.find(window);
        if (found == m_windows.end())
            return false;
        change(found->second);
        return true;
    }
    // The top-level window window belongs to (itself when it is one), or 0
    // when it is not in the table.
    X11Window TopLevelOf(X11Window window);
    // Removes the window and all its descendants, with their input contexts.
    void Remove(X11Window window);
    // Destroys every input context left; for the connection's end.
    void DestroyInputContexts();

private:
    std::mutex m_lock;
    std::map<X11Window, X11WindowRecord> m_windows;
};
