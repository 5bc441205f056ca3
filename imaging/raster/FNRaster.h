#pragma once

#include <cstdint>

class FNImage;

// The item rasteriser's pixel engine: draws one picture through an inverse
// affine mapping into a 32-bit buffer, with group opacity, three sampling
// filters and nine blend modes. It knows nothing of items; the scene works out
// the mapping, the visible region and the clipping rectangles and hands them
// over in an FNRasterJob.
//
// Coordinates are fixed point with 12 fractional bits (4096 = one pixel).
// For destination pixel (X, Y) (its top-left corner) the picture position is
//   u = a*X + b*Y + c,   v = d*X + e*Y + f
// in the item's own coordinates. Each destination row is cut once to the
// columns whose (u, v) lie in the visible region and inside every clipping
// rectangle; the per-pixel loops then run without any test of position.

// The per-pixel helpers must fold into the pixel loops, or every pixel pays
// for a call.
#if defined(__GNUC__)
#define FN_RASTER_INLINE inline __attribute__((always_inline))
#else
#define FN_RASTER_INLINE inline
#endif

// How an item's pixels are combined with the buffer: c from the source value
// s and the destination d of each colour channel, then laid over d by the
// pixel's coverage. The numbers are the values items store; any other value
// draws as Normal.
enum FNBlendMode : int {
    FNBlendNormal = 0, // s
    FNBlendInvert = 1, // 255 - s
    FNBlendMultiply = 2, // (s * d) >> 8
    FNBlendScreen = 3, // min(255, s + d - ((s * d) >> 8))
    FNBlendDarken = 4, // min(s, d)
    FNBlendLighten = 5, // max(s, d)
    FNBlendOverlay = 6, // by d: (s * d) >> 7 below 128, else 2 * (s + d - ((s * d) >> 8)) - 255
    FNBlendColorDodge = 7, // s = 255: 255; else min(255, d * 255 / (255 - s))
    FNBlendColorBurn = 8, // s = 0: 0; else max(0, 255 + (d - 255) * 255 / s)
};

// The sampling filter of an item's picture; any other value draws nothing.
enum FNSampling : int {
    FNSamplingNearest = 0,
    FNSamplingBilinear = 1,
    FNSamplingSharpBilinear = 2, // bilinear with flat source pixels when magnified
};

constexpr int FNRasterShift = 12;
constexpr int64_t FNRasterOne = int64_t(1) << FNRasterShift;

// One coordinate of another coordinate system that must lie in [low, high]
// for a pixel to be drawn: value(X, Y) = start + stepX*X + stepY*Y.
struct FNRasterAxis {
    int64_t start = 0;
    int64_t stepX = 0;
    int64_t stepY = 0;
    int64_t low = 0;
    int64_t high = -1;
};

struct FNRasterJob {
    // Destination in the FNImage layout, and the pixels that may be touched
    // (right and bottom exclusive; limited to the buffer by the rasteriser).
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int rowLength = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The picture and where its top-left pixel sits in item coordinates.
    const FNImage* image = nullptr;
    int offsetX = 0;
    int offsetY = 0;

    // Item-local mapping (see above), already in fixed point.
    int64_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;

    // The item's last pixel per axis, trunc(size - 1): the picture is cropped
    // to the item's own rectangle.
    int lastX = 0;
    int lastY = 0;

    int opacity = 255; // effective group opacity, 1..255
    int blendMode = FNBlendNormal; // an FNBlendMode; other values draw as Normal
    int sampling = FNSamplingNearest; // an FNSampling; other values draw nothing
    double scaleX = 1.0; // ramps of the sharp filter
    double scaleY = 1.0;

    // Clipping rectangles of ancestors, two axes each; drawn with the clipped
    // loops when clipCount > 0.
    const FNRasterAxis* clips = nullptr;
    int clipCount = 0;
};

// Draws the job's picture. Does nothing for an empty rectangle, a picture
// without pixels, an unknown sampling filter or opacity below 1.
void FNRasterDraw(const FNRasterJob& job);

// A double in pixels to 12-bit fixed point, truncated toward zero. Values
// beyond +-2^40 pixels (and NaN) are limited so that the integer mapping
// cannot overflow for degenerate transforms.
int64_t FNRasterFixed(double value);

// The sharp filter's ramp for one axis: entry f (a 12-bit fraction) becomes 0
// below T = 4096 - 4096/|scale| and then rises linearly to 4096, so that a
// magnified picture shows flat source pixels with a one-pixel transition.
void FNRasterSharpRamp(double scale, int* table4096);

// The widest instruction set the row loops may use: 0 the SSE2 baseline, 1
// SSE4.1 (with SSSE3), 2 AVX2. The level in effect never exceeds what the
// processor supports; every level draws the same bytes. Returns the level now
// in effect. Tests and benchmarks lower it to run each version of the loops.
int FNRasterSetVectorLevel(int level);
int FNRasterVectorLevel();
