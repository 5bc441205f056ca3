// The flood fill by scan-line spans: a run of in-range pixels is found and
// filled as a whole, and only the rows above and below a run are searched
// for more, within the run's columns. The pixels reached are those of the
// breadth-first walk (the connected in-range area around the seed); only
// the order of filling differs.
#include "app/pictures/FloodFill.h"

#include "imaging/FNImage.h"

#include <algorithm>
#include <emmintrin.h>

namespace {

constexpr int kRange = 10;

// |P_c - seed_c| <= 10 for the three colour bytes, four pixels at a time:
// bit i of the result is set when pixel i is in range.
class SeedRange {
public:
    explicit SeedRange(uint32_t seed)
        : m_seed(_mm_set1_epi32(static_cast<int>(seed)))
        , m_range(_mm_set1_epi8(kRange))
        , m_colour(_mm_set1_epi32(0x00FFFFFF))
        , m_seedWord(seed)
    {
    }
    unsigned four(const uint32_t* p) const
    {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i distance = _mm_or_si128(_mm_subs_epu8(pixels, m_seed), _mm_subs_epu8(m_seed, pixels));
        const __m128i beyond = _mm_and_si128(_mm_subs_epu8(distance, m_range), m_colour);
        return static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(beyond, _mm_setzero_si128()))));
    }
    bool one(uint32_t pixel) const
    {
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = (pixel >> shift) & 0xFF, b = (m_seedWord >> shift) & 0xFF;
            if (a - b > kRange || b - a > kRange)
                return false;
        }
        return true;
    }

private:
    __m128i m_seed, m_range, m_colour;
    uint32_t m_seedWord;
};

// The rows when the fill value is out of the seed's range: a filled pixel is
// then out of range itself, so "in range" alone tells the pixels still to
// fill, and the runs are found four pixels at a time.
class OpenRows {
public:
    OpenRows(FNImage& region, uint32_t seed, uint32_t value)
        : m_region(region)
        , m_range(seed)
        , m_value(value)
    {
    }
    int width() const { return m_region.width; }
    int height() const { return m_region.height; }
    bool open(int x, int y) const { return m_range.one(m_region.row(y)[x]); }
    // The first open pixel of row y in [from, to], or to + 1.
    int firstOpen(int y, int from, int to) const
    {
        const uint32_t* row = m_region.row(y);
        int x = from;
        for (; x + 4 <= to + 1; x += 4) {
            if (const unsigned bits = m_range.four(row + x))
                return x + __builtin_ctz(bits);
        }
        while (x <= to && !m_range.one(row[x]))
            ++x;
        return x;
    }
    // The last pixel of the open run through x (open).
    int runEnd(int y, int x) const
    {
        const uint32_t* row = m_region.row(y);
        for (++x; x + 4 <= width(); x += 4) {
            if (const unsigned closed = ~m_range.four(row + x) & 0xF)
                return x + __builtin_ctz(closed) - 1;
        }
        while (x < width() && m_range.one(row[x]))
            ++x;
        return x - 1;
    }
    // The first pixel of the open run through x (open).
    int runStart(int y, int x) const
    {
        const uint32_t* row = m_region.row(y);
        for (; x >= 4; x -= 4) {
            if (const unsigned closed = ~m_range.four(row + x - 4) & 0xF)
                return x - 4 + (31 - __builtin_clz(closed)) + 1;
        }
        while (x > 0 && m_range.one(row[x - 1]))
            --x;
        return x;
    }
    void fill(int y, int from, int to) { std::fill(m_region.row(y) + from, m_region.row(y) + to + 1, m_value); }

private:
    FNImage& m_region;
    SeedRange m_range;
    uint32_t m_value;
};

// The rows when the fill value is itself in range (a fill of the marked
// area with the mark): a map of filled pixels tells them apart, one pixel at
// a time.
class MarkedRows {
public:
    MarkedRows(FNImage& region, uint32_t seed, uint32_t value)
        : m_region(region)
        , m_range(seed)
        , m_value(value)
        , m_filled(static_cast<size_t>(region.width) * region.height, 0)
    {
    }
    int width() const { return m_region.width; }
    int height() const { return m_region.height; }
    bool open(int x, int y) const
    {
        return !m_filled[static_cast<size_t>(y) * width() + x] && m_range.one(m_region.row(y)[x]);
    }
    int firstOpen(int y, int from, int to) const
    {
        while (from <= to && !open(from, y))
            ++from;
        return from;
    }
    int runEnd(int y, int x) const
    {
        while (x + 1 < width() && open(x + 1, y))
            ++x;
        return x;
    }
    int runStart(int y, int x) const
    {
        while (x > 0 && open(x - 1, y))
            --x;
        return x;
    }
    void fill(int y, int from, int to)
    {
        std::fill(m_region.row(y) + from, m_region.row(y) + to + 1, m_value);
        std::fill(m_filled.begin() + static_cast<ptrdiff_t>(y) * width() + from,
            m_filled.begin() + static_cast<ptrdiff_t>(y) * width() + to + 1, 1);
    }

private:
    FNImage& m_region;
    SeedRange m_range;
    uint32_t m_value;
    std::vector<uint8_t> m_filled;
};

// Row y is to be searched in [left, right] for open pixels joined to the
// filled pixels [left, right] of row y - dy.
struct Segment {
    int y, left, right, dy;
};

// Every run found is filled whole; the row beyond it (y + dy) is searched
// under the whole run, the row it came from (y - dy) only where the run
// overhangs the segment. The pixels at left - 1 and right + 1 of row y - dy
// are never open (they end a run or belong to one), so the overhangs start
// two pixels out.
template <class Rows> void fillFromSeed(Rows& rows, int seedX, int seedY)
{
    std::vector<Segment> pending;
    const int left = rows.runStart(seedY, seedX), right = rows.runEnd(seedY, seedX);
    rows.fill(seedY, left, right);
    pending.push_back({ seedY + 1, left, right, 1 });
    pending.push_back({ seedY - 1, left, right, -1 });
    while (!pending.empty()) {
        const Segment s = pending.back();
        pending.pop_back();
        if (s.y < 0 || s.y >= rows.height())
            continue;
        for (int x = rows.firstOpen(s.y, s.left, s.right); x <= s.right; x = rows.firstOpen(s.y, x, s.right)) {
            const int from = x == s.left ? rows.runStart(s.y, x) : x, to = rows.runEnd(s.y, x);
            rows.fill(s.y, from, to);
            pending.push_back({ s.y + s.dy, from, to, s.dy });
            if (from < s.left - 1)
                pending.push_back({ s.y - s.dy, from, s.left - 2, -s.dy });
            if (to > s.right + 1)
                pending.push_back({ s.y - s.dy, s.right + 2, to, -s.dy });
            x = to + 2;
        }
    }
}

} // namespace

void q_FloodFill(FNImage& region, int seedX, int seedY, uint32_t value)
{
    if (!region.pixels || seedX < 0 || seedY < 0 || seedX >= region.width || seedY >= region.height)
        return;
    const uint32_t seed = region.row(seedY)[seedX];
    if (SeedRange(seed).one(value)) {
        MarkedRows rows(region, seed, value);
        fillFromSeed(rows, seedX, seedY);
    } else {
        OpenRows rows(region, seed, value);
        fillFromSeed(rows, seedX, seedY);
    }
}
