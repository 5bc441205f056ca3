#pragma once

// Widgets on a stage of the virtual window system, driven as a user would:
// the pointer moves, buttons go down and up, and engine steps run between.

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace V = FNVirtualPlatform;

// A fresh virtual screen and engine per test, and the user's hands on it.
class VirtualScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        V::Reset();
        V::SetMilliseconds(10000);
        engine = std::make_unique<FNEngine>();
        ASSERT_TRUE(engine->Platform()) << engine->PlatformFailure();
    }
    void TearDown() override { engine.reset(); }

    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            engine->Synchronise();
            engine->RunStep(false);
        }
    }
    // A left click at a screen point, far from any earlier click, press and
    // release back to back as a tap sends them; then steps enough for the
    // press, the release and the focus requests their handlers make.
    void ClickScreen(int x, int y)
    {
        V::AdvanceMilliseconds(1000);
        V::SetPointer(x, y);
        Step();
        V::SetButtons(FNButtonLeft), V::SetButtons(0);
        Step(4);
    }
    // A key pressed and released.
    void Tap(int key)
    {
        V::PressKey(key), V::ReleaseKey(key);
        Step(3);
    }

    std::unique_ptr<FNEngine> engine;
};

// A 300 x 200 stage at screen (100, 100) showing one scene.
class WidgetTest : public VirtualScreenTest {
protected:
    void SetUp() override
    {
        VirtualScreenTest::SetUp();
        stage = std::make_unique<FN2DStage>(100, 100, 300, 200, "widgets");
        stage->SetScene(&scene);
        stage->Open(true, nullptr, engine.get());
        Step();
    }
    void TearDown() override
    {
        stage.reset();
        VirtualScreenTest::TearDown();
    }

    // The pointer to a client point of the stage, then a step.
    void MoveTo(int clientX, int clientY)
    {
        V::SetPointer(100 + clientX, 100 + clientY);
        Step();
    }
    // A left click at a client point, far from any earlier click.
    void ClickAt(int clientX, int clientY)
    {
        PressAt(clientX, clientY);
        Release();
    }
    // The left button goes down at a client point (far from any earlier
    // click) and stays down until Release.
    void PressAt(int clientX, int clientY)
    {
        V::AdvanceMilliseconds(1000);
        MoveTo(clientX, clientY);
        V::SetButtons(FNButtonLeft);
        Step();
    }
    void Release()
    {
        V::SetButtons(0);
        Step();
    }

    FN2DScene scene;
    std::unique_ptr<FN2DStage> stage;
};

// Counts the events of one code that reach a connector.
struct Counter {
    std::vector<FNEventState> events;
    void On(FNEventState event) { events.push_back(event); }
    // The codes heard, in order (for counters on several codes).
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const FNEventState& event : events)
            codes.push_back(event.code);
        return codes;
    }
};
