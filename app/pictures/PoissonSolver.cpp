// The fast Poisson solve: the choice of kernel, threads and sweeps in flight
// around the band layout (PoissonBands.h) and the sweep order
// (PoissonSweep.cpp).
#include "app/pictures/PoissonSolver.h"

#include "app/pictures/PoissonBands.h"
#include "app/pictures/PoissonGrid.h"
#include "app/pictures/PoissonKernels.h"
#include "app/pictures/PoissonSweep.h"
#include "app/pictures/PoissonThreads.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <sched.h>
#include <unistd.h>

using namespace poisson;

namespace {

constexpr int kMaxThreads = 64;
constexpr long kDefaultLevel2Bytes = 512 * 1024;
// Below this many masked cells per thread, waking a thread costs more than
// it saves.
constexpr long long kMinCellsPerThread = 16384;
constexpr long long kMinLayoutCellsPerThread = 32768;
constexpr long long kMinBandsPerThread = 6;
constexpr long kMinInFlight = 8, kMaxInFlight = 16;

q_PoissonSettings g_settings;

bool supports(q_PoissonVectorPath path)
{
    static const bool avx = __builtin_cpu_supports("avx");
    static const bool avx512 = __builtin_cpu_supports("avx512f");
    return path == q_PoissonVectorPath::Sse2 || (path == q_PoissonVectorPath::Avx && avx)
        || (path == q_PoissonVectorPath::Avx512 && avx512);
}

const Kernel& kernelFor(q_PoissonVectorPath path)
{
    if (path == q_PoissonVectorPath::Avx512)
        return avx512Kernel();
    if (path == q_PoissonVectorPath::Avx)
        return avxKernel();
    return sse2Kernel();
}

int processors()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
}

int threadCap()
{
    const char* text = std::getenv("TESSERINE_POISSON_THREADS");
    const long cap = text ? std::strtol(text, nullptr, 10) : 0;
    return cap > 0 ? static_cast<int>(std::min<long>(cap, kMaxThreads)) : kMaxThreads;
}

long level2Bytes()
{
    const long reported = sysconf(_SC_LEVEL2_CACHE_SIZE);
    return reported > 0 ? reported : kDefaultLevel2Bytes;
}

// Bytes of one band: values, Laplacian and mask of all its slots.
long bandBytes(const BandView& view)
{
    return static_cast<long>(view.slots) * (view.lanes * 3 * (sizeof(double) + sizeof(LaplacianCell)) + 1);
}

SweepPlan planFor(const Bands& bands)
{
    SweepPlan plan;
    const long long activeBands = static_cast<long long>(bands.active.size());
    // As many sweeps as keep their bands and the two beside them in three
    // quarters of the level-2 cache, but at least kMinInFlight: with fewer,
    // the passes over main memory dominate even where the window spills
    // into the next cache level; and at most kMaxInFlight, beyond which the
    // pipeline's ends cost more than the passes save.
    const long fit = level2Bytes() * 3 / 4 / bandBytes(bands.view) - 2;
    plan.inFlight = static_cast<int>(std::clamp<long>(fit, kMinInFlight, kMaxInFlight));
    if (g_settings.threads > 0) {
        plan.threads = std::min(g_settings.threads, kMaxThreads);
    } else {
        plan.adaptive = true;
        const long long bySize = bands.maskedCells / kMinCellsPerThread;
        const long long byBands = activeBands / kMinBandsPerThread;
        plan.threads = static_cast<int>(std::clamp<long long>(
            std::min({ bySize, byBands, static_cast<long long>(q_PoissonAutomaticThreads()) }), 1, kMaxThreads));
    }
    // A chunk of T sweeps starts its successor on the other thread about
    // T + 2 bands into its run; with few bands deep chunks leave the threads
    // out of step for a good part of each group.
    if (plan.threads > 1)
        plan.inFlight = static_cast<int>(std::min<long long>(plan.inFlight, std::max(2LL, activeBands / 16)));
    if (g_settings.sweepsInFlight > 0)
        plan.inFlight = std::min(g_settings.sweepsInFlight, kCheckEvery);
    return plan;
}

// Threads for copying the canvas, laying out the grid and writing the
// output: a pass over memory each, worth sharing from 64k cells on.
int layoutThreadsFor(long long cells)
{
    if (g_settings.threads > 0)
        return std::min(g_settings.threads, kMaxThreads);
    return static_cast<int>(std::clamp<long long>(cells / kMinLayoutCellsPerThread, 1, q_PoissonAutomaticThreads()));
}

// output := canvas (size and all four bytes), the rows shared by threads.
struct CopyJob {
    const FNImage& canvas;
    FNImage& output;
    int threads;
    static void run(void* self, int index)
    {
        const CopyJob& job = *static_cast<CopyJob*>(self);
        const size_t rows = job.canvas.height, rowBytes = static_cast<size_t>(job.canvas.width) * 4;
        const size_t from = rows * index / job.threads, to = rows * (index + 1) / job.threads;
        std::memcpy(job.output.pixels + from * rowBytes, job.canvas.pixels + from * rowBytes, (to - from) * rowBytes);
    }
};

void copyCanvas(const FNImage& canvas, FNImage& output, int threads)
{
    if (&output == &canvas)
        return;
    if (output.width != canvas.width || output.height != canvas.height || !output.pixels)
        output.resize(canvas.width, canvas.height);
    CopyJob job { canvas, output, std::min(threads, canvas.height) };
    Team::instance().run(job.threads, &CopyJob::run, &job);
}

} // namespace

q_PoissonResult q_PoissonSolveFast(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h,
    const FNImage& canvas, const FNImage& part, FNImage& output, double tau, std::vector<double>* solution)
{
    if (solution)
        solution->clear();
    limitToLaplacian(laplacian, w, h);
    const Clip clip = clipToCanvas(ox, oy, w, h, canvas);
    if (clip.empty() || !canvas.pixels) {
        output.copyFrom(&canvas);
        return {};
    }

    const Kernel& kernel = kernelFor(q_PoissonActiveVectorPath());
    Bands bands;
    const int layoutThreads = layoutThreadsFor(static_cast<long long>(clip.width()) * clip.height());
    copyCanvas(canvas, output, layoutThreads);
    fillBands(bands, kernel.lanes, clip, ox, oy, laplacian, canvas, part, layoutThreads);
    if (!bands.exact) // not the Laplacian of a picture: no integer layout
        return q_PoissonSolveReference(laplacian, ox, oy, w, h, canvas, part, output, tau, solution);
    const int count = relaxBands(bands, kernel, planFor(bands), tau);
    writeBands(bands, clip, output, solution, layoutThreads);
    return { true, count };
}

q_PoissonResult q_PoissonSolve(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h, const FNImage& canvas,
    const FNImage& part, FNImage& output, double tau, std::ostream& log)
{
    const auto start = std::chrono::steady_clock::now();
    const q_PoissonResult result = q_PoissonSolveFast(laplacian, ox, oy, w, h, canvas, part, output, tau);
    if (!result.solved)
        return result;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const auto ms
        = static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    log << "Poisson Count : " << result.count << std::endl;
    log << "Poisson Time Cost : " << ms << std::endl;
    return result;
}

size_t q_PoissonWorkCapacity()
{
    return workCapacityCells();
}

q_PoissonSettings q_PoissonConfigure(const q_PoissonSettings& settings)
{
    const q_PoissonSettings previous = g_settings;
    g_settings = settings;
    return previous;
}

q_PoissonVectorPath q_PoissonActiveVectorPath()
{
    q_PoissonVectorPath path = g_settings.path;
    if (path == q_PoissonVectorPath::Automatic)
        path = q_PoissonVectorPath::Avx512;
    while (!supports(path))
        path = static_cast<q_PoissonVectorPath>(static_cast<int>(path) - 1);
    return path;
}

int q_PoissonAutomaticThreads()
{
    static const int threads = std::min(processors(), threadCap());
    return threads;
}
