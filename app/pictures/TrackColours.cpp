#include "app/pictures/TrackColours.h"

#include <cmath>

namespace {

// Tracks narrower than 9 pixels have no columns; keep the division defined.
inline int span(int width)
{
    return width - 8 > 0 ? width - 8 : 1;
}

inline double position(int x, int width)
{
    return double(x - 3) / span(width);
}

} // namespace

q_RGB q_HueTrackColour(int x, int width)
{
    // g = trunc((x - 3) 360 / (W - 8) - 180), wrapped once into 0 .. 359
    int g = static_cast<int>(double(x - 3) * 360 / span(width) - 180);
    if (g < 0)
        g += 360;
    else if (g >= 360)
        g -= 360;
    const double e = g / 60.0;
    const int sector = static_cast<int>(std::floor(e));
    const double f = e - sector;
    const double u = (sector % 2 == 1) ? f : 1 - f;
    const int n = static_cast<int>((1 - u * 0.9) * 255);
    switch (sector) {
    case 0:
        return { 255, n, 25 };
    case 1:
        return { n, 255, 25 };
    case 2:
        return { 25, 255, n };
    case 3:
        return { 25, n, 255 };
    case 4:
        return { n, 25, 255 };
    default:
        return { 255, 25, n };
    }
}

q_RGB q_SaturationTrackColour(int x, int width)
{
    const int t = static_cast<int>((1 - position(x, width)) * 255);
    return { 255, t, t };
}

q_RGB q_ValueTrackColour(int x, int width)
{
    const int t = static_cast<int>(position(x, width) * 255);
    return { t, t, t };
}
