// Input events as a pure function of two samples, the time and the click
// bookkeeping: no engine, no window system.

#include "framework/events/FNEventCode.h"
#include "framework/events/FNInputEvents.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Codes = std::vector<int>;

// Stand-in objects: only their addresses matter here.
FNStageBase* const stageA = reinterpret_cast<FNStageBase*>(0x100);
FNStageBase* const stageB = reinterpret_cast<FNStageBase*>(0x200);
FN2DItemBase* const itemA = reinterpret_cast<FN2DItemBase*>(0x300);
FN2DItemBase* const itemB = reinterpret_cast<FN2DItemBase*>(0x400);

FNUserState over(FNStageBase* stage, FN2DItemBase* item, double x, double y)
{
    FNUserState state;
    state.hoverStage = stage;
    state.hoverItem = item;
    state.hoverKind = FNHover2D;
    state.screenX = state.clientX = state.localX = x;
    state.screenY = state.clientY = state.localY = y;
    return state;
}

struct Derived {
    std::vector<FNEventState> events;
    FNInputActions actions;
    Codes codes() const
    {
        Codes out;
        for (const FNEventState& event : events)
            out.push_back(event.code);
        return out;
    }
};

Derived derive(const FNUserState& previous, FNUserState& current, std::vector<FNFocusRequest> requests = {})
{
    Derived result;
    FNDeriveInputEvents(previous, current, requests, result.events, result.actions);
    return result;
}

// Feeds one sample of the buttons (as FNUserState values) at time t.
struct Clicks {
    FNClickMemory memory;
    FNUserState state;
    bool overStage = true;

    FNCaptureAction At(uint32_t t, uint8_t down)
    {
        const uint8_t previous = state.buttons;
        return FNSampleButtons(previous, overStage, down, t, memory, state);
    }
};

TEST(SampleButtons, DoubleClickWithinTheTimeAndNotAThirdTime)
{
    Clicks c;
    EXPECT_EQ(c.At(1000, FNUserLeft), FNCaptureAction::Capture);
    EXPECT_EQ(c.state.buttons, FNUserLeft);
    EXPECT_EQ(c.state.doubleClick, 0);
    EXPECT_EQ(c.At(1100, 0), FNCaptureAction::Release);
    EXPECT_EQ(c.state.buttons, 0);
    c.At(1200, FNUserLeft);
    EXPECT_EQ(c.state.doubleClick, 1);
    EXPECT_EQ(c.memory.lastPressTime, 0u);
    c.At(1300, 0);
    c.At(1400, FNUserLeft);
    EXPECT_EQ(c.state.doubleClick, 0);
}

TEST(SampleButtons, LimitsAreInclusiveAndButtonsMustMatch)
{
    Clicks c;
    c.At(1000, FNUserLeft);
    c.At(1250, 0); // held exactly 250 ms
    c.At(1500, FNUserLeft); // exactly 250 ms later
    EXPECT_EQ(c.state.doubleClick, 1);

    Clicks d;
    d.At(1000, FNUserRight);
    d.At(1050, 0);
    d.At(1100, FNUserLeft); // another button
    EXPECT_EQ(d.state.doubleClick, 0);
    EXPECT_EQ(d.state.buttons, FNUserLeft);
}

TEST(SampleButtons, LeftWinsOverMiddleOverRightAndAHeldButtonStays)
{
    Clicks c;
    c.At(1000, FNUserRight | FNUserMiddle);
    EXPECT_EQ(c.state.buttons, FNUserMiddle);
    EXPECT_EQ(c.At(1010, FNUserMiddle | FNUserLeft), FNCaptureAction::None);
    EXPECT_EQ(c.state.buttons, FNUserMiddle);
}

TEST(SampleButtons, APressOutsideEveryWindowIsNoPressButAReleaseThereCounts)
{
    Clicks c;
    c.overStage = false;
    EXPECT_EQ(c.At(1000, FNUserLeft), FNCaptureAction::None);
    EXPECT_EQ(c.state.buttons, 0);
    c.overStage = true;
    c.At(1010, FNUserLeft);
    c.overStage = false;
    EXPECT_EQ(c.At(1020, 0), FNCaptureAction::Release);
    EXPECT_EQ(c.memory.lastReleasedButton, FNUserLeft);
    EXPECT_EQ(c.memory.lastClickTime, 1020u);
}

TEST(DeriveInputEvents, NothingOutsideEveryWindowWithoutButtons)
{
    FNUserState previous;
    previous.screenX = 5;
    FNUserState current;
    current.screenX = 9; // moved, pressed, wheeled: all outside
    current.buttons = 0;
    current.wheel = 120;
    EXPECT_TRUE(derive(previous, current).codes().empty());
}

TEST(DeriveInputEvents, PressOrderIsEnterLeaveMoveDownDoubleThenFocus)
{
    FNUserState previous = over(stageA, itemA, 10, 10);
    FNUserState current = over(stageA, itemB, 20, 10);
    current.buttons = FNUserLeft;
    current.doubleClick = 1;
    Derived d = derive(previous, current);
    EXPECT_EQ(d.codes(),
        (Codes { FNEvent::MouseEnter, FNEvent::MouseLeave, FNEvent::MouseMove, FNEvent::LeftDown,
            FNEvent::LeftDoubleClick, FNEvent::FocusOut, FNEvent::FocusIn }));
    EXPECT_EQ(d.events[1].item, itemA); // leave: the previous hover
    EXPECT_DOUBLE_EQ(d.events[1].screenX, 10);
    EXPECT_EQ(current.focusItem, itemB);
    EXPECT_EQ(d.actions.setFocus, stageA);
    EXPECT_EQ(d.actions.setCursor, stageA);
    EXPECT_EQ(d.actions.activate, stageA);
}

TEST(DeriveInputEvents, MiddleAndRightPressesMoveFocusWithoutTheWindowFocus)
{
    FNUserState previous = over(stageB, itemA, 1, 1);
    FNUserState current = over(stageB, itemA, 1, 1);
    current.buttons = FNUserRight;
    Derived d = derive(previous, current);
    EXPECT_EQ(d.codes(), (Codes { FNEvent::RightDown, FNEvent::FocusOut, FNEvent::FocusIn }));
    EXPECT_EQ(d.actions.setFocus, nullptr);
    EXPECT_EQ(current.focusStage, stageB);
}

TEST(DeriveInputEvents, ReleaseEndsTheStepAndFocusRequestsWait)
{
    FNUserState previous = over(stageA, itemA, 1, 1);
    previous.buttons = FNUserLeft;
    FNUserState current = over(stageA, itemA, 1, 1);
    std::vector<FNFocusRequest> requests { { stageA, itemB, nullptr, nullptr } };
    std::vector<FNEventState> events;
    FNInputActions actions;
    FNDeriveInputEvents(previous, current, requests, events, actions);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, FNEvent::LeftUp);
    EXPECT_EQ(requests.size(), 1u);
}

TEST(DeriveInputEvents, KeysGoToTheFocusAndNotWhileAButtonIsHeld)
{
    FNUserState previous = over(stageA, itemA, 1, 1);
    previous.focusStage = stageB;
    previous.focusItem = itemB;
    FNUserState current = previous;
    current.keyDown = 1;
    current.key = 'N';
    Derived d = derive(previous, current);
    ASSERT_EQ(d.codes(), (Codes { FNEvent::KeyDown, FNEvent::StageKeyDown }));
    EXPECT_EQ(d.events[0].stage, stageB);
    EXPECT_EQ(d.events[0].item, itemB);
    EXPECT_EQ(d.events[0].key, 'N');
    EXPECT_EQ(d.events[1].stage, stageB);
    EXPECT_EQ(d.events[1].item, nullptr);

    previous.buttons = current.buttons = FNUserLeft;
    EXPECT_TRUE(derive(previous, current).codes().empty());
}

TEST(DeriveInputEvents, TextAloneRaisesKeyDownOnly)
{
    FNUserState previous = over(stageA, nullptr, 1, 1);
    FNUserState current = previous;
    current.textInput = 1;
    EXPECT_EQ(derive(previous, current).codes(), (Codes { FNEvent::KeyDown }));
}

TEST(DeriveInputEvents, WheelOnlyWithoutAButtonBefore)
{
    FNUserState previous = over(stageA, itemA, 1, 1);
    FNUserState current = previous;
    current.wheel = -120;
    EXPECT_EQ(derive(previous, current).codes(), (Codes { FNEvent::Wheel }));
    previous.buttons = current.buttons = FNUserLeft;
    EXPECT_TRUE(derive(previous, current).codes().empty());
}

TEST(DeriveInputEvents, FocusRequestsSwitchFocusInOrderAndSkipTheCurrentFocus)
{
    FNUserState previous = over(stageA, nullptr, 1, 1);
    previous.focusStage = stageA;
    previous.focusItem = itemA;
    FNUserState current = previous;
    Derived d = derive(previous, current,
        { { stageA, itemA, nullptr, nullptr }, { stageA, itemB, nullptr, nullptr },
            { stageB, nullptr, nullptr, nullptr } });
    ASSERT_EQ(d.codes(), (Codes { FNEvent::FocusOut, FNEvent::FocusIn, FNEvent::FocusOut, FNEvent::FocusIn }));
    EXPECT_EQ(d.events[0].item, itemA);
    EXPECT_EQ(d.events[1].item, itemB);
    EXPECT_EQ(d.events[2].item, itemB);
    EXPECT_EQ(d.events[3].stage, stageB);
    EXPECT_EQ(current.focusStage, stageB);
    EXPECT_EQ(d.actions.activate, stageB);
}

TEST(DeriveInputEvents, FocusRequestsAreTakenWithThePointerOutsideEveryWindow)
{
    // A window opened from the keyboard asks for the focus while the pointer
    // is elsewhere: its keys must reach it without a move of the pointer.
    FNUserState previous; // over nothing
    FNUserState current;
    Derived d = derive(previous, current, { { stageB, nullptr, nullptr, nullptr } });
    EXPECT_EQ(d.codes(), (Codes { FNEvent::FocusOut, FNEvent::FocusIn }));
    EXPECT_EQ(current.focusStage, stageB);
    EXPECT_EQ(d.actions.activate, stageB);
}

} // namespace
