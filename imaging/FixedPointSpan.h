#pragma once

#include <algorithm>
#include <cstdint>

// Span cutting for fixed-point walks: a pixel loop steps a whole-number
// position t = start + i * step; cutSpan finds, without visiting them, the
// steps i at which t lies in a range, so loops skip pixels whose result is
// known without changing the value of any pixel they do visit. Used by the
// picture operations (line bands, the transform's resample) and by the item
// rasteriser.

namespace FNFixedPointSpan {

// a / b rounded towards minus infinity (b != 0).
inline int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// a / b rounded towards plus infinity (b != 0).
inline int64_t ceilDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) == (b < 0))) ? q + 1 : q;
}

// Narrows the steps [first, last) to those for which
// low <= start + i * step <= high. The bounds come from one division per
// edge, rounded inward, so the remaining steps are exactly the ones that
// satisfy the condition. An empty result is first == last, at the end of the
// given range; cutting an empty range again leaves it empty.
template <class Index> void cutSpan(int64_t start, int64_t step, int64_t low, int64_t high, Index& first, Index& last)
{
    if (step == 0) {
        if (start < low || start > high)
            first = last;
        return;
    }
    int64_t from, to; // inclusive
    if (step > 0) {
        from = ceilDiv(low - start, step);
        to = floorDiv(high - start, step);
    } else {
        from = ceilDiv(high - start, step);
        to = floorDiv(low - start, step);
    }
    const int64_t newFirst = std::max<int64_t>(first, from), newLast = std::min<int64_t>(last, to + 1);
    if (newFirst >= newLast) {
        first = last;
        return;
    }
    first = static_cast<Index>(newFirst);
    last = static_cast<Index>(newLast);
}

} // namespace FNFixedPointSpan
