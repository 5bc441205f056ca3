// Input sampling, derived events and dispatch through real engine steps on
// the virtual window system, with the clock, pointer, buttons and keys set
// by the test.

#include "framework/platform/FNVirtualKey.h"
#include "tests/framework/engine/RuntimeFixture.h"

#include <string>

namespace V = FNVirtualPlatform;
using Codes = std::vector<int>;

namespace {

// Screen position of a client point of the test stage.
constexpr int sx(int clientX)
{
    return 100 + clientX;
}
constexpr int sy(int clientY)
{
    return 100 + clientY;
}

// Codes of buttons, wheel, keys and window events (moves, enters, leaves,
// focus changes and the main-stage announcement left out).
Codes buttonCodes(const Codes& codes)
{
    Codes out;
    for (int code : codes) {
        if (code != FNEvent::MouseMove && code != FNEvent::MouseEnter && code != FNEvent::MouseLeave
            && code != FNEvent::MainStageChanged && code != FNEvent::FocusIn && code != FNEvent::FocusOut)
            out.push_back(code);
    }
    return out;
}

TEST_F(Runtime, DoubleClickGivesTwoThreeTwoEightThreeAndAThirdPressIsPlain)
{
    auto item = Item(10, 10);
    Listening listening(item.get(), log);
    At(1000, sx(20), sy(20), 0);
    At(1100, sx(20), sy(20), FNButtonLeft); // press, held 100 ms
    At(1200, sx(20), sy(20), 0);
    At(1300, sx(20), sy(20), FNButtonLeft); // 200 ms after the first press
    At(1400, sx(20), sy(20), 0);
    EXPECT_EQ(buttonCodes(log.Codes()),
        (Codes { FNEvent::LeftDown, FNEvent::LeftUp, FNEvent::LeftDown, FNEvent::LeftDoubleClick, FNEvent::LeftUp }));
    log.entries.clear();
    At(1500, sx(20), sy(20), FNButtonLeft); // 200 ms after the second press
    EXPECT_EQ(buttonCodes(log.Codes()), (Codes { FNEvent::LeftDown }));
}

TEST_F(Runtime, SlowSecondPressIsNoDoubleClick)
{
    auto item = Item(10, 10);
    Listening listening(item.get(), log);
    At(1000, sx(20), sy(20), FNButtonLeft);
    At(1100, sx(20), sy(20), 0);
    At(1351, sx(20), sy(20), FNButtonLeft); // 251 ms after the release
    EXPECT_EQ(buttonCodes(log.Codes()), (Codes { FNEvent::LeftDown, FNEvent::LeftUp, FNEvent::LeftDown }));
}

TEST_F(Runtime, PressCapturesTheItemUntilReleaseOutsideEveryWindow)
{
    auto item = Item(10, 10);
    auto other = Item(100, 100);
    Listening onItem(item.get(), log);
    Listening onOther(other.get(), log);
    At(1000, sx(20), sy(20), 0);
    log.entries.clear();
    At(1010, sx(20), sy(20), FNButtonLeft);
    EXPECT_EQ(V::Capture(), stage.window);
    At(1020, sx(110), sy(110), FNButtonLeft); // over the other item
    At(1030, 900, 900, FNButtonLeft); // outside every window
    At(1040, 950, 950, 0); // moved on and released outside, between two samples:
    Step(); // the move to the release's position comes first, then the release
    EXPECT_TRUE(log.CodesFor(other.get()).empty());
    EXPECT_EQ(buttonCodes(log.CodesFor(item.get())), (Codes { FNEvent::LeftDown, FNEvent::LeftUp }));
    int moves = 0;
    for (const auto& entry : log.entries) {
        if (entry.code == FNEvent::MouseMove && entry.receiver == item.get())
            moves++;
    }
    EXPECT_EQ(moves, 3); // every move while held went to the pressed item
    EXPECT_EQ(V::Capture(), FNNoWindow);
    // The release carries the position where the button went up.
    const FNEventState& up = log.entries.back().event;
    EXPECT_EQ(up.code, FNEvent::LeftUp);
    EXPECT_EQ(up.item, item.get());
    EXPECT_DOUBLE_EQ(up.screenX, 950);
}

TEST_F(Runtime, EnteringAnotherItemRaisesEnterBeforeLeave)
{
    auto a = Item(10, 10);
    auto b = Item(100, 10);
    Listening onA(a.get(), log);
    Listening onB(b.get(), log);
    At(1000, sx(20), sy(20), 0);
    log.entries.clear();
    At(1010, sx(110), sy(20), 0);
    ASSERT_EQ(log.Codes(), (Codes { FNEvent::MouseEnter, FNEvent::MouseLeave, FNEvent::MouseMove }));
    EXPECT_EQ(log.entries[0].receiver, b.get());
    EXPECT_EQ(log.entries[1].receiver, a.get());
    // The leave carries the previous step's position.
    EXPECT_DOUBLE_EQ(log.entries[1].event.clientX, 20);
    EXPECT_DOUBLE_EQ(log.entries[1].event.localX, 10);
}

TEST_F(Runtime, KeysWhileAButtonIsHeldRaiseNothingAndAfterwardsReachTheFocus)
{
    auto item = Item(10, 10);
    Listening onItem(item.get(), log);
    Listening onStage(static_cast<FNStageBase*>(&stage), log);
    At(1000, sx(20), sy(20), FNButtonLeft); // press: focus to the item and its window
    At(1010, sx(20), sy(20), FNButtonLeft);
    engine->Synchronise();
    ASSERT_EQ(V::Focus(), stage.window);
    log.entries.clear();
    V::PressKey(FNKeySpace);
    At(1020, sx(20), sy(20), FNButtonLeft);
    V::ReleaseKey(FNKeySpace);
    At(1030, sx(20), sy(20), FNButtonLeft);
    EXPECT_TRUE(log.Codes().empty());

    At(1040, sx(20), sy(20), 0); // release
    log.entries.clear();
    V::PressKey('A');
    At(1050, sx(20), sy(20), 0);
    ASSERT_EQ(log.Codes(), (Codes { FNEvent::KeyDown, FNEvent::StageKeyDown }));
    EXPECT_EQ(log.entries[0].receiver, item.get());
    EXPECT_EQ(log.entries[0].event.key, 'A');
    EXPECT_EQ(log.entries[1].receiver, &stage);
    EXPECT_EQ(log.entries[1].event.item, nullptr);
    V::ReleaseKey('A');
    At(1060, sx(20), sy(20), 0);
    EXPECT_EQ(log.Codes(), (Codes { FNEvent::KeyDown, FNEvent::StageKeyDown, FNEvent::KeyUp, FNEvent::StageKeyUp }));
}

TEST_F(Runtime, InputMethodTextIsCutBetweenLettersAndRaisesKeyDown)
{
    At(1000, sx(150), sy(150), FNButtonLeft); // focus to the stage's window
    At(1010, sx(150), sy(150), 0);
    engine->Synchronise();
    Listening onStage(static_cast<FNStageBase*>(&stage), log);
    // 1023 bytes of ASCII, then a two-byte letter that would end past 1024.
    V::TypeText(std::string(1023, 'a') + "\xC3\xA9");
    At(1020, sx(150), sy(150), 0);
    ASSERT_EQ(log.Codes(), (Codes { FNEvent::KeyDown }));
    EXPECT_EQ(engine->ImeText().length(), 1023u);
    EXPECT_EQ(engine->current.text.length(), 1023u);
}

TEST_F(Runtime, WheelGoesToTheHoveredItem)
{
    auto item = Item(10, 10);
    Listening onItem(item.get(), log);
    At(1000, sx(20), sy(20), 0);
    log.entries.clear();
    V::Wheel(-240);
    At(1010, sx(20), sy(20), 0);
    ASSERT_EQ(log.Codes(), (Codes { FNEvent::Wheel }));
    EXPECT_EQ(log.entries[0].event.wheel, -240);
}

TEST_F(Runtime, OutsideEveryWindowWithoutButtonsNothingIsRaised)
{
    Listening onStage(static_cast<FNStageBase*>(&stage), log);
    At(1000, 900, 900, 0);
    log.entries.clear();
    V::Wheel(120);
    At(1010, 950, 950, FNButtonLeft); // a press outside is no press
    At(1020, 960, 950, 0);
    EXPECT_TRUE(log.Codes().empty());
}

TEST_F(Runtime, EventsForDisabledItemsAndTheirChildrenAreDropped)
{
    auto parent = Item(10, 10, 100, 100);
    FN2DItem child(20, 20, 5, 5, 0);
    parent->AddChild(&child);
    Listening onChild(&child, log);
    Listening onParent(parent.get(), log);
    parent->enabled = false; // the child's own flag stays set
    FNEmitToItem(&child, FNEvent::ValueChanged);
    Step();
    EXPECT_TRUE(log.Codes().empty());

    parent->enabled = true;
    child.passEventsToParent = true;
    FNEmitToItem(&child, FNEvent::ValueChanged);
    Step();
    ASSERT_EQ(log.Codes(), (Codes { FNEvent::ValueChanged, FNEvent::ValueChanged }));
    EXPECT_EQ(log.entries[0].receiver, &child); // own connectors first
    EXPECT_EQ(log.entries[1].receiver, parent.get());
}

TEST_F(Runtime, EventsForDisabledStagesAndTheirChildStagesAreDropped)
{
    TestStage inner(10, 10, 50, 50);
    inner.parent = &stage;
    inner.engine = engine.get();
    Listening onInner(static_cast<FNStageBase*>(&inner), log);
    Listening onOuter(static_cast<FNStageBase*>(&stage), log);
    stage.enabled = false;
    FNEmitToStage(&inner, FNEvent::CloseRequest);
    Step();
    EXPECT_TRUE(log.Codes().empty());
    stage.enabled = true;
    inner.passEventsToParent = true;
    FNEmitToStage(&inner, FNEvent::CloseRequest);
    Step();
    EXPECT_EQ(log.Codes(), (Codes { FNEvent::CloseRequest, FNEvent::CloseRequest }));
}

TEST_F(Runtime, HandlersRunInConnectionOrderAndTheirEventsJoinThePass)
{
    auto item = Item(10, 10);
    struct Chain {
        FN2DItem* item;
        std::vector<int> seen;
        void First(FNEventState e)
        {
            seen.push_back(e.code * 10 + 1);
            if (e.code == FNEvent::ValueChanged)
                FNEmitToItem(item, FNEvent::ValueUnchanged);
        }
        void Second(FNEventState e) { seen.push_back(e.code * 10 + 2); }
    } chain { item.get(), {} };
    FNEventConnector connector(static_cast<FN2DItemBase*>(item.get()));
    connector.Connect(FNEvent::ValueChanged, &Chain::First, &chain);
    connector.Connect(FNEvent::ValueChanged, &Chain::Second, &chain);
    connector.Connect(FNEvent::ValueUnchanged, &Chain::Second, &chain);
    FNEmitToItem(item.get(), FNEvent::ValueChanged);
    Step();
    EXPECT_EQ(chain.seen, (std::vector<int> { 231, 232, 242 }));
}

TEST_F(Runtime, AHandlerThatDestroysItsOwnConnectorIsSafe)
{
    auto item = Item(10, 10);
    struct SelfRemoving {
        FNEventConnector* connector = nullptr;
        int calls = 0;
        void On(FNEventState)
        {
            calls++;
            delete connector;
            connector = nullptr;
        }
    } handler;
    handler.connector = new FNEventConnector(static_cast<FN2DItemBase*>(item.get()));
    handler.connector->Connect(FNEvent::ValueChanged, &SelfRemoving::On, &handler);
    handler.connector->Connect(FNEvent::ValueChanged, &SelfRemoving::On, &handler);
    FNEmitToItem(item.get(), FNEvent::ValueChanged);
    FNEmitToItem(item.get(), FNEvent::ValueChanged);
    Step();
    EXPECT_EQ(handler.calls, 1); // the second handler and event find no connector
}

TEST_F(Runtime, EventsForAnItemDeletedAfterQueueingReachNothing)
{
    auto item = Item(10, 10);
    FN2DItem* raw = item.get();
    int calls = 0;
    struct Counter {
        int* calls;
        void On(FNEventState) { (*calls)++; }
    } counter { &calls };
    FNEventConnector connector(static_cast<FN2DItemBase*>(raw));
    connector.Connect(FNEvent::ValueChanged, &Counter::On, &counter);
    FNEmitToItem(raw, FNEvent::ValueChanged);
    item.reset();
    Step();
    EXPECT_EQ(calls, 0);
}

TEST_F(Runtime, WidgetConnectorsWaitUntilTheWidgetIsPlaced)
{
    // The widget layer's seam: where a widget keeps its item.
    static FN2DItemBase* placedItem = nullptr;
    FNEventConnector::SetWidgetItemLookup([](FNWidget*) { return placedItem; });
    auto* widget = reinterpret_cast<FNWidget*>(0x1000);
    FNEventConnector connector(widget);
    int calls = 0;
    struct Counter {
        int* calls;
        void On(FNEventState) { (*calls)++; }
    } counter { &calls };
    connector.Connect(FNEvent::ValueChanged, &Counter::On, &counter);
    EXPECT_EQ(connector.BoundItem(), nullptr);
    FNEmitToWidget(widget, FNEvent::ValueChanged); // unplaced: nothing queued
    auto item = Item(10, 10);
    placedItem = item.get();
    FNEmitToWidget(widget, FNEvent::ValueChanged);
    Step();
    EXPECT_EQ(connector.BoundItem(), item.get());
    EXPECT_EQ(calls, 1);
    placedItem = nullptr;
    FNEventConnector::SetWidgetItemLookup(nullptr);
}

TEST_F(Runtime, FocusRequestsRaiseFocusOutThenFocusIn)
{
    auto a = Item(10, 10);
    auto b = Item(100, 10);
    Listening onA(a.get(), log);
    Listening onB(b.get(), log);
    At(1000, sx(20), sy(20), FNButtonLeft); // focus to a
    At(1010, sx(20), sy(20), 0);
    log.entries.clear();
    b->RequestFocus();
    Step();
    ASSERT_EQ(log.Codes(), (Codes { FNEvent::FocusOut, FNEvent::FocusIn }));
    EXPECT_EQ(log.entries[0].receiver, a.get());
    EXPECT_EQ(log.entries[1].receiver, b.get());
    EXPECT_EQ(engine->current.focusItem, b.get());
}

TEST_F(Runtime, CloseRequestsAndDropsArriveAsStageEvents)
{
    Listening onStage(static_cast<FNStageBase*>(&stage), log);
    const std::string longPath = "/tmp/" + std::string(300, 'p') + ".png";
    V::DropFiles(stage.window, { "/a.bmp", longPath, "/c.jpg" });
    V::RequestClose(stage.window);
    Step();
    EXPECT_EQ(buttonCodes(log.Codes()), (Codes { FNEvent::FilesDropped, FNEvent::CloseRequest }));
    EXPECT_EQ(engine->System().droppedFiles, (std::vector<std::string> { "/a.bmp", longPath, "/c.jpg" }));
}

TEST_F(Runtime, TheMainStageIsAnnouncedAndActivatedOnce)
{
    Listening onStage(static_cast<FNStageBase*>(&stage), log);
    Step();
    Step();
    EXPECT_EQ(engine->MainStage(), &stage);
    EXPECT_EQ(log.CodesFor(&stage), (Codes { FNEvent::MainStageChanged }));
    EXPECT_EQ(stage.activations, 1);
}

TEST_F(Runtime, DirtyStagesArePresentedAndEmptied)
{
    auto item = Item(10, 10);
    Step();
    const int before = stage.presents;
    item->MoveBy(5, 0);
    Step();
    EXPECT_EQ(stage.presents, before + 1);
    EXPECT_TRUE(stage.dirty.isEmpty());
    Step();
    EXPECT_EQ(stage.presents, before + 1); // nothing dirty, nothing presented
}

TEST_F(Runtime, EnteringAStagePostsItsCursorAndALeftPressItsFocus)
{
    At(1000, 900, 900, 0);
    At(1010, sx(50), sy(50), 0); // enters the stage
    engine->Synchronise();
    EXPECT_EQ(driver.Messages(), (std::vector<int> { FN_MSG_SET_CURSOR }));
    At(1020, sx(50), sy(50), FNButtonLeft);
    engine->Synchronise();
    EXPECT_EQ(driver.Messages(), (std::vector<int> { FN_MSG_SET_CURSOR, FN_MSG_SET_FOCUS }));
    EXPECT_EQ(V::Focus(), stage.window);
}

} // namespace
