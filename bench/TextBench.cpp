// Text and look benchmarks: measuring and drawing a button label with the
// default style, and painting a large button face.
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"
#include "widgets/looks/FNLooks.h"

#include <benchmark/benchmark.h>

namespace {

const FNString kLabel = "キャンバス保存";

void BM_MeasureString_label(benchmark::State& state)
{
    FNFont* font = FNDefaultStringStyle().font.get();
    measureString(kLabel, font); // glyphs cached outside the clock
    for (auto _ : state) {
        FNTextSize size = measureString(kLabel, font);
        benchmark::DoNotOptimize(size);
    }
}
BENCHMARK(BM_MeasureString_label);

void BM_DrawString_label(benchmark::State& state)
{
    FNImage target(120, 24);
    target.fill(247, 250, 255, 255);
    const FNTextPosition at = centerString(nullptr, 120, 24, kLabel);
    target.drawString(nullptr, at.x, at.y, -1, -1, -1, -1, true, kLabel);
    for (auto _ : state) {
        target.drawString(nullptr, at.x, at.y, -1, -1, -1, -1, true, kLabel);
        benchmark::DoNotOptimize(target.pixels);
    }
}
BENCHMARK(BM_DrawString_label);

void BM_FaceLook_200x40(benchmark::State& state)
{
    FNImage target(200, 40);
    for (auto _ : state) {
        FNFaceLook(&target, 200, 40, {});
        benchmark::DoNotOptimize(target.pixels);
    }
}
BENCHMARK(BM_FaceLook_200x40);

} // namespace

BENCHMARK_MAIN();
