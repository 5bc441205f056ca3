#include "widgets/menu/FNMenuLooks.h"

#include "imaging/FNImage.h"
#include "widgets/looks/LookPaint.h"

using namespace FNLookPaint;

namespace {

// An etched line: a dark row of (base0 + base1) / 2 over a light row of
// (base1 + base2) / 2, from x0 to x1 inclusive.
void paintEtchedLine(FNImage& target, int x0, int x1, int y, int alpha)
{
    const Tones t = baseTones();
    for (int x = x0; x <= x1; ++x) {
        put(target, x, y, mix(t.c0, t.c1), alpha);
        put(target, x, y + 1, mix(t.c1, t.c2), alpha);
    }
}

} // namespace

void FNMenuBarLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const FNRGB bg = baseTones().bg;
    target->fill(bg.red, bg.green, bg.blue, 255);
    if (height >= 2)
        paintEtchedLine(*target, 0, width - 1, height - 2, 255);
}

void FNMenuSeparatorLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const FNRGB bg = baseTones().bg;
    target->fill(bg.red, bg.green, bg.blue, 0);
    if (height >= 2 && width > 8)
        paintEtchedLine(*target, 4, width - 5, height / 2 - 1, 230);
}
