#include "app/pictures/ColourAdjust.h"

#include "imaging/FNImage.h"

#include <algorithm>

// Every division below truncates toward zero and products are evaluated left
// to right, as the adjusted colours must come out byte for byte the same.

q_HSV q_RGBToHSV(int r, int g, int b)
{
    const int max = std::max({ r, g, b }), min = std::min({ r, g, b });
    if (max == 0)
        return { 0, 0, 0 };
    if (max == min)
        return { 0, 0, max };
    const int d = max - min;
    int h;
    if (r == max)
        h = (g - b) * 60 / d;
    else if (g == max)
        h = (b - r) * 60 / d + 120;
    else
        h = (r - g) * 60 / d + 240;
    if (h >= 360)
        h -= 360;
    else if (h < 0)
        h += 360;
    return { h, d * 255 / max, max };
}

q_RGB q_HSVToRGB(int h, int s, int v)
{
    if (s == 0)
        return { v, v, v };
    const int i = h / 60, f = h % 60;
    // p = (255 - s) v / 255, q = (255 - s f / 60) v / 255, t = (255 - (60 - f) s / 60) v / 255
    const int p = (255 - s) * v / 255;
    const int q = (255 - s * f / 60) * v / 255;
    const int t = (255 - (60 - f) * s / 60) * v / 255;
    switch (i) {
    case 0:
        return { v, t, p };
    case 1:
        return { q, v, p };
    case 2:
        return { p, v, t };
    case 3:
        return { p, q, v };
    case 4:
        return { t, p, v };
    default:
        return { v, p, q };
    }
}

namespace {

inline uint8_t limitByte(int value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

} // namespace

void q_AdjustColour(const FNImage& part, FNImage& adjusted, int hue, int saturation, int value)
{
    if (!part.pixels) {
        adjusted.clear();
        return;
    }
    const int dh = hue, ds = saturation * 255 / 100, dv = value * 255 / 100;
    if (dh == 0 && ds == 0 && dv == 0) {
        adjusted.copyFrom(&part);
        return;
    }
    adjusted.resize(part.width, part.height);
    const size_t count = static_cast<size_t>(part.width) * part.height;
    const uint8_t* src = part.pixels;
    uint8_t* dst = adjusted.pixels;
    for (size_t n = 0; n < count; ++n, src += 4, dst += 4) {
        q_HSV hsv = q_RGBToHSV(src[2], src[1], src[0]);
        hsv.h += dh;
        if (hsv.h > 359)
            hsv.h -= 360;
        else if (hsv.h < 0)
            hsv.h += 360;
        // s' = s + ds s / 255, limited to 0 .. 255
        hsv.s = std::clamp(hsv.s + ds * hsv.s / 255, 0, 255);
        const q_RGB rgb = q_HSVToRGB(hsv.h, hsv.s, hsv.v);
        dst[0] = limitByte(rgb.b + dv);
        dst[1] = limitByte(rgb.g + dv);
        dst[2] = limitByte(rgb.r + dv);
        dst[3] = src[3];
    }
}
