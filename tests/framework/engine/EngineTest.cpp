// The engine: its stack, its thread, stopping, deferred freeing and the
// window queues.

#include "framework/core/FNDeferredFree.h"
#include "tests/framework/engine/RuntimeFixture.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace V = FNVirtualPlatform;

namespace {

TEST(Thread, StepsUntilJoinedAndCanBeStartedAgain)
{
    struct Counter : FNThread {
        std::atomic<int> steps { 0 };
        void Step() override { steps++; }
    } counter;
    for (int run = 0; run < 2; ++run) {
        const int before = counter.steps;
        counter.Start();
        EXPECT_TRUE(counter.running);
        EXPECT_FALSE(counter.finished);
        while (counter.steps < before + 3)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        counter.Join();
        EXPECT_TRUE(counter.finished);
        EXPECT_TRUE(counter.stopRequested);
        EXPECT_FALSE(counter.running);
    }
}

TEST(EngineStack, ASecondEngineIsCurrentUntilDeletedAndStepsWorkOnTheCurrentOne)
{
    FNEngine first;
    ASSERT_EQ(FNEngine::Current(), &first);
    auto second = std::make_unique<FNEngine>();
    EXPECT_EQ(FNEngine::Current(), second.get());
    EXPECT_EQ(second->PreviousEngine(), &first);
    EXPECT_TRUE(FNEngineStep());
    FNQuit(); // stops the current (second) engine only
    EXPECT_FALSE(FNEngineStep());
    second.reset();
    EXPECT_EQ(FNEngine::Current(), &first);
    EXPECT_TRUE(FNEngineStep());
}

TEST(EngineStack, AnEngineDeletedOutOfOrderOnlyUnlinksItself)
{
    auto first = std::make_unique<FNEngine>();
    FNEngine second;
    first.reset();
    EXPECT_EQ(FNEngine::Current(), &second);
    EXPECT_EQ(second.PreviousEngine(), nullptr);
}

TEST(EngineThread, EachEngineRunsItsOwnThreadAndConnection)
{
    FNEngine engine;
    EXPECT_NE(engine.ThreadId(), 0u);
    EXPECT_NE(engine.Platform(), nullptr);
    EXPECT_TRUE(engine.running);
    EXPECT_EQ(FNEngine::OfThisThread(), nullptr);
}

TEST(EngineThread, TheIdlePollCounterKeepsAdvancing)
{
    FNEngine engine;
    auto counter = [&] { return engine.System().keys[FNPollCounterIndex]; };
    const uint8_t start = counter();
    // Waits for progress, however slow the machine: three changes of the
    // counter show the idle loop going round without any message.
    int changes = 0;
    uint8_t last = start;
    while (changes < 3) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (counter() != last) {
            last = counter();
            changes++;
        }
    }
    EXPECT_EQ(changes, 3);
}

TEST(EngineThread, SentMessagesAreHandledBeforeSendReturns)
{
    struct Recorder : FNStageDriver {
        std::vector<int> messages;
        void StageMessage(FNEngine&, FNPlatformConnection&, int message, FNStageBase*) override
        {
            messages.push_back(message); // engine thread; read after the send
        }
    } recorder;
    FNEngine::SetStageDriver(&recorder);
    {
        FNEngine engine;
        FNStageBase stage;
        engine.PostToThread(FN_MSG_ENABLE, &stage);
        engine.PostToThread(FN_MSG_SET_CURSOR, &stage);
        engine.SendToThread(FN_MSG_FIT_CLIENT, &stage);
        EXPECT_EQ(recorder.messages, (std::vector<int> { FN_MSG_ENABLE, FN_MSG_SET_CURSOR, FN_MSG_FIT_CLIENT }));
    }
    FNEngine::SetStageDriver(nullptr);
}

TEST_F(Runtime, QuitEndsTheLoopAndRefusesNewWindows)
{
    int passes = 0;
    while (FNEngine::Current() == engine.get() && FNEngineStep()) {
        if (++passes == 3)
            FNQuit();
    }
    EXPECT_EQ(passes, 3);
    EXPECT_TRUE(engine->stopRequested);
    TestStage late(0, 0, 10, 10);
    EXPECT_FALSE(engine->RequestCreate(&late));
    EXPECT_FALSE(engine->RequestDestroy(&stage));
    while (!engine->finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(engine->Platform(), nullptr);
    EXPECT_FALSE(FNEngineStep());
}

TEST_F(Runtime, ClosingDestroysTheWindowOnTheEngineThread)
{
    const FNWindowId window = stage.window;
    ASSERT_TRUE(V::Window(window).exists);
    ASSERT_TRUE(engine->RequestDestroy(&stage));
    engine->PostToThread(FN_MSG_DESTROY_STAGES, nullptr);
    engine->Synchronise();
    EXPECT_FALSE(V::Window(window).exists);
    EXPECT_EQ(stage.window, FNNoWindow);
    EXPECT_EQ(engine->MainStage(), nullptr);
    EXPECT_TRUE(engine->Stages().empty());
    EXPECT_EQ(engine->WindowCount(), 0u);
}

TEST_F(Runtime, DeletingTheEngineDestroysItsWindows)
{
    const FNWindowId window = stage.window;
    engine.reset();
    EXPECT_FALSE(V::Window(window).exists);
    EXPECT_EQ(stage.window, FNNoWindow);
}

TEST_F(Runtime, HoveredItemKeepsItsMemoryUntilNoInputStateNamesIt)
{
    auto* item = new FN2DItem(40, 40, 10, 10, 0);
    item->solidHit = true;
    stage.scene.AddItem(item);
    At(1000, 120, 120, 0);
    ASSERT_EQ(engine->current.hoverItem, item);
    delete item; // destroyed at once, memory held back
    EXPECT_TRUE(FNIsPending(item));
    At(1010, 121, 120, 0); // previous still names it
    EXPECT_TRUE(FNIsPending(item));
    At(1020, 122, 120, 0); // no state names it: released
    EXPECT_FALSE(FNIsPending(item));
}

TEST_F(Runtime, FocusedItemKeepsItsMemoryWhileItHasTheFocus)
{
    auto other = Item(100, 100);
    auto* item = new FN2DItem(40, 40, 10, 10, 0);
    item->solidHit = true;
    stage.scene.AddItem(item);
    At(1000, 120, 120, FNButtonLeft); // focus to the item
    At(1010, 120, 120, 0);
    At(1020, 250, 250, 0); // pointer elsewhere; focus stays
    delete item;
    for (uint32_t t = 1030; t < 1080; t += 10) {
        At(t, 250, 250, 0);
        EXPECT_TRUE(FNIsPending(item));
    }
    other->RequestFocus();
    At(1100, 250, 250, 0); // focus moves; previous still names it
    EXPECT_TRUE(FNIsPending(item));
    At(1110, 250, 250, 0);
    EXPECT_FALSE(FNIsPending(item));
}

TEST_F(Runtime, DeferredObjectsOfAStepAreFreedAtItsEnd)
{
    auto* loose = new FN2DItem(4, 4, 0, 0, 0);
    delete loose;
    EXPECT_TRUE(FNIsPending(loose));
    Step();
    EXPECT_FALSE(FNIsPending(loose));
}

// Quitting the process-wide engine switches deferred freeing off for good,
// so it runs in a child process of its own.
TEST(ProcessEngine, QuitStopsTheProcessEngineAndFreesAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::string failure;
            FNEngine* engine = FNEngine::StartProcessEngine(failure);
            if (!engine || FNEngine::Current() != engine || !failure.empty())
                std::exit(2);
            auto* first = new FN2DItem(4, 4, 0, 0, 0);
            delete first;
            if (!FNIsPending(first) || !FNEngineStep())
                std::exit(3);
            auto* pinned = new FN2DItem(4, 4, 0, 0, 0);
            engine->current.hoverItem = pinned; // as if hovered
            FNPin(pinned);
            delete pinned;
            FNQuit();
            if (FNIsPending(pinned) || FNPendingCount() != 0 || FNEngineStep())
                std::exit(4);
            auto* late = new FN2DItem(4, 4, 0, 0, 0);
            delete late;
            if (FNIsPending(late))
                std::exit(5);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
