#include "imaging/text/TextBlend.h"

#include "imaging/FNImage.h"

#include <algorithm>
#include <cstdint>

namespace {

// The first and one-past-last target index along one axis: inside the
// clip span, the target and the text picture placed at `at`. 64-bit so
// that extreme positions and clip sizes cannot overflow.
std::pair<int, int> visibleSpan(int at, int textLength, int clipStart, int clipLength, int targetLength)
{
    const int64_t first = std::max<int64_t>({ at, clipStart, 0 });
    const int64_t last
        = std::min<int64_t>({ int64_t(at) + textLength, int64_t(clipStart) + clipLength, int64_t(targetLength) });
    if (first >= last)
        return { 0, 0 };
    return { static_cast<int>(first), static_cast<int>(last) };
}

} // namespace

void blendTextPicture(FNImage& target, const FNImage& text, int x, int y, const FNTextClip& clip, int red, int green,
    int blue, bool writeAlpha)
{
    if (!target.pixels || !text.pixels)
        return;
    const auto [x0, x1] = visibleSpan(x, text.width, clip.x, clip.width, target.width);
    const auto [y0, y1] = visibleSpan(y, text.height, clip.y, clip.height, target.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    // Inside a non-empty span the text offsets are in 0 .. text size - 1.
    const size_t textX = static_cast<size_t>(int64_t(x0) - x);
    for (int Y = y0; Y < y1; ++Y) {
        const size_t textY = static_cast<size_t>(int64_t(Y) - y);
        const uint8_t* s = text.pixels + (textY * text.width + textX) * 4;
        uint8_t* d = target.pixels + (static_cast<size_t>(Y) * target.width + x0) * 4;
        for (int X = x0; X < x1; ++X, s += 4, d += 4) {
            // i = 255 - text byte per channel; untouched white (sum 0) is skipped
            const int ib = 255 - s[0], ig = 255 - s[1], ir = 255 - s[2];
            const int sum = ib + ig + ir;
            if (sum == 0)
                continue;
            // k = (587 ig + 299 ir + 114 ib) / 1000;  D = (k C + D (256 - k)) >> 8
            const int k = (587 * ig + 299 * ir + 114 * ib) / 1000;
            d[0] = static_cast<uint8_t>((k * blue + d[0] * (256 - k)) >> 8);
            d[1] = static_cast<uint8_t>((k * green + d[1] * (256 - k)) >> 8);
            d[2] = static_cast<uint8_t>((k * red + d[2] * (256 - k)) >> 8);
            // A = max(A, sum / 3)
            if (writeAlpha)
                d[3] = static_cast<uint8_t>(std::max<int>(d[3], sum / 3));
        }
    }
}
