#pragma once

#include "imaging/raster/RasterFilter.h"

#include <cstdint>

// Bilinear rows of a picture that is scaled (and perhaps flipped) but neither
// rotated nor sheared: v is constant along a destination row and u depends on
// the column only, so each column's source index and horizontal weight pair is
// worked out once per draw, and each row blends its two source rows vertically
// once per source column (see FNRasterFilter::Bilinear::blendRows for the
// split into hi and lo words that keeps every product within 16 x 16 bits).
//
// The loops come in an SSE2 version and, chosen at run time when the
// processor has them, SSE4.1 versions (four pixels or columns per step, byte
// shuffles and blends in place of shift, mask and pack arithmetic) and AVX2
// versions that handle two pixels per instruction; all compute the same
// integers.

#if defined(__SSE2__)

namespace FNRasterScaleRows {

using FNRasterFilter::BlendedColumn;

// Blends source columns [first, last] of the rows `top` and `bottom` with the
// vertical weights (4096 - fy, fy) into cache[first .. last]:
//   V = top*(4096-fy) + bottom*fy,  cache = (V >> 8 per channel, V & 255 per channel)
void blendRows(
    const uint32_t* top, const uint32_t* bottom, uint32_t fy, int64_t first, int64_t last, BlendedColumn* cache);

// Normal-mode coverage of `count` destination pixels; pixel i samples the
// blended columns index[i] and index[i] + 1 with the weight pair
// weights[i] = fx << 16 | (4096 - fx):
//   S.ch = (H + (L >> 8)) >> 16,  H = hi0*(4096-fx) + hi1*fx,  L = lo0*(4096-fx) + lo1*fx
// A pixel whose weighted alphas sum below 2^24 covers with alpha 0, which
// leaves the destination as skipping it would.
void drawNormalRow(const BlendedColumn* cache, const int32_t* index, const uint32_t* weights, uint32_t* dst,
    int64_t count, int opacity);

} // namespace FNRasterScaleRows

#endif
