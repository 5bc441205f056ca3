#pragma once

#include "framework/platform/FNActivitySignal.h"
#include "framework/platform/FNPointerLatch.h"
#include "framework/platform/FNPointerState.h"
#include "framework/platform/FNThreadMessageQueue.h"
#include "framework/platform/FNWindowClass.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class FNImage;

// The window system as the framework sees it: one small interface behind
// which every call to the window system sits. Two backends implement it and
// a program chooses one when it links: tesserine_platform_x11 (Xlib) and
// tesserine_platform_virtual (records in memory, driven by tests).
//
// Threads. Each engine opens its own FNPlatformConnection on its engine
// thread; that thread is the connection's engine thread from then on.
//   - Engine thread only: CreateWindow, DestroyWindow, NextThreadMessage,
//     HasPending, Wait, DispatchEvents and the destructor. Listener callbacks
//     run on the engine thread, inside DispatchEvents; they may call any
//     operation of the connection but must not destroy it.
//   - Any thread: Post and every other operation (geometry, showing, alpha,
//     cursors, focus, presentation, input queries, capture). The X11 backend
//     serves the engine thread through its own display connection and every
//     other thread through a second one under a mutex, so the application
//     thread may present and sample input while the engine thread waits.
//     What such a call causes (OnMoved after SetGeometry, OnShown after
//     Show) arrives through DispatchEvents on the engine thread.
// Operations on a window that has just been destroyed (a race the engine
// cannot always avoid) do nothing and report nothing.
//
// Ownership. The connection owns every window created through it; its
// destructor (engine thread, once no other thread still uses the
// connection) destroys those that are left.
//
// Geometry. Windows have no frame of their own: the client area is the
// window. Positions of top-level windows are screen coordinates; positions
// of child windows are relative to the parent's client area.
//
// Linking: a program chooses its backend by linking exactly one of the
// CMake targets tesserine_platform_x11 or tesserine_platform_virtual; either
// brings tesserine_framework with it, and the order in which the program
// lists its libraries does not matter.

// Rectangle with exclusive right and bottom edges.
struct FNPlatformRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// Cursor identifiers: the system cursors keep the numbers of the system
// cursor table the program was designed against, the transform-box cursors
// the numbers of the program's own cursor bitmaps (FNCursorShapes.h).
enum FNCursorId : int {
    FNCursorArrow = 32512,
    FNCursorWait = 32514,
    FNCursorSizeNWSE = 32642, // diagonal: top-left to bottom-right
    FNCursorSizeNESW = 32643, // diagonal: top-right to bottom-left
    FNCursorSizeWE = 32644, // horizontal double arrow
    FNCursorSizeNS = 32645, // vertical double arrow
    FNCursorSizeAll = 32646, // four-way move
    FNCursorBoxFirst = 30000, // 30000..30007: see FNCursorShapes.h
    FNCursorBoxLast = 30007,
};

enum class FNWindowState : int {
    Normal,
    Minimised,
    Maximised,
};

// What to create. Positions and size describe the client area.
struct FNWindowDesc {
    FNWindowClass windowClass = FNWindowClass::Owner;
    // With child set: a child window inside parent's client area. Without:
    // a top-level window without decorations, owned by (kept above) the
    // top-level window of parent when parent is given.
    FNWindowId parent = FNNoWindow;
    bool child = false;
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
    std::string title;
};

// Window-system events, delivered on the engine thread by DispatchEvents.
// Every callback names the window it concerns; each has an empty default so
// a listener overrides only what it uses.
class FNPlatformListener {
public:
    virtual ~FNPlatformListener() = default;
    // Part of the window must be drawn again.
    virtual void OnPaint(FNWindowId, const FNPlatformRect&) { }
    // The window's position changed (also by the window system or the user);
    // screen coordinates for top-level windows, parent client for children.
    virtual void OnMoved(FNWindowId, int /*x*/, int /*y*/) { }
    virtual void OnResized(FNWindowId, int /*width*/, int /*height*/) { }
    // The user asked the window system to close the window.
    virtual void OnCloseRequest(FNWindowId) { }
    // virtualKey: the key's virtual-key code (FNVirtualKey.h). A held key
    // repeats key downs without key ups in between.
    virtual void OnKeyDown(FNWindowId, int /*virtualKey*/) { }
    virtual void OnKeyUp(FNWindowId, int /*virtualKey*/) { }
    // Multiples of 120 per notch, positive away from the user.
    virtual void OnWheel(FNWindowId, int /*delta*/) { }
    // Committed text in UTF-8, at most FNTextInputLimit bytes and never a
    // split letter. Typed printable keys give text too, after their key down.
    virtual void OnTextInput(FNWindowId, const std::string& /*utf8*/) { }
    // The window became visible and not minimised (true), or stopped being so.
    virtual void OnShown(FNWindowId, bool /*shown*/) { }
    virtual void OnFocus(FNWindowId, bool /*focused*/) { }
    // Local files dropped on the window, whole paths, in the order given.
    virtual void OnFilesDropped(FNWindowId, const std::vector<std::string>& /*paths*/) { }
    // The window was destroyed by something other than DestroyWindow (another
    // program, the window system); it is gone from the connection already.
    virtual void OnDestroyed(FNWindowId) { }
};

// Longest text one OnTextInput carries.
constexpr size_t FNTextInputLimit = 1024;

class FNPlatformConnection {
public:
    // Opens a connection for the calling thread, which becomes its engine
    // thread. Defined by the backend the program links. On failure returns
    // null and puts the reason into failure.
    static std::unique_ptr<FNPlatformConnection> Open(std::string& failure);

    virtual ~FNPlatformConnection() = default;
    FNPlatformConnection(const FNPlatformConnection&) = delete;
    FNPlatformConnection& operator=(const FNPlatformConnection&) = delete;

    // ---- Thread messages ---------------------------------------------------
    // Any thread. Messages reach NextThreadMessage in posting order, and a
    // post wakes a Wait on the engine thread.
    void Post(int message, uintptr_t param) { m_messages.Post(message, param); }
    // Engine thread: takes the oldest posted message.
    bool NextThreadMessage(FNThreadMessage& message) { return m_messages.Take(message); }
    // Engine thread: true when a thread message or a window-system event waits.
    bool HasPending() { return !m_messages.Empty() || HasPendingEvents(); }
    // Engine thread: waits up to timeoutMs (0: only looks; negative: as long
    // as it takes) until HasPending holds; returns HasPending().
    bool Wait(int timeoutMs);
    // Engine thread: turns every waiting window-system event into listener
    // calls; returns the number of events taken.
    virtual int DispatchEvents(FNPlatformListener& listener) = 0;

    // ---- Windows (create and destroy: engine thread) ----------------------
    // The new window is hidden, filled with its class's background colour.
    // Returns FNNoWindow when the window system refuses.
    virtual FNWindowId CreateWindow(const FNWindowDesc& desc) = 0;
    // Destroys the window and its child windows. False for unknown windows.
    virtual bool DestroyWindow(FNWindowId window) = 0;
    virtual void Show(FNWindowId window) = 0;
    virtual void Hide(FNWindowId window) = 0;
    // Moves and sizes the client area (size at least 1 x 1); OnMoved and
    // OnResized follow for what actually changed.
    virtual void SetGeometry(FNWindowId window, int x, int y, int width, int height) = 0;
    virtual void SetTitle(FNWindowId window, const std::string& title) = 0;
    // Whole-window opacity of a top-level window: 0..254 translucent,
    // 255 or more (or negative) opaque. Ignored for child windows.
    virtual void SetAlpha(FNWindowId window, int alpha) = 0;
    // Limits the window to the union of the rectangles (client coordinates):
    // nothing is shown and no pointer is caught outside them. An empty list
    // gives the window back its whole rectangle.
    virtual void SetShape(FNWindowId window, const std::vector<FNPlatformRect>& shape) = 0;
    virtual void SetWindowState(FNWindowId window, FNWindowState state) = 0;
    virtual FNWindowState WindowState(FNWindowId window) = 0;
    // The part of the screen for application windows (the screen when the
    // window system says nothing about panels).
    virtual FNPlatformRect WorkArea() = 0;

    // ---- Display ------------------------------------------------------------
    // Copies area of image (B, G, R, A rows) to the same place in the window;
    // area is clipped to the image. Alpha is not shown.
    virtual void Present(FNWindowId window, const FNImage& image, const FNPlatformRect& area) = 0;
    // Fills area of the window with rgb (0xRRGGBB).
    virtual void FillRect(FNWindowId window, const FNPlatformRect& area, uint32_t rgb) = 0;
    // Cursor shown while the pointer is over the window; unknown ids show
    // the arrow.
    virtual void SetCursor(FNWindowId window, int cursorId) = 0;

    // ---- Raw input ----------------------------------------------------------
    // The pointer now (position, our window under it, buttons down).
    virtual bool QueryPointer(FNPointerState& state) = 0;
    // The pointer for the engine's input sample, once per step: the oldest
    // button change the backend latched and no sample has shown yet, else
    // the live position with the latched buttons (FNPointerLatch.h). Every
    // press and release is seen this way, however short the click.
    bool SamplePointer(FNPointerState& state);
    // Whether button changes wait that no sample has shown yet.
    bool PointerChangesWaiting() const { return m_pointer.Waiting(); }
    virtual bool ScreenToClient(FNWindowId window, int& x, int& y) = 0;
    virtual bool ClientToScreen(FNWindowId window, int& x, int& y) = 0;
    // The 256-entry virtual-key table: bit 7 set while the key is down;
    // entries 1, 2 and 4 are the left, right and middle buttons.
    virtual void KeyboardState(uint8_t table[256]) = 0;
    // While captured, a window keeps the pointer while it is outside. The
    // pointer sample is global anyway; on X11 the press's own (implicit)
    // grab already keeps the pointer until release, so these calls change
    // nothing there, while the virtual backend records the captured window.
    virtual void SetCapture(FNWindowId window) = 0;
    virtual void ReleaseCapture() = 0;

    // ---- Focus ----------------------------------------------------------------
    // Keyboard focus to the window; FNNoWindow removes focus (keys are lost).
    // A window that is not on the screen cannot take focus.
    virtual void SetFocus(FNWindowId window) = 0;
    // The window of this connection with keyboard focus, or none.
    virtual FNWindowId FocusedWindow() = 0;
    // Raises the window's top-level window and gives it focus.
    virtual void Activate(FNWindowId window) = 0;
    // The top-level window of this connection holding focus, or none.
    virtual FNWindowId ActiveWindow() = 0;

protected:
    FNPlatformConnection() = default;
    // Backend part of HasPending and Wait.
    virtual bool HasPendingEvents() = 0;
    // A descriptor that becomes readable when window-system events arrive.
    virtual int EventDescriptor() = 0;
    // Where the backend reports button presses and releases as they happen.
    FNPointerLatch& PointerLatch() { return m_pointer; }

private:
    FNThreadMessageQueue m_messages;
    FNPointerLatch m_pointer;
};

// Credit lines of the libraries the linked backend brings ("name version,
// holder (web address)"); none for the virtual one.
std::vector<std::string> FNPlatformLibraryLines();

// The wait of an engine step that found nothing to do, on the thread that
// steps the engine: returns once `activity` has changed from `seen` (see
// FNActivitySignal.h). Defined by the linked backend: the X11 one sleeps
// until then, so an idle program costs no processor time; the virtual one
// counts the wait (FNVirtualPlatform::IdleWaits) and pauses 1 ms like a
// working step, so tests step an idle engine as before, whatever they set.
void FNPlatformWaitForActivity(FNActivitySignal& activity, uint64_t seen);

// Milliseconds from an arbitrary start, wrapping at 2^32; never goes back.
// Defined by the linked backend (the virtual one is set by tests).
uint32_t FNPlatformMilliseconds();
