// The platform scenarios' window system in platform_x11_tests: the X display
// in DISPLAY, with xdotool playing the user through XTEST.

#include "tests/framework/platform/shared/PlatformHarness.h"

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

int xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

} // namespace

void PlatformHarness::SetUp()
{
    std::string failure;
    connection = FNPlatformConnection::Open(failure);
    ASSERT_TRUE(connection) << "The X11 window tests need an X display (scripts/xvfb-display.sh starts Xvfb): "
                            << failure;
}

void PlatformHarness::TearDown()
{
    connection.reset();
}

FNWindowId PlatformHarness::Make(FNWindowClass windowClass, int x, int y, int w, int h, FNWindowId parent, bool child)
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

void PlatformHarness::ShowAndWait(FNWindowId window)
{
    connection->Show(window);
    ASSERT_TRUE(PumpUntil([&] {
        return listener.Has(RecordingListener::Line("shown", window))
            && !listener.Starting("paint " + RecordingListener::Id(window)).empty();
    })) << "window "
        << window << " never appeared";
}

void PlatformHarness::MovePointer(int x, int y)
{
    ASSERT_EQ(xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y)), 0);
}

void PlatformHarness::Wheel(int notches)
{
    const int count = notches < 0 ? -notches : notches;
    ASSERT_EQ(xdotool("click --repeat " + std::to_string(count) + " --delay 1 " + (notches < 0 ? "5" : "4")), 0);
}

bool PlatformHarness::PumpUntil(const std::function<bool()>& condition)
{
    // Only a broken backend waits this long.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit)
            return false;
        connection->Wait(10);
        connection->DispatchEvents(listener);
    }
    return true;
}
