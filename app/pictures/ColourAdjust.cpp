#include "app/pictures/ColourAdjust.h"

#include "app/pictures/ColourAdjustRows.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// ---- The adjustment ------------------------------------------------------------
//
// The same integer functions, rearranged so that no pixel divides by a
// value of its own or branches on its colours:
// - n / d for d = max - min or d = max (1 .. 255) and n < 65793 is
//   (n * m_d) >> 24 with m_d = floor(2^24 / d) + 1: the error n (m_d - 2^24 / d)
//   / 2^24 stays below 1 / d, so the quotient's integer part is exact. Every
//   numerator here is at most 255 * 255 = 65025.
// - The hue shift, the sector and the position within it depend on h only,
//   the new saturation on s only, the value offset on each channel only:
//   tables of 360, 256 and 256 entries made for the slider values.
// - With u = q in the odd sectors and u = t in the even ones, every sector
//   is a permutation of (v, u, p), and u = (255 - s ff / 60) v / 255 with
//   ff = f (odd) or 60 - f (even). For s = 0 both p and u equal v, which
//   is the grey result.

namespace {

struct Reciprocals {
    std::array<uint64_t, 256> m {}; // m[0] = 0: a zero divisor only comes with a zero numerator
    Reciprocals()
    {
        for (int d = 1; d < 256; ++d)
            m[d] = (uint64_t(1) << 24) / d + 1;
    }
};
const Reciprocals kReciprocals;

inline int divide(int n, int d)
{
    return static_cast<int>((static_cast<uint64_t>(n) * kReciprocals.m[d]) >> 24);
}

// Where each channel takes its value from in (v, u, p), per sector.
constexpr uint8_t kSectorSource[6][3]
    = { { 0, 1, 2 }, { 1, 0, 2 }, { 2, 0, 1 }, { 2, 1, 0 }, { 1, 2, 0 }, { 0, 2, 1 } };

// What the adjustment does with one hue h (0 .. 359) of the source: the
// shifted hue's ff and the sources of red, green and blue.
struct HuePlan {
    uint8_t ff, red, green, blue;
};

struct Tables {
    std::array<HuePlan, 360> hue;
    std::array<uint8_t, 256> saturation, offset;

    Tables(int dh, int ds, int dv)
    {
        for (int h = 0; h < 360; ++h) {
            int shifted = h + dh;
            if (shifted > 359)
                shifted -= 360;
            else if (shifted < 0)
                shifted += 360;
            const int i = shifted / 60, f = shifted % 60;
            const uint8_t* source = kSectorSource[i];
            hue[h] = { static_cast<uint8_t>(i % 2 ? f : 60 - f), source[0], source[1], source[2] };
        }
        for (int s = 0; s < 256; ++s) // s' = s + ds s / 255, limited to 0 .. 255
            saturation[s] = static_cast<uint8_t>(std::clamp(s + ds * s / 255, 0, 255));
        for (int c = 0; c < 256; ++c)
            offset[c] = static_cast<uint8_t>(std::clamp(c + dv, 0, 255));
    }
};

// One pixel: B, G, R, A in, B', G', R', A out.
inline void adjustPixel(const uint8_t* in, uint8_t* out, const Tables& t)
{
    const int r = in[2], g = in[1], b = in[0];
    const int v = std::max({ r, g, b }), d = v - std::min({ r, g, b });
    // The hue's numerator and sector start: red is tested first, then green.
    const bool redMax = r == v, greenMax = !redMax && g == v;
    const int numerator = redMax ? g - b : greenMax ? b - r : r - g;
    const int start = redMax ? 0 : greenMax ? 120 : 240;
    const int quotient = divide((numerator < 0 ? -numerator : numerator) * 60, d);
    int h = start + (numerator < 0 ? -quotient : quotient);
    h += h < 0 ? 360 : 0;
    const int s = t.saturation[divide(d * 255, v)];
    const HuePlan& plan = t.hue[h];
    const int values[3] = { v, (255 - s * plan.ff / 60) * v / 255, (255 - s) * v / 255 };
    out[0] = t.offset[values[plan.blue]];
    out[1] = t.offset[values[plan.green]];
    out[2] = t.offset[values[plan.red]];
    out[3] = in[3];
}

q_ColourAdjustPath g_requestedPath = q_ColourAdjustPath::Automatic;

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
    size_t done = 0;
    if (q_ColourAdjustActivePath() == q_ColourAdjustPath::Avx2)
        done = q_AdjustPixelsAvx2(part.row(0), adjusted.row(0), count, dh, ds, dv);
    if (done == count)
        return;
    const Tables tables(dh, ds, dv);
    for (size_t n = done; n < count; ++n)
        adjustPixel(part.pixels + n * 4, adjusted.pixels + n * 4, tables);
}

q_ColourAdjustPath q_ColourAdjustSetPath(q_ColourAdjustPath path)
{
    const q_ColourAdjustPath previous = g_requestedPath;
    g_requestedPath = path;
    return previous;
}

q_ColourAdjustPath q_ColourAdjustActivePath()
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return g_requestedPath != q_ColourAdjustPath::Scalar && avx2 ? q_ColourAdjustPath::Avx2
                                                                 : q_ColourAdjustPath::Scalar;
}
