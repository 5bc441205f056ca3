// Picture buffer operations: scale-and-rotate, fill, alpha paste, band.
#include "bench/BenchInputs.h"

#include <benchmark/benchmark.h>

static void W2_transform(benchmark::State& state)
{
    const auto photo = makePhoto(1200, 1200, 3, PhotoLook::Canvas);
    FNImage work;
    for (auto _ : state) {
        state.PauseTiming();
        work.copyFrom(photo.get());
        state.ResumeTiming();
        work.transform(900, 900, 30);
        benchmark::DoNotOptimize(work.pixels);
    }
}
BENCHMARK(W2_transform)->Unit(benchmark::kMillisecond);

static void BM_Fill_1200(benchmark::State& state)
{
    FNImage image(1200, 1200);
    int shade = 0;
    for (auto _ : state) {
        image.fill(shade & 255, 128, 64, 255);
        ++shade;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fill_1200)->Unit(benchmark::kMicrosecond);

static void BM_DrawImage_512_on_1200(benchmark::State& state)
{
    const auto canvas = makePhoto(1200, 1200, 11, PhotoLook::Canvas);
    auto part = makePhoto(512, 512, 12, PhotoLook::Part);
    applyGradientAlpha(*part, 13);
    FNImage work;
    work.copyFrom(canvas.get());
    for (auto _ : state) {
        work.drawImage(part.get(), 344, 344, part->width, part->height);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawImage_512_on_1200)->Unit(benchmark::kMicrosecond);

static void BM_DrawLine_thick20(benchmark::State& state)
{
    const auto canvas = makePhoto(1200, 1200, 14, PhotoLook::Canvas);
    FNImage work;
    work.copyFrom(canvas.get());
    for (auto _ : state) {
        work.drawLine(0xC0204080, 100.5, 200.25, 1050.75, 900.5, 20);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawLine_thick20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
