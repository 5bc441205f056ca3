// The platform scenarios' window system in platform_virtual_tests.

#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "tests/framework/platform/shared/PlatformHarness.h"

namespace V = FNVirtualPlatform;

void PlatformHarness::SetUp()
{
    V::Reset();
    std::string failure;
    connection = FNPlatformConnection::Open(failure);
    ASSERT_TRUE(connection) << failure;
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
    desc.title = "test";
    return connection->CreateWindow(desc);
}

void PlatformHarness::ShowAndWait(FNWindowId window)
{
    connection->Show(window);
    connection->DispatchEvents(listener);
}

void PlatformHarness::MovePointer(int x, int y)
{
    V::SetPointer(x, y);
}

void PlatformHarness::Wheel(int notches)
{
    for (int i = 0; i < (notches < 0 ? -notches : notches); ++i)
        V::Wheel(notches < 0 ? -120 : 120);
}

bool PlatformHarness::PumpUntil(const std::function<bool()>& condition)
{
    connection->DispatchEvents(listener);
    return condition();
}
