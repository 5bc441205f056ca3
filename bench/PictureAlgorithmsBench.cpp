// The editor's picture algorithms: the Smart compose (Laplacian and solve,
// fast and reference), the colour adjustment, the flood fill, the cut
// optimisation and a blur pen stroke.
#include "app/pictures/BlurPen.h"
#include "app/pictures/ColourAdjust.h"
#include "app/pictures/CutOptimise.h"
#include "app/pictures/CutRegion.h"
#include "app/pictures/FloodFill.h"
#include "app/pictures/LaplacianImage.h"
#include "app/pictures/PoissonSolver.h"
#include "bench/BenchInputs.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <ostream>
#include <streambuf>

namespace {

// ---- W1: Smart compose -------------------------------------------------------

enum class Solver { Fast, Reference };

// Canvas photo(1200, h, 1, canvas), part photo(n, n, 2, part) with a 2-pixel
// transparent ring, pasted at the centre; the Laplacian and the solve are
// timed.
void smartCompose(benchmark::State& state, int n, Solver solver, int canvasHeight = 900)
{
    const auto canvas = makePhoto(1200, canvasHeight, 1, PhotoLook::Canvas);
    const auto part = makePhoto(n, n, 2, PhotoLook::Part);
    applyBorderAlpha(*part, 2);
    const int ox = (1200 - n) / 2, oy = (canvasHeight - n) / 2;
    FNImage composed;
    int count = 0;
    const auto run = [&] {
        q_LaplacianImage laplacian;
        laplacian.build(*part);
        const q_PoissonResult result = solver == Solver::Fast
            ? q_PoissonSolveFast(laplacian, ox, oy, n, n, *canvas, *part, composed, 0.001)
            : q_PoissonSolveReference(laplacian, ox, oy, n, n, *canvas, *part, composed, 0.001);
        count = result.count;
    };
    run(); // warm the work buffers (and start the solver's threads)
    for (auto _ : state)
        run();
    state.counters["PoissonCount"] = count;
}

// Runs the fast solve with other settings for the lifetime of the object.
class WithSettings {
public:
    explicit WithSettings(const q_PoissonSettings& settings)
        : m_previous(q_PoissonConfigure(settings))
    {
    }
    ~WithSettings() { q_PoissonConfigure(m_previous); }

private:
    q_PoissonSettings m_previous;
};

void W1_smart_256(benchmark::State& state)
{
    smartCompose(state, 256, Solver::Fast);
}
void W1_smart_256_reference(benchmark::State& state)
{
    smartCompose(state, 256, Solver::Reference);
}
void smartComposeWith(benchmark::State& state, int n, q_PoissonVectorPath path, int threads)
{
    q_PoissonSettings settings;
    settings.path = path, settings.threads = threads;
    const WithSettings use(settings);
    smartCompose(state, n, Solver::Fast);
}

void W1_smart_256_threads1(benchmark::State& state)
{
    smartComposeWith(state, 256, q_PoissonVectorPath::Automatic, 1);
}
void W1_smart_512(benchmark::State& state)
{
    smartCompose(state, 512, Solver::Fast);
}
void W1_smart_512_reference(benchmark::State& state)
{
    smartCompose(state, 512, Solver::Reference);
}
void W1_smart_512_threads1(benchmark::State& state)
{
    smartComposeWith(state, 512, q_PoissonVectorPath::Automatic, 1);
}
// The fast solve held to one vector level, as on processors without the
// wider ones.
void W1_smart_512_avx(benchmark::State& state)
{
    smartComposeWith(state, 512, q_PoissonVectorPath::Avx, 0);
}
void W1_smart_512_sse2(benchmark::State& state)
{
    smartComposeWith(state, 512, q_PoissonVectorPath::Sse2, 0);
}
void W1_smart_1024(benchmark::State& state)
{
    smartCompose(state, 1024, Solver::Fast, 1200);
}

// ---- W6: colour adjustment -------------------------------------------------------

void W6_hsv_adjust(benchmark::State& state)
{
    const auto part = makePhoto(1024, 1024, 8, PhotoLook::Part);
    FNImage adjusted;
    for (auto _ : state) {
        q_AdjustColour(*part, adjusted, 30, 20, 10);
        benchmark::DoNotOptimize(adjusted.pixels);
    }
}

// ---- W7: flood fill ---------------------------------------------------------------

std::unique_ptr<FNImage> wallRegion()
{
    constexpr int kSide = 2048;
    auto region = std::make_unique<FNImage>(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        std::fill(region->row(y), region->row(y) + kSide, q_kClearValue);
    // Seven walls 4 rows thick at rows 256k, with a 32-pixel gap at the
    // right end (k odd) or the left end (k even).
    for (int k = 1; k <= 7; ++k) {
        for (int y = 256 * k; y < 256 * k + 4; ++y) {
            const int gapFrom = k % 2 ? kSide - 32 : 0;
            for (int x = 0; x < kSide; ++x) {
                if (x < gapFrom || x >= gapFrom + 32)
                    region->row(y)[x] = q_kMarkValue;
            }
        }
    }
    return region;
}

void W7_floodfill(benchmark::State& state)
{
    const auto start = wallRegion();
    FNImage region;
    for (auto _ : state) {
        state.PauseTiming();
        region.copyFrom(start.get());
        state.ResumeTiming();
        q_FloodFill(region, 0, 0, q_kMarkValue);
    }
    long filled = 0;
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x)
            filled += region.row(y)[x] != start->row(y)[x];
    state.counters["filled"] = static_cast<double>(filled);
}

// ---- Cut optimisation ---------------------------------------------------------------

class NullBuffer : public std::streambuf {
    int overflow(int c) override { return c; }
};

void BM_Optimise_1024(benchmark::State& state)
{
    constexpr int kSide = 1024;
    // A part photo with a round object of other colours in the middle, and a
    // generous mark around it: a disc 100 pixels wider than the object.
    const auto part = makePhoto(kSide, kSide, 9, PhotoLook::Part);
    const auto object = makePhoto(kSide, kSide, 10, PhotoLook::Canvas);
    const auto mark = std::make_unique<FNImage>(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const int dx = x - kSide / 2, dy = y - kSide / 2, d2 = dx * dx + dy * dy;
            if (d2 <= 300 * 300)
                part->row(y)[x] = object->row(y)[x];
            mark->row(y)[x] = d2 <= 400 * 400 ? q_kMarkValue : q_kClearValue;
        }
    }
    NullBuffer sink;
    std::ostream log(&sink);
    FNImage region;
    int boundary = 0;
    for (auto _ : state) {
        state.PauseTiming();
        region.copyFrom(mark.get());
        state.ResumeTiming();
        boundary = q_OptimiseCutRegion(region, *part, log);
    }
    state.counters["boundary"] = boundary;
}

// ---- Blur pen -----------------------------------------------------------------------

void BM_BlurStroke_40(benchmark::State& state)
{
    const auto photo = makePhoto(1200, 900, 1, PhotoLook::Canvas);
    FNImage canvas;
    for (auto _ : state) {
        state.PauseTiming();
        canvas.copyFrom(photo.get());
        state.ResumeTiming();
        q_BlurLine(canvas, 40, 50, 100, 1150, 800);
    }
}

} // namespace

// The solver's threads make wall-clock time the measure.
BENCHMARK(W1_smart_256)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_256_reference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_256_threads1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_512)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_512_reference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_512_threads1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_512_avx)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_512_sse2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W1_smart_1024)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(W6_hsv_adjust)->Unit(benchmark::kMillisecond);
BENCHMARK(W7_floodfill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Optimise_1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlurStroke_40)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
