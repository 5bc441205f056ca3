// The button-face family, the disabled overlay and the panel looks whose
// pixels are fixed: label, frame and slider track.
#include "widgets/looks/FNLooks.h"

#include "imaging/FNImage.h"
#include "widgets/looks/FaceLook.h"
#include "widgets/looks/LookPaint.h"

#include <algorithm>

using namespace FNLookPaint;

void FNFaceLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintFace(*target, width, height, baseTones());
}

void FNHoverFaceLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintFace(*target, width, height, mainTones());
}

void FNPressedFaceLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintFace(*target, width, height, pressedTones(mainTones()));
}

void FNOnFaceLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintFace(*target, width, height, accentTones());
}

void FNDisabledOverlayLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const FNRGB bg = FNThemeRGB(FNThemeKey::Background);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = target->pixels + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, p += 4) {
            if (p[3] == 0)
                continue;
            // R = (R + 3 bg) >> 2;  G, B = (25 C + 75 bg) / 100
            p[2] = static_cast<uint8_t>((p[2] + 3 * bg.red) >> 2);
            p[1] = static_cast<uint8_t>((25 * p[1] + 75 * bg.green) / 100);
            p[0] = static_cast<uint8_t>((25 * p[0] + 75 * bg.blue) / 100);
        }
    }
}

void FNLabelLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const FNRGB bg = FNThemeRGB(FNThemeKey::Background);
    target->fill(bg.red, bg.green, bg.blue, 255);
}

// An etched outline: a dark rectangle over columns 0 .. w - 2 and rows
// 0 .. h - 2, a light one over 1 .. w - 1 and 1 .. h - 1 beneath it, and the
// four corners transparent with half-transparent neighbours.
void FNFrameLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = baseTones();
    const FNRGB dark = mix(t.c0, t.c1), light = mix(t.c1, t.c2), soft = mix(dark, t.bg);
    target->fill(t.bg.red, t.bg.green, t.bg.blue, 0);
    auto outline = [&](int x0, int y0, int x1, int y1, FNRGB c) {
        for (int x = x0; x <= x1; ++x)
            put(*target, x, y0, c, 230), put(*target, x, y1, c, 230);
        for (int y = y0; y <= y1; ++y)
            put(*target, x0, y, c, 230), put(*target, x1, y, c, 230);
    };
    outline(1, 1, width - 1, height - 1, light);
    outline(0, 0, width - 2, height - 2, dark);
    const int cornersX[2] = { 0, width - 1 }, cornersY[2] = { 0, height - 1 };
    for (int cx : cornersX) {
        for (int cy : cornersY) {
            const int nx = cx == 0 ? 1 : cx - 1, ny = cy == 0 ? 1 : cy - 1;
            put(*target, nx, cy, soft, 128);
            put(*target, cx, ny, soft, 128);
        }
    }
    for (int cx : cornersX) {
        for (int cy : cornersY)
            put(*target, cx, cy, t.bg, 0);
    }
}

// The slider's groove: six rows about the middle row m from column 6 to
// w - 7, closed by darker end caps, with its four corners softened.
void FNSliderTrackLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = baseTones();
    target->fill(t.bg.red, t.bg.green, t.bg.blue, 0);
    const int m = height / 2;
    const FNRGB mid = mix(t.c1, t.c2);
    const FNRGB rows[6] = { t.c0, mid, t.c1, mid, add(mid, 38, 38, 48), add(t.c0, 45, 45, 55) };
    for (int x = 6; x <= width - 7; ++x) {
        for (int i = 0; i < 6; ++i)
            put(*target, x, m - 3 + i, rows[i]);
    }
    if (width - 7 < 6)
        return;
    // End caps: base0 lightened by 7 per row, and a lighter inner cap.
    for (int i = 0; i < 6; ++i) {
        const FNRGB outer = add(t.c0, 7 * i, 7 * i, 7 * i);
        const FNRGB inner = add(mix(t.c0, t.c1), 7 * i, 7 * i, 7 * i);
        put(*target, 6, m - 3 + i, outer), put(*target, width - 7, m - 3 + i, outer);
        if (width - 8 >= 7)
            put(*target, 7, m - 3 + i, inner), put(*target, width - 8, m - 3 + i, inner);
    }
    // Softened corners: the cap colour halfway to the background, alpha 128.
    const FNRGB topCorner = mix(t.c0, t.bg), bottomCorner = mix(add(t.c0, 35, 35, 35), t.bg);
    for (int x : { 6, width - 7 }) {
        put(*target, x, m - 3, topCorner, 128);
        put(*target, x, m + 2, bottomCorner, 128);
    }
}
