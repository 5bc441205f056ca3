// Real windows on the X display in DISPLAY (Xvfb in CI): each test opens an
// engine connection and drives it the way another program, the window
// manager or the user (through XTEST, with xdotool) would.

#include "framework/platform/FNCursorShapes.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/x11/FNX11Platform.h"
#include "imaging/FNImage.h"
#include "tests/framework/platform/RecordingListener.h"

// GoogleTest before Xlib: Xlib's None and Bool macros break its headers.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

using Line = RecordingListener;

namespace {

// Runs xdotool; the display is the one in DISPLAY.
int xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

} // namespace

class X11Platform : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string failure;
        connection = FNPlatformConnection::Open(failure);
        ASSERT_TRUE(connection) << "The X11 window tests need an X display (scripts/xvfb-display.sh starts Xvfb): "
                                << failure;
        probe = XOpenDisplay(nullptr);
        ASSERT_NE(probe, nullptr);
        root = DefaultRootWindow(probe);
    }
    void TearDown() override
    {
        // Never leave a key or button held for the next test.
        xdotool("keyup Control_L Alt_L Shift_L space a n");
        xdotool("mouseup 1");
        connection.reset();
        if (probe)
            XCloseDisplay(probe);
    }

    // Dispatches events until condition holds; false after 20 seconds
    // without it (only a broken backend waits that long).
    bool PumpUntil(const std::function<bool()>& condition)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            connection->Wait(10);
            connection->DispatchEvents(listener);
            ServeProbe();
        }
        return true;
    }
    bool PumpUntilEvent(const std::string& line)
    {
        return PumpUntil([&] { return listener.Has(line); });
    }

    FNWindowId Make(
        FNWindowClass windowClass, int x, int y, int w, int h, FNWindowId parent = FNNoWindow, bool child = false)
    {
        FNWindowDesc desc;
        desc.windowClass = windowClass;
        desc.x = x;
        desc.y = y;
        desc.width = w;
        desc.height = h;
        desc.parent = parent;
        desc.child = child;
        desc.title = "Tesserine test";
        return connection->CreateWindow(desc);
    }
    // Shows the window and waits until it is on the screen and painted.
    void ShowAndWait(FNWindowId w)
    {
        connection->Show(w);
        ASSERT_TRUE(PumpUntil([&] {
            return listener.Has(Line::Line("shown", w)) && !listener.Starting("paint " + Line::Id(w)).empty();
        })) << "window "
            << w << " never appeared";
    }
    void Focus(FNWindowId w)
    {
        connection->SetFocus(w);
        ASSERT_TRUE(PumpUntilEvent(Line::Line("focus-in", w)));
    }

    // A round trip on the connection: once it returns, the server has handled
    // every request the connection sent before, so the probe (another client)
    // reads their effect and not a race with them.
    void Settle()
    {
        FNPointerState ignored;
        connection->QueryPointer(ignored);
    }
    uint32_t ScreenPixel(FNWindowId w, int x, int y)
    {
        Settle();
        XImage* image = XGetImage(probe, w, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xDEADBEEF;
        const uint32_t value = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
        XDestroyImage(image);
        return value;
    }
    std::string Property(Window w, const char* name, Atom& type)
    {
        Settle();
        unsigned char* data = nullptr;
        int format = 0;
        unsigned long items = 0, after = 0;
        std::string value;
        type = None;
        if (XGetWindowProperty(probe, w, XInternAtom(probe, name, False), 0, 1 << 20, False, AnyPropertyType, &type,
                &format, &items, &after, &data)
                == Success
            && data) {
            const size_t unit = format == 8 ? 1 : (format == 16 ? sizeof(short) : sizeof(long));
            value.assign(reinterpret_cast<char*>(data), items * unit);
            XFree(data);
        }
        return value;
    }
    void SendClientMessage(Window to, const char* type, long l0, long l1 = 0, long l2 = 0, long l3 = 0, long l4 = 0)
    {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = to;
        event.xclient.message_type = XInternAtom(probe, type, False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = l0;
        event.xclient.data.l[1] = l1;
        event.xclient.data.l[2] = l2;
        event.xclient.data.l[3] = l3;
        event.xclient.data.l[4] = l4;
        XSendEvent(probe, to, False, NoEventMask, &event);
        XFlush(probe);
    }

    // The probe as a drag source: answers selection requests with uriList
    // and notes the target's replies.
    void ServeProbe()
    {
        while (probe && XPending(probe) > 0) {
            XEvent event;
            XNextEvent(probe, &event);
            if (event.type == ClientMessage) {
                const std::string name = AtomName(event.xclient.message_type);
                if (name == "XdndStatus")
                    statusAccepted = (event.xclient.data.l[1] & 1) != 0;
                if (name == "XdndFinished")
                    finishedAccepted = (event.xclient.data.l[1] & 1) ? 1 : 0;
            } else if (event.type == SelectionRequest) {
                const XSelectionRequestEvent& request = event.xselectionrequest;
                XChangeProperty(probe, request.requestor, request.property, request.target, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(uriList.data()), static_cast<int>(uriList.size()));
                XEvent reply {};
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = request.requestor;
                reply.xselection.selection = request.selection;
                reply.xselection.target = request.target;
                reply.xselection.property = request.property;
                reply.xselection.time = request.time;
                XSendEvent(probe, request.requestor, False, NoEventMask, &reply);
                XFlush(probe);
            }
        }
    }
    std::string AtomName(Atom atom)
    {
        char* name = XGetAtomName(probe, atom);
        std::string text = name ? name : "";
        if (name)
            XFree(name);
        return text;
    }

    void CheckPresentation();

    std::unique_ptr<FNPlatformConnection> connection;
    RecordingListener listener;
    Display* probe = nullptr;
    Window root = 0;
    std::string uriList;
    bool statusAccepted = false;
    int finishedAccepted = -1;
};

TEST_F(X11Platform, ClassBackgroundsFillNewWindows)
{
    const FNWindowId black = Make(FNWindowClass::Black, 10, 10, 30, 20);
    const FNWindowId themed = Make(FNWindowClass::Window, 50, 10, 30, 20);
    const FNWindowId white = Make(FNWindowClass::White, 90, 10, 30, 20);
    ShowAndWait(black);
    ShowAndWait(themed);
    ShowAndWait(white);
    EXPECT_EQ(ScreenPixel(black, 5, 5), 0x000000u);
    EXPECT_EQ(ScreenPixel(themed, 29, 19), 0xF7FAFFu);
    EXPECT_EQ(ScreenPixel(white, 0, 0), 0xFFFFFFu);
}

void X11Platform::CheckPresentation()
{
    const FNWindowId w = Make(FNWindowClass::Black, 40, 40, 67, 45);
    ShowAndWait(w);
    FNImage back(67, 45);
    for (int y = 0; y < 45; ++y) {
        for (int x = 0; x < 67; ++x)
            back.setColor(x, y, (x * 37) & 255, (y * 53) & 255, (x * y) & 255, x & 1 ? 0 : 255);
    }
    // The picture's colour at (x, y) as the window shows it (no alpha).
    auto pattern = [](int x, int y) {
        return uint32_t((x * 37) & 255) << 16 | uint32_t((y * 53) & 255) << 8 | uint32_t((x * y) & 255);
    };
    // A small area first, so that the whole picture needs a larger image.
    connection->Present(w, back, { 0, 0, 9, 7 });
    EXPECT_EQ(ScreenPixel(w, 8, 6), pattern(8, 6));
    EXPECT_EQ(ScreenPixel(w, 9, 6), 0x000000u);
    connection->Present(w, back, { 0, 0, 67, 45 });
    for (int y = 0; y < 45; y += 4) {
        for (int x = 0; x < 67; x += 3)
            ASSERT_EQ(ScreenPixel(w, x, y), pattern(x, y)) << x << "," << y;
    }
    // A dirty rectangle updates only its own pixels.
    back.fill(10, 200, 30, 255);
    connection->Present(w, back, { 20, 10, 30, 15 });
    EXPECT_EQ(ScreenPixel(w, 20, 10), 0x0AC81Eu);
    EXPECT_EQ(ScreenPixel(w, 29, 14), 0x0AC81Eu);
    EXPECT_EQ(ScreenPixel(w, 30, 14), pattern(30, 14));
    EXPECT_EQ(ScreenPixel(w, 19, 10), pattern(19, 10));
    connection->FillRect(w, { 0, 40, 5, 45 }, 0x102030);
    EXPECT_EQ(ScreenPixel(w, 4, 44), 0x102030u);
}

TEST_F(X11Platform, PresentedPixelsReachTheWindow)
{
    CheckPresentation();
}

TEST_F(X11Platform, PresentedPixelsReachTheWindowWithoutSharedMemory)
{
    // A fresh connection that sends pixels in ordinary requests.
    connection.reset();
    FNX11UseSharedMemory(false);
    std::string failure;
    connection = FNPlatformConnection::Open(failure);
    FNX11UseSharedMemory(true);
    ASSERT_TRUE(connection) << failure;
    CheckPresentation();
}

TEST_F(X11Platform, PresentAndPointerFromTheApplicationThread)
{
    const FNWindowId w = Make(FNWindowClass::Black, 300, 300, 64, 64);
    ShowAndWait(w);
    ASSERT_EQ(xdotool("mousemove 310 320"), 0);
    FNPointerState state;
    std::thread application([&] {
        // Larger than anything presented so far: the image behind it grows.
        FNImage back(64, 64);
        back.fill(255, 0, 128, 255);
        connection->Present(w, back, { 0, 0, 64, 64 });
        connection->QueryPointer(state);
    });
    // The engine thread keeps handling its events meanwhile.
    connection->Wait(10);
    connection->DispatchEvents(listener);
    application.join();
    EXPECT_EQ(ScreenPixel(w, 63, 63), 0xFF0080u);
    EXPECT_EQ(state.screenX, 310);
    EXPECT_EQ(state.screenY, 320);
    EXPECT_EQ(state.window, w);
}

TEST_F(X11Platform, WindowManagerCloseBecomesACloseRequest)
{
    const FNWindowId w = Make(FNWindowClass::Window, 0, 0, 50, 50);
    ShowAndWait(w);
    Atom type = None;
    const std::string protocols = Property(w, "WM_PROTOCOLS", type);
    ASSERT_EQ(protocols.size(), sizeof(long));
    EXPECT_EQ(static_cast<Atom>(*reinterpret_cast<const long*>(protocols.data())),
        XInternAtom(probe, "WM_DELETE_WINDOW", False));
    SendClientMessage(w, "WM_PROTOCOLS", static_cast<long>(XInternAtom(probe, "WM_DELETE_WINDOW", False)), CurrentTime);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("close", w)));
    // A close request only asks: the window is still there.
    EXPECT_TRUE(connection->DestroyWindow(w));
}

TEST_F(X11Platform, MovesAndSizesAreReported)
{
    const FNWindowId w = Make(FNWindowClass::Window, 100, 110, 80, 60);
    ShowAndWait(w);
    connection->SetGeometry(w, 130, 140, 90, 70);
    ASSERT_TRUE(PumpUntil([&] {
        return listener.Has(Line::Line("moved", w, { 130, 140 })) && listener.Has(Line::Line("resized", w, { 90, 70 }));
    }));
    // Moved by another program (as a window manager would), size unchanged.
    listener.events.clear();
    XMoveWindow(probe, w, 55, 66);
    XFlush(probe);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("moved", w, { 55, 66 })));
    EXPECT_TRUE(listener.Starting("resized").empty());
    int x = 60, y = 70;
    ASSERT_TRUE(connection->ScreenToClient(w, x, y));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 4);
    ASSERT_TRUE(connection->ClientToScreen(w, x, y));
    EXPECT_EQ(x, 60);
    EXPECT_EQ(y, 70);
}

TEST_F(X11Platform, TopLevelPropertiesOwnerTitleAndOpacity)
{
    const FNWindowId owner = Make(FNWindowClass::Window, 0, 0, 50, 50);
    const FNWindowId owned = Make(FNWindowClass::Window, 10, 10, 20, 20, owner, false);
    const FNWindowId child = Make(FNWindowClass::Window, 1, 1, 5, 5, owner, true);
    Window transientFor = 0;
    ASSERT_TRUE(XGetTransientForHint(probe, owned, &transientFor));
    EXPECT_EQ(transientFor, owner);
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(probe, child, &rootReturn, &parent, &children, &count));
    if (children)
        XFree(children);
    EXPECT_EQ(parent, owner);
    Atom type = None;
    const std::string hints = Property(owned, "_MOTIF_WM_HINTS", type);
    ASSERT_EQ(hints.size(), 5 * sizeof(long));
    EXPECT_EQ(reinterpret_cast<const long*>(hints.data())[0] & 2, 2); // decorations field given...
    EXPECT_EQ(reinterpret_cast<const long*>(hints.data())[2], 0); // ...and empty
    // The title given at creation, in both the old and the UTF-8 property.
    EXPECT_EQ(Property(owned, "_NET_WM_NAME", type), "Tesserine test");
    EXPECT_EQ(Property(owned, "WM_NAME", type), "Tesserine test");
    connection->SetTitle(owner, "新規キャンバス");
    connection->SetAlpha(owner, 128);
    XSync(probe, False);
    EXPECT_EQ(Property(owner, "_NET_WM_NAME", type), "新規キャンバス");
    const std::string opacity = Property(owner, "_NET_WM_WINDOW_OPACITY", type);
    ASSERT_EQ(opacity.size(), sizeof(long));
    // 32-bit property values come back sign-extended in a long.
    EXPECT_EQ(static_cast<uint32_t>(*reinterpret_cast<const long*>(opacity.data())), 0x80808080u);
    connection->SetAlpha(owner, 255);
    XSync(probe, False);
    EXPECT_TRUE(Property(owner, "_NET_WM_WINDOW_OPACITY", type).empty());
    EXPECT_EQ(type, static_cast<Atom>(None));
}

TEST_F(X11Platform, WorkAreaFromTheDesktopElseTheScreen)
{
    const Atom workArea = XInternAtom(probe, "_NET_WORKAREA", False);
    XDeleteProperty(probe, root, workArea);
    XSync(probe, False);
    FNPlatformRect area = connection->WorkArea();
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.Width(), DisplayWidth(probe, DefaultScreen(probe)));
    EXPECT_EQ(area.Height(), DisplayHeight(probe, DefaultScreen(probe)));
    const long values[4] = { 0, 24, 800, 600 };
    XChangeProperty(
        probe, root, workArea, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(values), 4);
    XSync(probe, False);
    area = connection->WorkArea();
    XDeleteProperty(probe, root, workArea);
    XSync(probe, False);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 24);
    EXPECT_EQ(area.right, 800);
    EXPECT_EQ(area.bottom, 624);
}

TEST_F(X11Platform, TypedKeysGiveVirtualKeysAndText)
{
    const FNWindowId w = Make(FNWindowClass::Window, 0, 0, 60, 60);
    ShowAndWait(w);
    Focus(w);
    EXPECT_EQ(connection->FocusedWindow(), w);
    EXPECT_EQ(connection->ActiveWindow(), w);
    ASSERT_EQ(xdotool("key a"), 0);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("key-up", w, { 'A' })));
    EXPECT_EQ(listener.Starting("key-"),
        (std::vector<std::string> { Line::Line("key-down", w, { 'A' }), Line::Line("key-up", w, { 'A' }) }));
    EXPECT_EQ(listener.Starting("text"), (std::vector<std::string> { "text " + Line::Id(w) + " a" }));

    listener.events.clear();
    ASSERT_EQ(xdotool("key space Return BackSpace Escape Delete Left F5 3"), 0);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("key-up", w, { '3' })));
    EXPECT_EQ(listener.Starting("key-down"),
        (std::vector<std::string> { Line::Line("key-down", w, { 32 }), Line::Line("key-down", w, { 13 }),
            Line::Line("key-down", w, { 8 }), Line::Line("key-down", w, { 27 }), Line::Line("key-down", w, { 46 }),
            Line::Line("key-down", w, { 37 }), Line::Line("key-down", w, { 0x74 }),
            Line::Line("key-down", w, { '3' }) }));
    // Only the printable keys type text.
    EXPECT_EQ(listener.Starting("text"),
        (std::vector<std::string> { "text " + Line::Id(w) + "  ", "text " + Line::Id(w) + " 3" }));
}

TEST_F(X11Platform, ControlLetterIsAKeyWithoutText)
{
    const FNWindowId w = Make(FNWindowClass::Window, 0, 0, 60, 60);
    ShowAndWait(w);
    Focus(w);
    ASSERT_EQ(xdotool("key ctrl+n"), 0);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("key-up", w, { 'N' })));
    EXPECT_TRUE(listener.Has(Line::Line("key-down", w, { FNKeyLeftControl })));
    EXPECT_TRUE(listener.Has(Line::Line("key-down", w, { 'N' })));
    EXPECT_TRUE(listener.Starting("text").empty());
}

TEST_F(X11Platform, HeldKeysAndButtonsShowInTheKeyTable)
{
    const FNWindowId w = Make(FNWindowClass::Window, 200, 200, 60, 60);
    ShowAndWait(w);
    uint8_t table[256];
    ASSERT_EQ(xdotool("keydown ctrl keydown alt keydown space"), 0);
    ASSERT_TRUE(PumpUntil([&] {
        connection->KeyboardState(table);
        return table[FNKeyControl] && table[FNKeyAlt] && table[FNKeySpace];
    })) << "held keys never reached the key table";
    EXPECT_EQ(table[FNKeyControl], 0x80);
    EXPECT_EQ(table[FNKeyLeftControl], 0x80);
    EXPECT_EQ(table[FNKeyAlt], 0x80);
    EXPECT_EQ(table[FNKeySpace], 0x80);
    EXPECT_EQ(table[FNKeyShift], 0);
    EXPECT_EQ(table['N'], 0);
    ASSERT_EQ(xdotool("keyup space keyup alt keyup ctrl"), 0);
    ASSERT_TRUE(PumpUntil([&] {
        connection->KeyboardState(table);
        return !table[FNKeyControl] && !table[FNKeyAlt] && !table[FNKeySpace];
    }));

    ASSERT_EQ(xdotool("mousemove 230 240 mousedown 1"), 0);
    FNPointerState state;
    ASSERT_TRUE(PumpUntil([&] { return connection->QueryPointer(state) && state.buttons == FNButtonLeft; }));
    connection->KeyboardState(table);
    EXPECT_EQ(table[FNKeyLeftButton], 0x80);
    EXPECT_EQ(table[FNKeyRightButton], 0);
    EXPECT_EQ(table[FNKeyMiddleButton], 0);
    // The press keeps its window even outside it: the sample is global.
    ASSERT_EQ(xdotool("mousemove 700 700"), 0);
    ASSERT_TRUE(PumpUntil([&] { return connection->QueryPointer(state) && state.screenX == 700; }));
    EXPECT_EQ(state.buttons, FNButtonLeft);
    EXPECT_EQ(state.window, FNNoWindow);
    ASSERT_EQ(xdotool("mouseup 1"), 0);
    ASSERT_TRUE(PumpUntil([&] { return connection->QueryPointer(state) && state.buttons == 0; }));
}

TEST_F(X11Platform, FilesDroppedWithXdnd)
{
    const FNWindowId top = Make(FNWindowClass::Window, 600, 600, 120, 120);
    const FNWindowId child = Make(FNWindowClass::White, 60, 60, 60, 60, top, true);
    ShowAndWait(top);
    ShowAndWait(child);
    Atom type = None;
    EXPECT_FALSE(Property(top, "XdndAware", type).empty());

    const std::string longName(300, 'p');
    uriList = "file:///tmp/one%20picture.png\r\nhttp://example.org/skip.png\r\nfile:///tmp/" + longName
        + ".bmp\r\nfile://localhost/tmp/%E7%94%BB%E5%83%8F.jpg\r\n";
    const Window source = XCreateSimpleWindow(probe, root, 0, 0, 1, 1, 0, 0, 0);
    const Atom selection = XInternAtom(probe, "XdndSelection", False);
    XSetSelectionOwner(probe, selection, source, CurrentTime);
    const long uriAtom = static_cast<long>(XInternAtom(probe, "text/uri-list", False));
    const long copy = static_cast<long>(XInternAtom(probe, "XdndActionCopy", False));
    SendClientMessage(top, "XdndEnter", static_cast<long>(source), 5L << 24, uriAtom);
    SendClientMessage(top, "XdndPosition", static_cast<long>(source), 0, (690L << 16) | 690L, CurrentTime, copy);
    ASSERT_TRUE(PumpUntil([&] { return statusAccepted; })) << "the drop target never accepted";
    SendClientMessage(top, "XdndDrop", static_cast<long>(source), 0, CurrentTime);
    ASSERT_TRUE(PumpUntil([&] { return !listener.drops.empty() && finishedAccepted >= 0; }));
    EXPECT_EQ(finishedAccepted, 1);
    EXPECT_EQ(listener.Starting("drop"), (std::vector<std::string> { Line::Line("drop", child, { 3 }) }));
    EXPECT_EQ(listener.drops[0],
        (std::vector<std::string> { "/tmp/one picture.png", "/tmp/" + longName + ".bmp", "/tmp/画像.jpg" }));
    XDestroyWindow(probe, source);
}

TEST_F(X11Platform, FocusMinimiseAndForeignDestruction)
{
    const FNWindowId top = Make(FNWindowClass::Window, 0, 0, 100, 100);
    const FNWindowId child = Make(FNWindowClass::White, 10, 10, 20, 20, top, true);
    ShowAndWait(top);
    ShowAndWait(child);
    Focus(child);
    // Only the window that receives focus hears of it, not its parent.
    EXPECT_FALSE(listener.Has(Line::Line("focus-in", top)));
    EXPECT_EQ(connection->FocusedWindow(), child);
    EXPECT_EQ(connection->ActiveWindow(), top);
    connection->SetFocus(FNNoWindow);
    XSync(probe, False);
    EXPECT_EQ(connection->FocusedWindow(), FNNoWindow);

    listener.events.clear();
    connection->SetWindowState(top, FNWindowState::Minimised);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("hidden", top)));
    EXPECT_EQ(connection->WindowState(top), FNWindowState::Minimised);
    connection->SetWindowState(top, FNWindowState::Normal);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("shown", top)));

    listener.events.clear();
    connection->Hide(top);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("hidden", top)));
    connection->Show(top);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("shown", top)));

    XDestroyWindow(probe, top);
    XFlush(probe);
    ASSERT_TRUE(PumpUntilEvent(Line::Line("destroyed", top)));
    EXPECT_FALSE(connection->DestroyWindow(top));
    EXPECT_FALSE(connection->DestroyWindow(child));
}

TEST(X11Clock, NeverGoesBack)
{
    uint32_t previous = FNPlatformMilliseconds();
    for (int i = 0; i < 1000; ++i) {
        const uint32_t now = FNPlatformMilliseconds();
        EXPECT_LT(static_cast<uint32_t>(now - previous), 1000u); // no jump back (would wrap to a huge step)
        previous = now;
    }
}

TEST_F(X11Platform, CursorsFromTheFontAndFromTheProgramsPictures)
{
    int eventBase = 0, errorBase = 0;
    ASSERT_TRUE(XFixesQueryExtension(probe, &eventBase, &errorBase)) << "reading the cursor back needs XFIXES";
    const FNWindowId left = Make(FNWindowClass::White, 700, 100, 60, 60);
    const FNWindowId right = Make(FNWindowClass::White, 800, 100, 60, 60);
    ShowAndWait(left);
    ShowAndWait(right);
    connection->SetCursor(left, 30004);
    connection->SetCursor(right, FNCursorSizeAll);
    XSync(probe, False);
    const FNCursorShape& shape = *FNFindCursorShape(30004);
    auto cursorAt = [&](const char* position) {
        EXPECT_EQ(xdotool(std::string("mousemove ") + position), 0);
        XSync(probe, False);
        return XFixesGetCursorImage(probe);
    };
    XFixesCursorImage* image = cursorAt("730 130");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->xhot, shape.hotX);
    EXPECT_EQ(image->yhot, shape.hotY);
    // Every pixel as drawn: '#' opaque black, '.' opaque white, ' ' clear.
    int mismatches = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint32_t pixel = static_cast<uint32_t>(image->pixels[y * 32 + x]);
            const char c = shape.rows[y][x];
            const uint32_t expected = c == '#' ? 0xFF000000u : (c == '.' ? 0xFFFFFFFFu : 0u);
            mismatches += pixel != expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
    XFree(image);
    // The four-way move cursor comes from the cursor font: another picture.
    image = cursorAt("830 130");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->width == 32 && image->xhot == shape.hotX && image->yhot == shape.hotY);
    XFree(image);
}
