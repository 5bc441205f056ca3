#include "framework/platform/x11/X11Connection.h"

#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/x11/X11PixelFormat.h"
#include "framework/platform/x11/X11TextInput.h"
#include "framework/platform/x11/X11WindowProperties.h"
#include "imaging/FNImage.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {

int buttonsOf(unsigned mask)
{
    return ((mask & Button1Mask) ? FNButtonLeft : 0) | ((mask & Button3Mask) ? FNButtonRight : 0)
        | ((mask & Button2Mask) ? FNButtonMiddle : 0);
}

std::string hostName()
{
    char host[256] = {};
    return gethostname(host, sizeof host - 1) == 0 ? std::string(host) : std::string();
}

} // namespace

X11Connection::Use::Use(X11Connection& connection)
    : context(connection.OnEngineThread() ? connection.m_engine : connection.m_client)
{
    if (connection.OnEngineThread())
        return;
    m_guard = std::unique_lock<std::mutex>(connection.m_clientLock);
    // This connection selects no input, but replies may carry events with
    // them; drop what has gathered so the queue never grows.
    XEvent discarded;
    while (XQLength(context.display) > 0)
        XNextEvent(context.display, &discarded);
}

bool X11Connection::HasPendingEvents()
{
    return XPending(m_engine.display) > 0;
}

int X11Connection::EventDescriptor()
{
    return ConnectionNumber(m_engine.display);
}

// ---- Opening and closing ------------------------------------------------------------------

X11Connection::X11Connection(Display* display, Display* client)
    : m_engineThread(std::this_thread::get_id())
{
    m_engine.Open(display);
    m_client.Open(client);
    m_atoms = X11InternAtoms(display);
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    BuildKeyTable();
    m_windowManager = X11HasWindowManager(display, m_atoms);
    m_inputMethod = X11OpenInputMethod(display);
    m_dragAndDrop.Attach(display, m_atoms, hostName());
}

X11Connection::~X11Connection()
{
    assert(OnEngineThread() && "a platform connection is closed on its engine thread");
    m_windows.DestroyInputContexts();
    if (m_inputMethod)
        XCloseIM(m_inputMethod);
    // Closing the engine's display destroys every window still open on it.
    m_client.Close();
    m_engine.Close();
}

void X11Connection::BuildKeyTable()
{
    uint8_t table[256];
    X11FillKeyTable(m_engine.display, table);
    std::lock_guard<std::mutex> guard(m_keyLock);
    std::memcpy(m_keyTable, table, sizeof m_keyTable);
}

// The deepest of our windows on the path from start down to the window
// containing the root point.
Window X11Connection::DeepestOwnedAt(Display* display, Window start, int rootX, int rootY)
{
    const Window root = DefaultRootWindow(display);
    Window deepest = 0;
    for (Window window = start; window;) {
        if (Owns(window))
            deepest = window;
        int x = 0, y = 0;
        Window child = 0;
        if (!XTranslateCoordinates(display, root, window, rootX, rootY, &x, &y, &child))
            break;
        window = child;
    }
    return deepest;
}

// ---- Windows ------------------------------------------------------------------------------------

X11WindowRecord X11Connection::NewRecord(const FNWindowDesc& desc, Window parent) const
{
    X11WindowRecord record;
    record.child = desc.child;
    record.parent = desc.child ? parent : 0;
    record.x = desc.x;
    record.y = desc.y;
    record.width = std::max(1, desc.width);
    record.height = std::max(1, desc.height);
    record.normalRect = { desc.x, desc.y, desc.x + record.width, desc.y + record.height };
    return record;
}

Window X11Connection::CreateXWindow(const FNWindowDesc& desc, Window parent, long eventMask)
{
    Display* display = m_engine.display;
    const FNWindowClassRecord& windowClass = FNWindowClassRecordOf(desc.windowClass);
    XSetWindowAttributes attributes {};
    unsigned long valueMask = CWEventMask | CWBitGravity;
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = eventMask;
    if (windowClass.background != FNNoBackground) {
        attributes.background_pixel = X11PixelFor(display, static_cast<uint32_t>(windowClass.background));
        valueMask |= CWBackPixel;
    }
    return XCreateWindow(display, parent, desc.x, desc.y, static_cast<unsigned>(std::max(1, desc.width)),
        static_cast<unsigned>(std::max(1, desc.height)), 0, CopyFromParent, InputOutput, CopyFromParent, valueMask,
        &attributes);
}

FNWindowId X11Connection::CreateWindow(const FNWindowDesc& desc)
{
    assert(OnEngineThread() && "windows are created on the engine thread");
    Display* display = m_engine.display;
    if (desc.child && !Owns(desc.parent))
        return FNNoWindow;
    const Window parent = desc.child ? static_cast<Window>(desc.parent) : DefaultRootWindow(display);
    // Pointer motion and crossings carry nothing the engine reads (it asks
    // for the pointer each step), but they wake an engine that is waiting
    // for input.
    const long eventMask = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask
        | ButtonReleaseMask | FocusChangeMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
    const Window window = CreateXWindow(desc, parent, eventMask);
    if (!window)
        return FNNoWindow;
    X11WindowRecord record = NewRecord(desc, parent);
    if (!desc.child) {
        const Window owner = desc.parent ? m_windows.TopLevelOf(static_cast<Window>(desc.parent)) : 0;
        X11SetTopLevelProperties(display, m_atoms, window, desc, owner);
    }
    if (m_inputMethod)
        record.inputContext = X11CreateInputContext(m_inputMethod, display, window, eventMask);
    m_windows.Add(window, record);
    // Other connections may use the window as soon as this returns.
    XSync(display, False);
    return window;
}

bool X11Connection::DestroyWindow(FNWindowId id)
{
    assert(OnEngineThread() && "windows are destroyed on the engine thread");
    const Window window = static_cast<Window>(id);
    if (!Owns(window))
        return false;
    m_windows.Remove(window);
    XDestroyWindow(m_engine.display, window);
    XSync(m_engine.display, False);
    return true;
}

void X11Connection::Show(FNWindowId id)
{
    if (!Owns(id))
        return;
    Use use(*this);
    XMapWindow(use.display(), id);
    XFlush(use.display());
}

void X11Connection::Hide(FNWindowId id)
{
    X11WindowRecord record;
    if (!m_windows.Find(id, record))
        return;
    Use use(*this);
    if (record.child)
        XUnmapWindow(use.display(), id);
    else
        XWithdrawWindow(use.display(), id, DefaultScreen(use.display()));
    XFlush(use.display());
}

void X11Connection::SetGeometry(FNWindowId id, int x, int y, int width, int height)
{
    if (!Owns(id))
        return;
    Use use(*this);
    XMoveResizeWindow(
        use.display(), id, x, y, static_cast<unsigned>(std::max(1, width)), static_cast<unsigned>(std::max(1, height)));
    XFlush(use.display());
}

void X11Connection::SetTitle(FNWindowId id, const std::string& title)
{
    if (!Owns(id))
        return;
    Use use(*this);
    X11SetTitle(use.display(), m_atoms, id, title);
    XFlush(use.display());
}

void X11Connection::SetAlpha(FNWindowId id, int alpha)
{
    X11WindowRecord record;
    if (!m_windows.Find(id, record) || record.child)
        return;
    Use use(*this);
    X11SetOpacity(use.display(), m_atoms, id, alpha);
    XFlush(use.display());
}

void X11Connection::SetShape(FNWindowId id, const std::vector<FNPlatformRect>& shape)
{
    if (!Owns(id))
        return;
    Use use(*this);
    X11SetShape(use.display(), id, shape);
    XFlush(use.display());
}

void X11Connection::SetWindowState(FNWindowId id, FNWindowState state)
{
    X11WindowRecord record;
    if (!m_windows.Find(id, record) || record.child || record.state == state)
        return;
    const FNWindowState old = record.state;
    const bool present = m_windows.Update(id, [&](X11WindowRecord& stored) {
        if (old == FNWindowState::Normal)
            stored.normalRect = { record.x, record.y, record.x + record.width, record.y + record.height };
        stored.state = state;
        record = stored;
    });
    if (!present)
        return; // destroyed meanwhile
    const FNPlatformRect area = state == FNWindowState::Maximised ? WorkArea() : record.normalRect;
    Use use(*this);
    X11ChangeWindowState(use.display(), id, old, state, area, m_windowManager);
    XFlush(use.display());
}

FNWindowState X11Connection::WindowState(FNWindowId id)
{
    X11WindowRecord record;
    return m_windows.Find(id, record) ? record.state : FNWindowState::Normal;
}

FNPlatformRect X11Connection::WorkArea()
{
    Use use(*this);
    return X11WorkArea(use.display(), m_atoms);
}

// ---- Display ------------------------------------------------------------------------------------

void X11Connection::Present(FNWindowId id, const FNImage& image, const FNPlatformRect& area)
{
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min(area.right, image.width), bottom = std::min(area.bottom, image.height);
    if (!image.pixels || right <= left || bottom <= top || !Owns(id))
        return;
    Use use(*this);
    use.context.presenter.Present(id, use.context.gc, image, left, top, right - left, bottom - top);
}

void X11Connection::FillRect(FNWindowId id, const FNPlatformRect& area, uint32_t rgb)
{
    if (area.Empty() || !Owns(id))
        return;
    Use use(*this);
    XSetForeground(use.display(), use.context.gc, X11PixelFor(use.display(), rgb));
    XFillRectangle(use.display(), id, use.context.gc, area.left, area.top, static_cast<unsigned>(area.Width()),
        static_cast<unsigned>(area.Height()));
    XFlush(use.display());
}

void X11Connection::SetCursor(FNWindowId id, int cursorId)
{
    if (!Owns(id))
        return;
    Use use(*this);
    XDefineCursor(use.display(), id, use.context.CursorFor(cursorId));
    XFlush(use.display());
}

// ---- Raw input ----------------------------------------------------------------------------------

bool X11Connection::QueryPointer(FNPointerState& state)
{
    Use use(*this);
    Display* display = use.display();
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask))
        return false;
    state.screenX = rootX;
    state.screenY = rootY;
    state.buttons = buttonsOf(mask);
    state.window = child ? DeepestOwnedAt(display, child, rootX, rootY) : FNNoWindow;
    return true;
}

bool X11Connection::ScreenToClient(FNWindowId id, int& x, int& y)
{
    if (!Owns(id))
        return false;
    Use use(*this);
    Window child = 0;
    return XTranslateCoordinates(use.display(), DefaultRootWindow(use.display()), id, x, y, &x, &y, &child);
}

bool X11Connection::ClientToScreen(FNWindowId id, int& x, int& y)
{
    if (!Owns(id))
        return false;
    Use use(*this);
    Window child = 0;
    return XTranslateCoordinates(use.display(), id, DefaultRootWindow(use.display()), x, y, &x, &y, &child);
}

void X11Connection::KeyboardState(uint8_t table[256])
{
    std::memset(table, 0, 256);
    char keys[32] = {};
    unsigned mask = 0;
    {
        Use use(*this);
        Display* display = use.display();
        XQueryKeymap(display, keys);
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
    }
    std::lock_guard<std::mutex> guard(m_keyLock);
    for (int code = 0; code < 256; ++code) {
        if (!(keys[code / 8] & (1 << (code % 8))) || !m_keyTable[code])
            continue;
        // Bit 7: the key is down; a sided modifier also holds its generic entry.
        table[m_keyTable[code]] = 0x80;
        if (const int generic = FNGenericModifierKey(m_keyTable[code]))
            table[generic] = 0x80;
    }
    const int buttons = buttonsOf(mask);
    table[FNKeyLeftButton] = (buttons & FNButtonLeft) ? 0x80 : 0;
    table[FNKeyRightButton] = (buttons & FNButtonRight) ? 0x80 : 0;
    table[FNKeyMiddleButton] = (buttons & FNButtonMiddle) ? 0x80 : 0;
}

// ---- Focus --------------------------------------------------------------------------------------

void X11Connection::SetFocus(FNWindowId id)
{
    if (id != FNNoWindow && !Owns(id))
        return;
    Use use(*this);
    XSetInputFocus(use.display(), id ? id : None, id ? RevertToParent : RevertToNone, CurrentTime);
    XFlush(use.display());
}

Window X11Connection::FocusWindow()
{
    Window focus = 0;
    int revert = 0;
    Use use(*this);
    XGetInputFocus(use.display(), &focus, &revert);
    return focus;
}

FNWindowId X11Connection::FocusedWindow()
{
    const Window focus = FocusWindow();
    return Owns(focus) ? focus : FNNoWindow;
}

void X11Connection::Activate(FNWindowId id)
{
    const Window top = m_windows.TopLevelOf(id);
    if (!top)
        return;
    Use use(*this);
    Display* display = use.display();
    XRaiseWindow(display, top);
    if (m_windowManager)
        X11RequestActivation(display, m_atoms, top);
    XSetInputFocus(display, top, RevertToParent, CurrentTime);
    XFlush(display);
}

FNWindowId X11Connection::ActiveWindow()
{
    return m_windows.TopLevelOf(FocusWindow());
}
