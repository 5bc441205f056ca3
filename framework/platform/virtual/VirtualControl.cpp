// The controls tests use to play the user and the window system on the
// virtual screen.
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/platform/virtual/VirtualConnection.h"

#include "framework/platform/FNVirtualKey.h"
#include "imaging/FNImage.h"
#include "imaging/text/Utf8.h"

#include <cstring>

using namespace fnvirtual;

namespace FNVirtualPlatform {

void Reset()
{
    Guard guard(screen().lock);
    VirtualScreen& s = screen();
    virtualClock() = 0;
    idleWaitCount() = 0;
    s.focus = s.capture = FNNoWindow;
    s.pointerX = s.pointerY = s.buttons = 0;
    s.grab = nullptr;
    for (auto& entry : s.windows)
        entry.second.owner->ForgetButtons();
    std::memset(s.keys, 0, sizeof s.keys);
    s.screenWidth = 1280;
    s.screenHeight = 1024;
    s.workAreaSet = false;
}

void SetMilliseconds(uint32_t now)
{
    virtualClock() = now;
}
void AdvanceMilliseconds(uint32_t delta)
{
    virtualClock() += delta;
}
uint64_t IdleWaits()
{
    return idleWaitCount().load();
}

void SetWorkArea(const FNPlatformRect& area)
{
    Guard guard(screen().lock);
    screen().workArea = area;
    screen().workAreaSet = true;
}

void SetPointer(int screenX, int screenY)
{
    Guard guard(screen().lock);
    screen().pointerX = screenX;
    screen().pointerY = screenY;
}

// A press goes to the owner of the deepest window under the pointer and
// grabs the pointer for it until every button is up; releases go to that
// owner wherever the pointer is. Each change is latched for the owner's input
// samples, so a press and release set back to back are both seen.
void SetButtons(int buttons)
{
    Guard guard(screen().lock);
    VirtualScreen& s = screen();
    const int before = s.buttons;
    s.buttons = buttons & (FNButtonLeft | FNButtonRight | FNButtonMiddle);
    const int pressed = s.buttons & ~before;
    const int released = before & ~s.buttons;
    if (released && s.grab)
        s.grab->LatchRelease(s.pointerX, s.pointerY, before & ~released);
    if (pressed) {
        if (!s.grab) {
            const std::vector<FNWindowId> path = windowsAtPoint(s.pointerX, s.pointerY);
            s.grab = path.empty() ? nullptr : ownerOf(path.back());
        }
        if (s.grab)
            s.grab->LatchPress(s.pointerX, s.pointerY, s.buttons);
    }
    if (!s.buttons)
        s.grab = nullptr;
}

namespace {

    void setKey(int virtualKey, bool down)
    {
        if (virtualKey <= 0 || virtualKey > 255)
            return;
        Guard guard(screen().lock);
        VirtualScreen& s = screen();
        s.keys[virtualKey] = down ? 0x80 : 0;
        if (const int generic = FNGenericModifierKey(virtualKey)) {
            // The generic entry stays down while either side is held.
            const int other = virtualKey ^ 1;
            s.keys[generic] = (down || (s.keys[other] & 0x80)) ? 0x80 : 0;
        }
        queueFor(s.focus, { down ? VirtualEvent::KeyDown : VirtualEvent::KeyUp, s.focus, virtualKey });
    }

} // namespace

void PressKey(int virtualKey)
{
    setKey(virtualKey, true);
}
void ReleaseKey(int virtualKey)
{
    setKey(virtualKey, false);
}

void TypeText(const std::string& utf8)
{
    Guard guard(screen().lock);
    VirtualEvent event { VirtualEvent::Text, screen().focus };
    event.text = utf8Cut(utf8, FNTextInputLimit);
    queueFor(screen().focus, std::move(event));
}

void Wheel(int delta)
{
    Guard guard(screen().lock);
    const std::vector<FNWindowId> path = windowsAtPoint(screen().pointerX, screen().pointerY);
    if (!path.empty())
        queueFor(path.back(), { VirtualEvent::Wheel, path.back(), delta });
}

void DropFiles(FNWindowId window, const std::vector<std::string>& paths)
{
    VirtualEvent event { VirtualEvent::Drop, window };
    event.paths = paths;
    Guard guard(screen().lock);
    queueFor(window, std::move(event));
}

void RequestClose(FNWindowId window)
{
    Guard guard(screen().lock);
    queueFor(window, { VirtualEvent::Close, window });
}

void MoveWindow(FNWindowId window, int x, int y)
{
    Guard guard(screen().lock);
    if (VirtualWindow* record = findWindow(window))
        record->owner->ChangeGeometry(window, { x, y, x + record->rect.Width(), y + record->rect.Height() });
}

void ResizeWindow(FNWindowId window, int width, int height)
{
    Guard guard(screen().lock);
    if (VirtualWindow* record = findWindow(window))
        record->owner->ChangeGeometry(
            window, { record->rect.left, record->rect.top, record->rect.left + width, record->rect.top + height });
}

void Expose(FNWindowId window, const FNPlatformRect& area)
{
    Guard guard(screen().lock);
    queueFor(window, { VirtualEvent::Paint, window, area.left, area.top, area.right, area.bottom });
}

WindowInfo Window(FNWindowId id)
{
    Guard guard(screen().lock);
    WindowInfo info;
    const VirtualWindow* window = findWindow(id);
    if (!window)
        return info;
    info.exists = true;
    info.windowClass = window->windowClass;
    info.parent = window->parent;
    info.child = window->child;
    info.x = window->rect.left;
    info.y = window->rect.top;
    info.width = window->rect.Width();
    info.height = window->rect.Height();
    info.title = window->title;
    info.visible = window->visible;
    info.alpha = window->alpha;
    info.cursor = window->cursor;
    info.state = window->state;
    info.presentCount = window->presentCount;
    info.shape = window->shape;
    return info;
}

bool ReadPixels(FNWindowId id, FNImage& picture)
{
    Guard guard(screen().lock);
    const VirtualWindow* window = findWindow(id);
    if (!window)
        return false;
    const int width = window->rect.Width(), height = window->rect.Height();
    picture.resize(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.row(y), &window->pixels[static_cast<size_t>(y) * width], static_cast<size_t>(width) * 4);
    return true;
}

std::vector<FNWindowId> Windows()
{
    Guard guard(screen().lock);
    std::vector<FNWindowId> ids;
    for (const auto& entry : screen().windows)
        ids.push_back(entry.first);
    return ids;
}

FNWindowId Focus()
{
    Guard guard(screen().lock);
    return screen().focus;
}

FNWindowId Capture()
{
    Guard guard(screen().lock);
    return screen().capture;
}

} // namespace FNVirtualPlatform
