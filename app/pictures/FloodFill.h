#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class FNImage;

// Flood fill of the cut region from a seed: every pixel connected to the seed
// (4-neighbourhood) whose colour bytes each lie within +-10 of the seed's
// becomes `value` (all four bytes). A seed outside the region fills nothing.
// The fill works by runs of a row (scan-line spans), four pixels tested at a
// time; it reaches the same pixels as the breadth-first walk below would.
void q_FloodFill(FNImage& region, int seedX, int seedY, uint32_t value);

// The breadth-first walk of the cut optimisation (the flood fill reaches
// the same pixels by runs): marks in `visited` (one byte per pixel of a
// width x height picture) every pixel reachable from the seed through
// pixels for which accept(x, y) holds, taking neighbours right, left,
// lower, upper. Pixels already visited (by an earlier seed) are not
// expanded again. `queue` is scratch space reused between calls.
template <typename Accept>
void q_VisitConnected(int width, int height, int seedX, int seedY, std::vector<uint8_t>& visited,
    std::vector<uint32_t>& queue, Accept accept)
{
    const auto index = [width](int x, int y) { return static_cast<uint32_t>(y) * static_cast<uint32_t>(width) + x; };
    queue.clear();
    if (visited[index(seedX, seedY)])
        return;
    // Pixels are marked when they join the list rather than when they are
    // taken from it: the set reached is the same, and no pixel is listed
    // twice.
    visited[index(seedX, seedY)] = 1;
    queue.push_back(index(seedX, seedY));
    const auto offer = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height && !visited[index(x, y)] && accept(x, y)) {
            visited[index(x, y)] = 1;
            queue.push_back(index(x, y));
        }
    };
    for (size_t head = 0; head < queue.size(); ++head) {
        const uint32_t at = queue[head];
        const int x = static_cast<int>(at % static_cast<uint32_t>(width));
        const int y = static_cast<int>(at / static_cast<uint32_t>(width));
        offer(x + 1, y);
        offer(x - 1, y);
        offer(x, y + 1);
        offer(x, y - 1);
    }
}
