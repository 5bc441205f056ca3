#pragma once

// The vector kernels of the fast Poisson solve (internal): one set per
// instruction level, all computing the same bits.

#include "app/pictures/PoissonBands.h"

namespace poisson {

constexpr int kMaxLockstep = 4;

// Sweeps the bands bands[0 .. n) together, slot by slot over [k0, k1): one
// slot of every band, then the next. The bands belong to consecutive sweeps
// one band apart (sweep q on band u, sweep q + 1 on band u - 1, ...), so
// each update still reads the neighbours of the plain order: band u - 1's
// last lane at slot k + lanes - 1 is read by sweep q before sweep q + 1
// reaches it, and band u's lane 0 at slot k - lanes + 1 is read by sweep
// q + 1 after sweep q has updated it. The n bands give n * 3 independent
// dependency chains, enough to keep the floating-point units busy.
using LockstepSweep = void (*)(const BandView& view, const int* bands, int k0, int k1);

// The sum of |N + S + W + E - 4 v - l| over the masked cells of the given
// bands, added in whatever order suits the vectors: the terms are exactly
// the plain solver's, the sum is not (see the residual test). Once the sum
// of the bands so far exceeds `enough`, that sum is returned: the terms are
// never negative, so the whole sum would exceed it too.
using ResidualSum = double (*)(const BandView& view, const int* bands, int count, double enough);

struct Kernel {
    int lanes; // rows per band: doubles per vector
    int lockstep; // how many bands the sweep is fastest with at once (<= kMaxLockstep)
    LockstepSweep sweep[kMaxLockstep]; // sweep[n - 1] takes n bands
    ResidualSum residual;
};

const Kernel& sse2Kernel();
const Kernel& avxKernel();
const Kernel& avx512Kernel();

} // namespace poisson
