// Scenarios that run unchanged on the virtual window system and on X11: what
// a person does to a window and what the program's handlers receive. Input
// is sent back to back (zero-duration clicks, a release right after the last
// move, key taps), as touchpads, remote desktops and test tools send it.

#include "framework/core/FNRegion.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "framework/stage/FNStageItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "tests/framework/stage/shared/StageHarness.h"

namespace {

using Codes = std::vector<int>;
const Codes kButtonCodes { FNEvent::LeftDown, FNEvent::LeftUp, FNEvent::LeftDoubleClick };

// A 140 x 100 stage at (200, 200) with a green 60 x 40 item at client
// (20, 20), that is screen (220, 220) to (280, 260).
class ItemStage : public StageHarness {
protected:
    void SetUp() override
    {
        StageHarness::SetUp();
        scene.SetBackground(0x20, 0x40, 0x80, 255);
        green.fill(0, 255, 0, 255);
        item.SetPicture(&green);
        scene.AddItem(&item);
        stage.SetScene(&scene);
        itemConnector = std::make_unique<FNEventConnector>(&item);
        stageConnector = std::make_unique<FNEventConnector>(&stage);
        for (int code = 0; code < FNEventCodeCount; ++code) {
            itemConnector->Connect(code, &EventRecorder::On, &onItem);
            stageConnector->Connect(code, &EventRecorder::On, &onStage);
        }
        stage.Open(true, nullptr, engine.get());
        ASSERT_TRUE(stage.windowCreated);
    }
    void TearDown() override
    {
        stage.Close();
        scene.RemoveItem(&item);
        StageHarness::TearDown();
    }

    FN2DScene scene;
    FNImage green { 60, 40 };
    FN2DItem item { 60, 40, 20, 20, 0 };
    FN2DStage stage { 200, 200, 140, 100, "input" };
    EventRecorder onItem;
    EventRecorder onStage;
    std::unique_ptr<FNEventConnector> itemConnector;
    std::unique_ptr<FNEventConnector> stageConnector;
};

TEST_F(ItemStage, PresentedSceneReachesTheScreen)
{
    ASSERT_TRUE(StepUntil([&] { return Pixel(stage, 35, 45) == 0x00FF00u; }));
    EXPECT_EQ(Pixel(stage, 2, 2), 0x204080u);
    EXPECT_EQ(Pixel(stage, 20, 20), 0x00FF00u);
    EXPECT_EQ(Pixel(stage, 79, 59), 0x00FF00u);
    EXPECT_EQ(Pixel(stage, 80, 60), 0x204080u);
    EXPECT_EQ(Pixel(stage, 139, 99), 0x204080u);
}

TEST_F(ItemStage, ZeroDurationClicksAreEachSeenOnce)
{
    ASSERT_TRUE(Focus(stage, 250, 240));
    for (int i = 0; i < 3; ++i) {
        Click();
        Pause(400); // apart, so that no two make a double click
    }
    ASSERT_TRUE(StepUntil([&] { return onItem.Count(FNEvent::LeftUp) == 3; }));
    StepAFew();
    EXPECT_EQ(onItem.Codes(kButtonCodes), (Codes { 2, 3, 2, 3, 2, 3 }));
    EXPECT_TRUE(onStage.Codes(kButtonCodes).empty()) << "the item took every press";
}

TEST_F(ItemStage, ZeroDurationDoubleClickIsOneDoubleClick)
{
    ASSERT_TRUE(Focus(stage, 250, 240));
    Click(2);
    ASSERT_TRUE(StepUntil([&] { return onItem.Count(FNEvent::LeftUp) == 2; }));
    StepAFew();
    EXPECT_EQ(onItem.Codes(kButtonCodes), (Codes { 2, 3, 2, 8, 3 }));
}

TEST_F(ItemStage, AReleaseRightAfterAMoveEndsTheDragWhereThePointerEnded)
{
    ASSERT_TRUE(Focus(stage, 250, 240));
    Drag(230, 230, 270, 255);
    ASSERT_TRUE(StepUntil([&] { return onItem.Count(FNEvent::LeftUp) == 1; }));
    EXPECT_EQ(onItem.Codes(kButtonCodes), (Codes { 2, 3 }));
    // The release comes from the last move's sample, which is where the
    // button went up: a handler following the drag ends there.
    const EventRecorder::Entry* release = nullptr;
    for (const EventRecorder::Entry& entry : onItem.entries) {
        if (entry.event.code == FNEvent::LeftUp)
            release = &entry;
    }
    ASSERT_NE(release, nullptr);
    EXPECT_DOUBLE_EQ(release->event.screenX, 270);
    EXPECT_DOUBLE_EQ(release->event.screenY, 255);
    EXPECT_DOUBLE_EQ(release->event.localX, 50);
    EXPECT_DOUBLE_EQ(release->event.localY, 35);
}

TEST_F(ItemStage, KeyTapsAndChordsGiveEveryDownAndUp)
{
    ASSERT_TRUE(Focus(stage, 300, 290)); // on the stage, beside the item
    Chord({ 'A' });
    ASSERT_TRUE(StepUntil([&] { return onStage.Count(FNEvent::StageKeyUp) == 1; }));
    EXPECT_EQ(onStage.Keys(FNEvent::StageKeyDown), (Codes { 'A' }));
    EXPECT_EQ(onStage.Keys(FNEvent::StageKeyUp), (Codes { 'A' }));
    EXPECT_EQ(onStage.Text(), "a");

    onStage.entries.clear();
    Chord({ FNKeyControl, 'A' });
    ASSERT_TRUE(StepUntil([&] { return onStage.Count(FNEvent::StageKeyUp) == 2; }));
    StepAFew();
    EXPECT_EQ(onStage.Keys(FNEvent::StageKeyDown), (Codes { FNKeyControl, 'A' }));
    EXPECT_EQ(onStage.Keys(FNEvent::StageKeyUp), (Codes { FNKeyControl, 'A' }));
    EXPECT_EQ(onStage.Keys(FNEvent::KeyUp), (Codes { FNKeyControl, 'A' }));
    EXPECT_EQ(onStage.Text(), "") << "Ctrl+A types nothing";
    // A shortcut handler of the A key finds Control held in the key table,
    // although both keys were released before the step ran.
    for (const EventRecorder::Entry& entry : onStage.entries) {
        if (entry.event.code == FNEvent::StageKeyDown && entry.event.key == 'A') {
            EXPECT_TRUE(entry.control);
        }
    }
}

TEST_F(ItemStage, TypedLettersArriveAsTextWhateverKeyCarriedThem)
{
    ASSERT_TRUE(Focus(stage, 300, 290));
    Type("é日本");
    ASSERT_TRUE(StepUntil([&] { return onStage.Text() == "é日本"; }));
    StepAFew();
    EXPECT_EQ(onStage.Text(), "é日本");
    for (const EventRecorder::Entry& entry : onStage.entries) {
        if (entry.event.code == FNEvent::KeyDown) {
            EXPECT_EQ(entry.event.key, 0) << "no key of this keyboard typed '" << entry.text << "'";
        }
    }
}

TEST_F(ItemStage, WheelNotchesReachTheHoveredItemEachOnce)
{
    ASSERT_TRUE(Focus(stage, 250, 240));
    Wheel(2);
    Wheel(-1);
    ASSERT_TRUE(StepUntil([&] { return onItem.Count(FNEvent::Wheel) == 3; }));
    StepAFew();
    std::vector<int> deltas;
    for (const EventRecorder::Entry& entry : onItem.entries) {
        if (entry.event.code == FNEvent::Wheel)
            deltas.push_back(entry.event.wheel);
    }
    EXPECT_EQ(deltas, (Codes { 120, 120, -120 }));
}

TEST_F(ItemStage, TheWindowManagersCloseBecomesACloseRequest)
{
    RequestClose(stage);
    ASSERT_TRUE(StepUntil([&] { return onStage.Count(FNEvent::CloseRequest) == 1; }));
    EXPECT_EQ(onStage.entries.back().event.stage, &stage);
    EXPECT_TRUE(stage.windowCreated) << "a close request only asks";
}

TEST_F(StageHarness, DraggingTheTitleBarMovesTheFramedWindowSlowlyOrAtOnce)
{
    FNExWindow window(300, 300, 300, 200, "drag me");
    window.Open(true, nullptr, engine.get());
    ASSERT_TRUE(window.windowCreated);
    int frameX = 0, frameY = 0;
    ScreenPosition(*window.Frame(), frameX, frameY);
    ASSERT_EQ(frameX, 294);
    ASSERT_EQ(frameY, 272);

    // Step by step: a point of the title bar away from its text, edges and
    // buttons; press; move; release.
    MovePointer(450, 284);
    ASSERT_TRUE(StepUntil([&] { return engine->current.hoverStage == window.Frame(); }));
    Press();
    ASSERT_TRUE(StepUntil([&] { return engine->current.buttons == 1; }));
    MovePointer(500, 334);
    ASSERT_TRUE(StepUntil([&] { return window.ClientRect().left == 350; }));
    Release();
    ASSERT_TRUE(StepUntil([&] { return engine->current.buttons == 0; }));
    EXPECT_EQ(window.ClientRect(), (FNRect { 350, 350, 650, 550 }));
    ASSERT_TRUE(StepUntil([&] {
        ScreenPosition(*window.Frame(), frameX, frameY);
        return frameX == 344 && frameY == 322;
    }));
    int clientX = 0, clientY = 0;
    ScreenPosition(window, clientX, clientY);
    EXPECT_EQ(clientX, 350);
    EXPECT_EQ(clientY, 350);

    // At once: the release follows the last move before any step ran.
    Pause(400);
    Drag(500, 334, 460, 364);
    ASSERT_TRUE(StepUntil([&] { return window.ClientRect().left == 310 && engine->current.buttons == 0; }));
    EXPECT_EQ(window.ClientRect(), (FNRect { 310, 380, 610, 580 }));
    ASSERT_TRUE(StepUntil([&] {
        ScreenPosition(*window.Frame(), frameX, frameY);
        return frameX == 304 && frameY == 352;
    }));
    EXPECT_EQ(window.width, 300);
}

TEST_F(StageHarness, AStageItemShowsItsDisplayInsideItsParent)
{
    FN2DStage host(120, 120, 160, 120, "host");
    host.Open(true, nullptr, engine.get());
    FNImage picture(10, 10);
    picture.fill(0xC0, 0x10, 0x20, 255);
    FNStageItem item(30, 20, 40, 30);
    ASSERT_TRUE(host.AddChildStage(&item));
    item.SetBackground(&picture, 0, 0);
    ASSERT_TRUE(StepUntil([&] { return Pixel(item, 5, 5) == 0xC01020u; }));
    EXPECT_EQ(Pixel(item, 20, 5), 0xF7FAFFu) << "beyond the picture: the background colour";
    int hostX = 0, hostY = 0, itemX = 0, itemY = 0;
    ScreenPosition(host, hostX, hostY);
    ScreenPosition(item, itemX, itemY);
    EXPECT_EQ(itemX - hostX, 30);
    EXPECT_EQ(itemY - hostY, 20);
    host.RemoveChildStage(&item);
}

TEST_F(StageHarness, ARegionBecomesTheWindowShape)
{
    FN2DStage stage(140, 140, 90, 60, "shaped");
    FNRegion* region = new FNRegion(0, 0, 40, 60);
    region->Add(FNRect { 40, 0, 90, 20 });
    stage.SetRegion(region);
    stage.Open(true, nullptr, engine.get());
    ASSERT_TRUE(stage.windowCreated);
    ASSERT_TRUE(StepUntil([&] { return ShapeArea(stage) == 40 * 60 + 50 * 20; }));
    // A new size drops the shape made for the old one.
    stage.Resize(100, 60);
    ASSERT_TRUE(StepUntil([&] { return ShapeArea(stage) == 100 * 60; }));
}

} // namespace
