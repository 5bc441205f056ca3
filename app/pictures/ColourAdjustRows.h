#pragma once

// The vector form of the colour adjustment (internal).

#include <cstddef>
#include <cstdint>

// Adjusts pixels (0xAARRGGBB words) eight at a time with the slider offsets
// dh, ds and dv (ds and dv already in 0 .. 255 units), exactly as the
// scalar formulas do. Returns how many it did: count rounded down to a
// multiple of eight. Needs AVX2.
size_t q_AdjustPixelsAvx2(const uint32_t* in, uint32_t* out, size_t count, int dh, int ds, int dv);
