#include "app/pictures/CutCrop.h"

#include "imaging/FNImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

q_CutBounds clearUnmarked(FNImage& part, const FNImage& region)
{
    q_CutBounds bounds;
    for (int y = 0; y < part.height; ++y) {
        uint8_t* p = part.pixels + static_cast<size_t>(y) * part.width * 4;
        for (int x = 0; x < part.width; ++x, p += 4) {
            const bool marked = x < region.width && y < region.height && region.pixels
                && region.pixels[(static_cast<size_t>(y) * region.width + x) * 4 + 3] != 0;
            if (!marked) {
                p[3] = 0;
                continue;
            }
            bounds.minX = std::min(bounds.minX, x), bounds.maxX = std::max(bounds.maxX, x);
            bounds.minY = std::min(bounds.minY, y), bounds.maxY = std::max(bounds.maxY, y);
            ++bounds.count;
        }
    }
    return bounds;
}

} // namespace

q_CutBounds q_CropToCutRegion(FNImage& part, const FNImage& region)
{
    if (!part.pixels)
        return q_CutBounds {};
    q_CutBounds bounds = clearUnmarked(part, region);
    if (bounds.count == 0)
        return bounds;
    bounds.width = bounds.maxX - bounds.minX + 5;
    bounds.height = bounds.maxY - bounds.minY + 5;

    // Crop with a 2-pixel margin; the margin outside the old part is zero.
    std::vector<uint32_t> cropped(static_cast<size_t>(bounds.width) * bounds.height, 0);
    const int left = bounds.minX - 2, top = bounds.minY - 2;
    for (int j = 0; j < bounds.height; ++j) {
        const int y = top + j;
        if (y < 0 || y >= part.height)
            continue;
        for (int i = 0; i < bounds.width; ++i) {
            const int x = left + i;
            if (x >= 0 && x < part.width)
                cropped[static_cast<size_t>(j) * bounds.width + i] = part.row(y)[x];
        }
    }
    part.resize(bounds.width, bounds.height);
    std::memcpy(part.pixels, cropped.data(), part.byteCount());
    return bounds;
}
