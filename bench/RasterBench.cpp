// Item rasteriser and scene rendering benchmarks. W3_* follow the shared
// workload table; the others draw into the same 1000 x 800 back buffer (the
// editor-frame scene into an 800 x 600 one). Inputs are made outside the
// clock and the back buffer is restored outside the clock before each run.

#include "bench/BenchInputs.h"
#include "bench/EditorScene.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FNStageBase.h"
#include "imaging/FNImage.h"
#include "imaging/raster/FNRaster.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int BufferWidth = 1000;
constexpr int BufferHeight = 800;

struct RasterInputs {
    std::unique_ptr<FNImage> source = makePhoto(1200, 1200, 4, PhotoLook::Part);
    std::unique_ptr<FNImage> backdrop = makePhoto(BufferWidth, BufferHeight, 6, PhotoLook::Canvas);
    FNImage buffer { BufferWidth, BufferHeight };

    RasterInputs() { applyGradientAlpha(*source, 5); }
};

RasterInputs& inputs()
{
    static RasterInputs shared;
    return shared;
}

// One item showing the 1200 x 1200 source, scaled and rotated about its
// centre, with the centre on the buffer's (500, 400).
void drawItem(benchmark::State& state, double scale, double degrees, FNSampling sampling, FNBlendMode blendMode)
{
    RasterInputs& in = inputs();
    FN2DItem item(1200, 1200, 500 - 600, 400 - 600, 0);
    item.SetPicture(in.source.get());
    item.sampling = sampling;
    item.blendMode = blendMode;
    item.scaleX = item.scaleY = scale;
    item.SetRotation(degrees);
    uint32_t* pixels = in.buffer.row(0);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(in.buffer.pixels, in.backdrop->pixels, in.buffer.byteCount());
        state.ResumeTiming();
        item.DrawSelf(pixels, BufferWidth, BufferHeight, BufferWidth, 0, 0, BufferWidth, BufferHeight);
        benchmark::DoNotOptimize(pixels);
    }
    state.SetItemsProcessed(state.iterations() * BufferWidth * BufferHeight);
}

void W3_raster_scale1_5(benchmark::State& state)
{
    drawItem(state, 1.5, 0, FNSamplingBilinear, FNBlendNormal);
}
void W3_raster_scale1_5_rot30(benchmark::State& state)
{
    drawItem(state, 1.5, 30, FNSamplingBilinear, FNBlendNormal);
}
void W3_raster_sharp_scale1_5(benchmark::State& state)
{
    drawItem(state, 1.5, 0, FNSamplingSharpBilinear, FNBlendNormal);
}
void BM_Raster_Nearest_identity(benchmark::State& state)
{
    drawItem(state, 1.0, 0, FNSamplingNearest, FNBlendNormal);
}
void BM_Raster_Multiply(benchmark::State& state)
{
    drawItem(state, 1.5, 0, FNSamplingBilinear, FNBlendMultiply);
}

// The scaled workloads at a given vector level (0 SSE2, 1 SSE4.1, 2 AVX2),
// for comparison with machines that lack the wider instruction sets.
void drawItemAtLevel(benchmark::State& state, int level, FNSampling sampling)
{
    const int widest = FNRasterSetVectorLevel(level);
    if (widest != level)
        state.SkipWithError("vector level not supported by this processor");
    else
        drawItem(state, 1.5, 0, sampling, FNBlendNormal);
    FNRasterSetVectorLevel(2);
}
void BM_Raster_scale1_5_sse2(benchmark::State& state)
{
    drawItemAtLevel(state, 0, FNSamplingBilinear);
}
void BM_Raster_sharp_scale1_5_sse2(benchmark::State& state)
{
    drawItemAtLevel(state, 0, FNSamplingSharpBilinear);
}
void BM_Raster_scale1_5_sse41(benchmark::State& state)
{
    drawItemAtLevel(state, 1, FNSamplingBilinear);
}
void BM_Raster_sharp_scale1_5_sse41(benchmark::State& state)
{
    drawItemAtLevel(state, 1, FNSamplingSharpBilinear);
}
void BM_Raster_scale1_5_avx2(benchmark::State& state)
{
    drawItemAtLevel(state, 2, FNSamplingBilinear);
}
void BM_Raster_sharp_scale1_5_avx2(benchmark::State& state)
{
    drawItemAtLevel(state, 2, FNSamplingSharpBilinear);
}

// ---- Editor-shaped frame ----------------------------------------------------------

struct EditorFrame {
    FNStageBase stage;
    FNImage backBuffer { 800, 600 };
    EditorScene content;
    FN2DScene& scene = content.scene;

    EditorFrame() { scene.Attach(&backBuffer, &stage.dirty, &stage); }
};

void BM_SceneRender_editor_frame(benchmark::State& state)
{
    EditorFrame frame;
    for (auto _ : state) {
        frame.scene.MarkDirty(FNRect { 0, 0, 800, 600 });
        frame.scene.Render();
        benchmark::DoNotOptimize(frame.backBuffer.pixels);
    }
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}

} // namespace

BENCHMARK(W3_raster_scale1_5)->Unit(benchmark::kMillisecond);
BENCHMARK(W3_raster_scale1_5_rot30)->Unit(benchmark::kMillisecond);
BENCHMARK(W3_raster_sharp_scale1_5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_Nearest_identity)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_Multiply)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_scale1_5_sse2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_sharp_scale1_5_sse2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_scale1_5_sse41)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_sharp_scale1_5_sse41)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_scale1_5_avx2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Raster_sharp_scale1_5_avx2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneRender_editor_frame)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
