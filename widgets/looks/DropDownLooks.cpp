// The drop-down list's looks: the closed box (normal and highlighted) and
// the body of the open list.
#include "widgets/looks/FNLooks.h"

#include "imaging/FNImage.h"
#include "widgets/looks/FaceLook.h"
#include "widgets/looks/LookPaint.h"

using namespace FNLookPaint;

namespace {

// Width of the arrow area at the box's right end.
constexpr int kArrowArea = 18;

// A face with an etched divider before the arrow area and a down arrow
// centred in it. Boxes too narrow for the area are plain faces.
void paintDropDownBox(FNImage& target, int w, int h, const Tones& t)
{
    paintFace(target, w, h, t);
    const int divider = w - kArrowArea;
    if (divider < 4 || h < 8)
        return;
    for (int y = 4; y <= h - 5; ++y) {
        blend(target, divider, y, t.c0, 150);
        blend(target, divider + 1, y, t.c2, 200);
    }
    const FNRGB glyph = scale(t.c0, 3, 4);
    const int cx = divider + 1 + (kArrowArea - 1) / 2, cy = h / 2;
    // a light emboss one row below, then the arrow itself
    paintArrow(target, cx, cy + 1, 7, Direction::Down, add(t.c2, 0, 0, 0));
    paintArrow(target, cx, cy, 7, Direction::Down, glyph);
}

} // namespace

void FNDropDownBoxLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintDropDownBox(*target, width, height, baseTones());
}

void FNDropDownBoxHighlightLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintDropDownBox(*target, width, height, mainTones());
}

// The open list: a one-pixel tone-0 border (the list's entries sit one
// pixel inside it) around a light body that cools slightly toward the
// bottom; the border's corner pixels are softened toward the body.
void FNDropDownListLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = mainTones();
    const FNRGB top = mix(t.c2, t.bg, 1, 1), bottom = mix(t.c2, t.c1, 5, 1);
    for (int y = 0; y < height; ++y) {
        const int k = height > 1 ? y * 1000 / (height - 1) : 0;
        const FNRGB body = mix(top, bottom, 1000 - k, k);
        for (int x = 0; x < width; ++x) {
            const bool edgeX = x == 0 || x == width - 1, edgeY = y == 0 || y == height - 1;
            if (edgeX && edgeY)
                put(*target, x, y, mix(t.c0, body), 255);
            else if (edgeX || edgeY)
                put(*target, x, y, t.c0, 255);
            else
                put(*target, x, y, body, 255);
        }
    }
}
