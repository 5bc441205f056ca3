#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "tests/framework/stage/virtual/StageFixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct CloseCounter {
    int count = 0;
    void On(FNEventState) { ++count; }
};

class ExWindowTest : public StageTest {
protected:
    // A left-button press at one screen point, a move to another and the
    // release there, one step each, 1 s apart so no press is a double click.
    void Drag(int fromX, int fromY, int toX, int toY)
    {
        V::AdvanceMilliseconds(1000);
        V::SetPointer(fromX, fromY);
        Step();
        V::SetButtons(FNButtonLeft);
        Step();
        V::SetPointer(toX, toY);
        Step();
        V::SetButtons(0);
        Step();
    }
    void Click(int x, int y)
    {
        V::AdvanceMilliseconds(1000);
        V::SetPointer(x, y);
        Step();
        V::SetButtons(FNButtonLeft);
        Step();
        V::SetButtons(0);
        Step();
    }
};

TEST_F(ExWindowTest, ClientNeverSmallerThan150By80)
{
    FNExWindow window(100, 100, 100, 50, "small");
    EXPECT_EQ(window.width, 150);
    EXPECT_EQ(window.height, 80);
    window.Resize(10, 500);
    EXPECT_EQ(window.width, 150);
    EXPECT_EQ(window.height, 500);
    EXPECT_FALSE(window.SetRect(100, 100, 149, 500)) << "limited to what it already is";
}

TEST_F(ExWindowTest, FrameSurroundsTheClient)
{
    FNExWindow window(50, 50, 800, 600, "Tesserine");
    window.Open(true, nullptr, engine.get());
    Step();
    V::WindowInfo frame = V::Window(window.Frame()->window);
    V::WindowInfo client = V::Window(window.window);
    EXPECT_FALSE(frame.child);
    EXPECT_EQ(frame.title, "Tesserine");
    EXPECT_EQ(frame.x, 44);
    EXPECT_EQ(frame.y, 22);
    EXPECT_EQ(frame.width, 812);
    EXPECT_EQ(frame.height, 638);
    EXPECT_TRUE(client.child);
    EXPECT_EQ(client.parent, window.Frame()->window);
    EXPECT_EQ(client.x, 6);
    EXPECT_EQ(client.y, 28);
    EXPECT_EQ(client.width, 800);
    EXPECT_EQ(client.height, 600);
    EXPECT_TRUE(frame.visible);
    EXPECT_TRUE(client.visible);

    // The frame shows its title bar: the pixels differ from the plain
    // background at the top, and the client shows its scene's background.
    FNImage frameShown;
    FNImage clientShown;
    ASSERT_TRUE(V::ReadPixels(window.Frame()->window, frameShown));
    ASSERT_TRUE(V::ReadPixels(window.window, clientShown));
    EXPECT_NE(frameShown.row(10)[400] & 0xFFFFFF, 0u);
    uint32_t background = FNPlainExWindowLooks().background;
    EXPECT_EQ(clientShown.row(300)[400] & 0xFFFFFF, background);
    window.Close();
    EXPECT_TRUE(V::Windows().empty());
}

TEST_F(ExWindowTest, DraggingTheRightEdgeResizesAndStopsAtTheMinimum)
{
    FNExWindow window(200, 200, 300, 200, "resize");
    window.Open(true, nullptr, engine.get());
    Step();
    // Right edge item: frame right part, x = 500 .. 505.
    Drag(503, 300, 553, 300);
    EXPECT_EQ(window.ClientRect(), (FNRect { 200, 200, 550, 400 }));
    EXPECT_EQ(V::Window(window.window).width, 350);
    EXPECT_EQ(V::Window(window.Frame()->window).width, 362);
    Drag(553, 300, 0, 300);
    EXPECT_EQ(window.ClientRect(), (FNRect { 200, 200, 350, 400 }));
    EXPECT_EQ(V::Window(window.window).width, 150);
    EXPECT_EQ(V::Window(window.Frame()->window).width, 162);
}

TEST_F(ExWindowTest, TheVeryCornerPixelResizesEvenWhereTheLookIsTransparent)
{
    // Borders painted with rounded (transparent) outer corners.
    FNExWindowLooks looks = FNPlainExWindowLooks();
    looks.border = [](FNImage* target, int w, int h, FNFrameEdge) {
        target->resize(w, h);
        target->fill(90, 90, 90, 255);
        target->setColor(w - 1, h - 1, 0, 0, 0, 0);
        target->setColor(0, h - 1, 0, 0, 0, 0);
    };
    FNExWindow::SetDefaultLooks(looks);
    FNExWindow window(200, 200, 300, 200, "corner");
    FNExWindow::SetDefaultLooks(FNPlainExWindowLooks());
    window.Open(true, nullptr, engine.get());
    Step();
    // Frame: x 194 .. 505, y 172 .. 409; its last pixel is (505, 409).
    Drag(505, 409, 525, 439);
    EXPECT_EQ(window.ClientRect(), (FNRect { 200, 200, 520, 430 }));
    Drag(194, 439, 174, 449); // bottom-left corner pixel
    EXPECT_EQ(window.ClientRect(), (FNRect { 180, 200, 520, 440 }));
}

TEST_F(ExWindowTest, CloseButtonRaisesCloseRequestOnTheWindow)
{
    FNExWindow window(100, 100, 300, 200, "close");
    CloseCounter counter;
    FNEventConnector connector(&window);
    connector.Connect(FNEvent::CloseRequest, &CloseCounter::On, &counter);
    window.Open(true, nullptr, engine.get());
    Step();
    // Close button: 24 x 20 at 6 pixels from the frame's right end, 4 down.
    Click(94 + 312 - 6 - 12, 72 + 14);
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(window.windowCreated) << "closing is the application's decision";
    // The window system's close of the frame is the window's close too.
    V::RequestClose(window.Frame()->window);
    Step();
    EXPECT_EQ(counter.count, 2);
}

// A window manager (or a tool) sizes the frame: the client fills it again
// and the title bar's close button sits at its new right end.
TEST_F(ExWindowTest, AResizeByTheWindowSystemLaysTheFrameOutAgain)
{
    FNExWindow window(100, 100, 300, 200, "resized");
    CloseCounter counter;
    FNEventConnector connector(&window);
    connector.Connect(FNEvent::CloseRequest, &CloseCounter::On, &counter);
    window.Open(true, nullptr, engine.get());
    Step();
    V::ResizeWindow(window.Frame()->window, 312 + 100, 238 + 50);
    Step();
    EXPECT_EQ(window.ClientRect(), (FNRect { 100, 100, 500, 350 }));
    EXPECT_EQ(V::Window(window.window).width, 400);
    EXPECT_EQ(V::Window(window.window).height, 250);
    Click(94 + 412 - 6 - 12, 72 + 14);
    EXPECT_EQ(counter.count, 1);
}

TEST_F(ExWindowTest, DoubleClickOnTheTitleMaximisesAndRestores)
{
    V::SetWorkArea(FNPlatformRect { 0, 0, 1280, 1000 });
    FNExWindow window(100, 100, 300, 200, "max");
    window.Open(true, nullptr, engine.get());
    Step();
    auto doubleClick = [&] {
        V::AdvanceMilliseconds(1000);
        V::SetPointer(250, 80);
        Step();
        for (int press = 0; press < 2; ++press) {
            V::SetButtons(FNButtonLeft);
            Step();
            V::AdvanceMilliseconds(50);
            V::SetButtons(0);
            Step();
            V::AdvanceMilliseconds(50);
        }
    };
    doubleClick();
    ASSERT_TRUE(window.IsMaximised());
    EXPECT_EQ(window.ClientRect(), (FNRect { 6, 28, 1274, 990 }));
    V::WindowInfo frame = V::Window(window.Frame()->window);
    EXPECT_EQ(frame.x, 0);
    EXPECT_EQ(frame.y, 0);
    EXPECT_EQ(frame.width, 1280);
    EXPECT_EQ(frame.height, 1000);
    // While maximised the title bar does not drag.
    Drag(250, 10, 400, 300);
    EXPECT_EQ(window.ClientRect(), (FNRect { 6, 28, 1274, 990 }));
    V::SetPointer(250, 10);
    auto restore = [&] {
        V::AdvanceMilliseconds(1000);
        Step();
        for (int press = 0; press < 2; ++press) {
            V::SetButtons(FNButtonLeft);
            Step();
            V::AdvanceMilliseconds(50);
            V::SetButtons(0);
            Step();
            V::AdvanceMilliseconds(50);
        }
    };
    restore();
    EXPECT_FALSE(window.IsMaximised());
    EXPECT_EQ(window.ClientRect(), (FNRect { 100, 100, 400, 300 }));
}

TEST_F(ExWindowTest, MinimiseButtonIconifiesTheFrame)
{
    FNExWindow window(100, 100, 300, 200, "min");
    window.Open(true, nullptr, engine.get());
    Step();
    // Minimise button: the third from the right, 52 pixels left of close.
    Click(94 + 312 - 6 - 12 - 52, 72 + 14);
    EXPECT_EQ(V::Window(window.Frame()->window).state, FNWindowState::Minimised);
    EXPECT_TRUE(window.IsMinimised());
    window.Restore();
    EXPECT_EQ(V::Window(window.Frame()->window).state, FNWindowState::Normal);
}

TEST_F(ExWindowTest, ADialogWithoutMaximiseAndMinimiseShowsTheCloseButtonAlone)
{
    FNExWindow window(100, 100, 300, 200, "dialog");
    window.allowMaximise = false;
    window.allowMinimise = false;
    CloseCounter counter;
    FNEventConnector connector(&window);
    connector.Connect(FNEvent::CloseRequest, &CloseCounter::On, &counter);
    window.Open(true, nullptr, engine.get());
    Step();
    Click(94 + 312 - 6 - 12 - 26, 72 + 14); // where maximise would be: the title bar
    Click(94 + 312 - 6 - 12 - 52, 72 + 14); // where minimise would be
    EXPECT_FALSE(window.IsMaximised());
    EXPECT_EQ(V::Window(window.Frame()->window).state, FNWindowState::Normal);
    Click(94 + 312 - 6 - 12, 72 + 14);
    EXPECT_EQ(counter.count, 1) << "the close button stays where it is";
}

} // namespace
