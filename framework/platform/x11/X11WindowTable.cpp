#include "framework/platform/x11/X11WindowTable.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <vector>

void X11WindowTable::Add(Window window, const X11WindowRecord& record)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_windows[window] = record;
}

bool X11WindowTable::Owns(Window window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return window && m_windows.count(window) > 0;
}

bool X11WindowTable::Find(Window window, X11WindowRecord& record)
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_windows.find(window);
    if (found == m_windows.end())
        return false;
    record = found->second;
    return true;
}

Window X11WindowTable::TopLevelOf(Window window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto found = m_windows.find(window); found != m_windows.end(); found = m_windows.find(window)) {
        if (!found->second.child)
            return window;
        window = found->second.parent;
    }
    return 0;
}

void X11WindowTable::Remove(Window window)
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<Window> gone { window };
    auto isGone = [&gone](Window id) { return std::find(gone.begin(), gone.end(), id) != gone.end(); };
    // Children go with their parent; records name their parent, so sweep
    // until no record names a window already gone.
    for (bool found = true; found;) {
        found = false;
        for (auto& [id, record] : m_windows) {
            if (record.child && isGone(record.parent) && !isGone(id)) {
                gone.push_back(id);
                found = true;
            }
        }
    }
    for (Window id : gone) {
        auto record = m_windows.find(id);
        if (record == m_windows.end())
            continue;
        if (record->second.inputContext)
            XDestroyIC(record->second.inputContext);
        m_windows.erase(record);
    }
}

void X11WindowTable::DestroyInputContexts()
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto& entry : m_windows) {
        if (entry.second.inputContext)
            XDestroyIC(entry.second.inputContext);
        entry.second.inputContext = nullptr;
    }
}
