#pragma once

#include "framework/platform/FNPlatform.h"

#include <string>
#include <vector>

// Keeps every window-system event as one line of text, so tests can check
// what arrived and in which order: "paint 7 0 0 40 30", "key-down 7 65", ...
class RecordingListener : public FNPlatformListener {
public:
    std::vector<std::string> events;
    std::vector<std::vector<std::string>> drops;

    void OnPaint(FNWindowId w, const FNPlatformRect& r) override
    {
        Add("paint", w, { r.left, r.top, r.right, r.bottom });
    }
    void OnMoved(FNWindowId w, int x, int y) override { Add("moved", w, { x, y }); }
    void OnResized(FNWindowId w, int width, int height) override { Add("resized", w, { width, height }); }
    void OnCloseRequest(FNWindowId w) override { Add("close", w, {}); }
    void OnKeyDown(FNWindowId w, int key) override { Add("key-down", w, { key }); }
    void OnKeyUp(FNWindowId w, int key) override { Add("key-up", w, { key }); }
    void OnWheel(FNWindowId w, int delta) override { Add("wheel", w, { delta }); }
    void OnTextInput(FNWindowId w, const std::string& text) override { events.push_back("text " + Id(w) + " " + text); }
    void OnShown(FNWindowId w, bool shown) override { Add(shown ? "shown" : "hidden", w, {}); }
    void OnFocus(FNWindowId w, bool focused) override { Add(focused ? "focus-in" : "focus-out", w, {}); }
    void OnFilesDropped(FNWindowId w, const std::vector<std::string>& paths) override
    {
        Add("drop", w, { static_cast<int>(paths.size()) });
        drops.push_back(paths);
    }
    void OnDestroyed(FNWindowId w) override { Add("destroyed", w, {}); }

    bool Has(const std::string& line) const
    {
        for (const std::string& event : events) {
            if (event == line)
                return true;
        }
        return false;
    }
    // Events that begin with prefix, in order.
    std::vector<std::string> Starting(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& event : events) {
            if (event.compare(0, prefix.size(), prefix) == 0)
                found.push_back(event);
        }
        return found;
    }

    static std::string Id(FNWindowId w) { return std::to_string(w); }
    static std::string Line(const char* kind, FNWindowId w, std::initializer_list<int> values = {})
    {
        std::string line = std::string(kind) + " " + Id(w);
        for (int value : values)
            line += " " + std::to_string(value);
        return line;
    }

private:
    void Add(const char* kind, FNWindowId w, std::initializer_list<int> values)
    {
        events.push_back(Line(kind, w, values));
    }
};
