// The sweep and residual loops of the fast Poisson solve, written once over
// a vector type. Each instruction level's file includes this once, after it
// has defined POISSON_TARGET (its target attribute, or nothing) and `Vec`:
//
//   kLanes, kLockstep     doubles per vector; bands swept at once
//   Reg                   the vector type
//   load, store, set1, add, sub, mul
//   addOnMultiplier(a, b) a + b on the multiply units where they can add
//                         (a * 1 + b, rounded once, is a + b), so that the
//                         additions are shared between both kinds of unit
//   north(w, above)       lane 0 = above's last lane, lane r = w's lane r - 1
//   south(e, below)       lane r = e's lane r + 1, last lane = below's lane 0
//   laplacian(p)          kLanes LaplacianCell values as doubles
//   subWhere(m, a, b, v)  a - b where bit r of m is set, else v
//   abs(x), addMasked(acc, m, x) (acc + x where bit r of m is set), sum(x)
//
// Every lane computes the IEEE operations of the plain solver in its order
// (add, subtract and multiply round per lane; the only fused multiply-add
// is a * 1 + b, whose product is exact), so each level gives the plain
// solver's bits.
#pragma once

#include "app/pictures/PoissonKernels.h"

namespace {

using poisson::BandView;

constexpr ptrdiff_t kSlotDoubles = 3 * Vec::kLanes;

// From a slot to the band above's slot k + lanes - 1 and to the band below's
// slot k - lanes + 1, in doubles.
inline ptrdiff_t aboveOffset(const BandView& g)
{
    return -g.bandDoubles + (Vec::kLanes - 1) * kSlotDoubles;
}
inline ptrdiff_t belowOffset(const BandView& g)
{
    return g.bandDoubles - (Vec::kLanes - 1) * kSlotDoubles;
}

// N + S + W + E in the plain solver's order, ((N + S) + W) + E, the first
// two additions on the multiply units.
POISSON_TARGET inline typename Vec::Reg neighbourSum(
    typename Vec::Reg n, typename Vec::Reg s, typename Vec::Reg w, typename Vec::Reg e)
{
    return Vec::add(Vec::addOnMultiplier(Vec::addOnMultiplier(n, s), w), e);
}

template <int P> POISSON_TARGET void lockstepSweep(const BandView& g, const int* bands, int k0, int k1)
{
    constexpr int R = Vec::kLanes;
    const ptrdiff_t above = aboveOffset(g), below = belowOffset(g);
    double* at[P];
    const poisson::LaplacianCell* lap[P];
    const uint8_t* mask[P];
    // A slot's old value is its west neighbour's east, loaded one slot
    // earlier: nothing writes it in between, so it stays in a register.
    typename Vec::Reg west[P][3], here[P][3];
#pragma GCC unroll 4
    for (int p = 0; p < P; ++p) {
        at[p] = g.slot(bands[p], k0);
        lap[p] = g.laplacianSlot(bands[p], k0);
        mask[p] = g.maskSlot(bands[p], k0);
#pragma GCC unroll 3
        for (int c = 0; c < 3; ++c) {
            west[p][c] = Vec::load(at[p] - kSlotDoubles + c * R);
            here[p][c] = Vec::load(at[p] + c * R);
        }
    }
    const typename Vec::Reg quarter = Vec::set1(0.25), relax = Vec::set1(poisson::kRelax);
    const typename Vec::Reg oldWeight = Vec::set1(poisson::kOldWeight);
    for (int k = k0; k < k1; ++k) {
#pragma GCC unroll 4
        for (int p = 0; p < P; ++p) {
            const unsigned m = *mask[p];
#pragma GCC unroll 3
            for (int c = 0; c < 3; ++c) {
                double* x = at[p] + c * R;
                const typename Vec::Reg e = Vec::load(x + kSlotDoubles), v = here[p][c];
                const typename Vec::Reg n = Vec::north(west[p][c], Vec::load(x + above));
                const typename Vec::Reg s = Vec::south(e, Vec::load(x + below));
                // v' = ((N + S + W + E) - l) * 0.25 * 1.9 - v * 0.8999999999999999
                const typename Vec::Reg d = Vec::sub(neighbourSum(n, s, west[p][c], e), Vec::laplacian(lap[p] + c * R));
                west[p][c] = Vec::subWhere(m, Vec::mul(Vec::mul(d, quarter), relax), Vec::mul(v, oldWeight), v);
                Vec::store(x, west[p][c]);
                here[p][c] = e;
            }
            at[p] += kSlotDoubles;
            lap[p] += kSlotDoubles;
            ++mask[p];
        }
    }
}

// |N + S + W + E - 4 v - l| of every masked lane, summed lane-wise.
POISSON_TARGET double residualSum(const BandView& g, const int* bands, int count, double enough)
{
    constexpr int R = Vec::kLanes;
    const ptrdiff_t above = aboveOffset(g), below = belowOffset(g);
    const typename Vec::Reg four = Vec::set1(4.0);
    typename Vec::Reg total = Vec::set1(0.0);
    for (int b = 0; b < count; ++b) {
        const int band = bands[b];
        for (int k = g.firstSlot[band]; k < g.endSlot[band]; ++k) {
            const unsigned m = *g.maskSlot(band, k);
            if (!m)
                continue;
            const poisson::LaplacianCell* lap = g.laplacianSlot(band, k);
#pragma GCC unroll 3
            for (int c = 0; c < 3; ++c) {
                const double* x = g.slot(band, k) + c * R;
                const typename Vec::Reg w = Vec::load(x - kSlotDoubles), e = Vec::load(x + kSlotDoubles);
                const typename Vec::Reg n = Vec::north(w, Vec::load(x + above));
                const typename Vec::Reg s = Vec::south(e, Vec::load(x + below));
                const typename Vec::Reg r = Vec::sub(
                    Vec::sub(neighbourSum(n, s, w, e), Vec::mul(four, Vec::load(x))), Vec::laplacian(lap + c * R));
                total = Vec::addMasked(total, m, Vec::abs(r));
            }
        }
        if (Vec::sum(total) > enough)
            break;
    }
    return Vec::sum(total);
}

const poisson::Kernel kKernel {
    Vec::kLanes,
    Vec::kLockstep,
    { &lockstepSweep<1>, &lockstepSweep<2>, &lockstepSweep<3>, &lockstepSweep<4> },
    &residualSum,
};

} // namespace
