#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "tests/framework/stage/virtual/StageFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace stagetest;

TEST_F(StageTest, OpenMakesAWindowOfTheStageRectangle)
{
    FN2DStage stage(40, 30, 120, 90, "stage");
    stage.Open(true, nullptr, engine.get());
    ASSERT_TRUE(stage.windowCreated);
    V::WindowInfo info = V::Window(stage.window);
    EXPECT_TRUE(info.exists);
    EXPECT_FALSE(info.child);
    EXPECT_EQ(info.x, 40);
    EXPECT_EQ(info.y, 30);
    EXPECT_EQ(info.width, 120);
    EXPECT_EQ(info.height, 90);
    EXPECT_EQ(info.title, "stage");
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(engine->MainStage(), &stage);
    stage.Close();
    EXPECT_FALSE(stage.windowCreated);
    EXPECT_TRUE(V::Windows().empty());
}

TEST_F(StageTest, SetRectToTheSameValuesReturnsFalseAndLeavesTheWindow)
{
    FN2DStage stage(10, 10, 100, 100, "s");
    stage.Open(true, nullptr, engine.get());
    Step();
    int moves = 0;
    FNEventConnector connector(&stage);
    struct Counter {
        int* n;
        void On(FNEventState) { ++*n; }
    } counter { &moves };
    connector.Connect(FNEvent::Moved, &Counter::On, &counter);
    connector.Connect(FNEvent::Resized, &Counter::On, &counter);

    EXPECT_FALSE(stage.SetRect(10, 10, 100, 100));
    Step();
    EXPECT_EQ(moves, 0);

    EXPECT_TRUE(stage.SetRect(20, 25, 60, 70));
    Step();
    V::WindowInfo info = V::Window(stage.window);
    EXPECT_EQ(info.x, 20);
    EXPECT_EQ(info.y, 25);
    EXPECT_EQ(info.width, 60);
    EXPECT_EQ(info.height, 70);
    EXPECT_EQ(moves, 2) << "one Moved and one Resized";
}

TEST_F(StageTest, AStageWithoutASceneShowsBlack)
{
    FN2DStage stage(0, 0, 32, 24, "black");
    stage.Open(true, nullptr, engine.get());
    Step();
    FNImage shown;
    ASSERT_TRUE(V::ReadPixels(stage.window, shown));
    EXPECT_EQ(pixelAt(shown, 0, 0), 0x000000u);
    EXPECT_EQ(pixelAt(shown, 31, 23), 0x000000u);
}

TEST_F(StageTest, TheStepRendersTheSceneAndPresentsIt)
{
    FN2DScene scene;
    scene.SetBackground(0x10, 0x20, 0x30, 255);
    FNImage red(8, 6);
    red.fill(255, 0, 0, 255);
    FN2DItem item(8, 6, 5, 4, 0);
    item.SetPicture(&red);
    scene.AddItem(&item);
    FN2DStage stage(0, 0, 40, 30, "scene");
    stage.SetScene(&scene);
    stage.Open(true, nullptr, engine.get());
    Step();

    FNImage shown;
    ASSERT_TRUE(V::ReadPixels(stage.window, shown));
    EXPECT_EQ(pixelAt(shown, 0, 0), 0x102030u);
    EXPECT_EQ(pixelAt(shown, 5, 4), 0xFF0000u);
    EXPECT_EQ(pixelAt(shown, 12, 9), 0xFF0000u);
    EXPECT_EQ(pixelAt(shown, 13, 9), 0x102030u);
    EXPECT_EQ(pixelAt(shown, 39, 29), 0x102030u);
    EXPECT_TRUE(stage.dirty.isEmpty());

    // Moving the item repaints only around the old and new places.
    int before = V::Window(stage.window).presentCount;
    item.MoveTo(20, 10);
    Step();
    ASSERT_TRUE(V::ReadPixels(stage.window, shown));
    EXPECT_EQ(pixelAt(shown, 5, 4), 0x102030u);
    EXPECT_EQ(pixelAt(shown, 20, 10), 0xFF0000u);
    EXPECT_EQ(V::Window(stage.window).presentCount, before + 1);
    // A step with nothing dirty presents nothing.
    Step();
    EXPECT_EQ(V::Window(stage.window).presentCount, before + 1);
    scene.RemoveItem(&item);
}

TEST_F(StageTest, PresentAreaGrowsTheDirtyRectangleWithinTheClient)
{
    FN2DStage stage(0, 0, 50, 40, "area");
    stage.dirty = FNRect { 1, 10, 20, 38 };
    EXPECT_EQ(stage.PresentArea(), (FNRect { 0, 8, 24, 40 }));
}

TEST_F(StageTest, ChildStagesAreChildWindowsAndGoWithTheirParent)
{
    FN2DStage parent(0, 0, 200, 150, "parent");
    parent.Open(true, nullptr, engine.get());
    FN2DStage child(10, 20, 30, 40, "child");
    ASSERT_TRUE(parent.AddChildStage(&child));
    EXPECT_FALSE(parent.AddChildStage(&child)) << "a child whose window exists is refused";
    V::WindowInfo info = V::Window(child.window);
    EXPECT_TRUE(info.child);
    EXPECT_EQ(info.parent, parent.window);
    EXPECT_EQ(info.x, 10);
    ASSERT_EQ(parent.childStages.size(), 1u);

    FN2DStage unopened(0, 0, 10, 10, "u");
    FN2DStage orphan(0, 0, 10, 10, "o");
    EXPECT_FALSE(unopened.AddChildStage(&orphan)) << "no window, no children";

    parent.Close();
    EXPECT_FALSE(child.windowCreated);
    EXPECT_TRUE(parent.childStages.empty());
    EXPECT_TRUE(V::Windows().empty());
}

TEST_F(StageTest, WindowSystemMovesAndClosesBecomeEvents)
{
    FN2DStage stage(0, 0, 50, 50, "events");
    Recorder recorder;
    FNEventConnector connector(&stage);
    connector.Connect(FNEvent::Moved, &Recorder::On, &recorder);
    connector.Connect(FNEvent::CloseRequest, &Recorder::On, &recorder);
    stage.Open(true, nullptr, engine.get());
    Step();
    recorder.codes.clear();
    V::MoveWindow(stage.window, 70, 80);
    V::RequestClose(stage.window);
    Step();
    EXPECT_EQ(recorder.codes, (std::vector<int> { FNEvent::Moved, FNEvent::CloseRequest }));
    EXPECT_EQ(stage.x, 70);
    EXPECT_EQ(stage.y, 80);
}

TEST_F(StageTest, AlphaAppliesToTopLevelStagesOnly)
{
    FN2DStage stage(0, 0, 50, 50, "alpha");
    stage.Open(true, nullptr, engine.get());
    stage.SetAlpha(128);
    engine->Synchronise();
    EXPECT_EQ(V::Window(stage.window).alpha, 128);
    stage.SetAlpha(255);
    engine->Synchronise();
    EXPECT_EQ(V::Window(stage.window).alpha, 255);

    FN2DStage child(0, 0, 10, 10, "child");
    ASSERT_TRUE(stage.AddChildStage(&child));
    child.SetAlpha(100);
    EXPECT_EQ(child.alpha, 255) << "a child window has no opacity of its own";
}

TEST_F(StageTest, DeletingAnOpenStageTakesItsWindow)
{
    auto parent = std::make_unique<FN2DStage>(0, 0, 100, 100, "parent");
    parent->Open(true, nullptr, engine.get());
    auto child = std::make_unique<FN2DStage>(5, 5, 20, 20, "child");
    ASSERT_TRUE(parent->AddChildStage(child.get()));
    child.reset();
    EXPECT_TRUE(parent->childStages.empty());
    EXPECT_EQ(V::Windows().size(), 1u);
    parent.reset();
    EXPECT_TRUE(V::Windows().empty());
    // The engine forgot them as well: a step presents nothing freed.
    engine->RunStep(false);
    EXPECT_TRUE(engine->Stages().empty());
}

TEST_F(StageTest, OpeningIsRefusedOnceTheEngineStops)
{
    FN2DStage stage(0, 0, 50, 50, "late");
    engine->RequestStop();
    stage.Open(true, nullptr, engine.get());
    EXPECT_FALSE(stage.windowCreated);
}
