#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define ROWCONVERSION_SSSE3 1
#endif

// Conversions between picture pixels (32-bit words 0xAARRGGBB, i.e. bytes
// B, G, R, A) and the byte rows libpng and libjpeg use (R, G, B or
// R, G, B, A). Each runs over a whole picture once per load or save, so the
// three-byte layouts move four pixels at a time: by one byte shuffle where
// the processor has SSSE3 (chosen at run time, as builds target plain
// x86-64), else as three 32-bit words.

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel words are read as little-endian bytes");

namespace rowconversion {

inline uint32_t load32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline void store32(uint8_t* p, uint32_t v)
{
    std::memcpy(p, &v, 4);
}

// Bytes R, G, B, x (little-endian word x<<24 | B<<16 | G<<8 | R) to the
// colour part of a pixel word, R<<16 | G<<8 | B.
inline uint32_t rgbWordToPixel(uint32_t v)
{
    return __builtin_bswap32(v) >> 8;
}

// The inverse: pixel word to a word whose low three bytes are R, G, B.
inline uint32_t pixelToRGBWord(uint32_t p)
{
    return __builtin_bswap32(p) >> 8;
}

// R, G, B -> B, G, R, 255
inline void rgbToPixelsPlain(const uint8_t* in, uint32_t* out, size_t count)
{
    size_t i = 0;
    for (; i + 4 <= count; i += 4, in += 12) {
        const uint32_t w0 = load32(in), w1 = load32(in + 4), w2 = load32(in + 8);
        out[i] = 0xFF000000u | rgbWordToPixel(w0);
        out[i + 1] = 0xFF000000u | rgbWordToPixel(w0 >> 24 | w1 << 8);
        out[i + 2] = 0xFF000000u | rgbWordToPixel(w1 >> 16 | w2 << 16);
        out[i + 3] = 0xFF000000u | rgbWordToPixel(w2 >> 8);
    }
    for (; i < count; ++i, in += 3)
        out[i] = 0xFF000000u | uint32_t(in[0]) << 16 | uint32_t(in[1]) << 8 | in[2];
}

// R, G, B, A -> B, G, R, A: swap the outer colour bytes of each word.
inline void rgbaToPixels(const uint8_t* in, uint32_t* out, size_t count)
{
    for (size_t i = 0; i < count; ++i, in += 4) {
        const uint32_t v = load32(in);
        out[i] = (v & 0xFF00FF00u) | (v >> 16 & 0xFFu) | (v & 0xFFu) << 16;
    }
}

// B, G, R, A -> R, G, B, A (the same swap)
inline void pixelsToRGBA(const uint32_t* in, uint8_t* out, size_t count)
{
    for (size_t i = 0; i < count; ++i, out += 4) {
        const uint32_t p = in[i];
        store32(out, (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16);
    }
}

// B, G, R, A -> R, G, B; alpha is dropped.
inline void pixelsToRGBPlain(const uint32_t* in, uint8_t* out, size_t count)
{
    size_t i = 0;
    for (; i + 4 <= count; i += 4, out += 12) {
        const uint32_t q0 = pixelToRGBWord(in[i]), q1 = pixelToRGBWord(in[i + 1]);
        const uint32_t q2 = pixelToRGBWord(in[i + 2]), q3 = pixelToRGBWord(in[i + 3]);
        store32(out, q0 | q1 << 24);
        store32(out + 4, q1 >> 8 | q2 << 16);
        store32(out + 8, q2 >> 16 | q3 << 8);
    }
    for (; i < count; ++i, out += 3) {
        out[0] = uint8_t(in[i] >> 16);
        out[1] = uint8_t(in[i] >> 8);
        out[2] = uint8_t(in[i]);
    }
}

#if ROWCONVERSION_SSSE3
// One byte shuffle moves four pixels. Each 16-byte load or store reaches
// four bytes past the twelve RGB bytes of its group, so those loops stop
// while at least two more pixels follow; the plain code finishes the rest.
__attribute__((target("ssse3"))) inline void rgbToPixelsSSSE3(const uint8_t* in, uint32_t* out, size_t count)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000));
    size_t i = 0;
    for (; i + 6 <= count; i += 4, in += 12) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(_mm_shuffle_epi8(v, order), opaque));
    }
    rgbToPixelsPlain(in, out + i, count - i);
}

__attribute__((target("ssse3"))) inline void pixelsToRGBSSSE3(const uint32_t* in, uint8_t* out, size_t count)
{
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    size_t i = 0;
    for (; i + 6 <= count; i += 4, out += 12) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, order));
    }
    pixelsToRGBPlain(in + i, out, count - i);
}

inline bool haveSSSE3()
{
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}
#endif

inline void rgbToPixels(const uint8_t* in, uint32_t* out, size_t count)
{
#if ROWCONVERSION_SSSE3
    if (haveSSSE3())
        return rgbToPixelsSSSE3(in, out, count);
#endif
    rgbToPixelsPlain(in, out, count);
}

inline void pixelsToRGB(const uint32_t* in, uint8_t* out, size_t count)
{
#if ROWCONVERSION_SSSE3
    if (haveSSSE3())
        return pixelsToRGBSSSE3(in, out, count);
#endif
    pixelsToRGBPlain(in, out, count);
}

} // namespace rowconversion
