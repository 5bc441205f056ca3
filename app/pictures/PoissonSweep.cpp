// The order of the sweeps. A plain sweep updates the bands top to bottom;
// band u of sweep q reads band u - 1 as sweep q left it and band u + 1 as
// sweep q - 1 left it. Any order in which (q, u) runs after (q, u - 1) and
// after (q - 1, u + 1), and before (q + 1, u - 1) starts, reads the same
// values and so computes the same bits. Two such orders are used here:
//
// In flight: a thread keeps T consecutive sweeps in flight. At step s sweep
// q0 + d works on band s - d, for d = 0 .. T - 1, so a band fetched for
// sweep q0 is used by the T sweeps before it leaves the cache. The bands of
// one step are swept in lockstep, a few at a time (see LockstepSweep).
//
// Threads: the sweeps of a group are cut into chunks of T; chunk c runs on
// thread c mod n and follows chunk c - 1 at least two bands behind: before
// its first sweep starts band s, chunk c - 1's last sweep has finished band
// s + 1. The chunks pass each band from thread to thread, so each band
// crosses between the cores' caches once per T sweeps. When the threads
// of a group spend much of it waiting for each other (other programs keep
// the processors busy), the rest of the solve runs on one thread.
//
// Residual: each thread adds the terms of a share of the bands in vector
// order. The terms are the plain solver's, bit for bit; only their sum's
// order differs. Any order's sum of n non-negative terms lies within
// (n - 1) u of the exact sum (u = 2^-53), so the two sums differ by less
// than 2 n u of themselves: below a millionth for n < 4.5e9 terms (a grid
// the compose makes has at most 3 * 16386^2). Only a mean within a
// millionth of tau therefore needs the plain order's sum, which is then
// computed exactly. A sum that is already past tau by more than that
// margin partway through decides the test (the terms are never negative),
// so the rest is not added: the early checks of a solve end after a few
// bands.
#include "app/pictures/PoissonSweep.h"

#include "app/pictures/PoissonThreads.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>

using namespace poisson;

namespace {

constexpr int kMaxChunks = kCheckEvery; // at least one sweep per chunk, so also the most in flight
constexpr double kResidualSlack = 1e-6;
// When the threads of a group spent more than this share of their time
// waiting for each other past a short spin, the processors are busy with
// other work (or a thread was held up), and one thread alone is faster.
constexpr double kMaxWaitingShare = 0.2;

struct alignas(64) Progress {
    std::atomic<int> bands { 0 }; // bands the chunk's last sweep has finished
};

class GroupRun {
public:
    GroupRun(const Bands& bands, const Kernel& kernel, const SweepPlan& plan, double tau)
        : m_bands(bands)
        , m_kernel(kernel)
        , m_inFlight(std::clamp(plan.inFlight, 1, kMaxChunks))
        , m_threads(std::max(plan.threads, 1))
        , m_adaptive(plan.adaptive)
        , m_partial(m_threads)
        , m_waited(m_threads)
        , m_enough(tau * 3.0 * static_cast<double>(bands.maskedCells) * (1 + 4 * kResidualSlack))
    {
    }

    // Runs `sweeps` consecutive sweeps, then the residual terms; returns
    // their sum in vector order, or a partial sum far enough past tau.
    double run(int sweeps)
    {
        m_sweeps = sweeps;
        // Chunks of at most T sweeps, as many for each thread, sizes within
        // one of each other: every thread gets the same share.
        const int chunks = (sweeps + m_inFlight - 1) / m_inFlight;
        m_chunks = std::min(sweeps, (chunks + m_threads - 1) / m_threads * m_threads);
        for (int c = 0; c < m_chunks; ++c)
            m_progress[c].bands.store(0, std::memory_order_relaxed);
        m_arrived.store(0, std::memory_order_relaxed);
        std::fill(m_waited.begin(), m_waited.end(), std::chrono::nanoseconds {});
        const auto start = std::chrono::steady_clock::now();
        Team::instance().run(m_threads, &GroupRun::job, this);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        double sum = 0;
        std::chrono::nanoseconds waited {};
        for (int n = 0; n < m_threads; ++n)
            sum += m_partial[n], waited += m_waited[n];
        if (m_adaptive && m_threads > 1 && waited > elapsed * (kMaxWaitingShare * m_threads))
            m_threads = 1; // for the rest of this solve
        return sum;
    }

private:
    static void job(void* self, int index) { static_cast<GroupRun*>(self)->work(index); }

    void work(int index)
    {
        for (int c = index; c < m_chunks; c += m_threads)
            runChunk(c);
        // Every sweep of the group is done before any residual term is read.
        m_arrived.fetch_add(1, std::memory_order_acq_rel);
        waitAtLeast(m_arrived, m_threads);
        const int m = static_cast<int>(m_bands.active.size());
        const int from = static_cast<int>(static_cast<long long>(m) * index / m_threads);
        const int to = static_cast<int>(static_cast<long long>(m) * (index + 1) / m_threads);
        // Each thread's share alone past the limit decides for the whole.
        m_partial[index] = m_kernel.residual(m_bands.view, m_bands.active.data() + from, to - from, m_enough);
    }

    int chunkStart(int c) const { return static_cast<int>(static_cast<long long>(m_sweeps) * c / m_chunks); }

    void runChunk(int c)
    {
        const int n = chunkStart(c + 1) - chunkStart(c);
        const int m = static_cast<int>(m_bands.active.size());
        std::array<int, kMaxChunks> bands;
        for (int s = 0; s < m + n - 1; ++s) {
            const int first = std::max(0, s - m + 1), last = std::min(n - 1, s);
            if (c > 0 && first == 0)
                m_waited[c % m_threads] += waitAtLeast(m_progress[c - 1].bands, std::min(s + 2, m));
            int count = 0;
            for (int d = first; d <= last; ++d)
                bands[count++] = m_bands.active[s - d];
            sweepStep(bands.data(), count);
            if (last == n - 1)
                m_progress[c].bands.store(s - last + 1, std::memory_order_release);
        }
    }

    // One step's bands (consecutive sweeps, top band of the earliest sweep
    // last), a lockstep group at a time, earlier sweeps first.
    void sweepStep(const int* bands, int count)
    {
        const int lockstep = m_kernel.lockstep;
        for (int i = 0; i < count;) {
            // A lone band left over joins the last group (one band alone
            // has too few independent chains to keep the units busy).
            const int left = count - i;
            const int size = left <= lockstep + 1 && left <= kMaxLockstep ? left : std::min(lockstep, left);
            int k0 = m_bands.view.slots, k1 = 0;
            for (int p = i; p < i + size; ++p) {
                k0 = std::min(k0, m_bands.firstSlot[bands[p]]);
                k1 = std::max(k1, m_bands.endSlot[bands[p]]);
            }
            m_kernel.sweep[size - 1](m_bands.view, bands + i, k0, k1);
            i += size;
        }
    }

    const Bands& m_bands;
    const Kernel& m_kernel;
    const int m_inFlight;
    int m_threads;
    const bool m_adaptive;
    int m_sweeps = 0, m_chunks = 0;
    std::array<Progress, kMaxChunks> m_progress;
    std::atomic<int> m_arrived { 0 };
    std::vector<double> m_partial;
    std::vector<std::chrono::nanoseconds> m_waited; // by thread
    const double m_enough; // a residual sum past this is past tau beyond doubt (see belowThreshold)
};

// mean < tau, decided from the vector-order sum when it is far enough from
// the edge, else from the plain order's exact sum.
bool belowThreshold(const Bands& bands, double vectorSum, double tau)
{
    const double terms = 3.0 * static_cast<double>(bands.maskedCells);
    if (vectorSum * (1 + kResidualSlack) / terms < tau * (1 - kResidualSlack))
        return true;
    if (vectorSum * (1 - kResidualSlack) / terms > tau * (1 + kResidualSlack))
        return false;
    return exactResidualSum(bands) / terms < tau;
}

} // namespace

int poisson::relaxBands(const Bands& bands, const Kernel& kernel, const SweepPlan& plan, double tau)
{
    // With no masked cell a sweep changes nothing and the residual is
    // undefined, so the solve runs out its sweeps.
    if (bands.maskedCells == 0)
        return kLastSweep + 1;
    GroupRun group(bands, kernel, plan, tau);
    if (belowThreshold(bands, group.run(1), tau))
        return 0;
    for (int last = kCheckEvery; last <= kLastSweep; last += kCheckEvery) {
        if (belowThreshold(bands, group.run(kCheckEvery), tau))
            return last;
    }
    return kLastSweep + 1;
}
