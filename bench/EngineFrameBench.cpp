// W8: one engine step that renders and presents a whole 800 x 600
// editor-shaped frame (menu bar, command panel of text buttons, a 1200 x 1200
// photo shown at half size in a clipped canvas view) on the virtual window
// system. The step's 1 ms pause is left out; the sampling, dispatch, render
// and present work is timed.

#include "bench/EditorScene.h"

#include "framework/engine/FNEngine.h"
#include "framework/platform/virtual/FNVirtualPlatform.h"
#include "framework/stage/FN2DStage.h"
#include "imaging/FNImage.h"

#include <benchmark/benchmark.h>

namespace {

struct EditorStage {
    FN2DStage stage { 0, 0, 800, 600, "W8" };
    EditorScene content;

    EditorStage() { stage.SetScene(&content.scene); }
    ~EditorStage() { stage.Close(); }
};

void W8_engine_frame(benchmark::State& state)
{
    FNVirtualPlatform::Reset();
    FNEngine engine;
    if (!engine.Platform()) {
        state.SkipWithError("no virtual platform connection");
        return;
    }
    EditorStage editor;
    editor.stage.Open(true, nullptr, &engine);
    engine.Synchronise();
    engine.RunStep(false);
    for (auto _ : state) {
        editor.stage.Invalidate(true);
        engine.RunStep(false);
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}

} // namespace

BENCHMARK(W8_engine_frame)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
