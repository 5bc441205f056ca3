// Scale and rotate: a bilinear resample through the inverse map, stepped in
// fixed point with 10 fractional bits (1024 = one source pixel).
#include "imaging/FNImage.h"
#include "imaging/FixedPointSpan.h"
#include "imaging/codecs/ImageLimits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Bilinear weights of the four neighbours at fixed-point (u, v).
struct Bilinear {
    int ix, iy, w00, w01, w10, w11;
    Bilinear(int u, int v)
    {
        ix = u >> 10, iy = v >> 10;
        const int fx = u - ix * 1024, fy = v - iy * 1024;
        w00 = (1024 - fx) * (1024 - fy), w01 = fx * (1024 - fy);
        w10 = (1024 - fx) * fy, w11 = fx * fy;
    }
};

// All four neighbours inside: their weights add up to exactly 1 << 20, so
// the renormalising division is a shift. Evaluated separably, which is the
// same integer sum: each row pair is blended with (1024 - fx, fx), then the
// two rows with (1024 - fy, fy). The row sums need 18 bits, so the second
// step splits them into a high part (>> 8) and the low 8 bits to stay within
// 16-bit multiply-add lanes.
#if defined(__SSE2__)
inline uint32_t sampleInterior(const uint32_t* src, int w, int u, int v)
{
    const int ix = u >> 10, iy = v >> 10;
    const int fx = u - ix * 1024, fy = v - iy * 1024;
    const uint32_t* p = src + static_cast<size_t>(iy) * w + ix;
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    const __m128i bottom = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + w));
    // Bytes b0 b1 g0 g1 r0 r1 a0 a1 of each row, widened to 16 bits.
    const __m128i pairs = _mm_unpacklo_epi64(
        _mm_unpacklo_epi8(top, _mm_srli_si128(top, 4)), _mm_unpacklo_epi8(bottom, _mm_srli_si128(bottom, 4)));
    const __m128i wx = _mm_set1_epi32((1024 - fx) | fx << 16);
    const __m128i rowTop = _mm_madd_epi16(_mm_unpacklo_epi8(pairs, zero), wx);
    const __m128i rowBottom = _mm_madd_epi16(_mm_unpackhi_epi8(pairs, zero), wx);
    const __m128i wy = _mm_set1_epi32((1024 - fy) | fy << 16);
    const __m128i low8 = _mm_set1_epi32(255);
    const __m128i high
        = _mm_madd_epi16(_mm_or_si128(_mm_srli_epi32(rowTop, 8), _mm_slli_epi32(_mm_srli_epi32(rowBottom, 8), 16)), wy);
    const __m128i low = _mm_madd_epi16(
        _mm_or_si128(_mm_and_si128(rowTop, low8), _mm_slli_epi32(_mm_and_si128(rowBottom, low8), 16)), wy);
    const __m128i sum = _mm_add_epi32(_mm_slli_epi32(high, 8), low);
    const __m128i channels = _mm_srli_epi32(sum, 20);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(channels, zero), zero)));
}
#else
inline uint32_t sampleInterior(const uint32_t* src, int w, int u, int v)
{
    const int ix = u >> 10, iy = v >> 10;
    const int fx = u - ix * 1024, fy = v - iy * 1024;
    const int weights[4] = { (1024 - fx) * (1024 - fy), fx * (1024 - fy), (1024 - fx) * fy, fx * fy };
    const uint32_t* p = src + static_cast<size_t>(iy) * w + ix;
    const uint32_t near[4] = { p[0], p[1], p[w], p[w + 1] };
    uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        int sum = 0;
        for (int k = 0; k < 4; ++k)
            sum += weights[k] * static_cast<int>((near[k] >> (8 * c)) & 0xFF);
        out |= static_cast<uint32_t>(sum >> 20) << (8 * c);
    }
    return out;
}
#endif

// Near or beyond the border the neighbours outside are left out: colours
// are renormalised by the used weights, alpha is not, so it fades out
// across the outermost ring. No neighbour inside gives transparent white.
inline uint32_t sampleBorder(const uint32_t* src, int w, int h, int u, int v)
{
    const Bilinear b(u, v);
    const int weights[4] = { b.w00, b.w01, b.w10, b.w11 };
    int sum[4] = { 0, 0, 0, 0 };
    int used = 0;
    for (int k = 0; k < 4; ++k) {
        const int x = b.ix + (k & 1), y = b.iy + (k >> 1);
        if (x < 0 || y < 0 || x >= w || y >= h)
            continue;
        const uint32_t p = src[static_cast<size_t>(y) * w + x];
        for (int c = 0; c < 4; ++c)
            sum[c] += weights[k] * static_cast<int>((p >> (8 * c)) & 0xFF);
        used += weights[k];
    }
    if (used < 1)
        return kTransparentWhite;
    return static_cast<uint32_t>(sum[0] / used) | static_cast<uint32_t>(sum[1] / used) << 8
        | static_cast<uint32_t>(sum[2] / used) << 16 | static_cast<uint32_t>(sum[3] >> 20) << 24;
}

// One output row in five segments: transparent white where no neighbour
// is inside, border samples, interior samples, border samples, transparent
// white. Each pixel gets exactly what the per-pixel rule gives it.
void resampleRow(uint32_t* dst, int outW, const uint32_t* src, int w, int h, int u, int v, int du, int dv)
{
    int outerFirst = 0, outerLast = outW;
    FNFixedPointSpan::cutSpan(u, du, -1024, int64_t(w) * 1024 - 1, outerFirst, outerLast);
    FNFixedPointSpan::cutSpan(v, dv, -1024, int64_t(h) * 1024 - 1, outerFirst, outerLast);
    int first = outerFirst, last = outerLast;
    FNFixedPointSpan::cutSpan(u, du, 0, int64_t(w - 1) * 1024 - 1, first, last);
    FNFixedPointSpan::cutSpan(v, dv, 0, int64_t(h - 1) * 1024 - 1, first, last);
    if (first == last)
        first = last = outerLast;

    std::fill(dst, dst + outerFirst, kTransparentWhite);
    int i = outerFirst;
    u += du * i, v += dv * i;
    for (; i < first; ++i, u += du, v += dv)
        dst[i] = sampleBorder(src, w, h, u, v);
    for (; i < last; ++i, u += du, v += dv)
        dst[i] = sampleInterior(src, w, u, v);
    for (; i < outerLast; ++i, u += du, v += dv)
        dst[i] = sampleBorder(src, w, h, u, v);
    std::fill(dst + outerLast, dst + outW, kTransparentWhite);
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

    // Positions are whole-number sums (start + i * step along a row, plus
    // j * step down the rows), stepped incrementally.
    FNImage result;
    result.create(outW, outH);
    int rowU = static_cast<int>(u0 * 1024), rowV = static_cast<int>(v0 * 1024);
    for (int j = 0; j < outH; ++j, rowU += duY, rowV += dvY)
        resampleRow(result.row(j), outW, row(0), width, height, rowU, rowV, duX, dvX);
    // The result is computed straight into its own buffer (every pixel is
    // written), which then replaces this picture's buffer.
    std::swap(pixels, result.pixels);
    std::swap(width, result.width);
    std::swap(height, result.height);
    created = true;
    return true;
}
