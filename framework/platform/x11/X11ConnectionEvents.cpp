// X11Connection: turning the engine display's events into listener calls.

#include "framework/platform/x11/X11Connection.h"

#include "framework/platform/x11/X11TextInput.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cassert>

int X11Connection::DispatchEvents(FNPlatformListener& listener)
{
    assert(OnEngineThread() && "window-system events are dispatched on the engine thread");
    int count = 0;
    while (XPending(m_engine.display) > 0) {
        XEvent event;
        XNextEvent(m_engine.display, &event);
        ++count;
        // The input method sees every event first and may keep it.
        if (XFilterEvent(&event, None))
            continue;
        HandleEvent(event, listener);
    }
    return count;
}

void X11Connection::HandleEvent(XEvent& event, FNPlatformListener& listener)
{
    switch (event.type) {
    case Expose: {
        const XExposeEvent& expose = event.xexpose;
        listener.OnPaint(expose.window, { expose.x, expose.y, expose.x + expose.width, expose.y + expose.height });
        break;
    }
    case ConfigureNotify:
        HandleConfigure(event, listener);
        break;
    case MapNotify:
        HandleMap(event, listener);
        break;
    case UnmapNotify:
        if (Owns(event.xunmap.window))
            listener.OnShown(event.xunmap.window, false);
        break;
    case DestroyNotify:
        HandleDestroy(event, listener);
        break;
    case FocusIn:
    case FocusOut:
        HandleFocus(event, listener);
        break;
    case KeyPress:
        HandleKeyPress(event, listener);
        break;
    case KeyRelease:
        HandleKeyRelease(event, listener);
        break;
    case ButtonPress:
        HandleButtonPress(event, listener);
        break;
    case ButtonRelease:
        HandleButtonRelease(event);
        break;
    case ClientMessage:
        HandleClientMessage(event, listener);
        break;
    case SelectionNotify:
        HandleSelection(event, listener);
        break;
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        BuildKeyTable();
        break;
    default:
        break;
    }
}

void X11Connection::HandleConfigure(const XEvent& event, FNPlatformListener& listener)
{
    const XConfigureEvent& configure = event.xconfigure;
    X11WindowRecord record;
    if (configure.window != configure.event || !m_windows.Find(configure.window, record))
        return;
    int x = configure.x, y = configure.y;
    // A top-level window's own event is relative to a window manager's frame
    // (when there is one); the synthetic one the manager sends is already in
    // screen coordinates.
    if (!record.child && !configure.send_event) {
        Window child = 0;
        XTranslateCoordinates(
            m_engine.display, configure.window, DefaultRootWindow(m_engine.display), 0, 0, &x, &y, &child);
    }
    const bool moved = x != record.x || y != record.y;
    const bool resized = configure.width != record.width || configure.height != record.height;
    const bool present = m_windows.Update(configure.window, [&](X11WindowRecord& stored) {
        stored.x = x;
        stored.y = y;
        stored.width = configure.width;
        stored.height = configure.height;
    });
    if (!present)
        return;
    if (moved)
        listener.OnMoved(configure.window, x, y);
    if (resized)
        listener.OnResized(configure.window, configure.width, configure.height);
}

void X11Connection::HandleMap(const XEvent& event, FNPlatformListener& listener)
{
    const XMapEvent& map = event.xmap;
    const bool present = m_windows.Update(map.window, [](X11WindowRecord& stored) {
        if (stored.state == FNWindowState::Minimised)
            stored.state = FNWindowState::Normal; // restored by the window manager
    });
    if (present)
        listener.OnShown(map.window, true);
}

void X11Connection::HandleDestroy(const XEvent& event, FNPlatformListener& listener)
{
    const XDestroyWindowEvent& destroyed = event.xdestroywindow;
    // Only windows destroyed by someone else are still recorded.
    if (destroyed.window != destroyed.event || !Owns(destroyed.window))
        return;
    m_windows.Remove(destroyed.window);
    listener.OnDestroyed(destroyed.window);
}

void X11Connection::HandleFocus(const XEvent& event, FNPlatformListener& listener)
{
    const XFocusChangeEvent& focus = event.xfocus;
    // Only the window that gains or loses focus itself: not its ancestors on
    // the way (virtual details), not pointer focus, not grabs.
    if (focus.mode == NotifyGrab || focus.mode == NotifyUngrab || focus.detail == NotifyPointer
        || focus.detail == NotifyVirtual || focus.detail == NotifyNonlinearVirtual)
        return;
    X11WindowRecord record;
    if (!m_windows.Find(focus.window, record))
        return;
    const bool gained = focus.type == FocusIn;
    if (record.inputContext)
        (gained ? XSetICFocus : XUnsetICFocus)(record.inputContext);
    listener.OnFocus(focus.window, gained);
}

void X11Connection::HandleKeyPress(XEvent& event, FNPlatformListener& listener)
{
    const Window window = event.xkey.window;
    X11WindowRecord record;
    if (!m_windows.Find(window, record))
        return;
    // Key code 0: text committed by an input method, not a key.
    if (event.xkey.keycode != 0) {
        if (const int key = X11VirtualKeyOf(event))
            listener.OnKeyDown(window, key);
    }
    const std::string text = X11TypedText(record.inputContext, event);
    if (!text.empty())
        listener.OnTextInput(window, text);
}

void X11Connection::HandleKeyRelease(XEvent& event, FNPlatformListener& listener)
{
    if (const int key = X11VirtualKeyOf(event); key && Owns(event.xkey.window))
        listener.OnKeyUp(event.xkey.window, key);
}

namespace {

// The framework's button for an X button, or 0 (the wheel, extra buttons).
int frameworkButton(unsigned button)
{
    switch (button) {
    case Button1:
        return FNButtonLeft;
    case Button2:
        return FNButtonMiddle;
    case Button3:
        return FNButtonRight;
    default:
        return 0;
    }
}

int frameworkButtons(unsigned state)
{
    return ((state & Button1Mask) ? FNButtonLeft : 0) | ((state & Button2Mask) ? FNButtonMiddle : 0)
        | ((state & Button3Mask) ? FNButtonRight : 0);
}

} // namespace

// Presses and releases are latched where they happened, so that the engine's
// next samples see each of them however short the click (FNPointerLatch.h).
// The event's state holds the buttons down before it.
void X11Connection::HandleButtonPress(const XEvent& event, FNPlatformListener& listener)
{
    const XButtonEvent& button = event.xbutton;
    if (!Owns(button.window))
        return;
    // Buttons 4 and 5 are the wheel's notches away from and toward the user.
    if (button.button == Button4 || button.button == Button5) {
        listener.OnWheel(button.window, button.button == Button4 ? 120 : -120);
        return;
    }
    if (const int pressed = frameworkButton(button.button)) {
        // The press goes to the deepest of our windows that selects presses:
        // the one under the pointer, or the one a held button keeps.
        PointerLatch().Press({ button.x_root, button.y_root, button.window, frameworkButtons(button.state) | pressed,
            FNPlatformMilliseconds() });
    }
}

void X11Connection::HandleButtonRelease(const XEvent& event)
{
    const XButtonEvent& button = event.xbutton;
    const int released = frameworkButton(button.button);
    if (!released || !Owns(button.window))
        return;
    // The press's grab sends the release here wherever the pointer is: the
    // window under it is looked up.
    const Window root = DefaultRootWindow(m_engine.display);
    const Window under = DeepestOwnedAt(m_engine.display, root, button.x_root, button.y_root);
    PointerLatch().Release(
        { button.x_root, button.y_root, under, frameworkButtons(button.state) & ~released, FNPlatformMilliseconds() });
}

void X11Connection::HandleClientMessage(const XEvent& event, FNPlatformListener& listener)
{
    const XClientMessageEvent& message = event.xclient;
    if (!Owns(message.window))
        return;
    if (message.message_type == m_atoms.wmProtocols && static_cast<Atom>(message.data.l[0]) == m_atoms.wmDeleteWindow)
        listener.OnCloseRequest(message.window);
    else
        m_dragAndDrop.HandleClientMessage(event);
}

// Files go to the deepest of our windows under the drop point.
void X11Connection::HandleSelection(const XEvent& event, FNPlatformListener& listener)
{
    X11DragAndDrop::Drop drop;
    if (!m_dragAndDrop.HandleSelection(event, drop))
        return;
    const Window target = DeepestOwnedAt(m_engine.display, drop.window, drop.rootX, drop.rootY);
    listener.OnFilesDropped(target ? target : drop.window, drop.paths);
}
