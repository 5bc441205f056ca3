// The virtual window system: windows are records on one process-wide
// virtual screen, input is whatever tests set through FNVirtualPlatform, and
// every effect a real window system would report comes back as a queued
// event delivered by the owning connection's DispatchEvents.

#include "imaging/text/Utf8.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "imaging/FNImage.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace {

class VirtualConnection;

// ---- Records -------------------------------------------------------------------

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
    uint8_t keys[256] = {};
    int screenWidth = 1280, screenHeight = 1024;
    bool workAreaSet = false;
    FNPlatformRect workArea;
};

VirtualScreen& screen()
{
    static VirtualScreen instance;
    return instance;
}

std::atomic<uint32_t> g_clock { 0 };

using Guard = std::lock_guard<std::recursive_mutex>;

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

// Screen position of a window's client origin.
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

// Shown on the screen: visible, not minimised, and every parent too.
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

// The path from the topmost window under the point down to the deepest,
// topmost first: what a real system's pointer query walks through.
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

// ---- The connection ------------------------------------------------------------

class VirtualConnection final : public FNPlatformConnection {
public:
    VirtualConnection()
        : m_engineThread(std::this_thread::get_id())
        , m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    {
    }
    ~VirtualConnection() override;

    void Queue(VirtualEvent event);

    int DispatchEvents(FNPlatformListener& listener) override;
    FNWindowId CreateWindow(const FNWindowDesc& desc) override;
    bool DestroyWindow(FNWindowId window) override;
    void Show(FNWindowId window) override { SetVisible(window, true); }
    void Hide(FNWindowId window) override { SetVisible(window, false); }
    void SetGeometry(FNWindowId window, int x, int y, int width, int height) override;
    void SetTitle(FNWindowId window, const std::string& title) override;
    void SetAlpha(FNWindowId window, int alpha) override;
    void SetShape(FNWindowId window, const std::vector<FNPlatformRect>& shape) override;
    void SetWindowState(FNWindowId window, FNWindowState state) override;
    FNWindowState WindowState(FNWindowId window) override;
    FNPlatformRect WorkArea() override;
    void Present(FNWindowId window, const FNImage& image, const FNPlatformRect& area) override;
    void FillRect(FNWindowId window, const FNPlatformRect& area, uint32_t rgb) override;
    void SetCursor(FNWindowId window, int cursorId) override;
    bool QueryPointer(FNPointerState& state) override;
    bool ScreenToClient(FNWindowId window, int& x, int& y) override;
    bool ClientToScreen(FNWindowId window, int& x, int& y) override;
    void KeyboardState(uint8_t table[256]) override;
    void SetCapture(FNWindowId window) override;
    void ReleaseCapture() override;
    void SetFocus(FNWindowId window) override;
    FNWindowId FocusedWindow() override;
    void Activate(FNWindowId window) override;
    FNWindowId ActiveWindow() override;

    // Moves and sizes a window as the system would, reporting the changes.
    void ChangeGeometry(FNWindowId id, const FNPlatformRect& rect);

protected:
    bool HasPendingEvents() override;
    int EventDescriptor() override { return m_wake; }

private:
    bool OnEngineThread() const { return std::this_thread::get_id() == m_engineThread; }
    VirtualWindow* Own(FNWindowId id);
    void SetVisible(FNWindowId id, bool visible);
    void DestroyTree(FNWindowId id);
    void Deliver(FNPlatformListener& listener, const VirtualEvent& event);

    std::thread::id m_engineThread;
    int m_wake;
    std::deque<VirtualEvent> m_events; // guarded by the screen's lock
};

VirtualConnection* ownerOf(FNWindowId id)
{
    VirtualWindow* window = findWindow(id);
    return window ? window->owner : nullptr;
}

VirtualConnection::~VirtualConnection()
{
    assert(OnEngineThread() && "a platform connection is closed on its engine thread");
    {
        // Like a real connection closing: its windows go with it.
        Guard guard(screen().lock);
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
    state.window = FNNoWindow;
    for (FNWindowId id : windowsAtPoint(s.pointerX, s.pointerY)) {
        if (Own(id))
            state.window = id;
    }
    return true;
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

// Queues an event for whoever owns the window.
void queueFor(FNWindowId id, VirtualEvent event)
{
    if (VirtualConnection* owner = ownerOf(id))
        owner->Queue(std::move(event));
}

} // namespace

std::unique_ptr<FNPlatformConnection> FNPlatformConnection::Open(std::string& failure)
{
    failure.clear();
    return std::make_unique<VirtualConnection>();
}

uint32_t FNPlatformMilliseconds()
{
    return g_clock.load();
}

// ---- Test control --------------------------------------------------------------------

namespace FNVirtualPlatform {

void Reset()
{
    Guard guard(screen().lock);
    VirtualScreen& s = screen();
    g_clock = 0;
    s.focus = s.capture = FNNoWindow;
    s.pointerX = s.pointerY = s.buttons = 0;
    std::memset(s.keys, 0, sizeof s.keys);
    s.screenWidth = 1280;
    s.screenHeight = 1024;
    s.workAreaSet = false;
}

void SetMilliseconds(uint32_t now)
{
    g_clock = now;
}
void AdvanceMilliseconds(uint32_t delta)
{
    g_clock += delta;
}

void SetScreenSize(int width, int height)
{
    Guard guard(screen().lock);
    screen().screenWidth = width;
    screen().screenHeight = height;
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

void SetButtons(int buttons)
{
    Guard guard(screen().lock);
    screen().buttons = buttons & (FNButtonLeft | FNButtonRight | FNButtonMiddle);
}

static void setKey(int virtualKey, bool down)
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
