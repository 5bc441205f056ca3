#pragma once

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventState.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// What the stage tests share: a fresh virtual screen and engine per test,
// and steps that first let the engine thread take every window-system event.
namespace V = FNVirtualPlatform;

namespace stagetest {

inline uint32_t pixelAt(const FNImage& image, int x, int y)
{
    return image.row(y)[x] & 0xFFFFFF;
}

// Records the codes that reach a stage.
struct Recorder {
    std::vector<int> codes;
    std::vector<FNEventState> events;
    void On(FNEventState event)
    {
        codes.push_back(event.code);
        events.push_back(event);
    }
};

class StageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        V::Reset();
        engine = std::make_unique<FNEngine>();
        ASSERT_TRUE(engine->Platform()) << engine->PlatformFailure();
    }
    void TearDown() override { engine.reset(); }

    // One engine step without its pause, after the engine thread has taken
    // every window-system event so far.
    void Step()
    {
        engine->Synchronise();
        engine->RunStep(false);
    }

    std::unique_ptr<FNEngine> engine;
};

} // namespace stagetest

using stagetest::StageTest;
