#include "app/pictures/CutOptimise.h"

#include "app/pictures/CutRegion.h"
#include "app/pictures/FloodFill.h"
#include "imaging/FNImage.h"

#include <cstdlib>
#include <ostream>
#include <utility>
#include <vector>

namespace {

// Alpha at (x, y), 0 outside the picture.
inline int alphaAt(const FNImage& image, int x, int y)
{
    if (!image.pixels || x < 0 || y < 0 || x >= image.width || y >= image.height)
        return 0;
    return image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3];
}

inline bool opaqueInBoth(const FNImage& region, const FNImage& part, int x, int y)
{
    return alphaAt(region, x, y) != 0 && alphaAt(part, x, y) != 0;
}

std::vector<std::pair<int, int>> boundaryPixels(const FNImage& region, const FNImage& part)
{
    std::vector<std::pair<int, int>> boundary;
    for (int y = 1; y <= part.height - 2; ++y) {
        for (int x = 1; x <= part.width - 2; ++x) {
            if (!opaqueInBoth(region, part, x, y))
                continue;
            if (!opaqueInBoth(region, part, x + 1, y) || !opaqueInBoth(region, part, x - 1, y)
                || !opaqueInBoth(region, part, x, y + 1) || !opaqueInBoth(region, part, x, y - 1))
                boundary.emplace_back(x, y);
        }
    }
    return boundary;
}

// Runs `decide(copy, x, y)` for every inner pixel against a copy of the
// region taken before the pass and writes the word it returns.
template <typename Decide> void innerPass(FNImage& region, Decide decide)
{
    if (!region.pixels)
        return;
    const std::vector<uint32_t> copy(region.row(0), region.row(0) + static_cast<size_t>(region.width) * region.height);
    const int w = region.width;
    for (int y = 1; y <= region.height - 2; ++y) {
        uint32_t* row = region.row(y);
        const uint32_t* at = copy.data() + static_cast<size_t>(y) * w;
        for (int x = 1; x <= w - 2; ++x)
            row[x] = decide(at + x, w, row[x]);
    }
}

} // namespace

void q_Erode(FNImage& region)
{
    innerPass(region, [](const uint32_t* p, int w, uint32_t current) {
        const bool allMarked
            = q_HasMarkColour(p[-1]) && q_HasMarkColour(p[1]) && q_HasMarkColour(p[-w]) && q_HasMarkColour(p[w]);
        return allMarked ? current : q_kClearValue;
    });
}

void q_Dilate(FNImage& region)
{
    innerPass(region, [](const uint32_t* p, int w, uint32_t current) {
        const bool anyMarked
            = q_HasMarkColour(p[-1]) || q_HasMarkColour(p[1]) || q_HasMarkColour(p[-w]) || q_HasMarkColour(p[w]);
        return anyMarked ? q_kMarkValue : current;
    });
}

int q_OptimiseCutRegion(FNImage& region, const FNImage& part, std::ostream& log)
{
    const std::vector<std::pair<int, int>> boundary = boundaryPixels(region, part);
    log << "境界線対象色の数:" << boundary.size() << std::endl;

    std::vector<uint8_t> visited(static_cast<size_t>(part.width) * part.height, 0);
    std::vector<uint32_t> queue;
    for (const auto& [sx, sy] : boundary) {
        if (visited[static_cast<size_t>(sy) * part.width + sx])
            continue;
        const uint8_t* seed = part.pixels + (static_cast<size_t>(sy) * part.width + sx) * 4;
        const int c0 = seed[0], c1 = seed[1], c2 = seed[2];
        // Follow marked pixels with |P_c - seed_c| <= 15 for each colour byte.
        q_VisitConnected(part.width, part.height, sx, sy, visited, queue, [&](int x, int y) {
            const uint8_t* p = part.pixels + (static_cast<size_t>(y) * part.width + x) * 4;
            return alphaAt(region, x, y) != 0 && std::abs(p[0] - c0) <= 15 && std::abs(p[1] - c1) <= 15
                && std::abs(p[2] - c2) <= 15;
        });
    }
    for (int y = 0; y < region.height && y < part.height; ++y) {
        uint32_t* row = region.row(y);
        for (int x = 0; x < region.width && x < part.width; ++x) {
            if (visited[static_cast<size_t>(y) * part.width + x])
                row[x] = q_kClearValue;
        }
    }
    for (int pass = 0; pass < 2; ++pass)
        q_Erode(region);
    for (int pass = 0; pass < 4; ++pass)
        q_Dilate(region);
    return static_cast<int>(boundary.size());
}
