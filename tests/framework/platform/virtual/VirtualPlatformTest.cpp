#include "framework/platform/FNVirtualKey.h"
#include "framework/platform/FNWindowClass.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "imaging/FNImage.h"
#include "tests/framework/platform/RecordingListener.h"

#include <gtest/gtest.h>

#include <thread>

using Line = RecordingListener;
namespace V = FNVirtualPlatform;

class VirtualPlatform : public ::testing::Test {
protected:
    void SetUp() override
    {
        V::Reset();
        std::string failure;
        connection = FNPlatformConnection::Open(failure);
        ASSERT_TRUE(connection) << failure;
    }
    void TearDown() override { connection.reset(); }

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
        desc.title = "test";
        return connection->CreateWindow(desc);
    }
    void Pump()
    {
        listener.events.clear();
        connection->DispatchEvents(listener);
    }

    std::unique_ptr<FNPlatformConnection> connection;
    RecordingListener listener;
};

static uint32_t pixel(const FNImage& image, int x, int y)
{
    return image.row(y)[x];
}

TEST_F(VirtualPlatform, WindowClassesByNameFillNewHiddenWindowsWithTheirColour)
{
    struct Row {
        const char* name;
        uint32_t shown; // a new window's pixels; classes without a fill stay black
    };
    const Row rows[] = {
        { "FN_OWNER", 0xFF000000 },
        { "FN_TOUMEI", 0xFF000000 },
        { "FN_BLACK", 0xFF000000 },
        { "FN_WHITE", 0xFFFFFFFF },
        { "FN_WINDOW", 0xFFF7FAFF },
        { "FN_GLWINDOW", 0xFFF7FAFF },
    };
    int x = 0;
    for (const Row& row : rows) {
        const FNWindowClassRecord* record = FNFindWindowClass(row.name);
        ASSERT_NE(record, nullptr) << row.name;
        EXPECT_EQ(&FNWindowClassRecordOf(record->windowClass), record) << row.name;
        const FNWindowId w = Make(record->windowClass, x += 10, 0, 4, 3);
        ASSERT_NE(w, FNNoWindow) << row.name;
        FNImage picture;
        ASSERT_TRUE(V::ReadPixels(w, picture));
        EXPECT_EQ(picture.width, 4);
        EXPECT_EQ(picture.height, 3);
        EXPECT_EQ(pixel(picture, 0, 0), row.shown) << row.name;
        EXPECT_EQ(pixel(picture, 3, 2), row.shown) << row.name;
        EXPECT_FALSE(V::Window(w).visible);
        EXPECT_EQ(V::Window(w).title, "test");
    }
    // Names are exact.
    EXPECT_EQ(FNFindWindowClass("FN_window"), nullptr);
    EXPECT_EQ(FNFindWindowClass(nullptr), nullptr);
}

TEST_F(VirtualPlatform, ShowingReportsShownAndAsksForAFullPaint)
{
    const FNWindowId w = Make(FNWindowClass::White, 5, 6, 40, 30);
    Pump();
    EXPECT_TRUE(listener.events.empty());
    connection->Show(w);
    connection->Show(w);
    Pump();
    EXPECT_EQ(listener.events,
        (std::vector<std::string> { Line::Line("shown", w), Line::Line("paint", w, { 0, 0, 40, 30 }) }));
    connection->Hide(w);
    Pump();
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("hidden", w) }));
}

TEST_F(VirtualPlatform, PresentCopiesExactlyTheClippedArea)
{
    const FNWindowId w = Make(FNWindowClass::White, 0, 0, 6, 5);
    FNImage back(8, 4); // wider than the window, less tall
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x)
            back.setColor(x, y, x * 30, y * 60, 7, 0); // alpha 0 must not reach the screen
    }
    connection->Present(w, back, { 2, 1, 100, 100 });
    FNImage shown;
    ASSERT_TRUE(V::ReadPixels(w, shown));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool copied = x >= 2 && y >= 1 && y < 4;
            const uint32_t expected = copied ? 0xFF000000u | (x * 30u) << 16 | (y * 60u) << 8 | 7u : 0xFFFFFFFFu;
            EXPECT_EQ(pixel(shown, x, y), expected) << x << "," << y;
        }
    }
    connection->FillRect(w, { -3, 3, 2, 9 }, 0x123456);
    ASSERT_TRUE(V::ReadPixels(w, shown));
    EXPECT_EQ(pixel(shown, 0, 4), 0xFF123456u);
    EXPECT_EQ(pixel(shown, 1, 3), 0xFF123456u);
    EXPECT_EQ(pixel(shown, 2, 3), 0xFF3CB407u); // copied before the fill, outside it
    EXPECT_EQ(pixel(shown, 0, 2), 0xFFFFFFFFu);
    EXPECT_EQ(V::Window(w).presentCount, 2);
}

TEST_F(VirtualPlatform, GeometryChangesReportOnlyWhatChanged)
{
    const FNWindowId w = Make(FNWindowClass::Window, 10, 20, 30, 40);
    connection->SetGeometry(w, 10, 20, 30, 40);
    Pump();
    EXPECT_TRUE(listener.events.empty());
    connection->SetGeometry(w, 11, 20, 30, 40);
    Pump();
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("moved", w, { 11, 20 }) }));
    connection->SetGeometry(w, 11, 20, 50, 0); // sizes below 1 become 1
    Pump();
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("resized", w, { 50, 1 }) }));
    // Moved by the user or the window system.
    V::MoveWindow(w, -5, 7);
    Pump();
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("moved", w, { -5, 7 }) }));
    const V::WindowInfo info = V::Window(w);
    EXPECT_EQ(info.x, -5);
    EXPECT_EQ(info.width, 50);
    EXPECT_EQ(info.height, 1);
}

TEST_F(VirtualPlatform, ResizingKeepsContentsAndFillsTheNewPart)
{
    const FNWindowId w = Make(FNWindowClass::Black, 0, 0, 2, 2);
    connection->FillRect(w, { 0, 0, 2, 2 }, 0xFF0000);
    V::ResizeWindow(w, 3, 3);
    FNImage shown;
    ASSERT_TRUE(V::ReadPixels(w, shown));
    EXPECT_EQ(pixel(shown, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(pixel(shown, 2, 2), 0xFF000000u);
}

TEST_F(VirtualPlatform, AnotherEnginesWindowOnTopHidesOursFromThePointer)
{
    const FNWindowId mine = Make(FNWindowClass::Owner, 0, 0, 100, 100);
    connection->Show(mine);
    std::unique_ptr<FNPlatformConnection> modal;
    FNWindowId theirs = FNNoWindow;
    // A second engine on its own thread, as a modal window has.
    std::thread engine([&] {
        std::string failure;
        modal = FNPlatformConnection::Open(failure);
        FNWindowDesc desc;
        desc.x = desc.y = 10;
        desc.width = desc.height = 20;
        theirs = modal->CreateWindow(desc);
        modal->Show(theirs);
    });
    engine.join();
    FNPointerState state;
    V::SetPointer(15, 15);
    ASSERT_TRUE(connection->QueryPointer(state));
    EXPECT_EQ(state.window, FNNoWindow);
    ASSERT_TRUE(modal->QueryPointer(state));
    EXPECT_EQ(state.window, theirs);
    // Raising ours puts it back on top.
    connection->Activate(mine);
    ASSERT_TRUE(connection->QueryPointer(state));
    EXPECT_EQ(state.window, mine);
    std::thread closer([&] { modal.reset(); });
    closer.join();
    EXPECT_FALSE(V::Window(theirs).exists);
    EXPECT_TRUE(V::Window(mine).exists);
}

TEST_F(VirtualPlatform, KeyTableHoldsKeysButtonsAndGenericModifiers)
{
    uint8_t table[256];
    V::PressKey(FNKeyLeftControl);
    V::PressKey(FNKeyRightControl);
    V::PressKey('N');
    V::SetButtons(FNButtonRight);
    connection->KeyboardState(table);
    EXPECT_EQ(table[FNKeyControl], 0x80);
    EXPECT_EQ(table[FNKeyLeftControl], 0x80);
    EXPECT_EQ(table['N'], 0x80);
    EXPECT_EQ(table[FNKeyRightButton], 0x80);
    EXPECT_EQ(table[FNKeyLeftButton], 0);
    EXPECT_EQ(table[FNKeyMiddleButton], 0);
    EXPECT_EQ(table[FNKeyAlt], 0);
    // The generic entry stays down while the other side is still held.
    V::ReleaseKey(FNKeyLeftControl);
    connection->KeyboardState(table);
    EXPECT_EQ(table[FNKeyControl], 0x80);
    V::ReleaseKey(FNKeyRightControl);
    connection->KeyboardState(table);
    EXPECT_EQ(table[FNKeyControl], 0);
    EXPECT_EQ(table['N'], 0x80);
}

TEST_F(VirtualPlatform, KeysAndTextGoToTheFocusedWindow)
{
    const FNWindowId a = Make(FNWindowClass::Owner, 0, 0, 10, 10);
    const FNWindowId b = Make(FNWindowClass::Owner, 20, 0, 10, 10);
    connection->SetFocus(a); // not on the screen: cannot take focus
    EXPECT_EQ(V::Focus(), FNNoWindow);
    connection->Show(a);
    connection->Show(b);
    Pump();
    V::PressKey(FNKeySpace); // nobody has focus: no event
    Pump();
    EXPECT_TRUE(listener.events.empty());
    connection->SetFocus(a);
    connection->SetFocus(b);
    EXPECT_EQ(connection->FocusedWindow(), b);
    EXPECT_EQ(connection->ActiveWindow(), b);
    V::PressKey('A');
    V::TypeText("a");
    V::ReleaseKey('A');
    Pump();
    EXPECT_EQ(listener.events,
        (std::vector<std::string> { Line::Line("focus-in", a), Line::Line("focus-out", a), Line::Line("focus-in", b),
            Line::Line("key-down", b, { 'A' }), "text " + Line::Id(b) + " a", Line::Line("key-up", b, { 'A' }) }));
    connection->SetFocus(FNNoWindow);
    EXPECT_EQ(connection->FocusedWindow(), FNNoWindow);
}

TEST_F(VirtualPlatform, LongInputTextIsCutBetweenLetters)
{
    const FNWindowId w = Make(FNWindowClass::Owner, 0, 0, 10, 10);
    connection->Show(w);
    connection->SetFocus(w);
    std::string text = "xy";
    for (int i = 0; i < 400; ++i)
        text += "\xE3\x81\x82"; // 1202 bytes; 1024 falls inside a letter
    V::TypeText(text);
    Pump();
    const std::vector<std::string> typed = listener.Starting("text ");
    ASSERT_EQ(typed.size(), 1u);
    const std::string delivered = typed[0].substr(("text " + Line::Id(w) + " ").size());
    EXPECT_EQ(delivered.size(), 1022u); // "xy" and 340 whole letters
    EXPECT_TRUE(delivered == text.substr(0, 1022));
}

TEST_F(VirtualPlatform, WheelDropCloseReachTheirWindows)
{
    const FNWindowId top = Make(FNWindowClass::Owner, 0, 0, 100, 100);
    const FNWindowId child = Make(FNWindowClass::Owner, 50, 50, 50, 50, top, true);
    connection->Show(top);
    connection->Show(child);
    Pump();
    V::SetPointer(60, 60);
    V::Wheel(-120);
    V::SetPointer(10, 10);
    V::Wheel(240);
    V::SetPointer(500, 500);
    V::Wheel(120); // over no window: lost
    V::DropFiles(top, { "/a/one.png", "/b/two.bmp", "/c/three.jpg" });
    V::RequestClose(top);
    Pump();
    EXPECT_EQ(listener.events,
        (std::vector<std::string> { Line::Line("wheel", child, { -120 }), Line::Line("wheel", top, { 240 }),
            Line::Line("drop", top, { 3 }), Line::Line("close", top) }));
    ASSERT_EQ(listener.drops.size(), 1u);
    EXPECT_EQ(listener.drops[0], (std::vector<std::string> { "/a/one.png", "/b/two.bmp", "/c/three.jpg" }));
}

TEST_F(VirtualPlatform, MaximiseMinimiseAndRestore)
{
    V::SetWorkArea({ 0, 30, 1280, 1000 });
    const FNWindowId w = Make(FNWindowClass::Owner, 100, 100, 300, 200);
    connection->Show(w);
    Pump();
    connection->SetWindowState(w, FNWindowState::Maximised);
    EXPECT_EQ(connection->WindowState(w), FNWindowState::Maximised);
    Pump();
    EXPECT_TRUE(listener.Has(Line::Line("moved", w, { 0, 30 })));
    EXPECT_TRUE(listener.Has(Line::Line("resized", w, { 1280, 970 })));
    connection->SetWindowState(w, FNWindowState::Normal);
    Pump();
    EXPECT_TRUE(listener.Has(Line::Line("moved", w, { 100, 100 })));
    EXPECT_TRUE(listener.Has(Line::Line("resized", w, { 300, 200 })));
    connection->SetWindowState(w, FNWindowState::Minimised);
    Pump();
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("hidden", w) }));
    V::SetPointer(150, 150);
    FNPointerState state;
    ASSERT_TRUE(connection->QueryPointer(state));
    EXPECT_EQ(state.window, FNNoWindow);
    connection->SetWindowState(w, FNWindowState::Normal);
    Pump();
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("shown", w) }));
    EXPECT_EQ(connection->WorkArea().top, 30);
}

TEST_F(VirtualPlatform, AlphaCursorAndCaptureAreRecorded)
{
    const FNWindowId top = Make(FNWindowClass::Owner, 0, 0, 10, 10);
    const FNWindowId child = Make(FNWindowClass::Owner, 0, 0, 5, 5, top, true);
    connection->SetAlpha(top, 128);
    connection->SetAlpha(child, 128); // children have no opacity of their own
    EXPECT_EQ(V::Window(top).alpha, 128);
    EXPECT_EQ(V::Window(child).alpha, 255);
    connection->SetAlpha(top, 300);
    EXPECT_EQ(V::Window(top).alpha, 255);
    connection->SetCursor(child, 30005);
    EXPECT_EQ(V::Window(child).cursor, 30005);
    EXPECT_EQ(V::Window(top).cursor, FNCursorArrow);
    connection->SetCapture(child);
    EXPECT_EQ(V::Capture(), child);
    connection->ReleaseCapture();
    EXPECT_EQ(V::Capture(), FNNoWindow);
    connection->SetTitle(top, "タイトル");
    EXPECT_EQ(V::Window(top).title, "タイトル");
}

TEST_F(VirtualPlatform, DestroyingAWindowTakesItsChildren)
{
    const FNWindowId top = Make(FNWindowClass::Owner, 0, 0, 10, 10);
    const FNWindowId child = Make(FNWindowClass::Owner, 0, 0, 5, 5, top, true);
    const FNWindowId grandchild = Make(FNWindowClass::Owner, 0, 0, 2, 2, child, true);
    for (FNWindowId w : { top, child, grandchild })
        connection->Show(w);
    connection->SetFocus(grandchild);
    ASSERT_EQ(V::Focus(), grandchild);
    EXPECT_TRUE(connection->DestroyWindow(top));
    EXPECT_FALSE(V::Window(child).exists);
    EXPECT_FALSE(V::Window(grandchild).exists);
    EXPECT_EQ(V::Focus(), FNNoWindow);
    EXPECT_FALSE(connection->DestroyWindow(top));
    // A child needs a parent of this connection.
    EXPECT_EQ(Make(FNWindowClass::Owner, 0, 0, 5, 5, top, true), FNNoWindow);
}

TEST_F(VirtualPlatform, InjectedEventsWakeTheWaitToo)
{
    const FNWindowId w = Make(FNWindowClass::Owner, 0, 0, 10, 10);
    EXPECT_FALSE(connection->HasPending());
    std::thread system([w] { V::RequestClose(w); });
    ASSERT_TRUE(connection->Wait(60000));
    system.join();
    EXPECT_EQ(connection->DispatchEvents(listener), 1);
    EXPECT_EQ(listener.events, (std::vector<std::string> { Line::Line("close", w) }));
    EXPECT_FALSE(connection->HasPending());
}

TEST_F(VirtualPlatform, ClockIsWhatTheTestSays)
{
    V::SetMilliseconds(0xFFFFFFF0u);
    EXPECT_EQ(FNPlatformMilliseconds(), 0xFFFFFFF0u);
    V::AdvanceMilliseconds(0x20);
    EXPECT_EQ(FNPlatformMilliseconds(), 0x10u); // wraps like a 32-bit counter
}
