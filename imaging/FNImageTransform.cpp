// Scale and rotate: a bilinear resample through the inverse map, stepped in
// fixed point with 10 fractional bits (1024 = one source pixel).
#include "imaging/FNImage.h"
#include "imaging/codecs/ImageLimits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr double kPi = 3.141592; // the program's own pi, kept for identical output
constexpr uint32_t kTransparentWhite = 0x00FFFFFF;

struct Extent {
    double minX, maxX, minY, maxY;
};

Extent mappedCorners(int w, int h, double a, double b, double c, double d)
{
    const double xs[4] = { 0, double(w - 1), 0, double(w - 1) };
    const double ys[4] = { 0, 0, double(h - 1), double(h - 1) };
    Extent e { 1e300, -1e300, 1e300, -1e300 };
    for (int k = 0; k < 4; ++k) {
        const double x = a * xs[k] + b * ys[k];
        const double y = c * xs[k] + d * ys[k];
        e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
        e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
    }
    return e;
}

// Bilinear sample at fixed-point (u, v). Interior samples use all four
// neighbours, whose weights add up to exactly 1 << 20. At the border the
// neighbours outside are left out: colours are renormalised by the used
// weights, alpha is not, so it fades out across the outermost ring.
inline uint32_t sample(const uint8_t* src, int w, int h, int u, int v)
{
    const int ix = u >> 10, iy = v >> 10;
    const int fx = u - ix * 1024, fy = v - iy * 1024;
    const int wt[4] = { (1024 - fx) * (1024 - fy), fx * (1024 - fy), (1024 - fx) * fy, fx * fy };
    if (ix >= 0 && iy >= 0 && ix < w - 1 && iy < h - 1) {
        const uint8_t* p0 = src + (static_cast<size_t>(iy) * w + ix) * 4;
        const uint8_t* p1 = p0 + static_cast<size_t>(w) * 4;
        uint32_t out = 0;
        for (int c = 0; c < 4; ++c) {
            const int s = wt[0] * p0[c] + wt[1] * p0[c + 4] + wt[2] * p1[c] + wt[3] * p1[c + 4];
            out |= static_cast<uint32_t>(s >> 20) << (8 * c);
        }
        return out;
    }
    int sum[4] = { 0, 0, 0, 0 };
    int used = 0;
    for (int k = 0; k < 4; ++k) {
        const int x = ix + (k & 1), y = iy + (k >> 1);
        if (x < 0 || y < 0 || x >= w || y >= h)
            continue;
        const uint8_t* p = src + (static_cast<size_t>(y) * w + x) * 4;
        for (int c = 0; c < 4; ++c)
            sum[c] += wt[k] * p[c];
        used += wt[k];
    }
    if (used < 1)
        return kTransparentWhite;
    return static_cast<uint32_t>(sum[0] / used) | static_cast<uint32_t>(sum[1] / used) << 8
        | static_cast<uint32_t>(sum[2] / used) << 16 | static_cast<uint32_t>(sum[3] >> 20) << 24;
}

} // namespace

bool FNImage::transform(int newWidth, int newHeight, double angleDegrees)
{
    if (newWidth == width && newHeight == height && angleDegrees == 0)
        return true;
    if (!pixels)
        return false;
    created = false;
    const double sx = double(newWidth) / width, sy = double(newHeight) / height;
    const double theta = angleDegrees * kPi / 180.0;
    const double cs = std::cos(theta), sn = std::sin(theta);

    // Forward map x' = sx cos x - sy sin y, y' = sx sin x + sy cos y.
    const Extent e = mappedCorners(width, height, sx * cs, -sy * sn, sx * sn, sy * cs);
    if (!pictureSizeAcceptable(e.maxX - e.minX + 2, e.maxY - e.minY + 2)) {
        created = true;
        return false;
    }
    const int outW = std::max(static_cast<int>(e.maxX - e.minX + 2), 1);
    const int outH = std::max(static_cast<int>(e.maxY - e.minY + 2), 1);

    // Inverse map about the centres: output (0.5 outW, 0.5 outH) is source
    // (0.5 W, 0.5 H); the increments are the inverse matrix entries.
    const double iux = cs / sx, iuy = sn / sx, ivx = -sn / sy, ivy = cs / sy;
    const double cx = 0.5 * outW, cy = 0.5 * outH;
    const double u0 = 0.5 * width + iux * (0 - cx) + iuy * (0 - cy);
    const double v0 = 0.5 * height + ivx * (0 - cx) + ivy * (0 - cy);
    const int duX = static_cast<int>(iux * 1024), duY = static_cast<int>(iuy * 1024);
    const int dvX = static_cast<int>(ivx * 1024), dvY = static_cast<int>(ivy * 1024);

    std::unique_ptr<uint32_t[]> out(new uint32_t[static_cast<size_t>(outW) * outH]);
    int rowU = static_cast<int>(u0 * 1024), rowV = static_cast<int>(v0 * 1024);
    for (int j = 0; j < outH; ++j, rowU += duY, rowV += dvY) {
        uint32_t* dst = out.get() + static_cast<size_t>(j) * outW;
        int u = rowU, v = rowV;
        for (int i = 0; i < outW; ++i, u += duX, v += dvX)
            dst[i] = sample(pixels, width, height, u, v);
    }

    if (outW != width || outH != height)
        resize(outW, outH);
    std::memcpy(pixels, out.get(), byteCount());
    created = true;
    return true;
}
