#include "framework/platform/virtual/VirtualScreen.h"

#include <algorithm>

namespace fnvirtual {

VirtualScreen& screen()
{
    static VirtualScreen instance;
    return instance;
}

std::atomic<uint32_t>& virtualClock()
{
    static std::atomic<uint32_t> now { 0 };
    return now;
}

std::atomic<uint64_t>& idleWaitCount()
{
    static std::atomic<uint64_t> count { 0 };
    return count;
}

VirtualWindow* findWindow(FNWindowId id)
{
    auto found = screen().windows.find(id);
    return found == screen().windows.end() ? nullptr : &found->second;
}

uint32_t backgroundPixel(FNWindowClass windowClass)
{
    const int32_t rgb = FNWindowClassRecordOf(windowClass).background;
    return 0xFF000000u | static_cast<uint32_t>(rgb == FNNoBackground ? 0 : rgb);
}

void screenOrigin(FNWindowId id, int& x, int& y)
{
    x = 0;
    y = 0;
    for (VirtualWindow* window = findWindow(id); window;
         window = window->child ? findWindow(window->parent) : nullptr) {
        x += window->rect.left;
        y += window->rect.top;
    }
}

bool viewable(FNWindowId id)
{
    for (VirtualWindow* window = findWindow(id); window;
         window = window->child ? findWindow(window->parent) : nullptr) {
        if (!window->visible || window->state == FNWindowState::Minimised)
            return false;
    }
    return true;
}

bool containsPoint(FNWindowId id, int x, int y)
{
    int originX = 0, originY = 0;
    screenOrigin(id, originX, originY);
    const VirtualWindow* window = findWindow(id);
    const int localX = x - originX, localY = y - originY;
    if (localX < 0 || localY < 0 || localX >= window->rect.Width() || localY >= window->rect.Height())
        return false;
    if (window->shape.empty())
        return true;
    for (const FNPlatformRect& rect : window->shape) {
        if (localX >= rect.left && localX < rect.right && localY >= rect.top && localY < rect.bottom)
            return true;
    }
    return false;
}

FNWindowId topLevelOf(FNWindowId id)
{
    VirtualWindow* window = findWindow(id);
    while (window && window->child) {
        id = window->parent;
        window = findWindow(id);
    }
    return window ? id : FNNoWindow;
}

std::vector<FNWindowId> windowsAtPoint(int x, int y)
{
    std::vector<FNWindowId> path;
    FNWindowId parent = FNNoWindow;
    bool descend = true;
    while (descend) {
        descend = false;
        for (auto it = screen().stacking.rbegin(); it != screen().stacking.rend(); ++it) {
            const VirtualWindow* window = findWindow(*it);
            const bool level = parent == FNNoWindow ? !window->child : (window->child && window->parent == parent);
            if (level && viewable(*it) && containsPoint(*it, x, y)) {
                path.push_back(*it);
                parent = *it;
                descend = true;
                break;
            }
        }
    }
    return path;
}

void resizePixels(VirtualWindow& window, int oldWidth, int oldHeight)
{
    const int width = window.rect.Width(), height = window.rect.Height();
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, backgroundPixel(window.windowClass));
    for (int y = 0; y < std::min(height, oldHeight); ++y) {
        for (int x = 0; x < std::min(width, oldWidth); ++x)
            pixels[static_cast<size_t>(y) * width + x] = window.pixels[static_cast<size_t>(y) * oldWidth + x];
    }
    window.pixels.swap(pixels);
}

} // namespace fnvirtual
