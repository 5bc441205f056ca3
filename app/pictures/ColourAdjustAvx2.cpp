// The colour adjustment eight pixels at a time on AVX2, with the integer
// formulas of ColourAdjust.cpp computed exactly in 32-bit lanes:
// - n / d for the two divisions by a pixel's own value (hue: n <= 255 * 60;
//   saturation: n <= 255 * 255; d <= 255) is the truncated single-precision
//   quotient: n and d convert exactly, and a quotient that is not an
//   integer lies at least 1 / 255 below the next one, far more than the
//   rounding of the division (at most 2^-17 for quotients below 256).
// - Divisions by the constants 255 and 60 are multiplications and shifts
//   that are exact over the numerators that occur: x / 255 = (x * 32897)
//   >> 23 for x <= 65792, x / 60 = (x * 69906) >> 22 for x <= 75000 and,
//   for hues, h / 60 = (h * 1093) >> 16 for h <= 359.
// - Each sector is a permutation of (v, u, p) (see ColourAdjust.cpp),
//   chosen per lane from the sector number with one permute per mask.
#include "app/pictures/ColourAdjustRows.h"

#include <immintrin.h>

#define Q_AVX2 __attribute__((target("avx2")))

namespace {

// Lane masks by sector (0 .. 5): where red, green, blue take v or u.
alignas(32) const int32_t kRedV[8] = { -1, 0, 0, 0, 0, -1, 0, 0 };
alignas(32) const int32_t kRedU[8] = { 0, -1, 0, 0, -1, 0, 0, 0 };
alignas(32) const int32_t kGreenV[8] = { 0, -1, -1, 0, 0, 0, 0, 0 };
alignas(32) const int32_t kGreenU[8] = { -1, 0, 0, -1, 0, 0, 0, 0 };
alignas(32) const int32_t kBlueV[8] = { 0, 0, 0, -1, -1, 0, 0, 0 };
alignas(32) const int32_t kBlueU[8] = { 0, 0, -1, 0, 0, -1, 0, 0 };

struct Lanes {
    __m256i redV, redU, greenV, greenU, blueV, blueU;
    __m256i dh, absDs, dv;
    bool dsNegative;
};

Q_AVX2 inline __m256i load(const int32_t* p)
{
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
}

Q_AVX2 inline __m256i splat(int v)
{
    return _mm256_set1_epi32(v);
}

// trunc(n / d) for 0 <= n <= 65025 and 1 <= d <= 255.
Q_AVX2 inline __m256i divide(__m256i n, __m256i d)
{
    return _mm256_cvttps_epi32(_mm256_div_ps(_mm256_cvtepi32_ps(n), _mm256_cvtepi32_ps(d)));
}

// x / 255 for 0 <= x <= 65025.
Q_AVX2 inline __m256i div255(__m256i x)
{
    return _mm256_srli_epi32(_mm256_mullo_epi32(x, splat(32897)), 23);
}

Q_AVX2 inline __m256i pick(__m256i ifFalse, __m256i ifTrue, __m256i mask)
{
    return _mm256_blendv_epi8(ifFalse, ifTrue, mask);
}

// One channel of the result: v, u or p by the sector's masks, plus the value
// offset, limited to 0 .. 255.
Q_AVX2 inline __m256i channel(
    __m256i sector, __m256i masksV, __m256i masksU, __m256i v, __m256i u, __m256i p, const Lanes& k)
{
    const __m256i isV = _mm256_permutevar8x32_epi32(masksV, sector);
    const __m256i isU = _mm256_permutevar8x32_epi32(masksU, sector);
    const __m256i c = _mm256_add_epi32(pick(pick(p, u, isU), v, isV), k.dv);
    return _mm256_min_epi32(_mm256_max_epi32(c, _mm256_setzero_si256()), splat(255));
}

// (h, s, v) of eight pixels, as q_RGBToHSV computes them.
Q_AVX2 inline void toHSV(__m256i r, __m256i g, __m256i b, __m256i& h, __m256i& s, __m256i& v)
{
    v = _mm256_max_epi32(_mm256_max_epi32(r, g), b);
    const __m256i d = _mm256_sub_epi32(v, _mm256_min_epi32(_mm256_min_epi32(r, g), b));
    const __m256i redMax = _mm256_cmpeq_epi32(r, v);
    const __m256i greenMax = _mm256_andnot_si256(redMax, _mm256_cmpeq_epi32(g, v));
    const __m256i numerator
        = pick(pick(_mm256_sub_epi32(r, g), _mm256_sub_epi32(b, r), greenMax), _mm256_sub_epi32(g, b), redMax);
    const __m256i start = pick(pick(splat(240), splat(120), greenMax), _mm256_setzero_si256(), redMax);
    // Grey pixels (d = 0) and black ones (v = 0) divide 0 by 1.
    const __m256i one = splat(1);
    const __m256i quotient
        = divide(_mm256_mullo_epi32(_mm256_abs_epi32(numerator), splat(60)), _mm256_max_epi32(d, one));
    h = _mm256_add_epi32(start, _mm256_sign_epi32(quotient, numerator));
    h = _mm256_add_epi32(h, _mm256_and_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), h), splat(360)));
    s = divide(_mm256_mullo_epi32(d, splat(255)), _mm256_max_epi32(v, one));
}

Q_AVX2 inline __m256i adjustEight(__m256i pixels, const Lanes& k)
{
    const __m256i byte = splat(0xFF);
    const __m256i b = _mm256_and_si256(pixels, byte);
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(pixels, 8), byte);
    const __m256i r = _mm256_and_si256(_mm256_srli_epi32(pixels, 16), byte);
    __m256i h, s, v;
    toHSV(r, g, b, h, s, v);
    // s' = s + ds s / 255 (truncated toward zero), limited to 0 .. 255
    const __m256i change = div255(_mm256_mullo_epi32(s, k.absDs));
    s = k.dsNegative ? _mm256_max_epi32(_mm256_sub_epi32(s, change), _mm256_setzero_si256())
                     : _mm256_min_epi32(_mm256_add_epi32(s, change), byte);
    // h' = h + dh, wrapped into 0 .. 359
    h = _mm256_add_epi32(h, k.dh);
    h = _mm256_sub_epi32(h, _mm256_and_si256(_mm256_cmpgt_epi32(h, splat(359)), splat(360)));
    h = _mm256_add_epi32(h, _mm256_and_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), h), splat(360)));
    const __m256i sector = _mm256_srli_epi32(_mm256_mullo_epi32(h, splat(1093)), 16);
    const __m256i f = _mm256_sub_epi32(h, _mm256_mullo_epi32(sector, splat(60)));
    const __m256i odd = _mm256_cmpeq_epi32(_mm256_and_si256(sector, splat(1)), splat(1));
    const __m256i ff = pick(_mm256_sub_epi32(splat(60), f), f, odd);
    // u = (255 - s ff / 60) v / 255, p = (255 - s) v / 255
    const __m256i sf60 = _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_mullo_epi32(s, ff), splat(69906)), 22);
    const __m256i u = div255(_mm256_mullo_epi32(_mm256_sub_epi32(byte, sf60), v));
    const __m256i p = div255(_mm256_mullo_epi32(_mm256_sub_epi32(byte, s), v));
    const __m256i red = channel(sector, k.redV, k.redU, v, u, p, k);
    const __m256i green = channel(sector, k.greenV, k.greenU, v, u, p, k);
    const __m256i blue = channel(sector, k.blueV, k.blueU, v, u, p, k);
    const __m256i alpha = _mm256_andnot_si256(splat(0x00FFFFFF), pixels);
    return _mm256_or_si256(
        _mm256_or_si256(alpha, _mm256_slli_epi32(red, 16)), _mm256_or_si256(_mm256_slli_epi32(green, 8), blue));
}

} // namespace

Q_AVX2 size_t q_AdjustPixelsAvx2(const uint32_t* in, uint32_t* out, size_t count, int dh, int ds, int dv)
{
    Lanes k;
    k.redV = load(kRedV), k.redU = load(kRedU);
    k.greenV = load(kGreenV), k.greenU = load(kGreenU);
    k.blueV = load(kBlueV), k.blueU = load(kBlueU);
    k.dh = splat(dh), k.absDs = splat(ds < 0 ? -ds : ds), k.dv = splat(dv);
    k.dsNegative = ds < 0;
    size_t n = 0;
    for (; n + 8 <= count; n += 8) {
        const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + n));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + n), adjustEight(pixels, k));
    }
    return n;
}
