#include "widgets/looks/FaceLook.h"

#include "imaging/FNImage.h"

#include <algorithm>

using namespace FNLookPaint;

namespace {

struct Pixel {
    FNRGB c;
    int alpha = 255;
};

// Body colour of column x, row y (h rows, `half` as in paintFace): shaded
// toward the middle of tone 1 and 2 down to row s = half + k, where k bends
// the edge up by two pixels beside the outline and one pixel next to that;
// tone 1 from row s on, lightening again toward the bottom.
FNRGB bodyColor(int x, int y, int w, int half, const Tones& t)
{
    const int k = (x == 2 || x == w - 3) ? 2 : (x == 3 || x == 4 || x == w - 5 || x == w - 4) ? 1 : 0;
    const int s = half + k;
    // C = y 500 / s above s, else 1000 - (y - s) 700 / s; colour = (D c2 + C c1) >> 10
    const int C = y < s ? y * 500 / s : 1000 - (y - s) * 700 / s;
    const int D = 1000 - C;
    return { (D * t.c2.red + C * t.c1.red) >> 10, (D * t.c2.green + C * t.c1.green) >> 10,
        (D * t.c2.blue + C * t.c1.blue) >> 10 };
}

// The first matching rule for pixel (x, y) of a w x h face.
Pixel facePixel(int x, int y, int w, int h, int half, const Tones& t)
{
    const bool outerX = x == 0 || x == w - 1, outerY = y == 0 || y == h - 1;
    const bool secondX = x == 1 || x == w - 2, secondY = y == 1 || y == h - 2;
    const bool thirdX = x == 2 || x == w - 3, thirdY = y == 2 || y == h - 3;
    if (outerX && outerY)
        return { t.bg, 0 };
    if ((outerX && secondY) || (secondX && outerY))
        return { mix(t.bg, t.c0), 160 };
    if ((outerX && thirdY) || (thirdX && outerY))
        return { mix(t.bg, t.c0, 1, 4), 220 };
    if (secondX && secondY)
        return { mix(t.c2, t.c0, 1, 2) };
    if ((thirdX && secondY) || (secondX && thirdY))
        return { mix(t.c0, t.c2, 1, 3) };
    if (thirdX && y == 2)
        return { t.c2 };
    if (thirdX && y == h - 3)
        return { mix(t.c1, t.c2, 1, 2) };
    if (outerX || outerY)
        return { t.c0 };
    if (secondX || secondY)
        return { t.c2 };
    return { bodyColor(x, y, w, half, t) };
}

uint8_t limit(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

} // namespace

void paintFace(FNImage& target, int w, int h, const Tones& tones)
{
    const int half = h > 3 ? h >> 1 : 2;
    for (int y = 0; y < h; ++y) {
        // sheen = (half - y) 15 / half on the upper half; shade = y 20 / h (y 10 / h on blue)
        const int sheen = y < half ? (half - y) * 15 / half : 0;
        const int shade = y * 20 / h, shadeBlue = y * 10 / h;
        uint8_t* p = target.pixels + static_cast<size_t>(y) * target.width * 4;
        for (int x = 0; x < w; ++x, p += 4) {
            const Pixel px = facePixel(x, y, w, h, half, tones);
            p[0] = limit(px.c.blue + sheen - shadeBlue);
            p[1] = limit(px.c.green + sheen - shade);
            p[2] = limit(px.c.red + sheen - shade);
            p[3] = limit(px.alpha);
        }
    }
}

Tones pressedTones(const Tones& tones)
{
    return { scale(tones.c0, 2, 3), scale(tones.c1, 2, 3), scale(tones.c2, 2, 3), tones.bg };
}
