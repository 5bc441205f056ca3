#include "widgets/looks/LookPaint.h"

#include "imaging/FNImage.h"

#include <algorithm>

namespace FNLookPaint {

bool prepare(FNImage* target, int width, int height)
{
    if (!target || width <= 0 || height <= 0)
        return false;
    if (target->width != width || target->height != height || !target->pixels)
        target->resize(width, height);
    return true;
}

FNRGB mix(FNRGB a, FNRGB b, int wa, int wb)
{
    const int sum = wa + wb;
    return { (a.red * wa + b.red * wb) / sum, (a.green * wa + b.green * wb) / sum, (a.blue * wa + b.blue * wb) / sum };
}

FNRGB scale(FNRGB c, int num, int den)
{
    return { c.red * num / den, c.green * num / den, c.blue * num / den };
}

FNRGB add(FNRGB c, int red, int green, int blue)
{
    return { std::min(c.red + red, 255), std::min(c.green + green, 255), std::min(c.blue + blue, 255) };
}

void put(FNImage& target, int x, int y, FNRGB c, int alpha)
{
    target.setColor(x, y, c.red, c.green, c.blue, alpha);
}

void blend(FNImage& target, int x, int y, FNRGB c, int alpha)
{
    if (x < 0 || y < 0 || x >= target.width || y >= target.height)
        return;
    int r, g, b;
    target.getColor(x, y, r, g, b);
    // D = (a C + (255 - a) D) / 255
    target.setColor(x, y, (alpha * c.red + (255 - alpha) * r) / 255, (alpha * c.green + (255 - alpha) * g) / 255,
        (alpha * c.blue + (255 - alpha) * b) / 255, std::max(alpha, target.getAlpha(x, y)));
}

Tones themeTones(const char* key0, const char* key1, const char* key2)
{
    return { FNThemeRGB(key0), FNThemeRGB(key1), FNThemeRGB(key2), FNThemeRGB(FNThemeKey::Background) };
}

Tones baseTones()
{
    return themeTones(FNThemeKey::Base0, FNThemeKey::Base1, FNThemeKey::Base2);
}
Tones mainTones()
{
    return themeTones(FNThemeKey::Main0, FNThemeKey::Main1, FNThemeKey::Main2);
}
Tones accentTones()
{
    return themeTones(FNThemeKey::Accent0, FNThemeKey::Accent1, FNThemeKey::Accent2);
}

namespace {

    // Colour and alpha of ring pixel (i, j) of a w x h box, or false for the
    // body. Rings: 0 = outline, 1 = inner highlight.
    bool ringPixel(int i, int j, int w, int h, const Box& box, FNRGB& c, int& alpha)
    {
        const int edgeX = std::min(i, w - 1 - i), edgeY = std::min(j, h - 1 - j);
        const int ring = std::min(edgeX, edgeY);
        alpha = 255;
        if (ring == 0) {
            const int along = std::max(edgeX, edgeY);
            if (along == 0) // the corner pixel itself
                c = box.bg, alpha = 0;
            else if (along == 1)
                c = mix(box.bg, box.outline), alpha = 160;
            else if (along == 2)
                c = mix(box.bg, box.outline, 1, 4), alpha = 220;
            else
                c = box.outline;
            return true;
        }
        if (ring == 1) {
            c = (edgeX == 1 && edgeY == 1) ? mix(box.ring, box.outline, 1, 2) : box.ring;
            return true;
        }
        return false;
    }

} // namespace

void paintBox(FNImage& target, int x, int y, int w, int h, const Box& box)
{
    const int length = box.horizontal ? w : h;
    const int half = std::max(length / 2, 1);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            FNRGB c;
            int alpha;
            const int along = box.horizontal ? i : j;
            if (!ringPixel(i, j, w, h, box, c, alpha)) {
                // body: top .. bottom across the box, in thousandths
                const int t = length > 1 ? along * 1000 / (length - 1) : 0;
                c = mix(box.top, box.bottom, 1000 - t, t);
            }
            // sheen: + (half - along) 12 / half on the first half
            if (box.sheen && along < half && alpha > 0) {
                const int lift = (half - along) * 12 / half;
                c = add(c, lift, lift, lift);
            }
            put(target, x + i, y + j, c, alpha);
        }
    }
}

void paintArrow(FNImage& target, int cx, int cy, int span, Direction direction, FNRGB c)
{
    span |= 1; // odd, so the tip is one pixel on the centre line
    const int depth = (span + 1) / 2;
    for (int r = 0; r < depth; ++r) {
        const int halfWidth = span / 2 - r;
        // row r counts from the arrow's base toward its tip
        const int offset = r - depth / 2;
        for (int s = -halfWidth; s <= halfWidth; ++s) {
            switch (direction) {
            case Direction::Down:
                put(target, cx + s, cy + offset, c);
                break;
            case Direction::Up:
                put(target, cx + s, cy - offset, c);
                break;
            case Direction::Right:
                put(target, cx + offset, cy + s, c);
                break;
            case Direction::Left:
                put(target, cx - offset, cy + s, c);
                break;
            }
        }
    }
}

} // namespace FNLookPaint
