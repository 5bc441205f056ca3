// The fast Poisson solve's kernels on AVX-512: eight rows per band, the
// lane shifts one instruction each and the mask a mask register.
#include "app/pictures/PoissonKernels.h"

#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start some results from a self-initialised
// "undefined" vector, which its uninitialised-use warnings report wherever
// they are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace {

#define POISSON_TARGET __attribute__((target("avx512f")))

struct Vec {
    static constexpr int kLanes = 8, kLockstep = 2;
    using Reg = __m512d;
    POISSON_TARGET static Reg load(const double* p) { return _mm512_load_pd(p); }
    POISSON_TARGET static void store(double* p, Reg v) { _mm512_store_pd(p, v); }
    POISSON_TARGET static Reg set1(double d) { return _mm512_set1_pd(d); }
    POISSON_TARGET static Reg add(Reg a, Reg b) { return _mm512_add_pd(a, b); }
    POISSON_TARGET static Reg sub(Reg a, Reg b) { return _mm512_sub_pd(a, b); }
    POISSON_TARGET static Reg mul(Reg a, Reg b) { return _mm512_mul_pd(a, b); }
    // The additions' units are the busiest: two of the sweep's five
    // additions and subtractions go to the multiply units instead.
    POISSON_TARGET static Reg addOnMultiplier(Reg a, Reg b) { return _mm512_fmadd_pd(a, _mm512_set1_pd(1.0), b); }
    // (w : above) shifted down by seven lanes: above7 w0 .. w6.
    POISSON_TARGET static Reg north(Reg w, Reg above)
    {
        return _mm512_castsi512_pd(_mm512_alignr_epi64(_mm512_castpd_si512(w), _mm512_castpd_si512(above), 7));
    }
    // (below : e) shifted down by one lane: e1 .. e7 below0.
    POISSON_TARGET static Reg south(Reg e, Reg below)
    {
        return _mm512_castsi512_pd(_mm512_alignr_epi64(_mm512_castpd_si512(below), _mm512_castpd_si512(e), 1));
    }
    POISSON_TARGET static Reg laplacian(const poisson::LaplacianCell* p)
    {
        return _mm512_cvtepi32_pd(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
    }
    POISSON_TARGET static Reg subWhere(unsigned m, Reg a, Reg b, Reg v)
    {
        return _mm512_mask_sub_pd(v, static_cast<__mmask8>(m), a, b);
    }
    POISSON_TARGET static Reg abs(Reg x) { return _mm512_abs_pd(x); }
    POISSON_TARGET static Reg addMasked(Reg acc, unsigned m, Reg x)
    {
        return _mm512_mask_add_pd(acc, static_cast<__mmask8>(m), acc, x);
    }
    POISSON_TARGET static double sum(Reg x) { return _mm512_reduce_add_pd(x); }
};

} // namespace

#include "app/pictures/PoissonKernelBody.h"

const poisson::Kernel& poisson::avx512Kernel()
{
    return kKernel;
}
