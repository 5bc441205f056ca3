// The looks of a framed window (FNExWindow): title bar, frame edges and the
// minimise, maximise, restore and close buttons of the title bar.
#include "widgets/looks/FNLooks.h"

#include "imaging/FNImage.h"
#include "widgets/looks/FaceLook.h"
#include "widgets/looks/LookPaint.h"

#include <algorithm>

using namespace FNLookPaint;

namespace {

FNRGB base2()
{
    return FNThemeRGB(FNThemeKey::Base2);
}
FNRGB accent2()
{
    return FNThemeRGB(FNThemeKey::Accent2);
}

// Softens the outer corner pixels of the top edge toward the background:
// a rounded corner of radius 3 built from alpha steps.
void softenTopCorners(FNImage& target, int w, const FNRGB& bg)
{
    static const int kCorner[3][3] = { { 0, 90, 200 }, { 90, 255, 255 }, { 200, 255, 255 } };
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            const int alpha = kCorner[j][i];
            if (alpha == 255)
                continue;
            for (int x : { i, w - 1 - i }) {
                int r, g, b;
                target.getColor(x, j, r, g, b);
                const FNRGB c = alpha == 0 ? bg : mix(FNRGB { r, g, b }, bg, 2, 1);
                put(target, x, j, c, alpha);
            }
        }
    }
}

} // namespace

// The title bar: a tone-0 outline along the top and sides with rounded top
// corners, a light top ring, and a glossy body: base2 fading into main2 on
// the upper half, main2 deepening into main1 below it. The bottom row is a
// soft divider toward the client area.
void FNTitleBarLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = mainTones();
    const int half = std::max(height / 2, 1);
    for (int y = 0; y < height; ++y) {
        FNRGB body;
        if (y < half)
            body = mix(base2(), t.c2, half - y, y);
        else
            body = mix(mix(t.c2, t.c1, 2, 1), t.c1, height - y, y - half);
        for (int x = 0; x < width; ++x) {
            const bool side = x == 0 || x == width - 1;
            FNRGB c = body;
            if (y == 0 || side)
                c = mix(t.c0, t.c1, 2, 1);
            else if (y == 1 || x == 1 || x == width - 2)
                c = mix(base2(), body, 2, 1);
            if (y == height - 1 && !side)
                c = mix(t.c0, t.c1, 1, 2);
            put(*target, x, y, c, 255);
        }
    }
    softenTopCorners(*target, width, t.bg);
}

// The frame's left, right or bottom edge: the window's outline in tone 0
// on the outer side, a light line inside it, background between; the
// bottom edge rounds its two outer corners.
void FNFrameBorderLook(FNImage* target, int width, int height, FNLookInfo info)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = mainTones();
    const FNRGB outline = mix(t.c0, t.c1, 2, 1), light = base2();
    target->fill(t.bg.red, t.bg.green, t.bg.blue, 255);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int fromOuter;
            if (info.value == FNFrameEdgeLeft)
                fromOuter = x;
            else if (info.value == FNFrameEdgeRight)
                fromOuter = width - 1 - x;
            else
                fromOuter = std::min({ height - 1 - y, x, width - 1 - x });
            if (fromOuter == 0)
                put(*target, x, y, outline);
            else if (fromOuter == 1)
                put(*target, x, y, light);
        }
    }
    if (info.value == FNFrameEdgeBottom && width > 4 && height > 2) {
        for (int x : { 0, width - 1 }) {
            put(*target, x, height - 1, t.bg, 0);
            put(*target, x, height - 2, mix(outline, t.bg), 160);
        }
        for (int x : { 1, width - 2 })
            put(*target, x, height - 1, mix(outline, t.bg), 160);
    }
}

namespace {

enum class TitleGlyph { Minimise, Maximise, Restore, Close };

// Button face of the title bar. Idle buttons sit quietly on the bar: a
// soft outline and a body from base2 to main2. Under the pointer they
// light up warm (accent2 into main1) with the full tone-0 outline; held,
// they take the pressed face's darkened set.
Tones titleButtonTones(int state)
{
    const Tones m = mainTones();
    if (state == FNButtonPressed)
        return pressedTones(m);
    if (state == FNButtonHover)
        return { m.c0, mix(accent2(), m.c1, 1, 1), accent2(), m.bg };
    return { mix(m.c0, m.c1, 1, 1), mix(m.c2, m.c1, 2, 1), base2(), m.bg };
}

void hLine(FNImage& t, int x0, int x1, int y, FNRGB c)
{
    for (int x = x0; x <= x1; ++x)
        put(t, x, y, c);
}

void vLine(FNImage& t, int x, int y0, int y1, FNRGB c)
{
    for (int y = y0; y <= y1; ++y)
        put(t, x, y, c);
}

void box(FNImage& t, int x, int y, int size, FNRGB c)
{
    hLine(t, x, x + size - 1, y, c);
    hLine(t, x, x + size - 1, y + 1, c); // a two-pixel top edge, as a caption bar
    hLine(t, x, x + size - 1, y + size - 1, c);
    vLine(t, x, y, y + size - 1, c);
    vLine(t, x + size - 1, y, y + size - 1, c);
}

// The glyph in a square of `size` pixels at (x, y).
void paintGlyph(FNImage& t, TitleGlyph glyph, int x, int y, int size, FNRGB c)
{
    switch (glyph) {
    case TitleGlyph::Minimise:
        hLine(t, x, x + size - 1, y + size - 2, c);
        hLine(t, x, x + size - 1, y + size - 1, c);
        break;
    case TitleGlyph::Maximise:
        box(t, x, y, size, c);
        break;
    case TitleGlyph::Restore: {
        // a front window at the lower left; of the back window, offset two
        // pixels up and right, only the parts outside the front one show
        const int small = size - 2, right = x + size - 1, bottom = y + small - 1;
        hLine(t, x + 2, right, y, c);
        hLine(t, x + 2, right, y + 1, c);
        vLine(t, right, y, bottom, c);
        hLine(t, x + small, right, bottom, c);
        box(t, x, y + 2, small, c);
        break;
    }
    case TitleGlyph::Close:
        // two diagonals, two pixels wide
        for (int i = 0; i < size; ++i) {
            put(t, x + i, y + i, c), put(t, x + std::min(i + 1, size - 1), y + i, c);
            put(t, x + size - 1 - i, y + i, c), put(t, x + std::max(size - 2 - i, 0), y + i, c);
        }
        break;
    }
}

void paintTitleButton(FNImage* target, int w, int h, int state, TitleGlyph glyph)
{
    if (!prepare(target, w, h))
        return;
    const Tones t = titleButtonTones(state);
    paintFace(*target, w, h, t);
    const int size = std::max(5, (std::min(w, h) * 9 / 20) | 1);
    const int shift = state == FNButtonPressed ? 1 : 0;
    const int x = (w - size) / 2 + shift, y = (h - size) / 2 + shift;
    const FNRGB ink = scale(mainTones().c0, 2, 3);
    // a light emboss one pixel below the glyph keeps it crisp on any body
    paintGlyph(*target, glyph, x, y + 1, size, base2());
    paintGlyph(*target, glyph, x, y, size, ink);
}

} // namespace

void FNMinimiseButtonLook(FNImage* target, int width, int height, FNLookInfo info)
{
    paintTitleButton(target, width, height, info.state, TitleGlyph::Minimise);
}

void FNMaximiseButtonLook(FNImage* target, int width, int height, FNLookInfo info)
{
    paintTitleButton(target, width, height, info.state, TitleGlyph::Maximise);
}

void FNRestoreButtonLook(FNImage* target, int width, int height, FNLookInfo info)
{
    paintTitleButton(target, width, height, info.state, TitleGlyph::Restore);
}

void FNCloseButtonLook(FNImage* target, int width, int height, FNLookInfo info)
{
    paintTitleButton(target, width, height, info.state, TitleGlyph::Close);
}
