// The X11 backend: each engine thread gets its own display connection for
// its windows and their events; every other thread shares a second
// connection (opened with it, used behind a mutex) for presentation, input
// queries and window changes. X resource ids are valid on both.
//
// Window-system facility            X11 here
//   thread messages + wake-up       FNThreadMessageQueue's eventfd polled with
//                                   the connection's socket
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

#include "framework/platform/FNCursorShapes.h"
#include "framework/platform/FNPlatform.h"
#include "framework/platform/FNUriList.h"
#include "imaging/text/Utf8.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/x11/FNX11Platform.h"
#include "framework/platform/x11/X11KeyMap.h"
#include "imaging/FNImage.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

namespace {

std::atomic<bool> g_useSharedMemory { true };

// ---- Errors ----------------------------------------------------------------------
// Requests on a window another thread has just destroyed fail harmlessly; the
// default handler would end the process. Errors are counted per thread (the
// handler runs on the thread that reads the reply), so a caller can check
// whether its own request failed.
thread_local int t_errors = 0;

int countError(Display*, XErrorEvent*)
{
    ++t_errors;
    return 0;
}

void installErrorHandler()
{
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(countError); });
}

// ---- Atoms -------------------------------------------------------------------------

struct Atoms {
    Atom wmProtocols, wmDeleteWindow, motifHints, netWmName, utf8String, opacity, workArea, currentDesktop,
        supportingWm, activeWindow, xdndAware, xdndEnter, xdndPosition, xdndStatus, xdndLeave, xdndDrop, xdndFinished,
        xdndSelection, xdndTypeList, xdndActionCopy, uriList;
};

Atoms internAtoms(Display* display)
{
    const char* names[] = { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "_MOTIF_WM_HINTS", "_NET_WM_NAME", "UTF8_STRING",
        "_NET_WM_WINDOW_OPACITY", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP", "_NET_SUPPORTING_WM_CHECK",
        "_NET_ACTIVE_WINDOW", "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndLeave", "XdndDrop",
        "XdndFinished", "XdndSelection", "XdndTypeList", "XdndActionCopy", "text/uri-list" };
    constexpr int count = sizeof names / sizeof names[0];
    static_assert(count * sizeof(Atom) == sizeof(Atoms), "one name per atom");
    Atom atoms[count];
    XInternAtoms(display, const_cast<char**>(names), count, False, atoms);
    Atoms result;
    std::memcpy(&result, atoms, sizeof result);
    return result;
}

// ---- Pixels --------------------------------------------------------------------------

int lowestBit(unsigned long mask)
{
    return mask ? __builtin_ctzl(mask) : 0;
}
int bitCount(unsigned long mask)
{
    return __builtin_popcountl(mask);
}

// A true-colour pixel from 8-bit channels: each channel scaled to its mask's
// width, c' = (c * (2^bits - 1) + 127) / 255, and shifted into place.
unsigned long trueColorPixel(const Visual* visual, uint32_t rgb)
{
    auto channel = [](unsigned value, unsigned long mask) {
        const unsigned long top = (1ul << bitCount(mask)) - 1;
        return ((value * top + 127) / 255) << lowestBit(mask);
    };
    return channel((rgb >> 16) & 0xFF, visual->red_mask) | channel((rgb >> 8) & 0xFF, visual->green_mask)
        | channel(rgb & 0xFF, visual->blue_mask);
}

unsigned long pixelFor(Display* display, uint32_t rgb)
{
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    if (visual->c_class == TrueColor || visual->c_class == DirectColor)
        return trueColorPixel(visual, rgb);
    XColor color {};
    color.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 257);
    color.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 257);
    color.blue = static_cast<unsigned short>((rgb & 0xFF) * 257);
    if (XAllocColor(display, DefaultColormap(display, screen), &color))
        return color.pixel;
    return (rgb & 0x808080) ? WhitePixel(display, screen) : BlackPixel(display, screen);
}

// The picture's pixel words (0xAARRGGBB) are already the server's pixels when
// the default visual is 8-8-8 true colour in 32-bit little-endian words.
bool wordsArePixels(Display* display)
{
    const int screen = DefaultScreen(display);
    const Visual* visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    return visual->c_class == TrueColor && (depth == 24 || depth == 32) && visual->red_mask == 0xFF0000
        && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF && ImageByteOrder(display) == LSBFirst;
}

// ---- One display connection and what is made on it ---------------------------------------

struct DisplayContext {
    Display* display = nullptr;
    GC gc = nullptr;
    std::map<int, Cursor> cursors;
    // The image presentation copies into: shared memory when the server
    // offers it, else ordinary memory sent with the request.
    XImage* image = nullptr;
    XShmSegmentInfo shm {};
    bool useShm = false;
    bool fastPixels = false;

    void Open(Display* opened);
    void Close();
    bool EnsureImage(int width, int height);
    void ReleaseImage();
    Cursor CursorFor(int cursorId);
};

void DisplayContext::Open(Display* opened)
{
    display = opened;
    gc = XCreateGC(display, DefaultRootWindow(display), 0, nullptr);
    XSetGraphicsExposures(display, gc, False);
    fastPixels = wordsArePixels(display);
    useShm = g_useSharedMemory && fastPixels && XShmQueryExtension(display);
}

void DisplayContext::Close()
{
    if (!display)
        return;
    ReleaseImage();
    for (auto& entry : cursors)
        XFreeCursor(display, entry.second);
    cursors.clear();
    XFreeGC(display, gc);
    XCloseDisplay(display);
    display = nullptr;
}

void DisplayContext::ReleaseImage()
{
    if (!image)
        return;
    if (shm.shmaddr) {
        XShmDetach(display, &shm);
        XSync(display, False);
        shmdt(shm.shmaddr);
        shm = {};
    }
    XDestroyImage(image);
    image = nullptr;
}

bool DisplayContext::EnsureImage(int width, int height)
{
    if (image && image->width >= width && image->height >= height)
        return true;
    const int newWidth = std::max(width, image ? image->width : 0);
    const int newHeight = std::max(height, image ? image->height : 0);
    ReleaseImage();
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    const unsigned depth = static_cast<unsigned>(DefaultDepth(display, screen));
    if (useShm) {
        image = XShmCreateImage(display, visual, depth, ZPixmap, nullptr, &shm, newWidth, newHeight);
        const int id = image
            ? shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * newHeight, IPC_CREAT | 0600)
            : -1;
        void* address = id >= 0 ? shmat(id, nullptr, 0) : reinterpret_cast<void*>(-1);
        if (address != reinterpret_cast<void*>(-1)) {
            shm.shmid = id;
            shm.shmaddr = image->data = static_cast<char*>(address);
            shm.readOnly = False;
            const int errorsBefore = t_errors;
            XShmAttach(display, &shm);
            XSync(display, False);
            // Marked for removal now: the segment lives until both sides detach.
            shmctl(id, IPC_RMID, nullptr);
            if (t_errors == errorsBefore)
                return true;
            // A remote server cannot attach our memory: use plain requests from now on.
            shmdt(address);
            shm = {};
        } else if (id >= 0) {
            shmctl(id, IPC_RMID, nullptr);
        }
        if (image) {
            image->data = nullptr;
            XDestroyImage(image);
            image = nullptr;
        }
        useShm = false;
    }
    image = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, static_cast<unsigned>(newWidth),
        static_cast<unsigned>(newHeight), 32, 0);
    if (!image)
        return false;
    image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * newHeight));
    if (!image->data) {
        XDestroyImage(image);
        image = nullptr;
        return false;
    }
    return true;
}

// A pixmap cursor from one of the program's pictures: '#' pixels take the
// foreground (black), '.' pixels the background (white), both are in the mask.
Cursor shapeCursor(Display* display, const FNCursorShape& shape)
{
    constexpr int rowBytes = FNCursorShapeSize / 8;
    unsigned char source[FNCursorShapeSize * rowBytes] = {};
    unsigned char mask[FNCursorShapeSize * rowBytes] = {};
    for (int y = 0; y < FNCursorShapeSize; ++y) {
        for (int x = 0; x < FNCursorShapeSize; ++x) {
            const char c = shape.rows[y][x];
            const unsigned char bit = static_cast<unsigned char>(1u << (x % 8)); // bitmaps are LSB first
            if (c == '#')
                source[y * rowBytes + x / 8] |= bit;
            if (c == '#' || c == '.')
                mask[y * rowBytes + x / 8] |= bit;
        }
    }
    const Window root = DefaultRootWindow(display);
    Pixmap sourceMap
        = XCreateBitmapFromData(display, root, reinterpret_cast<char*>(source), FNCursorShapeSize, FNCursorShapeSize);
    Pixmap maskMap
        = XCreateBitmapFromData(display, root, reinterpret_cast<char*>(mask), FNCursorShapeSize, FNCursorShapeSize);
    XColor black {}, white {};
    white.red = white.green = white.blue = 0xFFFF;
    black.flags = white.flags = DoRed | DoGreen | DoBlue;
    Cursor cursor = XCreatePixmapCursor(display, sourceMap, maskMap, &black, &white, static_cast<unsigned>(shape.hotX),
        static_cast<unsigned>(shape.hotY));
    XFreePixmap(display, sourceMap);
    XFreePixmap(display, maskMap);
    return cursor;
}

unsigned fontCursorShape(int cursorId)
{
    switch (cursorId) {
    case FNCursorWait:
        return XC_watch;
    case FNCursorSizeNWSE:
        return XC_bottom_right_corner;
    case FNCursorSizeNESW:
        return XC_bottom_left_corner;
    case FNCursorSizeWE:
        return XC_sb_h_double_arrow;
    case FNCursorSizeNS:
        return XC_sb_v_double_arrow;
    case FNCursorSizeAll:
        return XC_fleur;
    default:
        return XC_left_ptr;
    }
}

Cursor DisplayContext::CursorFor(int cursorId)
{
    auto found = cursors.find(cursorId);
    if (found != cursors.end())
        return found->second;
    const FNCursorShape* shape = FNFindCursorShape(cursorId);
    const Cursor cursor = shape ? shapeCursor(display, *shape) : XCreateFontCursor(display, fontCursorShape(cursorId));
    cursors[cursorId] = cursor;
    return cursor;
}

// ---- Records of our windows ----------------------------------------------------------------

struct WindowRecord {
    bool child = false;
    Window parent = 0;
    int x = 0, y = 0, width = 1, height = 1;
    FNWindowState state = FNWindowState::Normal;
    FNPlatformRect normalRect;
    XIC inputContext = nullptr;
};

// An XDND drag over one of our windows (engine thread only).
struct DragState {
    Window source = 0;
    Window target = 0;
    bool offersUriList = false;
    int rootX = 0, rootY = 0;
};

// The Motif window-manager hints: flags, functions, decorations, input mode,
// status; flag 2 says the decorations field is valid, and 0 there asks for
// none.
struct MotifHints {
    unsigned long flags, functions, decorations;
    long inputMode;
    unsigned long status;
};

// ---- The connection ---------------------------------------------------------------------------

class X11Connection final : public FNPlatformConnection {
public:
    X11Connection(Display* engine, Display* client);
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
    bool HasPendingEvents() override { return XPending(m_engine.display) > 0; }
    int EventDescriptor() override { return ConnectionNumber(m_engine.display); }

private:
    // The display for the calling thread, held for the duration of a call.
    class Use {
    public:
        explicit Use(X11Connection& connection);
        DisplayContext& context;
        Display* operator->() const { return context.display; }
        Display* display() const { return context.display; }

    private:
        std::unique_lock<std::mutex> m_guard;
    };
    friend class Use;

    bool OnEngineThread() const { return std::this_thread::get_id() == m_engineThread; }
    bool Owns(Window window);
    bool Record(Window window, WindowRecord& record);
    Window TopLevelOf(Window window);
    Window DeepestOwnedAt(Display* display, Window start, int rootX, int rootY);
    void BuildKeyTable();
    void SetTopLevelProperties(Window window, const FNWindowDesc& desc);
    void Forget(Window window);

    void HandleEvent(XEvent& event, FNPlatformListener& listener);
    void HandleConfigure(const XConfigureEvent& event, FNPlatformListener& listener);
    void HandleKeyPress(XKeyEvent& event, FNPlatformListener& listener);
    void HandleClientMessage(const XClientMessageEvent& event, FNPlatformListener& listener);
    void HandleDrop(const XSelectionEvent& event, FNPlatformListener& listener);
    void SendDndMessage(Window to, Atom type, long l1, long l2, long l3, long l4);

    std::thread::id m_engineThread;
    DisplayContext m_engine;
    std::mutex m_clientLock; // guards every use of m_client
    DisplayContext m_client;
    Atoms m_atoms {};
    bool m_windowManager = false;
    XIM m_inputMethod = nullptr;
    std::mutex m_recordLock; // guards m_windows and m_keyTable
    std::map<Window, WindowRecord> m_windows;
    uint8_t m_keyTable[256] = {}; // keycode -> virtual key
    DragState m_drag;
    std::string m_hostName;
};

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

X11Connection::X11Connection(Display* display, Display* client)
    : m_engineThread(std::this_thread::get_id())
{
    m_engine.Open(display);
    m_client.Open(client);
    m_atoms = internAtoms(display);
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    BuildKeyTable();
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), m_atoms.supportingWm, 0, 1, False, XA_WINDOW, &type,
            &format, &items, &after, &data)
            == Success
        && data) {
        m_windowManager = items == 1;
        XFree(data);
    }
    // The input method named by XMODIFIERS (ibus, fcitx, ...), else the
    // built-in one, which still turns keys into text.
    XSetLocaleModifiers("");
    m_inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    if (!m_inputMethod) {
        XSetLocaleModifiers("@im=none");
        m_inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    }
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        m_hostName = host;
}

X11Connection::~X11Connection()
{
    assert(OnEngineThread() && "a platform connection is closed on its engine thread");
    for (auto& entry : m_windows) {
        if (entry.second.inputContext)
            XDestroyIC(entry.second.inputContext);
    }
    if (m_inputMethod)
        XCloseIM(m_inputMethod);
    // Closing the engine's display destroys every window still open on it.
    m_client.Close();
    m_engine.Close();
}

void X11Connection::BuildKeyTable()
{
    int low = 0, high = 0;
    XDisplayKeycodes(m_engine.display, &low, &high);
    std::lock_guard<std::mutex> guard(m_recordLock);
    std::memset(m_keyTable, 0, sizeof m_keyTable);
    for (int code = std::max(low, 0); code <= std::min(high, 255); ++code) {
        const KeySym symbol = XkbKeycodeToKeysym(m_engine.display, static_cast<KeyCode>(code), 0, 0);
        m_keyTable[code] = static_cast<uint8_t>(FNVirtualKeyFromKeysym(symbol));
    }
}

bool X11Connection::Owns(Window window)
{
    std::lock_guard<std::mutex> guard(m_recordLock);
    return window && m_windows.count(window) > 0;
}

bool X11Connection::Record(Window window, WindowRecord& record)
{
    std::lock_guard<std::mutex> guard(m_recordLock);
    auto found = m_windows.find(window);
    if (found == m_windows.end())
        return false;
    record = found->second;
    return true;
}

Window X11Connection::TopLevelOf(Window window)
{
    std::lock_guard<std::mutex> guard(m_recordLock);
    for (auto found = m_windows.find(window); found != m_windows.end(); found = m_windows.find(window)) {
        if (!found->second.child)
            return window;
        window = found->second.parent;
    }
    return 0;
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

FNWindowId X11Connection::CreateWindow(const FNWindowDesc& desc)
{
    assert(OnEngineThread() && "windows are created on the engine thread");
    Display* display = m_engine.display;
    if (desc.child && !Owns(desc.parent))
        return FNNoWindow;
    const Window parent = desc.child ? static_cast<Window>(desc.parent) : DefaultRootWindow(display);
    const FNWindowClassRecord& windowClass = FNWindowClassRecordOf(desc.windowClass);
    XSetWindowAttributes attributes {};
    unsigned long valueMask = CWEventMask | CWBitGravity;
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask
        = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | FocusChangeMask;
    if (windowClass.background != FNNoBackground) {
        attributes.background_pixel = pixelFor(display, static_cast<uint32_t>(windowClass.background));
        valueMask |= CWBackPixel;
    }
    const int width = std::max(1, desc.width), height = std::max(1, desc.height);
    const Window window = XCreateWindow(display, parent, desc.x, desc.y, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent, valueMask, &attributes);
    if (!window)
        return FNNoWindow;
    WindowRecord record;
    record.child = desc.child;
    record.parent = desc.child ? parent : 0;
    record.x = desc.x;
    record.y = desc.y;
    record.width = width;
    record.height = height;
    record.normalRect = { desc.x, desc.y, desc.x + width, desc.y + height };
    if (!desc.child)
        SetTopLevelProperties(window, desc);
    if (m_inputMethod) {
        record.inputContext = XCreateIC(m_inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
            XNClientWindow, window, XNFocusWindow, window, nullptr);
        long filterMask = 0;
        if (record.inputContext && !XGetICValues(record.inputContext, XNFilterEvents, &filterMask, nullptr))
            XSelectInput(display, window, attributes.event_mask | filterMask);
    }
    {
        std::lock_guard<std::mutex> guard(m_recordLock);
        m_windows[window] = record;
    }
    // Other connections may use the window as soon as this returns.
    XSync(display, False);
    return window;
}

void X11Connection::SetTopLevelProperties(Window window, const FNWindowDesc& desc)
{
    Display* display = m_engine.display;
    XSetWMProtocols(display, window, &m_atoms.wmDeleteWindow, 1);
    MotifHints hints { 2, 0, 0, 0, 0 };
    XChangeProperty(display, window, m_atoms.motifHints, m_atoms.motifHints, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&hints), 5);
    // Keep the position the program asked for.
    XSizeHints size {};
    size.flags = USPosition | PPosition;
    size.x = desc.x;
    size.y = desc.y;
    XSetWMNormalHints(display, window, &size);
    XWMHints wmHints {};
    wmHints.flags = InputHint;
    wmHints.input = True;
    XSetWMHints(display, window, &wmHints);
    XClassHint classHint { const_cast<char*>(FNWindowClassRecordOf(desc.windowClass).name),
        const_cast<char*>("Tesserine") };
    XSetClassHint(display, window, &classHint);
    const Window owner = desc.parent ? TopLevelOf(static_cast<Window>(desc.parent)) : 0;
    if (owner)
        XSetTransientForHint(display, window, owner);
    const long dndVersion = 5;
    XChangeProperty(display, window, m_atoms.xdndAware, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&dndVersion), 1);
    SetTitle(window, desc.title);
}

void X11Connection::Forget(Window window)
{
    std::lock_guard<std::mutex> guard(m_recordLock);
    std::vector<Window> gone { window };
    // Children go with their parent; records name their parent, so sweep
    // until no record names a window already gone.
    for (bool found = true; found;) {
        found = false;
        for (auto& [id, record] : m_windows) {
            if (record.child && std::find(gone.begin(), gone.end(), record.parent) != gone.end()
                && std::find(gone.begin(), gone.end(), id) == gone.end()) {
                gone.push_back(id);
                found = true;
            }
        }
    }
    for (Window id : gone) {
        auto record = m_windows.find(id);
        if (record == m_windows.end())
            continue;
        if (record->second.inputContext)
            XDestroyIC(record->second.inputContext);
        m_windows.erase(record);
    }
}

bool X11Connection::DestroyWindow(FNWindowId id)
{
    assert(OnEngineThread() && "windows are destroyed on the engine thread");
    const Window window = static_cast<Window>(id);
    if (!Owns(window))
        return false;
    Forget(window);
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
    WindowRecord record;
    if (!Record(id, record))
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
    XStoreName(use.display(), id, title.c_str());
    XChangeProperty(use.display(), id, m_atoms.netWmName, m_atoms.utf8String, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XFlush(use.display());
}

void X11Connection::SetAlpha(FNWindowId id, int alpha)
{
    WindowRecord record;
    if (!Record(id, record) || record.child)
        return;
    Use use(*this);
    if (alpha >= 0 && alpha < 255) {
        // Opacity as a fraction of 0xFFFFFFFF: alpha * 0xFFFFFFFF / 255.
        const unsigned long opacity = static_cast<unsigned long>(alpha) * 0xFFFFFFFFul / 255;
        XChangeProperty(use.display(), id, m_atoms.opacity, XA_CARDINAL, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(&opacity), 1);
    } else {
        XDeleteProperty(use.display(), id, m_atoms.opacity);
    }
    XFlush(use.display());
}

void X11Connection::SetShape(FNWindowId id, const std::vector<FNPlatformRect>& shape)
{
    if (!Owns(id))
        return;
    Use use(*this);
    int eventBase = 0, errorBase = 0;
    if (!XShapeQueryExtension(use.display(), &eventBase, &errorBase))
        return;
    if (shape.empty()) {
        // No mask: the bounding shape is the window's rectangle again.
        XShapeCombineMask(use.display(), id, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> rects;
        for (const FNPlatformRect& rect : shape) {
            if (rect.Empty())
                continue;
            rects.push_back(XRectangle { static_cast<short>(std::clamp(rect.left, SHRT_MIN, SHRT_MAX)),
                static_cast<short>(std::clamp(rect.top, SHRT_MIN, SHRT_MAX)),
                static_cast<unsigned short>(std::min(rect.Width(), USHRT_MAX)),
                static_cast<unsigned short>(std::min(rect.Height(), USHRT_MAX)) });
        }
        XShapeCombineRectangles(use.display(), id, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
            ShapeSet, Unsorted);
    }
    XFlush(use.display());
}

void X11Connection::SetWindowState(FNWindowId id, FNWindowState state)
{
    WindowRecord record;
    if (!Record(id, record) || record.child || record.state == state)
        return;
    const FNWindowState old = record.state;
    {
        std::lock_guard<std::mutex> guard(m_recordLock);
        auto stored = m_windows.find(id);
        if (stored == m_windows.end())
            return; // destroyed meanwhile
        if (old == FNWindowState::Normal)
            stored->second.normalRect = { record.x, record.y, record.x + record.width, record.y + record.height };
        stored->second.state = state;
        record = stored->second;
    }
    const FNPlatformRect area = state == FNWindowState::Maximised ? WorkArea() : record.normalRect;
    Use use(*this);
    Display* display = use.display();
    if (state == FNWindowState::Minimised) {
        // A window manager keeps an icon; without one the window is simply
        // unmapped until it is restored.
        if (m_windowManager)
            XIconifyWindow(display, id, DefaultScreen(display));
        else
            XUnmapWindow(display, id);
    } else {
        if (old == FNWindowState::Minimised)
            XMapRaised(display, id);
        if (state == FNWindowState::Maximised || old == FNWindowState::Maximised)
            XMoveResizeWindow(display, id, area.left, area.top, static_cast<unsigned>(std::max(1, area.Width())),
                static_cast<unsigned>(std::max(1, area.Height())));
    }
    XFlush(display);
}

FNWindowState X11Connection::WindowState(FNWindowId id)
{
    WindowRecord record;
    return Record(id, record) ? record.state : FNWindowState::Normal;
}

FNPlatformRect X11Connection::WorkArea()
{
    Use use(*this);
    Display* display = use.display();
    const int screen = DefaultScreen(display);
    FNPlatformRect area { 0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen) };
    long desktop = 0;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, RootWindow(display, screen), m_atoms.currentDesktop, 0, 1, False, XA_CARDINAL,
            &type, &format, &items, &after, &data)
            == Success
        && data) {
        if (items == 1)
            desktop = reinterpret_cast<long*>(data)[0];
        XFree(data);
        data = nullptr;
    }
    // Four values per desktop: x, y, width, height.
    if (XGetWindowProperty(display, RootWindow(display, screen), m_atoms.workArea, 0, LONG_MAX / 4, False, XA_CARDINAL,
            &type, &format, &items, &after, &data)
            == Success
        && data) {
        const long* values = reinterpret_cast<long*>(data);
        const unsigned long first = static_cast<unsigned long>(desktop) * 4;
        if (format == 32 && desktop >= 0 && first + 4 <= items && values[first + 2] > 0 && values[first + 3] > 0) {
            area = { static_cast<int>(values[first]), static_cast<int>(values[first + 1]),
                static_cast<int>(values[first] + values[first + 2]),
                static_cast<int>(values[first + 1] + values[first + 3]) };
        }
        XFree(data);
    }
    return area;
}

// ---- Display ------------------------------------------------------------------------------------

void X11Connection::Present(FNWindowId id, const FNImage& image, const FNPlatformRect& area)
{
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min(area.right, image.width), bottom = std::min(area.bottom, image.height);
    if (!image.pixels || right <= left || bottom <= top || !Owns(id))
        return;
    const int width = right - left, height = bottom - top;
    Use use(*this);
    DisplayContext& context = use.context;
    if (!context.EnsureImage(width, height))
        return;
    XImage* target = context.image;
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = image.row(top + y) + left;
        if (context.fastPixels) {
            std::memcpy(
                target->data + static_cast<size_t>(y) * target->bytes_per_line, source, static_cast<size_t>(width) * 4);
            continue;
        }
        const Visual* visual = DefaultVisual(use.display(), DefaultScreen(use.display()));
        for (int x = 0; x < width; ++x)
            XPutPixel(target, x, y, trueColorPixel(visual, source[x] & 0xFFFFFF));
    }
    if (context.useShm) {
        XShmPutImage(use.display(), id, context.gc, target, 0, 0, left, top, static_cast<unsigned>(width),
            static_cast<unsigned>(height), False);
        // The server reads the shared memory later: wait until it has, so the
        // next Present may write it again.
        XSync(use.display(), False);
    } else {
        XPutImage(use.display(), id, context.gc, target, 0, 0, left, top, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
        XFlush(use.display());
    }
}

void X11Connection::FillRect(FNWindowId id, const FNPlatformRect& area, uint32_t rgb)
{
    if (area.Empty() || !Owns(id))
        return;
    Use use(*this);
    XSetForeground(use.display(), use.context.gc, pixelFor(use.display(), rgb));
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

// ---- Raw input and focus --------------------------------------------------------------------------

int buttonsOf(unsigned mask)
{
    return ((mask & Button1Mask) ? FNButtonLeft : 0) | ((mask & Button3Mask) ? FNButtonRight : 0)
        | ((mask & Button2Mask) ? FNButtonMiddle : 0);
}

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
    std::lock_guard<std::mutex> guard(m_recordLock);
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

void X11Connection::SetFocus(FNWindowId id)
{
    if (id != FNNoWindow && !Owns(id))
        return;
    Use use(*this);
    XSetInputFocus(use.display(), id ? id : None, id ? RevertToParent : RevertToNone, CurrentTime);
    XFlush(use.display());
}

FNWindowId X11Connection::FocusedWindow()
{
    Window focus = 0;
    int revert = 0;
    {
        Use use(*this);
        XGetInputFocus(use.display(), &focus, &revert);
    }
    return Owns(focus) ? focus : FNNoWindow;
}

void X11Connection::Activate(FNWindowId id)
{
    const Window top = TopLevelOf(id);
    if (!top)
        return;
    Use use(*this);
    Display* display = use.display();
    XRaiseWindow(display, top);
    if (m_windowManager) {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = top;
        event.xclient.message_type = m_atoms.activeWindow;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1; // from an application
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(
            display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }
    XSetInputFocus(display, top, RevertToParent, CurrentTime);
    XFlush(display);
}

FNWindowId X11Connection::ActiveWindow()
{
    Window focus = 0;
    int revert = 0;
    {
        Use use(*this);
        XGetInputFocus(use.display(), &focus, &revert);
    }
    return TopLevelOf(focus);
}

// ---- Events ----------------------------------------------------------------------------------------

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
    const Window window = event.xany.window;
    switch (event.type) {
    case Expose:
        listener.OnPaint(window,
            { event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                event.xexpose.y + event.xexpose.height });
        break;
    case ConfigureNotify:
        HandleConfigure(event.xconfigure, listener);
        break;
    case MapNotify: {
        std::lock_guard<std::mutex> guard(m_recordLock);
        auto found = m_windows.find(event.xmap.window);
        if (found != m_windows.end() && found->second.state == FNWindowState::Minimised)
            found->second.state = FNWindowState::Normal; // restored by the window manager
    }
        if (Owns(event.xmap.window))
            listener.OnShown(event.xmap.window, true);
        break;
    case UnmapNotify:
        if (Owns(event.xunmap.window))
            listener.OnShown(event.xunmap.window, false);
        break;
    case DestroyNotify:
        // Only windows destroyed by someone else are still recorded.
        if (event.xdestroywindow.window == event.xdestroywindow.event && Owns(event.xdestroywindow.window)) {
            Forget(event.xdestroywindow.window);
            listener.OnDestroyed(event.xdestroywindow.window);
        }
        break;
    case FocusIn:
    case FocusOut: {
        // Only the window that gains or loses focus itself: not its
        // ancestors on the way (virtual details), not pointer focus, not grabs.
        const int detail = event.xfocus.detail;
        if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab || detail == NotifyPointer
            || detail == NotifyVirtual || detail == NotifyNonlinearVirtual)
            break;
        WindowRecord record;
        if (!Record(window, record))
            break;
        if (record.inputContext)
            (event.type == FocusIn ? XSetICFocus : XUnsetICFocus)(record.inputContext);
        listener.OnFocus(window, event.type == FocusIn);
        break;
    }
    case KeyPress:
        HandleKeyPress(event.xkey, listener);
        break;
    case KeyRelease:
        if (const int key = FNVirtualKeyFromKeysym(XLookupKeysym(&event.xkey, 0)); key && Owns(window))
            listener.OnKeyUp(window, key);
        break;
    case ButtonPress:
        // Buttons 4 and 5 are the wheel's notches away from and toward the user.
        if ((event.xbutton.button == Button4 || event.xbutton.button == Button5) && Owns(window))
            listener.OnWheel(window, event.xbutton.button == Button4 ? 120 : -120);
        break;
    case ClientMessage:
        HandleClientMessage(event.xclient, listener);
        break;
    case SelectionNotify:
        HandleDrop(event.xselection, listener);
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
    if (event.window != event.event)
        return;
    WindowRecord record;
    if (!Record(event.window, record))
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
    {
        std::lock_guard<std::mutex> guard(m_recordLock);
        auto stored = m_windows.find(event.window);
        if (stored == m_windows.end())
            return;
        stored->second.x = x;
        stored->second.y = y;
        stored->second.width = event.width;
        stored->second.height = event.height;
    }
    if (moved)
        listener.OnMoved(event.window, x, y);
    if (resized)
        listener.OnResized(event.window, event.width, event.height);
}

void X11Connection::HandleKeyPress(XKeyEvent& event, FNPlatformListener& listener)
{
    WindowRecord record;
    if (!Record(event.window, record))
        return;
    // Key code 0: text committed by an input method, not a key.
    if (event.keycode != 0) {
        if (const int key = FNVirtualKeyFromKeysym(XLookupKeysym(&event, 0)))
            listener.OnKeyDown(event.window, key);
    }
    std::string text;
    if (record.inputContext) {
        std::string buffer(64, '\0');
        KeySym symbol = 0;
        Status status = 0;
        int length = Xutf8LookupString(
            record.inputContext, &event, &buffer[0], static_cast<int>(buffer.size()), &symbol, &status);
        if (status == XBufferOverflow) {
            buffer.resize(static_cast<size_t>(length) + 1);
            length = Xutf8LookupString(
                record.inputContext, &event, &buffer[0], static_cast<int>(buffer.size()), &symbol, &status);
        }
        if ((status == XLookupChars || status == XLookupBoth) && length > 0)
            text.assign(buffer.data(), static_cast<size_t>(length));
    } else {
        char latin1[16];
        KeySym symbol = 0;
        XLookupString(&event, latin1, sizeof latin1, &symbol, nullptr);
        text = FNTextFromKeysym(symbol);
    }
    text = utf8Cut(FNWithoutControlCharacters(text), FNTextInputLimit);
    if (!text.empty())
        listener.OnTextInput(event.window, text);
}

// ---- Drag and drop (XDND, receiving side) ------------------------------------------------------------

void X11Connection::SendDndMessage(Window to, Atom type, long l1, long l2, long l3, long l4)
{
    XEvent reply {};
    reply.xclient.type = ClientMessage;
    reply.xclient.window = to;
    reply.xclient.message_type = type;
    reply.xclient.format = 32;
    reply.xclient.data.l[0] = static_cast<long>(m_drag.target);
    reply.xclient.data.l[1] = l1;
    reply.xclient.data.l[2] = l2;
    reply.xclient.data.l[3] = l3;
    reply.xclient.data.l[4] = l4;
    XSendEvent(m_engine.display, to, False, NoEventMask, &reply);
    XFlush(m_engine.display);
}

void X11Connection::HandleClientMessage(const XClientMessageEvent& event, FNPlatformListener& listener)
{
    const Atoms& a = m_atoms;
    if (!Owns(event.window))
        return;
    if (event.message_type == a.wmProtocols && static_cast<Atom>(event.data.l[0]) == a.wmDeleteWindow) {
        listener.OnCloseRequest(event.window);
    } else if (event.message_type == a.xdndEnter) {
        m_drag = {};
        m_drag.source = static_cast<Window>(event.data.l[0]);
        m_drag.target = event.window;
        // Up to three types in the message; more in the source's type list.
        if (event.data.l[1] & 1) {
            Atom type = 0;
            int format = 0;
            unsigned long items = 0, after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(m_engine.display, m_drag.source, a.xdndTypeList, 0, 1024, False, XA_ATOM, &type,
                    &format, &items, &after, &data)
                    == Success
                && data) {
                const Atom* types = reinterpret_cast<Atom*>(data);
                m_drag.offersUriList = std::find(types, types + items, a.uriList) != types + items;
                XFree(data);
            }
        } else {
            for (int i = 2; i < 5; ++i)
                m_drag.offersUriList |= static_cast<Atom>(event.data.l[i]) == a.uriList;
        }
    } else if (event.message_type == a.xdndPosition && m_drag.source == static_cast<Window>(event.data.l[0])) {
        m_drag.rootX = static_cast<int>((event.data.l[2] >> 16) & 0xFFFF);
        m_drag.rootY = static_cast<int>(event.data.l[2] & 0xFFFF);
        // Accept (bit 0) copies of file lists; an empty rectangle asks for
        // every position.
        SendDndMessage(m_drag.source, a.xdndStatus, m_drag.offersUriList ? 1 : 0, 0, 0,
            m_drag.offersUriList ? static_cast<long>(a.xdndActionCopy) : 0);
    } else if (event.message_type == a.xdndLeave) {
        m_drag = {};
    } else if (event.message_type == a.xdndDrop && m_drag.source == static_cast<Window>(event.data.l[0])) {
        if (m_drag.offersUriList)
            XConvertSelection(m_engine.display, a.xdndSelection, a.uriList, a.xdndSelection, m_drag.target,
                static_cast<Time>(event.data.l[2]));
        else
            SendDndMessage(m_drag.source, a.xdndFinished, 0, 0, 0, 0);
    }
}

void X11Connection::HandleDrop(const XSelectionEvent& event, FNPlatformListener& listener)
{
    if (!m_drag.source || event.requestor != m_drag.target || event.selection != m_atoms.xdndSelection)
        return;
    std::vector<std::string> paths;
    if (event.property != None) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(m_engine.display, event.requestor, event.property, 0, LONG_MAX / 4, True,
                AnyPropertyType, &type, &format, &items, &after, &data)
                == Success
            && data) {
            if (format == 8)
                paths = FNLocalPathsFromUriList(std::string(reinterpret_cast<char*>(data), items), m_hostName);
            XFree(data);
        }
    }
    const Window target = DeepestOwnedAt(m_engine.display, m_drag.target, m_drag.rootX, m_drag.rootY);
    SendDndMessage(m_drag.source, m_atoms.xdndFinished, paths.empty() ? 0 : 1, 0,
        paths.empty() ? 0 : static_cast<long>(m_atoms.xdndActionCopy), 0);
    m_drag = {};
    if (!paths.empty())
        listener.OnFilesDropped(target ? target : event.requestor, paths);
}

} // namespace

// A busy server can turn a connection away for a moment (its listen queue
// full); a few quick retries tell that apart from a display that is not
// there at all.
static Display* openDisplay(const char* name)
{
    for (int attempt = 0;; ++attempt) {
        errno = 0;
        if (Display* display = XOpenDisplay(name))
            return display;
        if (attempt == 4)
            return nullptr;
        usleep(20000);
    }
}

void FNX11UseSharedMemory(bool use)
{
    g_useSharedMemory = use;
}

std::unique_ptr<FNPlatformConnection> FNPlatformConnection::Open(std::string& failure)
{
    failure.clear();
    installErrorHandler();
    // One connection for the engine thread, one for every other thread.
    Display* engine = openDisplay(nullptr);
    Display* client = engine ? openDisplay(DisplayString(engine)) : nullptr;
    if (!client) {
        const int error = errno;
        if (engine)
            XCloseDisplay(engine);
        const char* name = std::getenv("DISPLAY");
        failure = std::string("cannot open the X display \"") + (name ? name : "") + "\"";
        if (error)
            failure += std::string(" (") + std::strerror(error) + ")";
        return nullptr;
    }
    return std::make_unique<X11Connection>(engine, client);
}

uint32_t FNPlatformMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Wraps at 2^32 like the system's millisecond counter.
    return static_cast<uint32_t>(
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
