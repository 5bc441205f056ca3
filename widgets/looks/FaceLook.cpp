#include "widgets/looks/FaceLook.h"

#include "imaging/FNImage.h"

#include <algorithm>

using namespace FNLookPaint;

namespace {

struct Pixel {
    FNRGB c;
    int alpha = 255;
};

// The fixed colours of rules 1 to 9, mixed once per face.
struct RuleColors {
    Pixel corner, edgeSecond, edgeThird, secondCorner, secondThird, thirdTop, thirdBottom, outline, highlight;
    explicit RuleColors(const Tones& t)
        : corner { t.bg, 0 }
        , edgeSecond { mix(t.bg, t.c0), 160 } // (bg + c0) / 2
        , edgeThird { mix(t.bg, t.c0, 1, 4), 220 } // (bg + 4 c0) / 5
        , secondCorner { mix(t.c2, t.c0, 1, 2) } // (c2 + 2 c0) / 3
        , secondThird { mix(t.c0, t.c2, 1, 3) } // (c0 + 3 c2) / 4
        , thirdTop { t.c2 }
        , thirdBottom { mix(t.c1, t.c2, 1, 2) } // (c1 + 2 c2) / 3
        , outline { t.c0 }
        , highlight { t.c2 }
    {
    }
};

// Body colour of row y when the shading edge lies at row s = half + k, where
// k bends the edge down by two pixels beside the outline and one pixel next
// to that: shaded toward the middle of tone 1 and 2 above s, tone 1 at s,
// lightening again below it.
FNRGB bodyColor(int y, int s, const Tones& t)
{
    // C = y 500 / s above s, else 1000 - (y - s) 700 / s; colour = (D c2 + C c1) >> 10
    const int C = y < s ? y * 500 / s : 1000 - (y - s) * 700 / s;
    const int D = 1000 - C;
    return { (D * t.c2.red + C * t.c1.red) >> 10, (D * t.c2.green + C * t.c1.green) >> 10,
        (D * t.c2.blue + C * t.c1.blue) >> 10 };
}

int bend(int x, int w)
{
    if (x == 2 || x == w - 3)
        return 2;
    return (x == 3 || x == 4 || x == w - 5 || x == w - 4) ? 1 : 0;
}

// The first matching rule for pixel (x, y) of a w x h face; `body` holds
// the row's body colour for each bend k.
const Pixel& facePixel(int x, int y, int w, int h, const RuleColors& r, const Pixel body[3])
{
    const bool outerX = x == 0 || x == w - 1, outerY = y == 0 || y == h - 1;
    const bool secondX = x == 1 || x == w - 2, secondY = y == 1 || y == h - 2;
    const bool thirdX = x == 2 || x == w - 3, thirdY = y == 2 || y == h - 3;
    if (outerX && outerY)
        return r.corner;
    if ((outerX && secondY) || (secondX && outerY))
        return r.edgeSecond;
    if ((outerX && thirdY) || (thirdX && outerY))
        return r.edgeThird;
    if (secondX && secondY)
        return r.secondCorner;
    if ((thirdX && secondY) || (secondX && thirdY))
        return r.secondThird;
    if (thirdX && y == 2)
        return r.thirdTop;
    if (thirdX && y == h - 3)
        return r.thirdBottom;
    if (outerX || outerY)
        return r.outline;
    if (secondX || secondY)
        return r.highlight;
    return body[bend(x, w)];
}

uint8_t limit(int v)
{
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

// Writes one pixel with the row's sheen and shading applied.
inline void store(uint8_t* p, const Pixel& px, int sheen, int shade, int shadeBlue)
{
    p[0] = limit(px.c.blue + sheen - shadeBlue);
    p[1] = limit(px.c.green + sheen - shade);
    p[2] = limit(px.c.red + sheen - shade);
    p[3] = static_cast<uint8_t>(px.alpha);
}

} // namespace

void paintFace(FNImage& target, int w, int h, const Tones& tones)
{
    const int half = h > 3 ? h >> 1 : 2;
    const RuleColors rules(tones);
    for (int y = 0; y < h; ++y) {
        const Pixel body[3]
            = { { bodyColor(y, half, tones) }, { bodyColor(y, half + 1, tones) }, { bodyColor(y, half + 2, tones) } };
        // sheen = (half - y) 15 / half on the upper half; shade = y 20 / h (y 10 / h on blue)
        const int sheen = y < half ? (half - y) * 15 / half : 0;
        const int shade = y * 20 / h, shadeBlue = y * 10 / h;
        uint8_t* row = target.pixels + static_cast<size_t>(y) * target.width * 4;
        // Away from the three edge rows and the five edge columns on each
        // side every pixel is the unbent body: one word for the whole span.
        const bool edgeRow = y < 3 || y >= h - 3;
        const int spanStart = edgeRow ? w : 5, spanEnd = edgeRow ? w : std::max(w - 5, 5);
        for (int x = 0; x < std::min(spanStart, w); ++x)
            store(row + x * 4, facePixel(x, y, w, h, rules, body), sheen, shade, shadeBlue);
        if (spanStart < spanEnd) {
            uint32_t word;
            store(reinterpret_cast<uint8_t*>(&word), body[0], sheen, shade, shadeBlue);
            std::fill(reinterpret_cast<uint32_t*>(row) + spanStart, reinterpret_cast<uint32_t*>(row) + spanEnd, word);
        }
        for (int x = std::max(spanEnd, spanStart); x < w; ++x)
            store(row + x * 4, facePixel(x, y, w, h, rules, body), sheen, shade, shadeBlue);
    }
}

Tones pressedTones(const Tones& tones)
{
    return { scale(tones.c0, 2, 3), scale(tones.c1, 2, 3), scale(tones.c2, 2, 3), tones.bg };
}
