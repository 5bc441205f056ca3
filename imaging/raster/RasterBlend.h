#pragma once

#include "imaging/raster/FNRaster.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The nine blend modes and the coverage step. s is the sampled source
// channel, d the destination channel (both 0..255); the mode's result c is
// then laid over d by cover(). Each mode is a type so that the pixel loops
// are instantiated per mode and hold no mode decision.

namespace FNRasterBlend {

struct Normal {
    static int channel(int s, int) { return s; }
};
struct Invert {
    static int channel(int s, int) { return 255 - s; }
};
struct Multiply {
    static int channel(int s, int d) { return (s * d) >> 8; }
};
struct Screen {
    static int channel(int s, int d) { return std::min(255, s + d - ((s * d) >> 8)); }
};
struct Darken {
    static int channel(int s, int d) { return std::min(s, d); }
};
struct Lighten {
    static int channel(int s, int d) { return std::max(s, d); }
};
struct Overlay {
    // d < 128: (s*d) >> 7; otherwise 2*(s + d - (s*d >> 8)) - 255, limited to 0..255.
    static int channel(int s, int d)
    {
        if (d < 128)
            return std::min(255, (s * d) >> 7);
        return std::clamp(2 * (s + d - ((s * d) >> 8)) - 255, 0, 255);
    }
};
struct ColorDodge {
    static int channel(int s, int d) { return s == 255 ? 255 : std::min(255, (d * 255) / (255 - s)); }
};
struct ColorBurn {
    // 255 + (d - 255)*255/s with the division truncating toward zero.
    static int channel(int s, int d) { return s == 0 ? 0 : std::max(0, 255 + ((d - 255) * 255) / s); }
};

template <int Mode> struct ByIndex;
template <> struct ByIndex<0> {
    using Type = Normal;
};
template <> struct ByIndex<1> {
    using Type = Invert;
};
template <> struct ByIndex<2> {
    using Type = Multiply;
};
template <> struct ByIndex<3> {
    using Type = Screen;
};
template <> struct ByIndex<4> {
    using Type = Darken;
};
template <> struct ByIndex<5> {
    using Type = Lighten;
};
template <> struct ByIndex<6> {
    using Type = Overlay;
};
template <> struct ByIndex<7> {
    using Type = ColorDodge;
};
template <> struct ByIndex<8> {
    using Type = ColorBurn;
};

constexpr int ModeCount = 9;

// Coverage step of sampled pixel s (0xAARRGGBB) over destination d at group
// opacity o:
//   a = (s.alpha * o) >> 8
//   a >= 254:  D = (c, a)                       written directly
//   otherwise: D.c = D.c + (((c - D.c) * a) >> 8)   (arithmetic shift)
//              D.alpha = min(255, D.alpha + a - ((D.alpha * a) >> 8))
template <class Mode> FN_RASTER_INLINE uint32_t cover(uint32_t d, uint32_t s, int opacity)
{
    int a = static_cast<int>((s >> 24) * static_cast<uint32_t>(opacity)) >> 8;
    int d0 = d & 255, d1 = (d >> 8) & 255, d2 = (d >> 16) & 255;
    int c0 = Mode::channel(s & 255, d0);
    int c1 = Mode::channel((s >> 8) & 255, d1);
    int c2 = Mode::channel((s >> 16) & 255, d2);
    if (a >= 254)
        return uint32_t(c0) | uint32_t(c1) << 8 | uint32_t(c2) << 16 | uint32_t(a) << 24;
    int da = d >> 24;
    d0 += ((c0 - d0) * a) >> 8;
    d1 += ((c1 - d1) * a) >> 8;
    d2 += ((c2 - d2) * a) >> 8;
    da = std::min(255, da + a - ((da * a) >> 8));
    return uint32_t(d0) | uint32_t(d1) << 8 | uint32_t(d2) << 16 | uint32_t(da) << 24;
}

#if defined(__SSE2__)
// Normal mode, the common case, with the three colour channels at once. The
// per-channel step floor((c - D.c) * a / 256) is a signed high multiply:
// ((c - D.c) << 7) * (2a) >> 16, exact because (c - D.c) << 7 fits 16 bits.
template <> FN_RASTER_INLINE uint32_t cover<Normal>(uint32_t d, uint32_t s, int opacity)
{
    const uint32_t a = ((s >> 24) * static_cast<uint32_t>(opacity)) >> 8;
    if (a >= 254)
        return (s & 0xFFFFFF) | a << 24;
    const __m128i zero = _mm_setzero_si128();
    const __m128i source = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(s)), zero);
    const __m128i target = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(d)), zero);
    const __m128i step
        = _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(source, target), 7), _mm_set1_epi16(static_cast<short>(2 * a)));
    const __m128i mixed = _mm_add_epi16(target, step);
    const uint32_t colour = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(mixed, mixed))) & 0xFFFFFF;
    const uint32_t da = d >> 24;
    return colour | std::min<uint32_t>(255, da + a - ((da * a) >> 8)) << 24;
}

// The same for two pixels at once. `source` holds both sampled pixels as
// 16-bit channels (blue, green, red, alpha of the first, then of the second),
// `target` both destination pixels as bytes in its low 64 bits. A source alpha
// of 0 leaves the destination as it is, like a skipped pixel.
FN_RASTER_INLINE __m128i coverNormalPair(__m128i target, __m128i source, int opacity)
{
    const __m128i d = _mm_unpacklo_epi8(target, _mm_setzero_si128());
    const __m128i sourceAlpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
    const __m128i a = _mm_srli_epi16(_mm_mullo_epi16(sourceAlpha, _mm_set1_epi16(static_cast<short>(opacity))), 8);
    const __m128i direct = _mm_cmpgt_epi16(a, _mm_set1_epi16(253));
    const __m128i mixed
        = _mm_add_epi16(d, _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(source, d), 7), _mm_slli_epi16(a, 1)));
    const __m128i colour = _mm_or_si128(_mm_and_si128(direct, source), _mm_andnot_si128(direct, mixed));
    const __m128i da = _mm_shufflehi_epi16(_mm_shufflelo_epi16(d, 0xFF), 0xFF);
    const __m128i grown = _mm_min_epi16(
        _mm_set1_epi16(255), _mm_sub_epi16(_mm_add_epi16(da, a), _mm_srli_epi16(_mm_mullo_epi16(da, a), 8)));
    const __m128i alpha = _mm_or_si128(_mm_and_si128(direct, a), _mm_andnot_si128(direct, grown));
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    const __m128i result = _mm_or_si128(_mm_and_si128(alphaLanes, alpha), _mm_andnot_si128(alphaLanes, colour));
    return _mm_packus_epi16(result, result);
}
#endif

} // namespace FNRasterBlend
