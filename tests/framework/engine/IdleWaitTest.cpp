// The pause of an engine step: only a step that found nothing to do waits
// for activity (counted by the virtual window system), and the wait changes
// nothing the handlers see.

#include "framework/animation/FNAnimation.h"
#include "tests/framework/engine/RuntimeFixture.h"

namespace V = FNVirtualPlatform;

namespace {

class IdleWait : public Runtime {
protected:
    void SetUp() override
    {
        Runtime::SetUp();
        item = Item(10, 10);
        listening = std::make_unique<Listening>(item.get(), log);
        // The start's own work (the main stage's event, the first frame).
        for (int step = 0; step < 10 && !Waited(); ++step) { }
    }
    // One step pausing until activity; true when it waited.
    bool Waited()
    {
        const uint64_t before = V::IdleWaits();
        engine->Synchronise();
        EXPECT_TRUE(engine->RunStep(FNStepPause::UntilActivity));
        return V::IdleWaits() == before + 1;
    }

    std::unique_ptr<FN2DItem> item;
    std::unique_ptr<Listening> listening;
};

struct Counter {
    int steps = 0;
    bool Step(FNAnimeData) { return ++steps, false; }
};

TEST_F(IdleWait, AStepWithNothingToDoWaitsAndTheOtherPausesDoNot)
{
    EXPECT_TRUE(Waited());
    EXPECT_TRUE(Waited());
    const uint64_t before = V::IdleWaits();
    engine->RunStep(FNStepPause::OneMillisecond);
    engine->RunStep(FNStepPause::None);
    EXPECT_EQ(V::IdleWaits(), before);
}

TEST_F(IdleWait, InputDrawingAndAnimationsKeepTheLoopGoing)
{
    // Each case makes work for the next step, which must not wait, and then
    // none for the one after it, which must.
    FNAnimation animation;
    Counter counter;
    animation.SetOnStep(&Counter::Step, &counter);
    const std::pair<const char*, std::function<void()>> cases[] = {
        { "pointer onto the item", [] { V::SetPointer(100 + 20, 100 + 20); } },
        { "wheel notch", [] { V::Wheel(120); } },
        { "press", [] { V::SetButtons(FNButtonLeft); } },
        { "release", [] { V::SetButtons(0); } },
        { "scene drawn",
            [&] {
                stage.scene.MarkDirty(FNRect { 0, 0, 5, 5 });
            } },
        { "event queued by code", [&] { stage.scene.Emit(FNEvent::ValueChanged, item.get()); } },
        { "focus moved by code",
            [&] {
                engine->RequestFocus({ &stage, nullptr, nullptr, nullptr });
            } },
    };
    for (const auto& [name, makeWork] : cases) {
        SCOPED_TRACE(name);
        makeWork();
        EXPECT_FALSE(Waited());
        for (int step = 0; step < 5 && !Waited(); ++step) { }
        EXPECT_TRUE(Waited());
    }
    // A running animation is stepped once per engine step, never waited out.
    animation.duration = 100;
    animation.Start();
    for (int step = 1; step <= 3; ++step) {
        EXPECT_FALSE(Waited());
        EXPECT_EQ(counter.steps, step);
    }
    V::AdvanceMilliseconds(100);
    EXPECT_FALSE(Waited()); // the step that finishes it
    EXPECT_EQ(FNAnimation::RunningCount(), 0u);
    EXPECT_TRUE(Waited());
}

TEST_F(IdleWait, EventsReachHandlersInTheOrderOfAStepThatNeverWaits)
{
    // Two wheel notches and a key change queued at once are taken one per
    // step: the steps that still have some waiting do not wait.
    V::SetPointer(100 + 20, 100 + 20);
    EXPECT_FALSE(Waited());
    log.entries.clear();
    V::Wheel(120);
    V::Wheel(-120);
    V::Wheel(240);
    EXPECT_FALSE(Waited());
    EXPECT_FALSE(Waited());
    EXPECT_FALSE(Waited());
    EXPECT_TRUE(Waited());
    ASSERT_EQ(log.Codes(), (std::vector<int> { FNEvent::Wheel, FNEvent::Wheel, FNEvent::Wheel }));
    EXPECT_EQ(log.entries[0].event.wheel, 120);
    EXPECT_EQ(log.entries[1].event.wheel, -120);
    EXPECT_EQ(log.entries[2].event.wheel, 240);
}

TEST_F(IdleWait, AStoppingEngineDoesNotWait)
{
    FNQuit();
    const uint64_t before = V::IdleWaits();
    EXPECT_FALSE(engine->RunStep(FNStepPause::UntilActivity));
    EXPECT_EQ(V::IdleWaits(), before);
}

} // namespace
