// The virtual window system: windows are records on one process-wide
// virtual screen, input is whatever tests set through FNVirtualPlatform, and
// every effect a real window system would report comes back as a queued
// event delivered by the owning connection's DispatchEvents.

#include "framework/platform/virtual/VirtualConnection.h"

#include "framework/platform/FNVirtualKey.h"
#include "imaging/FNImage.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstring>
#include <thread>

namespace fnvirtual {

VirtualConnection* ownerOf(FNWindowId id)
{
    VirtualWindow* window = findWindow(id);
    return window ? window->owner : nullptr;
}

void queueFor(FNWindowId id, VirtualEvent event)
{
    if (VirtualConnection* owner = ownerOf(id))
        owner->Queue(std::move(event));
}

VirtualConnection::VirtualConnection()
    : m_engineThread(std::this_thread::get_id())
    , m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

VirtualConnection::~VirtualConnection()
{
    assert(OnEngineThread() && "a platform connection is closed on its engine thread");
    {
        // Like a real connection closing: its windows go with it.
        Guard guard(screen().lock);
        if (screen().grab == this)
            screen().grab = nullptr;
        std::vector<FNWindowId> mine;
        for (auto& [id, window] : screen().windows) {
            if (window.owner == this && !window.child)
                mine.push_back(id);
        }
        for (FNWindowId id : mine)
            DestroyTree(id);
    }
    if (m_wake >= 0)
        close(m_wake);
}

void VirtualConnection::Queue(VirtualEvent event)
{
    Guard guard(screen().lock);
    m_events.push_back(std::move(event));
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(m_wake, &one, sizeof one);
}

bool VirtualConnection::HasPendingEvents()
{
    Guard guard(screen().lock);
    return !m_events.empty();
}

int VirtualConnection::DispatchEvents(FNPlatformListener& listener)
{
    assert(OnEngineThread() && "window-system events are dispatched on the engine thread");
    std::deque<VirtualEvent> events;
    {
        Guard guard(screen().lock);
        events.swap(m_events);
        uint64_t count = 0;
        [[maybe_unused]] ssize_t taken = read(m_wake, &count, sizeof count);
    }
    // Listeners run without the lock: they may call back into the connection.
    for (const VirtualEvent& event : events)
        Deliver(listener, event);
    return static_cast<int>(events.size());
}

void VirtualConnection::Deliver(FNPlatformListener& listener, const VirtualEvent& event)
{
    const FNWindowId w = event.window;
    switch (event.kind) {
    case VirtualEvent::Paint:
        listener.OnPaint(w, { event.a, event.b, event.c, event.d });
        break;
    case VirtualEvent::Moved:
        listener.OnMoved(w, event.a, event.b);
        break;
    case VirtualEvent::Resized:
        listener.OnResized(w, event.a, event.b);
        break;
    case VirtualEvent::Close:
        listener.OnCloseRequest(w);
        break;
    case VirtualEvent::KeyDown:
        listener.OnKeyDown(w, event.a);
        break;
    case VirtualEvent::KeyUp:
        listener.OnKeyUp(w, event.a);
        break;
    case VirtualEvent::Wheel:
        listener.OnWheel(w, event.a);
        break;
    case VirtualEvent::Text:
        listener.OnTextInput(w, event.text);
        break;
    case VirtualEvent::Shown:
        listener.OnShown(w, event.a != 0);
        break;
    case VirtualEvent::Focus:
        listener.OnFocus(w, event.a != 0);
        break;
    case VirtualEvent::Drop:
        listener.OnFilesDropped(w, event.paths);
        break;
    }
}

// ---- Windows ---------------------------------------------------------------------

VirtualWindow* VirtualConnection::Own(FNWindowId id)
{
    VirtualWindow* window = findWindow(id);
    return window && window->owner == this ? window : nullptr;
}

FNWindowId VirtualConnection::CreateWindow(const FNWindowDesc& desc)
{
    assert(OnEngineThread() && "windows are created on the engine thread");
    Guard guard(screen().lock);
    if (desc.child && !Own(desc.parent))
        return FNNoWindow;
    VirtualWindow window;
    window.owner = this;
    window.windowClass = desc.windowClass;
    window.parent = Own(desc.parent) ? desc.parent : FNNoWindow;
    window.child = desc.child;
    window.rect = { desc.x, desc.y, desc.x + std::max(1, desc.width), desc.y + std::max(1, desc.height) };
    window.normalRect = window.rect;
    window.title = desc.title;
    window.pixels.assign(
        static_cast<size_t>(window.rect.Width()) * window.rect.Height(), backgroundPixel(desc.windowClass));
    const FNWindowId id = screen().nextId++;
    screen().windows.emplace(id, std::move(window));
    screen().stacking.push_back(id);
    return id;
}

void VirtualConnection::DestroyTree(FNWindowId id)
{
    std::vector<FNWindowId> children;
    for (auto& [childId, window] : screen().windows) {
        if (window.child && window.parent == id)
            children.push_back(childId);
    }
    for (FNWindowId child : children)
        DestroyTree(child);
    VirtualScreen& s = screen();
    if (s.focus == id)
        s.focus = FNNoWindow;
    if (s.capture == id)
        s.capture = FNNoWindow;
    s.stacking.erase(std::remove(s.stacking.begin(), s.stacking.end(), id), s.stacking.end());
    s.windows.erase(id);
}

bool VirtualConnection::DestroyWindow(FNWindowId id)
{
    assert(OnEngineThread() && "windows are destroyed on the engine thread");
    Guard guard(screen().lock);
    if (!Own(id))
        return false;
    DestroyTree(id);
    return true;
}

void VirtualConnection::SetVisible(FNWindowId id, bool visible)
{
    Guard guard(screen().lock);
    VirtualWindow* window = Own(id);
    if (!window || window->visible == visible)
        return;
    window->visible = visible;
    if (window->state == FNWindowState::Minimised)
        return;
    Queue({ VirtualEvent::Shown, id, visible ? 1 : 0 });
    if (visible)
        Queue({ VirtualEvent::Paint, id, 0, 0, window->rect.Width(), window->rect.Height() });
}

void VirtualConnection::ChangeGeometry(FNWindowId id, const FNPlatformRect& rect)
{
    Guard guard(screen().lock);
    VirtualWindow* window = findWindow(id);
    if (!window)
        return;
    const FNPlatformRect old = window->rect;
    window->rect
        = { rect.left, rect.top, rect.left + std::max(1, rect.Width()), rect.top + std::max(1, rect.Height()) };
    const bool moved = old.left != window->rect.left || old.top != window->rect.top;
    const bool resized = old.Width() != window->rect.Width() || old.Height() != window->rect.Height();
    if (resized)
        resizePixels(*window, old.Width(), old.Height());
    if (moved)
        Queue({ VirtualEvent::Moved, id, window->rect.left, window->rect.top });
    if (resized) {
        Queue({ VirtualEvent::Resized, id, window->rect.Width(), window->rect.Height() });
        // Classes redraw everything when their size changes.
        if (window->visible)
            Queue({ VirtualEvent::Paint, id, 0, 0, window->rect.Width(), window->rect.Height() });
    }
}

void VirtualConnection::SetGeometry(FNWindowId id, int x, int y, int width, int height)
{
    Guard guard(screen().lock);
    if (Own(id))
        ChangeGeometry(id, { x, y, x + width, y + height });
}

void VirtualConnection::SetTitle(FNWindowId id, const std::string& title)
{
    Guard guard(screen().lock);
    if (VirtualWindow* window = Own(id))
        window->title = title;
}

void VirtualConnection::SetAlpha(FNWindowId id, int alpha)
{
    Guard guard(screen().lock);
    VirtualWindow* window = Own(id);
    if (window && !window->child)
        window->alpha = alpha >= 0 && alpha < 255 ? alpha : 255;
}

void VirtualConnection::SetShape(FNWindowId id, const std::vector<FNPlatformRect>& shape)
{
    Guard guard(screen().lock);
    if (VirtualWindow* window = Own(id))
        window->shape = shape;
}

void VirtualConnection::SetWindowState(FNWindowId id, FNWindowState state)
{
    Guard guard(screen().lock);
    VirtualWindow* window = Own(id);
    if (!window || window->child || window->state == state)
        return;
    const FNWindowState old = window->state;
    if (old == FNWindowState::Normal)
        window->normalRect = window->rect;
    window->state = state;
    if (state == FNWindowState::Maximised)
        ChangeGeometry(id, WorkArea());
    else if (state == FNWindowState::Normal && old == FNWindowState::Maximised)
        ChangeGeometry(id, window->normalRect);
    if (window->visible && (old == FNWindowState::Minimised || state == FNWindowState::Minimised))
        Queue({ VirtualEvent::Shown, id, state == FNWindowState::Minimised ? 0 : 1 });
}

FNWindowState VirtualConnection::WindowState(FNWindowId id)
{
    Guard guard(screen().lock);
    VirtualWindow* window = Own(id);
    return window ? window->state : FNWindowState::Normal;
}

FNPlatformRect VirtualConnection::WorkArea()
{
    Guard guard(screen().lock);
    const VirtualScreen& s = screen();
    return s.workAreaSet ? s.workArea : FNPlatformRect { 0, 0, s.screenWidth, s.screenHeight };
}

// ---- Display ---------------------------------------------------------------------

void VirtualConnection::Present(FNWindowId id, const FNImage& image, const FNPlatformRect& area)
{
    Guard guard(screen().lock);
    VirtualWindow* window = Own(id);
    if (!window || !image.pixels)
        return;
    window->presentCount++;
    const int left = std::max({ area.left, 0 }), top = std::max(area.top, 0);
    const int right = std::min({ area.right, image.width, window->rect.Width() });
    const int bottom = std::min({ area.bottom, image.height, window->rect.Height() });
    for (int y = top; y < bottom; ++y) {
        const uint32_t* source = image.row(y);
        uint32_t* target = &window->pixels[static_cast<size_t>(y) * window->rect.Width()];
        // The screen has no alpha: every shown pixel is opaque.
        for (int x = left; x < right; ++x)
            target[x] = source[x] | 0xFF000000u;
    }
}

void VirtualConnection::FillRect(FNWindowId id, const FNPlatformRect& area, uint32_t rgb)
{
    Guard guard(screen().lock);
    VirtualWindow* window = Own(id);
    if (!window)
        return;
    window->presentCount++;
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min(area.right, window->rect.Width()), bottom = std::min(area.bottom, window->rect.Height());
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            window->pixels[static_cast<size_t>(y) * window->rect.Width() + x] = 0xFF000000u | (rgb & 0xFFFFFF);
    }
}

void VirtualConnection::SetCursor(FNWindowId id, int cursorId)
{
    Guard guard(screen().lock);
    if (VirtualWindow* window = Own(id))
        window->cursor = cursorId;
}

// ---- Raw input and focus -----------------------------------------------------------

bool VirtualConnection::QueryPointer(FNPointerState& state)
{
    Guard guard(screen().lock);
    const VirtualScreen& s = screen();
    state.screenX = s.pointerX;
    state.screenY = s.pointerY;
    state.buttons = s.buttons;
    state.window = DeepestOwn(windowsAtPoint(s.pointerX, s.pointerY));
    return true;
}

FNWindowId VirtualConnection::DeepestOwn(const std::vector<FNWindowId>& path)
{
    FNWindowId deepest = FNNoWindow;
    for (FNWindowId id : path) {
        if (Own(id))
            deepest = id;
    }
    return deepest;
}

void VirtualConnection::ForgetButtons()
{
    PointerLatch().Clear();
}

void VirtualConnection::LatchPress(int x, int y, int buttons)
{
    PointerLatch().Press({ x, y, DeepestOwn(windowsAtPoint(x, y)), buttons, FNPlatformMilliseconds() });
}

void VirtualConnection::LatchRelease(int x, int y, int buttons)
{
    PointerLatch().Release({ x, y, DeepestOwn(windowsAtPoint(x, y)), buttons, FNPlatformMilliseconds() });
}

bool VirtualConnection::ScreenToClient(FNWindowId id, int& x, int& y)
{
    Guard guard(screen().lock);
    if (!Own(id))
        return false;
    int originX = 0, originY = 0;
    screenOrigin(id, originX, originY);
    x -= originX;
    y -= originY;
    return true;
}

bool VirtualConnection::ClientToScreen(FNWindowId id, int& x, int& y)
{
    Guard guard(screen().lock);
    if (!Own(id))
        return false;
    int originX = 0, originY = 0;
    screenOrigin(id, originX, originY);
    x += originX;
    y += originY;
    return true;
}

void VirtualConnection::KeyboardState(uint8_t table[256])
{
    Guard guard(screen().lock);
    const VirtualScreen& s = screen();
    std::memcpy(table, s.keys, 256);
    table[FNKeyLeftButton] = (s.buttons & FNButtonLeft) ? 0x80 : 0;
    table[FNKeyRightButton] = (s.buttons & FNButtonRight) ? 0x80 : 0;
    table[FNKeyMiddleButton] = (s.buttons & FNButtonMiddle) ? 0x80 : 0;
}

void VirtualConnection::SetCapture(FNWindowId id)
{
    Guard guard(screen().lock);
    if (Own(id))
        screen().capture = id;
}

void VirtualConnection::ReleaseCapture()
{
    Guard guard(screen().lock);
    if (Own(screen().capture))
        screen().capture = FNNoWindow;
}

void VirtualConnection::SetFocus(FNWindowId id)
{
    Guard guard(screen().lock);
    VirtualScreen& s = screen();
    // Like a real system: only a window on the screen takes focus.
    if (id != FNNoWindow && (!Own(id) || !viewable(id)))
        return;
    if (s.focus == id)
        return;
    if (VirtualConnection* previous = ownerOf(s.focus))
        previous->Queue({ VirtualEvent::Focus, s.focus, 0 });
    s.focus = id;
    if (id != FNNoWindow)
        Queue({ VirtualEvent::Focus, id, 1 });
}

FNWindowId VirtualConnection::FocusedWindow()
{
    Guard guard(screen().lock);
    return Own(screen().focus) ? screen().focus : FNNoWindow;
}

void VirtualConnection::Activate(FNWindowId id)
{
    Guard guard(screen().lock);
    const FNWindowId top = topLevelOf(id);
    if (!Own(top))
        return;
    // Raise the top-level window together with its child windows.
    std::vector<FNWindowId>& stacking = screen().stacking;
    std::stable_partition(stacking.begin(), stacking.end(), [top](FNWindowId w) { return topLevelOf(w) != top; });
    SetFocus(top);
}

FNWindowId VirtualConnection::ActiveWindow()
{
    Guard guard(screen().lock);
    const FNWindowId top = topLevelOf(screen().focus);
    return Own(top) ? top : FNNoWindow;
}

} // namespace fnvirtual

using namespace fnvirtual;

std::unique_ptr<FNPlatformConnection> FNPlatformConnection::Open(std::string& failure)
{
    failure.clear();
    return std::make_unique<VirtualConnection>();
}

uint32_t FNPlatformMilliseconds()
{
    return virtualClock().load();
}

void FNPlatformWaitForActivity(FNActivitySignal&, uint64_t)
{
    // Nothing a test does to the virtual screen need reach the engine thread
    // (a pointer move, a button), so an idle step cannot sleep until
    // something arrives: it is counted and paces the loop like a working step.
    ++idleWaitCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::vector<std::string> FNPlatformLibraryLines()
{
    return {};
}
