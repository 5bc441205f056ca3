// Animation timing, finishing and looping on the virtual millisecond clock.

#include "framework/animation/FNAnimation.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "tests/framework/engine/RuntimeFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace V = FNVirtualPlatform;

namespace {

struct Recorder {
    std::vector<uint32_t> steps; // elapsed at each step call
    std::vector<uint32_t> finishes; // clock at each finish call
    int starts = 0;
    bool endEarlyAt = false;
    uint32_t endAt = 0;

    bool Start(FNAnimeData) { return starts++, false; }
    bool Step(FNAnimeData data)
    {
        steps.push_back(data.elapsed);
        return endEarlyAt && data.elapsed >= endAt;
    }
    bool Finish(FNAnimeData data)
    {
        finishes.push_back(data.elapsed);
        return false;
    }
};

class Animation : public ::testing::Test {
protected:
    void SetUp() override { V::SetMilliseconds(5000); }
    void TearDown() override
    {
        anim.Stop();
        FNAnimation::UpdateAll();
    }
    void Connect()
    {
        anim.SetOnStart(&Recorder::Start, &rec);
        anim.SetOnStep(&Recorder::Step, &rec);
        anim.SetOnFinish(&Recorder::Finish, &rec);
    }
    // Engine-step updates every `interval` ms until `until` ms after now.
    void Run(uint32_t interval, uint32_t until)
    {
        for (uint32_t t = 0; t < until; t += interval) {
            V::AdvanceMilliseconds(interval);
            FNAnimation::UpdateAll();
        }
    }

    FNAnimation anim;
    Recorder rec;
};

TEST_F(Animation, RunsForItsDurationThenFinishesExactlyOnce)
{
    Connect();
    anim.duration = 300;
    anim.Start();
    EXPECT_EQ(rec.starts, 1);
    Run(10, 400);
    ASSERT_EQ(rec.steps.size(), 29u); // 10, 20, ... 290 ms
    EXPECT_EQ(rec.steps.front(), 10u);
    EXPECT_EQ(rec.steps.back(), 290u);
    EXPECT_EQ(rec.finishes, (std::vector<uint32_t> { 300 }));
    EXPECT_FALSE(anim.running);
    EXPECT_EQ(FNAnimation::RunningCount(), 0u);
}

TEST_F(Animation, ElapsedAndProgressStopAtTheDuration)
{
    struct Late {
        FNAnimeData last;
        bool Finish(FNAnimeData data) { return last = data, false; }
    } late;
    anim.SetOnFinish(&Late::Finish, &late);
    anim.duration = 100;
    anim.Start();
    V::AdvanceMilliseconds(250); // a slow step overshoots
    FNAnimation::UpdateAll();
    EXPECT_EQ(late.last.elapsed, 100u);
    EXPECT_DOUBLE_EQ(late.last.progress, 1.0);
    EXPECT_EQ(late.last.count, 1);
    EXPECT_EQ(late.last.animation, &anim);
}

TEST_F(Animation, StartWhileRunningChangesNothing)
{
    Connect();
    anim.duration = 100;
    anim.Start();
    Run(10, 50);
    anim.Start();
    EXPECT_EQ(rec.starts, 1);
    EXPECT_EQ(anim.data.count, 5);
    EXPECT_EQ(FNAnimation::RunningCount(), 1u);
}

TEST_F(Animation, TrueFromTheStepHandlerEndsTheRun)
{
    Connect();
    rec.endEarlyAt = true;
    rec.endAt = 30;
    anim.duration = 1000;
    anim.Start();
    Run(10, 100);
    EXPECT_EQ(rec.steps, (std::vector<uint32_t> { 10, 20, 30 }));
    EXPECT_EQ(rec.finishes, (std::vector<uint32_t> { 30 }));
}

TEST_F(Animation, LoopingFinishesEveryPeriodUntilStoppedThenOnceMore)
{
    Connect();
    anim.duration = 50;
    anim.loop = true;
    anim.Start();
    Run(10, 200); // finishes at 50, 100, 150, 200
    EXPECT_EQ(rec.finishes.size(), 4u);
    EXPECT_EQ(rec.starts, 5); // the first start and four restarts
    anim.Stop();
    Run(10, 10);
    EXPECT_EQ(rec.finishes.size(), 5u);
    EXPECT_FALSE(anim.running);
    Run(10, 100);
    EXPECT_EQ(rec.finishes.size(), 5u);
}

// The scroll-bar repeat: a 300 ms first delay, then a step every 50 ms.
TEST_F(Animation, FinishHandlerCanTurnTheFirstDelayIntoARepeat)
{
    struct Repeater {
        FNAnimation* anim;
        int value = 0;
        bool FirstDelayOver(FNAnimeData)
        {
            anim->duration = 50;
            anim->loop = true;
            anim->SetOnFinish(&Repeater::Repeat, this);
            return Repeat(FNAnimeData {});
        }
        bool Repeat(FNAnimeData)
        {
            value++;
            return false;
        }
    } repeater { &anim };
    anim.duration = 300;
    anim.SetOnFinish(&Repeater::FirstDelayOver, &repeater);
    anim.Start();
    Run(10, 290);
    EXPECT_EQ(repeater.value, 0);
    Run(10, 10); // 300 ms
    EXPECT_EQ(repeater.value, 1);
    Run(10, 200); // 350, 400, 450, 500
    EXPECT_EQ(repeater.value, 5);
    anim.Stop(); // releasing the button: one last finish call
    FNAnimation::UpdateAll();
    EXPECT_EQ(repeater.value, 6);
    EXPECT_FALSE(anim.running);
}

TEST_F(Animation, DeletedAnimationsLeaveTheList)
{
    auto* other = new FNAnimation;
    other->Start();
    EXPECT_EQ(FNAnimation::RunningCount(), 1u);
    delete other;
    EXPECT_EQ(FNAnimation::RunningCount(), 0u);
    FNAnimation::UpdateAll();
}

TEST_F(Runtime, TheEngineStepAdvancesAnimations)
{
    FNAnimation anim;
    Recorder rec;
    anim.SetOnStep(&Recorder::Step, &rec);
    anim.duration = 100;
    anim.Start();
    V::AdvanceMilliseconds(20);
    Step();
    V::AdvanceMilliseconds(20);
    Step();
    EXPECT_EQ(rec.steps, (std::vector<uint32_t> { 20, 40 }));
    anim.Stop();
    Step();
}

} // namespace
