// An idle engine step on X11 sleeps until something arrives: a click, an
// event queued by another thread or a stop wakes it, and what the click
// gives the handlers is what a polling loop would give them.

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "imaging/FNImage.h"
#include "tests/framework/stage/shared/StageHarness.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

namespace {

using Codes = std::vector<int>;
using Clock = std::chrono::steady_clock;

// A 140 x 100 stage at (200, 200) with a 60 x 40 item at client (20, 20).
class IdleOnX11 : public StageHarness {
protected:
    void SetUp() override
    {
        StageHarness::SetUp();
        picture.fill(0, 255, 0, 255);
        item.SetPicture(&picture);
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
        ASSERT_TRUE(Focus(stage, 250, 240));
    }
    void TearDown() override
    {
        stage.Close();
        scene.RemoveItem(&item);
        itemConnector.reset();
        stageConnector.reset();
        stageHolder.reset();
        StageHarness::TearDown();
    }

    // Steps pausing until activity until `done` holds, while another thread
    // waits for a step to sleep and then does `act`. If no step sleeps, or
    // the sleeping step is not woken, the other thread gives up after 20 s
    // and wakes it with a thread message and an event, so a broken wait fails the test
    // instead of hanging it. True when the act woke a sleeping step.
    bool WokenBy(const std::function<void()>& act, const std::function<bool()>& done)
    {
        std::atomic<bool> finished { false }, gaveUp { false };
        std::thread other([&] {
            const auto limit = Clock::now() + std::chrono::seconds(20);
            while (!engine->WaitingForActivity() && Clock::now() < limit)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (engine->WaitingForActivity())
                act();
            while (!finished && Clock::now() < limit)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!finished) {
                gaveUp = true;
                engine->PostToThread(FN_MSG_SET_CURSOR, &stage);
                engine->QueueEvent(FNEventState {});
            }
        });
        while (!done() && !gaveUp && engine->RunStep(FNStepPause::UntilActivity)) { }
        finished = true;
        other.join();
        return !gaveUp && done();
    }

    FN2DScene scene;
    FNImage picture { 60, 40 };
    FN2DItem item { 60, 40, 20, 20, 0 };
    // Destroyed in TearDown, while its engine still exists (a stopped
    // engine leaves the window to the stage's destructor).
    std::optional<FN2DStage> stageHolder { std::in_place, 200, 200, 140, 100, "idle" };
    FN2DStage& stage = *stageHolder;
    EventRecorder onItem;
    EventRecorder onStage;
    std::unique_ptr<FNEventConnector> itemConnector;
    std::unique_ptr<FNEventConnector> stageConnector;
};

TEST_F(IdleOnX11, AClickWakesTheSleepingStepAndArrivesWhole)
{
    const size_t movesBefore = onItem.Count(FNEvent::MouseMove);
    ASSERT_TRUE(WokenBy([&] { Click(); }, [&] { return onItem.Count(FNEvent::LeftUp) == 1; }));
    EXPECT_EQ(onItem.Codes({ FNEvent::LeftDown, FNEvent::LeftUp, FNEvent::LeftDoubleClick }),
        (Codes { FNEvent::LeftDown, FNEvent::LeftUp }));
    ASSERT_TRUE(
        WokenBy([&] { MovePointer(260, 245); }, [&] { return onItem.Count(FNEvent::MouseMove) > movesBefore; }));
}

TEST_F(IdleOnX11, AnEventQueuedByAnotherThreadWakesTheSleepingStep)
{
    FNEventState event;
    event.code = FNEvent::Moved;
    event.stage = &stage;
    ASSERT_TRUE(WokenBy([&] { engine->QueueEvent(event); }, [&] { return onStage.Count(FNEvent::Moved) == 1; }));
}

TEST_F(IdleOnX11, AStopFromAnotherThreadEndsTheSleepingStep)
{
    EXPECT_TRUE(WokenBy([&] { engine->RequestStop(); }, [&] { return engine->IsStopping(); }));
    EXPECT_FALSE(engine->RunStep(FNStepPause::UntilActivity));
}

} // namespace
