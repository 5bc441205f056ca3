#include "app/pictures/FloodFill.h"

#include "imaging/FNImage.h"

#include <cstdlib>

void q_FloodFill(FNImage& region, int seedX, int seedY, uint32_t value)
{
    if (!region.pixels || seedX < 0 || seedY < 0 || seedX >= region.width || seedY >= region.height)
        return;
    const uint8_t* seed = region.pixels + (static_cast<size_t>(seedY) * region.width + seedX) * 4;
    const int c0 = seed[0], c1 = seed[1], c2 = seed[2];
    // In range: |P_c - seed_c| <= 10 for each colour byte; alpha is not compared.
    const auto inRange = [&](int x, int y) {
        const uint8_t* p = region.pixels + (static_cast<size_t>(y) * region.width + x) * 4;
        return std::abs(p[0] - c0) <= 10 && std::abs(p[1] - c1) <= 10 && std::abs(p[2] - c2) <= 10;
    };
    std::vector<uint8_t> visited(static_cast<size_t>(region.width) * region.height, 0);
    std::vector<uint32_t> queue;
    q_VisitConnected(region.width, region.height, seedX, seedY, visited, queue, inRange);
    uint32_t* pixels = region.row(0);
    for (size_t i = 0; i < visited.size(); ++i) {
        if (visited[i])
            pixels[i] = value;
    }
}
