#pragma once

// The virtual window system's one process-wide screen: window records, the
// pointer, keys, focus and capture, and the geometry helpers the connections
// and the test controls share. Private to the virtual backend.

#include "framework/platform/FNPlatform.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace fnvirtual {

class VirtualConnection;

struct VirtualEvent {
    enum Kind { Paint, Moved, Resized, Close, KeyDown, KeyUp, Wheel, Text, Shown, Focus, Drop };
    VirtualEvent(Kind k, FNWindowId w, int a0 = 0, int b0 = 0, int c0 = 0, int d0 = 0)
        : kind(k)
        , window(w)
        , a(a0)
        , b(b0)
        , c(c0)
        , d(d0)
    {
    }
    Kind kind;
    FNWindowId window;
    int a, b, c, d;
    std::string text;
    std::vector<std::string> paths;
};

struct VirtualWindow {
    VirtualConnection* owner = nullptr;
    FNWindowClass windowClass = FNWindowClass::Owner;
    FNWindowId parent = FNNoWindow;
    bool child = false;
    FNPlatformRect rect; // left/top = position, right/bottom = position + size
    FNPlatformRect normalRect; // geometry to restore after maximising
    std::string title;
    bool visible = false;
    int alpha = 255;
    int cursor = FNCursorArrow;
    FNWindowState state = FNWindowState::Normal;
    int presentCount = 0;
    std::vector<FNPlatformRect> shape; // client coordinates; empty: whole window
    std::vector<uint32_t> pixels; // 0xAARRGGBB, width x height
};

// The whole virtual screen. One mutex guards everything, event queues of the
// connections included.
struct VirtualScreen {
    std::recursive_mutex lock;
    std::map<FNWindowId, VirtualWindow> windows;
    std::vector<FNWindowId> stacking; // bottom to top, every window
    FNWindowId nextId = 1;
    FNWindowId focus = FNNoWindow;
    FNWindowId capture = FNNoWindow;
    int pointerX = 0, pointerY = 0, buttons = 0;
    // The connection a press went to; it gets the release too (the press's
    // implicit grab of a real window system). Null while no button is held.
    VirtualConnection* grab = nullptr;
    uint8_t keys[256] = {};
    int screenWidth = 1280, screenHeight = 1024;
    bool workAreaSet = false;
    FNPlatformRect workArea;
};

using Guard = std::lock_guard<std::recursive_mutex>;

VirtualScreen& screen();
// The virtual millisecond clock, set by tests.
std::atomic<uint32_t>& virtualClock();
// Idle waits of engine steps so far (FNPlatformWaitForActivity).
std::atomic<uint64_t>& idleWaitCount();
VirtualWindow* findWindow(FNWindowId id);
uint32_t backgroundPixel(FNWindowClass windowClass);
// Screen position of a window's client origin.
void screenOrigin(FNWindowId id, int& x, int& y);
// Shown on the screen: visible, not minimised, and every parent too.
bool viewable(FNWindowId id);
// Inside the window's rectangle and its shape.
bool containsPoint(FNWindowId id, int x, int y);
FNWindowId topLevelOf(FNWindowId id);
// The path from the topmost window under the point down to the deepest,
// topmost first: what a real system's pointer query walks through.
std::vector<FNWindowId> windowsAtPoint(int x, int y);
// Resizes the pixel store keeping the overlapping part.
void resizePixels(VirtualWindow& window, int oldWidth, int oldHeight);

} // namespace fnvirtual
