#pragma once

// Pieces shared by the fast and the reference Poisson solver (internal).

#include "app/pictures/LaplacianImage.h"
#include "imaging/FNImage.h"

#include <algorithm>

namespace poisson {

// Old-value weight of the relaxation: the double value of 1.9 - 1, which is
// 0.8999999999999999, not the double nearest 0.9.
constexpr double kRelax = 1.9;
constexpr double kOldWeight = 1.9 - 1.0;
constexpr int kCheckEvery = 50;
constexpr int kLastSweep = 1000;
constexpr int kMaskThreshold = 128;

// The paste rectangle [ox, ox + w) x [oy, oy + h) clipped to the canvas.
struct Clip {
    int x0, y0, x1, y1;
    int width() const { return x1 - x0; }
    int height() const { return y1 - y0; }
    bool empty() const { return width() < 1 || height() < 1; }
};

inline Clip clipToCanvas(int ox, int oy, int w, int h, const FNImage& canvas)
{
    // 64-bit ends: a far-off paste position must not overflow.
    const long long right = static_cast<long long>(ox) + w, bottom = static_cast<long long>(oy) + h;
    Clip c;
    c.x0 = std::max(ox, 0), c.y0 = std::max(oy, 0);
    c.x1 = static_cast<int>(std::min<long long>(right, canvas.width));
    c.y1 = static_cast<int>(std::min<long long>(bottom, canvas.height));
    return c;
}

// O_c = trunc(v + 0.5) limited to 0 .. 255.
inline uint8_t roundToByte(double v)
{
    const double t = v + 0.5;
    if (!(t > 0))
        return 0;
    if (t >= 255)
        return 255;
    return static_cast<uint8_t>(static_cast<int>(t));
}

// The solvable part size: the Laplacian defines the source term, so w x h
// never exceeds it.
inline void limitToLaplacian(const q_LaplacianImage& laplacian, int& w, int& h)
{
    w = std::min(w, laplacian.width);
    h = std::min(h, laplacian.height);
}

} // namespace poisson
