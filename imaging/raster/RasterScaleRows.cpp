#include "imaging/raster/RasterScaleRows.h"

#include "imaging/raster/FNRaster.h"
#include "imaging/raster/RasterBlend.h"

#include <algorithm>
#include <atomic>

#if defined(__SSE2__) && defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define FN_RASTER_WIDER 1
#include <immintrin.h>
#endif

namespace {

// 0 SSE2, 1 SSE4.1 (with SSSE3), 2 AVX2.
constexpr int WidestLevel = 2;

int detectLevel()
{
#if defined(FN_RASTER_WIDER)
    if (__builtin_cpu_supports("avx2"))
        return 2;
    if (__builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3"))
        return 1;
#endif
    return 0;
}

int availableLevel()
{
    static const int level = detectLevel();
    return level;
}

std::atomic<int> requestedLevel { WidestLevel };

int currentLevel()
{
    const int requested = requestedLevel.load(std::memory_order_relaxed);
    const int available = availableLevel();
    return requested < available ? requested : available;
}

} // namespace

int FNRasterSetVectorLevel(int level)
{
    requestedLevel.store(std::clamp(level, 0, WidestLevel), std::memory_order_relaxed);
    return currentLevel();
}

int FNRasterVectorLevel()
{
    return currentLevel();
}

#if defined(__SSE2__)

namespace FNRasterScaleRows {

namespace {

    // ---- SSE2 ---------------------------------------------------------------

    FN_RASTER_INLINE void storeBlended(BlendedColumn* cache, __m128i pairs, __m128i weightsY)
    {
        const __m128i blended = _mm_madd_epi16(pairs, weightsY);
        cache->words = _mm_packs_epi32(_mm_srli_epi32(blended, 8), _mm_and_si128(blended, _mm_set1_epi32(255)));
    }

    // Columns from `x` to `last` one or two at a time.
    void blendRowsTail(
        const uint32_t* top, const uint32_t* bottom, __m128i weightsY, int64_t x, int64_t last, BlendedColumn* cache)
    {
        const __m128i zero = _mm_setzero_si128();
        for (; x < last; x += 2) {
            const __m128i interleaved = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(top + x)),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bottom + x)));
            storeBlended(cache + x, _mm_unpacklo_epi8(interleaved, zero), weightsY);
            storeBlended(cache + x + 1, _mm_unpackhi_epi8(interleaved, zero), weightsY);
        }
        if (x == last) {
            const __m128i interleaved = _mm_unpacklo_epi8(
                _mm_cvtsi32_si128(static_cast<int>(top[x])), _mm_cvtsi32_si128(static_cast<int>(bottom[x])));
            storeBlended(cache + x, _mm_unpacklo_epi8(interleaved, zero), weightsY);
        }
    }

    // The four channel sums >> 24 of one pixel from blended columns
    // column[0] (left) and column[1] (right); weightsX holds the pixel's
    // weight pair in every 32-bit lane.
    FN_RASTER_INLINE __m128i horizontalSums(const BlendedColumn* column, __m128i weightsX)
    {
        const __m128i left = column[0].words, right = column[1].words;
        const __m128i high = _mm_madd_epi16(_mm_unpacklo_epi16(left, right), weightsX);
        const __m128i low = _mm_madd_epi16(_mm_unpackhi_epi16(left, right), weightsX);
        return _mm_srli_epi32(_mm_add_epi32(high, _mm_srli_epi32(low, 8)), 16);
    }

    FN_RASTER_INLINE __m128i horizontalSums(const BlendedColumn* column, uint32_t weights)
    {
        return horizontalSums(column, _mm_set1_epi32(static_cast<int>(weights)));
    }

    void drawNormalRowSse2(const BlendedColumn* cache, const int32_t* index, const uint32_t* weights, uint32_t* dst,
        int64_t count, int opacity)
    {
        int64_t i = 0;
        for (; i + 1 < count; i += 2) {
            const __m128i source = _mm_packs_epi32(
                horizontalSums(cache + index[i], weights[i]), horizontalSums(cache + index[i + 1], weights[i + 1]));
            const __m128i target = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst + i));
            _mm_storel_epi64(
                reinterpret_cast<__m128i*>(dst + i), FNRasterBlend::coverNormalPair(target, source, opacity));
        }
        if (i < count) {
            const __m128i sums = horizontalSums(cache + index[i], weights[i]);
            const __m128i target = _mm_cvtsi32_si128(static_cast<int>(dst[i]));
            dst[i] = static_cast<uint32_t>(
                _mm_cvtsi128_si32(FNRasterBlend::coverNormalPair(target, _mm_packs_epi32(sums, sums), opacity)));
        }
    }

#if defined(FN_RASTER_WIDER)
    // ---- SSE4.1 -------------------------------------------------------------
    // The SSE2 arithmetic four pixels (or columns) per step, with byte
    // shuffles for the alpha broadcasts and the split of the vertical sums,
    // and blends for the choices between results.

#define FN_SSE41 __attribute__((target("sse4.1")))

    //   V = top*(4096-fy) + bottom*fy,  cache = (V >> 8 per channel, V & 255 per channel)
    // Four columns at a time; the rest goes to the SSE2 loop. As V < 2^20,
    // one byte shuffle of the sums gives the words V >> 8 (bytes 1 and 2)
    // and V & 255 (byte 0) that the SSE2 loop gets by shifting, masking and
    // packing.
    FN_SSE41 void blendRowsSse41(
        const uint32_t* top, const uint32_t* bottom, uint32_t fy, int64_t first, int64_t last, BlendedColumn* cache)
    {
        const __m128i weightsY = _mm_set1_epi32(static_cast<int>(fy << 16 | (4096 - fy)));
        const __m128i split = _mm_setr_epi8(1, 2, 5, 6, 9, 10, 13, 14, 0, -1, 4, -1, 8, -1, 12, -1);
        const __m128i zero = _mm_setzero_si128();
        int64_t x = first;
        for (; x + 3 <= last; x += 4) {
            const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + x));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + x));
            const __m128i pairs01 = _mm_unpacklo_epi8(t, b), pairs23 = _mm_unpackhi_epi8(t, b);
            cache[x].words = _mm_shuffle_epi8(_mm_madd_epi16(_mm_cvtepu8_epi16(pairs01), weightsY), split);
            cache[x + 1].words = _mm_shuffle_epi8(_mm_madd_epi16(_mm_unpackhi_epi8(pairs01, zero), weightsY), split);
            cache[x + 2].words = _mm_shuffle_epi8(_mm_madd_epi16(_mm_cvtepu8_epi16(pairs23), weightsY), split);
            cache[x + 3].words = _mm_shuffle_epi8(_mm_madd_epi16(_mm_unpackhi_epi8(pairs23, zero), weightsY), split);
        }
        blendRowsTail(top, bottom, weightsY, x, last, cache);
    }

    // Each pixel's alpha word (word 3 of each half) in all four of its words.
    FN_SSE41 FN_RASTER_INLINE __m128i broadcastAlpha(__m128i words)
    {
        return _mm_shuffle_epi8(words, _mm_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15));
    }

    // coverNormalPair on 16-bit channels: d the two destination pixels,
    // source the two sampled ones; returns the two covered pixels unpacked.
    FN_SSE41 FN_RASTER_INLINE __m128i coverNormalPairWords(__m128i d, __m128i source, __m128i opacity)
    {
        const __m128i a = _mm_srli_epi16(_mm_mullo_epi16(broadcastAlpha(source), opacity), 8);
        const __m128i direct = _mm_cmpgt_epi16(a, _mm_set1_epi16(253));
        const __m128i mixed
            = _mm_add_epi16(d, _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(source, d), 7), _mm_slli_epi16(a, 1)));
        const __m128i da = broadcastAlpha(d);
        const __m128i grown = _mm_min_epi16(
            _mm_set1_epi16(255), _mm_sub_epi16(_mm_add_epi16(da, a), _mm_srli_epi16(_mm_mullo_epi16(da, a), 8)));
        // Alpha in word 3 of each pixel: (source colour, a) when written
        // directly, (mixed colour, grown alpha) otherwise.
        return _mm_blendv_epi8(_mm_blend_epi16(mixed, grown, 0x88), _mm_blend_epi16(source, a, 0x88), direct);
    }

    //   S.ch = (H + (L >> 8)) >> 16,  H = hi0*(4096-fx) + hi1*fx,  L = lo0*(4096-fx) + lo1*fx
    //   a = (S.alpha * opacity) >> 8, then D covered as coverNormalPair does
    // Four pixels at a time; the rest goes to the SSE2 loop.
    FN_SSE41 void drawNormalRowSse41(const BlendedColumn* cache, const int32_t* index, const uint32_t* weights,
        uint32_t* dst, int64_t count, int opacity)
    {
        const __m128i opacityWords = _mm_set1_epi16(static_cast<short>(opacity));
        int64_t i = 0;
        for (; i + 3 < count; i += 4) {
            const __m128i weights4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i));
            const __m128i source01
                = _mm_packs_epi32(horizontalSums(cache + index[i], _mm_shuffle_epi32(weights4, 0x00)),
                    horizontalSums(cache + index[i + 1], _mm_shuffle_epi32(weights4, 0x55)));
            const __m128i source23
                = _mm_packs_epi32(horizontalSums(cache + index[i + 2], _mm_shuffle_epi32(weights4, 0xAA)),
                    horizontalSums(cache + index[i + 3], _mm_shuffle_epi32(weights4, 0xFF)));
            const __m128i target = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            const __m128i covered01 = coverNormalPairWords(_mm_cvtepu8_epi16(target), source01, opacityWords);
            const __m128i covered23
                = coverNormalPairWords(_mm_unpackhi_epi8(target, _mm_setzero_si128()), source23, opacityWords);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(covered01, covered23));
        }
        drawNormalRowSse2(cache, index + i, weights + i, dst + i, count - i, opacity);
    }

#undef FN_SSE41

    // ---- AVX2 ---------------------------------------------------------------
    // The same arithmetic with one pixel (or one column) per 128-bit lane.

#define FN_AVX2 __attribute__((target("avx2")))

    // Four columns at a time; the rest goes to the SSE2 loop.
    FN_AVX2 void blendRowsAvx2(
        const uint32_t* top, const uint32_t* bottom, uint32_t fy, int64_t first, int64_t last, BlendedColumn* cache)
    {
        const int weightPair = static_cast<int>(fy << 16 | (4096 - fy));
        const __m256i weightsY = _mm256_set1_epi32(weightPair);
        const __m256i low8 = _mm256_set1_epi32(255);
        int64_t x = first;
        for (; x + 3 <= last; x += 4) {
            const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + x));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + x));
            const __m256i blended01 = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpacklo_epi8(t, b)), weightsY);
            const __m256i blended23 = _mm256_madd_epi16(_mm256_cvtepu8_epi16(_mm_unpackhi_epi8(t, b)), weightsY);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(cache + x),
                _mm256_packs_epi32(_mm256_srli_epi32(blended01, 8), _mm256_and_si256(blended01, low8)));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(cache + x + 2),
                _mm256_packs_epi32(_mm256_srli_epi32(blended23, 8), _mm256_and_si256(blended23, low8)));
        }
        // Clean upper halves before the SSE2 code: left dirty, every later
        // legacy SSE instruction pays for a merge (the compiler does not
        // insert this before a tail call).
        _mm256_zeroupper();
        blendRowsTail(top, bottom, _mm_set1_epi32(weightPair), x, last, cache);
    }

    // Channel sums >> 24 of two pixels, the first in the low lane.
    FN_AVX2 FN_RASTER_INLINE __m256i horizontalSumsPair(
        const BlendedColumn* column0, const BlendedColumn* column1, __m256i weightsX)
    {
        const __m256i both0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(column0)); // left0 | right0
        const __m256i both1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(column1)); // left1 | right1
        const __m256i left = _mm256_permute2x128_si256(both0, both1, 0x20);
        const __m256i right = _mm256_permute2x128_si256(both0, both1, 0x31);
        const __m256i high = _mm256_madd_epi16(_mm256_unpacklo_epi16(left, right), weightsX);
        const __m256i low = _mm256_madd_epi16(_mm256_unpackhi_epi16(left, right), weightsX);
        return _mm256_srli_epi32(_mm256_add_epi32(high, _mm256_srli_epi32(low, 8)), 16);
    }

    // coverNormalPair for four pixels held as 16-bit channels, two per lane.
    FN_AVX2 FN_RASTER_INLINE __m256i coverNormalQuad(__m256i d, __m256i source, __m256i opacity)
    {
        const __m256i sourceAlpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, 0xFF), 0xFF);
        const __m256i a = _mm256_srli_epi16(_mm256_mullo_epi16(sourceAlpha, opacity), 8);
        const __m256i direct = _mm256_cmpgt_epi16(a, _mm256_set1_epi16(253));
        const __m256i mixed = _mm256_add_epi16(
            d, _mm256_mulhi_epi16(_mm256_slli_epi16(_mm256_sub_epi16(source, d), 7), _mm256_slli_epi16(a, 1)));
        const __m256i colour = _mm256_blendv_epi8(mixed, source, direct);
        const __m256i da = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(d, 0xFF), 0xFF);
        const __m256i grown = _mm256_min_epi16(_mm256_set1_epi16(255),
            _mm256_sub_epi16(_mm256_add_epi16(da, a), _mm256_srli_epi16(_mm256_mullo_epi16(da, a), 8)));
        const __m256i alpha = _mm256_blendv_epi8(grown, a, direct);
        return _mm256_blend_epi16(colour, alpha, 0x88);
    }

    FN_AVX2 void drawNormalRowAvx2(const BlendedColumn* cache, const int32_t* index, const uint32_t* weights,
        uint32_t* dst, int64_t count, int opacity)
    {
        const __m256i opacityWords = _mm256_set1_epi16(static_cast<short>(opacity));
        const __m256i firstTwo = _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1);
        const __m256i lastTwo = _mm256_setr_epi32(2, 2, 2, 2, 3, 3, 3, 3);
        int64_t i = 0;
        for (; i + 3 < count; i += 4) {
            const __m256i weights4
                = _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i)));
            const __m256i sums01 = horizontalSumsPair(
                cache + index[i], cache + index[i + 1], _mm256_permutevar8x32_epi32(weights4, firstTwo));
            const __m256i sums23 = horizontalSumsPair(
                cache + index[i + 2], cache + index[i + 3], _mm256_permutevar8x32_epi32(weights4, lastTwo));
            // Low lane pixels 0 and 2, high lane pixels 1 and 3.
            const __m256i source = _mm256_packs_epi32(sums01, sums23);
            const __m128i target = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
            const __m256i d = _mm256_cvtepu8_epi16(_mm_shuffle_epi32(target, _MM_SHUFFLE(3, 1, 2, 0)));
            const __m256i covered = coverNormalQuad(d, source, opacityWords);
            const __m256i bytes = _mm256_packus_epi16(covered, covered);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i),
                _mm_unpacklo_epi32(_mm256_castsi256_si128(bytes), _mm256_extracti128_si256(bytes, 1)));
        }
        _mm256_zeroupper(); // as in blendRowsAvx2
        drawNormalRowSse2(cache, index + i, weights + i, dst + i, count - i, opacity);
    }

#undef FN_AVX2
#endif

} // namespace

void blendRows(
    const uint32_t* top, const uint32_t* bottom, uint32_t fy, int64_t first, int64_t last, BlendedColumn* cache)
{
#if defined(FN_RASTER_WIDER)
    const int level = currentLevel();
    if (level >= 2) {
        blendRowsAvx2(top, bottom, fy, first, last, cache);
        return;
    }
    if (level == 1) {
        blendRowsSse41(top, bottom, fy, first, last, cache);
        return;
    }
#endif
    blendRowsTail(top, bottom, _mm_set1_epi32(static_cast<int>(fy << 16 | (4096 - fy))), first, last, cache);
}

void drawNormalRow(const BlendedColumn* cache, const int32_t* index, const uint32_t* weights, uint32_t* dst,
    int64_t count, int opacity)
{
#if defined(FN_RASTER_WIDER)
    const int level = currentLevel();
    if (level >= 2) {
        drawNormalRowAvx2(cache, index, weights, dst, count, opacity);
        return;
    }
    if (level == 1) {
        drawNormalRowSse41(cache, index, weights, dst, count, opacity);
        return;
    }
#endif
    drawNormalRowSse2(cache, index, weights, dst, count, opacity);
}

} // namespace FNRasterScaleRows

#endif
