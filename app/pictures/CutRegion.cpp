#include "app/pictures/CutRegion.h"

#include "app/pictures/LineWalk.h"
#include "imaging/FNImage.h"

namespace {

// Writes `value` at (cx + k, cy + i) for lo <= i, k < end and
// i^2 + k^2 <= (s/2)^2, skipping pixels outside the region.
void stampDisc(FNImage& region, int size, int cx, int cy, int end, uint32_t value)
{
    const int half = size / 2;
    const int lo = -half;
    for (int i = lo; i < end; ++i) {
        const int y = cy + i;
        if (y < 0 || y >= region.height)
            continue;
        uint32_t* row = region.row(y);
        for (int k = lo; k < end; ++k) {
            const int x = cx + k;
            if (x >= 0 && x < region.width && i * i + k * k <= half * half)
                row[x] = value;
        }
    }
}

template <typename Stamp> void stampLine(int x0, int y0, int x1, int y1, Stamp stamp)
{
    q_LineWalk walk(x0, y0, x1, y1);
    int x, y;
    while (walk.next(x, y))
        stamp(x, y);
}

} // namespace

void q_PenDisc(FNImage& region, int size, int cx, int cy)
{
    if (region.pixels)
        stampDisc(region, size, cx, cy, (size + 1) / 2, q_kMarkValue);
}

void q_EraserDisc(FNImage& region, int size, int cx, int cy)
{
    if (region.pixels)
        stampDisc(region, size, cx, cy, (size + 1) / 2 + 1, q_kClearValue);
}

void q_PenLine(FNImage& region, int size, int x0, int y0, int x1, int y1)
{
    stampLine(x0, y0, x1, y1, [&](int x, int y) { q_PenDisc(region, size, x, y); });
}

void q_EraserLine(FNImage& region, int size, int x0, int y0, int x1, int y1)
{
    stampLine(x0, y0, x1, y1, [&](int x, int y) { q_EraserDisc(region, size, x, y); });
}
