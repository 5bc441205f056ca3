#pragma once

#include <cstdint>

// Size checks applied to every picture size read from a file or computed
// from user input, before anything is allocated.
//
// The side limit (32768) and the area limit (2^28 pixels, 1 GiB of pixel
// memory) are arbitrary product limits, far above anything the editor can
// show (canvases are at most 1200 pixels a side). What is essential is that
// the checks run in 64-bit arithmetic before any allocation, so a hostile
// header can neither overflow a size computation nor exhaust memory.
constexpr int64_t kMaxPictureSide = 32768;
constexpr int64_t kMaxPicturePixels = int64_t(1) << 28;

inline bool pictureSizeAcceptable(int64_t width, int64_t height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide
        && width * height <= kMaxPicturePixels;
}

// The same check for sizes computed in floating point (before truncation).
inline bool pictureSizeAcceptable(double width, double height)
{
    return width >= 1 && height >= 1 && width < double(kMaxPictureSide + 1) && height < double(kMaxPictureSide + 1)
        && static_cast<int64_t>(width) * static_cast<int64_t>(height) <= kMaxPicturePixels;
}
