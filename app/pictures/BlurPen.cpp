#include "app/pictures/BlurPen.h"

#include "app/pictures/LineWalk.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <vector>

namespace {

struct BlockMean {
    bool valid = false;
    uint8_t colour[3] = { 0, 0, 0 };
};

// Mean of the 3 x 3 block around (x, y), over the pixels inside the picture:
// M_c = (sum of kept P_c) / (number kept), integer division.
BlockMean blockMean(const FNImage& picture, int x, int y)
{
    int sum[3] = { 0, 0, 0 };
    int kept = 0;
    for (int by = std::max(y - 1, 0); by <= std::min(y + 1, picture.height - 1); ++by) {
        for (int bx = std::max(x - 1, 0); bx <= std::min(x + 1, picture.width - 1); ++bx) {
            const uint8_t* p = picture.pixels + (static_cast<size_t>(by) * picture.width + bx) * 4;
            sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
            ++kept;
        }
    }
    BlockMean mean;
    if (kept == 0)
        return mean;
    mean.valid = true;
    for (int c = 0; c < 3; ++c)
        mean.colour[c] = static_cast<uint8_t>(sum[c] / kept);
    return mean;
}

} // namespace

void q_BlurDab(FNImage& picture, int size, int cx, int cy)
{
    if (size < 1 || !picture.pixels)
        return;
    const int r = size / 2, e = (size + 1) / 2;
    const int span = r + e; // == size
    // Gather every mean first so that the dab reads only the old picture.
    std::vector<BlockMean> means(static_cast<size_t>(span) * span);
    for (int dy = -r; dy < e; ++dy) {
        for (int dx = -r; dx < e; ++dx) {
            if (dx * dx + dy * dy <= r * r)
                means[static_cast<size_t>(dy + r) * span + (dx + r)] = blockMean(picture, cx + dx, cy + dy);
        }
    }
    for (int dy = -r; dy < e; ++dy) {
        for (int dx = -r; dx < e; ++dx) {
            const BlockMean& mean = means[static_cast<size_t>(dy + r) * span + (dx + r)];
            const int x = cx + dx, y = cy + dy;
            if (!mean.valid || x < 0 || y < 0 || x >= picture.width || y >= picture.height)
                continue;
            uint8_t* p = picture.pixels + (static_cast<size_t>(y) * picture.width + x) * 4;
            p[0] = mean.colour[0], p[1] = mean.colour[1], p[2] = mean.colour[2];
        }
    }
}

void q_BlurLine(FNImage& picture, int size, int x0, int y0, int x1, int y1)
{
    const int spacing = std::max(size / 2, 1);
    q_LineWalk walk(x0, y0, x1, y1);
    int x, y;
    for (int k = 0; walk.next(x, y); ++k) {
        if (k % spacing == 0)
            q_BlurDab(picture, size, x, y);
    }
}
