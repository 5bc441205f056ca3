#include "app/canvas/q_BorderBox.h"

#include "app/pictures/LineWalk.h"
#include "imaging/raster/RasterBlend.h"

#include <cmath>

namespace {

int rounded(double v)
{
    return static_cast<int>(std::trunc(v + 0.5));
}

// The blend modes of the rasteriser, chosen at run time.
int blendChannel(int mode, int s, int d)
{
    using namespace FNRasterBlend;
    switch (mode) {
    case FNBlendInvert:
        return Invert::channel(s, d);
    case FNBlendMultiply:
        return Multiply::channel(s, d);
    case FNBlendScreen:
        return Screen::channel(s, d);
    case FNBlendDarken:
        return Darken::channel(s, d);
    case FNBlendLighten:
        return Lighten::channel(s, d);
    case FNBlendOverlay:
        return Overlay::channel(s, d);
    case FNBlendColorDodge:
        return ColorDodge::channel(s, d);
    case FNBlendColorBurn:
        return ColorBurn::channel(s, d);
    default:
        return s;
    }
}

} // namespace

q_BorderBox::q_BorderBox(double x, double y, double w, double h, int depth)
    : FN2DItem(static_cast<int>(w), static_cast<int>(h), x, y, depth)
{
    FN_SET_CLASS_NAME(q_BorderBox);
}

void q_BorderBox::DrawSelf(
    uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom)
{
    DrawOutline(pixels, width, height, rowLength, left, top, right, bottom, false);
}

void q_BorderBox::DrawSelfClipped(
    uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom)
{
    DrawOutline(pixels, width, height, rowLength, left, top, right, bottom, true);
}

bool q_BorderBox::InsideClippingAncestors(int x, int y) const
{
    for (const FN2DItemBase* ancestor = parent; ancestor; ancestor = ancestor->parent) {
        if (!ancestor->clipChildren)
            continue;
        double lx, ly;
        ancestor->ToLocal(x, y, lx, ly);
        if (lx < 0 || ly < 0 || lx > ancestor->width - 1 || ly > ancestor->height - 1)
            return false;
    }
    return true;
}

void q_BorderBox::DrawOutline(
    uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom, bool clipped)
{
    const int a = EffectiveAlpha();
    if (a <= 0)
        return;
    // The corners, top-left, top-right, bottom-right, bottom-left, on the buffer.
    const FNAffine world = WorldMatrix();
    const double wx = WorldX(), wy = WorldY();
    const double cornerX[4] = { 0, this->width - 1, this->width - 1, 0 };
    const double cornerY[4] = { 0, 0, this->height - 1, this->height - 1 };
    int px[4], py[4];
    for (int i = 0; i < 4; ++i) {
        double sx, sy;
        world.apply(wx + cornerX[i], wy + cornerY[i], sx, sy);
        px[i] = rounded(sx);
        py[i] = rounded(sy);
    }
    auto plot = [&](int x, int y) {
        if (x < left || y < top || x >= right || y >= bottom || x < 0 || y < 0 || x >= width || y >= height)
            return;
        if (clipped && !InsideClippingAncestors(x, y))
            return;
        uint32_t& p = pixels[static_cast<size_t>(y) * rowLength + x];
        uint32_t out = p & 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            const int c = (p >> shift) & 255;
            // c' = (c (255 - a) + (255 - c) a) >> 8: the inverse mixed in by a
            const int inverted = (c * (255 - a) + (255 - c) * a) >> 8;
            out |= static_cast<uint32_t>(blendChannel(blendMode, inverted, c) & 255) << shift;
        }
        p = out;
    };
    for (int edge = 0; edge < 4; ++edge) {
        const int next = (edge + 1) % 4;
        q_LineWalk walk(px[edge], py[edge], px[next], py[next]);
        int x, y;
        while (walk.next(x, y))
            plot(x, y);
    }
}
