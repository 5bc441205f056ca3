// Scenarios of the platform interface that run unchanged on the virtual
// window system and on X11.

#include "tests/framework/platform/shared/PlatformHarness.h"

#include <thread>

using Line = RecordingListener;

TEST_F(PlatformHarness, ThreadMessagesArriveInOrderAndWakeTheWait)
{
    std::thread poster([this] {
        for (int i = 0; i < 100; ++i)
            connection->Post(2050 + i % 9, static_cast<uintptr_t>(i));
    });
    int received = 0;
    while (received < 100) {
        // Waits until a post arrives; a lost wake-up would fail the test
        // through the ctest time limit rather than pass.
        ASSERT_TRUE(connection->Wait(60000));
        FNThreadMessage message;
        while (connection->NextThreadMessage(message)) {
            EXPECT_EQ(message.param, static_cast<uintptr_t>(received));
            EXPECT_EQ(message.message, 2050 + received % 9);
            ++received;
        }
        connection->DispatchEvents(listener);
    }
    poster.join();
    connection->DispatchEvents(listener); // no windows: nothing else arrives
    EXPECT_FALSE(connection->HasPending());
    EXPECT_FALSE(connection->Wait(0));
}

TEST_F(PlatformHarness, PointerFindsTheDeepestOwnWindowAndConvertsPositions)
{
    const FNWindowId top = Make(FNWindowClass::Black, 400, 100, 200, 150);
    const FNWindowId child = Make(FNWindowClass::White, 20, 30, 50, 40, top, true);
    const FNWindowId hiddenChild = Make(FNWindowClass::White, 100, 20, 50, 50, top, true);
    ShowAndWait(top);
    ShowAndWait(child);
    FNPointerState state;
    auto pointerAt = [&](int x, int y) {
        MovePointer(x, y);
        return PumpUntil([&] { return connection->QueryPointer(state) && state.screenX == x && state.screenY == y; });
    };
    ASSERT_TRUE(pointerAt(425, 135));
    EXPECT_EQ(state.window, child);
    ASSERT_TRUE(pointerAt(505, 125)); // over the hidden child: the parent
    EXPECT_EQ(state.window, top);
    EXPECT_NE(state.window, hiddenChild);
    ASSERT_TRUE(pointerAt(399, 100)); // outside every window
    EXPECT_EQ(state.window, FNNoWindow);

    int x = 425, y = 135;
    ASSERT_TRUE(connection->ScreenToClient(child, x, y));
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 5);
    ASSERT_TRUE(connection->ClientToScreen(child, x, y));
    EXPECT_EQ(x, 425);
    EXPECT_EQ(y, 135);
    EXPECT_FALSE(connection->ScreenToClient(FNNoWindow, x, y));
}

TEST_F(PlatformHarness, WheelNotchesAreSignedMultiplesOf120ForTheWindowUnderThePointer)
{
    const FNWindowId top = Make(FNWindowClass::Black, 400, 400, 100, 100);
    const FNWindowId child = Make(FNWindowClass::White, 50, 50, 50, 50, top, true);
    ShowAndWait(top);
    ShowAndWait(child);
    listener.events.clear();
    MovePointer(410, 410);
    Wheel(2);
    MovePointer(460, 460);
    Wheel(-1);
    ASSERT_TRUE(PumpUntil([&] { return listener.Has(Line::Line("wheel", child, { -120 })); }));
    EXPECT_EQ(listener.Starting("wheel"),
        (std::vector<std::string> { Line::Line("wheel", top, { 120 }), Line::Line("wheel", top, { 120 }),
            Line::Line("wheel", child, { -120 }) }));
}
