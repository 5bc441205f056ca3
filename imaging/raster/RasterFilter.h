#pragma once

#include "imaging/raster/FNRaster.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The sampling filters. u and v are picture-relative 12-bit fixed-point
// positions (the picture offset is already taken out). A filter's sample()
// returns false when the pixel is to be left alone. Each filter is a type so
// that the pixel loops are instantiated per filter.

namespace FNRasterFilter {

// The per-row span is split into pieces that need different sampling: the
// nearest filter has one kind; the bilinear filters have an edge kind (some
// neighbours may lie outside the picture) and an interior kind (all four
// neighbours inside, no tests).
enum Piece { Plain, Edge, Interior };

struct Picture {
    const uint32_t* pixels;
    int64_t width;
    int64_t height;
    uint32_t at(int64_t x, int64_t y) const { return pixels[y * width + x]; }
};

// Nearest: picture pixel (u >> 12, v >> 12); transparent pixels are skipped.
struct Nearest {
    static constexpr bool HasInterior = false;
    Picture picture;

    template <Piece> FN_RASTER_INLINE bool sample(int64_t u, int64_t v, uint32_t, uint32_t& out) const
    {
        uint32_t s = picture.at(u >> FNRasterShift, v >> FNRasterShift);
        out = s;
        return (s >> 24) != 0;
    }
};

// Bilinear, and with Sharp the sharp bilinear filter (fractions first pass
// through the per-axis ramps). With fx = u & 4095, fy = v & 4095 the weights
//   (4096-fx)(4096-fy), fx(4096-fy), (4096-fx)fy, fx*fy   (sum 2^24)
// go to the four neighbours; a neighbour outside the picture gives its weight
// to the destination pixel instead:
//   S.ch = (sum(w * neighbour.ch) + Wout * D.ch) >> 24, alpha likewise.
// The pixel is skipped when no neighbour is inside or the inside neighbours'
// weighted alphas sum to 0.
#if defined(__SSE2__)
// One source column blended vertically (see Bilinear::blendRows).
struct BlendedColumn {
    __m128i words;
};
#endif

template <bool Sharp> struct Bilinear {
    static constexpr bool HasInterior = true;
    Picture picture;
    const int* rampX = nullptr;
    const int* rampY = nullptr;

    FN_RASTER_INLINE uint32_t fractionX(int64_t u) const { return Sharp ? rampX[u & 4095] : uint32_t(u & 4095); }
    FN_RASTER_INLINE uint32_t fractionY(int64_t v) const { return Sharp ? rampY[v & 4095] : uint32_t(v & 4095); }

    template <Piece P> FN_RASTER_INLINE bool sample(int64_t u, int64_t v, uint32_t dst, uint32_t& out) const
    {
        if constexpr (P == Interior)
            return sampleInterior(u, v, out);
        else
            return sampleEdge(u, v, dst, out);
    }

    FN_RASTER_INLINE bool sampleInterior(int64_t u, int64_t v, uint32_t& out) const
    {
        const uint32_t fx = fractionX(u), fy = fractionY(v);
        const uint32_t* p = picture.pixels + (v >> FNRasterShift) * picture.width + (u >> FNRasterShift);
#if defined(__SSE2__)
        // Separable form of the same sum, exact in 16 x 16 -> 32-bit multiplies:
        //   row = c0*(4096-fx) + c1*fx                 (<= 2^20, per channel and row)
        //   row = hi*256 + lo with hi <= 4095, lo <= 255
        //   H = hi_top*(4096-fy) + hi_bottom*fy,  L = lo_top*(4096-fy) + lo_bottom*fy
        //   sum >> 24 = (H*256 + L) >> 24 = (H + (L >> 8)) >> 16
        const __m128i zero = _mm_setzero_si128();
        const __m128i weightsX = _mm_set1_epi32(static_cast<int>(fx << 16 | (4096 - fx)));
        const __m128i weightsY = _mm_set1_epi32(static_cast<int>(fy << 16 | (4096 - fy)));
        const __m128i top = _mm_madd_epi16(
            _mm_unpacklo_epi8(
                _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p[0])), _mm_cvtsi32_si128(static_cast<int>(p[1]))),
                zero),
            weightsX);
        const uint32_t* q = p + picture.width;
        const __m128i bottom = _mm_madd_epi16(
            _mm_unpacklo_epi8(
                _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(q[0])), _mm_cvtsi32_si128(static_cast<int>(q[1]))),
                zero),
            weightsX);
        const __m128i low8 = _mm_set1_epi32(255);
        const __m128i high = _mm_madd_epi16(
            _mm_or_si128(_mm_srli_epi32(top, 8), _mm_slli_epi32(_mm_srli_epi32(bottom, 8), 16)), weightsY);
        const __m128i low = _mm_madd_epi16(
            _mm_or_si128(_mm_and_si128(top, low8), _mm_slli_epi32(_mm_and_si128(bottom, low8), 16)), weightsY);
        return packWeightedSums(high, low, out);
#else
        const uint32_t p00 = p[0], p10 = p[1], p01 = p[picture.width], p11 = p[picture.width + 1];
        const uint32_t w00 = (4096 - fx) * (4096 - fy), w10 = fx * (4096 - fy);
        const uint32_t w01 = (4096 - fx) * fy, w11 = fx * fy;
        const uint32_t alpha = w00 * (p00 >> 24) + w10 * (p10 >> 24) + w01 * (p01 >> 24) + w11 * (p11 >> 24);
        if (alpha == 0)
            return false;
        uint32_t result = (alpha >> 24) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            const uint32_t sum = w00 * ((p00 >> shift) & 255) + w10 * ((p10 >> shift) & 255)
                + w01 * ((p01 >> shift) & 255) + w11 * ((p11 >> shift) & 255);
            result |= (sum >> 24) << shift;
        }
        out = result;
        return true;
#endif
    }

#if defined(__SSE2__)
    // Rows along which v does not change (no rotation or shear): the two
    // source rows are blended vertically once per source column, and each
    // destination pixel then needs only the horizontal step. Same sum as
    // sampleInterior, in the other order:
    //   V = top*(4096-fy) + bottom*fy  (<= 2^20),  V = hi*256 + lo
    //   H = hi0*(4096-fx) + hi1*fx,  L = lo0*(4096-fx) + lo1*fx
    //   sum >> 24 = (H + (L >> 8)) >> 16
    // Each column holds its hi (low four words) and lo (high four words).
    void blendRows(int64_t v, int64_t first, int64_t last, BlendedColumn* cache) const
    {
        const uint32_t fy = fractionY(v);
        const __m128i zero = _mm_setzero_si128();
        const __m128i weightsY = _mm_set1_epi32(static_cast<int>(fy << 16 | (4096 - fy)));
        const __m128i low8 = _mm_set1_epi32(255);
        const uint32_t* top = picture.pixels + (v >> FNRasterShift) * picture.width;
        const uint32_t* bottom = top + picture.width;
        auto store = [&](int64_t x, __m128i pairs) {
            const __m128i blended = _mm_madd_epi16(pairs, weightsY);
            cache[x - first].words = _mm_packs_epi32(_mm_srli_epi32(blended, 8), _mm_and_si128(blended, low8));
        };
        int64_t x = first;
        for (; x < last; x += 2) { // two columns per load
            const __m128i interleaved = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top + x)),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottom + x)));
            store(x, _mm_unpacklo_epi8(interleaved, zero));
            store(x + 1, _mm_unpackhi_epi8(interleaved, zero));
        }
        if (x == last) {
            store(x,
                _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(top[x])),
                                      _mm_cvtsi32_si128(static_cast<int>(bottom[x]))),
                    zero));
        }
    }

    // The four 32-bit channel sums >> 24 of one pixel from the column cache.
    FN_RASTER_INLINE __m128i blendedSums(int64_t u, const BlendedColumn* cache) const
    {
        const uint32_t fx = fractionX(u);
        const __m128i weightsX = _mm_set1_epi32(static_cast<int>(fx << 16 | (4096 - fx)));
        const __m128i left = cache[0].words, right = cache[1].words;
        const __m128i high = _mm_madd_epi16(_mm_unpacklo_epi16(left, right), weightsX);
        const __m128i low = _mm_madd_epi16(_mm_unpackhi_epi16(left, right), weightsX);
        return _mm_srli_epi32(_mm_add_epi32(high, _mm_srli_epi32(low, 8)), 16);
    }

    // Two pixels as 16-bit channels; a pixel whose weighted alphas sum to 0
    // comes out with alpha 0.
    FN_RASTER_INLINE __m128i sampleBlendedPair(int64_t u0, int64_t u1, int64_t first, const BlendedColumn* cache) const
    {
        return _mm_packs_epi32(blendedSums(u0, cache + ((u0 >> FNRasterShift) - first)),
            blendedSums(u1, cache + ((u1 >> FNRasterShift) - first)));
    }

    FN_RASTER_INLINE bool sampleBlendedRow(int64_t u, const BlendedColumn* cache, uint32_t& out) const
    {
        const uint32_t fx = fractionX(u);
        return sampleBlendedColumns(fx << 16 | (4096 - fx), cache, out);
    }

    // The pixel from the four channel sums S = H*256 + L held as their high
    // (H) and low (L) parts: (H + (L >> 8)) >> 16 per channel, packed to
    // bytes. False when the weighted alpha sum is zero, which happens exactly
    // when both its parts are.
    static FN_RASTER_INLINE bool packWeightedSums(__m128i high, __m128i low, uint32_t& out)
    {
        if (_mm_cvtsi128_si32(_mm_srli_si128(_mm_or_si128(high, low), 12)) == 0)
            return false;
        __m128i sum = _mm_srli_epi32(_mm_add_epi32(high, _mm_srli_epi32(low, 8)), 16);
        sum = _mm_packs_epi32(sum, sum);
        out = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
        return true;
    }

    // One pixel from blended columns cache[0] and cache[1] with the horizontal
    // weight pair fx << 16 | (4096 - fx).
    static FN_RASTER_INLINE bool sampleBlendedColumns(uint32_t weights, const BlendedColumn* cache, uint32_t& out)
    {
        const __m128i weightsX = _mm_set1_epi32(static_cast<int>(weights));
        const __m128i left = cache[0].words, right = cache[1].words;
        const __m128i high = _mm_madd_epi16(_mm_unpacklo_epi16(left, right), weightsX);
        const __m128i low = _mm_madd_epi16(_mm_unpackhi_epi16(left, right), weightsX);
        return packWeightedSums(high, low, out);
    }
#endif

    bool sampleEdge(int64_t u, int64_t v, uint32_t dst, uint32_t& out) const
    {
        const uint32_t fx = fractionX(u), fy = fractionY(v);
        const int64_t ix = u >> FNRasterShift, iy = v >> FNRasterShift;
        const uint32_t weights[4] = { (4096 - fx) * (4096 - fy), fx * (4096 - fy), (4096 - fx) * fy, fx * fy };
        uint32_t sums[4] = { 0, 0, 0, 0 }; // blue, green, red, alpha
        uint32_t outside = 0;
        bool any = false;
        for (int k = 0; k < 4; ++k) {
            const int64_t x = ix + (k & 1), y = iy + (k >> 1);
            if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
                outside += weights[k];
                continue;
            }
            any = true;
            const uint32_t p = picture.at(x, y);
            for (int ch = 0; ch < 4; ++ch)
                sums[ch] += weights[k] * ((p >> (8 * ch)) & 255);
        }
        if (!any || sums[3] == 0)
            return false;
        uint32_t result = 0;
        for (int ch = 0; ch < 4; ++ch)
            result |= ((sums[ch] + outside * ((dst >> (8 * ch)) & 255)) >> 24) << (8 * ch);
        out = result;
        return true;
    }
};

} // namespace FNRasterFilter
