#pragma once

// A straightforward per-pixel rasteriser used as the reference in tests: it
// tests every pixel of the update rectangle against the visible region and the
// clipping rectangles, and picks filter and blend mode per pixel. Slow and
// obvious on purpose; the real rasteriser must produce the same buffer.

#include "imaging/FNImage.h"
#include "imaging/raster/FNRaster.h"

#include <algorithm>
#include <cstdint>

namespace RasterReference {

inline int64_t floorDiv4096(int64_t v)
{
    return v >= 0 ? v / 4096 : -((-v + 4095) / 4096);
}

inline int blendChannel(int mode, int s, int d)
{
    switch (mode) {
    case 1:
        return 255 - s;
    case 2:
        return (s * d) >> 8;
    case 3:
        return std::min(255, s + d - ((s * d) >> 8));
    case 4:
        return std::min(s, d);
    case 5:
        return std::max(s, d);
    case 6:
        if (d < 128)
            return std::min(255, (s * d) >> 7);
        return std::clamp(2 * (s + d - ((s * d) >> 8)) - 255, 0, 255);
    case 7:
        return s == 255 ? 255 : std::min(255, (d * 255) / (255 - s));
    case 8:
        return s == 0 ? 0 : std::max(0, 255 + ((d - 255) * 255) / s);
    default:
        return s;
    }
}

inline int channel(uint32_t p, int k)
{
    return (p >> (8 * k)) & 255;
}

inline uint32_t coverPixel(uint32_t d, uint32_t s, int opacity, int mode)
{
    const int a = (channel(s, 3) * opacity) >> 8;
    int c[3];
    for (int k = 0; k < 3; ++k)
        c[k] = blendChannel(mode, channel(s, k), channel(d, k));
    if (a >= 254)
        return uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16 | uint32_t(a) << 24;
    uint32_t out = 0;
    for (int k = 0; k < 3; ++k) {
        const int dc = channel(d, k);
        const int diff = (c[k] - dc) * a;
        const int shifted = diff >= 0 ? diff / 256 : -((-diff + 255) / 256); // floor
        out |= uint32_t(dc + shifted) << (8 * k);
    }
    const int da = channel(d, 3);
    return out | uint32_t(std::min(255, da + a - ((da * a) >> 8))) << 24;
}

// Bilinear (sharp: through the ramps) with outside neighbours' weight given to
// the destination. Returns false when the pixel is skipped.
inline bool sampleBilinear(
    const FNImage& image, int64_t u, int64_t v, uint32_t dst, const int* rampX, const int* rampY, uint32_t& out)
{
    const int64_t ix = floorDiv4096(u), iy = floorDiv4096(v);
    int64_t fx = u - ix * 4096, fy = v - iy * 4096;
    if (rampX) {
        fx = rampX[fx];
        fy = rampY[fy];
    }
    uint64_t sums[4] = {}, outside = 0;
    bool any = false;
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            const uint64_t w = uint64_t(dx ? fx : 4096 - fx) * uint64_t(dy ? fy : 4096 - fy);
            const int64_t px = ix + dx, py = iy + dy;
            if (px < 0 || py < 0 || px >= image.width || py >= image.height) {
                outside += w;
                continue;
            }
            any = true;
            const uint32_t p = image.row(int(py))[px];
            for (int k = 0; k < 4; ++k)
                sums[k] += w * channel(p, k);
        }
    }
    if (!any || sums[3] == 0)
        return false;
    out = 0;
    for (int k = 0; k < 4; ++k)
        out |= uint32_t((sums[k] + outside * channel(dst, k)) >> 24) << (8 * k);
    return true;
}

inline void draw(const FNRasterJob& job)
{
    const FNImage& image = *job.image;
    if (!image.pixels || job.opacity < 1 || job.sampling < 0 || job.sampling > 2)
        return;
    const int mode = job.blendMode >= 0 && job.blendMode <= 8 ? job.blendMode : 0;
    const int64_t reach = job.sampling == 0 ? 0 : 1;
    const int64_t uLow = (std::max(0, job.offsetX) - reach) * 4096;
    const int64_t uHigh = (std::min<int64_t>(int64_t(job.offsetX) + image.width - 1, job.lastX) + reach) * 4096;
    const int64_t vLow = (std::max(0, job.offsetY) - reach) * 4096;
    const int64_t vHigh = (std::min<int64_t>(int64_t(job.offsetY) + image.height - 1, job.lastY) + reach) * 4096;
    int rampX[4096], rampY[4096];
    if (job.sampling == 2) {
        FNRasterSharpRamp(job.scaleX, rampX);
        FNRasterSharpRamp(job.scaleY, rampY);
    }
    for (int y = std::max(0, job.top); y < std::min(job.bottom, job.height); ++y) {
        for (int x = std::max(0, job.left); x < std::min(job.right, job.width); ++x) {
            const int64_t u = job.a * x + job.b * y + job.c, v = job.d * x + job.e * y + job.f;
            if (u < uLow || u > uHigh || v < vLow || v > vHigh)
                continue;
            bool inside = true;
            for (int k = 0; k < job.clipCount; ++k) {
                const FNRasterAxis& axis = job.clips[k];
                const int64_t value = axis.start + axis.stepX * x + axis.stepY * y;
                inside = inside && value >= axis.low && value <= axis.high;
            }
            if (!inside)
                continue;
            uint32_t& dst = job.pixels[int64_t(y) * job.rowLength + x];
            const int64_t pu = u - int64_t(job.offsetX) * 4096, pv = v - int64_t(job.offsetY) * 4096;
            uint32_t s;
            if (job.sampling == 0) {
                s = image.row(int(floorDiv4096(pv)))[floorDiv4096(pu)];
                if ((s >> 24) == 0)
                    continue;
            } else if (!sampleBilinear(image, pu, pv, dst, job.sampling == 2 ? rampX : nullptr,
                           job.sampling == 2 ? rampY : nullptr, s)) {
                continue;
            }
            dst = coverPixel(dst, s, job.opacity, mode);
        }
    }
}

} // namespace RasterReference
