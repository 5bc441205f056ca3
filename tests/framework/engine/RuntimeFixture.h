#pragma once

// A minimal stage and stage driver for engine tests on the virtual window
// system. The real stages (FN2DStage and friends) plug into the engine the
// same way; these tests keep to the engine's side of that seam.

#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FNEmit.h"
#include "framework/stage/FNStageBase.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

// A top-level window of the given client rectangle showing a scene.
class TestStage : public FNStageBase {
public:
    TestStage(int x0, int y0, int w, int h)
        : x(x0)
        , y(y0)
        , width(w)
        , height(h)
        , buffer(w, h)
    {
        scene.Attach(&buffer, &dirty, this);
    }
    ~TestStage() override { scene.Detach(); }

    int x, y, width, height;
    FNImage buffer;
    FN2DScene scene;
    FNWindowId window = FNNoWindow;
    bool passEventsToParent = false;
    int presents = 0;
    int activations = 0;
};

class TestStageDriver : public FNStageDriver {
public:
    FNWindowId CreateWindow(FNEngine&, FNPlatformConnection& platform, FNStageBase* stage) override
    {
        auto* s = static_cast<TestStage*>(stage);
        FNWindowDesc desc;
        desc.x = s->x;
        desc.y = s->y;
        desc.width = s->width;
        desc.height = s->height;
        desc.title = "test";
        return platform.CreateWindow(desc);
    }
    void WindowCreated(FNEngine& engine, FNStageBase* stage, FNWindowId window) override
    {
        auto* s = static_cast<TestStage*>(stage);
        s->window = window;
        engine.Platform()->Show(window);
    }
    void WindowDestroyed(FNEngine&, FNStageBase* stage) override { static_cast<TestStage*>(stage)->window = 0; }
    void StageMessage(FNEngine& engine, FNPlatformConnection& platform, int message, FNStageBase* stage) override
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            messages.push_back(message);
        }
        if (message == FN_MSG_SET_FOCUS)
            platform.SetFocus(engine.WindowOf(stage));
        else if (message == FN_MSG_ENABLE || message == FN_MSG_DISABLE)
            stage->enabled = message == FN_MSG_ENABLE;
    }
    void Activate(FNStageBase* stage) override { static_cast<TestStage*>(stage)->activations++; }
    FN2DScene* Scene(FNStageBase* stage) override { return &static_cast<TestStage*>(stage)->scene; }
    bool PassesEventsToParent(const FNStageBase* stage) override
    {
        return static_cast<const TestStage*>(stage)->passEventsToParent;
    }
    void Present(FNStageBase* stage) override { static_cast<TestStage*>(stage)->presents++; }
    // The stage's own fields, as the stage layer's driver reads them.
    FNWidget* OwnerWidget(const FNStageBase* stage) override { return stage->ownerWidget; }
    bool IsEnabled(const FNStageBase* stage) override { return stage->IsEnabled(); }
    FNStageBase* ParentStage(const FNStageBase* stage) override { return stage->parent; }
    bool IsDirty(const FNStageBase* stage) override { return !stage->dirty.isEmpty(); }
    void ResetDirty(FNStageBase* stage) override { stage->dirty.reset(0, 0); }
    std::vector<int> Messages()
    {
        std::lock_guard<std::mutex> guard(lock);
        return messages;
    }

    std::mutex lock;
    std::vector<int> messages; // stage messages the engine thread passed on
};

// Every event a connector passes on, in order, across all connectors that
// share the log.
struct EventLog {
    struct Entry {
        int code;
        const void* receiver; // the object the connector is bound to
        FNEventState event;
    };
    std::vector<Entry> entries;

    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const Entry& entry : entries)
            codes.push_back(entry.code);
        return codes;
    }
    std::vector<int> CodesFor(const void* receiver) const
    {
        std::vector<int> codes;
        for (const Entry& entry : entries) {
            if (entry.receiver == receiver)
                codes.push_back(entry.code);
        }
        return codes;
    }
};

// Connects every event code of one object to a shared log.
class Listening {
public:
    template <typename Object>
    Listening(Object* object, EventLog& log)
        : m_connector(std::make_unique<FNEventConnector>(object))
        , m_receiver(object)
        , m_log(log)
    {
        for (int code = 0; code < FNEventCodeCount; ++code)
            m_connector->Connect(code, &Listening::On, this);
    }
    void On(FNEventState event) { m_log.entries.push_back({ event.code, m_receiver, event }); }
    FNEventConnector& Connector() { return *m_connector; }

private:
    std::unique_ptr<FNEventConnector> m_connector;
    const void* m_receiver;
    EventLog& m_log;
};

// An engine of its own with one 200 x 200 window at (100, 100) on a reset
// virtual screen.
class Runtime : public ::testing::Test {
protected:
    void SetUp() override
    {
        FNVirtualPlatform::Reset();
        FNVirtualPlatform::SetMilliseconds(10000);
        FNEngine::SetStageDriver(&driver);
        engine = std::make_unique<FNEngine>();
        ASSERT_NE(engine->Platform(), nullptr) << engine->PlatformFailure();
        Open(stage);
    }
    void TearDown() override
    {
        engine.reset();
        FNEngine::SetStageDriver(nullptr);
    }

    void Open(TestStage& s)
    {
        s.engine = engine.get();
        ASSERT_TRUE(engine->RequestCreate(&s));
        engine->PostToThread(FN_MSG_CREATE_STAGES, nullptr);
        engine->Synchronise();
        ASSERT_NE(s.window, FNNoWindow);
    }

    // One engine step after the engine thread has taken in everything the
    // test injected; false when the engine is stopping.
    bool Step()
    {
        engine->Synchronise();
        return engine->RunStep(false);
    }
    // Moves the clock, then the pointer and buttons, then steps.
    bool At(uint32_t now, int x, int y, int buttons)
    {
        FNVirtualPlatform::SetMilliseconds(now);
        FNVirtualPlatform::SetPointer(x, y);
        FNVirtualPlatform::SetButtons(buttons);
        return Step();
    }
    // An opaque item at client (x, y) placed in the stage's scene.
    std::unique_ptr<FN2DItem> Item(double x, double y, int w = 40, int h = 40, int depth = 0)
    {
        auto item = std::make_unique<FN2DItem>(w, h, x, y, depth);
        item->solidHit = true;
        stage.scene.AddItem(item.get());
        return item;
    }

    TestStageDriver driver;
    std::unique_ptr<FNEngine> engine;
    TestStage stage { 100, 100, 200, 200 };
    EventLog log;
};
