#include "framework/core/FNFrameworkLock.h"
#include "framework/core/FNGUICoreObject.h"
#include "framework/core/FNRect.h"
#include "framework/engine/FNEngine.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FNStageBase.h"

#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

namespace {

TEST(CoreObject, EachConstructorSetsItsOwnClassName)
{
    FN2DItem item(1, 1, 0, 0, 0);
    FN2DScene scene;
    FNStageBase stage;
    FNEngine engine;
    EXPECT_EQ(item.className, "FN2DItem");
    EXPECT_EQ(scene.className, "FN2DScene");
    EXPECT_EQ(stage.className, "FNStageBase");
    EXPECT_EQ(engine.className, "FNEngine");
}

TEST(FrameworkLock, IsRecursiveAndExcludesOtherThreads)
{
    FNFrameworkLockGuard outer;
    ASSERT_TRUE(FNFrameworkLock().try_lock()); // the same thread again
    FNFrameworkLock().unlock();
    bool otherThreadGotIt = true;
    boost::thread other([&] {
        otherThreadGotIt = FNFrameworkLock().try_lock();
        if (otherThreadGotIt)
            FNFrameworkLock().unlock();
    });
    other.join();
    EXPECT_FALSE(otherThreadGotIt);
}

TEST(Rect, ResetThenUnionYieldsExactlyTheAddedRectangle)
{
    FNRect dirty;
    dirty.reset(800, 600);
    EXPECT_TRUE(dirty.isEmpty());
    dirty.unite(FNRect { 10, 20, 30, 40 });
    EXPECT_EQ(dirty, (FNRect { 10, 20, 30, 40 }));
    dirty.unite(FNRect { 5, 25, 12, 50 });
    EXPECT_EQ(dirty, (FNRect { 5, 20, 30, 50 }));
    dirty.unite(FNRect { 100, 100, 100, 200 }); // empty: adds nothing
    EXPECT_EQ(dirty, (FNRect { 5, 20, 30, 50 }));
}

TEST(Engine, NewestEngineIsCurrentUntilDeleted)
{
    FNEngine* before = FNEngine::Current();
    {
        FNEngine first;
        EXPECT_EQ(FNEngine::Current(), &first);
        {
            FNEngine second;
            EXPECT_EQ(FNEngine::Current(), &second);
            EXPECT_EQ(second.PreviousEngine(), &first);
        }
        EXPECT_EQ(FNEngine::Current(), &first);
    }
    EXPECT_EQ(FNEngine::Current(), before);
}

} // namespace
