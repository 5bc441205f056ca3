// Anti-aliased straight band, coverage in fixed point with 10 fractional
// bits (1024 = one pixel).
#include "imaging/FNImage.h"
#include "imaging/FixedPointSpan.h"

#include <algorithm>
#include <cmath>

namespace {

// Coverage along one band axis: full inside [lo, hi), fading linearly to 0
// over one pixel beyond each edge, and 0 further out.
inline int ramp(int t, int lo, int hi)
{
    int r = 1024;
    if (t < lo)
        r = t - lo + 1024;
    else if (t >= hi)
        r = hi - t + 1024;
    return std::clamp(r, 0, 1024);
}

inline int coverage(int alpha, int rp, int rq)
{
    int k;
    if (rp == 1024 && rq == 1024)
        k = alpha;
    else if (rp == 1024)
        k = (alpha * rq) >> 10;
    else if (rq == 1024)
        k = (alpha * rp) >> 10;
    else
        k = (alpha * rp * rq) >> 20;
    return std::clamp(k, 0, 256);
}

} // namespace

void FNImage::drawLine(uint32_t color, double x0, double y0, double x1, double y1, double thickness)
{
    if (!created || !pixels)
        return;
    const double h = std::clamp(thickness * 0.5, 0.5, 50.0);
    // F is the end with the smaller x; the band is centred on the midpoint M.
    const bool firstIsLeft = x0 <= x1;
    const double fx = firstIsLeft ? x0 : x1, fy = firstIsLeft ? y0 : y1;
    const double mx = (x0 + x1) * 0.5, my = (y0 + y1) * 0.5;
    const double u = std::hypot(mx - fx, my - fy);
    // A zero-length band has no direction of its own; lay it along x.
    const double cs = u > 0 ? (mx - fx) / u : 1.0, sn = u > 0 ? (my - fy) / u : 0.0;

    const double ex = std::fabs(cs) * u + std::fabs(sn) * h + 2;
    const double ey = std::fabs(sn) * u + std::fabs(cs) * h + 2;
    const int left = std::max(static_cast<int>(std::floor(mx - ex)), 0);
    const int right = std::min(static_cast<int>(std::ceil(mx + ex)), width - 1);
    const int top = std::max(static_cast<int>(std::floor(my - ey)), 0);
    const int bottom = std::min(static_cast<int>(std::ceil(my + ey)), height - 1);
    if (left > right || top > bottom)
        return;

    const int pmin = static_cast<int>((mx - u) * 1024), pmax = static_cast<int>((mx + u) * 1024);
    const int qmin = static_cast<int>((my - h) * 1024), qmax = static_cast<int>((my + h) * 1024);
    const int dp = static_cast<int>(cs * 1024), dq = static_cast<int>(-sn * 1024);
    const int alpha = static_cast<int>(color >> 24);
    const int c[3] = { int(color & 255), int((color >> 8) & 255), int((color >> 16) & 255) };

    for (int y = top; y <= bottom; ++y) {
        // p = M.x + cos (X - M.x) + sin (Y - M.y), q = M.y - sin (X - M.x) + cos (Y - M.y)
        const int p0 = static_cast<int>((mx + cs * (left - mx) + sn * (y - my)) * 1024);
        const int q0 = static_cast<int>((my - sn * (left - mx) + cs * (y - my)) * 1024);
        // Only where both ramps are positive can a pixel get coverage.
        int first = 0, last = right - left + 1;
        FNFixedPointSpan::cutSpan(p0, dp, int64_t(pmin) - 1023, int64_t(pmax) + 1023, first, last);
        FNFixedPointSpan::cutSpan(q0, dq, int64_t(qmin) - 1023, int64_t(qmax) + 1023, first, last);
        int p = p0 + first * dp, q = q0 + first * dq;
        uint8_t* d = pixels + (static_cast<size_t>(y) * width + left + first) * 4;
        for (int i = first; i < last; ++i, p += dp, q += dq, d += 4) {
            const int k = coverage(alpha, ramp(p, pmin, pmax), ramp(q, qmin, qmax));
            if (k == 0)
                continue;
            // D = (C * k + D * (256 - k)) >> 8
            for (int i = 0; i < 3; ++i)
                d[i] = static_cast<uint8_t>((c[i] * k + d[i] * (256 - k)) >> 8);
        }
    }
}
