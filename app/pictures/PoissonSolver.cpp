// The fast Poisson solve and the process-wide work buffers.
//
// Layout: one grid of (cw + 2) x (ch + 2) cells, each cell four doubles
// (channels 0, 1, 2 and a zero pad), so one cell is two SSE2 vectors and one
// instruction pair updates all three channels; where the processor has AVX
// one 256-bit instruction does it. SSE2 and AVX compute every lane exactly as
// the scalar instruction would (no fused multiply-add is formed), and each
// lane sees the same operations in the same order as the reference, so
// results are identical.
//
// Order: the plain sweep goes row by row, left to right, and each update
// needs its west neighbour's new value, a chain of six dependent operations
// per cell. The fast sweep advances R rows (4 with SSE2, 8 with AVX, whose
// registers hold twice the cells) at once in a skewed wavefront:
// at step t row r of the band updates column t - r. Row r then still reads
// the new north value (row r - 1 reached that column one step earlier) and
// the old south value (row r + 1 has not reached it), exactly as the plain
// sweep, while the R updates of a step are independent of each other.
// With AVX, consecutive bands of identical solid rows are chained into one
// continuous wavefront (the helix below).
#include "app/pictures/PoissonSolver.h"
#include "app/pictures/PoissonGrid.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <immintrin.h>
#include <new>
#include <ostream>
#include <vector>

using namespace poisson;

namespace {

constexpr size_t kInitialCells = 65536;
constexpr std::align_val_t kCellAlignment { 32 };

// ---- Work buffers ----------------------------------------------------------

// Doubles per grid cell in the work block: the cell's value (channels 0, 1,
// 2, pad), its Laplacian (same layout) and its mask (two lanes).
constexpr size_t kValueDoubles = 4, kLapDoubles = 4, kMaskDoubles = 2;

// Process-wide and unsynchronised: one solve at a time. One block holds the
// three sections (values, Laplacian, mask) for `capacity` cells, so a cell's
// Laplacian and mask lie at fixed offsets from its value. Sized for 65536
// cells at first use; a larger solve frees it and allocates exactly what it
// needs; it never shrinks.
class WorkBuffers {
public:
    static WorkBuffers& instance()
    {
        static WorkBuffers buffers;
        return buffers;
    }
    ~WorkBuffers() { release(); }

    void reserve(size_t cells)
    {
        if (cells <= m_capacity)
            return;
        release();
        const size_t doubles = cells * (kValueDoubles + kLapDoubles + kMaskDoubles);
        m_block = static_cast<double*>(::operator new(doubles * sizeof(double), kCellAlignment));
        m_capacity = cells;
    }
    double* block() { return m_block; }
    size_t capacity() const { return m_capacity; }

private:
    WorkBuffers() { reserve(kInitialCells); }
    void release()
    {
        ::operator delete(m_block, kCellAlignment);
        m_block = nullptr, m_capacity = 0;
    }

    double* m_block = nullptr;
    size_t m_capacity = 0;
};

// ---- Grid --------------------------------------------------------------------

// The masked cells of one visited row lie in [begin, end); `solid` when every
// cell in between is masked too (no blending needed).
struct Span {
    int begin = 0, end = 0;
    bool solid = true;
};

struct Grid {
    int cw = 0, ch = 0;
    ptrdiff_t rowDoubles = 0; // value doubles per grid row
    double* cells = nullptr;
    // From a cell's value to its Laplacian record and to its mask lanes
    // (all-ones where the part's alpha >= 128), in doubles.
    ptrdiff_t lapOffset = 0, maskOffset = 0;
    std::vector<Span> spans; // per grid row j (1 .. ch - 1)
    long long maskedCells = 0;

    double* cell(int i, int j) const { return cells + j * rowDoubles + i * 4; }
    const double* lap(int i, int j) const { return cell(i, j) + lapOffset; }
    // The mask section has 2 doubles per cell where values have 4.
    const double* maskOf(const double* value) const { return cells + maskOffset + (value - cells) / 2; }
    bool masked(int i, int j) const { return _mm_movemask_pd(_mm_load_pd(maskOf(cell(i, j)))) != 0; }
};

void fillGrid(Grid& g, const Clip& clip, int ox, int oy, const q_LaplacianImage& laplacian, const FNImage& canvas,
    const FNImage& part)
{
    const __m128d all = _mm_castsi128_pd(_mm_set1_epi32(-1)), none = _mm_setzero_pd();
    g.spans.assign(g.ch + 1, Span {});
    for (int j = 1; j <= g.ch; ++j) {
        const int y = clip.y0 + j - 1;
        const double* lap = laplacian.record(clip.x0 - ox, y - oy);
        const uint8_t* p = canvas.pixels + (static_cast<size_t>(y) * canvas.width + clip.x0) * 4;
        Span& span = g.spans[j];
        span.begin = g.cw;
        for (int i = 1; i <= g.cw; ++i, p += 4, lap += 4) {
            double* v = g.cell(i, j);
            v[0] = p[0], v[1] = p[1], v[2] = p[2], v[3] = 0;
            double* l = v + g.lapOffset;
            l[0] = lap[0], l[1] = lap[1], l[2] = lap[2], l[3] = 0;
            const bool masked = part.getAlpha(clip.x0 + i - 1 - ox, y - oy) >= kMaskThreshold;
            _mm_store_pd(const_cast<double*>(g.maskOf(v)), masked ? all : none);
            if (!masked || j == g.ch || i == g.cw)
                continue;
            span.begin = std::min(span.begin, i);
            span.end = i + 1;
            ++g.maskedCells;
        }
        if (span.end <= span.begin)
            span = Span { 1, 1, true };
    }
    for (int j = 1; j <= g.ch - 1; ++j) {
        Span& span = g.spans[j];
        for (int i = span.begin; i < span.end; ++i)
            span.solid = span.solid && g.masked(i, j);
    }
    // Border: the cell above the first row and left of the first column
    // repeats the pixel's own canvas value.
    for (int i = 1; i <= g.cw - 1; ++i)
        std::memcpy(g.cell(i, 0), g.cell(i, 1), 4 * sizeof(double));
    for (int j = 1; j <= g.ch - 1; ++j)
        std::memcpy(g.cell(0, j), g.cell(1, j), 4 * sizeof(double));
}

// ---- Sweep kernels -------------------------------------------------------------

struct Constants {
    __m128d quarter = _mm_set1_pd(0.25);
    __m128d relax = _mm_set1_pd(kRelax);
    __m128d oldWeight = _mm_set1_pd(kOldWeight);
};

// v' = ((N + S + W + E) - l) * 0.25 * 1.9 - v * 0.8999999999999999 on two lanes.
inline __m128d relaxed(__m128d n, __m128d s, __m128d w, __m128d e, __m128d l, __m128d v, const Constants& k)
{
    const __m128d sum = _mm_add_pd(_mm_add_pd(_mm_add_pd(n, s), w), e);
    return _mm_sub_pd(_mm_mul_pd(_mm_mul_pd(_mm_sub_pd(sum, l), k.quarter), k.relax), _mm_mul_pd(v, k.oldWeight));
}

inline __m128d select(__m128d mask, __m128d updated, __m128d old)
{
    return _mm_or_pd(_mm_and_pd(mask, updated), _mm_andnot_pd(mask, old));
}

// Advances the R rows j0 .. j0 + R - 1 over the steps t in [t0, t1): row r
// updates column t - r. Each row's west value is carried in registers, and
// the north value of row r > 0 is row r - 1's result of the previous step.
// With R = 1 this is the plain left-to-right row.
template <int R, bool Blend> void advanceRows(const Grid& g, int j0, int t0, int t1, const Constants& k)
{
    const ptrdiff_t rs = g.rowDoubles, lo = g.lapOffset;
    double* at[R];
    const double* mask[R];
    __m128d wA[R], wB[R];
#pragma GCC unroll 8
    for (int r = 0; r < R; ++r) {
        at[r] = g.cell(t0 - r, j0 + r);
        mask[r] = g.maskOf(at[r]);
        wA[r] = _mm_load_pd(at[r] - 4), wB[r] = _mm_load_pd(at[r] - 2);
    }
    for (int t = t0; t < t1; ++t) {
        // Rows from the bottom up, so that row r still finds row r - 1's
        // previous-step result (its north neighbour) in wA[r - 1]. Unrolled,
        // so the carried values stay in registers.
#pragma GCC unroll 8
        for (int r = R - 1; r >= 0; --r) {
            double* c = at[r];
            const __m128d nA = r == 0 ? _mm_load_pd(c - rs) : wA[r - 1];
            const __m128d nB = r == 0 ? _mm_load_pd(c - rs + 2) : wB[r - 1];
            const __m128d vA = _mm_load_pd(c), vB = _mm_load_pd(c + 2);
            __m128d a = relaxed(nA, _mm_load_pd(c + rs), wA[r], _mm_load_pd(c + 4), _mm_load_pd(c + lo), vA, k);
            __m128d b = relaxed(nB, _mm_load_pd(c + rs + 2), wB[r], _mm_load_pd(c + 6), _mm_load_pd(c + lo + 2), vB, k);
            if (Blend) {
                const __m128d m = _mm_load_pd(mask[r]);
                a = select(m, a, vA);
                b = select(m, b, vB);
            }
            _mm_store_pd(c, a);
            _mm_store_pd(c + 2, b);
            wA[r] = a, wB[r] = b;
            at[r] = c + 4;
            mask[r] += 2;
        }
    }
}

// The same advance on 256-bit vectors: one cell's four doubles in one
// vector, so each operation of the update is one instruction instead of a
// pair. Each lane still computes the same IEEE double operations in the same
// order (add, multiply and subtract are exact-rounded per lane; the target is
// plain AVX, so no fused multiply-add can be formed), so the results are
// those of the SSE2 kernel.
__attribute__((target("avx"))) inline __m256d relaxedAvx(
    __m256d n, __m256d s, __m256d w, __m256d e, __m256d l, __m256d v)
{
    const __m256d sum = _mm256_add_pd(_mm256_add_pd(_mm256_add_pd(n, s), w), e);
    const __m256d scaled
        = _mm256_mul_pd(_mm256_mul_pd(_mm256_sub_pd(sum, l), _mm256_set1_pd(0.25)), _mm256_set1_pd(kRelax));
    return _mm256_sub_pd(scaled, _mm256_mul_pd(v, _mm256_set1_pd(kOldWeight)));
}

template <int R, bool Blend> __attribute__((target("avx"))) void advanceRowsAvx(const Grid& g, int j0, int t0, int t1)
{
    const ptrdiff_t rs = g.rowDoubles, lo = g.lapOffset;
    double* at[R];
    __m256d w[R];
#pragma GCC unroll 16
    for (int r = 0; r < R; ++r) {
        at[r] = g.cell(t0 - r, j0 + r);
        w[r] = _mm256_load_pd(at[r] - 4);
    }
    for (int t = t0; t < t1; ++t) {
#pragma GCC unroll 16
        for (int r = R - 1; r >= 0; --r) {
            double* c = at[r];
            const __m256d n = r == 0 ? _mm256_load_pd(c - rs) : w[r - 1];
            const __m256d v = _mm256_load_pd(c);
            __m256d a = relaxedAvx(n, _mm256_load_pd(c + rs), w[r], _mm256_load_pd(c + 4), _mm256_load_pd(c + lo), v);
            if (Blend) {
                // Both mask lanes of the cell are equal: repeat them over four.
                const __m256d m = _mm256_broadcast_pd(reinterpret_cast<const __m128d*>(g.maskOf(c)));
                a = _mm256_blendv_pd(v, a, m);
            }
            _mm256_store_pd(c, a);
            w[r] = a;
            at[r] = c + 4;
        }
    }
}

// One wavefront step of the helix below: the R rows advance one cell each,
// bottom up; lane `wrap` first moves to the start of its row in band j0.
template <int R>
__attribute__((target("avx"))) inline void helixStep(
    const Grid& g, double* (&at)[R], __m256d (&w)[R], int wrap, int j0, int begin)
{
    const ptrdiff_t rs = g.rowDoubles, lo = g.lapOffset;
#pragma GCC unroll 16
    for (int r = R - 1; r >= 0; --r) {
        if (r == wrap) {
            at[r] = g.cell(begin, j0 + r);
            w[r] = _mm256_load_pd(at[r] - 4);
        }
        double* c = at[r];
        const __m256d n = r == 0 ? _mm256_load_pd(c - rs) : w[r - 1];
        const __m256d a = relaxedAvx(
            n, _mm256_load_pd(c + rs), w[r], _mm256_load_pd(c + 4), _mm256_load_pd(c + lo), _mm256_load_pd(c));
        _mm256_store_pd(c, a);
        w[r] = a;
        at[r] = c + 4;
    }
}

// Sweeps the bands of R rows starting at rows j0s[0 .. n) in that order, all
// solid with the same cells [begin, end) in every row, as one continuous
// wavefront: row r of a band starts its next band's row r the step after it
// finishes, so between bands no lane waits and no triangle is swept. Needs
// end - begin >= R. Every read stays that of the band-after-band order when
// band b + 1 lies directly above band b (the next sweep's band): b's top row
// reads each cell of the row above before b + 1's bottom row updates it, and
// that bottom row reads b's top row after b updated it. When b + 1 lies
// directly below b (the same sweep), b + 1's top row trails b's bottom row by
// end - begin - R + 1 >= 1 steps. Bands farther apart share no neighbours.
// Only the first band's prologue and the last band's epilogue remain, swept
// by the caller.
template <int R> __attribute__((target("avx"))) void helixAvx(const Grid& g, const int* j0s, int n, int begin, int end)
{
    const int width = end - begin;
    double* at[R];
    __m256d w[R];
#pragma GCC unroll 16
    for (int r = 0; r < R; ++r) {
        at[r] = g.cell(begin + R - 1 - r, j0s[0] + r);
        w[r] = _mm256_load_pd(at[r] - 4);
    }
    for (int b = 0; b < n; ++b) {
        // Steps where lane k moves on to band b, then steps with every lane
        // inside band b.
        for (int k = b == 0 ? R - 1 : 0; k < R; ++k)
            helixStep<R>(g, at, w, b == 0 ? -1 : k, j0s[b], begin);
        for (int k = R; k < width; ++k)
            helixStep<R>(g, at, w, -1, j0s[b], begin);
    }
}

// A vector kernel: how many rows a band advances at once, and the advance of
// R rows (R = 1: one plain row) over the wavefront steps [t0, t1).
struct Sse2Kernel {
    static constexpr int kBandRows = 4;
    static constexpr bool kHelix = false;
    static void helix(const Grid&, const int*, int, int, int) { }
    template <int R, bool Blend> static void advance(const Grid& g, int j0, int t0, int t1)
    {
        advanceRows<R, Blend>(g, j0, t0, t1, Constants {});
    }
};

struct AvxKernel {
    static constexpr int kBandRows = 8;
    static constexpr bool kHelix = true;
    static void helix(const Grid& g, const int* j0s, int n, int begin, int end)
    {
        helixAvx<kBandRows>(g, j0s, n, begin, end);
    }
    template <int R, bool Blend> static void advance(const Grid& g, int j0, int t0, int t1)
    {
        advanceRowsAvx<R, Blend>(g, j0, t0, t1);
    }
};

// The cells [begin[r], end[r]) of the R rows j0 .. j0 + R - 1, visited in an
// order equivalent to the plain row-by-row sweep: each cell after its north
// and west neighbours and before its south and east ones. While every row is
// inside its range the rows advance together in the wavefront; the triangles
// before (prologue) and after (epilogue) are swept the same way, split into
// an upper and a lower half (the upper half wholly first, as the plain sweep
// does) until they are wavefronts again. `solid`: every cell in the ranges is
// masked, so no blending is needed.
template <class K, int R> void sweepRows(const Grid& g, int j0, const int* begin, const int* end, bool solid)
{
    int t0 = 0, t1 = 1 << 30;
    for (int r = 0; r < R; ++r) {
        t0 = std::max(t0, begin[r] + r);
        t1 = std::min(t1, end[r] + r);
    }
    if (t0 >= t1) {
        if constexpr (R > 1) {
            constexpr int upper = R / 2;
            sweepRows<K, upper>(g, j0, begin, end, solid);
            sweepRows<K, R - upper>(g, j0 + upper, begin + upper, end + upper, solid);
        }
        return;
    }
    if constexpr (R == 1) {
        if (solid)
            K::template advance<1, false>(g, j0, t0, t1);
        else
            K::template advance<1, true>(g, j0, t0, t1);
    } else {
        int cut[R];
        for (int r = 0; r < R; ++r)
            cut[r] = t0 - r;
        sweepRows<K, R>(g, j0, begin, cut, solid);
        if (solid)
            K::template advance<R, false>(g, j0, t0, t1);
        else
            K::template advance<R, true>(g, j0, t0, t1);
        for (int r = 0; r < R; ++r)
            cut[r] = t1 - r;
        sweepRows<K, R>(g, j0, cut, end, solid);
    }
}

template <class K, int R> void sweepBand(const Grid& g, int j0)
{
    int begin[R], end[R];
    bool solid = true;
    for (int r = 0; r < R; ++r) {
        const Span& s = g.spans[j0 + r];
        begin[r] = s.begin, end[r] = s.end;
        solid = solid && s.solid;
    }
    sweepRows<K, R>(g, j0, begin, end, solid);
}

// A sweep visits the rows in units: bands of the kernel's band height, then
// one band of the rows left over. Rows without masked cells above the first
// and below the last row with some are left out: a sweep changes nothing
// there. `uniform`: a full band whose rows are all solid with the same cells
// as the first row with masked cells.
struct Unit {
    int j0, rows;
    bool uniform;
};

std::vector<Unit> sweepUnits(const Grid& g, int bandRows)
{
    const auto empty = [&](int j) { return g.spans[j].begin >= g.spans[j].end; };
    int first = 1, last = g.ch - 1;
    while (first <= last && empty(first))
        ++first;
    while (last >= first && empty(last))
        --last;
    const auto same = [&](int j0, int rows) {
        const Span& s = g.spans[first];
        for (int j = j0; j < j0 + rows; ++j) {
            const Span& t = g.spans[j];
            if (!t.solid || t.begin != s.begin || t.end != s.end)
                return false;
        }
        return rows == bandRows && s.end - s.begin >= bandRows;
    };
    std::vector<Unit> units;
    int j = first;
    for (; j + bandRows - 1 <= last; j += bandRows)
        units.push_back({ j, bandRows, same(j, bandRows) });
    if (j <= last)
        units.push_back({ j, last + 1 - j, false });
    return units;
}

template <class K, int R = K::kBandRows> void sweepUnit(const Grid& g, const Unit& u)
{
    if constexpr (R > 1) {
        if (u.rows < R)
            return sweepUnit<K, R - 1>(g, u);
    }
    sweepBand<K, R>(g, u.j0);
}

// A run of uniform units swept one after the other: the first band's
// prologue triangle, the helix over all of them, the last band's epilogue.
template <class K> void sweepRun(const Grid& g, const std::vector<int>& j0s)
{
    constexpr int R = K::kBandRows;
    if (j0s.size() == 1) {
        sweepBand<K, R>(g, j0s[0]);
        return;
    }
    const Span& s = g.spans[j0s[0]];
    int from[R], to[R];
    for (int r = 0; r < R; ++r)
        from[r] = s.begin, to[r] = s.begin + R - 1 - r;
    sweepRows<K, R>(g, j0s[0], from, to, true);
    K::helix(g, j0s.data(), static_cast<int>(j0s.size()), s.begin, s.end);
    for (int r = 0; r < R; ++r)
        from[r] = s.end - r, to[r] = s.end;
    sweepRows<K, R>(g, j0s.back(), from, to, true);
}

constexpr int kSweepsInFlight = 10;

// Runs `count` consecutive sweeps pipelined over the units, so the rows they
// work on stay in the cache: at step s, sweep q (ascending) works on unit
// s - q. Sweep q then reads the unit above as sweep q left it (one step
// earlier) and the unit below as sweep q - 1 left it (earlier in this step,
// and sweep q reaches it only at the next step): the values of the plain
// sweep-after-sweep order.
template <class K> void pipelinedSweeps(const Grid& g, const std::vector<Unit>& units, int count)
{
    const int unitCount = static_cast<int>(units.size());
    // Consecutive uniform units are gathered and swept as one run.
    std::vector<int> run;
    const auto flush = [&] {
        if (!run.empty())
            sweepRun<K>(g, run);
        run.clear();
    };
    for (int step = 0; step < unitCount + count - 1; ++step) {
        const int first = std::max(0, step - unitCount + 1), last = std::min(count - 1, step);
        for (int q = first; q <= last; ++q) {
            const Unit& u = units[step - q];
            if (K::kHelix && u.uniform) {
                run.push_back(u.j0);
                continue;
            }
            flush();
            sweepUnit<K>(g, u);
        }
    }
    flush();
}

// Mean of |N + S + W + E - 4 v - l| over the masked visited cells and the
// three channels, summed in row order, channel 0, 1, 2 within a cell (the
// reference's order, so the same double comes out).
double meanResidual(const Grid& g)
{
    const ptrdiff_t rs = g.rowDoubles;
    const __m128d four = _mm_set1_pd(4.0);
    double sum = 0;
    for (int j = 1; j <= g.ch - 1; ++j) {
        for (int i = g.spans[j].begin; i < g.spans[j].end; ++i) {
            if (!g.masked(i, j))
                continue;
            const double* c = g.cell(i, j);
            const double* l = g.lap(i, j);
            double r[4];
            for (int h = 0; h < 4; h += 2) {
                const __m128d s = _mm_add_pd(
                    _mm_add_pd(_mm_add_pd(_mm_load_pd(c - rs + h), _mm_load_pd(c + rs + h)), _mm_load_pd(c - 4 + h)),
                    _mm_load_pd(c + 4 + h));
                _mm_storeu_pd(
                    r + h, _mm_sub_pd(_mm_sub_pd(s, _mm_mul_pd(four, _mm_load_pd(c + h))), _mm_load_pd(l + h)));
            }
            sum += std::fabs(r[0]);
            sum += std::fabs(r[1]);
            sum += std::fabs(r[2]);
        }
    }
    return sum / (3.0 * static_cast<double>(g.maskedCells));
}

template <class K> int relaxWith(const Grid& g, double tau)
{
    // With no masked cell a sweep changes nothing and the residual is
    // undefined, so the solve runs out its sweeps.
    if (g.maskedCells == 0)
        return kLastSweep + 1;
    const std::vector<Unit> units = sweepUnits(g, K::kBandRows);
    // Sweep 0, then groups of 50 sweeps, each followed by the residual test
    // (after sweeps 0, 50, 100, ..., 1000).
    pipelinedSweeps<K>(g, units, 1);
    if (meanResidual(g) < tau)
        return 0;
    for (int last = kCheckEvery; last <= kLastSweep; last += kCheckEvery) {
        for (int done = 0; done < kCheckEvery; done += kSweepsInFlight)
            pipelinedSweeps<K>(g, units, std::min(kSweepsInFlight, kCheckEvery - done));
        if (meanResidual(g) < tau)
            return last;
    }
    return kLastSweep + 1;
}

q_PoissonVectorPath g_requestedPath = q_PoissonVectorPath::Automatic;

bool avxSupported()
{
    static const bool supported = __builtin_cpu_supports("avx");
    return supported;
}

int relax(const Grid& g, double tau)
{
    if (q_PoissonActiveVectorPath() == q_PoissonVectorPath::Avx)
        return relaxWith<AvxKernel>(g, tau);
    return relaxWith<Sse2Kernel>(g, tau);
}

void writeOutput(const Grid& g, const Clip& clip, FNImage& output, std::vector<double>* solution)
{
    if (solution)
        solution->clear();
    for (int j = 1; j <= g.ch; ++j) {
        uint8_t* o = output.pixels + (static_cast<size_t>(clip.y0 + j - 1) * output.width + clip.x0) * 4;
        for (int i = 1; i <= g.cw; ++i, o += 4) {
            const double* v = g.cell(i, j);
            o[0] = roundToByte(v[0]), o[1] = roundToByte(v[1]), o[2] = roundToByte(v[2]);
            if (solution)
                solution->insert(solution->end(), v, v + 3);
        }
    }
}

} // namespace

q_PoissonResult q_PoissonSolveFast(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h,
    const FNImage& canvas, const FNImage& part, FNImage& output, double tau, std::vector<double>* solution)
{
    output.copyFrom(&canvas);
    if (solution)
        solution->clear();
    limitToLaplacian(laplacian, w, h);
    const Clip clip = clipToCanvas(ox, oy, w, h, canvas);
    if (clip.empty())
        return {};

    Grid g;
    g.cw = clip.width(), g.ch = clip.height();
    g.rowDoubles = static_cast<ptrdiff_t>(g.cw + 2) * 4;
    const size_t cells = static_cast<size_t>(g.cw + 2) * (g.ch + 2);
    WorkBuffers& buffers = WorkBuffers::instance();
    buffers.reserve(cells);
    g.cells = buffers.block();
    g.lapOffset = static_cast<ptrdiff_t>(buffers.capacity() * kValueDoubles);
    g.maskOffset = static_cast<ptrdiff_t>(buffers.capacity() * (kValueDoubles + kLapDoubles));
    fillGrid(g, clip, ox, oy, laplacian, canvas, part);

    const int count = relax(g, tau);
    writeOutput(g, clip, output, solution);
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
    return WorkBuffers::instance().capacity();
}

q_PoissonVectorPath q_PoissonSetVectorPath(q_PoissonVectorPath path)
{
    const q_PoissonVectorPath previous = g_requestedPath;
    g_requestedPath = path;
    return previous;
}

q_PoissonVectorPath q_PoissonActiveVectorPath()
{
    if (g_requestedPath == q_PoissonVectorPath::Sse2 || !avxSupported())
        return q_PoissonVectorPath::Sse2;
    return q_PoissonVectorPath::Avx;
}
