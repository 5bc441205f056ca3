#pragma once

#include <cstdint>

// Pictures the readers accept but that are larger than 2^18 pixels are not
// loaded while fuzzing. The readers accept up to 2^28 pixels, and a few
// bytes claiming such a size legitimately make a picture of up to 1 GiB;
// the code run for it is the same as for small pictures, only longer, and
// seconds per input would slow the search to a crawl. Sizes beyond the
// readers' limits still go through, so their refusals are fuzzed too.
inline bool tooSlowToFuzz(int64_t claimedPixels)
{
    return claimedPixels > (int64_t(1) << 18) && claimedPixels <= (int64_t(1) << 28);
}
