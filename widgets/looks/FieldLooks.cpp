// The selector's selection mark and the text box outlines.
#include "widgets/looks/FNLooks.h"

#include "imaging/FNImage.h"
#include "widgets/looks/LookPaint.h"

using namespace FNLookPaint;

// A soft rounded mark in the highlight set: the outline at tone 0 halfway
// to tone 1, a light inner ring and a body from tone 2 to tone 1. The hover
// highlight is the same mark, paler.
void FNSelectorLook(FNImage* target, int width, int height, FNLookInfo info)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = mainTones();
    Box mark { mix(t.c0, t.c1), t.c2, mix(t.c2, t.c1, 1, 1), t.c1, t.bg, false, true };
    if (info.state == FNButtonHover) {
        mark.outline = mix(t.c0, t.c1, 1, 3);
        mark.top = t.c2;
        mark.bottom = mix(t.c2, t.c1, 1, 1);
    }
    paintBox(*target, 0, 0, width, height, mark);
}

namespace {

// An entry field: a tone-0 outline with softened corners, a shadow along
// the inside of the top edge and a flat light body, so typed text reads as
// lying below the panel's surface. `focus` adds a tone-1 ring inside the
// outline.
void paintField(FNImage& target, int w, int h, const Tones& t, bool focus)
{
    const FNRGB body = mix(t.c2, FNRGB { 255, 255, 255 }, 1, 1);
    Box field { t.c0, focus ? t.c1 : body, body, body, t.bg, false, false };
    paintBox(target, 0, 0, w, h, field);
    // inner shadow: the first body row (or the ring's top) darkened
    const FNRGB shadow = mix(t.c1, body, 1, 1);
    for (int x = 2; x < w - 2; ++x) {
        if (focus)
            put(target, x, 2, mix(t.c1, body, 1, 3));
        else
            put(target, x, 1, shadow);
    }
    if (!focus) {
        for (int y = 2; y < h - 2; ++y)
            put(target, 1, y, mix(shadow, body, 1, 1));
    }
}

} // namespace

void FNTextBoxLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintField(*target, width, height, baseTones(), false);
}

void FNTextBoxFocusedLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (prepare(target, width, height))
        paintField(*target, width, height, mainTones(), true);
}
