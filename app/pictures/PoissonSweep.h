#pragma once

// The order of the fast Poisson solve's sweeps (internal).

#include "app/pictures/PoissonBands.h"
#include "app/pictures/PoissonKernels.h"

namespace poisson {

// How the sweeps are spread over time and threads. Neither changes a bit
// of the result.
struct SweepPlan {
    // Consecutive sweeps one thread keeps in flight over the bands, so that
    // each band is fetched from memory once for all of them.
    int inFlight = 1;
    int threads = 1;
    // Whether the solve may drop to one thread when its threads keep
    // waiting for each other.
    bool adaptive = false;
};

// The relaxation of a filled grid: sweep 0, then up to twenty groups of 50
// sweeps, with the residual test after sweep 0 and after each group.
// Returns the sweep count the plain solver would log.
int relaxBands(const Bands& bands, const Kernel& kernel, const SweepPlan& plan, double tau);

} // namespace poisson
