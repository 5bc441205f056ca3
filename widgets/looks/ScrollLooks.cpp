// Scroll bar looks: the groove and the sub-buttons (arrows and thumb).
#include "widgets/looks/FNLooks.h"

#include "imaging/FNImage.h"
#include "widgets/looks/FaceLook.h"
#include "widgets/looks/LookPaint.h"

#include <algorithm>

using namespace FNLookPaint;

// A recessed groove along the long axis: a soft outline, a shadow along
// the upper (or left) inside edge and a body lightening across the short
// axis from tone 1 to tone 2.
void FNScrollTrackLook(FNImage* target, int width, int height, FNLookInfo)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = baseTones();
    target->fill(t.bg.red, t.bg.green, t.bg.blue, 255);
    const bool vertical = height > width;
    Box groove { mix(t.c0, t.c1, 1, 2), mix(t.c0, t.c1, 1, 3), t.c1, t.c2, t.bg, vertical, false };
    paintBox(*target, 0, 0, width, height, groove);
}

namespace {

Tones buttonTones(int state)
{
    if (state == FNButtonPressed)
        return pressedTones(mainTones());
    return state == FNButtonHover ? mainTones() : baseTones();
}

// Three etched ridges across the thumb's middle, when it is long enough.
void paintGrip(FNImage& target, int w, int h, const Tones& t)
{
    const bool vertical = h > w;
    const int length = vertical ? h : w, thickness = vertical ? w : h;
    if (length < 16 || thickness < 8)
        return;
    const int centre = length / 2, from = thickness / 2 - 3, to = thickness / 2 + 3;
    for (int r = -3; r <= 3; r += 3) {
        for (int s = from; s < to; ++s) {
            if (vertical)
                put(target, s, centre + r, t.c0), put(target, s, centre + r + 1, t.c2);
            else
                put(target, centre + r, s, t.c0), put(target, centre + r + 1, s, t.c2);
        }
    }
}

} // namespace

void FNScrollButtonLook(FNImage* target, int width, int height, FNLookInfo info)
{
    if (!prepare(target, width, height))
        return;
    const Tones t = buttonTones(info.state);
    paintFace(*target, width, height, t);
    if (info.value == FNScrollThumb) {
        paintGrip(*target, width, height, t);
        return;
    }
    static const Direction directions[4] = { Direction::Up, Direction::Down, Direction::Left, Direction::Right };
    const Direction direction = directions[std::clamp(info.value, 0, 3)];
    const int span = std::max(3, std::min(width, height) / 2 - 1);
    const int shift = info.state == FNButtonPressed ? 1 : 0; // pressed glyphs sink by a pixel
    const int cx = (width - 1) / 2 + shift, cy = height / 2 + shift;
    paintArrow(*target, cx, cy + 1, span, direction, t.c2);
    paintArrow(*target, cx, cy, span, direction, scale(t.c0, 3, 4));
}
