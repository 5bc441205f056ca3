#include "imaging/raster/FNRaster.h"

#include "imaging/FNImage.h"
#include "imaging/FixedPointSpan.h"
#include "imaging/raster/RasterBlend.h"
#include "imaging/raster/RasterFilter.h"
#include "imaging/raster/RasterScaleRows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using FNFixedPointSpan::cutSpan;
using FNRasterFilter::Piece;

// ---- Row driver ---------------------------------------------------------------

// Everything the row loops need, made once per call.
struct Setup {
    uint32_t* pixels;
    int64_t rowLength;
    int left, top, right, bottom;
    int64_t a, b, c, d, e, f; // picture-relative mapping
    int64_t uLow, uHigh, vLow, vHigh; // visible region
    int64_t uInner, vInner; // last position whose four bilinear neighbours are all inside
    int opacity;
    const FNRasterAxis* clips;
    int clipCount;
};

template <class Mode, class Filter, Piece P>
void drawPiece(
    const Filter& filter, uint32_t* dst, int64_t count, int64_t u, int64_t v, int64_t du, int64_t dv, int opacity)
{
    for (int64_t i = 0; i < count; ++i, u += du, v += dv) {
        uint32_t s;
        if (filter.template sample<P>(u, v, dst[i], s))
            dst[i] = FNRasterBlend::cover<Mode>(dst[i], s, opacity);
    }
}

#if defined(__SSE2__)
// The interior of a row whose v is constant, from vertically blended columns.
template <class Mode, class Filter>
void drawBlendedRow(const Filter& filter, const FNRasterFilter::BlendedColumn* cache, int64_t first, uint32_t* dst,
    int64_t count, int64_t u, int64_t du, int opacity)
{
    int64_t i = 0;
    if constexpr (std::is_same<Mode, FNRasterBlend::Normal>::value) {
        // Normal mode two pixels at a time.
        for (; i + 1 < count; i += 2, u += 2 * du) {
            const __m128i source = filter.sampleBlendedPair(u, u + du, first, cache);
            const __m128i target = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst + i));
            _mm_storel_epi64(
                reinterpret_cast<__m128i*>(dst + i), FNRasterBlend::coverNormalPair(target, source, opacity));
        }
    }
    for (; i < count; ++i, u += du) {
        uint32_t s;
        if (filter.sampleBlendedRow(u, cache + ((u >> FNRasterShift) - first), s))
            dst[i] = FNRasterBlend::cover<Mode>(dst[i], s, opacity);
    }
}
#endif

#if defined(__SSE2__)
// Nearest sampling in Normal mode along a row whose v is constant, two pixels
// at a time. A transparent source pixel gives a = 0, which leaves the
// destination as skipping it would.
void drawNearestRowNormal(
    const FNRasterFilter::Nearest& filter, int64_t v, uint32_t* dst, int64_t count, int64_t u, int64_t du, int opacity)
{
    const uint32_t* source = filter.picture.pixels + (v >> FNRasterShift) * filter.picture.width;
    const __m128i zero = _mm_setzero_si128();
    int64_t i = 0;
    for (; i + 1 < count; i += 2, u += 2 * du) {
        const __m128i pair = _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(source[u >> FNRasterShift])),
            _mm_cvtsi32_si128(static_cast<int>(source[(u + du) >> FNRasterShift])));
        const __m128i target = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dst + i));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + i),
            FNRasterBlend::coverNormalPair(target, _mm_unpacklo_epi8(pair, zero), opacity));
    }
    if (i < count) {
        const uint32_t s = source[u >> FNRasterShift];
        if (s >> 24)
            dst[i] = FNRasterBlend::cover<FNRasterBlend::Normal>(dst[i], s, opacity);
    }
}
#endif

#if defined(__SSE2__)
// Columns of a scaled but unrotated, unsheared picture (b = d = 0): u depends
// on the column only, so the source index and horizontal weight pair of every
// interior column [first, first + count) are worked out once per draw.
struct ScaledColumns {
    int64_t first = 0;
    std::vector<int32_t> index;
    std::vector<uint32_t> weights;
};

template <class Filter> void prepareColumns(const Setup& s, const Filter& filter, ScaledColumns& columns)
{
    int64_t first = s.left, end = s.right;
    cutSpan(s.c, s.a, 0, s.uInner, first, end);
    columns.first = first;
    if (first >= end)
        return;
    columns.index.resize(static_cast<size_t>(end - first));
    columns.weights.resize(columns.index.size());
    for (int64_t x = first; x < end; ++x) {
        const int64_t u = s.c + s.a * x;
        const uint32_t fx = filter.fractionX(u);
        columns.index[x - first] = static_cast<int32_t>(u >> FNRasterShift);
        columns.weights[x - first] = fx << 16 | (4096 - fx);
    }
}

// The interior [i0, i1) of one row of a scaled picture: blend the two source
// rows once per source column, then take every pixel's horizontal step.
template <class Mode, class Filter>
void drawScaledInterior(const Filter& filter, const ScaledColumns& columns, FNRasterFilter::BlendedColumn* cache,
    int64_t v, uint32_t* row, int64_t i0, int64_t i1, int opacity)
{
    const int32_t* index = columns.index.data() + (i0 - columns.first);
    const uint32_t* weights = columns.weights.data() + (i0 - columns.first);
    const int64_t count = i1 - i0;
    const int64_t first = std::min(index[0], index[count - 1]);
    const int64_t last = std::max(index[0], index[count - 1]) + 1;
    const uint32_t* top = filter.picture.pixels + (v >> FNRasterShift) * filter.picture.width;
    FNRasterScaleRows::blendRows(top, top + filter.picture.width, filter.fractionY(v), first, last, cache);
    uint32_t* dst = row + i0;
    if constexpr (std::is_same<Mode, FNRasterBlend::Normal>::value) {
        FNRasterScaleRows::drawNormalRow(cache, index, weights, dst, count, opacity);
    } else {
        for (int64_t i = 0; i < count; ++i) {
            uint32_t sampled;
            if (Filter::sampleBlendedColumns(weights[i], cache + index[i], sampled))
                dst[i] = FNRasterBlend::cover<Mode>(dst[i], sampled, opacity);
        }
    }
}
#endif

// Draws every row of the update rectangle: cut the row to the visible region
// (and, clipped, to every clipping rectangle), then run the pixel loop over the
// remaining columns; with a bilinear filter the columns whose four neighbours
// all lie inside the picture take the loop without neighbour tests.
template <bool Clipped, class Filter, class Mode> void drawRows(const Setup& s, const Filter& filter)
{
#if defined(__SSE2__)
    // Column cache for rows along which v stays constant (d = 0).
    std::vector<FNRasterFilter::BlendedColumn> cache;
    if constexpr (Filter::HasInterior) {
        if (s.d == 0)
            cache.resize(static_cast<size_t>(s.uInner / FNRasterOne + 2));
    }
    ScaledColumns columns;
    if constexpr (Filter::HasInterior) {
        if (s.d == 0 && s.b == 0)
            prepareColumns(s, filter, columns);
    }
#endif
    for (int64_t y = s.top; y < s.bottom; ++y) {
        const int64_t uRow = s.b * y + s.c, vRow = s.e * y + s.f;
        int64_t x0 = s.left, x1 = s.right;
        cutSpan(uRow, s.a, s.uLow, s.uHigh, x0, x1);
        cutSpan(vRow, s.d, s.vLow, s.vHigh, x0, x1);
        if constexpr (Clipped) {
            for (int k = 0; k < s.clipCount && x0 < x1; ++k) {
                const FNRasterAxis& axis = s.clips[k];
                cutSpan(axis.start + axis.stepY * y, axis.stepX, axis.low, axis.high, x0, x1);
            }
        }
        if (x0 >= x1)
            continue;
        uint32_t* row = s.pixels + y * s.rowLength;
        auto run = [&](auto piece, int64_t from, int64_t to) {
            if (from < to)
                drawPiece<Mode, Filter, decltype(piece)::value>(
                    filter, row + from, to - from, uRow + s.a * from, vRow + s.d * from, s.a, s.d, s.opacity);
        };
        using Plain = std::integral_constant<Piece, Piece::Plain>;
        using Edge = std::integral_constant<Piece, Piece::Edge>;
        using Interior = std::integral_constant<Piece, Piece::Interior>;
        if constexpr (!Filter::HasInterior) {
#if defined(__SSE2__)
            if constexpr (std::is_same<Mode, FNRasterBlend::Normal>::value) {
                if (s.d == 0) {
                    drawNearestRowNormal(filter, vRow, row + x0, x1 - x0, uRow + s.a * x0, s.a, s.opacity);
                    continue;
                }
            }
#endif
            run(Plain {}, x0, x1);
        } else {
            int64_t i0 = x0, i1 = x1;
            cutSpan(uRow, s.a, 0, s.uInner, i0, i1);
            cutSpan(vRow, s.d, 0, s.vInner, i0, i1);
            if (i0 >= i1) {
                run(Edge {}, x0, x1);
                continue;
            }
            run(Edge {}, x0, i0);
#if defined(__SSE2__)
            if (s.d == 0 && s.b == 0) {
                drawScaledInterior<Mode>(filter, columns, cache.data(), vRow, row, i0, i1, s.opacity);
            } else if (s.d == 0) {
                const int64_t uFirst = uRow + s.a * i0, uLast = uRow + s.a * (i1 - 1);
                const int64_t first = std::min(uFirst, uLast) >> FNRasterShift;
                const int64_t last = (std::max(uFirst, uLast) >> FNRasterShift) + 1;
                filter.blendRows(vRow, first, last, cache.data());
                drawBlendedRow<Mode>(filter, cache.data(), first, row + i0, i1 - i0, uFirst, s.a, s.opacity);
            } else {
                run(Interior {}, i0, i1);
            }
#else
            run(Interior {}, i0, i1);
#endif
            run(Edge {}, i1, x1);
        }
    }
}

// ---- Dispatch ---------------------------------------------------------------------

using FilterPicture = FNRasterFilter::Picture;

struct Filters {
    FilterPicture picture;
    const int* rampX;
    const int* rampY;
};

template <int Sampling> auto makeFilter(const Filters& f)
{
    if constexpr (Sampling == 0)
        return FNRasterFilter::Nearest { f.picture };
    else
        return FNRasterFilter::Bilinear<Sampling == 2> { f.picture, f.rampX, f.rampY };
}

using RowsFunction = void (*)(const Setup&, const Filters&);

template <bool Clipped, int Sampling, int Mode> void drawWith(const Setup& setup, const Filters& filters)
{
    drawRows<Clipped, decltype(makeFilter<Sampling>(filters)), typename FNRasterBlend::ByIndex<Mode>::Type>(
        setup, makeFilter<Sampling>(filters));
}

// The 2 x 3 x 9 loops, indexed [clipped][sampling][mode].
template <bool Clipped, int Sampling, int... Modes>
constexpr std::array<RowsFunction, sizeof...(Modes)> modeTable(std::integer_sequence<int, Modes...>)
{
    return { &drawWith<Clipped, Sampling, Modes>... };
}

template <bool Clipped> constexpr std::array<std::array<RowsFunction, FNRasterBlend::ModeCount>, 3> samplingTable()
{
    using Modes = std::make_integer_sequence<int, FNRasterBlend::ModeCount>;
    return { modeTable<Clipped, 0>(Modes {}), modeTable<Clipped, 1>(Modes {}), modeTable<Clipped, 2>(Modes {}) };
}

constexpr std::array<std::array<std::array<RowsFunction, FNRasterBlend::ModeCount>, 3>, 2> rowsTable
    = { samplingTable<false>(), samplingTable<true>() };

} // namespace

int64_t FNRasterFixed(double value)
{
    constexpr double limit = 1099511627776.0 * 4096.0; // 2^40 pixels
    const double scaled = value * 4096.0;
    if (!(scaled > -limit))
        return scaled != scaled ? 0 : -static_cast<int64_t>(limit);
    if (scaled > limit)
        return static_cast<int64_t>(limit);
    return static_cast<int64_t>(scaled);
}

void FNRasterSharpRamp(double scale, int* table)
{
    const double magnitude = std::fabs(scale);
    // T = 4096 - 4096/|scale|; entry f = 0 below T, else (f - T) * 4096 / (4096 - T).
    const int64_t t = magnitude > 0.01 ? static_cast<int64_t>(4096.0 - 4096.0 / magnitude) : 4096;
    for (int64_t f = 0; f < 4096; ++f)
        table[f] = f < t ? 0 : static_cast<int>((f * 4096 - t * 4096) / (4096 - t));
}

void FNRasterDraw(const FNRasterJob& job)
{
    const FNImage* image = job.image;
    if (!image || !image->pixels || image->width < 1 || image->height < 1 || job.opacity < 1)
        return;
    if (job.sampling < 0 || job.sampling > 2)
        return;
    Setup s;
    s.left = std::max(job.left, 0);
    s.top = std::max(job.top, 0);
    s.right = std::min(job.right, job.width);
    s.bottom = std::min(job.bottom, job.height);
    if (s.left >= s.right || s.top >= s.bottom)
        return;
    s.pixels = job.pixels;
    s.rowLength = job.rowLength;
    s.opacity = std::min(job.opacity, 255);
    s.clips = job.clips;
    s.clipCount = job.clipCount;

    // Picture-relative mapping: the offset is taken out once here.
    s.a = job.a;
    s.b = job.b;
    s.c = job.c - int64_t(job.offsetX) * FNRasterOne;
    s.d = job.d;
    s.e = job.e;
    s.f = job.f - int64_t(job.offsetY) * FNRasterOne;

    // Visible region per axis, in item pixels: max(0, offset) .. min(offset +
    // size - 1, last item pixel); the bilinear filters reach one picture pixel
    // further on each side so that the edge blends out.
    const int64_t reach = job.sampling == 0 ? 0 : 1;
    const int64_t firstX = std::max<int64_t>(0, job.offsetX) - job.offsetX - reach;
    const int64_t lastX = std::min<int64_t>(int64_t(job.offsetX) + image->width - 1, job.lastX) - job.offsetX + reach;
    const int64_t firstY = std::max<int64_t>(0, job.offsetY) - job.offsetY - reach;
    const int64_t lastY = std::min<int64_t>(int64_t(job.offsetY) + image->height - 1, job.lastY) - job.offsetY + reach;
    s.uLow = firstX * FNRasterOne;
    s.uHigh = lastX * FNRasterOne;
    s.vLow = firstY * FNRasterOne;
    s.vHigh = lastY * FNRasterOne;
    s.uInner = (int64_t(image->width) - 1) * FNRasterOne - 1;
    s.vInner = (int64_t(image->height) - 1) * FNRasterOne - 1;

    Filters filters { { reinterpret_cast<const uint32_t*>(image->pixels), image->width, image->height }, nullptr,
        nullptr };
    std::vector<int> ramps;
    if (job.sampling == 2) {
        ramps.resize(2 * 4096);
        FNRasterSharpRamp(job.scaleX, ramps.data());
        FNRasterSharpRamp(job.scaleY, ramps.data() + 4096);
        filters.rampX = ramps.data();
        filters.rampY = ramps.data() + 4096;
    }
    const int mode = job.blendMode >= 0 && job.blendMode < FNRasterBlend::ModeCount ? job.blendMode : 0;
    rowsTable[job.clipCount > 0 ? 1 : 0][job.sampling][mode](s, filters);
}
