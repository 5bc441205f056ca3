// The scenarios' window system in stage_x11_tests: the X display in DISPLAY
// (Xvfb in CI). xdotool plays the user through XTEST, so input reaches the
// program exactly as a person's would; a second connection of the test reads
// pixels back and plays the window manager.

#include "framework/platform/FNVirtualKey.h"
#include "tests/framework/stage/shared/StageHarness.h"

// GoogleTest before Xlib: Xlib's None and Bool macros break its headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

struct StageHarness::Backend {
    Display* probe = nullptr;
    ~Backend()
    {
        if (probe)
            XCloseDisplay(probe);
    }
};

namespace {

int xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

// xdotool's name of a virtual key.
std::string keyName(int virtualKey)
{
    static const std::pair<int, const char*> named[] = { { FNKeyControl, "ctrl" }, { FNKeyShift, "shift" },
        { FNKeyBackspace, "BackSpace" }, { FNKeyReturn, "Return" }, { FNKeyEscape, "Escape" }, { FNKeyUp, "Up" },
        { FNKeyDown, "Down" }, { FNKeyLeft, "Left" }, { FNKeyRight, "Right" } };
    for (const auto& [key, name] : named) {
        if (key == virtualKey)
            return name;
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return std::string(1, static_cast<char>(virtualKey - 'A' + 'a'));
    return std::string(1, static_cast<char>(virtualKey));
}

} // namespace

void StageHarness::SetUp()
{
    engine = std::make_unique<FNEngine>();
    ASSERT_TRUE(engine->Platform()) << "The X11 window tests need an X display (scripts/xvfb-display.sh starts Xvfb): "
                                    << engine->PlatformFailure();
    m_backend = std::make_shared<Backend>();
    m_backend->probe = XOpenDisplay(nullptr);
    ASSERT_NE(m_backend->probe, nullptr);
}

void StageHarness::TearDown()
{
    xdotool("mouseup 1 keyup ctrl keyup shift keyup a");
    engine.reset();
    m_backend.reset();
}

void StageHarness::MovePointer(int x, int y)
{
    ASSERT_EQ(xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y)), 0);
}

void StageHarness::Click(int count)
{
    ASSERT_EQ(xdotool("click --repeat " + std::to_string(count) + " --delay 1 1"), 0);
}

void StageHarness::Drag(int fromX, int fromY, int toX, int toY)
{
    ASSERT_EQ(xdotool("mousemove " + std::to_string(fromX) + " " + std::to_string(fromY) + " mousedown 1 mousemove "
                  + std::to_string(toX) + " " + std::to_string(toY) + " mouseup 1"),
        0);
}

void StageHarness::Press()
{
    ASSERT_EQ(xdotool("mousedown 1"), 0);
}

void StageHarness::Release()
{
    ASSERT_EQ(xdotool("mouseup 1"), 0);
}

void StageHarness::Chord(const std::vector<int>& keys)
{
    std::string combination;
    for (int key : keys)
        combination += (combination.empty() ? "" : "+") + keyName(key);
    ASSERT_EQ(xdotool("key " + combination), 0);
}

void StageHarness::Type(const std::string& utf8)
{
    ASSERT_EQ(xdotool("type '" + utf8 + "'"), 0);
}

void StageHarness::Wheel(int notches)
{
    const int count = notches < 0 ? -notches : notches;
    ASSERT_EQ(xdotool("click --repeat " + std::to_string(count) + " --delay 1 " + (notches < 0 ? "5" : "4")), 0);
}

void StageHarness::Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void StageHarness::RequestClose(const FNStageBase& stage)
{
    Display* probe = m_backend->probe;
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(stage.window);
    event.xclient.message_type = XInternAtom(probe, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(probe, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(probe, static_cast<Window>(stage.window), False, NoEventMask, &event);
    XFlush(probe);
}

bool StageHarness::StepUntil(const std::function<bool()>& condition)
{
    // Only a broken engine or backend waits this long.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        engine->Synchronise();
        engine->RunStep(true);
    }
    return true;
}

void StageHarness::StepAFew()
{
    for (int step = 0; step < 50; ++step) {
        engine->Synchronise();
        engine->RunStep(true);
    }
}

uint32_t StageHarness::Pixel(const FNStageBase& stage, int x, int y)
{
    XImage* image = XGetImage(m_backend->probe, static_cast<Window>(stage.window), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0xFFFFFFFF;
    const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

void StageHarness::ScreenPosition(const FNStageBase& stage, int& x, int& y)
{
    Display* probe = m_backend->probe;
    Window child = 0;
    XTranslateCoordinates(probe, static_cast<Window>(stage.window), DefaultRootWindow(probe), 0, 0, &x, &y, &child);
}

long StageHarness::ShapeArea(const FNStageBase& stage)
{
    int count = 0, ordering = 0;
    XRectangle* rects
        = XShapeGetRectangles(m_backend->probe, static_cast<Window>(stage.window), ShapeBounding, &count, &ordering);
    long area = 0;
    for (int i = 0; i < count; ++i)
        area += static_cast<long>(rects[i].width) * rects[i].height;
    if (rects)
        XFree(rects);
    return area;
}
