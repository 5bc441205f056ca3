// Input that happens between two engine steps: every press, release, key
// change and text is seen, in order, over as many steps as it takes.

#include "framework/platform/FNPointerLatch.h"
#include "framework/platform/FNVirtualKey.h"
#include "tests/framework/engine/RuntimeFixture.h"

#include <functional>
#include <ostream>
#include <string>

namespace V = FNVirtualPlatform;
using Codes = std::vector<int>;

namespace {

// Client (20, 20) of the test stage, on its item.
constexpr int kX = 120, kY = 120;

struct BetweenTwoSteps {
    const char* name;
    std::function<void()> act; // everything here happens before the next step
    Codes itemCodes; // what the item receives, moves and hover changes included
    Codes stageKeys; // key codes of StageKeyDown (+) and StageKeyUp (-), in order
    std::string text; // typed text, joined
};

const BetweenTwoSteps kCases[] = {
    { "click", [] { V::SetButtons(FNButtonLeft), V::SetButtons(0); }, { 2, 3 }, {}, "" },
    { "double click",
        [] {
            for (int i = 0; i < 2; ++i)
                V::SetButtons(FNButtonLeft), V::SetButtons(0);
        },
        { 2, 3, 2, 8, 3 }, {}, "" },
    { "press, move, release",
        [] {
            V::SetButtons(FNButtonLeft);
            V::SetPointer(kX + 15, kY + 5);
            V::SetButtons(0);
        },
        { 2, 1, 3 }, {}, "" },
    { "right click on the move", [] { V::SetPointer(kX + 3, kY), V::SetButtons(FNButtonRight), V::SetButtons(0); },
        { 1, 6, 7 }, {}, "" },
    { "key tap", [] { V::PressKey('A'), V::ReleaseKey('A'); }, {}, { 'A', -'A' }, "" },
    { "modifier chord",
        [] {
            V::PressKey(FNKeyLeftControl), V::PressKey('S');
            V::ReleaseKey('S'), V::ReleaseKey(FNKeyLeftControl);
        },
        {}, { FNKeyControl, 'S', -'S', -FNKeyControl }, "" },
    { "typed key and committed text",
        [] {
            V::PressKey('A'), V::TypeText("a"), V::ReleaseKey('A');
            V::TypeText("日本");
        },
        {}, { 'A', -'A' }, "a日本" },
    { "two wheel notches", [] { V::Wheel(120), V::Wheel(-120); }, { 11, 11 }, {}, "" },
};

void PrintTo(const BetweenTwoSteps& input, std::ostream* out)
{
    *out << input.name;
}

class Latch : public Runtime, public ::testing::WithParamInterface<BetweenTwoSteps> { };

TEST_P(Latch, EverythingIsSeenInOrder)
{
    auto item = Item(10, 10);
    Listening onItem(item.get(), log);
    EventLog stageLog;
    Listening onStage(&stage, stageLog);
    std::string text;
    // A click on the stage beside the item gives it the keyboard focus.
    At(1000, kX + 100, kY + 100, FNButtonLeft);
    At(1010, kX + 100, kY + 100, 0);
    At(2000, kX, kY, 0);
    ASSERT_EQ(engine->current.focusStage, &stage);
    log.entries.clear();
    stageLog.entries.clear();

    GetParam().act();
    for (int step = 0; step < 12; ++step) {
        Step();
        if (engine->current.textInput)
            text += engine->current.text.c_str();
    }

    Codes itemCodes;
    for (const auto& entry : log.entries) {
        if (entry.code != FNEvent::MouseEnter && entry.code != FNEvent::MouseLeave && entry.code != FNEvent::FocusIn
            && entry.code != FNEvent::FocusOut)
            itemCodes.push_back(entry.code);
    }
    EXPECT_EQ(itemCodes, GetParam().itemCodes);
    Codes stageKeys;
    for (const auto& entry : stageLog.entries) {
        if (entry.code == FNEvent::StageKeyDown || entry.code == FNEvent::StageKeyUp)
            stageKeys.push_back(entry.code == FNEvent::StageKeyDown ? entry.event.key : -entry.event.key);
    }
    EXPECT_EQ(stageKeys, GetParam().stageKeys);
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Input, Latch, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

TEST_F(Runtime, AReleaseAfterAMoveIsSeenWhereItHappened)
{
    auto item = Item(10, 10);
    Listening onItem(item.get(), log);
    At(1000, kX, kY, 0);
    V::SetButtons(FNButtonLeft);
    V::SetPointer(kX + 15, kY + 5);
    V::SetButtons(0);
    for (int step = 0; step < 4; ++step)
        Step();
    const auto& up = log.entries.back().event;
    ASSERT_EQ(up.code, FNEvent::LeftUp);
    EXPECT_DOUBLE_EQ(up.screenX, kX + 15);
    EXPECT_DOUBLE_EQ(up.localX, 25);
}

TEST_F(Runtime, ClicksLatchedFarApartAreNoDoubleClickHoweverLateTheStep)
{
    auto item = Item(10, 10);
    Listening onItem(item.get(), log);
    At(1000, kX, kY, 0);
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    V::AdvanceMilliseconds(400);
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    for (int step = 0; step < 6; ++step)
        Step();
    Codes codes;
    for (const auto& entry : log.entries) {
        if (entry.code == FNEvent::LeftDown || entry.code == FNEvent::LeftUp || entry.code == FNEvent::LeftDoubleClick)
            codes.push_back(entry.code);
    }
    EXPECT_EQ(codes, (Codes { 2, 3, 2, 3 }));
}

// Ctrl+S opens a window of another engine (as a modal dialog does), which
// takes the focus, so the releases of S and Ctrl go to it. Back on the
// stage, Ctrl+Z must not find S still held: a shortcut would take it for
// Ctrl+S again.
TEST_F(Runtime, KeysReleasedWhileAnotherEngineHadTheFocusAreNotHeldLater)
{
    EventLog stageLog;
    Listening onStage(&stage, stageLog);
    At(1000, kX, kY, FNButtonLeft); // a click gives the stage the keyboard
    At(1010, kX, kY, 0);
    V::PressKey(FNKeyLeftControl), V::PressKey('S');
    for (int step = 0; step < 3; ++step)
        Step();

    // The dialog outlives its engine, whose end still tells it of its window.
    TestStage dialog { 400, 100, 100, 100 };
    FNEngine other;
    dialog.engine = &other;
    ASSERT_TRUE(other.RequestCreate(&dialog));
    other.PostToThread(FN_MSG_CREATE_STAGES, nullptr);
    other.Synchronise();
    other.Platform()->SetFocus(dialog.window);
    V::ReleaseKey('S'), V::ReleaseKey(FNKeyLeftControl);
    other.Synchronise();
    engine->Platform()->SetFocus(stage.window);

    V::PressKey(FNKeyLeftControl), V::PressKey('Z');
    bool sawZ = false;
    for (int step = 0; step < 6 && !sawZ; ++step) {
        Step();
        const auto& entries = stageLog.entries;
        sawZ = !entries.empty() && entries.back().code == FNEvent::StageKeyDown && entries.back().event.key == 'Z';
    }
    ASSERT_TRUE(sawZ);
    const FNSystemState keys = engine->System();
    EXPECT_TRUE(keys.keys[FNKeyControl] & 0x80);
    EXPECT_FALSE(keys.keys['S'] & 0x80) << "S is still held after its release went to the other window";
    V::ReleaseKey('Z'), V::ReleaseKey(FNKeyLeftControl);
}

TEST(PointerLatch, LiveButtonsNeverPressAndAnUnreportedReleaseIsMade)
{
    FNPointerLatch latch;
    // A press the window system has not reported yet shows as nothing.
    EXPECT_EQ(latch.Sample({ 5, 5, 1, FNButtonLeft, 10 }).buttons, 0);
    latch.Press({ 5, 5, 1, FNButtonLeft, 11 });
    EXPECT_EQ(latch.Sample({ 5, 5, 1, FNButtonLeft, 12 }).buttons, FNButtonLeft);
    EXPECT_EQ(latch.Sample({ 6, 5, 1, FNButtonLeft, 13 }).buttons, FNButtonLeft);
    // The release never came (a grab elsewhere): the live state ends it, at
    // the live position, after a move there.
    FNPointerState moved = latch.Sample({ 9, 7, 1, 0, 14 });
    EXPECT_EQ(moved.buttons, FNButtonLeft);
    EXPECT_EQ(moved.screenX, 9);
    EXPECT_EQ(latch.Sample({ 9, 7, 1, 0, 15 }).buttons, 0);
    // Its late report changes nothing.
    latch.Release({ 9, 7, 1, 0, 16 });
    EXPECT_EQ(latch.Sample({ 9, 7, 1, 0, 17 }).buttons, 0);
    EXPECT_EQ(latch.Held(), 0);
}

} // namespace
