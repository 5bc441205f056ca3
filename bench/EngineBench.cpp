// Engine benchmarks on the virtual window system: one engine step with
// nothing to do. BM_EngineStep_idle times the step's work alone (sampling,
// deriving, dispatching, animations, rendering and presenting nothing,
// freeing); BM_EngineStep_idle_with_sleep is the same step with its 1 ms
// pause, which is what a main-loop pass costs.
#include "framework/engine/FNEngine.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/stage/FNStageBase.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// One 800 x 600 top-level window; the stage has no scene.
class BenchDriver : public FNStageDriver {
public:
    FNWindowId CreateWindow(FNEngine&, FNPlatformConnection& platform, FNStageBase*) override
    {
        FNWindowDesc desc;
        desc.x = 50;
        desc.y = 50;
        desc.width = 800;
        desc.height = 600;
        return platform.CreateWindow(desc);
    }
    void WindowCreated(FNEngine&, FNStageBase*, FNWindowId window) override { created = window; }

    FNWindowId created = FNNoWindow;
};

struct IdleEngine {
    IdleEngine()
    {
        FNVirtualPlatform::Reset();
        FNEngine::SetStageDriver(&driver);
        engine = std::make_unique<FNEngine>();
        stage.engine = engine.get();
        engine->RequestCreate(&stage);
        engine->PostToThread(FN_MSG_CREATE_STAGES, nullptr);
        engine->Synchronise();
        // The pointer rests over the window; the first steps announce the
        // main stage and the hover, and are not timed.
        FNVirtualPlatform::SetPointer(400, 300);
        engine->RunStep(false);
        engine->RunStep(false);
    }
    ~IdleEngine()
    {
        engine.reset();
        FNEngine::SetStageDriver(nullptr);
    }

    BenchDriver driver;
    FNStageBase stage;
    std::unique_ptr<FNEngine> engine;
};

void BM_EngineStep_idle(benchmark::State& state)
{
    IdleEngine idle;
    for (auto _ : state)
        benchmark::DoNotOptimize(idle.engine->RunStep(false));
}
BENCHMARK(BM_EngineStep_idle);

void BM_EngineStep_idle_with_sleep(benchmark::State& state)
{
    IdleEngine idle;
    for (auto _ : state)
        benchmark::DoNotOptimize(idle.engine->RunStep(true));
}
BENCHMARK(BM_EngineStep_idle_with_sleep)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
