// Events raised by items and stages from code, and focus requests.

#include "framework/engine/FNEngine.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FNEmit.h"
#include "framework/stage/FNStageBase.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A scene shown by a stage that belongs to an engine.
struct Placed : ::testing::Test {
    FNEngine engine;
    FNStageBase stage;
    FNImage buffer { 64, 48 };
    FN2DScene scene;
    FN2DItem item { 10, 10, 5, 5, 0 };

    void SetUp() override
    {
        stage.engine = &engine;
        scene.Attach(&buffer, &stage.dirty, &stage);
        scene.AddItem(&item);
    }

    std::vector<int> codes() const
    {
        std::vector<int> result;
        for (const FNEventState& event : engine.QueuedEvents())
            result.push_back(event.code);
        return result;
    }
};

TEST_F(Placed, MovingRaisesMovedOnly)
{
    EXPECT_TRUE(item.MoveTo(7, 5));
    ASSERT_EQ(codes(), std::vector<int> { FNEvent::Moved });
    const FNEventState event = engine.QueuedEvents().front();
    EXPECT_EQ(event.stage, &stage);
    EXPECT_EQ(event.item, &item);
    EXPECT_EQ(event.target, nullptr);
    EXPECT_EQ(event.targetKind, 0);
    EXPECT_EQ(event.param, 0);
}

TEST_F(Placed, ResizingRaisesResizedOnlyAndBothRaiseMovedThenResized)
{
    EXPECT_TRUE(item.Resize(12, 10));
    EXPECT_EQ(codes(), std::vector<int> { FNEvent::Resized });
    engine.DiscardQueuedEvents();
    EXPECT_TRUE(item.SetRect(1, 1, 2, 2));
    EXPECT_EQ(codes(), (std::vector<int> { FNEvent::Moved, FNEvent::Resized }));
}

TEST_F(Placed, SetRectWithCurrentValuesReturnsFalseAndRaisesNothing)
{
    EXPECT_FALSE(item.SetRect(5, 5, 10, 10));
    EXPECT_FALSE(item.MoveBy(0, 0));
    EXPECT_TRUE(engine.QueuedEvents().empty());
}

TEST_F(Placed, ChildItemsRaiseOnTheStageOfTheirTopLevelAncestor)
{
    FN2DItem child(3, 3, 0, 0, 0);
    item.AddChild(&child);
    child.MoveBy(1, 0);
    ASSERT_EQ(codes(), std::vector<int> { FNEvent::Moved });
    EXPECT_EQ(engine.QueuedEvents().front().item, &child);
    EXPECT_EQ(engine.QueuedEvents().front().stage, &stage);
}

TEST_F(Placed, UnplacedItemsAndStagesWithoutEngineRaiseNothing)
{
    FN2DItem loose(4, 4, 0, 0, 0);
    EXPECT_TRUE(loose.MoveTo(3, 3));
    loose.RequestFocus();
    scene.RemoveItem(&item);
    item.MoveTo(0, 0);
    FNStageBase noEngine;
    FNEmitToStage(&noEngine, FNEvent::CloseRequest);
    FNEmitToItem(nullptr, FNEvent::Moved);
    EXPECT_TRUE(engine.QueuedEvents().empty());
    EXPECT_TRUE(engine.FocusRequests().empty());
}

TEST_F(Placed, EmitToStageQueuesTheStageOnly)
{
    FNEmitToStage(&stage, FNEvent::CloseRequest);
    ASSERT_EQ(codes(), std::vector<int> { FNEvent::CloseRequest });
    EXPECT_EQ(engine.QueuedEvents().front().stage, &stage);
    EXPECT_EQ(engine.QueuedEvents().front().item, nullptr);
}

TEST_F(Placed, RequestFocusAppendsStageItemAndOwnerWidget)
{
    FNWidget* widget = reinterpret_cast<FNWidget*>(&buffer); // any distinct address; never dereferenced
    item.ownerWidget = widget;
    item.RequestFocus();
    ASSERT_EQ(engine.FocusRequests().size(), 1u);
    const FNFocusRequest& request = engine.FocusRequests().front();
    EXPECT_EQ(request.stage, &stage);
    EXPECT_EQ(request.item, &item);
    EXPECT_EQ(request.target, widget);
    EXPECT_EQ(request.widget, widget);
    EXPECT_TRUE(engine.QueuedEvents().empty());
}

TEST_F(Placed, DetachingRaisesNoEvent)
{
    item.Detach();
    EXPECT_TRUE(engine.QueuedEvents().empty());
    EXPECT_EQ(item.width, 0);
}

} // namespace
