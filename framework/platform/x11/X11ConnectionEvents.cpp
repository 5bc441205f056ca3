// X11Connection: turning the engine display's events into listener calls.

#include "framework/platform/x11/X11Connection.h"

#include "framework/platform/x11/X11TextInput.h"

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
        HandleConfigure(event.xconfigure, listener);
        break;
    case MapNotify:
        HandleMap(event.xmap, listener);
        break;
    case UnmapNotify:
        if (Owns(event.xunmap.window))
            listener.OnShown(event.xunmap.window, false);
        break;
    case DestroyNotify:
        HandleDestroy(event.xdestroywindow, listener);
        break;
    case FocusIn:
    case FocusOut:
        HandleFocus(event.xfocus, listener);
        break;
    case KeyPress:
        HandleKeyPress(event.xkey, listener);
        break;
    case KeyRelease:
        HandleKeyRelease(event.xkey, listener);
        break;
    case ButtonPress:
        HandleButtonPress(event.xbutton, listener);
        break;
    case ClientMessage:
        HandleClientMessage(event.xclient, listener);
        break;
    case SelectionNotify:
        HandleSelection(event.xselection, listener);
        break;
    case MappingNotify:
        XRefreshKeyboardMapping(&event.xmapping);
        BuildKeyTable();
        break;
    default:
        break;
    }
}

void X11Connection::HandleConfigure(const XConfigureEvent& event, FNPlatformListener& listener)
{
    X11WindowRecord record;
    if (event.window != event.event || !m_windows.Find(event.window, record))
        return;
    int x = event.x, y = event.y;
    // A top-level window's own event is relative to a window manager's frame
    // (when there is one); the synthetic one the manager sends is already in
    // screen coordinates.
    if (!record.child && !event.send_event) {
        Window child = 0;
        XTranslateCoordinates(
            m_engine.display, event.window, DefaultRootWindow(m_engine.display), 0, 0, &x, &y, &child);
    }
    const bool moved = x != record.x || y != record.y;
    const bool resized = event.width != record.width || event.height != record.height;
    const bool present = m_windows.Update(event.window, [&](X11WindowRecord& stored) {
        stored.x = x;
        stored.y = y;
        stored.width = event.width;
        stored.height = event.height;
    });
    if (!present)
        return;
    if (moved)
        listener.OnMoved(event.window, x, y);
    if (resized)
        listener.OnResized(event.window, event.width, event.height);
}

void X11Connection::HandleMap(const XMapEvent& event, FNPlatformListener& listener)
{
    const bool present = m_windows.Update(event.window, [](X11WindowRecord& stored) {
        if (stored.state == FNWindowState::Minimised)
            stored.state = FNWindowState::Normal; // restored by the window manager
    });
    if (present)
        listener.OnShown(event.window, true);
}

void X11Connection::HandleDestroy(const XDestroyWindowEvent& event, FNPlatformListener& listener)
{
    // Only windows destroyed by someone else are still recorded.
    if (event.window != event.event || !Owns(event.window))
        return;
    m_windows.Remove(event.window);
    listener.OnDestroyed(event.window);
}

void X11Connection::HandleFocus(const XFocusChangeEvent& event, FNPlatformListener& listener)
{
    // Only the window that gains or loses focus itself: not its ancestors on
    // the way (virtual details), not pointer focus, not grabs.
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab || event.detail == NotifyPointer
        || event.detail == NotifyVirtual || event.detail == NotifyNonlinearVirtual)
        return;
    X11WindowRecord record;
    if (!m_windows.Find(event.window, record))
        return;
    const bool gained = event.type == FocusIn;
    if (record.inputContext)
        (gained ? XSetICFocus : XUnsetICFocus)(record.inputContext);
    listener.OnFocus(event.window, gained);
}

void X11Connection::HandleKeyPress(XKeyEvent& event, FNPlatformListener& listener)
{
    X11WindowRecord record;
    if (!m_windows.Find(event.window, record))
        return;
    // Key code 0: text committed by an input method, not a key.
    if (event.keycode != 0) {
        if (const int key = X11VirtualKeyOf(event))
            listener.OnKeyDown(event.window, key);
    }
    const std::string text = X11TypedText(record.inputContext, event);
    if (!text.empty())
        listener.OnTextInput(event.window, text);
}

void X11Connection::HandleKeyRelease(XKeyEvent& event, FNPlatformListener& listener)
{
    if (const int key = X11VirtualKeyOf(event); key && Owns(event.window))
        listener.OnKeyUp(event.window, key);
}

void X11Connection::HandleButtonPress(const XButtonEvent& event, FNPlatformListener& listener)
{
    // Buttons 4 and 5 are the wheel's notches away from and toward the user.
    if ((event.button == Button4 || event.button == Button5) && Owns(event.window))
        listener.OnWheel(event.window, event.button == Button4 ? 120 : -120);
}

void X11Connection::HandleClientMessage(const XClientMessageEvent& event, FNPlatformListener& listener)
{
    if (!Owns(event.window))
        return;
    if (event.message_type == m_atoms.wmProtocols && static_cast<Atom>(event.data.l[0]) == m_atoms.wmDeleteWindow)
        listener.OnCloseRequest(event.window);
    else
        m_dragAndDrop.HandleClientMessage(event);
}

// Files go to the deepest of our windows under the drop point.
void X11Connection::HandleSelection(const XSelectionEvent& event, FNPlatformListener& listener)
{
    X11DragAndDrop::Drop drop;
    if (!m_dragAndDrop.HandleSelection(event, drop))
        return;
    const Window target = DeepestOwnedAt(m_engine.display, drop.window, drop.rootX, drop.rootY);
    listener.OnFilesDropped(target ? target : drop.window, drop.paths);
}
