// The fast Poisson solve's kernels on 256-bit AVX: four rows per band. Only
// AVX (and the SSE4.1 it implies) is used, so processors without AVX2 run it.
#include "app/pictures/PoissonKernels.h"

#include <immintrin.h>

namespace {

#define POISSON_TARGET __attribute__((target("avx")))

// Lane masks for the four mask bits of a slot.
struct LaneMasks {
    alignas(32) uint64_t lanes[16][4];
    constexpr LaneMasks()
        : lanes {}
    {
        for (int m = 0; m < 16; ++m)
            for (int r = 0; r < 4; ++r)
                lanes[m][r] = (m >> r) & 1 ? ~0ull : 0;
    }
};
constexpr LaneMasks kLaneMasks;

struct Vec {
    static constexpr int kLanes = 4, kLockstep = 3;
    using Reg = __m256d;
    POISSON_TARGET static Reg load(const double* p) { return _mm256_load_pd(p); }
    POISSON_TARGET static void store(double* p, Reg v) { _mm256_store_pd(p, v); }
    POISSON_TARGET static Reg set1(double d) { return _mm256_set1_pd(d); }
    POISSON_TARGET static Reg add(Reg a, Reg b) { return _mm256_add_pd(a, b); }
    POISSON_TARGET static Reg sub(Reg a, Reg b) { return _mm256_sub_pd(a, b); }
    POISSON_TARGET static Reg mul(Reg a, Reg b) { return _mm256_mul_pd(a, b); }
    POISSON_TARGET static Reg addOnMultiplier(Reg a, Reg b) { return add(a, b); } // AVX has no fused multiply-add
    POISSON_TARGET static Reg north(Reg w, Reg above)
    {
        const Reg u = _mm256_permute2f128_pd(above, w, 0x21); // above2 above3 w0 w1
        return _mm256_shuffle_pd(u, w, 5); // above3 w0 w1 w2
    }
    POISSON_TARGET static Reg south(Reg e, Reg below)
    {
        const Reg u = _mm256_permute2f128_pd(e, below, 0x21); // e2 e3 below0 below1
        return _mm256_shuffle_pd(e, u, 5); // e1 e2 e3 below0
    }
    POISSON_TARGET static Reg laplacian(const poisson::LaplacianCell* p)
    {
        return _mm256_cvtepi32_pd(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    POISSON_TARGET static Reg laneMask(unsigned m)
    {
        return _mm256_load_pd(reinterpret_cast<const double*>(kLaneMasks.lanes[m]));
    }
    POISSON_TARGET static Reg select(unsigned m, Reg a, Reg b) { return _mm256_blendv_pd(b, a, laneMask(m)); }
    POISSON_TARGET static Reg subWhere(unsigned m, Reg a, Reg b, Reg v) { return select(m, sub(a, b), v); }
    POISSON_TARGET static Reg abs(Reg x) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), x); }
    POISSON_TARGET static Reg addMasked(Reg acc, unsigned m, Reg x)
    {
        return _mm256_add_pd(acc, _mm256_and_pd(laneMask(m), x));
    }
    POISSON_TARGET static double sum(Reg x)
    {
        const __m128d half = _mm_add_pd(_mm256_castpd256_pd128(x), _mm256_extractf128_pd(x, 1));
        return _mm_cvtsd_f64(half) + _mm_cvtsd_f64(_mm_unpackhi_pd(half, half));
    }
};

} // namespace

#include "app/pictures/PoissonKernelBody.h"

const poisson::Kernel& poisson::avxKernel()
{
    return kKernel;
}
