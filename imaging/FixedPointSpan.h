#pragma once

#include <algorithm>
#include <cstdint>

// Span cutting for fixed-point walks: a pixel loop steps a whole-number
// position t = start + i * step; these helpers find, without visiting them,
// the steps i at which t lies in a range, so loops skip pixels whose result
// is known without changing the value of any pixel they do visit.

inline int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// The steps i (in [first, last)) for which lo <= start + i * step <= hi.
inline void narrowToRange(int64_t start, int64_t step, int64_t lo, int64_t hi, int& first, int& last)
{
    if (step == 0) {
        if (start < lo || start > hi)
            first = last;
        return;
    }
    int64_t from, to; // inclusive
    if (step > 0) {
        from = -floorDiv(start - lo, step); // ceil((lo - start) / step)
        to = floorDiv(hi - start, step);
    } else {
        from = -floorDiv(hi - start, -step);
        to = floorDiv(start - lo, -step);
    }
    const int64_t newFirst = std::max<int64_t>(first, from), newLast = std::min<int64_t>(last, to + 1);
    if (newFirst >= newLast) {
        first = last; // empty: the range sits at the end of the given one
        return;
    }
    first = static_cast<int>(newFirst);
    last = static_cast<int>(newLast);
}
