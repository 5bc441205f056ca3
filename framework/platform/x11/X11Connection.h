#pragma once

// The X11 backend's FNPlatformConnection. Private to the X11 backend: only
// its .cpp files and tests include this header.
//
// Each engine thread gets its own display connection for its windows and
// their events; every other thread shares a second connection (opened with
// it, used behind a mutex) for presentation, input queries and window
// changes. X resource ids are valid on both.
//
// Window-system facility            X11 here
//   thread messages + wake-up       FNThreadMessageQueue's eventfd polled with
//                                   the connection's socket
//   idle wait of the engine step    sleeps until the engine thread notes
//                                   events (motion and crossings selected
//                                   so that pointer moves wake it)
//   window classes                  background pixel of the class record
//   top-level (popup) window        top-level window, Motif hints without
//                                   decorations, transient for its owner
//   child window                    X child window
//   move / size / close messages    ConfigureNotify / WM_DELETE_WINDOW
//   paint                           Expose
//   key down / up                   KeyPress / KeyRelease -> virtual-key code
//   wheel                           buttons 4 and 5 -> +120 / -120
//   layered window alpha            _NET_WM_WINDOW_OPACITY
//   work area                       _NET_WORKAREA, else the screen
//   keyboard table                  XQueryKeymap + pointer buttons
//   cursor position, window at it   XQueryPointer descending to our windows
//   button state of a sample        ButtonPress / ButtonRelease latched in
//                                   order (FNPointerLatch)
//   capture                         the implicit grab of the press
//   blit to the window              XShmPutImage, else XPutImage
//   input-method result string      XIM + Xutf8LookupString (typed keys give
//                                   text through it, or through the key
//                                   symbol when no input method opens)
//   dropped files                   XDND, text/uri-list of local files
//   focus, activation               XSetInputFocus, XRaiseWindow and
//                                   _NET_ACTIVE_WINDOW when a manager runs
//   activate / minimised -> shown   MapNotify / UnmapNotify
//   minimise, maximise              XIconifyWindow (unmap without a window
//                                   manager); maximise fills the work area
//   cursors                         X cursor font; 30000..30007 from the
//                                   program's own pictures (FNCursorShapes)
//   enabled / disabled windows      none in X: the engine records it
//   lost display                    one line on standard error, exit status 1

#include "framework/platform/FNPlatform.h"
#include "framework/platform/x11/X11Atoms.h"
#include "framework/platform/x11/X11DisplayContext.h"
#include "framework/platform/x11/X11DragAndDrop.h"
#include "framework/platform/x11/X11Handles.h"
#include "framework/platform/x11/X11WindowTable.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

class X11Connection final : public FNPlatformConnection {
public:
    // Takes over two open displays on the same server: engine for the
    // calling (engine) thread, client for every other thread.
    X11Connection(_XDisplay* engine, _XDisplay* client);
    ~X11Connection() override;

    int DispatchEvents(FNPlatformListener& listener) override;
    FNWindowId CreateWindow(const FNWindowDesc& desc) override;
    bool DestroyWindow(FNWindowId window) override;
    void Show(FNWindowId window) override;
    void Hide(FNWindowId window) override;
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
    void SetCapture(FNWindowId) override { }
    void ReleaseCapture() override { }
    void SetFocus(FNWindowId window) override;
    FNWindowId FocusedWindow() override;
    void Activate(FNWindowId window) override;
    FNWindowId ActiveWindow() override;

protected:
    bool HasPendingEvents() override;
    int EventDescriptor() override;

private:
    // The display for the calling thread, held for the duration of a call.
    class Use {
    public:
        explicit Use(X11Connection& connection);
        X11DisplayContext& context;
        _XDisplay* display() const { return context.display; }

    private:
        std::unique_lock<std::mutex> m_guard;
    };
    friend class Use;

    bool OnEngineThread() const { return std::this_thread::get_id() == m_engineThread; }
    bool Owns(X11Window window) { return m_windows.Owns(window); }
    X11Window DeepestOwnedAt(_XDisplay* display, X11Window start, int rootX, int rootY);
    void BuildKeyTable();
    X11WindowRecord NewRecord(const FNWindowDesc& desc, X11Window parent) const;
    X11Window CreateXWindow(const FNWindowDesc& desc, X11Window parent, long eventMask);
    X11Window FocusWindow();

    // Events (X11ConnectionEvents.cpp). HandleEvent picks the handler by the
    // event's type; each handler reads the member of its kind of event.
    void HandleEvent(_XEvent& event, FNPlatformListener& listener);
    void HandleConfigure(const _XEvent& event, FNPlatformListener& listener);
    void HandleMap(const _XEvent& event, FNPlatformListener& listener);
    void HandleDestroy(const _XEvent& event, FNPlatformListener& listener);
    void HandleFocus(const _XEvent& event, FNPlatformListener& listener);
    void HandleKeyPress(_XEvent& event, FNPlatformListener& listener);
    void HandleKeyRelease(_XEvent& event, FNPlatformListener& listener);
    void HandleButtonPress(const _XEvent& event, FNPlatformListener& listener);
    void HandleButtonRelease(const _XEvent& event);
    void HandleClientMessage(const _XEvent& event, FNPlatformListener& listener);
    void HandleSelection(const _XEvent& event, FNPlatformListener& listener);

    std::thread::id m_engineThread;
    X11DisplayContext m_engine;
    std::mutex m_clientLock; // guards every use of m_client
    X11DisplayContext m_client;
    X11Atoms m_atoms {};
    bool m_windowManager = false;
    _XIM* m_inputMethod = nullptr; // Xlib's XIM
    X11WindowTable m_windows;
    std::mutex m_keyLock; // guards m_keyTable
    uint8_t m_keyTable[256] = {}; // keycode -> virtual key
    X11DragAndDrop m_dragAndDrop; // engine thread only
};
