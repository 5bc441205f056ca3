#include "app/colour/q_ColourSliders.h"

#include "app/pictures/TrackColours.h"
#include "imaging/FNImage.h"
#include "widgets/theme/FNTheme.h"

#include <algorithm>
#include <cmath>

namespace {

enum Which { HueTrack = 0, SaturationTrack, ValueTrack };

int limited(int v)
{
    return std::min(255, v);
}

q_RGB columnColour(int which, int x, int width)
{
    switch (which) {
    case HueTrack:
        return q_HueTrackColour(x, width);
    case SaturationTrack:
        return q_SaturationTrackColour(x, width);
    default:
        return q_ValueTrackColour(x, width);
    }
}

FNLookFunc trackLook(int which)
{
    return [which](FNImage* target, int width, int height, FNLookInfo) {
        q_PaintColourTrack(target, width, height, which);
    };
}

void setUp(FNSlider& slider, int low, int high, FNLookFunc track)
{
    slider.minimum = low;
    slider.maximum = high;
    slider.look.Set(FNLookInfo(), std::move(track));
    slider.SetValue(0);
}

} // namespace

// m = trunc(H / 3.5 + 0.5); row m base0, row H - m - 1 base0 lightened
// (+55 blue, +45 green and red), the rows between in the column colour;
// side columns 4 and W - 5 base0 + 45 / (H - 2m + 1).
void q_PaintColourTrack(FNImage* target, int width, int height, int which)
{
    if (!target || width <= 0 || height <= 0)
        return;
    if (target->width != width || target->height != height)
        target->resize(width, height);
    const FNRGB bg = FNThemeRGB(FNThemeKey::Background), base = FNThemeRGB(FNThemeKey::Base0);
    target->fill(bg.red, bg.green, bg.blue, 0);
    const int m = static_cast<int>(std::trunc(height / 3.5 + 0.5));
    for (int x = 5; x <= width - 6; ++x) {
        target->setColor(x, m, base.red, base.green, base.blue, 255);
        target->setColor(
            x, height - m - 1, limited(base.red + 45), limited(base.green + 45), limited(base.blue + 55), 255);
        const q_RGB c = columnColour(which, x, width);
        for (int y = m + 1; y <= height - m - 2; ++y)
            target->setColor(x, y, c.r, c.g, c.b, 255);
    }
    const int k = 45 / std::max(1, height - 2 * m + 1);
    for (int x : { 4, width - 5 }) {
        for (int y = m; y <= height - m - 1; ++y)
            target->setColor(x, y, limited(base.red + k), limited(base.green + k), limited(base.blue + k), 255);
    }
}

q_HueSlider::q_HueSlider(int y, int w, int h)
    : FNSlider(y, w, h)
{
    FN_SET_CLASS_NAME(q_HueSlider);
    setUp(*this, -180, 180, trackLook(HueTrack));
}

q_SaturationSlider::q_SaturationSlider(int y, int w, int h)
    : FNSlider(y, w, h)
{
    FN_SET_CLASS_NAME(q_SaturationSlider);
    setUp(*this, -100, 100, trackLook(SaturationTrack));
}

q_ValueSlider::q_ValueSlider(int y, int w, int h)
    : FNSlider(y, w, h)
{
    FN_SET_CLASS_NAME(q_ValueSlider);
    setUp(*this, -100, 100, trackLook(ValueTrack));
}
