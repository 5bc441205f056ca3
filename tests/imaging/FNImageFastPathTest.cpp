// The picture operations cut rows into spans and use vector code; these
// tests hold them to straightforward per-pixel versions of the same rules
// on many random cases, byte for byte.
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

// Scale and rotate, one pixel at a time, every neighbour tested.
std::vector<uint32_t> referenceTransform(const FNImage& src, int newW, int newH, double angle, int& outW, int& outH)
{
    const int w = src.width, h = src.height;
    const double sx = double(newW) / w, sy = double(newH) / h, t = angle * 3.141592 / 180.0;
    const double cs = std::cos(t), sn = std::sin(t);
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (int k = 0; k < 4; ++k) {
        const double x = (k & 1) ? w - 1 : 0, y = (k & 2) ? h - 1 : 0;
        const double X = sx * cs * x - sy * sn * y, Y = sx * sn * x + sy * cs * y;
        minX = std::min(minX, X), maxX = std::max(maxX, X), minY = std::min(minY, Y), maxY = std::max(maxY, Y);
    }
    outW = std::max(int(maxX - minX + 2), 1), outH = std::max(int(maxY - minY + 2), 1);
    const double a = cs / sx, b = sn / sx, c = -sn / sy, d = cs / sy;
    const int u0 = int((0.5 * w - a * 0.5 * outW - b * 0.5 * outH) * 1024);
    const int v0 = int((0.5 * h - c * 0.5 * outW - d * 0.5 * outH) * 1024);
    const int dux = int(a * 1024), duy = int(b * 1024), dvx = int(c * 1024), dvy = int(d * 1024);
    std::vector<uint32_t> out(size_t(outW) * outH);
    for (int j = 0; j < outH; ++j) {
        for (int i = 0; i < outW; ++i) {
            const int u = u0 + j * duy + i * dux, v = v0 + j * dvy + i * dvx;
            const int ix = u >> 10, iy = v >> 10, fx = u - ix * 1024, fy = v - iy * 1024;
            const int wt[4] = { (1024 - fx) * (1024 - fy), fx * (1024 - fy), (1024 - fx) * fy, fx * fy };
            long sum[4] = {}, used = 0;
            for (int k = 0; k < 4; ++k) {
                const int x = ix + (k & 1), y = iy + (k >> 1);
                if (x < 0 || y < 0 || x >= w || y >= h)
                    continue;
                const uint32_t p = src.row(y)[x];
                for (int ch = 0; ch < 4; ++ch)
                    sum[ch] += long(wt[k]) * ((p >> (8 * ch)) & 255);
                used += wt[k];
            }
            uint32_t px = 0x00FFFFFF;
            if (used >= 1)
                px = uint32_t(sum[0] / used) | uint32_t(sum[1] / used) << 8 | uint32_t(sum[2] / used) << 16
                    | uint32_t(sum[3] >> 20) << 24;
            out[size_t(j) * outW + i] = px;
        }
    }
    return out;
}

void randomPixels(FNImage& image, std::mt19937& rng)
{
    for (int y = 0; y < image.height; ++y)
        std::generate(image.row(y), image.row(y) + image.width, [&] { return static_cast<uint32_t>(rng()); });
}

} // namespace

TEST(FNImageFastPaths, TransformMatchesPerPixelRule)
{
    std::mt19937 rng(20261207);
    for (int trial = 0; trial < 400; ++trial) {
        FNImage image(1 + rng() % 37, 1 + rng() % 37);
        randomPixels(image, rng);
        const int newW = 1 + rng() % 80, newH = 1 + rng() % 80;
        const double angle = trial % 4 == 0 ? (rng() % 8) * 45.0 : (rng() % 7200) / 10.0 - 360.0;
        int refW, refH;
        const std::vector<uint32_t> expected = referenceTransform(image, newW, newH, angle, refW, refH);
        if (newW == image.width && newH == image.height && angle == 0)
            continue;
        ASSERT_TRUE(image.transform(newW, newH, angle));
        ASSERT_EQ(image.width, refW);
        ASSERT_EQ(image.height, refH);
        ASSERT_EQ(std::memcmp(image.pixels, expected.data(), image.byteCount()), 0)
            << "trial " << trial << ": " << newW << "x" << newH << " at " << angle;
    }
}

namespace {

// The band, every pixel of the widened bounding box visited.
void referenceLine(FNImage& im, uint32_t color, double x0, double y0, double x1, double y1, double thickness)
{
    const double h = std::clamp(thickness * 0.5, 0.5, 50.0);
    const bool firstLeft = x0 <= x1;
    const double fx = firstLeft ? x0 : x1, fy = firstLeft ? y0 : y1, mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
    const double u = std::hypot(mx - fx, my - fy), cs = u > 0 ? (mx - fx) / u : 1, sn = u > 0 ? (my - fy) / u : 0;
    const int pmin = int((mx - u) * 1024), pmax = int((mx + u) * 1024), qmin = int((my - h) * 1024),
              qmax = int((my + h) * 1024);
    const int dp = int(cs * 1024), dq = int(-sn * 1024), alpha = int(color >> 24);
    const double ex = std::fabs(cs) * u + std::fabs(sn) * h + 2, ey = std::fabs(sn) * u + std::fabs(cs) * h + 2;
    const int left = std::max(int(std::floor(mx - ex)), 0), right = std::min(int(std::ceil(mx + ex)), im.width - 1);
    const int top = std::max(int(std::floor(my - ey)), 0), bottom = std::min(int(std::ceil(my + ey)), im.height - 1);
    auto ramp = [](int t, int lo, int hi) {
        return std::clamp(t < lo ? t - lo + 1024 : (t >= hi ? hi - t + 1024 : 1024), 0, 1024);
    };
    for (int y = top; y <= bottom; ++y) {
        int p = int((mx + cs * (left - mx) + sn * (y - my)) * 1024),
            q = int((my - sn * (left - mx) + cs * (y - my)) * 1024);
        for (int x = left; x <= right; ++x, p += dp, q += dq) {
            const int rp = ramp(p, pmin, pmax), rq = ramp(q, qmin, qmax);
            int k = rp == 1024 && rq == 1024 ? alpha
                : rp == 1024                 ? (alpha * rq) >> 10
                : rq == 1024                 ? (alpha * rp) >> 10
                                             : (alpha * rp * rq) >> 20;
            k = std::clamp(k, 0, 256);
            uint8_t* d = im.pixels + (size_t(y) * im.width + x) * 4;
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t((int((color >> (8 * c)) & 255) * k + d[c] * (256 - k)) >> 8);
        }
    }
}

} // namespace

TEST(FNImageFastPaths, LineMatchesWholeBoxVisit)
{
    std::mt19937 rng(77);
    std::uniform_real_distribution<double> coordinate(-20, 80), thickness(-2, 120);
    for (int trial = 0; trial < 600; ++trial) {
        FNImage fast(60, 50), reference(60, 50);
        randomPixels(fast, rng);
        reference.copyFrom(&fast);
        const uint32_t color = static_cast<uint32_t>(rng());
        double x0 = coordinate(rng), y0 = coordinate(rng), x1 = coordinate(rng), y1 = coordinate(rng);
        if (trial % 5 == 0)
            x1 = x0; // vertical
        if (trial % 7 == 0)
            y1 = y0; // horizontal, or a point when both
        const double t = thickness(rng);
        fast.drawLine(color, x0, y0, x1, y1, t);
        referenceLine(reference, color, x0, y0, x1, y1, t);
        ASSERT_EQ(std::memcmp(fast.pixels, reference.pixels, fast.byteCount()), 0) << "trial " << trial;
    }
}
