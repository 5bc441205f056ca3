// Stages and framed windows on the X display in DISPLAY (Xvfb in CI),
// driven through the engine the way the program runs: the test's thread is
// the application thread, xdotool plays the user, and a second connection
// of the test reads pixels back and plays the window manager.

#include "framework/core/FNRegion.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "framework/stage/FNStageItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"

// GoogleTest before Xlib: Xlib's None and Bool macros break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

int xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

struct Recorder {
    std::vector<FNEventState> events;
    void On(FNEventState event) { events.push_back(event); }
    bool Has(int code) const
    {
        return std::any_of(events.begin(), events.end(), [code](const FNEventState& e) { return e.code == code; });
    }
};

class StageX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = std::make_unique<FNEngine>();
        ASSERT_TRUE(engine->Platform())
            << "The X11 window tests need an X display (scripts/xvfb-display.sh starts Xvfb): "
            << engine->PlatformFailure();
        probe = XOpenDisplay(nullptr);
        ASSERT_NE(probe, nullptr);
    }
    void TearDown() override
    {
        xdotool("mouseup 1");
        xdotool("keyup a");
        engine.reset();
        if (probe)
            XCloseDisplay(probe);
    }

    // Runs engine steps until the condition holds; false after 20 seconds
    // without it (only a broken engine or backend waits that long).
    bool StepUntil(const std::function<bool()>& condition)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            engine->Synchronise();
            engine->RunStep(true);
        }
        return true;
    }

    uint32_t ScreenPixel(FNWindowId window, int x, int y)
    {
        XImage* image = XGetImage(probe, static_cast<Window>(window), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xFFFFFFFF;
        uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }

    void RootPosition(FNWindowId window, int& x, int& y)
    {
        Window child;
        XTranslateCoordinates(probe, static_cast<Window>(window), DefaultRootWindow(probe), 0, 0, &x, &y, &child);
    }

    std::unique_ptr<FNEngine> engine;
    Display* probe = nullptr;
};

TEST_F(StageX11, PresentedSceneReachesTheScreen)
{
    FN2DScene scene;
    scene.SetBackground(0x20, 0x40, 0x80, 255);
    FNImage green(20, 10);
    green.fill(0, 255, 0, 255);
    FN2DItem item(20, 10, 30, 40, 0);
    item.SetPicture(&green);
    scene.AddItem(&item);
    FN2DStage stage(100, 100, 120, 80, "present");
    stage.SetScene(&scene);
    stage.Open(true, nullptr, engine.get());
    ASSERT_TRUE(stage.windowCreated);
    ASSERT_TRUE(StepUntil([&] { return ScreenPixel(stage.window, 35, 45) == 0x00FF00u; }));
    EXPECT_EQ(ScreenPixel(stage.window, 2, 2), 0x204080u);
    EXPECT_EQ(ScreenPixel(stage.window, 49, 49), 0x00FF00u);
    EXPECT_EQ(ScreenPixel(stage.window, 50, 50), 0x204080u);
    scene.RemoveItem(&item);
}

TEST_F(StageX11, WindowManagerCloseBecomesCloseRequest)
{
    FN2DStage stage(50, 50, 100, 100, "close me");
    Recorder recorder;
    FNEventConnector connector(&stage);
    connector.Connect(FNEvent::CloseRequest, &Recorder::On, &recorder);
    stage.Open(true, nullptr, engine.get());
    ASSERT_TRUE(stage.windowCreated);

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(stage.window);
    event.xclient.message_type = XInternAtom(probe, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(probe, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(probe, static_cast<Window>(stage.window), False, NoEventMask, &event);
    XFlush(probe);
    ASSERT_TRUE(StepUntil([&] { return recorder.Has(FNEvent::CloseRequest); }));
    EXPECT_EQ(recorder.events.front().stage, &stage);
    EXPECT_TRUE(stage.windowCreated) << "a close request only asks";
}

TEST_F(StageX11, KeysAndWheelReachTheFocusedStage)
{
    FN2DStage stage(200, 200, 150, 120, "input");
    FN2DScene scene;
    stage.SetScene(&scene);
    Recorder recorder;
    FNEventConnector connector(&stage);
    connector.Connect(FNEvent::StageKeyDown, &Recorder::On, &recorder);
    connector.Connect(FNEvent::Wheel, &Recorder::On, &recorder);
    stage.Open(true, nullptr, engine.get());
    ASSERT_TRUE(stage.windowCreated);
    // The first steps make the stage the main stage and give it focus (the
    // focus request is taken once the pointer is over one of the windows).
    ASSERT_EQ(xdotool("mousemove 260 250"), 0);
    ASSERT_TRUE(StepUntil([&] { return engine->current.hoverStage == &stage; }));
    ASSERT_TRUE(StepUntil([&] { return engine->current.focusStage == &stage; }));

    ASSERT_EQ(xdotool("key a"), 0);
    ASSERT_TRUE(StepUntil([&] { return recorder.Has(FNEvent::StageKeyDown); }));
    auto key = std::find_if(recorder.events.begin(), recorder.events.end(),
        [](const FNEventState& e) { return e.code == FNEvent::StageKeyDown; });
    EXPECT_EQ(key->key, 0x41);

    ASSERT_EQ(xdotool("click 4"), 0);
    ASSERT_TRUE(StepUntil([&] { return recorder.Has(FNEvent::Wheel); }));
    auto wheel = std::find_if(
        recorder.events.begin(), recorder.events.end(), [](const FNEventState& e) { return e.code == FNEvent::Wheel; });
    EXPECT_EQ(wheel->wheel, 120);
}

TEST_F(StageX11, DraggingTheTitleBarMovesTheFramedWindow)
{
    FNExWindow window(300, 300, 300, 200, "drag me");
    window.Open(true, nullptr, engine.get());
    ASSERT_TRUE(window.windowCreated);
    int frameX = 0;
    int frameY = 0;
    RootPosition(window.Frame()->window, frameX, frameY);
    ASSERT_EQ(frameX, 294);
    ASSERT_EQ(frameY, 272);

    // A point of the title bar away from the text, the edges and buttons.
    ASSERT_EQ(xdotool("mousemove 450 284"), 0);
    ASSERT_TRUE(StepUntil([&] { return engine->current.hoverStage == window.Frame(); }));
    ASSERT_EQ(xdotool("mousedown 1"), 0);
    ASSERT_TRUE(StepUntil([&] { return engine->current.buttons == 1; }));
    ASSERT_EQ(xdotool("mousemove 500 334"), 0);
    ASSERT_TRUE(StepUntil([&] { return window.ClientRect().left == 350; }));
    ASSERT_EQ(xdotool("mouseup 1"), 0);
    ASSERT_TRUE(StepUntil([&] { return engine->current.buttons == 0; }));

    EXPECT_EQ(window.ClientRect(), (FNRect { 350, 350, 650, 550 }));
    ASSERT_TRUE(StepUntil([&] {
        RootPosition(window.Frame()->window, frameX, frameY);
        return frameX == 344 && frameY == 322;
    }));
    int clientX = 0;
    int clientY = 0;
    RootPosition(window.window, clientX, clientY);
    EXPECT_EQ(clientX, 350);
    EXPECT_EQ(clientY, 350);
}

} // namespace

TEST_F(StageX11, AStageItemShowsItsDisplayInsideItsParent)
{
    FN2DStage host(120, 120, 160, 120, "host");
    host.Open(true, nullptr, engine.get());
    FNImage picture(10, 10);
    picture.fill(0xC0, 0x10, 0x20, 255);
    FNStageItem item(30, 20, 40, 30);
    ASSERT_TRUE(host.AddChildStage(&item));
    item.SetBackground(&picture, 0, 0);
    ASSERT_TRUE(StepUntil([&] { return ScreenPixel(item.window, 5, 5) == 0xC01020u; }));
    EXPECT_EQ(ScreenPixel(item.window, 20, 5), 0xF7FAFFu) << "beyond the picture: the background colour";
    int hostX = 0, hostY = 0, itemX = 0, itemY = 0;
    RootPosition(host.window, hostX, hostY);
    RootPosition(item.window, itemX, itemY);
    EXPECT_EQ(itemX - hostX, 30);
    EXPECT_EQ(itemY - hostY, 20);
    host.RemoveChildStage(&item);
}

TEST_F(StageX11, ARegionBecomesTheWindowShape)
{
    FN2DStage stage(140, 140, 90, 60, "shaped");
    FNRegion* region = new FNRegion(0, 0, 40, 60);
    region->Add(FNRect { 40, 0, 90, 20 });
    stage.SetRegion(region);
    stage.Open(true, nullptr, engine.get());
    ASSERT_TRUE(stage.windowCreated);
    auto shapeArea = [&] {
        int count = 0, ordering = 0;
        XRectangle* rects
            = XShapeGetRectangles(probe, static_cast<Window>(stage.window), ShapeBounding, &count, &ordering);
        long area = 0;
        for (int i = 0; i < count; ++i)
            area += static_cast<long>(rects[i].width) * rects[i].height;
        if (rects)
            XFree(rects);
        return area;
    };
    ASSERT_TRUE(StepUntil([&] { return shapeArea() == 40 * 60 + 50 * 20; }));
    // A new size drops the shape made for the old one.
    stage.Resize(100, 60);
    ASSERT_TRUE(StepUntil([&] { return shapeArea() == 100 * 60; }));
}
