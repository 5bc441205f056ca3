#pragma once

// The grid of the fast Poisson solve laid out for vector sweeps (internal).

#include "app/pictures/PoissonGrid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class FNImage;
class q_LaplacianImage;

namespace poisson {

// How the grid stores a cell's Laplacian: an integer, converted to double
// by one instruction with its load (16 bits would do, but take two).
using LaplacianCell = int32_t;

// The clipped rectangle plus its one-cell border, (cw + 2) x (ch + 2) cells,
// is cut into bands of `lanes` rows (band b holds rows b * lanes + r, r = 0 ..
// lanes - 1, so the top border row is band 0's lane 0). Within a band, slot
// k holds the band's diagonal t = k - lanes: for each channel one vector of
// `lanes` doubles whose lane r is the cell (column t - r, row b * lanes + r).
// A plain sweep's neighbours of lane r at slot k are then
//   west  = lane r at slot k - 1 (already updated this sweep),
//   east  = lane r at slot k + 1 (not yet),
//   north = lane r - 1 at slot k - 1, or for lane 0 the band above's last
//           lane at slot k + lanes - 1 (updated),
//   south = lane r + 1 at slot k + 1, or for the last lane the band below's
//           lane 0 at slot k - lanes + 1 (not yet),
// so a vector of one slot is `lanes` independent updates that each read
// exactly what the row-by-row sweep reads, and a band is swept by walking its
// slots left to right. Lanes that fall outside the grid are zero padding and
// never masked; an empty band above the first and below the last keeps every
// neighbour load inside the block.
//
// Per cell the block holds 24 bytes of values, 12 of Laplacian (an integer of
// -1020 .. 1020 per channel) and one mask bit.
struct BandView {
    int lanes = 0;
    int slots = 0; // per band
    int bandCount = 0; // bands holding grid rows 0 .. ch
    ptrdiff_t bandDoubles = 0; // slots * 3 * lanes
    double* values = nullptr; // band 0, slot 0 (band -1 lies before it)
    const LaplacianCell* laplacian = nullptr; // same layout as the values, without the empty bands
    const uint8_t* mask = nullptr; // one byte per band slot: bit r set when lane r is updated
    const int* firstSlot = nullptr; // per band: the first and one past the last slot with a masked lane
    const int* endSlot = nullptr;

    double* slot(int band, int k) const { return values + band * bandDoubles + static_cast<ptrdiff_t>(k) * 3 * lanes; }
    const LaplacianCell* laplacianSlot(int band, int k) const
    {
        return laplacian + band * bandDoubles + static_cast<ptrdiff_t>(k) * 3 * lanes;
    }
    const uint8_t* maskSlot(int band, int k) const { return mask + static_cast<ptrdiff_t>(band) * slots + k; }
    // Channel c of grid cell (i, j).
    double& cell(int i, int j, int c) const
    {
        const int band = j / lanes, r = j % lanes;
        return slot(band, i + r + lanes)[c * lanes + r];
    }
};

// A filled grid: the view, the bands with masked cells (top to bottom) and
// their number of masked cells.
struct Bands {
    BandView view;
    int cw = 0, ch = 0;
    std::vector<int> active;
    std::vector<int> firstSlot, endSlot;
    long long maskedCells = 0;
    // False when a Laplacian value is not an integer of int32_t range (the
    // Laplacian of a picture always is); the grid is then unusable.
    bool exact = true;
};

// Lays out the solve of the clipped rectangle in the process-wide work
// block: canvas values, border copies, Laplacian and mask, as the solver's
// fill step describes them. `threads` share the bands.
void fillBands(Bands& bands, int lanes, const Clip& clip, int ox, int oy, const q_LaplacianImage& laplacian,
    const FNImage& canvas, const FNImage& part, int threads);

// Writes the rounded values of the clipped rectangle into `output` (and the
// raw doubles, row by row, channels 0, 1, 2, into `solution` when given).
// `threads` share the rows.
void writeBands(const Bands& bands, const Clip& clip, FNImage& output, std::vector<double>* solution, int threads);

// The sum of |N + S + W + E - 4 v - l| over the masked cells and channels,
// added in row order, channel 0, 1, 2 within a cell: the residual exactly as
// the plain solver adds it.
double exactResidualSum(const Bands& bands);

// The process-wide work block's capacity in grid cells (see PoissonSolver.h).
size_t workCapacityCells();

} // namespace poisson
