// The fast Poisson solve's kernels on SSE2, which every x86-64 processor
// has: two rows per band.
#include "app/pictures/PoissonKernels.h"

#include <emmintrin.h>

namespace {

// Lane masks for the two mask bits of a slot.
alignas(16) const uint64_t kLaneMasks[4][2] = { { 0, 0 }, { ~0ull, 0 }, { 0, ~0ull }, { ~0ull, ~0ull } };

struct Vec {
    static constexpr int kLanes = 2, kLockstep = 4;
    using Reg = __m128d;
    static Reg load(const double* p) { return _mm_load_pd(p); }
    static void store(double* p, Reg v) { _mm_store_pd(p, v); }
    static Reg set1(double d) { return _mm_set1_pd(d); }
    static Reg add(Reg a, Reg b) { return _mm_add_pd(a, b); }
    static Reg sub(Reg a, Reg b) { return _mm_sub_pd(a, b); }
    static Reg mul(Reg a, Reg b) { return _mm_mul_pd(a, b); }
    static Reg addOnMultiplier(Reg a, Reg b) { return add(a, b); } // SSE2 has no fused multiply-add
    static Reg north(Reg w, Reg above) { return _mm_shuffle_pd(above, w, 1); }
    static Reg south(Reg e, Reg below) { return _mm_shuffle_pd(e, below, 1); }
    static Reg laplacian(const poisson::LaplacianCell* p)
    {
        return _mm_cvtepi32_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
    }
    static Reg laneMask(unsigned m) { return _mm_load_pd(reinterpret_cast<const double*>(kLaneMasks[m])); }
    static Reg select(unsigned m, Reg a, Reg b)
    {
        const Reg k = laneMask(m);
        return _mm_or_pd(_mm_and_pd(k, a), _mm_andnot_pd(k, b));
    }
    static Reg subWhere(unsigned m, Reg a, Reg b, Reg v) { return select(m, sub(a, b), v); }
    static Reg abs(Reg x) { return _mm_andnot_pd(_mm_set1_pd(-0.0), x); }
    static Reg addMasked(Reg acc, unsigned m, Reg x) { return _mm_add_pd(acc, _mm_and_pd(laneMask(m), x)); }
    static double sum(Reg x) { return _mm_cvtsd_f64(x) + _mm_cvtsd_f64(_mm_unpackhi_pd(x, x)); }
};

} // namespace

#define POISSON_TARGET

#include "app/pictures/PoissonKernelBody.h"

const poisson::Kernel& poisson::sse2Kernel()
{
    return kKernel;
}
